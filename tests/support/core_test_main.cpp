// The core's test program, the same on every target. GoogleTest takes its own options first;
// what is left is the path of the oracle's case file.

#include "tests/support/oracle_files.h"
#include "tests/support/recording_platform.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string casesPath;

// Every test starts on a fresh platform: default symbols, a shell that can be bound.
class FreshPlatform : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& /*test*/) override { recording::reset(); }
};

} // namespace

namespace oraclefiles {

const oracle::Cases& cases() {
    static const oracle::Cases loaded = oracle::readCases(casesPath);
    return loaded;
}

} // namespace oraclefiles

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fputs("usage: melkora_core_tests [GoogleTest options] <oracle case file>\n", stderr);
        return 2;
    }
    casesPath = argv[1];
    testing::UnitTest::GetInstance()->listeners().Append(new FreshPlatform);
    return RUN_ALL_TESTS();
}
