#pragma once

// The oracle's case file for this run of the core's tests, named on the command line:
//
//   melkora_core_tests [GoogleTest's options] <oracle case file>

#include "tests/support/oracle_cases.h"

namespace oraclefiles {

// The cases, read at the first call; empty when no file was named or it could not be read.
const oracle::Cases& cases();

} // namespace oraclefiles
