#include "cursor.h"

#include <cmath>

#include "base/routines.h"
#include "pathtext.h"

namespace zk::pathviewer {

int16_t cursorTarget(const PathState &s, float x, int mode, int W)
{
    if (mode == cursorStep) {
        const double want = double(s.cursorpos) + x;
        if (!std::isfinite(want)) return s.cursorpos;
        const long long c = max(1LL, min(200LL, roundEven(max(-1.0, min(1000.0, want)))));
        // The cursor stops on the last sample before the first one at distance 0.
        if (s.pdist[size_t(c)] > 0 || c == 1) return int16_t(c);
        return s.cursorpos;
    }
    double t = 0;
    if (mode == cursorPixel) {
        // Near, but not equal, to the inverse of xpixel.
        t = (double(x) - 1) / (W - 4) * (double(s.distmax) - s.distmin);
    } else if (mode == cursorDistance) {
        t = x;
    } else {
        return s.cursorpos;
    }
    // The last sample at or before the target, never a nearer one beyond it.
    for (int i = 2; i <= kSamples; ++i) {
        const float d = s.pdist[size_t(i)];
        if (d == 0 || d > t) return int16_t(i - 1);
    }
    return int16_t(kSamples);
}

QString readoutCaption(const PathState &s, int c)
{
    const size_t k = size_t(c);
    const float h = s.palt[k] + s.pcover[k];
    return formatMask(s.pdist[k], 1, 1, 7) + QStringLiteral(" km") + s.linebreak + formatMask(h, 1, 1, 7) +
           QStringLiteral(" m") + s.linebreak + formatMask(s.pclear[k], 1, 1, 7) + QStringLiteral("F1");
}

float readoutAltitude(const PathState &s, int c)
{
    const size_t k = size_t(c);
    const float h = s.palt[k] + s.pcover[k];
    return s.curveground ? h + s.pbulge[k] : h;
}

}  // namespace zk::pathviewer
