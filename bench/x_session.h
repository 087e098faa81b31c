#pragma once

// A program as the X server sees it, for the start-up and response benchmarks. They watch from
// outside the process, as a user would: the time runs from starting the program (or pressing a
// key) until the server has the new pixels, which the DAMAGE extension reports.
//
// Include this after any Qt header: Xlib defines macros (None, Bool, KeyPress...) that Qt's
// headers use as names.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

struct Memory {
    double rssMegabytes = 0;
    double pssMegabytes = 0;
};

// The processor time the process has had so far, all its threads together.
Milliseconds cpuTimeOf(pid_t pid);

// What /proc/<pid>/smaps_rollup says the process holds now.
Memory memoryOf(pid_t pid);

struct Started {
    pid_t pid = -1;
    Window window = 0;
    int width = 0;
    int height = 0;
    Milliseconds firstFrame{}; // from just before the program was started
    Milliseconds cpuTime{};    // the program's processor time up to its first frame
};

class XSession {
public:
    // Opens $DISPLAY and checks for DAMAGE and XTEST; throws std::runtime_error without them.
    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    Display* display() const { return m_display; }
    bool isDamage(const XEvent& event) const {
        return event.type == m_damageEventBase + XDamageNotify;
    }

    // Starts `argv` and waits until its first top-level window is mapped and painted. Throws
    // std::runtime_error when that does not happen within `timeout`.
    Started start(const std::vector<std::string>& argv,
                  std::chrono::seconds timeout = std::chrono::seconds(20));

    // Ends a program that start() started and reaps it.
    static void stop(pid_t pid);

    // The next event, or false once `deadline` has passed with none.
    bool nextEvent(XEvent& event, Clock::time_point deadline);

    // Every event that arrives within `quiet` of the previous one is dropped.
    void drain(Milliseconds quiet);

private:
    Display* m_display = nullptr;
    Window m_root = 0;
    int m_damageEventBase = 0;
};

} // namespace bench
