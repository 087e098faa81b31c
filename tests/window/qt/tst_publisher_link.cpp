// The credit label as a link, against a fake xdg-open on PATH that records how it was called.

#include "runtime/message_box.h"
#include "runtime/qt/qt_text.h"
#include "tests/support/qt_test_form.h"
#include "window/form1.h"
#include "window/publisher.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Each call appends "start <argc> [arg]..." and, once done, "end". Told to hold, it records its
// process id and sleeps in its place (so that killing that id ends it) instead of finishing.
constexpr char kRecordingOpener[] = R"(#!/bin/sh
printf 'start %s' "$#" >>"$MELKORA_OPENER_LOG"
for a in "$@"; do printf ' [%s]' "$a" >>"$MELKORA_OPENER_LOG"; done
printf '\n' >>"$MELKORA_OPENER_LOG"
if [ -n "$MELKORA_OPENER_HOLD" ]; then
    echo $$ >"$MELKORA_OPENER_HOLD"
    exec sleep 60
fi
echo end >>"$MELKORA_OPENER_LOG"
exit ${MELKORA_OPENER_STATUS:-0}
)";

} // namespace

class TestPublisherLink : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void oneClickOneRequest();
    void doubleClickOneRequest();
    void returnsWhileTheOpenerRuns();
    void missingOpenerIsReportedAndLookedForAgain();
    void failingRequestIsSilent();
    void labelLooksLikeTextNotAControl();

private:
    void installOpener() {
        QFile file(m_bin.filePath("xdg-open"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kRecordingOpener);
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    void click(std::u16string_view control, bool twice = false) {
        const QPoint at = m_form->controlGeometry(control).center();
        // Through the window, as the platform delivers them: a double-click is press, release,
        // press (made a double-click by its timing), release. Qt Test spaces separate clicks
        // in time, so that they never make a double-click by accident.
        if (twice) {
            QTest::mouseDClick(m_form->window.windowHandle(), Qt::LeftButton, {}, at);
        } else {
            QTest::mouseClick(m_form->window.windowHandle(), Qt::LeftButton, {}, at);
        }
    }
    QStringList log(const char* prefix = "start") const {
        QFile file(m_log);
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts).filter(prefix);
    }
    // The detached opener finishes in its own time; wait until it has written `count` lines.
    bool waitForRequests(int count, const char* prefix = "end") const {
        return QTest::qWaitFor([&] { return log(prefix).size() >= count; }, 10000);
    }

    QTemporaryDir m_bin;
    QString m_log;
    QByteArray m_oldPath;
    std::unique_ptr<QtTestForm> m_form;
    std::unique_ptr<rt::ScopedMessagePresenter> m_recorder;
    QStringList m_shown;
};

void TestPublisherLink::init() {
    m_bin.remove();
    m_bin = QTemporaryDir();
    m_log = m_bin.filePath("requests.log");
    m_oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_bin.path()) + ":/usr/bin:/bin");
    qputenv("MELKORA_OPENER_LOG", QFile::encodeName(m_log));
    qunsetenv("MELKORA_OPENER_HOLD");
    qunsetenv("MELKORA_OPENER_STATUS");
    m_shown.clear();
    m_recorder = std::make_unique<rt::ScopedMessagePresenter>(
        [this](std::u16string_view text) { m_shown << rt::toQString(text); });
    m_form = std::make_unique<QtTestForm>(window::form1Description());
    window::wireForm1(m_form->engine);
    m_form->window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_form->window));
}

void TestPublisherLink::cleanup() {
    m_form.reset();
    m_recorder.reset();
    qputenv("PATH", m_oldPath);
}

void TestPublisherLink::oneClickOneRequest() {
    installOpener();
    click(u"Label16");
    QVERIFY(waitForRequests(1));
    QCOMPARE(log(), QStringList{"start 1 [http://www.melkora.org/]"});
    QVERIFY(m_shown.isEmpty());
}

void TestPublisherLink::doubleClickOneRequest() {
    installOpener();
    click(u"Label16", true);
    QVERIFY(waitForRequests(1));
    QTest::qWait(300); // a second request would have been started by now
    QCOMPARE(log().size(), 1);
}

void TestPublisherLink::returnsWhileTheOpenerRuns() {
    installOpener();
    const QString hold = m_bin.filePath("hold.pid");
    qputenv("MELKORA_OPENER_HOLD", QFile::encodeName(hold));
    click(u"Label16");
    // The click has returned; the opener has started and is still sleeping.
    QVERIFY(waitForRequests(1, "start"));
    QVERIFY(QTest::qWaitFor([&] { return QFile::exists(hold); }, 10000));
    QVERIFY(log("end").isEmpty());
    QFile pid(hold);
    QVERIFY(pid.open(QIODevice::ReadOnly));
    QProcess::execute("kill", {QString::fromLatin1(pid.readAll().trimmed())});
}

void TestPublisherLink::missingOpenerIsReportedAndLookedForAgain() {
    qputenv("PATH", QFile::encodeName(m_bin.path())); // nothing on it
    click(u"Label16");
    QCOMPARE(m_shown, QStringList{"Function not found: xdg-open could not be found. It comes with "
                                  "xdg-utils; please install xdg-utils."});
    click(u"Label16");
    QCOMPARE(m_shown.size(), 2); // nothing was bound by the failure
    installOpener();
    click(u"Label16");
    QVERIFY(waitForRequests(1));
    QCOMPARE(m_shown.size(), 2);
}

void TestPublisherLink::failingRequestIsSilent() {
    installOpener();
    qputenv("MELKORA_OPENER_STATUS", "4"); // xdg-open's "the action failed"
    m_form->textField(u"a")->setText("1");
    const QImage before = m_form->window.grab().toImage();
    click(u"Label16");
    QVERIFY(waitForRequests(1));
    QTest::qWait(100);
    QVERIFY(m_shown.isEmpty());
    QCOMPARE(m_form->textField(u"a")->text(), "1");
    QCOMPARE(m_form->window.grab().toImage(), before);
}

void TestPublisherLink::labelLooksLikeTextNotAControl() {
    QCOMPARE(m_form->window.cursor().shape(), Qt::ArrowCursor);
    const QWidget* focus = m_form->window.focusWidget();
    click(u"Label16");
    QCOMPARE(m_form->window.focusWidget(), focus);
}

QTEST_MAIN(TestPublisherLink)
#include "tst_publisher_link.moc"
