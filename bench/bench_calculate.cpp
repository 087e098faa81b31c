// The Calculate command over a map of fields (conversions, exact arithmetic and writes), on
// decimals, integers, and fractions with long decimals. Built for every target, with nothing but the
// standard library, so that the Windows build is timed by the same code (under Wine the
// figures are indicative only).
//
//   melkora_bench [--indicative]
//
// Exits 1 when a figure misses its target, unless told the figures are indicative.

#include "bench/statistics.h"
#include "calc/calculate.h"
#include "runtime/number_format.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The fields in a plain array indexed by their letter, as cheap as a field store gets, so that
// what is measured is the command: its reads, conversions, arithmetic and writes.
class ArrayFields final : public calc::VectorFields {
public:
    ArrayFields(std::initializer_list<std::pair<char, std::u16string>> texts) {
        for (const auto& [name, text] : texts) {
            m_texts[index(static_cast<char16_t>(name))] = text;
        }
    }
    std::u16string text(std::u16string_view name) const override { return m_texts[index(name[0])]; }
    void setText(std::u16string_view name, std::u16string_view text) override {
        m_texts[index(name[0])] = text;
    }
    // What the window would hand its screen reader, composed as for the window.
    void announce(std::u16string_view text) override { m_announced = text.size(); }

private:
    std::size_t m_announced = 0;
    static size_t index(char16_t name) { return static_cast<size_t>(name - u'a') % 26; }
    std::array<std::u16string, 26> m_texts;
};

// Nanoseconds per call of `run(n)` doing n operations: the median of 15 batches, each long
// enough (about 20 ms) for the clock's resolution not to matter.
template <typename Run> double nanosecondsPerOperation(Run run) {
    long long operations = 1;
    for (;;) {
        const auto start = Clock::now();
        run(operations);
        if (Clock::now() - start > std::chrono::milliseconds(20)) {
            break;
        }
        operations *= 2;
    }
    std::vector<double> samples;
    for (int batch = 0; batch < 15; ++batch) {
        const auto start = Clock::now();
        run(operations);
        const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
        samples.push_back(elapsed.count() / static_cast<double>(operations));
    }
    return bench::median(samples);
}

volatile double sink; // keeps the compiler from dropping what is computed

using Texts = std::initializer_list<std::pair<char, std::u16string>>;

double calculateRun(Texts texts) {
    const rt::NumberFormat format{rt::NumberSymbols{}};
    ArrayFields fields(texts);
    return nanosecondsPerOperation([&](long long runs) {
        for (long long i = 0; i < runs; ++i) {
            calc::calculate(fields, format);
        }
        sink = static_cast<double>(fields.text(u"z").size());
    });
}

} // namespace

int main(int argc, char* argv[]) {
    const bool indicative = argc == 2 && std::string_view(argv[1]) == "--indicative";
    struct Figure {
        const char* name;
        double nanoseconds;
        double target;
    };
    const Figure figures[] = {
        {"a whole Calculate run",
         calculateRun({{'a', u"1.5"}, {'b', u"-2.25"}, {'c', u"3e10"}, {'d', u"4.125"}, {'e', u"5"},
                       {'f', u"-6.0625"}}),
         2000},
        {"Calculate, six integers",
         calculateRun({{'a', u"12"}, {'b', u"-345"}, {'c', u"6789"}, {'d', u"-10"}, {'e', u"111"},
                       {'f', u"2024"}}),
         2000},
        // Every component a fraction only, from operands a double could not hold.
        {"Calculate, fractions and 17-digit decimals",
         calculateRun({{'a', u"1/3"}, {'b', u"-2.5/7"}, {'c', u"0.12345678901234567"},
                       {'d', u"-5/11"}, {'e', u"98765432109876543e-5"}, {'f', u"13/17"}}),
         10000},
    };
    bool missed = false;
    for (const Figure& figure : figures) {
        const bool met = figure.nanoseconds <= figure.target;
        std::printf("%-34s %9.1f ns   target %6.0f ns   %s\n", figure.name, figure.nanoseconds,
                    figure.target,
                    met          ? "met"
                    : indicative ? "missed (indicative)"
                                 : "MISSED");
        missed = missed || !met;
    }
    return missed && !indicative ? 1 : 0;
}
