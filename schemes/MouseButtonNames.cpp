#include "schemes/MouseButtonNames.h"

#include <cstring>

namespace {

struct NamedButton {
    const char* name;
    unsigned char code;
};

// Codes as Windows numbers the buttons: VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1 and 2.
constexpr NamedButton kButtons[] = {
    {"LBUTTON", 1}, {"RBUTTON", 2}, {"MBUTTON", 4}, {"XBUTTON1", 5}, {"XBUTTON2", 6},
};
static_assert(sizeof(kButtons) / sizeof(kButtons[0]) == sizeof(kMouseButtonCodes),
              "every button code has a word");

}  // namespace

unsigned MouseButtonCodeFromName(const char* upperName) {
    for (const NamedButton& button : kButtons) {
        if (std::strcmp(button.name, upperName) == 0) return button.code;
    }
    return 0;
}

const char* MouseButtonNameOfCode(unsigned code) {
    for (const NamedButton& button : kButtons) {
        if (button.code == code) return button.name;
    }
    return nullptr;
}
