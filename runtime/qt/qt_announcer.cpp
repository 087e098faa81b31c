#include "runtime/qt/qt_announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace rt {

namespace {

class NotificationAccessible final : public QAccessibleWidget {
public:
    explicit NotificationAccessible(QWidget* announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification) {}
};

QAccessibleInterface* notificationFor(const QString& className, QObject* object) {
    if (className == QLatin1String(QtAnnouncer::staticMetaObject.className())) {
        return new NotificationAccessible(static_cast<QtAnnouncer*>(object));
    }
    return nullptr;
}

} // namespace

QtAnnouncer::QtAnnouncer(QWidget* window)
    : QWidget(window) {
    [[maybe_unused]] static const bool factoryInstalled =
        (QAccessible::installFactory(notificationFor), true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
}

void QtAnnouncer::announce(const QString& text) {
    setAccessibleName(text);
    // Shown again even when the text repeats: the same result twice is heard twice.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace rt
