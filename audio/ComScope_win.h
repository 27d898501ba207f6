#pragma once
// Holders for the COM side of the output stream: the thread's apartment and memory that COM
// hands out with CoTaskMemAlloc. Interfaces themselves are held in Microsoft::WRL::ComPtr.

#include <objbase.h>

#include <memory>

// COM for the calling thread, for as long as this lives; a thread that cannot join the
// multithreaded apartment has no COM and opens no device.
class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ComApartment() {
        if (initialized_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    explicit operator bool() const { return initialized_; }

private:
    bool initialized_;
};

struct CoTaskMemDeleter {
    void operator()(void* memory) const { CoTaskMemFree(memory); }
};

template <typename T>
using CoTaskMemPtr = std::unique_ptr<T, CoTaskMemDeleter>;
