#pragma once
// The About box's link hands its text to the shell, and a language module may supply that
// text: only a web or mail address is let through, so that no module can start a program.

#include <string>

// True for an address beginning "http://", "https://" or "mailto:" (in any case) and holding
// no blank, control character or quotation mark that could carry a second argument.
bool IsOpenableLinkAddress(const std::string& address);
