// libFuzzer target: any bytes as a path file. The reader must stay within
// its bounds, and whatever it accepts must draw, reverse and place the
// cursor without a fault.
#include <QBuffer>
#include <QImage>

#include <cstdint>

#include "pathviewer/cursor.h"
#include "pathviewer/pathfile.h"
#include "pathviewer/profile.h"
#include "pathviewer/reverse.h"

using namespace zk::pathviewer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QBuffer buf;
    buf.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    buf.open(QIODevice::ReadOnly);
    const PathFileData d = readPathFile(buf);
    if (d.samples < 0 || d.samples > kSamples || d.messages < 0) __builtin_trap();
    if (!d.redraw) return 0;

    PathState s;
    for (int k = 1; k <= 2; ++k) {
        if (d.hasName[size_t(k)]) s.sitename[size_t(k)] = d.sitename[size_t(k)];
        if (d.hasAnt[size_t(k)]) s.siteant[size_t(k)] = d.siteant[size_t(k)];
    }
    if (d.hasFreq) s.pathfreq = d.freq;
    if (d.hasK) s.kfactor = d.kfactor;
    s.pdist = d.pdist;
    s.palt = d.palt;
    s.pcode = d.pcode;
    s.pcover = d.pcover;
    s.curveground = size & 1;
    s.fresnelopt = {true, true, true, true};

    constexpr int W = 120, H = 80;
    QImage img(W, H, QImage::Format_RGB32);
    for (int pass = 0; pass < 2; ++pass) {
        Geometry g;
        if (computeProfile(s, int(size % 7) + 1, W, H, g)) {
            img.fill(0);
            paintBackground(img, s, g);
            paintOverlays(img, s, g);
            (void)siteCaption(s, 1);
            (void)siteCaption(s, 2);
            (void)propagationCaption(s, g);
            s.cursorpos = cursorTarget(s, float(s.mincleardist), cursorDistance, W);
            if (s.cursorpos >= 1 && s.cursorpos <= kSamples) {
                (void)readoutCaption(s, s.cursorpos);
                (void)readoutAltitude(s, s.cursorpos);
            }
            s.cursorpos = cursorTarget(s, 1, cursorStep, W);
            s.cursorpos = cursorTarget(s, float(W / 2), cursorPixel, W);
        }
        reversePath(s);
    }
    return 0;
}
