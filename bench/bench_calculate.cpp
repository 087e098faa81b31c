// The Calculate command over a map of fields (conversions, arithmetic and writes), and one
// correctly rounded component on its own.

#include "calc/calculate.h"
#include "calc/exact_arithmetic.h"
#include "runtime/number_format.h"

#include <array>
#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

// The fields in a plain array indexed by their letter, as cheap as a field store gets, so that
// what is measured is the command: its reads, conversions, arithmetic and writes.
class ArrayFields final : public calc::VectorFields {
public:
    ArrayFields(std::initializer_list<std::pair<char, QString>> texts) {
        for (const auto& [name, text] : texts) {
            m_texts[index(name)] = text;
        }
    }
    QString text(QStringView name) const override { return m_texts[index(name[0].toLatin1())]; }
    void setText(QStringView name, const QString& text) override {
        m_texts[index(name[0].toLatin1())] = text;
    }

private:
    static size_t index(char name) { return static_cast<size_t>(name - 'a') % 26; }
    std::array<QString, 26> m_texts;
};

void calculateRun(benchmark::State& state) {
    const rt::NumberFormat format(QLocale(QLocale::English, QLocale::UnitedStates));
    ArrayFields fields{{'a', "1.5"},   {'b', "-2.25"}, {'c', "3e10"},
                       {'d', "4.125"}, {'e', "5"},     {'f', "-6.0625"}};
    for (auto _ : state) {
        calc::calculate(fields, format);
    }
    benchmark::DoNotOptimize(fields.text(u"z"));
}
BENCHMARK(calculateRun);

void oneComponent(benchmark::State& state) {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> uniform(-1e6, 1e6);
    std::vector<double> values(4096);
    for (double& v : values) {
        v = uniform(random);
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            calc::differenceOfProducts(values[i], values[i + 1], values[i + 2], values[i + 3]));
        i = (i + 4) % values.size();
    }
}
BENCHMARK(oneComponent);

} // namespace

BENCHMARK_MAIN();
