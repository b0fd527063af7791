#include "radio/coverage.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "base/hooks.h"
#include "base/longop.h"
#include "base/mainframe.h"
#include "engine.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "parallel.h"
#include "workpool.h"
#include "paths.h"
#include "pictures/colorscale.h"
#include "pictures/covset.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/legend.h"
#include "pictures/picbox.h"
#include "radio/linkbudget.h"
#include "radio/picturecanvas.h"
#include "radio/profile.h"
#include "radio/radiodata.h"

#include <QLabel>

namespace zk {

namespace {

constexpr double kDeg = 3.14159265358979 / 180;
// Twice an Earth radius of 6375 km, m.
constexpr double kTwoRadii = 12750000.0;
// A pattern or radar file is a few kilobytes; anything far larger is not one.
constexpr qint64 kMaxTableBytes = 8 * 1024 * 1024;

int rint32(double v) { return int(std::lrint(v)); }

// The numbers of a table file, separated by commas, blanks or line breaks,
// dot as decimal separator. Answers "" or the reason.
QString readnumbers(const QString &name, std::vector<double> &out, qsizetype limit)
{
    QFile f(paths::dataFile(name));
    if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("Fichier introuvable: ") + name;
    if (f.size() > kMaxTableBytes) return QStringLiteral("Fichier trop grand: ") + name;
    const QString text = QString::fromLatin1(f.readAll());
    static const QRegularExpression sep(QStringLiteral("[,\\s]+"));
    const QStringList tokens = text.split(sep, Qt::SkipEmptyParts);
    for (const QString &t : tokens) {
        if (qsizetype(out.size()) >= limit) break;
        bool ok = false;
        const double v = QLocale::c().toDouble(t, &ok);
        if (!ok || !std::isfinite(v)) return QStringLiteral("Valeur invalide \"") + t + QStringLiteral("\" dans ") + name;
        out.push_back(v);
    }
    return QString();
}

}  // namespace

QString readantenna(const QString &rawname, std::array<float, 360> &gain)
{
    gain.fill(0);
    const QString name = rawname.trimmed();
    if (name.isEmpty()) return QString();
    if (!paths::exists(paths::dataFile(name)) && name.compare(QLatin1String("omni.ant"), Qt::CaseInsensitive) == 0)
        return QString();
    std::vector<double> v;
    const QString err = readnumbers(name, v, 360);
    if (!err.isEmpty()) return err;
    for (size_t k = 0; k < v.size(); ++k) gain[k] = float(std::clamp(v[k], -100.0, 100.0));
    return QString();
}

QString readradar(const QString &rawname, RadarTable &t)
{
    t = RadarTable();
    const QString name = rawname.trimmed();
    std::vector<double> v;
    QString err = readnumbers(name, v, 2 + 2 * qsizetype(kMaxRadarBins) + 1);
    if (!err.isEmpty()) return err;
    if (v.size() < 2) return QStringLiteral("Fichier radar incomplet: ") + name;
    const double n = std::nearbyint(v[0]);
    if (!(n >= 1 && n <= kMaxRadarBins))
        return QStringLiteral("Nombre de tranches invalide dans ") + name;
    if (!(v[1] > 0)) return QStringLiteral("Longueur de tranche nulle dans ") + name;
    const int bins = int(n);
    if (v.size() < size_t(2 + 2 * bins)) return QStringLiteral("Fichier radar incomplet: ") + name;
    t.n = bins;
    t.b = v[1];
    t.lo.assign(size_t(bins) + 2, 0);
    t.hi.assign(size_t(bins) + 2, 0);
    for (int j = 1; j <= bins; ++j) {
        t.lo[size_t(j)] = float(v[size_t(2 * j)]);
        t.hi[size_t(j)] = float(v[size_t(2 * j + 1)]);
    }
    return QString();
}

void coveragelevels(int thrunit, float covlow, float covhigh, float freq, float thr, bool rainbow, float &L,
                    float &U)
{
    if (thrunit == 0) {
        auto level = [freq](float v) -> float {
            if (freq < 30) return v < 10 ? (v - 1) * 6 - 3 : 48 + v;
            return v < 10 ? float((v - 1) * 3 - 1.5) : 24 + v;
        };
        L = level(covlow);
        U = rainbow ? (freq < 30 ? L + 3 : float(L + 1.5)) : level(covhigh);
    } else {
        L = covlow - thr;
        U = covhigh - thr;
    }
}

int rainbowindex(int thrunit, double m, float L, float U, float covlow, float covhigh, float freq)
{
    if (thrunit == 0) {
        // s is 0 up to the "De" level and then one more per S-unit: it says
        // whether the cell is covered. The colour comes from the cell's own
        // reading (S1 at the threshold, 10..60 above S9), the numbers the
        // legend's thresholds are written in: colour k starts at the k-th
        // threshold De + (k - 1) (À - De) / 10, as in the dBm mode.
        const int s = sunits(float(m - U), freq);
        if (s <= 0) return 0;
        const double span = double(covhigh) - covlow;
        if (!(span > 0)) return 11;
        const double reading = sunits(float(m), freq);
        const double c = std::floor((reading - covlow) * 10 / span + 1);
        return int(std::clamp(c, 1.0, 11.0));
    }
    const double c = std::floor((m - L) / (double(U) - L) * 10 + 1);
    return int(std::clamp(c, 0.0, 11.0));
}

QString checkazimuths(float azmin, float azmax, float azstep)
{
    if (!(azstep > 0) || !std::isfinite(azstep)) return QStringLiteral("Le pas d'azimut doit être positif.");
    if (!std::isfinite(azmin) || !std::isfinite(azmax) || azmax < azmin)
        return QStringLiteral("Le balayage d'azimut est invalide.");
    if ((azmax - azmin) / azstep > 1e6) return QStringLiteral("Le balayage d'azimut est invalide.");
    return QString();
}

QString checksweep(float rangemax, float azmin, float azmax, float azstep)
{
    if (QString err = checkazimuths(azmin, azmax, azstep); !err.isEmpty()) return err;
    if (!(rangemax > 0) || !std::isfinite(rangemax)) return QStringLiteral("La portée doit être positive.");
    if (mapmissing || elevgrid.ubound1() < 1 || elevgrid.ubound2() < 1 || !(mapset.size > 0))
        return QStringLiteral("Pas de carte en mémoire.");
    return QString();
}

namespace {

// Distance in cells from (x0, y0) to the farthest grid corner.
int farcorner(int x0, int y0, int W, int H)
{
    const double dx = std::abs(x0 - W / 2.0) + W / 2.0, dy = std::abs(y0 - H / 2.0) + H / 2.0;
    return rint32(std::sqrt(dx * dx + dy * dy));
}

void quad(QPoint *q, int x0, int y0, double i, double e1x, double e1y, double e2x, double e2y)
{
    q[0] = QPoint(rint32(x0 + (i - 0.5) * e1x), rint32(y0 + (i - 0.5) * e1y));
    q[1] = QPoint(rint32(x0 + (i + 0.5) * e1x), rint32(y0 + (i + 0.5) * e1y));
    q[2] = QPoint(rint32(x0 + (i + 0.5) * e2x), rint32(y0 + (i + 0.5) * e2y));
    q[3] = QPoint(rint32(x0 + (i - 0.5) * e2x), rint32(y0 + (i - 0.5) * e2y));
}

}  // namespace

namespace {

// The azimuth of every radial, accumulated in single precision as the
// sweep steps it.
std::vector<float> azimuths(float azmin, float azstep, int nrad)
{
    std::vector<float> a(size_t(nrad) + 1);
    float alpha = azmin;
    for (int k = 0; k <= nrad; ++k) {
        a[size_t(k)] = alpha;
        alpha += azstep;
    }
    return a;
}

// Runs a sweep of nrad + 1 radials: compute(k, radial) fills in radial k,
// consume(k, radial) hands it to the canvas and answers false to stop. On
// several threads the radials are computed by the pool, each thread taking
// the next radial as soon as it is through with one, and handed to the
// canvas on the calling thread in their order as soon as each is ready; the
// calling thread computes the next radial itself whenever the one it is to
// hand on is not ready, so that every core computes and the painting costs
// only its own share. At most a ring of radials is computed ahead of the
// canvas. What the radials are computed from (the map, the networks and
// their systems) cannot change meanwhile although the canvas pumps events:
// a long operation leaves the menus and tool windows disabled. No
// computation is left running when this returns, stopped or not.
template <class Radial, class Compute, class Consume>
void sweepahead(int nrad, int threads, const Compute &compute, const Consume &consume)
{
    const int total = nrad + 1;
    if (total <= 0) return;
    if (threads <= 1) {
        Radial r;
        for (int k = 0; k < total; ++k) {
            compute(k, r);
            if (!consume(k, r)) return;
        }
        return;
    }
    const int ring = std::min(total, 8 * threads);
    std::vector<Radial> held(static_cast<size_t>(ring));
    // ready[s] holds the radial last computed into slot s (-1: none);
    // released is the first radial whose slot the canvas still holds.
    std::vector<std::atomic<int>> ready(static_cast<size_t>(ring));
    for (std::atomic<int> &r : ready) r.store(-1, std::memory_order_relaxed);
    std::atomic<int> next{0}, released{0};
    std::atomic<bool> stop{false};
    auto publish = [&](int k) {
        compute(k, held[size_t(k % ring)]);
        ready[size_t(k % ring)].store(k, std::memory_order_release);
        ready[size_t(k % ring)].notify_one();
    };

    auto work = [&](int) {
        for (;;) {
            const int k = next.fetch_add(1, std::memory_order_relaxed);
            if (k >= total) return;
            // The slot is free once the radial a ring before was handed on.
            for (int r = released.load(std::memory_order_acquire); k - r >= ring;
                 r = released.load(std::memory_order_acquire)) {
                if (stop.load(std::memory_order_acquire)) return;
                released.wait(r, std::memory_order_acquire);
            }
            if (stop.load(std::memory_order_acquire)) return;
            publish(k);
        }
    };
    // The calling thread takes the next radial when its slot is free; it
    // alone moves `released`, so the test holds until it computes.
    auto help = [&]() {
        const int r = released.load(std::memory_order_relaxed);
        for (int k = next.load(std::memory_order_relaxed); k < total && k - r < ring;)
            if (next.compare_exchange_weak(k, k + 1, std::memory_order_relaxed)) {
                publish(k);
                return true;
            }
        return false;
    };
    std::thread driver([&] { poolfor(threads - 1, work, threads - 1); });
    struct Ended {
        std::atomic<bool> &stop;
        std::atomic<int> &released;
        std::thread &driver;
        ~Ended()
        {
            stop.store(true, std::memory_order_release);
            released.fetch_add(1, std::memory_order_release);
            released.notify_all();
            driver.join();
        }
    } ended{stop, released, driver};

    for (int k = 0; k < total; ++k) {
        std::atomic<int> &flag = ready[size_t(k % ring)];
        for (int v = flag.load(std::memory_order_acquire); v != k; v = flag.load(std::memory_order_acquire))
            if (!help()) flag.wait(v, std::memory_order_acquire);
        const bool go = consume(k, held[size_t(k % ring)]);
        released.store(k + 1, std::memory_order_release);
        released.notify_all();
        if (!go) return;
    }
}

// One radial of the radio sweep as computed apart from the others.
struct RadioRadial {
    int n = 0;
    bool ok = true;
    std::array<double, kProfileSize> pfl{};
    std::array<double, kProfileSize> loss{};
    LinkParameters prm{};
    double urban = 0;
};

}  // namespace

double radiosweep(const RadioSweep &p, CoverageCanvas &canvas, double &spacing_m)
{
    const int W = elevgrid.ubound1(), H = elevgrid.ubound2();
    const float size = mapset.size;
    spacing_m = 0;
    if (W < 1 || H < 1 || !(size > 0) || !(p.azstep > 0)) return 0;
    const int nrad = rint32((p.azmax - p.azmin) / p.azstep);
    const int dc = farcorner(p.x0, p.y0, W, H);
    const float rmax = std::min(p.rangemax, float(dc) * size / H);
    const int npts = rint32(std::max(2.0f, std::min(160.0f, rmax * H / size)));
    const float s = rmax * H / size / npts;
    const bool rainbow = p.surfcolor == 0;
    const float freq = float(+lrprm.freq);
    const std::vector<float> alphas = azimuths(p.azmin, p.azstep, nrad);
    const ElevGrid &grid = elevgrid;
    const double elevA = units[p.a].elev;
    const LinkParameters prm0 = lrprm;
    const LossModel model;
    const int threads = model.reentrant() ? workercount() : 1;

    auto compute = [&](int k, RadioRadial &r) {
        const double th = (alphas[size_t(k)] - 90) * kDeg;
        const double dx = s * std::cos(th), dy = s * std::sin(th);
        r.pfl.fill(0);
        r.loss.fill(0);
        r.prm = prm0;
        r.urban = 0;
        r.ok = true;
        int n = 0;
        for (int i = 1; i <= npts; ++i) {
            const int px = rint32(p.x0 + i * dx), py = H - rint32(p.y0 + i * dy);
            if (px < 0 || px > W || py < 0 || py > H) break;
            r.pfl[size_t(i + 3)] = grid.at(px, py);
            n = i;
        }
        r.n = n;
        r.pfl[1] = n;
        r.pfl[2] = double(s) * size / H * 1000;
        r.pfl[3] = elevA;
        if (n > 0) r.ok = pathloss(model, r.pfl.data(), r.loss.data(), r.prm, p.net, 0, r.urban);
    };

    std::vector<uint8_t> contour(size_t(npts) + 2, 0);
    const float half = p.azstep / 2;
    double sum = 0;
    QPoint q[4];
    auto consume = [&](int k, const RadioRadial &r) {
        // The shared profile and results hold the last radial handed to
        // the canvas, as after a sweep done on them.
        pfl = r.pfl;
        lrloss = r.loss;
        if (r.n > 0) {
            lrprm = r.prm;
            urban = r.urban;
        }
        spacing_m = r.pfl[2];
        if (!r.ok) reportmodelfailure();
        const float alpha = alphas[size_t(k)];
        int a = rint32(alpha - p.antaz);
        while (a < 0) a += 360;
        while (a > 359) a -= 360;
        const double th = (alpha - 90) * kDeg;
        const int n = r.n;
        const double G = p.pattern[size_t(a)] + (p.covdir ? sysgainba : sysgainab);
        const double t1 = th - half * kDeg, t2 = th + half * kDeg;
        const double e1x = s * std::cos(t1), e1y = s * std::sin(t1);
        const double e2x = s * std::cos(t2), e2y = s * std::sin(t2);
        int prev = 0;
        const float first = std::max(1.0f, std::min(float(n - 1), p.rangemin / s / size * H));
        for (int i = 1; i <= n; ++i) {
            const double m = G - r.loss[size_t(i + 3)];
            canvas.cell(k, i, m);
            const int covered = (p.curve && m > p.L) ? 1 : 0;
            if (float(i) > first) {
                quad(q, p.x0, p.y0, i, e1x, e1y, e2x, e2y);
                if (p.surface) {
                    if (rainbow) {
                        const int c = rainbowindex(p.thrunit, m, p.L, p.U, p.covlow, p.covhigh, freq);
                        canvas.fill(q, colors[size_t(c)]);
                        if (c > 0) sum += i;
                    } else if (p.L <= m && m < p.U) {
                        canvas.fill(q, p.surfcolor);
                        sum += i;
                    }
                }
                if (prev != covered) canvas.line(q[0], q[3], p.curvecolor);
                if (contour[size_t(i)] != covered && k > 0) canvas.line(q[0], q[1], p.curvecolor);
            }
            contour[size_t(i)] = uint8_t(covered);
            prev = covered;
        }
        for (int i = n + 1; i <= npts; ++i) contour[size_t(i)] = 0;
        return k % 10 != 0 || canvas.radial(k);
    };
    sweepahead<RadioRadial>(nrad, threads, compute, consume);
    return sum;
}

namespace {

// One radial of the visual sweep: whether each step is seen.
struct VisualRadial {
    int n = 0;
    std::vector<uint8_t> seen;
};

}  // namespace

void visualsweep(const VisualSweep &p, CoverageCanvas &canvas)
{
    const int W = elevgrid.ubound1(), H = elevgrid.ubound2();
    const float size = mapset.size;
    if (W < 1 || H < 1 || !(size > 0) || !(p.azstep > 0)) return;
    const int nrad = rint32((p.azmax - p.azmin) / p.azstep);
    const int dc = farcorner(p.x0, p.y0, W, H);
    float rmax = std::max(0.1f, std::min(p.rangemax, float(dc) * size / H));
    float rmin = std::max(0.1f, std::min(rmax, p.rangemin));
    double q = 0;
    if (p.radar && p.radar->n > 0 && p.radar->b > 0) {
        rmin = float(p.radar->b);
        rmax = float(p.radar->b * p.radar->n);
        q = 1 / 1000.0 / p.radar->b;
    }
    // A radar table may put its bins anywhere, far beyond the map: the
    // steps are counted in double precision, and a radial is walked (and
    // its steps kept) only as far as the map reaches. A step on the map
    // lies within half a cell of its place, at most dc from the station, so
    // step dc + 2 is off the map wherever the radial runs.
    const double reach = double(dc) + 2;
    const double steps = std::nearbyint(double(std::max(2.0f, rmax * H / size)));
    const double firststep = std::nearbyint(double(std::max(1.0f, rmin * H / size)));
    const int npts = int(std::min(steps, reach));
    const int first = int(std::min(firststep, reach));
    const double g = double(rmax) / steps * 1000;
    const float half = p.azstep / 2;
    const std::vector<float> alphas = azimuths(p.azmin, p.azstep, nrad);
    const ElevGrid &grid = elevgrid;
    const int threads = workercount();
    // Seeing costs little and painting much: the radials are computed a
    // block at a time on every core, then handed to the canvas in their
    // order, which writes the cells by bands of rows on the pool, free again
    // between blocks. What is drawn and where a Stop falls are those of a
    // sweep done radial by radial. A radial of a few hundred steps takes a
    // few microseconds: a block is about a million steps (a millisecond on
    // one core, the default plot in one block), since every block waits for
    // the slowest of its threads, and on a busy machine a thread that loses
    // its core holds the block up for a whole time slice.
    const int block = threads > 1 ? std::max(4 * threads, (1 << 20) / (npts + 1)) : 1;
    std::vector<VisualRadial> radials(size_t(std::min(block, nrad + 1)));

    auto compute = [&](int k, VisualRadial &r) {
        const double th = (alphas[size_t(k)] - 90) * kDeg;
        const double ux = std::cos(th), uy = std::sin(th);
        r.seen.assign(size_t(npts) + 1, 0);
        r.n = 0;
        double tmax = -1e99;
        for (int i = 1; i <= npts; ++i) {
            const int px = rint32(p.x0 + i * ux), py = H - rint32(p.y0 + i * uy);
            if (px < 0 || px > W || py < 0 || py > H) break;
            const double d = i * g;
            const double bulge = d * d / kTwoRadii;
            const double z = grid.at(px, py) - bulge - p.hs;
            if (z / d > tmax) tmax = z / d;
            const double zt = p.abovegound ? z + p.targeth : p.targeth - bulge - p.hs;
            bool seen = float(tmax) <= float(zt / d) && i >= first;
            if (seen && q > 0) {
                // Beyond the table's last bin (or at no bin at all) nothing is seen.
                const double j = std::nearbyint(d * q);
                if (!(j >= 0 && j <= p.radar->n))
                    seen = false;
                else
                    seen = p.radar->lo[size_t(j)] <= zt && zt <= p.radar->hi[size_t(j)];
            }
            r.seen[size_t(i)] = seen ? 1 : 0;
            r.n = i;
        }
    };

    QPoint quadpts[4];
    for (int k0 = 0; k0 <= nrad; k0 += block) {
        const int count = std::min(block, nrad + 1 - k0);
        poolfor(count, [&](int j) { compute(k0 + j, radials[size_t(j)]); }, threads);
        for (int j = 0; j < count; ++j) {
            const int k = k0 + j;
            const VisualRadial &r = radials[size_t(j)];
            const double th = (alphas[size_t(k)] - 90) * kDeg;
            const double t1 = th - half * kDeg, t2 = th + half * kDeg;
            const double e1x = std::cos(t1), e1y = std::sin(t1), e2x = std::cos(t2), e2y = std::sin(t2);
            for (int i = 1; i <= r.n; ++i) {
                const bool seen = r.seen[size_t(i)] != 0;
                canvas.cell(k, i, seen ? 1 : 0);
                if (seen) {
                    quad(quadpts, p.x0, p.y0, i, e1x, e1y, e2x, e2y);
                    canvas.fill(quadpts, p.colour);
                }
            }
            if (k % 10 == 0 && !canvas.radial(k)) return;
        }
    }
}

namespace {

bool palettepicture()
{
    const ZkPalette *palette = nullptr;
    return engine::translate(palette) > 0;
}

void showerror(const QString &text) { msgbox(text, mbOK | mbExclamation); }

}  // namespace

void lunarmode()
{
    frmPic *w = curpic.data();
    if (!w || w->Mapmode == 0) return;
    if (msgbox(QStringLiteral("Redessiner l'image en paysage lunaire"), mbYesNo | mbQuestion) != idYes) return;
    editmap = mapset;
    editcorners = mapcorners;
    mapset.minx = w->minx;
    mapset.maxx = w->maxx;
    mapset.light = w->light;
    mapset.con = w->con;
    mapset.bri = w->bri;
    mapset.c1 = w->c1;
    mapset.c2 = w->c2;
    mapcorners.city = w->city ? -1 : 0;
    mapset.Mapmode = 0;
    if (draw2d(w, false)) {
        if (curpic) curpic->Mapmode = 0;
    }
    mapset = editmap;
    mapcorners = editcorners;
}

QString radioplotsweep(int x0, int y0, RadioSweep &p)
{
    QString err = checksweep(covset.rangemax, covset.azmin, covset.azmax, covset.azstep);
    if (err.isEmpty()) err = readantenna(QString::fromLatin1(covset.antfile, 20), p.pattern);
    linkparams(linka, linkb, linknet);
    const bool rainbow = covset.surfcolor == 0;
    const int recv = covdir ? linka : linkb;
    const int sys = nets[linknet].system[recv - 1];
    const float thr = (sys >= 1 && sys <= kSystems) ? systems[sys].threshold : 0;
    coveragelevels(covset.thrunit, covlow, covhigh, float(+lrprm.freq), thr, rainbow, p.L, p.U);
    if (err.isEmpty() && covset.surface && (!(p.U > p.L) || (rainbow && covset.thrunit == 0 && !(covhigh > covlow))))
        err = QStringLiteral("Le niveau \"À\" doit être supérieur au niveau \"De\".");
    if (err.isEmpty() && !covset.surface && !covset.curve) err = QStringLiteral("Rien à dessiner.");
    p.x0 = x0;
    p.y0 = y0;
    p.a = linka;
    p.b = linkb;
    p.net = linknet;
    p.thrunit = covset.thrunit;
    p.covlow = covlow;
    p.covhigh = covhigh;
    p.covdir = covdir;
    p.surface = covset.surface != 0;
    p.curve = covset.curve != 0;
    p.surfcolor = covset.surfcolor;
    p.curvecolor = covset.curvecolor;
    p.rangemax = covset.rangemax;
    p.rangemin = covset.rangemin;
    p.azmin = covset.azmin;
    p.azmax = covset.azmax;
    p.azstep = covset.azstep;
    p.antaz = covset.antaz;
    return err;
}

void polarcoverage()
{
    if (linknet == 0 || linka == linkb || linka == 0 || linkb == 0) return;
    if (linka < 1 || linka > kUnits || linkb < 1 || linkb > kUnits || linknet < 1 || linknet > kNets) return;
    frmPic *w = curpic.data();
    if (!w) return;
    float fx = 0, fy = 0;
    if (!geotopix(w, units[linka].lon, units[linka].lat, fx, fy)) return;

    // Settings that cannot be drawn are told before anything changes, so
    // that no plot that was not drawn is reported as complete.
    RadioSweep p;
    if (const QString err = radioplotsweep(rint32(fx), rint32(fy), p); !err.isEmpty()) {
        showerror(err);
        return;
    }

    w->raise();
    hooks::clearoverlay();
    lunarmode();
    if (!curpic) {
        // The picture went away during the redraw, which left its operation open.
        if (runflag != 0) {
            runflag = 0;
            endop();
        }
        return;
    }
    PicBox *box = w->Picture1;
    beginop(opcoverage);
    LinkOperation linkop;
    progtotal = float(rint32((p.azmax - p.azmin) / p.azstep));
    covdrawmode = palettepicture() ? 13 : 9;
    double spacing = 0, sum = 0;
    {
        PictureCanvas canvas(box, covdrawmode == 13);
        sum = radiosweep(p, canvas, spacing);
    }
    box->refresh();
    if (runflag != 0) {
        if (scalekind & showlegend) drawlegend(w);
        keepinpic(box, QStringLiteral("coverage "));
    }
    const double area = sum * (p.azstep * 3.14159265358979 / 180) * (spacing / 1000) * (spacing / 1000);
    endop();
    if (area > 0 && mainform && mainform->label1())
        mainform->label1()->setText(QStringLiteral("La surface couverte est de  ") +
                                    QString::number(std::round(area), 'f', 0) + QStringLiteral(" km carrés"));
}

void visualcoverage(const QString &file)
{
    if (curunit < 1 || curunit > kUnits) return;
    frmPic *w = curpic.data();
    if (!w) return;
    float fx = 0, fy = 0;
    if (!geotopix(w, units[curunit].lon, units[curunit].lat, fx, fy)) return;
    QString err = checksweep(covset.rangemax, covset.azmin, covset.azmax, covset.azstep);
    RadarTable radar;
    if (err.isEmpty() && !file.trimmed().isEmpty()) err = readradar(file, radar);
    if (!err.isEmpty()) {
        showerror(err);
        return;
    }
    w->raise();
    PicBox *box = w->Picture1;
    beginop(opcoverage);
    hooks::clearoverlay();
    lunarmode();
    if (!curpic) {
        // The picture went away during the redraw: nothing was drawn.
        runflag = 0;
        endop();
        return;
    }
    VisualSweep p;
    p.x0 = rint32(fx);
    p.y0 = rint32(fy);
    p.hs = covset.sensorh + units[curunit].elev;
    p.targeth = covset.targeth;
    p.abovegound = targetmode != 0;
    p.rangemax = covset.rangemax;
    p.rangemin = covset.rangemin;
    p.azmin = covset.azmin;
    p.azmax = covset.azmax;
    p.azstep = covset.azstep;
    p.colour = covset.viscolor;
    p.radar = radar.n > 0 ? &radar : nullptr;
    progtotal = float(rint32((p.azmax - p.azmin) / p.azstep));
    {
        PictureCanvas canvas(box, palettepicture());
        visualsweep(p, canvas);
    }
    box->refresh();
    if (runflag != 0) keepinpic(box, QStringLiteral("la couverture "));
    endop();
}

}  // namespace zk
