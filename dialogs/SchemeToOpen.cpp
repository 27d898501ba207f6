#include "dialogs/SchemeToOpen.h"

SchemeToOpen ChooseSchemeToOpen(bool editPressed, int selection,
                                const RememberedSchemeNames& names) {
    const bool remembered = selection >= 0 && static_cast<size_t>(selection) < names.size();
    if (editPressed && remembered) return {names[static_cast<size_t>(selection)], false};
    return {kNewSchemeName, true};
}
