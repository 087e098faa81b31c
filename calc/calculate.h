#pragma once

// The Calculate command: the cross product of (a, b, c) and (d, e, f), written into x, y, z.
//
//   x = b·f − c·e      y = c·d − a·f      z = a·e − b·d
//
// The components are done in that order, and each one is finished, its field written, before
// the next reads anything. Each reads and converts its four fields afresh, in the order of the
// formula (for x: b, f, c, e), so where a run stops on bad input depends on which field is bad:
// a bad b, c, e or f stops it at x with nothing written, a bad a or d lets x be written first.
// A product, or the difference, beyond the range of a double stops it with an overflow. Errors
// are raised, not caught: they end the command and reach the dispatcher.
//
// The numbers are exact (runtime/rational.h), and so is each component: first product minus
// second, rounded nowhere; it is written exactly where a short text holds it, else as the
// double nearest it (runtime/number_format.h).
//
// When all three results read back as zero, the inputs were parallel as typed (or one of them
// zero), or the components too small for a double; the command says so in a message box.

#include "calc/vector_fields.h"
#include "runtime/number_format.h"

namespace calc {

void calculate(VectorFields& fields, const rt::NumberFormat& format);

inline constexpr char16_t kParallelNotice[] = u"they are parallel!!";

} // namespace calc
