#pragma once

#include "runtime/number_format.h"

#include <QLocale>

namespace rt {

// The number symbols `locale` writes numbers with.
NumberSymbols numberSymbols(const QLocale& locale);

} // namespace rt
