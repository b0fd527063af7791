// Windows-1252, the 8-bit text of every file, clipboard text and datagram the
// system writes ("°" is the one byte 0xB0).
#pragma once

#include <QByteArray>
#include <QString>

namespace zk {

// 8-bit text to a string; every byte maps to a character (the five holes of
// the code page map to U+0081 etc., as Windows does).
QString fromCp1252(const QByteArray &bytes);
QString fromCp1252(const char *bytes, qsizetype len);

// A string to 8-bit text; characters the code page lacks become '?'.
QByteArray toCp1252(const QString &text);

}  // namespace zk
