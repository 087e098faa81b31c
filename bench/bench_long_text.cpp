// Calculate when a field holds a million characters, through the real window and dispatcher
// (offscreen): from the click until the answer is on the window, repaint included. The answer
// is a report for a number too large or for text that is no number, and a result for a number
// written out to a millionth place. Target: well within 100 ms.

#include "runtime/form.h"
#include "runtime/message_box.h"
#include "window/form1.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kLength = 1'000'000;

void calculateWithLongField(benchmark::State& state, const QString& text, bool expectReport) {
    rt::Form form(window::form1Description());
    window::wireForm1(form);
    for (const char* name : {"a", "b", "c", "d", "e", "f"}) {
        form.setFieldText(QString::fromLatin1(name), QStringLiteral("1"));
    }
    form.setFieldText(u"b", text);
    form.show();
    QApplication::processEvents();

    int reports = 0;
    const rt::ScopedMessagePresenter recorder([&](const QString&) { ++reports; });
    QPushButton* calculate = form.button(u"cmdCalculate");
    for (auto _ : state) {
        form.setFieldText(u"x", {});
        calculate->click();
        form.textField(u"x")->repaint();
    }
    const bool reported = reports == state.iterations();
    const bool answered = expectReport ? reported : reports == 0 && !form.fieldText(u"x").isEmpty();
    if (!answered) {
        state.SkipWithError("Calculate gave no answer for the long field");
    }
}

void tooLarge(benchmark::State& state) {
    calculateWithLongField(state, QString(kLength, u'7'), true);
}

void notANumber(benchmark::State& state) {
    calculateWithLongField(state, QString(kLength, u'x'), true);
}

void longFraction(benchmark::State& state) {
    calculateWithLongField(state, "0." + QString(kLength - 3, u'0') + u'1', false);
}

BENCHMARK(tooLarge)->Unit(benchmark::kMillisecond);
BENCHMARK(notANumber)->Unit(benchmark::kMillisecond);
BENCHMARK(longFraction)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
