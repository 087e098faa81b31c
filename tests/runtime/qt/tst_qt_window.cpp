// The Qt layer's primitives, on a small description of this test's own: widgets made where the
// layout says, field text, the focus moving in the layout's order, and the paint list drawn back
// to front. Keys and clicks reaching the engine are tst_form1's and tst_publisher_link's.

#include "runtime/qt/qt_text.h"
#include "tests/support/qt_test_form.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

constexpr rt::Rgb kRed = rt::rgb(0xFF, 0, 0);
constexpr rt::Rgb kGreen = rt::rgb(0, 0xFF, 0);
constexpr rt::FontStyle kFont{u"Arial", 12};

using rt::ControlKind;
// clang-format off
constexpr std::array<rt::ControlRecord, 6> kControls{{
    {u"go",    ControlKind::CommandButton, u"&Go",  1500, 1500, 1500, 450, 2, nullptr, {}, rt::kDefaultButton, {}},
    {u"out",   ControlKind::TextField,    u"",     1500,  750, 1500, 450, 0, nullptr, {}, rt::kLocked, u"output"},
    {u"in",    ControlKind::TextField,    u"",      150,  750, 1200, 450, 1, nullptr, {}, rt::kNoFlags, u"input"},
    {u"top",   ControlKind::Label,        u"top",   150,  150,  600, 300, 4, nullptr, {.back = kRed}, rt::kNoFlags, {}},
    {u"box",   ControlKind::Rectangle,    u"",      450,  150,  600, 300, rt::kNoTabStop, nullptr, {.back = kGreen, .border = kGreen}, rt::kNoFlags, {}},
    {u"under", ControlKind::Label,        u"under", 900,  150,  600, 300, 3, nullptr, {.back = kRed}, rt::kNoFlags, {}},
}};
// clang-format on
constexpr rt::FormDescription kDescription{
    {u"Demo", u"Demo", 4500, 3000, rt::rgb(255, 255, 255), kFont}, kControls};

} // namespace

class TestQtWindow : public QObject {
    Q_OBJECT

private slots:
    void buildsFromTheDescription();
    void tabOrderFollowsTheIndex();
    void firstRecordIsDrawnOnTop();
};

void TestQtWindow::buildsFromTheDescription() {
    QtTestForm form(kDescription);
    QCOMPARE(form.window.windowTitle(), "Demo");
    QCOMPARE(form.window.size(), QSize(300, 200));
    QCOMPARE(form.textField(u"in")->geometry(), QRect(10, 50, 80, 30));
    QVERIFY(form.textField(u"out")->isReadOnly());
    QCOMPARE(form.textField(u"in")->accessibleName(), "input");
    form.engine.setFieldText(u"in", u"hello");
    QVERIFY(form.engine.fieldText(u"in") == u"hello");
    QCOMPARE(form.textField(u"in")->text(), "hello");
    QCOMPARE(form.button(u"go")->text(), "&Go"); // Qt underlines the G
    QVERIFY(form.engine.nativeHandle() != 0);
}

void TestQtWindow::tabOrderFollowsTheIndex() {
    QtTestForm form(kDescription);
    form.window.show();
    QApplication::setActiveWindow(&form.window);
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    QStringList order; // index 0 comes first, not record 0
    for (int i = 0; i < 4; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, (QStringList{"out", "in", "go", "out"}));
}

void TestQtWindow::firstRecordIsDrawnOnTop() {
    QtTestForm form(kDescription);
    const QImage image = form.window.grab().toImage();
    // The box overlaps both labels: under "top" (listed before it), over "under" (after it).
    const QRect top = form.controlGeometry(u"top");
    const QRect under = form.controlGeometry(u"under");
    QCOMPARE(image.pixel(top.right() - 1, top.bottom() - 1), kRed);
    QCOMPARE(image.pixel(under.left() + 1, under.bottom() - 1), kGreen);
}

QTEST_MAIN(TestQtWindow)
#include "tst_qt_window.moc"
