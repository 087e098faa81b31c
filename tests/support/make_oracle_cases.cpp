// Writes the oracle's case file (oracle_cases.h) for the core's tests on every target:
//
//   make_oracle_cases <file>
//
// A tenth of each arithmetic category of the full MPFR run, and random decimal texts.

#include "tests/support/case_generators.h"
#include "tests/support/mpfr_oracle.h"
#include "tests/support/oracle_cases.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: make_oracle_cases <file>\n", stderr);
        return 2;
    }
    oracle::Cases cases;
    const auto& categories = cases::categories();
    for (size_t i = 0; i < categories.size(); ++i) {
        cases.categories.emplace_back(categories[i].name);
        cases::Random random(500 + i);
        for (int n = 0; n < categories[i].count / 10; ++n) {
            const auto [a, b, c, d] = cases::finiteCase(categories[i], random);
            cases.arithmetic.push_back(
                {static_cast<int>(i), a, b, c, d, oracle::differenceOfProducts(a, b, c, d)});
        }
    }
    cases::Random random(2880);
    for (int n = 0; n < 20'000; ++n) {
        std::string text = cases::decimalText(random, n);
        const double exact = oracle::decimalToDouble(text);
        cases.decimal.push_back({std::move(text), exact});
    }
    if (!oracle::writeCases(argv[1], cases)) {
        std::fprintf(stderr, "make_oracle_cases: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
