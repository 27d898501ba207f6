#include "tools/recordedscheme/RecordedKeys.h"

#include <cctype>

#include "schemes/KeyNames.h"
#include "schemes/PackKeyCodes.h"
#include "tools/schemegen/KeyLayout.h"

namespace recorded {

namespace {

constexpr unsigned kE0 = 0x0E00;
constexpr unsigned kArrow = 0xE000;

struct RecordingNumber {
    unsigned fileNumber;
    unsigned scancode;
};

// Linux input key codes from 96 up, where they part from the scancodes.
constexpr RecordingNumber kExtendedRecordings[] = {
    {96, kE0 + 0x1C},     {97, kE0 + 0x1D},     {98, kE0 + 0x35},     {99, kE0 + 0x37},
    {100, kE0 + 0x38},    {102, kE0 + 0x47},    {103, kArrow + 0x48}, {104, kE0 + 0x49},
    {105, kArrow + 0x4B}, {106, kArrow + 0x4D}, {107, kE0 + 0x4F},    {108, kArrow + 0x50},
    {109, kE0 + 0x51},    {110, kE0 + 0x52},    {111, kE0 + 0x53},    {119, kE0 + 0x45},
    {125, kE0 + 0x5B},    {126, kE0 + 0x5C},    {127, kE0 + 0x5D},
};

// Below this the Linux key code is the scancode itself (Esc 1 to F12 88).
constexpr unsigned kFirstLinuxOnlyNumber = 0x59;

}  // namespace

unsigned ScancodeOfRecording(unsigned fileNumber)
{
    if (fileNumber > 0 && fileNumber < kFirstLinuxOnlyNumber)
        return fileNumber;
    for (const RecordingNumber& r : kExtendedRecordings)
        if (r.fileNumber == fileNumber)
            return r.scancode;
    return 0;
}

RecordedKey KeyOfRecording(unsigned fileNumber)
{
    const PackKey key = PackKeyFromCode(ScancodeOfRecording(fileNumber));
    return {key.keyCode ? KeyNameOfCode(key.keyCode) : nullptr, key.rank};
}

schemegen::SoundRole RoleOfKey(const std::string& keyName)
{
    using schemegen::SoundRole;
    if (keyName.size() == 1 && std::isupper(static_cast<unsigned char>(keyName[0])))
        return SoundRole::Letter;
    for (const std::string& digit : schemegen::DigitKeyNames())
        if (digit == keyName)
            return SoundRole::Digit;
    for (const std::string& function : schemegen::FunctionKeyNames())
        if (function == keyName)
            return SoundRole::Function;
    for (const schemegen::NamedKey& key : schemegen::SingleKeys())
        if (keyName == key.name)
            return key.role;
    return SoundRole::Letter;
}

}  // namespace recorded
