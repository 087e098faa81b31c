#pragma once

namespace calc {

// a·b − c·d rounded once, to the nearest double (ties to even), as if the products and the
// difference were computed exactly. Infinite when that value lies beyond the range of a double;
// a subnormal or zero when it is too small. The inputs must be finite.
//
// Computed the naive way, each product is rounded before the subtraction, and the result can be
// plainly wrong: (100000001·100000001 − 100000000·100000000) comes out as 200000000, not
// 200000001.
double differenceOfProducts(double a, double b, double c, double d);

} // namespace calc
