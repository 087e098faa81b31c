// What the core needs of the platform (runtime/platform.h), on Linux with Qt 6.

#include "runtime/platform.h"
#include "runtime/qt/qt_locale.h"
#include "runtime/qt/qt_text.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>

namespace rt {

NumberSymbols numberSymbols(const QLocale& locale) {
    return {
        .decimalSeparator = toU16String(locale.decimalPoint()),
        .negativeSign = toU16String(locale.negativeSign()),
        .positiveSign = toU16String(locale.positiveSign()),
        .exponent = toU16String(locale.exponential()),
        .zeroDigit = locale.zeroDigit().toUcs4().value(0, U'0'),
        .groupSeparator = toU16String(locale.groupSeparator()),
    };
}

namespace {

// xdg-open takes neither a window to parent to nor a show command, and QProcess passes the
// address as one argument, as it stands, with no shell between.
//
// startDetached forks twice, so the opener is never our child and leaves no zombie behind.
// Whether it started, and whether the browser opens the page, is deliberately not asked.
std::optional<OpenAddress> findOpener(std::u16string_view /*library*/, std::u16string_view name) {
    const QString path = QStandardPaths::findExecutable(toQString(name));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return [path](NativeHandle /*window*/, std::u16string_view address) {
        [[maybe_unused]] const bool started = QProcess::startDetached(path, {toQString(address)});
    };
}

void showBox(QMessageBox::Icon icon, std::u16string_view text) {
    // The active window is the program's own while one of its handlers runs.
    QMessageBox box(icon, QApplication::applicationName(), toQString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::WindowModal);
    // Some platform themes put a symbol on dialog buttons; this box shows none at all.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}

} // namespace

namespace platform {

Screen mainScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect work = screen->availableGeometry();
    return {{work.x(), work.y(), work.width(), work.height()}, screen->logicalDotsPerInch()};
}

void showMessageBox(std::u16string_view text) {
    showBox(QMessageBox::NoIcon, text);
}

void reportProgrammingError(std::u16string_view text) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        showBox(QMessageBox::Critical, text);
    }
}

NumberSymbols userNumberSymbols() {
    return numberSymbols(QLocale::system());
}

AddressOpener addressOpener() {
    // The freedesktop tool for the operation, and the package that brings it.
    return {u"xdg-utils", u"xdg-open", findOpener};
}

} // namespace platform

} // namespace rt
