#include "schemes/SchemeFile.h"

#include <sys/stat.h>

#include <cstdio>
#include <string_view>

namespace {

// Text mode on Windows stops reading at this byte, as at end of file.
constexpr char kTextModeEndOfFile = '\x1A';

bool IsWordSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void ApplyWord(std::string_view word, KeySoundTable& table) {
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

    if (const KeyGroup* group = FindKeyGroup(key)) {
        for (size_t i = 0; i < group->codeCount; ++i) table[group->codes[i]] = value;
        return;
    }
    if (const unsigned code = KeyCodeFromName(key)) table[code] = value;
}

// Collects words from text that may arrive in pieces, applying each as it completes.
class SchemeWordReader {
public:
    explicit SchemeWordReader(KeySoundTable& table) : table_(table) {}

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
        if (length_ > 0 && !tooLong_) ApplyWord(std::string_view(word_, length_), table_);
        length_ = 0;
        tooLong_ = false;
    }

private:
    KeySoundTable& table_;
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

}  // namespace

void ApplySchemeText(const char* text, size_t size, KeySoundTable& table) {
    SchemeWordReader reader(table);
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

bool ReadSchemeFile(const std::string& schemeFolderWithSeparator, KeySoundTable& table) {
    table.fill(std::string());
    const std::string path = ChooseSchemeFile(schemeFolderWithSeparator);
    if (path.empty() || path.size() > kMaxSchemePathChars) return false;

    // Binary mode with the text-mode rules applied by the reader, so every build reads alike.
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    SchemeWordReader reader(table);
    char buffer[4096];
    for (;;) {
        const size_t got = std::fread(buffer, 1, sizeof buffer, file);
        if (got == 0 || !reader.Feed(buffer, got)) break;
    }
    std::fclose(file);
    reader.FinishWord();
    return true;
}

std::string FormatSchemeText(const SchemeRowFiles& rowFiles) {
    std::string text;
    for (size_t row = 0; row < rowFiles.size(); ++row) {
        if (rowFiles[row].empty()) continue;
        text += EditableKeyNames[row];
        text += '=';
        text += rowFiles[row];
        text += "\r\n";
    }
    return text;
}

bool WriteSchemeFile(const std::string& path, const SchemeRowFiles& rowFiles) {
    const std::string text = FormatSchemeText(rowFiles);
    // Binary mode: the text already holds its CR LF line ends.
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}
