// Registry commands of tvxctl. Keys are written "HKCU\Software\..." (or HKLM, or the long names).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/tools/ToolArgs.h"
#include "tests/tools/ToolHandle.h"
#include "tests/tools/TvxCommands.h"

namespace {

struct RootName {
    const char* prefix;
    HKEY root;
};

const RootName kRoots[] = {
    {"HKCU\\", HKEY_CURRENT_USER},
    {"HKEY_CURRENT_USER\\", HKEY_CURRENT_USER},
    {"HKLM\\", HKEY_LOCAL_MACHINE},
    {"HKEY_LOCAL_MACHINE\\", HKEY_LOCAL_MACHINE},
};

bool SplitKey(const char* key, HKEY* root, const char** subKey) {
    for (const RootName& name : kRoots) {
        size_t length = strlen(name.prefix);
        if (_strnicmp(key, name.prefix, length) == 0 && key[length] != '\0') {
            *root = name.root;
            *subKey = key + length;
            return true;
        }
    }
    return false;
}

const char* TypeName(DWORD type) {
    switch (type) {
        case REG_SZ: return "REG_SZ";
        case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
        case REG_MULTI_SZ: return "REG_MULTI_SZ";
        case REG_DWORD: return "REG_DWORD";
        case REG_QWORD: return "REG_QWORD";
        case REG_BINARY: return "REG_BINARY";
        case REG_NONE: return "REG_NONE";
        default: return "REG_OTHER";
    }
}

// Text values are printed up to their first zero byte; a DWORD in decimal; anything else as "-".
void PrintReadable(DWORD type, const std::vector<BYTE>& data) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        size_t length = 0;
        while (length < data.size() && data[length] != 0) ++length;
        fwrite(data.data(), 1, length, stdout);
    } else if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
        DWORD number = 0;
        memcpy(&number, data.data(), sizeof(number));
        printf("%lu", number);
    } else {
        printf("-");
    }
}

}  // namespace

// Prints "TYPE<tab>READABLE<tab>HEX", HEX being every stored byte, so tests can check exact data.
int CmdRegRead(int argc, char** argv) {
    HKEY root = nullptr;
    const char* subKey = nullptr;
    if (argc != 2 || !SplitKey(argv[0], &root, &subKey)) return TvxUsage;
    ScopedRegKey key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) {
        return TvxMissing;
    }
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key.Get(), argv[1], nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) return TvxMissing;
    if (status != ERROR_SUCCESS) return TvxFailed;
    std::vector<BYTE> data(size);
    if (size != 0 &&
        RegQueryValueExA(key.Get(), argv[1], nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
        return TvxFailed;
    }
    data.resize(size);
    printf("%s\t", TypeName(type));
    PrintReadable(type, data);
    printf("\t");
    for (BYTE byte : data) printf("%02x", byte);
    printf("\n");
    return TvxOk;
}

namespace {

// "TYPE" or "TYPE:COUNT" and hexadecimal bytes: the bytes COUNT times (once by default) under
// any type number, for values no program of ours would write: text without its terminating
// zero, an empty REG_SZ, a megabyte that no command line could carry.
bool ParseRawValue(const char* typeAndCount, const char* hex, DWORD* type,
                   std::vector<BYTE>* data) {
    const char* colon = strchr(typeAndCount, ':');
    const std::string typeText(typeAndCount, colon ? colon - typeAndCount : strlen(typeAndCount));
    uint64_t typeNumber = 0;
    uint64_t count = 1;
    constexpr uint64_t kMaxBytes = 16u << 20;
    if (!ParseUnsignedArg(typeText.c_str(), MAXDWORD, &typeNumber) ||
        (colon && !ParseUnsignedArg(colon + 1, kMaxBytes, &count))) {
        return false;
    }
    std::vector<BYTE> piece(strlen(hex) / 2 + 1);
    uint32_t pieceSize = 0;
    if (!ParseHexBytes(hex, piece.data(), static_cast<uint32_t>(piece.size()), &pieceSize) ||
        pieceSize * count > kMaxBytes) {
        return false;
    }
    *type = static_cast<DWORD>(typeNumber);
    data->clear();
    for (uint64_t i = 0; i < count; ++i) {
        data->insert(data->end(), piece.begin(), piece.begin() + pieceSize);
    }
    return true;
}

}  // namespace

int CmdRegWrite(int argc, char** argv) {
    HKEY root = nullptr;
    const char* subKey = nullptr;
    if (argc != 4 || !SplitKey(argv[0], &root, &subKey)) return TvxUsage;
    const char* typeName = argv[2];
    const char* text = argv[3];
    DWORD type = REG_SZ;
    std::vector<BYTE> data;
    if (strcmp(typeName, "sz") == 0) {
        data.assign(text, text + strlen(text) + 1);
    } else if (strcmp(typeName, "dword") == 0) {
        uint64_t number = 0;
        if (!ParseUnsignedArg(text, MAXDWORD, &number)) return TvxUsage;
        DWORD value = static_cast<DWORD>(number);
        type = REG_DWORD;
        data.resize(sizeof(value));
        memcpy(data.data(), &value, sizeof(value));
    } else if (strcmp(typeName, "binary") == 0) {
        type = REG_BINARY;
        data.resize(strlen(text) / 2 + 1);
        uint32_t count = 0;
        if (!ParseHexBytes(text, data.data(), static_cast<uint32_t>(data.size()), &count)) {
            return TvxUsage;
        }
        data.resize(count);
    } else if (strncmp(typeName, "raw:", 4) == 0) {
        if (!ParseRawValue(typeName + 4, text, &type, &data)) return TvxUsage;
    } else {
        return TvxUsage;
    }
    ScopedRegKey key;
    if (RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS) {
        return TvxFailed;
    }
    LONG status = RegSetValueExA(key.Get(), argv[1], 0, type, data.data(),
                                 static_cast<DWORD>(data.size()));
    return status == ERROR_SUCCESS ? TvxOk : TvxFailed;
}

int CmdRegDelete(int argc, char** argv) {
    HKEY root = nullptr;
    const char* subKey = nullptr;
    if (argc < 1 || argc > 2 || !SplitKey(argv[0], &root, &subKey)) return TvxUsage;
    LONG status = ERROR_SUCCESS;
    if (argc == 1) {
        status = RegDeleteTreeA(root, subKey);
        if (status == ERROR_SUCCESS) status = RegDeleteKeyA(root, subKey);
    } else {
        ScopedRegKey key;
        status = RegOpenKeyExA(root, subKey, 0, KEY_SET_VALUE, key.Receive());
        if (status == ERROR_SUCCESS) status = RegDeleteValueA(key.Get(), argv[1]);
    }
    if (status == ERROR_FILE_NOT_FOUND) return TvxMissing;
    return status == ERROR_SUCCESS ? TvxOk : TvxFailed;
}
