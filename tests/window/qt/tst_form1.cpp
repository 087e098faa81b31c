// Melkora's window on the Qt layer, offscreen: the focus where the engine puts it, keys reaching
// the engine from every kind of widget, the locked result fields, the error reports and the real
// message box, the title painted over its bar, the layout on resize, and the end of the program.
// The window's rules themselves are the core's tests (tests/window/tst_form1_rules.cpp).

#include "runtime/message_box.h"
#include "runtime/qt/qt_text.h"
#include "tests/support/qt_test_form.h"
#include "window/form1.h"
#include "window/publisher.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QStringList kInputs{"a", "b", "c", "d", "e", "f"};
const QStringList kResults{"x", "y", "z"};

QColor pixel(const QImage& image, QPoint at) {
    return image.pixelColor(at);
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keys_data();
    void keys();
    void lockedFieldsRefuseEdits_data();
    void lockedFieldsRefuseEdits();
    void lockedFieldsAllowSelectAndCopy();
    void lockedFieldsRefuseDrops();
    void lockedFieldsLookLikeInputFields();
    void titleIsDrawnOverTheBar();
    void creditLineFitsItsBox();
    void layoutStaysOnResize();
    void realMessageBox();
    void closingEndsTheProgram();

private:
    QLineEdit* field(const QString& name) const { return m_form->textField(rt::toU16String(name)); }
    QPushButton* button() const { return m_form->button(u"cmdCalculate"); }
    QWidget* focused() const { return QApplication::focusWidget(); }
    void fillInputs() {
        const QStringList values{"1", "2", "3", "4", "5", "6"};
        for (int i = 0; i < 6; ++i) {
            field(kInputs[i])->setText(values[i]);
        }
    }
    bool calculated() const { return field("x")->text() == "-3"; }

    std::unique_ptr<QtTestForm> m_form;
    std::unique_ptr<rt::ScopedMessagePresenter> m_recorder;
    QStringList m_shown;
    std::function<void()> m_onShow;
};

void TestForm1::init() {
    m_shown.clear();
    m_onShow = nullptr;
    m_recorder = std::make_unique<rt::ScopedMessagePresenter>([this](std::u16string_view text) {
        m_shown << rt::toQString(text);
        if (m_onShow) {
            m_onShow();
        }
    });
    m_form = std::make_unique<QtTestForm>(window::form1Description());
    window::wireForm1(m_form->engine);
    m_form->window.show();
    QApplication::setActiveWindow(&m_form->window);
    QVERIFY(QTest::qWaitForWindowActive(&m_form->window));
}

void TestForm1::cleanup() {
    m_form.reset();
    m_recorder.reset();
}

void TestForm1::keys_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("calculates");
    const auto row = [](const QString& name, const QString& target, Qt::Key key,
                        Qt::KeyboardModifiers modifiers, bool calculates) {
        QTest::newRow(qPrintable(name)) << target << int(key) << int(modifiers) << calculates;
    };
    row("Enter in a", "a", Qt::Key_Return, {}, true);
    row("Enter in locked z", "z", Qt::Key_Return, {}, true);
    row("keypad Enter in locked y", "y", Qt::Key_Enter, Qt::KeypadModifier, true);
    row("Enter on the button", "cmdCalculate", Qt::Key_Return, {}, true);
    row("Space on the button", "cmdCalculate", Qt::Key_Space, {}, true);
    row("Alt+C in a", "a", Qt::Key_C, Qt::AltModifier, true);
    row("Alt+C in locked z", "z", Qt::Key_C, Qt::AltModifier, true);

    row("Escape in a", "a", Qt::Key_Escape, {}, false);
    row("Escape on the button", "cmdCalculate", Qt::Key_Escape, {}, false);
    row("Space in a", "a", Qt::Key_Space, {}, false);
    row("Tab in f", "f", Qt::Key_Tab, {}, false);
}

void TestForm1::keys() {
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, calculates);
    fillInputs();
    QWidget* widget = target == "cmdCalculate" ? static_cast<QWidget*>(button()) : field(target);
    widget->setFocus();
    // Through the window, as the platform delivers keys, so that shortcuts are matched.
    QTest::keyClick(m_form->window.windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    const QStringList results{field("x")->text(), field("y")->text(), field("z")->text()};
    QCOMPARE(results, calculates ? QStringList({"-3", "6", "-3"}) : QStringList({"", "", ""}));
    if (calculates) {
        QCOMPARE(focused(), widget); // running the command leaves the focus where it was
    }
    QVERIFY(m_form->window.isVisible());
    QVERIFY(m_shown.isEmpty());
}

void TestForm1::lockedFieldsRefuseEdits_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    for (const QString& name : kResults) {
        const auto row = [&](const char* what, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
            QTest::newRow(qPrintable(QString("%1 in %2").arg(what, name)))
                << name << int(key) << int(mods);
        };
        row("typing", Qt::Key_7);
        row("Backspace", Qt::Key_Backspace);
        row("Delete", Qt::Key_Delete);
        row("cut", Qt::Key_X, Qt::ControlModifier);
        row("paste", Qt::Key_V, Qt::ControlModifier);
        row("Shift+Insert paste", Qt::Key_Insert, Qt::ShiftModifier);
        row("undo", Qt::Key_Z, Qt::ControlModifier);
    }
}

void TestForm1::lockedFieldsRefuseEdits() {
    QFETCH(QString, name);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    fillInputs();
    QTest::keyClick(field("a"), Qt::Key_Return); // results the command wrote
    const QString before = field(name)->text();
    QApplication::clipboard()->setText("12345");
    field(name)->setFocus();
    field(name)->selectAll();
    QTest::keyClick(field(name), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(field(name)->text(), before);
    QCOMPARE(QApplication::clipboard()->text(), "12345"); // cut did not take the text away
}

void TestForm1::lockedFieldsAllowSelectAndCopy() {
    fillInputs();
    QTest::keyClick(field("a"), Qt::Key_Return);
    QTest::keyClick(field("a"), Qt::Key_Tab); // nothing else moves the focus from f to x
    field("y")->setFocus();
    QTest::keyClick(field("y"), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(field("y")->selectedText(), "6");
    QTest::keyClick(field("y"), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), "6");
}

void TestForm1::lockedFieldsRefuseDrops() {
    QMimeData data;
    data.setText("99");
    for (const QString& name : kResults) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(field(name), &enter);
        QVERIFY2(!enter.isAccepted(), qPrintable(name));
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(field(name), &drop);
        QVERIFY(field(name)->text().isEmpty());
    }
}

void TestForm1::lockedFieldsLookLikeInputFields() {
    // b and x have the same size; neither holds the focus.
    m_form->window.setFocus();
    field("c")->setFocus();
    QCOMPARE(field("b")->size(), field("x")->size());
    QCOMPARE(field("b")->grab().toImage(), field("x")->grab().toImage());
}

void TestForm1::titleIsDrawnOverTheBar() {
    const QImage image = m_form->window.grab().toImage();
    const QRect title = m_form->controlGeometry(u"Label26");
    int white = 0;
    int blue = 0;
    for (int y = title.top(); y <= title.bottom(); ++y) {
        for (int x = title.left(); x <= title.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            white += c == qRgb(255, 255, 255) ? 1 : 0;
            blue += c == qRgb(0x80, 0x80, 0xFF) ? 1 : 0;
        }
    }
    QVERIFY2(white > 30, "the title's white letters are not visible");
    QVERIFY(blue > white);
    // Beyond the label the bar is plain light blue.
    const QRect bar = m_form->controlGeometry(u"Shape4");
    QCOMPARE(pixel(image, {bar.right() - 10, bar.center().y()}), QColor(0x80, 0x80, 0xFF));
}

void TestForm1::creditLineFitsItsBox() {
    QFont font("Arial");
    font.setPointSizeF(12);
    font.setUnderline(true);
    const QFontMetrics metrics(font, &m_form->window);
    const QRect box = m_form->controlGeometry(u"Label16");
    QVERIFY(metrics.horizontalAdvance(rt::toQString(window::kCreditLine)) <= box.width());
    QVERIFY(metrics.height() <= box.height());
}

void TestForm1::layoutStaysOnResize() {
    const QRect before = field("a")->geometry();
    m_form->window.resize(1200, 900);
    QCOMPARE(field("a")->geometry(), before);
    const QImage image = m_form->window.grab().toImage();
    QCOMPARE(pixel(image, {1100, 800}), QColor(Qt::white));
    m_form->window.resize(100, 60); // no minimum size
    QCOMPARE(m_form->window.size(), QSize(100, 60));
}

// The box a user sees: the text, the program's name as title, no icon, an OK button alone,
// modal to the window; after OK the window goes on.
void TestForm1::realMessageBox() {
    m_recorder.reset();
    QApplication::setApplicationName("Melkora");
    QString text, title;
    QList<QAbstractButton*> buttons;
    bool modal = false;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        text = box->text();
        title = box->windowTitle();
        buttons = box->buttons();
        icon = box->icon();
        modal = box->isModal() && box->parentWidget() == &m_form->window;
        box->button(QMessageBox::Ok)->click();
    });
    QTest::keyClick(field("a"), Qt::Key_Return);
    QCOMPARE(text, "Type mismatch: field b is empty. Please type a number into it.");
    QCOMPARE(title, "Melkora");
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(icon, QMessageBox::NoIcon);
    QVERIFY(modal);
    QVERIFY(m_form->window.isVisible());
    // The field keeps the window's focus, to have it back when the window is active again.
    QCOMPARE(m_form->window.focusWidget(), field("a"));
}

// The event loop that run() starts ends when the window is closed, with nothing asked.
void TestForm1::closingEndsTheProgram() {
    QTimer::singleShot(0, &m_form->window, [this] { m_form->window.close(); });
    QTimer::singleShot(5000, qApp, [] { QApplication::exit(1); }); // a safety net, never a pass
    QCOMPARE(m_form->engine.run(), std::optional<int>(0));
    QVERIFY(m_form->window.isHidden());
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
