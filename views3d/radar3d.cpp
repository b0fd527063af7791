#include "views3d/radar3d.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "base/longop.h"
#include "map/mapdata.h"
#include "parallel.h"
#include "pictures/covset.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/geo3d.h"
#include "pictures/mainlink.h"
#include "pictures/picbox.h"
#include "pictures/view3d.h"
#include "radio/coverage.h"
#include "radio/radiodata.h"
#include "workpool.h"

namespace zk {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kDeg = kPi / 180;
constexpr int kSectors = 60;

// The generator is the module's own and is never seeded: the default seed
// of the Mersenne twister gives every run of the program the same clouds.
std::mt19937 &generator()
{
    static std::mt19937 g;
    return g;
}

// The table's height at index i (0 and n + 1 read as 0, as the table keeps
// them).
float tableheight(const RadarTable &t, int i)
{
    if (i < 0 || size_t(i) >= t.hi.size()) return 0;
    return t.hi[size_t(i)];
}

// Distance in map cells from (x0, y0) to the farthest grid corner.
double farthest(int x0, int y0)
{
    const double ux = elevgrid.ubound1(), uy = elevgrid.ubound2();
    double best = 0;
    for (double x : {0.0, ux})
        for (double y : {0.0, uy}) best = std::max(best, std::hypot(x - x0, y - y0));
    return best;
}

// The map cell nearest to (x, y), or false off the map.
bool mapcell(double x, double y, int &px, int &py)
{
    const double rx = std::nearbyint(x), ry = std::nearbyint(y);
    if (!(rx >= 0 && rx <= elevgrid.ubound1() && ry >= 0 && ry <= elevgrid.ubound2())) return false;
    px = int(rx);
    py = int(ry);
    return true;
}

// Paints the targets on the picture: each lightens its pixel halfway to
// white, so that a pixel hit again grows paler still. Targets are gathered
// and painted a batch at a time: projected on every core, then written by
// bands of rows, each band taking its pixels in the order the targets came
// (lightening is the same step every time, so a pixel hit n times ends the
// same whatever the order). A batch is painted before the picture is shown
// again (at most every 100 ms), when the sweep stops and when it ends, each
// time with this picture's view.
class CloudCanvas : public Radar3DCanvas {
public:
    CloudCanvas(frmPic *w, int n) : w_(w), n_(n) { shown_.start(); }
    ~CloudCanvas() override { flush(); }

    void target(const RadarTarget &t) override
    {
        pending_.push_back({t.x, t.y, t.z});
        if (pending_.size() >= kMaxPending) flush();
    }

    bool ring(float r) override
    {
        progtotal = float(n_);
        const bool show = shown_.elapsed() >= 100;
        if (show) flush();
        QCoreApplication::processEvents();
        showprogress(double(r));
        if (runflag == 0 || !w_) {
            // What ran during the pump may have placed points on another 3D
            // picture, which leaves the global view set to that one.
            if (w_) setpic3dview(w_);
            flush();
            return false;
        }
        // The rings so far show while the sweep goes on.
        if (show) {
            w_->Picture1->refresh();
            shown_.restart();
        }
        setpic3dview(w_);
        return true;
    }

private:
    struct Pending {
        float x, y, z;
    };
    static constexpr size_t kMaxPending = size_t(1) << 16;
    // Fewer targets are painted on the calling thread: waking the pool would
    // cost more.
    static constexpr size_t kParallelTargets = 4096;

    void flush()
    {
        if (pending_.empty()) return;
        if (!w_ || !w_->Picture1) {
            pending_.clear();
            return;
        }
        QImage &img = w_->Picture1->image();
        const int W = img.width(), H = img.height();
        // The layer is RGBX8888: red, green, blue, then the unused byte.
        uchar *bits = img.bits();
        const qsizetype bpl = img.bytesPerLine();
        const size_t count = pending_.size();
        points_.resize(count);
        const int threads = count >= kParallelTargets ? workercount() : 1;
        constexpr size_t kPart = 1024;
        const int parts = int((count + kPart - 1) / kPart);
        poolfor(parts, [&](int k) {
            const size_t from = size_t(k) * kPart, to = std::min(count, from + kPart);
            for (size_t i = from; i < to; ++i) {
                ProjPoint pt;
                const Pending &t = pending_[i];
                const bool in = project3d(t.x, t.y, t.z, pt) && pt.x >= 0 && pt.y >= 0 && pt.x < W && pt.y < H;
                points_[i] = in ? QPoint(pt.x, pt.y) : QPoint(-1, -1);
            }
        }, threads);
        poolbands(H, [&](int from, int to) {
            for (const QPoint &q : points_) {
                if (q.y() < from || q.y() >= to) continue;
                uchar *px = bits + qsizetype(q.y()) * bpl + qsizetype(q.x()) * 4;
                px[0] = uchar(px[0] / 2 + 128);
                px[1] = uchar(px[1] / 2 + 128);
                px[2] = uchar(px[2] / 2 + 128);
                px[3] = 0xFF;
            }
        }, threads);
        pending_.clear();
    }

    QPointer<frmPic> w_;
    int n_;
    QElapsedTimer shown_;
    std::vector<Pending> pending_;
    std::vector<QPoint> points_;
};

// Ends the attempt without drawing and says why.
void refuse(const QString &why)
{
    endop();
    setpane("Label2", why);
}

}  // namespace

int radarsector(float az_deg)
{
    if (!std::isfinite(az_deg)) return 0;
    double k = std::nearbyint(std::nearbyint(double(az_deg)) / 6);
    // 59.5 rounds to 60 and a little below 0 to -1: one turn on either side,
    // and any further turns of an azimuth far outside 0..360.
    k = std::fmod(k, double(kSectors));
    if (k < 0) k += kSectors;
    return int(k) % kSectors;
}

float radarrandom()
{
    // 24 random bits: uniform over [0, 1), never 1 in single precision.
    return float(generator()() >> 8) * (1.0f / 16777216.0f);
}

void resetradarrandom() { generator() = std::mt19937(); }

bool radar3dsweep(const Radar3DSweep &p, Radar3DCanvas &canvas)
{
    if (!p.table || p.table->n < 1) return true;
    const RadarTable &tab = *p.table;
    const int n = tab.n;
    // The step is checked before it is made single precision, which it
    // must fit.
    if (!(tab.b > 0 && tab.b <= 1e30) || !(p.piccells_per_km > 0) || !(p.mapcells_per_km > 0)) return true;
    const float x = float(tab.b);
    if (!(x > 0)) return true;

    const float step = p.azstep / 5;
    // Rings closer than this to each other fall on the same cells; a table
    // whose heights jump by kilometres from one entry to the next would
    // otherwise bring them so close that r + dr == r.
    const double drmin = 1.0 / (16.0 * double(x) * double(p.mapcells_per_km));
    const double reach = farthest(p.cx, p.cy) + 1;
    std::array<double, kSectors> H;
    H.fill(-1e12);
    const float gx = p.gx - 0.5f, gy = p.gy - 0.5f;

    float r = 1;
    while (r < float(n)) {
        const float d = r * x * p.piccells_per_km;  // the ring's radius in picture cells
        const float D = r * x * p.mapcells_per_km;  // and in map cells
        if (double(D) > reach) break;               // wholly off the map, as are the rings after it
        // A ring a hair's breadth from the sensor would have an increment
        // of turns on end; it has no sample to give.
        const double dAd = (10 * double(step) / double(d)) * 180 / kPi;
        const float dA = dAd > 0 && dAd <= 1e6 ? float(dAd) : 0.0f;

        const int i = int(std::floor(r));
        const float f = r - float(i);
        const float b0 = tableheight(tab, i), b1 = tableheight(tab, i + 1);
        const float v = b0 * (1 - f) + b1 * f;
        const double g = (double(b0) - double(b1)) * 0.001 / double(x);
        double dr = 2 * double(step) / std::sqrt(1 + g * g);

        const float j = (radarrandom() - 0.5f) * dA;
        if (dA > 0 && std::isfinite(dA) && std::isfinite(j)) {
            const float end = p.azmax + j - 0.2f * dA;
            for (float a = p.azmin + j; a <= end;) {
                const double s = std::sin(double(a) * kDeg), c = std::cos(double(a) * kDeg);
                int px = 0, py = 0;
                if (mapcell(p.cx + s * D, p.cy + c * D, px, py)) {
                    const double t = (double(elevgrid.at(px, py)) - p.h0) / D;
                    const int k = radarsector(a);
                    if (t > H[size_t(k)]) H[size_t(k)] = t;
                    // The horizon now includes the ground under the target.
                    if (double(v) / D > H[size_t(k)]) {
                        RadarTarget tg;
                        tg.r = r;
                        tg.az_deg = a;
                        tg.px = px;
                        tg.py = py;
                        const float rho1 = radarrandom();
                        const float rho2 = radarrandom();
                        tg.x = float(gx + d * s + rho1);
                        tg.y = float(gy + d * c + rho2);
                        tg.z = p.h0 + v;
                        canvas.target(tg);
                    }
                }
                const float next = a + dA;
                if (!(next > a)) break;  // an increment lost in single precision
                a = next;
            }
        }

        if (!canvas.ring(r)) return false;
        if (!(dr >= drmin)) dr = drmin;  // also when the table made it not a number
        const double next = double(r) + dr;
        if (!(next < double(n))) break;
        const float rn = float(next);
        r = rn > r ? rn : std::nextafter(r, float(n));
    }
    return true;
}

bool radar3dsamemap(const frmPic *w)
{
    if (!w) return false;
    constexpr float tol = 0.0001f;
    const MapCorners &c = mapcorners;
    if (!(std::fabs(w->lon1 - c.lon[0]) < tol && std::fabs(w->lat1 - c.lat[0]) < tol &&
          std::fabs(w->lon2 - c.lon[1]) < tol && std::fabs(w->lat4 - c.lat[3]) < tol))
        return false;
    return w->w3 == float(elevgrid.ubound1()) && w->h3 == float(elevgrid.ubound2());
}

void radar3d(frmPic *w, const QString &file)
{
    // 1. The table, read whole before anything else: without a sound one
    // there is nothing to draw and nothing to ask.
    if (file.trimmed().isEmpty()) {
        refuse(QStringLiteral("Pas de fichier radar: cochez \"Fichier radar\" et choisissez une table."));
        return;
    }
    RadarTable table;
    if (const QString err = readradar(file, table); !err.isEmpty()) {
        refuse(err);
        return;
    }
    if (const QString err = checkazimuths(covset.azmin, covset.azmax, covset.azstep); !err.isEmpty()) {
        refuse(err);
        return;
    }

    // 2 to 6. The picture, the sensor on it and on the map.
    if (!w || w->Pictype != 3 || !w->Picture1 || w->Picture1->image().isNull() || curunit < 1 ||
        curunit > kUnits) {
        endop();
        return;
    }
    const UnitRecord &u = units[curunit];
    const float h0 = covset.sensorh + u.elev;
    float fx = 0, fy = 0;
    if (!pic3dfractions(w, u.lon, u.lat, fx, fy)) {
        endop();
        return;
    }
    if (!radar3dsamemap(w) || !(w->size > 0) || !std::isfinite(w->size) || !(mapset.size > 0) ||
        !std::isfinite(mapset.size) || elevgrid.ubound2() < 1) {
        refuse(QStringLiteral("L'image 3D n'a pas été dessinée avec la carte en mémoire."));
        return;
    }
    Radar3DSweep p;
    p.table = &table;
    p.azmin = covset.azmin;
    p.azmax = covset.azmax;
    p.azstep = covset.azstep;
    p.h0 = h0;
    p.gx = fx * w->w3;
    p.gy = fy * w->h3;
    p.piccells_per_km = w->h3 / w->size;
    p.mapcells_per_km = float(elevgrid.ubound2()) / mapset.size;
    setpic3dview(w);
    ProjPoint sensor;
    float cx = 0, cy = 0, elev = 0;
    if (!project3d(p.gx, p.gy, h0, sensor) || !gridpoint(u.lon, u.lat, cx, cy, elev)) {
        endop();
        return;
    }
    p.cx = int(cx);
    p.cy = int(cy);

    // 7 to 12. The sweep as the coverage operation, over the networks.
    QPointer<frmPic> pic = w;
    beginop(opcoverage);
    if (pic) pic->Picture1->cls();
    bool done = false;
    {
        CloudCanvas canvas(pic, table.n);
        done = radar3dsweep(p, canvas);
    }
    if (pic) pic->Picture1->refresh();
    else runflag = 0;  // the picture went away: nothing is left to keep
    if (done && runflag != 0 && pic) keepinpic(pic->Picture1, QStringLiteral("la couverture "));
    endop();
}

}  // namespace zk
