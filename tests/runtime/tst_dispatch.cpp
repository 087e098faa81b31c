// Event dispatch and its reports, binding by name, and the conversion from twips.

#include "runtime/binding.h"
#include "runtime/dispatcher.h"
#include "runtime/message_box.h"
#include "runtime/narrow_text.h"
#include "runtime/twips.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Counts live instances, to see that an error releases what the handler held.
struct Tracked {
    static inline int live = 0;
    Tracked() { ++live; }
    ~Tracked() { --live; }
    Tracked(const Tracked&) = delete;
    Tracked& operator=(const Tracked&) = delete;
};

} // namespace

class TestDispatch : public QObject {
    Q_OBJECT

private slots:
    void reports_data();
    void reports();
    void dispatchReportsAndGoesOn();
    void dispatchReleasesTemporaries();
    void dispatchIsSilentOnSuccess();
    void bindingCachesOnlySuccess();
    void findProgramOnPath();
    void twipsToPixels_data();
    void twipsToPixels();
    void narrowText();
};

void TestDispatch::reports_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char* name, rt::ErrorKind kind, QString subject, QString text,
                        QString expected) {
        QTest::newRow(name) << int(kind) << subject << text << expected;
    };
    using K = rt::ErrorKind;
    row("type mismatch names field and text", K::TypeMismatch, "b", "abc",
        "Type mismatch: field b holds \"abc\", which is not a number.");
    row("type mismatch on an empty field", K::TypeMismatch, "b", "",
        "Type mismatch: field b is empty. Please type a number into it.");
    row("type mismatch on a blank field", K::TypeMismatch, "e", "   ",
        "Type mismatch: field e is empty. Please type a number into it.");
    row("long text is cut short", K::TypeMismatch, "a", QString(1'000'000, u'7') + "x",
        "Type mismatch: field a holds \"" + QString(40, u'7') + u'\u2026' +
            "\", which is not a number.");
    row("control characters are made visible", K::TypeMismatch, "a",
        QString::fromUtf16(u"1\u00002\n", 4),
        QString::fromUtf16(
            u"Type mismatch: field a holds \"1\uFFFD2\uFFFD\", which is not a number."));
    row("overflow of a text", K::Overflow, "c", "1e400",
        "Overflow: field c holds \"1e400\", which is too large for a number this program can "
        "hold.");
    row("overflow of a result", K::Overflow, "x", "",
        "Overflow: the result for x is too large for a number this program can hold.");
}

void TestDispatch::reports() {
    QFETCH(int, kind);
    QFETCH(QString, subject);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(rt::reportText(rt::Error(rt::ErrorKind(kind), subject, text)), expected);
}

void TestDispatch::dispatchReportsAndGoesOn() {
    QStringList shown;
    const rt::ScopedMessagePresenter recorder([&](const QString& text) { shown << text; });
    int ran = 0;
    rt::dispatch([&] {
        ++ran;
        rt::raiseFunctionNotFound(u"xdg-utils", u"xdg-open");
    });
    rt::dispatch([&] { ++ran; });
    QCOMPARE(ran, 2);
    QCOMPARE(shown, QStringList{"Function not found: xdg-open could not be found. It comes with "
                                "xdg-utils; please install xdg-utils."});
}

void TestDispatch::dispatchReleasesTemporaries() {
    const rt::ScopedMessagePresenter recorder([](const QString&) {});
    rt::dispatch([] {
        const Tracked held;
        const auto alsoHeld = std::make_unique<Tracked>();
        QCOMPARE(Tracked::live, 2);
        rt::raiseOverflow(u"x");
    });
    QCOMPARE(Tracked::live, 0);
}

void TestDispatch::dispatchIsSilentOnSuccess() {
    QStringList shown;
    const rt::ScopedMessagePresenter recorder([&](const QString& text) { shown << text; });
    rt::dispatch([] {});
    QVERIFY(shown.isEmpty());
}

void TestDispatch::bindingCachesOnlySuccess() {
    int lookups = 0;
    bool available = false;
    rt::Binding<int> binding("libdemo", "demo", [&](const QString& library, const QString& name) {
        ++lookups;
        [&] {
            QCOMPARE(library, "libdemo");
            QCOMPARE(name, "demo");
        }();
        return available ? std::optional(42) : std::nullopt;
    });
    QVERIFY(!binding.isBound());
    for (int attempt = 1; attempt <= 2; ++attempt) {
        try {
            binding.get();
            QFAIL("bound to nothing");
        } catch (const rt::Error& error) {
            QCOMPARE(error.kind(), rt::ErrorKind::FunctionNotFound);
            QCOMPARE(error.subject(), "demo");
            QCOMPARE(error.detail(), "libdemo");
        }
        QVERIFY(!binding.isBound());
        QCOMPARE(lookups, attempt); // a failure is never remembered
    }
    available = true;
    QCOMPARE(binding.get(), 42);
    QCOMPARE(binding.get(), 42);
    QCOMPARE(lookups, 3); // a success is
    QVERIFY(binding.isBound());
}

void TestDispatch::findProgramOnPath() {
    QTemporaryDir dir;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()));
    QCOMPARE(rt::findProgram("pkg", "melkora-test-tool"), std::nullopt);
    QFile tool(dir.filePath("melkora-test-tool"));
    QVERIFY(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\n");
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    QCOMPARE(rt::findProgram("pkg", "melkora-test-tool"), std::optional(tool.fileName()));
    qputenv("PATH", oldPath);
}

void TestDispatch::twipsToPixels_data() {
    QTest::addColumn<double>("dpi");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("96 dpi: 15 twips a pixel")
        << 96.0 << QRect(480, 1080, 975, 735) << QRect(32, 72, 65, 49);
    QTest::newRow("96 dpi: client area")
        << 96.0 << QRect(0, 0, 10200, 5565) << QRect(0, 0, 680, 371);
    QTest::newRow("144 dpi: 10 twips a pixel")
        << 144.0 << QRect(480, 1080, 975, 735) << QRect(48, 108, 98, 74);
    QTest::newRow("144 dpi: client area")
        << 144.0 << QRect(0, 0, 10200, 5565) << QRect(0, 0, 1020, 557);
    QTest::newRow("192 dpi") << 192.0 << QRect(6360, 2280, 2895, 615) << QRect(848, 304, 386, 82);
}

void TestDispatch::twipsToPixels() {
    QFETCH(double, dpi);
    QFETCH(QRect, twips);
    QFETCH(QRect, pixels);
    QCOMPARE(rt::twipsToPixels(twips, dpi), pixels);
    // Boxes that touch in twips touch in pixels.
    const QRect next(twips.left() + twips.width(), twips.top(), 255, twips.height());
    QCOMPARE(rt::twipsToPixels(next, dpi).left(), pixels.left() + pixels.width());
}

void TestDispatch::narrowText() {
    QCOMPARE(rt::toNarrowText(u"http://example.org/"), QByteArray("http://example.org/"));
}

QTEST_APPLESS_MAIN(TestDispatch)
#include "tst_dispatch.moc"
