#include "tray/MenuText.h"

std::string MenuTextOfName(const std::string& name) {
    std::string text;
    text.reserve(name.size());
    for (char c : name) {
        text += c;
        if (c == '&') text += '&';
    }
    return text;
}

std::string NameOfMenuText(const std::string& text) {
    std::string name;
    name.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        name += text[i];
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') ++i;
    }
    return name;
}
