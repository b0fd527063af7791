// Small arithmetic helpers of the ITM routines: FORTRAN's DIM, the
// minimum and maximum as the reference writes them, a NaN-safe index
// conversion and the squared modulus of a complex value.
#pragma once

#include <complex>

#include "frame.h"

namespace zk::itm {

// x - y when x is greater than y, else 0 (FORTRAN DIM).
inline double fdim(double x, double y) { return x > y ? x - y : 0.0; }
inline double dmin(double a, double b) { return a < b ? a : b; }
inline double dmax(double a, double b) { return a > b ? a : b; }
inline int imin(int a, int b) { return a < b ? a : b; }
inline int imax(int a, int b) { return a > b ? a : b; }

// Truncation toward zero that stays defined for NaN and huge values.
inline int toInt(double v) { return zk::engine::trunc32(v); }

inline double cabs2(std::complex<double> z) { return z.real() * z.real() + z.imag() * z.imag(); }

}  // namespace zk::itm
