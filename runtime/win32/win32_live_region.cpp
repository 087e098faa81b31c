#include "runtime/win32/win32_live_region.h"

#include "runtime/win32/win32_function.h"
#include "runtime/win32/win32_text.h"

#include <oleacc.h>
#include <string>

namespace rt {

namespace {

// From the SDK's headers, most of which mingw-w64 lacks; named here so that nothing of
// oleacc or UI Automation is linked.
constexpr GUID kAccPropServicesClass{
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kAccPropServicesInterface{
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kLiveSettingProperty{
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kLiveSettingPolite = 1;
constexpr int kNotificationKindActionCompleted = 2;
constexpr int kNotificationProcessingMostRecent = 3;
constexpr std::wstring_view kActivity = L"Melkora.Results";
// EVENT_OBJECT_LIVEREGIONCHANGED, which the headers give only to programs for Windows 8 and
// later; this one runs on 7 as well, where nothing listens for it.
constexpr DWORD kLiveRegionChanged = 0x8019;

HMODULE systemLibrary(const wchar_t* name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

} // namespace

// Bound at the first announcement; what it holds is given back when it goes.
struct LiveRegion::Services {
    explicit Services(HWND region);
    ~Services();
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    using CoInitializeEx = HRESULT(WINAPI*)(void*, DWORD);
    using CoUninitialize = void(WINAPI*)();
    using CoCreateInstance = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);
    using SysAllocStringLen = BSTR(WINAPI*)(const OLECHAR*, UINT);
    using SysFreeString = void(WINAPI*)(BSTR);
    // The provider is an IRawElementProviderSimple, used here only as the IUnknown it is.
    using UiaHostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IUnknown**);
    using UiaRaiseNotificationEvent = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);

    void raiseNotification(std::wstring_view text) const;

    HWND region;
    CoUninitialize coUninitialize = nullptr; // where the thread's COM was started here
    IAccPropServices* propServices = nullptr;
    SysAllocStringLen sysAllocStringLen = nullptr;
    SysFreeString sysFreeString = nullptr;
    UiaHostProviderFromHwnd hostProviderFromHwnd = nullptr;
    UiaRaiseNotificationEvent raiseNotificationEvent = nullptr;
};

LiveRegion::Services::Services(HWND region)
    : region(region) {
    HMODULE ole32 = systemLibrary(L"ole32.dll");
    const auto coInitializeEx = libraryFunction<CoInitializeEx>(ole32, "CoInitializeEx");
    const auto coCreateInstance = libraryFunction<CoCreateInstance>(ole32, "CoCreateInstance");
    if (coInitializeEx != nullptr && coCreateInstance != nullptr) {
        if (SUCCEEDED(coInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
            coUninitialize = libraryFunction<CoUninitialize>(ole32, "CoUninitialize");
        }
        void* services = nullptr;
        if (coCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                             kAccPropServicesInterface, &services) == S_OK) {
            propServices = static_cast<IAccPropServices*>(services);
            VARIANT polite{};
            polite.vt = VT_I4;
            polite.lVal = kLiveSettingPolite;
            propServices->SetHwndProp(region, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                      kLiveSettingProperty, polite);
        }
    }
    HMODULE oleaut32 = systemLibrary(L"oleaut32.dll");
    HMODULE automation = systemLibrary(L"UIAutomationCore.dll");
    sysAllocStringLen = libraryFunction<SysAllocStringLen>(oleaut32, "SysAllocStringLen");
    sysFreeString = libraryFunction<SysFreeString>(oleaut32, "SysFreeString");
    hostProviderFromHwnd =
        libraryFunction<UiaHostProviderFromHwnd>(automation, "UiaHostProviderFromHwnd");
    raiseNotificationEvent =
        libraryFunction<UiaRaiseNotificationEvent>(automation, "UiaRaiseNotificationEvent");
}

LiveRegion::Services::~Services() {
    if (propServices != nullptr) {
        const MSAAPROPID liveSetting = kLiveSettingProperty;
        propServices->ClearHwndProps(region, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                     &liveSetting, 1);
        propServices->Release();
    }
    if (coUninitialize != nullptr) {
        coUninitialize();
    }
}

void LiveRegion::Services::raiseNotification(std::wstring_view text) const {
    if (raiseNotificationEvent == nullptr || hostProviderFromHwnd == nullptr ||
        sysAllocStringLen == nullptr || sysFreeString == nullptr) {
        return;
    }
    IUnknown* provider = nullptr;
    if (hostProviderFromHwnd(region, &provider) != S_OK || provider == nullptr) {
        return;
    }
    BSTR display = sysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    BSTR activity = sysAllocStringLen(kActivity.data(), static_cast<UINT>(kActivity.size()));
    if (display != nullptr && activity != nullptr) {
        raiseNotificationEvent(provider, kNotificationKindActionCompleted,
                               kNotificationProcessingMostRecent, display, activity);
    }
    sysFreeString(display); // a null one too
    sysFreeString(activity);
    provider->Release();
}

LiveRegion::LiveRegion() = default;

LiveRegion::~LiveRegion() = default;

void LiveRegion::create(HWND window) {
    m_region = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0,
                               0, 0, 0, window, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void LiveRegion::announce(std::u16string_view text) {
    if (m_region == nullptr) {
        return;
    }
    if (m_services == nullptr) {
        m_services = std::make_unique<Services>(m_region);
    }
    const std::wstring wide = toWide(text);
    SetWindowTextW(m_region, wide.c_str());
    NotifyWinEvent(kLiveRegionChanged, m_region, OBJID_CLIENT, CHILDID_SELF);
    m_services->raiseNotification(wide);
}

void LiveRegion::release() {
    m_services.reset();
    m_region = nullptr;
}

} // namespace rt
