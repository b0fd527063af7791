// libFuzzer target: a picture file with its calibration file, opened as the
// program opens a picture. The input is the first byte (the kind asked for:
// 0..3, and whether the calibration is a picture calibration "dat" or an
// ADRG one "adr"), the picture's bytes, the line "\nZKCAL\n", and the
// calibration's bytes. Pictures whose header announces more than 512 x 512
// pixels are replaced by no picture (Qt's decoders are not under test and
// the program's own limit is far above what one input may cost). The window
// must open whatever the files hold, with the corners the calibration gave
// when it was taken.
#include <QBuffer>
#include <QImageReader>

#include <cstdint>
#include <cstring>

#include "fuzzenv.h"
#include "pictures/calibration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1) return 0;
    const QString dir = fuzzenv::folder();
    fuzzenv::testmap();
    const int kind = data[0] & 3;
    const bool adr = (data[0] & 4) != 0;
    const QByteArray rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    static const QByteArray kSep("\nZKCAL\n");
    const qsizetype at = rest.indexOf(kSep);
    QByteArray pic = at < 0 ? rest : rest.left(at);
    const QByteArray cal = at < 0 ? QByteArray() : rest.mid(at + kSep.size());
    {
        QBuffer b(&pic);
        b.open(QIODevice::ReadOnly);
        QImageReader r(&b);
        r.setDecideFormatFromContent(true);
        const QSize s = r.size();
        if (s.isValid() && qint64(s.width()) * s.height() > 512 * 512) pic.clear();
    }

    const QString name = dir + QStringLiteral("/fuzz.bmp");
    const QString other = dir + (adr ? QStringLiteral("/fuzz.dat") : QStringLiteral("/fuzz.adr"));
    QFile::remove(other);
    fuzzenv::writefile(name, pic.constData(), size_t(pic.size()));
    fuzzenv::writefile(dir + (adr ? QStringLiteral("/fuzz.adr") : QStringLiteral("/fuzz.dat")), cal.constData(),
                       size_t(cal.size()));

    const auto expected = adr ? zk::readAdrCalibration(cal) : zk::readPicCalibration(cal);
    zk::frmPic *w = zk::openpicture(name, kind);
    if (!w) __builtin_trap();  // the file is there
    if (expected) {
        const float lon[4] = {w->lon1, w->lon2, w->lon3, w->lon4}, lat[4] = {w->lat1, w->lat2, w->lat3, w->lat4};
        for (size_t k = 0; k < 4; ++k)
            if (std::memcmp(&lon[k], &expected->lon[k], 4) != 0 || std::memcmp(&lat[k], &expected->lat[k], 4) != 0)
                __builtin_trap();
    }
    w->hide();
    QCoreApplication::processEvents();
    return 0;
}
