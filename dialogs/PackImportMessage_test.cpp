#include "dialogs/PackImportMessage.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(PackImportMessage, EveryErrorHasAStringOfItsOwn) {
    std::set<unsigned> ids;
    for (int error = int(PackImportError::Unreadable); error <= int(PackImportError::WriteFailed);
         ++error) {
        const unsigned id = ImportErrorStringId(PackImportError(error));
        EXPECT_GE(id, unsigned(IDS_IMPORT_UNREADABLE)) << error;
        EXPECT_LE(id, unsigned(IDS_IMPORT_WRITE_FAILED)) << error;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), size_t(IDS_IMPORT_WRITE_FAILED - IDS_IMPORT_UNREADABLE + 1));
}

TEST(PackImportMessage, SkippedKeysFillTheirPlaces) {
    const struct {
        const wchar_t* format;
        const wchar_t* expected;
    } kTexts[] = {
        {L"Imported as \"%s\". %u keys left out.", L"Imported as \"My %u Pack\". 7 keys left out."},
        {L"«%s»: %u", L"«My %u Pack»: 7"},
        {L"no places", L"no places"},
        {L"%u before %s", L"%u before My %u Pack"},  // a wrong order reads no missing argument
    };
    for (const auto& t : kTexts)
        EXPECT_EQ(FillSkippedKeysText(t.format, L"My %u Pack", 7), t.expected) << t.format;
}

}  // namespace
