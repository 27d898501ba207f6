#pragma once
// A scheme's name as a menu item's text and back: in menu texts "&" marks the next character
// as the item's mnemonic, so a name shows as it is spelled only with each "&" doubled.

#include <string>

// The item text that shows name literally: each "&" doubled.
std::string MenuTextOfName(const std::string& name);
// The name an item text made by MenuTextOfName shows: each "&&" read as one "&".
std::string NameOfMenuText(const std::string& text);
