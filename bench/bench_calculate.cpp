// The Calculate command over a map of fields (conversions, arithmetic and writes), and one
// correctly rounded component on its own.

#include "calc/calculate.h"
#include "calc/exact_arithmetic.h"
#include "runtime/number_format.h"
#include "tests/support/map_fields.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

void calculateRun(benchmark::State& state) {
    const rt::NumberFormat format(QLocale(QLocale::English, QLocale::UnitedStates));
    MapFields fields{{"a", "1.5"}, {"b", "-2.25"}, {"c", "3e10"},
                     {"d", "4.125"}, {"e", "5"},   {"f", "-6.0625"}};
    for (auto _ : state) {
        calc::calculate(fields, format);
        fields.clearLog();
    }
    benchmark::DoNotOptimize(fields["z"]);
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
        benchmark::DoNotOptimize(calc::differenceOfProducts(values[i], values[i + 1],
                                                            values[i + 2], values[i + 3]));
        i = (i + 4) % values.size();
    }
}
BENCHMARK(oneComponent);

} // namespace

BENCHMARK_MAIN();
