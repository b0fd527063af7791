// Small routines every part of the program uses.
#pragma once

#include <QString>

class QLineEdit;

namespace zk {

// The smaller / larger of two numbers; on equal values both answer the
// second argument, with its own type.
template <typename A, typename B>
constexpr auto min(A a, B b) -> std::common_type_t<A, B>
{
    return a < b ? std::common_type_t<A, B>(a) : std::common_type_t<A, B>(b);
}
template <typename A, typename B>
constexpr auto max(A a, B b) -> std::common_type_t<A, B>
{
    return a > b ? std::common_type_t<A, B>(a) : std::common_type_t<A, B>(b);
}

// Folder part of a path up to and including its last separator ("\", "/" or
// ":"), or "" for a bare name or a path ending in a separator.
QString pathof(const QString &p);
// File part after the last separator, or "" for a path ending in one.
QString fileof(const QString &p);

// The box's text as a number (user's locale; text that does not convert
// counts as 0) clamped to low..high; the text turns red when out of range
// and black otherwise. Never throws, never changes the text.
double checkrange(double low, double high, QLineEdit *box);
// The conversion checkrange uses, for code that has only the text.
double localeValue(const QString &text);

// The temporary folder (private to the session), ending with "/", or "".
QString temppath();

// Rounding to the nearest integer with halves to the even one; a value that
// is not a number gives 0, one beyond the 64-bit range the nearest end.
long long roundEven(double v);

}  // namespace zk
