// Response: the time from pressing Enter (through XTEST) until the X server holds the repainted
// results, under Xvfb, over a run of presses. Before each press the first vector's x component
// is typed anew, alternating between two values, so that every press changes the y and z
// results and they must be painted again; the press counts as answered once both are.
//
//   melkora_bench_response <melkora> [presses]
//
// Exits 1 when the median misses one frame at 60 Hz.

// Our headers first: Xlib's macros (None, Bool, Status) would break them.
// clang-format off
#include "runtime/twips.h"
#include "window/form1.h"
#include "bench/statistics.h"
#include "bench/x_session.h"
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::Milliseconds;

constexpr double kTargetMilliseconds = 1000.0 / 60;
constexpr double kDotsPerInch = 96; // make bench starts Xvfb with -dpi 96
constexpr int kWarmUpPresses = 3;

// Where a control of the window lies, from the window's own description.
XRectangle controlBox(std::u16string_view name) {
    const rt::FormDescription& form = window::form1Description();
    const rt::ControlRecord& record = form.controls[rt::controlIndex(form, name)];
    const rt::Box box = rt::twipsToPixels(record.box(), kDotsPerInch);
    return {static_cast<short>(box.left), static_cast<short>(box.top),
            static_cast<unsigned short>(box.width), static_cast<unsigned short>(box.height)};
}

bool intersects(const XRectangle& a, const XRectangle& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

class Driver {
public:
    Driver(bench::XSession& session, Window window)
        : m_session(session)
        , m_display(session.display())
        , m_window(window)
        , m_damage(XDamageCreate(m_display, window, XDamageReportRawRectangles)) {}

    void tap(KeySym symbol, KeySym modifier = NoSymbol) {
        if (modifier != NoSymbol) {
            key(modifier, true);
        }
        key(symbol, true);
        key(symbol, false);
        if (modifier != NoSymbol) {
            key(modifier, false);
        }
        XFlush(m_display);
    }

    void type(const std::string& text) {
        for (const char c : text) {
            tap(c == '-' ? XK_minus : c == '.' ? XK_period : XK_0 + (c - '0'));
        }
    }

    void click(const XRectangle& box) {
        int x = 0;
        int y = 0;
        Window child = 0;
        XTranslateCoordinates(m_display, m_window, DefaultRootWindow(m_display),
                              box.x + box.width / 2, box.y + box.height / 2, &x, &y, &child);
        XTestFakeMotionEvent(m_display, DefaultScreen(m_display), x, y, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        XFlush(m_display);
    }

    // Waits until the window has been painted over each of `boxes`; returns when the last one
    // was. A new window on the screen here can only be an error message.
    Clock::time_point awaitPaint(std::vector<XRectangle> boxes) {
        const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
        XEvent event;
        while (m_session.nextEvent(event, deadline)) {
            if (event.type == MapNotify) {
                throw std::runtime_error("Melkora showed a message instead of results");
            }
            if (!m_session.isDamage(event)) {
                continue;
            }
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            std::erase_if(boxes,
                          [&](const XRectangle& box) { return intersects(box, damage.area); });
            if (boxes.empty()) {
                return Clock::now();
            }
        }
        throw std::runtime_error("the window was not repainted within 5 s");
    }

private:
    void key(KeySym symbol, bool down) {
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, symbol), down, CurrentTime);
    }

    bench::XSession& m_session;
    Display* m_display;
    Window m_window;
    Damage m_damage; // held so that the server keeps reporting paints of the window
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3) {
        std::fputs("usage: melkora_bench_response <melkora> [presses]\n", stderr);
        return 2;
    }
    const int presses = argc == 3 ? std::stoi(argv[2]) : 100;
    try {
        bench::XSession session;
        const bench::Started melkora = session.start({argv[1]});
        const rt::WindowRecord& record = window::form1Description().window;
        if (melkora.width != rt::twipsToPixels(record.clientWidth, kDotsPerInch) ||
            melkora.height != rt::twipsToPixels(record.clientHeight, kDotsPerInch)) {
            throw std::runtime_error("the window is not at 96 dots per inch; run under "
                                     "xvfb-run -s '-dpi 96'");
        }
        XSetInputFocus(session.display(), melkora.window, RevertToParent, CurrentTime);
        session.drain(Milliseconds(300));

        Driver driver(session, melkora.window);
        const XRectangle a = controlBox(u"a");
        const std::vector<XRectangle> changed{controlBox(u"y"), controlBox(u"z")};
        const std::pair<const char16_t*, const char*> inputs[] = {
            {u"b", "2"}, {u"c", "3"}, {u"d", "4"}, {u"e", "5"}, {u"f", "6"}};
        for (const auto& [name, text] : inputs) {
            driver.click(controlBox(name));
            driver.type(text);
        }
        driver.click(a);
        session.drain(Milliseconds(100));

        std::vector<double> samples;
        double firstPress = 0;
        for (int press = 0; press < kWarmUpPresses + presses; ++press) {
            driver.tap(XK_a, XK_Control_L);
            driver.type(press % 2 == 0 ? "7" : "-8");
            driver.awaitPaint({a});
            session.drain(Milliseconds(30));

            const Clock::time_point pressed = Clock::now();
            driver.tap(XK_Return);
            const Milliseconds answered = driver.awaitPaint(changed) - pressed;
            if (press == 0) {
                firstPress = answered.count();
            }
            if (press >= kWarmUpPresses) {
                samples.push_back(answered.count());
            }
        }
        bench::XSession::stop(melkora.pid);

        const double median = bench::median(samples);
        std::printf("Response under Xvfb: Enter to repainted results, %d presses\n", presses);
        std::printf(
            "median %.2f ms, 90th percentile %.2f ms, slowest %.2f ms; first press %.2f ms\n",
            median, bench::percentile(samples, 0.9), bench::percentile(samples, 1.0), firstPress);
        const bool met = median < kTargetMilliseconds;
        std::printf("median under one 60 Hz frame (%.1f ms): %s\n", kTargetMilliseconds,
                    met ? "met" : "MISSED");
        return met ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "melkora_bench_response: %s\n", error.what());
        return 2;
    }
}
