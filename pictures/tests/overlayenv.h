// Shared by the overlay tests: running the independent tools (gpsbabel,
// GDAL), reading what gpsbabel makes of a track file, writing files, and
// reading picture pixels as 0xBBGGRR.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>

#include <vector>

namespace zktest {

inline bool haveTool(const char *tool) { return !QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(); }

inline bool run(const QString &program, const QStringList &args, QByteArray *out = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000)) return false;
    if (out) *out = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
        return false;
    }
    return true;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return f.readAll();
}

// A point as gpsbabel reports it: degrees and, when the file gave one, the
// elevation in metres.
struct GpsPoint {
    double lat = 0, lon = 0;
    bool hasEle = false;
    double ele_m = 0;
};
using GpsTrack = std::vector<GpsPoint>;

// The tracks gpsbabel reads from an OziExplorer track file (each point of
// code 1 starts a track), through its GPX output.
inline bool gpsbabelTracks(const QString &plt, std::vector<GpsTrack> &tracks)
{
    QByteArray gpx;
    if (!run(QStringLiteral("gpsbabel"),
             {QStringLiteral("-t"), QStringLiteral("-i"), QStringLiteral("ozi"), QStringLiteral("-f"), plt,
              QStringLiteral("-o"), QStringLiteral("gpx"), QStringLiteral("-F"), QStringLiteral("-")},
             &gpx))
        return false;
    tracks.clear();
    QXmlStreamReader x(gpx);
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("trk")) tracks.emplace_back();
        if (x.isStartElement() && x.name() == QLatin1String("trkpt") && !tracks.empty()) {
            GpsPoint p;
            p.lat = x.attributes().value(QLatin1String("lat")).toDouble();
            p.lon = x.attributes().value(QLatin1String("lon")).toDouble();
            tracks.back().push_back(p);
        }
        if (x.isStartElement() && x.name() == QLatin1String("ele") && !tracks.empty() && !tracks.back().empty()) {
            tracks.back().back().hasEle = true;
            tracks.back().back().ele_m = x.readElementText().toDouble();
        }
    }
    return !x.hasError();
}

// Picture pixel as 0xBBGGRR.
inline uint32_t rgbAt(const QImage &img, int x, int y)
{
    return reinterpret_cast<const uint32_t *>(img.constScanLine(y))[x] & 0xFFFFFFu;
}

// A picture of one colour (0xBBGGRR) in the engine's format.
inline QImage solid(int w, int h, uint32_t c)
{
    QImage img(w, h, QImage::Format_RGBX8888);
    img.fill(QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
    return img;
}

// The rectangle of the pixels that differ between two pictures of one size.
inline QRect changed(const QImage &a, const QImage &b)
{
    QRect r;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (rgbAt(a, x, y) != rgbAt(b, x, y)) r |= QRect(x, y, 1, 1);
    return r;
}

// How many pixels of the rectangle have the colour.
inline int count(const QImage &img, const QRect &r, uint32_t c)
{
    int n = 0;
    const QRect in = r & img.rect();
    for (int y = in.top(); y <= in.bottom(); ++y)
        for (int x = in.left(); x <= in.right(); ++x)
            if (rgbAt(img, x, y) == c) ++n;
    return n;
}

}  // namespace zktest
