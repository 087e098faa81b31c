// Long runs and hostile input through the real window and dispatcher, offscreen: nothing may
// grow, leak, crash or hang.

#include "runtime/message_box.h"
#include "runtime/qt/qt_text.h"
#include "tests/support/processes.h"
#include "tests/support/qt_test_form.h"
#include "window/form1.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

long residentKilobytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').front().toLong();
        }
    }
    return -1;
}

qsizetype openFileDescriptors() {
    return QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size();
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void manyCalculations();
    void manyLinkClicks();
    void hostileText_data();
    void hostileText();
    void millionCharacterPaste();

private:
    QLineEdit* field(const char* name) const {
        return m_form->textField(rt::toU16String(QString::fromLatin1(name)));
    }
    void calculate() { m_form->button(u"cmdCalculate")->click(); }

    std::unique_ptr<QtTestForm> m_form;
    std::unique_ptr<rt::ScopedMessagePresenter> m_recorder;
    QStringList m_shown; // the first ten reports
    int m_reports = 0;
};

void TestSoak::init() {
    m_shown.clear();
    m_reports = 0;
    m_recorder = std::make_unique<rt::ScopedMessagePresenter>([this](std::u16string_view text) {
        if (++m_reports <= 10) {
            m_shown << rt::toQString(text);
        }
    });
    m_form = std::make_unique<QtTestForm>(window::form1Description());
    window::wireForm1(m_form->engine);
    m_form->window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_form->window));
}

void TestSoak::cleanup() {
    m_form.reset();
    m_recorder.reset();
}

// 100,000 runs, every fifth ending in an error report.
void TestSoak::manyCalculations() {
    const auto round = [&](int i) {
        field("a")->setText(QString::number(i % 1000));
        field("e")->setText(i % 5 == 0 ? "not a number" : "2.5");
        calculate();
        if (i % 1000 == 0) {
            QApplication::processEvents(); // paints, as the event loop would
        }
    };
    for (const char* name : {"b", "c", "d", "f"}) {
        field(name)->setText("1");
    }
    for (int i = 0; i < 2000; ++i) { // warm-up: caches, fonts, first allocations
        round(i);
    }
    const long rss = residentKilobytes();
    const qsizetype objects = m_form->window.findChildren<QObject*>().size();
    const qsizetype fds = openFileDescriptors();
    m_reports = 0;
    for (int i = 0; i < 100'000; ++i) {
        round(i);
    }
    QCOMPARE(m_reports, 20'000);
    QCOMPARE(field("x")->text(), "-1.5"); // b·f − c·e = 1 − 2.5 after the last good run
    QCOMPARE(m_form->window.findChildren<QObject*>().size(), objects);
    QCOMPARE(openFileDescriptors(), fds);
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer holds freed memory in quarantine, so only a plain build can tell growth;
    // there LeakSanitizer stands in for this check.
    const long growth = residentKilobytes() - rss;
    QVERIFY2(growth <= 1024, qPrintable(QString("resident memory grew by %1 kB").arg(growth)));
#else
    Q_UNUSED(rss);
#endif
}

void TestSoak::manyLinkClicks() {
    QTemporaryDir bin;
    QFile opener(bin.filePath("xdg-open"));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nexit 0\n");
    opener.close();
    QVERIFY(opener.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ":/usr/bin:/bin");
    const QPoint link = m_form->controlGeometry(u"Label16").center();
    for (int i = 0; i < 1000; ++i) {
        QTest::mouseClick(m_form->window.windowHandle(), Qt::LeftButton, {}, link);
    }
    qputenv("PATH", oldPath);
    QVERIFY(m_shown.isEmpty());
    QCOMPARE(zombieChildren(), 0);
}

void TestSoak::hostileText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("report");
    const QString mismatch = "Type mismatch: field b holds \"%1\", which is not a number.";
    QTest::newRow("NUL characters")
        << QString::fromUtf16(u"1\u00002", 3) << mismatch.arg(QString::fromUtf16(u"1\uFFFD2"));
    QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) << mismatch.arg(QChar(0xD83D));
    QTest::newRow("lone low surrogate")
        << QString("5") + QChar(0xDC00) << mismatch.arg(QString("5") + QChar(0xDC00));
    QTest::newRow("right-to-left marks") << QString::fromUtf16(u"\u200F12\u200F")
                                         << mismatch.arg(QString::fromUtf16(u"\u200F12\u200F"));
    QTest::newRow("combining characters")
        << QString::fromUtf16(u"1\u03012") << mismatch.arg(QString::fromUtf16(u"1\u03012"));
    QTest::newRow("digits of another script")
        << QString::fromUtf16(u"\u0967\u0968") << mismatch.arg(QString::fromUtf16(u"\u0967\u0968"));
    QTest::newRow("emoji") << QString::fromUtf16(u"\U0001F600")
                           << mismatch.arg(QString::fromUtf16(u"\U0001F600"));
}

void TestSoak::hostileText() {
    QFETCH(QString, text);
    QFETCH(QString, report);
    field("b")->setText(text);
    calculate();
    QCOMPARE(m_shown, QStringList{report});
    QCOMPARE(field("b")->text(), text);
}

// A million characters pasted into a field: a result or a clear report, and the window goes on.
void TestSoak::millionCharacterPaste() {
    for (const char* name : {"a", "b", "c", "d", "e", "f"}) {
        field(name)->setText("1");
    }
    QApplication::clipboard()->setText(QString(1'000'000, u'7'));
    field("b")->setFocus();
    field("b")->selectAll();
    QTest::keyClick(field("b"), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field("b")->text().size(), 1'000'000);
    calculate();
    QCOMPARE(m_shown.size(), 1);
    QVERIFY(m_shown.front().startsWith("Overflow: field b holds \"7777777777"));
    QVERIFY(m_shown.front().size() < 200);

    QApplication::clipboard()->setText(QString(1'000'000, u'x'));
    field("b")->selectAll();
    QTest::keyClick(field("b"), Qt::Key_V, Qt::ControlModifier);
    calculate();
    QCOMPARE(m_shown.size(), 2);
    QVERIFY(m_shown.back().startsWith("Type mismatch: field b holds \"xxxxxxxxxx"));

    field("b")->setText("0." + QString(999'990, u'0') + "1");
    calculate();
    QCOMPARE(m_shown.size(), 2);
    QCOMPARE(field("x")->text(), "-1"); // b·f is tiny beside c·e = 1
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
