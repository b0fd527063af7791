#include "expandfile.h"

#include <QFile>
#include <QFileInfo>

#include <mspack.h>

#include <memory>

#include "paths.h"

namespace zk {

namespace {

struct SzddDeleter {
    void operator()(msszdd_decompressor *d) const { mspack_destroy_szdd_decompressor(d); }
};

// An SZDD stream codes 8 bytes in at least 9 (all literals) and its header
// takes 14: anything longer than that bound cannot expand to `bytes`.
qint64 largestSource(qint64 bytes) { return bytes + bytes / 8 + 64; }

}  // namespace

bool expandfile(const QString &srcFolder, const QString &dstFolder, const QString &srcName, const QString &dstName,
                qint64 expectedBytes)
{
    const QString src = paths::resolve(srcFolder + srcName);
    const QString dst = dstFolder + dstName;
    if (dstFolder.isEmpty() || !QFileInfo(src).isFile()) return false;
    QFile::remove(dst);
    const qint64 srcSize = QFileInfo(src).size();
    if (expectedBytes > 0 && srcSize > largestSource(expectedBytes)) return false;

    std::unique_ptr<msszdd_decompressor, SzddDeleter> szdd(mspack_create_szdd_decompressor(nullptr));
    if (!szdd) return false;
    const QByteArray srcName8 = QFile::encodeName(src);
    const QByteArray dstName8 = QFile::encodeName(dst);

    bool ok = false;
    if (msszddd_header *h = szdd->open(szdd.get(), srcName8.constData())) {
        if (expectedBytes <= 0 || h->length == expectedBytes)
            ok = szdd->extract(szdd.get(), h, dstName8.constData()) == MSPACK_ERR_OK;
        szdd->close(szdd.get(), h);
    } else if (szdd->last_error(szdd.get()) == MSPACK_ERR_SIGNATURE) {
        // Not compressed: the file itself is the tile.
        ok = (expectedBytes <= 0 || srcSize == expectedBytes) && QFile::copy(src, dst);
    }
    if (ok && expectedBytes > 0) ok = QFileInfo(dst).size() == expectedBytes;
    if (!ok) QFile::remove(dst);
    return ok;
}

}  // namespace zk
