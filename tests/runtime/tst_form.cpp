// The runtime's windows, on a small description of this test's own: controls found by name,
// field text, the tab order by index, the default button, label clicks through the dispatcher,
// and the stacking of what is drawn.

#include "runtime/error.h"
#include "runtime/form.h"
#include "runtime/message_box.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

constexpr QRgb kRed = qRgb(0xFF, 0, 0);
constexpr QRgb kGreen = qRgb(0, 0xFF, 0);
constexpr rt::FontSpec kFont{"Arial", 12};

using rt::ControlKind;
// clang-format off
constexpr std::array<rt::ControlRecord, 6> kControls{{
    {"go",     ControlKind::CommandButton, "&Go",  1500, 1500, 1500, 450, 2, nullptr, {}, rt::kDefaultButton, nullptr},
    {"out",    ControlKind::TextField,     "",     1500,  750, 1500, 450, 0, nullptr, {}, rt::kLocked, "output"},
    {"in",     ControlKind::TextField,     "",      150,  750, 1200, 450, 1, nullptr, {}, rt::kNoFlags, "input"},
    {"top",    ControlKind::Label,         "top",   150,  150,  600, 300, 4, nullptr, {.back = kRed}, rt::kNoFlags, nullptr},
    {"box",    ControlKind::Rectangle,     "",      450,  150,  600, 300, rt::kNoTabStop, nullptr, {.back = kGreen, .border = kGreen}, rt::kNoFlags, nullptr},
    {"under",  ControlKind::Label,         "under", 900,  150,  600, 300, 3, nullptr, {.back = kRed}, rt::kNoFlags, nullptr},
}};
// clang-format on
constexpr rt::FormDescription kDescription{{"Demo", "Demo", 4500, 3000, qRgb(255, 255, 255), kFont},
                                           kControls};

} // namespace

class TestForm : public QObject {
    Q_OBJECT

private slots:
    void buildsFromTheDescription();
    void tabOrderFollowsTheIndex();
    void enterPressesTheDefaultButton();
    void labelClicksAreDispatched();
    void firstRecordIsDrawnOnTop();
};

void TestForm::buildsFromTheDescription() {
    rt::Form form(kDescription);
    QCOMPARE(form.windowTitle(), "Demo");
    QCOMPARE(form.size(), QSize(300, 200));
    QCOMPARE(form.textField(u"in")->geometry(), QRect(10, 50, 80, 30));
    QVERIFY(form.textField(u"out")->isReadOnly());
    QCOMPARE(form.textField(u"in")->accessibleName(), "input");
    form.setFieldText(u"in", "hello");
    QCOMPARE(form.fieldText(u"in"), "hello");
    QCOMPARE(form.textField(u"in")->text(), "hello");
    QCOMPARE(form.button(u"go")->text(), "&Go");
    QVERIFY(form.nativeHandle() != 0);
}

void TestForm::tabOrderFollowsTheIndex() {
    rt::Form form(kDescription);
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QStringList order; // index 0 comes first, not record 0
    for (int i = 0; i < 4; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, (QStringList{"out", "in", "go", "out"}));
}

void TestForm::enterPressesTheDefaultButton() {
    rt::Form form(kDescription);
    int presses = 0;
    form.onClick(u"go", [&] { ++presses; });
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClick(form.textField(u"in"), Qt::Key_Return);
    QTest::keyClick(form.textField(u"out"), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(presses, 2);
}

void TestForm::labelClicksAreDispatched() {
    QStringList shown;
    const rt::ScopedMessagePresenter recorder([&](const QString& text) { shown << text; });
    rt::Form form(kDescription);
    int clicks = 0;
    form.onClick(u"under", [&] {
        ++clicks;
        rt::raiseOverflow(u"out");
    });
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, form.controlGeometry(u"under").center());
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, form.controlGeometry(u"top").center());
    QCOMPARE(clicks, 1);
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.front().startsWith("Overflow"));
}

void TestForm::firstRecordIsDrawnOnTop() {
    rt::Form form(kDescription);
    const QImage image = form.grab().toImage();
    // The box overlaps both labels: under "top" (listed before it), over "under" (after it).
    const QRect top = form.controlGeometry(u"top");
    const QRect under = form.controlGeometry(u"under");
    QCOMPARE(image.pixel(top.right() - 1, top.bottom() - 1), kRed);
    QCOMPARE(image.pixel(under.left() + 1, under.bottom() - 1), kGreen);
}

QTEST_MAIN(TestForm)
#include "tst_form.moc"
