#pragma once
// Signals an event when the default render device changes (headphones plugged in, a USB
// headset, the last device gone or back), so the render thread opens the stream again on the
// new default. The system calls in on a thread of its own; the event is all that is shared.

#include <windows.h>
#include <mmdeviceapi.h>

class DefaultDeviceWatch : public IMMNotificationClient {
public:
    // Registers with the enumerator, which must outlive this watch; without registration the
    // watch signals nothing and the stream still reopens when the device reports itself gone.
    DefaultDeviceWatch(IMMDeviceEnumerator* enumerator, HANDLE changedEvent);
    ~DefaultDeviceWatch();
    DefaultDeviceWatch(const DefaultDeviceWatch&) = delete;
    DefaultDeviceWatch& operator=(const DefaultDeviceWatch&) = delete;

    // IUnknown: the watch lives on the render thread's stack, so counting only pretends.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role,
                                                     LPCWSTR deviceId) override;
    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override {
        return S_OK;
    }

private:
    IMMDeviceEnumerator* enumerator_;
    HANDLE changedEvent_;
    bool registered_;
};
