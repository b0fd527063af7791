// The SZDD compressed format of the DOS and Windows "compress" tools (LZSS
// with a 4096-byte window), as the Terrain tile set is distributed.
#pragma once

#include <QByteArray>

namespace zk::demo {

// The whole compressed file for `data`; `missing` is the last character of
// the original file name that the compressed name replaces with "_".
QByteArray szddcompress(const QByteArray &data, char missing = 'm');

}  // namespace zk::demo
