// Expansion of a compressed file (SZDD, the format of the DOS and Windows
// "compress" tools) into a folder, as the Terrain tiles need it.
#pragma once

#include <QString>

namespace zk {

// Expands srcFolder + srcName into dstFolder + dstName (replacing it) and
// answers true when the whole file was written. A file that is not
// compressed is copied as it is, as the Windows expansion functions do.
// With expectedBytes > 0 only a file that expands to exactly that many bytes
// is accepted (anything else leaves no destination file), and a source far
// too large for it is refused before any work.
bool expandfile(const QString &srcFolder, const QString &dstFolder, const QString &srcName, const QString &dstName,
                qint64 expectedBytes = -1);

}  // namespace zk
