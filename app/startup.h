#pragma once

#include <QtGlobal>

namespace app {

// Qt aborts, and leaves a core dump, when it finds no display to open a window on, after some
// lines of plugin diagnostics. While this guard lives, that ends instead in one clear line on
// standard error and exit status 1. It covers the construction of the QApplication.
class NoDisplayGuard {
public:
    NoDisplayGuard();
    ~NoDisplayGuard();
    NoDisplayGuard(const NoDisplayGuard&) = delete;
    NoDisplayGuard& operator=(const NoDisplayGuard&) = delete;

private:
    QtMessageHandler m_previous;
};

// Name, version, icon and desktop entry of the running application.
void describeApplication();

} // namespace app
