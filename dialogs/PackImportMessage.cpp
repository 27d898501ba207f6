#include "dialogs/PackImportMessage.h"

#include "res/resource.h"

unsigned ImportErrorStringId(PackImportError error) {
    switch (error) {
    case PackImportError::None: break;
    case PackImportError::Unreadable: return IDS_IMPORT_UNREADABLE;
    case PackImportError::TooLarge: return IDS_IMPORT_TOO_LARGE;
    case PackImportError::UnsafeName: return IDS_IMPORT_UNSAFE_NAME;
    case PackImportError::BadArchive: return IDS_IMPORT_BAD_ARCHIVE;
    case PackImportError::NoConfig: return IDS_IMPORT_NO_CONFIG;
    case PackImportError::BadConfig: return IDS_IMPORT_BAD_CONFIG;
    case PackImportError::BadSlice: return IDS_IMPORT_BAD_SLICE;
    case PackImportError::AudioUnsupported: return IDS_IMPORT_AUDIO_UNSUPPORTED;
    case PackImportError::AudioCorrupt: return IDS_IMPORT_AUDIO_CORRUPT;
    case PackImportError::AudioTooLong: return IDS_IMPORT_AUDIO_TOO_LONG;
    case PackImportError::NoSounds: return IDS_IMPORT_NO_SOUNDS;
    case PackImportError::NoFreeName: return IDS_IMPORT_NO_FREE_NAME;
    case PackImportError::WriteFailed: return IDS_IMPORT_WRITE_FAILED;
    }
    return IDS_IMPORT_FAILED;
}

// Each conversion once, in the order the translations keep; a format without one (a module
// translated wrongly) simply lacks that part rather than reading a missing argument.
std::wstring FillSkippedKeysText(const std::wstring& format, const std::wstring& schemeName,
                                 size_t skippedKeys) {
    std::wstring text = format;
    const size_t name = text.find(L"%s");
    if (name != std::wstring::npos) text.replace(name, 2, schemeName);
    const size_t count = text.find(L"%u", name == std::wstring::npos ? 0 : name + schemeName.size());
    if (count != std::wstring::npos) text.replace(count, 2, std::to_wstring(skippedKeys));
    return text;
}
