#pragma once

// A polite announcement for Windows screen readers, for a text that appears in a control
// without the focus. Narrator and NVDA read a live region: a static control whose text is the
// announcement, marked polite through oleacc's property services, that tells of each change
// with EVENT_OBJECT_LIVEREGIONCHANGED. It has no size, so it is never drawn, and stands after
// every control, so it names none of them. Where the system has UI Automation's notifications
// (Windows 10 1709 and later), the same text goes out as one too.
//
// COM, oleacc's services and UI Automation are bound by name at the first announcement: the
// program starts without loading them, and still starts where they are missing. Their failures
// are silent, since the results stand in their fields either way.

#include <memory>
#include <string_view>
#include <windows.h>

namespace rt {

class LiveRegion {
public:
    LiveRegion();
    ~LiveRegion();
    LiveRegion(const LiveRegion&) = delete;
    LiveRegion& operator=(const LiveRegion&) = delete;

    void create(HWND window);
    void announce(std::u16string_view text);
    // Gives back what oleacc and COM hold for the region, and announces nothing more; called
    // before the window is destroyed.
    void release();

private:
    struct Services; // what was bound by name, and what it holds

    HWND m_region = nullptr;
    std::unique_ptr<Services> m_services;
};

} // namespace rt
