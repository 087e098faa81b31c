#include "bench/x_session.h"

#include <X11/extensions/XTest.h>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace bench {

namespace {

// A watched window may be gone before we ask about it; that is no reason to stop the benchmark,
// which Xlib's default handler would do.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

double kilobytesField(const std::string& line, const char* name) {
    const std::size_t length = std::strlen(name);
    if (line.compare(0, length, name) != 0) {
        return -1;
    }
    return std::stod(line.substr(length));
}

} // namespace

Milliseconds cpuTimeOf(pid_t pid) {
    namespace fs = std::filesystem;
    std::uint64_t nanoseconds = 0;
    std::error_code error;
    for (const auto& task :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        std::uint64_t onCpu = 0;
        if (schedstat >> onCpu) {
            nanoseconds += onCpu;
        }
    }
    return std::chrono::nanoseconds(nanoseconds);
}

Memory memoryOf(pid_t pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    if (!rollup) {
        throw std::runtime_error("cannot read /proc/" + std::to_string(pid) + "/smaps_rollup");
    }
    Memory memory;
    for (std::string line; std::getline(rollup, line);) {
        if (const double rss = kilobytesField(line, "Rss:"); rss >= 0) {
            memory.rssMegabytes = rss / 1024;
        } else if (const double pss = kilobytesField(line, "Pss:"); pss >= 0) {
            memory.pssMegabytes = pss / 1024;
        }
    }
    return memory;
}

XSession::XSession() {
    // The programs must come up on this display, and without complaining on stderr that the
    // session has no runtime folder, as none has under xvfb-run.
    unsetenv("QT_QPA_PLATFORM");
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        static char runtime[] = "/tmp/melkora-bench-XXXXXX";
        if (mkdtemp(runtime) != nullptr) {
            setenv("XDG_RUNTIME_DIR", runtime, 1);
        }
    }
    m_display = XOpenDisplay(nullptr);
    if (m_display == nullptr) {
        throw std::runtime_error("cannot open the X display; run under xvfb-run");
    }
    XSetErrorHandler(ignoreError);
    int errorBase = 0;
    if (!XDamageQueryExtension(m_display, &m_damageEventBase, &errorBase)) {
        throw std::runtime_error("the X server has no DAMAGE extension");
    }
    int eventBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(m_display, &eventBase, &errorBase, &major, &minor)) {
        throw std::runtime_error("the X server has no XTEST extension");
    }
    m_root = DefaultRootWindow(m_display);
    XSelectInput(m_display, m_root, SubstructureNotifyMask);
    XSync(m_display, False);
}

XSession::~XSession() {
    XCloseDisplay(m_display);
}

bool XSession::nextEvent(XEvent& event, Clock::time_point deadline) {
    while (XPending(m_display) == 0) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left.count()));
    }
    XNextEvent(m_display, &event);
    return true;
}

void XSession::drain(Milliseconds quiet) {
    XEvent event;
    while (nextEvent(event, Clock::now() + std::chrono::duration_cast<Clock::duration>(quiet))) {
        if (isDamage(event)) {
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            XDamageSubtract(m_display, damage.damage, 0, 0);
        }
    }
}

Started XSession::start(const std::vector<std::string>& argv, std::chrono::seconds timeout) {
    std::vector<char*> arguments;
    for (const std::string& argument : argv) {
        arguments.push_back(const_cast<char*>(argument.c_str()));
    }
    arguments.push_back(nullptr);
    drain(Milliseconds(0));

    Started started;
    const Clock::time_point begin = Clock::now();
    if (const int error = posix_spawn(&started.pid, arguments.front(), nullptr, nullptr,
                                      arguments.data(), environ)) {
        throw std::runtime_error("cannot start " + argv.front() + ": " + std::strerror(error));
    }

    // Damage is watched from the moment a top-level window exists, before it is mapped, so
    // that no paint can slip by; Qt paints only after the map and the first expose.
    std::map<Window, Damage> damages;
    Window mapped = 0;
    const Clock::time_point deadline = begin + timeout;
    XEvent event;
    while (Clock::now() < deadline) {
        if (!nextEvent(event, std::min(deadline, Clock::now() + std::chrono::milliseconds(100)))) {
            int status = 0;
            if (waitpid(started.pid, &status, WNOHANG) == started.pid) {
                throw std::runtime_error(argv.front() + " ended before it showed a window");
            }
            continue;
        }
        if (event.type == CreateNotify && event.xcreatewindow.parent == m_root) {
            damages[event.xcreatewindow.window] =
                XDamageCreate(m_display, event.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (event.type == MapNotify && damages.contains(event.xmap.window)) {
            mapped = event.xmap.window;
        } else if (isDamage(event)) {
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (damage.drawable == mapped) {
                started.firstFrame = Clock::now() - begin;
                started.cpuTime = cpuTimeOf(started.pid);
                started.window = mapped;
                XWindowAttributes attributes;
                XGetWindowAttributes(m_display, mapped, &attributes);
                started.width = attributes.width;
                started.height = attributes.height;
                for (const auto& [window, watch] : damages) {
                    XDamageDestroy(m_display, watch);
                }
                XSync(m_display, False);
                return started;
            }
            XDamageSubtract(m_display, damage.damage, 0, 0);
        }
    }
    stop(started.pid);
    throw std::runtime_error(argv.front() + " painted no window within " +
                             std::to_string(timeout.count()) + " s");
}

void XSession::stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace bench
