#include "audio/DefaultDeviceWatch_win.h"

DefaultDeviceWatch::DefaultDeviceWatch(IMMDeviceEnumerator* enumerator, HANDLE changedEvent)
    : enumerator_(enumerator),
      changedEvent_(changedEvent),
      registered_(SUCCEEDED(enumerator->RegisterEndpointNotificationCallback(this))) {}

// Once unregistered, the system calls in no more, so the watch may go.
DefaultDeviceWatch::~DefaultDeviceWatch() {
    if (registered_) enumerator_->UnregisterEndpointNotificationCallback(this);
}

HRESULT DefaultDeviceWatch::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IMMNotificationClient))) {
        *object = static_cast<IMMNotificationClient*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// The stream plays on the console role's device; the system reports each role apart.
HRESULT DefaultDeviceWatch::OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR) {
    if (flow == eRender && role == eConsole) SetEvent(changedEvent_);
    return S_OK;
}
