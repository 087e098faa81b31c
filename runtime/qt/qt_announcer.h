#pragma once

// A polite announcement for screen readers on Linux, for a text that appears in a control
// without the focus. Orca 43 speaks such a text only from an object with the notification role
// that becomes showing; Qt 6.4 has no announcement of its own, and Orca 43 does not listen for
// AT-SPI's. So the announcer is that object: a 1 x 1 child that draws nothing, takes no focus
// and no click, and is shown again to AT-SPI, with the text as its name, for each announcement.

#include <QWidget>

namespace rt {

class QtAnnouncer final : public QWidget {
    // Qt asks accessible factories by class name, when the object is first asked for: the class
    // needs a name of its own.
    Q_OBJECT

public:
    explicit QtAnnouncer(QWidget* window);
    void announce(const QString& text);
};

} // namespace rt
