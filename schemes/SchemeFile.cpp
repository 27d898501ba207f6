#include "schemes/SchemeFile.h"

#include "schemes/MouseButtonNames.h"

#include <sys/stat.h>

#include <cstdio>
#include <string_view>

namespace {

// Text mode on Windows stops reading at this byte, as at end of file.
constexpr char kTextModeEndOfFile = '\x1A';

bool IsWordSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

constexpr size_t kReleaseSuffixChars = sizeof(kReleaseWordSuffix) - 1;

// Upper-cased already; a bare suffix names nothing.
bool IsReleaseName(std::string_view key) {
    return key.size() > kReleaseSuffixChars &&
           key.substr(key.size() - kReleaseSuffixChars) == kReleaseWordSuffix;
}

void ApplyWord(std::string_view word, KeySoundTable& presses, KeySoundTable* releases) {
    if (word.front() == '[') return;  // section headers mean nothing
    const size_t equals = word.find('=');
    if (equals == std::string_view::npos || equals == 0 || equals + 1 == word.size()) return;

    char key[kMaxSchemeWordChars + 1];
    for (size_t i = 0; i < equals; ++i) {
        const char c = word[i];
        key[i] = (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
    }
    key[equals] = '\0';
    const std::string_view value = word.substr(equals + 1);

    KeySoundTable* target = &presses;
    if (IsReleaseName(std::string_view(key, equals))) {
        target = releases;
        key[equals - kReleaseSuffixChars] = '\0';
    }
    if (target == nullptr) return;
    KeySoundTable& table = *target;

    if (const KeyGroup* group = FindKeyGroup(key)) {
        for (size_t i = 0; i < group->codeCount; ++i) table[group->codes[i]] = value;
        return;
    }
    unsigned code = KeyCodeFromName(key);
    if (code == 0) code = MouseButtonCodeFromName(key);
    if (code != 0) table[code] = value;
}

// Collects words from text that may arrive in pieces, applying each as it completes.
class SchemeWordReader {
public:
    SchemeWordReader(KeySoundTable& table, KeySoundTable* releases)
        : table_(table), releases_(releases) {}

    // Returns false once the text has ended; later pieces are then ignored.
    bool Feed(const char* bytes, size_t size) {
        for (size_t i = 0; i < size && !ended_; ++i) {
            const char c = bytes[i];
            if (c == '\0' || c == kTextModeEndOfFile) {
                ended_ = true;
            } else if (IsWordSeparator(c)) {
                FinishWord();
            } else if (length_ < sizeof(word_)) {
                word_[length_++] = c;
            } else {
                tooLong_ = true;
            }
        }
        return !ended_;
    }

    // Applies the word still open at the end of the text.
    void FinishWord() {
        if (length_ > 0 && !tooLong_)
            ApplyWord(std::string_view(word_, length_), table_, releases_);
        length_ = 0;
        tooLong_ = false;
    }

private:
    KeySoundTable& table_;
    KeySoundTable* releases_;
    char word_[kMaxSchemeWordChars];
    size_t length_ = 0;
    bool tooLong_ = false;  // the word is skipped whole, never cut into a shorter one
    bool ended_ = false;
};

// Folders, and anything else that is not a plain file, count as absent.
bool IsRegularFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A line only for a key with a sound; suffix follows the name.
void AppendSchemeLine(const char* key, const char* suffix, const std::string& file,
                      std::string& text) {
    if (file.empty()) return;
    text += key;
    text += suffix;
    text += '=';
    text += file;
    text += "\r\n";
}

// The sound of the group's members that no key name reaches, when a group line written before
// every other line gives them exactly that and nothing else: they share one sound, and every
// named member has a sound of its own, whose line follows and overrides the group's. Empty
// when no such line fits (the reader never makes such a table).
std::string SoundOfNamelessMembers(const KeyGroup& group, const KeySoundTable& table) {
    const std::string* shared = nullptr;
    for (size_t i = 0; i < group.codeCount; ++i) {
        const std::string& file = table[group.codes[i]];
        if (KeyNameOfCode(group.codes[i]) != nullptr) {
            if (file.empty()) return {};
        } else {
            if (file.empty() || (shared != nullptr && *shared != file)) return {};
            shared = &file;
        }
    }
    return shared != nullptr ? *shared : std::string();
}

// The word a line names code with: its key name, else its mouse button's.
const char* SchemeNameOfCode(unsigned code) {
    const char* name = KeyNameOfCode(code);
    return name != nullptr ? name : MouseButtonNameOfCode(code);
}

// The lines of one table: "CHARS" first where it must stand, the rows, then the other names.
void AppendTableLines(const KeySoundTable& table, const char* suffix, std::string& text) {
    if (const KeyGroup* chars = FindKeyGroup("CHARS")) {
        const std::string sound = SoundOfNamelessMembers(*chars, table);
        if (!sound.empty()) AppendSchemeLine("CHARS", suffix, sound, text);
    }
    std::array<bool, 256> editable{};
    for (const char* name : EditableKeyNames) {
        const unsigned code = KeyCodeFromName(name);
        editable[code] = true;
        AppendSchemeLine(name, suffix, table[code], text);
    }
    for (unsigned code = 1; code < table.size(); ++code) {
        const char* name = SchemeNameOfCode(code);
        if (name != nullptr && !editable[code]) AppendSchemeLine(name, suffix, table[code], text);
    }
}

}  // namespace

void ApplySchemeText(const char* text, size_t size, KeySoundTable& table,
                     KeySoundTable* releases) {
    SchemeWordReader reader(table, releases);
    reader.Feed(text, size);
    reader.FinishWord();
}

std::string ChooseSchemeFile(const std::string& schemeFolderWithSeparator) {
    for (const char* name : {"Scheme.txt", "Scheme.ini"}) {
        std::string path = schemeFolderWithSeparator + name;
        if (IsRegularFile(path)) return path;
    }
    return {};
}

bool ReadSchemeFile(const std::string& schemeFolderWithSeparator, KeySoundTable& table,
                    KeySoundTable* releases) {
    table.fill(std::string());
    if (releases != nullptr) releases->fill(std::string());
    const std::string path = ChooseSchemeFile(schemeFolderWithSeparator);
    if (path.empty() || path.size() > kMaxSchemePathChars) return false;

    // Binary mode with the text-mode rules applied by the reader, so every build reads alike.
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    SchemeWordReader reader(table, releases);
    char buffer[4096];
    for (;;) {
        const size_t got = std::fread(buffer, 1, sizeof buffer, file);
        if (got == 0 || !reader.Feed(buffer, got)) break;
    }
    std::fclose(file);
    reader.FinishWord();
    return true;
}

std::string FormatSchemeText(const KeySoundTable& table, const KeySoundTable* releases) {
    std::string text;
    AppendTableLines(table, "", text);
    if (releases != nullptr) AppendTableLines(*releases, kReleaseWordSuffix, text);
    return text;
}

bool WriteSchemeFile(const std::string& path, const KeySoundTable& table,
                     const KeySoundTable* releases) {
    const std::string text = FormatSchemeText(table, releases);
    // Binary mode: the text already holds its CR LF line ends.
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}
