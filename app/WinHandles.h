#pragma once
// One owner per Win32 resource: a small holder that releases it once, copy deleted, move allowed.

#include <windows.h>

#include <utility>

template <typename Traits>
class ScopedHandle {
public:
    using Handle = typename Traits::Handle;

    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }

    // For calls that hand the resource back through a pointer argument.
    Handle* Receive() {
        Reset();
        return &handle_;
    }

    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }

    void Reset(Handle handle = Traits::Invalid()) {
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle key) { RegCloseKey(key); }
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle menu) { DestroyMenu(menu); }
};

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle module) { FreeLibrary(module); }
};

struct MapViewTraits {
    using Handle = void*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle view) { UnmapViewOfFile(view); }
};

struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle object) { DeleteObject(object); }
};

struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle icon) { DestroyIcon(icon); }
};

struct WinEventHookTraits {
    using Handle = HWINEVENTHOOK;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle hook) { UnhookWinEvent(hook); }
};

using ScopedRegKey = ScopedHandle<RegKeyTraits>;
using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;
using ScopedMenu = ScopedHandle<MenuTraits>;
using ScopedModule = ScopedHandle<ModuleTraits>;
using ScopedMapView = ScopedHandle<MapViewTraits>;
using ScopedGdiObject = ScopedHandle<GdiObjectTraits>;
using ScopedIcon = ScopedHandle<IconTraits>;
using ScopedWinEventHook = ScopedHandle<WinEventHookTraits>;
