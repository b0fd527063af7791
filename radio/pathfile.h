// The path file: one radio path handed to the path viewer Zelpathfr, as
// 8-bit text with CR LF line ends: 13 header lines, "Start", the two sites
// with their antenna heights, the frequency in GHz, the earth-radius factor
// K, then one TAB-separated line per profile sample (distance in km,
// ground elevation in m, ground-cover code and height, always 0 here).
#pragma once

#include <QByteArray>
#include <QString>

namespace zk {

// A number as a text file item in its general form: up to 15 significant
// digits, no 0 before the decimal separator between -1 and 1, the user's
// decimal separator, one blank before a value that is not negative and one
// blank after it.
QString generalitem(double v);

// The path file's bytes for the link from unit a to unit b (1..50) in
// network net (0 or less: none), with the profile sampled again and lrprm as
// the link's analysis left it. Empty when the profile has 2 intervals or
// fewer (no file is written then).
QByteArray pathfiletext(int a, int b, int net);

// Writes the path file `file`, then analyses the link again (linkreport),
// also when the file could not be written. Answers whether the file was
// written whole: false for a profile too short for the viewer (nothing
// written, the link not redrawn) and for a file that cannot be created or
// written (an existing file is then left as it was).
bool writepath(const QString &file, int a, int b, int net);

}  // namespace zk
