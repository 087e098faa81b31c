#include "app/startup.h"

#include "app/icon.h"
#include "app/version.h"

#include <QApplication>
#include <cstdio>
#include <unistd.h>

namespace app {

namespace {

void startupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs("melkora: cannot open its window: no display is available "
                   "(start it from a desktop session, or set DISPLAY)\n",
                   stderr);
        std::fflush(stderr);
        _exit(1);
    }
    // The platform plugin's own diagnostics only lead up to that line.
    if (context.category != nullptr && qstrncmp(context.category, "qt.qpa", 6) == 0) {
        return;
    }
    qt_message_output(type, context, message);
}

} // namespace

NoDisplayGuard::NoDisplayGuard()
    : m_previous(qInstallMessageHandler(startupMessage)) {
}

NoDisplayGuard::~NoDisplayGuard() {
    qInstallMessageHandler(m_previous);
}

void describeApplication() {
    QApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    QApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
    QApplication::setWindowIcon(icon());
}

} // namespace app
