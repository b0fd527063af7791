#include "overlays.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/longop.h"
#include "base/routines.h"
#include "base/settings.h"
#include "paths.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/objectfiles.h"

namespace zk {

namespace {

// The label font of the settings at the picture's resolution. The Windows
// faces map to the ones the platform has.
QFont labelfont(const QWidget *box)
{
    const QString name = settings.drawfontname.trimmed();
    QFont f;
    const auto is = [&name](const char *face) { return name.compare(QLatin1String(face), Qt::CaseInsensitive) == 0; };
    if (name.isEmpty() || is("MS Sans Serif") || is("Small Fonts"))
        f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    else if (is("Courier New") || is("Fixedsys"))
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    else
        f = QFont(name);
    const double pt = settings.drawfontsize > 0 ? settings.drawfontsize : 8;
    const int dpi = box ? box->logicalDpiY() : 96;
    f.setPixelSize(int(std::max(1LL, roundEven(pt * dpi / 72.0))));
    f.setBold(settings.drawfontbold);
    f.setItalic(settings.drawfontitalic);
    // Pure colours, as on the original palette pictures.
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

// The entries of a folder that match the pattern, names compared without
// regard to case, in name order.
QStringList matching(const QString &folder, const QString &pattern)
{
    QDir dir(folder);
    QStringList out;
    for (const QString &e : dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System,
                                          QDir::Name | QDir::IgnoreCase))
        out.append(dir.filePath(e));
    return out;
}

// The sub-folders of a name, whatever their case (on a case-sensitive file
// system "W075" and "w075" may both exist: both are taken).
class FolderIndex {
public:
    QStringList children(const QString &parent, const QString &name)
    {
        if (parent.isEmpty()) return {};
        auto it = cache_.find(parent);
        if (it == cache_.end()) {
            QHash<QString, QStringList> names;
            QDir dir(parent);
            for (const QString &e : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                                  QDir::Name))
                names[e.toLower()].append(dir.filePath(e));
            it = cache_.insert(parent, names);
        }
        return it->value(name.toLower());
    }

private:
    QHash<QString, QHash<QString, QStringList>> cache_;
};

// What one track file draws, gathered as a coverage mask and put on the
// picture in one go: copy pen (the colour) or mask pen (picture AND colour).
// Both are idempotent, so gathering several segments before applying them
// gives what drawing them one by one gives.
class TrackLayer {
public:
    TrackLayer(QImage &target, uint32_t colour, bool maskpen)
        : target_(target), colour_(colour & 0xFFFFFF), maskpen_(maskpen),
          mask_(target.size(), QImage::Format_ARGB32_Premultiplied)
    {
        mask_.fill(Qt::transparent);
    }

    void line(QPoint a, QPoint b, double width)
    {
        QPainter p(&mask_);
        p.setRenderHint(QPainter::Antialiasing, false);
        QPen pen(Qt::white);
        if (width > 1) {
            pen.setWidthF(width);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
        } else {
            pen.setWidth(0);
        }
        p.setPen(pen);
        p.drawLine(a, b);
        const int m = int(std::ceil(std::max(1.0, width))) + 1;
        dirty_ |= QRect(a, b).normalized().adjusted(-m, -m, m, m);
    }

    void polygon(const std::vector<QPoint> &pts)
    {
        if (pts.size() < 3) return;
        QPainter p(&mask_);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(pts.data(), int(pts.size()), Qt::OddEvenFill);
        QRect r;
        for (const QPoint &q : pts) r |= QRect(q, QSize(1, 1));
        dirty_ |= r.adjusted(-1, -1, 1, 1);
    }

    // Puts what was gathered on the picture and starts again.
    void apply()
    {
        // The picture may have been resized while events ran.
        const QRect r = dirty_ & target_.rect() & mask_.rect();
        dirty_ = QRect();
        if (r.isEmpty()) return;
        const uint32_t c = 0xFF000000u | colour_;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto *m = reinterpret_cast<QRgb *>(mask_.scanLine(y));
            auto *d = reinterpret_cast<uint32_t *>(target_.scanLine(y));
            for (int x = r.left(); x <= r.right(); ++x) {
                if (qAlpha(m[x]) == 0) continue;
                d[x] = maskpen_ ? (d[x] & c) | 0xFF000000u : c;
                m[x] = 0;
            }
        }
    }

private:
    QImage &target_;
    uint32_t colour_;
    bool maskpen_;
    QImage mask_;
    QRect dirty_;
};

}  // namespace

void drawcities(frmPic *pic, bool keep, const QString &filename)
{
    if (!pic || !pic->Picture1) return;
    const bool cities = filename.left(6).toLower() == QLatin1String("cities");
    const QString path = cities ? paths::dataFile(filename) : filename;
    const auto lines = readobjectlines(path);
    if (!lines) return;

    const PicFrame frame = picframe(pic);
    PicBox *box = pic->Picture1;
    const QFont font = labelfont(box);
    const QFontMetrics fm(font);
    {
        QPainter p(&box->image());
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(font);
        // The first line is the header.
        for (qsizetype k = 1; k < lines->size(); ++k) {
            const auto l = parselabel(lines->at(k), cities, settings.drawtransparent);
            if (!l) continue;
            float x = 0, y = 0;
            if (!geotopix(frame, l->lon, l->lat, x, y)) continue;
            const QColor fore = qcolor(l->colour);
            const int ix = int(roundEven(x)), iy = int(roundEven(y));
            if (l->code != 4) {
                p.fillRect(ix - 2, iy, 5, 1, fore);
                p.fillRect(ix, iy - 2, 1, 5, fore);
            }
            const int w = fm.horizontalAdvance(l->text), h = fm.height();
            double tx = x, ty = y;
            switch (l->code) {
            case 1: ty -= h; break;
            case 2: ty -= h; tx -= w; break;
            case 3: tx -= w; break;
            case 4: ty -= h / 2.0; tx -= w / 2.0; break;
            default: break;
            }
            const int bx = int(roundEven(tx)), by = int(roundEven(ty));
            if (l->box) p.fillRect(bx, by, w + 1, h + 1, qcolor(l->boxcolour));
            p.setPen(fore);
            p.drawText(bx, by + fm.ascent(), l->text);
        }
    }
    box->refresh();
    if (keep) box->commit();
}

QStringList objectfiles(const frmPic *pic, const QString &pattern)
{
    QStringList out;
    if (!pic) return out;

    // The program's object folder: the per-user copy first, then the one
    // installed beside the program; a name found in the first hides the same
    // name in the second.
    QSet<QString> names;
    QSet<QString> folders;
    for (const QString &base : {paths::userFolder(), paths::programFolder()}) {
        const QString dir = paths::resolve(base + QStringLiteral("/object"));
        if (!QFileInfo(dir).isDir()) continue;
        const QString canon = QFileInfo(dir).canonicalFilePath();
        if (folders.contains(canon)) continue;
        folders.insert(canon);
        for (const QString &f : matching(dir, pattern)) {
            const QString key = QFileInfo(f).fileName().toLower();
            if (names.contains(key)) continue;
            names.insert(key);
            out.append(f);
        }
    }

    // The tile folders, whatever the case of their names.
    const PicFrame f = picframe(pic);
    // Only folders that exist are looked into, so a picture of the whole
    // Earth costs a listing per existing folder, not one per tile.
    const TileRanges tiles = coveredranges({f.lon1, f.lon2, f.lon3, f.lon4}, {f.lat1, f.lat2, f.lat3, f.lat4});
    if (tiles.lons.empty() || tiles.lats.empty()) return out;
    const QString root = paths::resolve(objectroot());
    if (!QFileInfo(root).isDir()) return out;
    FolderIndex index;
    QStringList lats;
    for (int y : tiles.lats) lats.append(latname(y));
    for (int x : tiles.lons)
        for (const QString &lonDir : index.children(root, lonname(x)))
            for (const QString &lat : lats)
                for (const QString &tileDir : index.children(lonDir, lat)) out.append(matching(tileDir, pattern));
    return out;
}

void drawobjects(frmPic *pic, const QString &pattern, bool fill)
{
    QPointer<frmPic> w = pic;
    if (!w) return;
    for (const QString &file : objectfiles(w, pattern)) {
        if (runflag <= 0 || !w) break;
        if (file.right(3).compare(QLatin1String("dat"), Qt::CaseInsensitive) == 0)
            drawcities(w, false, file);
        else
            drawtrackfile(w, file, fill);
        if (w) w->Picture1->refresh();
    }
}

void drawtrackfile(frmPic *pic, const QString &path, bool fill)
{
    QPointer<frmPic> w = pic;
    if (!w) return;
    const auto lines = readobjectlines(path);
    if (!lines) return;
    const auto track = readtrack(*lines);
    if (!track) return;

    const QString name = QFileInfo(path).fileName();
    const bool maskpen = name.size() >= 3 && name[2].toLower() == QLatin1Char('m');
    const PicFrame frame = picframe(w);
    const int W = w->Picture1->scaleWidth(), H = w->Picture1->scaleHeight();
    TrackLayer layer(w->Picture1->image(), track->colour, maskpen);

    // A pen wider than any picture draws nothing more.
    const double width = std::isfinite(track->width) ? std::clamp(track->width, 0.0, 4096.0) : 0.0;
    const auto &pts = track->points;
    const size_t N = pts.size();
    progtotal = float(N);
    double threshold = 0;
    std::vector<QPoint> polygon;
    bool anyinside = false, previnside = false;
    QPoint prev;
    size_t np = 0;
    bool stopped = false;
    for (size_t n = 1; n <= N; ++n) {
        if (double(n) / double(N) > threshold) {
            showprogress(double(n));
            threshold = double(n) / double(N) + 0.1;
            layer.apply();
            w->Picture1->refresh();
            QCoreApplication::processEvents();
            if (!w) return;
        }
        const TrackPoint &pt = pts[n - 1];
        float x = 0, y = 0;
        const bool inside = geotopix(frame, pt.lon, pt.lat, x, y);
        const double cx = std::clamp(double(x), -100.0, double(W) + 99);
        const double cy = std::clamp(double(y), -100.0, double(H) + 99);
        const QPoint here(int(roundEven(std::isfinite(cx) ? cx : -100.0)), int(roundEven(std::isfinite(cy) ? cy : -100.0)));
        if (fill) {
            if (pt.start || np == 0) {
                if (anyinside && np > 2) layer.polygon(polygon);
                anyinside = false;
                np = 0;
                polygon.clear();
            }
            polygon.push_back(here);
            if (inside) anyinside = true;
        } else {
            if (!(pt.start || np == 0) && (inside || previnside)) layer.line(prev, here, width);
            previnside = inside;
            prev = here;
        }
        ++np;
        if (runflag == 0) {
            stopped = true;
            break;
        }
    }
    if (fill && !stopped && runflag != 0 && anyinside && np > 2) layer.polygon(polygon);
    layer.apply();
    w->Picture1->refresh();
}

void mnuObjects_Click(int index)
{
    QPointer<frmPic> w = activepic();
    if (!w || w->windowTitle() == QLatin1String("Mappemonde") || (w->Pictype != 1 && w->Pictype != 2)) return;
    beginop(opdraw2d);
    for (int d = 0; d <= 9 && w; ++d) {
        if (index == 1 || index == 5) drawobjects(w, QStringLiteral("F%1*.plt").arg(d), true);
        if (w && (index == 2 || index == 5)) drawobjects(w, QStringLiteral("L%1*.plt").arg(d), false);
    }
    if (w && (index == 3 || index == 5)) {
        progtotal = 100;
        showprogress(99);
        drawobjects(w, QStringLiteral("*.dat"), false);
    }
    if (w && (index == 4 || index == 5)) {
        progtotal = 100;
        showprogress(99);
        drawcities(w, false, QStringLiteral("cities.dat"));
    }
    if (w && runflag != 0) keepinpic(w->Picture1, QStringLiteral("objects "));
    endop();
}

}  // namespace zk
