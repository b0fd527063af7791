#include "adrg.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/longop.h"
#include "base/routines.h"
#include "base/settings.h"
#include "cp1252.h"
#include "engine.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/frmPic.h"
#include "pictures/picfiles.h"
#include "qtdc.h"

namespace zk {

QString adrgname;
float adrglon = 0;
float adrglat = 0;
double adrgdx = 0;
double adrgdy = 0;
int16_t adrgrows = 0;
int16_t adrgcols = 0;
std::vector<int16_t> adrgtiles(1, 0);
int32_t adrgx0 = 0;
int32_t adrgy0 = 0;
int16_t adrgvar = 0;

namespace {

const QString kNoChart = QStringLiteral("ADRG non detecté");

// The description files are a few kilobytes; a wrong file costs no more than this.
constexpr qint64 kMaxDescriptionBytes = 16 * 1024 * 1024;

std::optional<QByteArray> readsmall(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("%1 : %2").arg(path, f.errorString());
        return std::nullopt;
    }
    const QByteArray b = f.read(kMaxDescriptionBytes + 1);
    if (b.size() > kMaxDescriptionBytes) {
        if (error) *error = QStringLiteral("%1 : fichier trop grand").arg(path);
        return std::nullopt;
    }
    return b;
}

// `len` bytes at `pos`, or nothing when the file ends before.
std::optional<QByteArray> field(const QByteArray &b, qsizetype pos, qsizetype len)
{
    if (pos < 0 || len < 0 || pos > b.size() - len) return std::nullopt;
    return b.mid(pos, len);
}

// A count written in decimal digits (blanks around it allowed).
std::optional<double> wholecount(const QByteArray &text)
{
    const QByteArray t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    for (char c : t)
        if (c < '0' || c > '9') return std::nullopt;
    return t.toDouble();
}

double plain(const QByteArray &text)
{
    const double v = leadingNumber(QString::fromLatin1(text));
    return std::isfinite(v) ? v : 0.0;
}

// The position after the next byte 30 from `pos`; nothing when a byte 0 or
// the end of the file comes first.
std::optional<qsizetype> pastterminator(const QByteArray &b, qsizetype pos)
{
    for (qsizetype i = std::max<qsizetype>(pos, 0); i < b.size(); ++i) {
        if (b[i] == 30) return i + 1;
        if (b[i] == 0) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::optional<qsizetype> adrgmarker(const QByteArray &bytes, const char *marker)
{
    const qsizetype len = qsizetype(std::strlen(marker));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == 0) return std::nullopt;
        if (c == 30 && i + 1 <= bytes.size() - len && std::memcmp(bytes.constData() + i + 1, marker, size_t(len)) == 0)
            return i + 1;
    }
    return std::nullopt;
}

float adrgposition(const QByteArray &text)
{
    const qsizetype n = text.size();
    if (n < 8) return 0;
    const double deg = plain(text.mid(1, n - 8));
    const double min = plain(text.mid(n - 7, 2));
    const double sec = plain(text.mid(n - 5, 5));
    const double v = deg + (min + sec / 60) / 60;
    return float(text.startsWith('-') ? -v : v);
}

std::optional<AdrgGeneral> readadrggen(const QByteArray &b, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error) *error = why;
        return std::nullopt;
    };
    const auto g = adrgmarker(b, "GIN01");
    if (!g) return fail(QStringLiteral("marqueur GIN01 absent du fichier d'information générale"));
    const qsizetype G = *g;
    const auto a = field(b, G + 136, 8), bb = field(b, G + 144, 8), lon = field(b, G + 152, 11),
               lat = field(b, G + 163, 10), rows = field(b, G + 262, 3), cols = field(b, G + 265, 3),
               image = field(b, G + 285, 12), flag = field(b, G + 297, 1);
    if (!a || !bb || !lon || !lat || !rows || !cols || !image || !flag)
        return fail(QStringLiteral("fichier d'information générale tronqué"));

    AdrgGeneral out;
    const auto A = wholecount(*a), B = wholecount(*bb);
    if (!A || !B || !(*A > 0) || !(*B > 0))
        return fail(QStringLiteral("échelle nulle ou illisible (%1, %2)")
                        .arg(QString::fromLatin1(*a).trimmed(), QString::fromLatin1(*bb).trimmed()));
    out.dx = *A / 360;
    out.dy = *B / 360;
    out.lon = adrgposition(*lon);
    out.lat = adrgposition(*lat);
    if (!(std::fabs(out.lon) <= 360) || !(std::fabs(out.lat) <= 90))
        return fail(QStringLiteral("origine de la carte hors de la Terre (%1, %2)")
                        .arg(QString::fromLatin1(*lon), QString::fromLatin1(*lat)));
    out.rows = int16_t(roundEven(std::min(std::max(plain(*rows), 1.0), 999.0)));
    out.cols = int16_t(roundEven(std::min(std::max(plain(*cols), 1.0), 999.0)));
    out.image = *image;
    out.table = *flag != "N";

    const size_t count = size_t(out.rows) * size_t(out.cols);
    out.tiles.assign(count, 0);
    if (out.table) {
        auto p = pastterminator(b, G + 285);
        if (p) p = pastterminator(b, *p);
        if (!p) return fail(QStringLiteral("table des tuiles absente"));
        qsizetype pos = *p;
        for (int r = 0; r < out.rows; ++r) {
            for (int c = 0; c < out.cols; ++c, pos += 5) {
                const auto e = field(b, pos, 5);
                if (!e) return fail(QStringLiteral("table des tuiles tronquée"));
                // Checked before rounding: 32767.5 rounds (halves to even) to
                // 32768, and an entry such as "9e300" fits no integer at all.
                // Zero and below name no tile.
                const double v = plain(*e);
                if (!(v < 32767.5))
                    return fail(QStringLiteral("numéro de tuile %1 hors limites").arg(QString::fromLatin1(*e).trimmed()));
                const long long t = v > 0 ? roundEven(v) : 0;
                out.tiles[size_t(c) + size_t(r) * size_t(out.cols)] = int16_t(t);
            }
        }
    } else {
        if (count > 32767) return fail(QStringLiteral("plus de 32767 tuiles"));
        for (size_t k = 0; k < count; ++k) out.tiles[k] = int16_t(k + 1);
    }
    return out;
}

QString adrgroot(const QString &drive) { return paths::dataRoot(drive.trimmed()); }

QString readadrg(QString *error)
{
    if (error) error->clear();
    adrgname = kNoChart;
    const auto fail = [error](const QString &why) {
        if (error) *error = why;
        return QString();
    };
    const QString root = adrgroot(settings.adrgdrive);
    const QString thf = paths::resolve(root + QStringLiteral("transh01.thf"));
    if (!QFileInfo(thf).isFile()) return QString();

    QString why;
    const auto head = readsmall(thf, &why);
    if (!head) return fail(why);
    const auto v = adrgmarker(*head, "VTH01");
    if (!v) return fail(QStringLiteral("marqueur VTH01 absent de ") + thf);
    const auto name = field(*head, *v + 213, 16), folder = field(*head, *v + 245, 8);
    if (!name || !folder) return fail(QStringLiteral("en-tête de transmission tronqué : ") + thf);
    adrgname = fromCp1252(*name);
    // Windows drops the trailing blanks of a file name; so do we.
    const QString n8 = fromCp1252(*folder).trimmed();

    const QString gen = paths::resolve(root + n8 + QLatin1Char('/') + n8 + QStringLiteral(".gen"));
    if (n8.isEmpty() || !QFileInfo(gen).isFile())
        return fail(QStringLiteral("fichier d'information générale introuvable : ") + gen);
    const auto genbytes = readsmall(gen, &why);
    if (!genbytes) return fail(why);
    auto g = readadrggen(*genbytes, &why);
    if (!g) return fail(why + QStringLiteral(" : ") + gen);

    const QString image = paths::resolve(root + n8 + QLatin1Char('/') + fromCp1252(g->image).trimmed());
    const QFileInfo info(image);
    if (!info.isFile()) return fail(QStringLiteral("fichier image introuvable : ") + image);
    const int64_t present = info.size() >= kAdrgHeaderBytes ? (info.size() - kAdrgHeaderBytes) / kAdrgTileBytes : 0;
    const int16_t highest = g->tiles.empty() ? 0 : *std::max_element(g->tiles.begin(), g->tiles.end());
    if (highest > present)
        return fail(QStringLiteral("la tuile %1 dépasse la fin du fichier image (%2 tuiles) : ")
                        .arg(highest)
                        .arg(present) +
                    image);

    adrgdx = g->dx;
    adrgdy = g->dy;
    adrglon = g->lon;
    adrglat = g->lat;
    adrgrows = g->rows;
    adrgcols = g->cols;
    adrgtiles = std::move(g->tiles);
    return image;
}

namespace {

enum class Placed { Done, Stopped, Gone, Refused };

// Places the chart's tiles over the picture. Rows and columns outside the
// chart's tile grid mark the picture incomplete; only positions inside it
// are visited, so an extreme scale costs no more than the chart's tiles.
Placed placetiles(QPointer<frmPic> &w, const QString &path, double dlon, double dlat, int64_t &count,
                  bool &incomplete, QString &why)
{
    PicBox *box = w->Picture1;
    const int W = box->scaleWidth(), H = box->scaleHeight();
    // The corners are the centres of the corner pixels: W - 1 steps across.
    const double sx = dlon / std::max(W - 1, 1) * adrgdx;
    const double sy = dlat / std::max(H - 1, 1) * adrgdy;
    const double tw = 128 / sx, th = 128 / sy;
    // The engine places a tile with 16-bit positions.
    if (!(tw > 0 && tw <= 32767 && th > 0 && th <= 32767)) {
        why = QStringLiteral("échelle aberrante : une tuile couvrirait %1 x %2 pixels de l'image")
                  .arg(tw, 0, 'g', 6)
                  .arg(th, 0, 'g', 6);
        return Placed::Refused;
    }
    const double x0 = (double(mapcorners.lon[0]) - adrglon) * adrgdx / sx;
    const double y0 = (adrglat - double(mapcorners.lat[0])) * adrgdy / sy;
    if (!(std::fabs(x0) < 1e9 && std::fabs(y0) < 1e9)) {
        // So far from the chart that no tile can reach the picture.
        incomplete = true;
        return Placed::Done;
    }
    adrgx0 = int32_t(roundEven(x0));
    adrgy0 = int32_t(roundEven(y0));

    // Row ty0's top edge is at ytop (0 or above the picture); rows down to
    // the last one whose top lies above the picture's bottom.
    const double fy = adrgy0 / th, fx = adrgx0 / tw;
    const double ty0 = std::floor(fy), tx0 = std::floor(fx);
    const double ytop = -double(roundEven((fy - ty0) * th)), xleft = -double(roundEven((fx - tx0) * tw));
    const double tyL = ty0 + std::ceil((H - ytop) / th) - 1, txL = tx0 + std::ceil((W - xleft) / tw) - 1;
    const double rfirst = std::max(ty0, 0.0), rlast = std::min(tyL, double(adrgrows) - 1);
    const double cfirst = std::max(tx0, 0.0), clast = std::min(txL, double(adrgcols) - 1);
    if (ty0 < 0 || tyL > adrgrows - 1) incomplete = true;
    if (rfirst > rlast) return Placed::Done;
    if (tx0 < 0 || txL > adrgcols - 1) incomplete = true;
    if (cfirst > clast) return Placed::Done;

    const QByteArray file = QFile::encodeName(path);
    const int bw = int(std::ceil(tw)) + 1, bh = int(std::ceil(th)) + 1;
    for (int ty = int(rfirst); ty <= int(rlast); ++ty) {
        for (int tx = int(cfirst); tx <= int(clast); ++tx) {
            const int16_t t = adrgtiles[size_t(tx) + size_t(ty) * size_t(adrgcols)];
            if (t > 0) {
                const int px = int(roundEven(xleft + (tx - tx0) * tw));
                const int py = int(roundEven(ytop + (ty - ty0) * th));
                const QRect tile(px, py, bw, bh);
                const QRect vis = tile & QRect(0, 0, W, H);
                if (!vis.isEmpty()) {
                    // A clear work image: pixels the engine leaves (pure black
                    // chart pixels) keep what the picture shows there, not what
                    // the previous tile left in the work box.
                    QImage work(vis.size(), kDcFormat);
                    std::memset(work.bits(), 0, size_t(work.sizeInBytes()));
                    ZkDC dc = dcOf(work);
                    engine::getadrg(file.constData(), &dc, int16_t(t - 1), int16_t(px - vis.left()),
                                    int16_t(py - vis.top()), float(sy), float(sx));
                    if (!w) return Placed::Gone;
                    QImage &img = w->Picture1->image();
                    if (img.size() == QSize(W, H)) {
                        for (int j = 0; j < vis.height(); ++j) {
                            const auto *s = reinterpret_cast<const uint32_t *>(work.constScanLine(j));
                            auto *d = reinterpret_cast<uint32_t *>(img.scanLine(vis.top() + j)) + vis.left();
                            for (int i = 0; i < vis.width(); ++i)
                                if (s[i] >> 24) d[i] = s[i];
                        }
                    }
                }
                ++count;
            }
            showprogress(tw * double(count) * th);
            QCoreApplication::processEvents();
            if (!w) return Placed::Gone;
            if (runflag == 0) return Placed::Stopped;
        }
        w->Picture1->refresh();
    }
    return Placed::Done;
}

}  // namespace

frmPic *openadrg(QWidget *frm)
{
    // 1. The window.
    QPointer<frmPic> w = qobject_cast<frmPic *>(frm);
    if (!w) {
        openpicture(QString(), -1);
        w = activepic();
    }
    if (!w) return nullptr;

    // 2. A name for a window without one.
    if (w->Filename.isEmpty()) {
        ++adrgvar;
        w->Filename = QStringLiteral("ADRG%1.bmp").arg(adrgvar);
        w->setWindowTitle(w->Filename);
    }

    // 3-4. The picture box, empty and one pixel a grid cell.
    curpic = w;
    w->Picture1->setEnabled(false);
    w->Line1->hide();
    w->Line2->hide();
    w->Shape2->hide();
    w->Picture1->resetPicture();
    w->Picture1->setBoxSize(elevgrid.ubound1() + 1, elevgrid.ubound2() + 1);
    arrangepic(w);

    // 5. The operation.
    beginop(opadrg);
    QCoreApplication::processEvents();

    int64_t count = 0;
    bool stopped = false;
    if (w) {
        // 6. The map's frame.
        const double dlon = double(mapcorners.lon[1]) - mapcorners.lon[0];
        const double dlat = double(mapcorners.lat[1]) - mapcorners.lat[2];
        setpiccorners(w, mapcorners.lon, mapcorners.lat);
        w->Pictype = 1;
        w->source = QStringLiteral("Image ADRG ");

        bool incomplete = false;
        bool named = false;
        QString previous;
        for (;;) {
            // 7-9. One pass with the disc in the drive.
            QString why;
            const QString path = readadrg(&why);
            if (!why.isEmpty()) {
                msgbox(QStringLiteral("Carte ADRG refusée :\r\n") + why, mbOK | mbExclamation);
                incomplete = true;
            } else if (path.isEmpty()) {
                incomplete = true;
            } else {
                if (!named || adrgname != previous) {
                    w->source += adrgname.trimmed() + QLatin1Char(' ');
                    previous = adrgname;
                    named = true;
                }
                const Placed r = placetiles(w, path, dlon, dlat, count, incomplete, why);
                if (r == Placed::Gone) break;
                if (r == Placed::Stopped) {
                    stopped = true;
                    break;
                }
                if (r == Placed::Refused) {
                    msgbox(QStringLiteral("Carte ADRG refusée :\r\n") + why, mbOK | mbExclamation);
                    incomplete = true;
                }
            }
            if (!w) break;
            // 10. Another disc?
            if (!incomplete) break;
            if (msgbox(QStringLiteral("Image incomplète, essayer avec un autre disque?"), mbYesNo | mbExclamation) !=
                idYes)
                break;
            if (!w) break;
        }

        // 11. The chart becomes the picture.
        if (w && !stopped && runflag != 0) {
            w->Picture1->refresh();
            w->Picture1->commit();
            w->Picture1->setEnabled(true);
        }
    }

    // 12. Finishing.
    if (w) w->Picture3->setBoxSize(10, 10);
    adrgtiles.assign(1, 0);
    endop();
    return w;
}

}  // namespace zk
