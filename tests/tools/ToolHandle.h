// One owner per Win32 handle for the test tools: copying is deleted, moving hands over ownership.
#pragma once
#include <windows.h>

template <typename Traits>
class ToolHandle {
public:
    using Handle = typename Traits::Handle;

    ToolHandle() = default;
    explicit ToolHandle(Handle handle) : handle_(handle) {}
    ~ToolHandle() { Reset(); }
    ToolHandle(const ToolHandle&) = delete;
    ToolHandle& operator=(const ToolHandle&) = delete;
    ToolHandle(ToolHandle&& other) noexcept : handle_(other.Release()) {}
    ToolHandle& operator=(ToolHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Release();
        }
        return *this;
    }
    Handle Get() const { return handle_; }
    bool Valid() const { return handle_ != Traits::Invalid(); }
    Handle Release() {
        Handle released = handle_;
        handle_ = Traits::Invalid();
        return released;
    }
    void Reset() {
        if (Valid()) Traits::Close(handle_);
        handle_ = Traits::Invalid();
    }
    // For APIs that hand back a new handle through a pointer.
    Handle* Receive() {
        Reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

// Toolhelp snapshots and files report failure as INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { RegCloseKey(handle); }
};

struct LibraryTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { FreeLibrary(handle); }
};

struct HookTraits {
    using Handle = HHOOK;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { UnhookWindowsHookEx(handle); }
};

struct MapViewTraits {
    using Handle = void*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle view) { UnmapViewOfFile(view); }
};

using KernelHandle = ToolHandle<KernelHandleTraits>;
using Library = ToolHandle<LibraryTraits>;
using Hook = ToolHandle<HookTraits>;
using MapView = ToolHandle<MapViewTraits>;
using FileHandle = ToolHandle<FileHandleTraits>;
using RegistryKey = ToolHandle<RegistryKeyTraits>;
