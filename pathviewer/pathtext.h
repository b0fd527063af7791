// Numbers as the path file holds them and as the viewer's captions show them.
#pragma once

#include <QString>
#include <QStringView>

namespace zk::pathviewer {

// Reads a number written by the main program: blanks around it, an optional
// sign, digits with at most one decimal separator, either "." or "," (a file
// may come from a machine with the other regional setting; the writer never
// groups digits), an optional exponent. Anything else, an empty text, and a
// value out of double range are not numbers: returns false and leaves `out`.
bool parseNumber(QStringView text, double &out);

// The same, then made single precision as the viewer stores it; false also
// when the value does not fit a single.
bool parseSingle(QStringView text, float &out);

// A format mask such as "0000.0" or "0.000": the value rounded to `decimals`
// decimals, halves away from zero, with at least `intDigits` integer digits
// (leading zeros), the user's decimal separator, "-" for a negative value
// that does not round to zero. `significant` is the precision the value is
// taken at first (7 for a single, 15 for a double), so that a single such as
// 12.25 is seen as the 12.25 it shows and not as its binary neighbour.
QString formatMask(double value, int intDigits, int decimals, int significant);

}  // namespace zk::pathviewer
