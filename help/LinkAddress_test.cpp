#include "help/LinkAddress.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkAddress, OnlyWebAndMailAddressesOpen) {
    const struct {
        const char* address;
        bool opens;
    } cases[] = {
        {"https://www.quillmark.example/tapvox", true},
        {"http://quillmark.example", true},
        {"HTTPS://QUILLMARK.EXAMPLE", true},
        {"mailto:support@quillmark.example", true},
        {"MailTo:support@quillmark.example", true},
        {"https://", false},  // a prefix with nothing behind it
        {"", false},
        {"www.quillmark.example", false},  // the shell would take it for a file first
        {"calc.exe", false},
        {"C:\\Windows\\System32\\cmd.exe", false},
        {"\\\\server\\share\\setup.exe", false},
        {"file:///C:/Windows/System32/cmd.exe", false},
        {"javascript:alert(1)", false},
        {"ms-settings:", false},
        {"shell:startup", false},
        {" https://quillmark.example", false},  // a blank ahead of the prefix
        {"https://quillmark.example \"C:\\x.exe\"", false},
        {"https://quillmark.example\t", false},
        {"https://quillmark.example\x7f", false},
        {"http:quillmark.example", false},
        {"httpx://quillmark.example", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsOpenableLinkAddress(c.address), c.opens) << c.address;
}

}  // namespace
