// The program's plots against tools of the field on the same terrain, side by
// side in one run; each comparison reports the ratio peer / ours as a
// counter (above 1: ours is faster).
//
// - Radio coverage of 50 km at about equal work to SPLAT! (-L path loss,
//   -olditm, 3" SDF tiles of the same landscape written from SRTM tiles by
//   its own srtm2sdf): our plot at an azimuth step of 0.05 degrees (7200
//   radials of 160 points, 1.15 million LR calls) on every core.
// - Visual coverage of 50 km against gdal_viewshed on the same grid
//   (written as an EHdr raster) and radius.
// - draw2d of the 2000 x 2000 map against fastdraw alone on the same grid.
//
// The peers run as processes; their start-up (the same run on a tiny area)
// is measured too and reported, so that it can be set apart.
#include <benchmark/benchmark.h>

#define ZK_BENCH_MAIN
#include "demoscene.h"

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "base/longop.h"
#include "engine.h"
#include "msgbox.h"
#include "parallel.h"
#include "pictures/geomap.h"
#include "qtdc.h"
#include "radio/coverage.h"
#include "radio/linkbudget.h"
#include "radio/picturecanvas.h"
#include "radio/radiodata.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// The processor time of the whole process (every thread), s: the work done,
// which other processes on a busy machine do not stretch as they do the
// wall time.
double cpuseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

const QString &workdir()
{
    static QTemporaryDir dir;
    static const QString path = dir.path();
    return path;
}

std::string quoted(const QString &s) { return "'" + s.toStdString() + "'"; }

// Wall time of a shell command run in the work folder; negative on failure.
double run(const std::string &cmd)
{
    const auto t0 = Clock::now();
    const std::string line = "cd " + quoted(workdir()) + " && " + cmd + " >/dev/null 2>&1";
    if (std::system(line.c_str()) != 0) return -1;
    return seconds(t0);
}

// The demo landscape as SRTM 3" tiles (1201 x 1201 big-endian samples, rows
// from north to south) around 45 N 73 W, turned into SPLAT!'s SDF tiles by
// srtm2sdf. Answers "" or what failed.
std::string makesdf()
{
    static std::string done = "not made";
    if (done != "not made") return done;
    done.clear();
    for (int lat = 44; lat <= 45; ++lat)
        for (int lon = -74; lon <= -73; ++lon) {
            char name[32];
            std::snprintf(name, sizeof name, "N%02dW%03d.hgt", lat, -lon);
            std::vector<unsigned char> bytes;
            bytes.reserve(1201 * 1201 * 2);
            for (int r = 0; r < 1201; ++r)
                for (int c = 0; c < 1201; ++c) {
                    const double h = zk::demo::elevation(lon + c / 1200.0, lat + 1 - r / 1200.0);
                    const auto v = uint16_t(int16_t(std::lround(std::max(h, 0.0))));
                    bytes.push_back(uint8_t(v >> 8));
                    bytes.push_back(uint8_t(v & 0xFF));
                }
            std::ofstream((workdir() + "/" + name).toStdString(), std::ios::binary)
                .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
            if (run(std::string("srtm2sdf ") + name) < 0) {
                done = "srtm2sdf failed (Debian package splat)";
                return done;
            }
        }
    // The transmitter of our plot: 45 N 73 W, 10 m above ground, 450 MHz,
    // the ground and climate of a new network.
    std::ofstream((workdir() + "/tx.qth").toStdString()) << "TX\n45.0\n73.0\n10 meters\n";
    std::ofstream((workdir() + "/tx.lrp").toStdString())
        << "15.0\n0.005\n301.0\n450.0\n5\n1\n0.50\n0.50\n0\n";
    return done;
}

double splat(double radius_km)
{
    return run("splat -t tx.qth -L 2 -R " + std::to_string(radius_km) + " -metric -olditm -d " +
               quoted(workdir()) + " -ngs -o out.ppm");
}

double ourradio(float azstep)
{
    coveragesetup();
    // "Garder coverage dans l'image?" gets the default answer, Yes: the plot is
    // kept, as the user who keeps it sees the whole operation.
    zk::MsgScript script;
    zk::covset.azstep = azstep;
    zk::covset.azmax = 360 - azstep;
    scene().pic->Picture1->cls();
    // What the set-up left to show is shown before the clock starts.
    QCoreApplication::processEvents();
    const auto t0 = Clock::now();
    zk::polarcoverage();
    const double t = seconds(t0);
    zk::covset.azstep = 1;
    zk::covset.azmax = 359;
    return t;
}

double median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

// The peer's time, its start-up and ours (sums over the iterations) as
// counters, with the ratios peer / ours.
void ratios(benchmark::State &state, const std::string &peername, double peer, double startup, double ours)
{
    const double n = double(state.iterations());
    state.counters[peername + "_s"] = peer / n;
    state.counters[peername + "_startup_s"] = startup / n;
    state.counters["ours_s"] = ours / n;
    state.counters["ratio"] = peer / ours;
    state.counters["ratio_minus_startup"] = (peer - startup) / ours;
}

void BM_RadioCoverage50km_vs_Splat(benchmark::State &state)
{
    coveragesetup();
    if (!ondemogrid(state)) return;
    if (const std::string err = makesdf(); !err.empty()) {
        benchfail(state, err);
        return;
    }
    double peer = 0, startup = 0, ours = 0;
    for (auto _ : state) {
        const double p = splat(50), s = splat(1);
        if (p < 0 || s < 0) {
            benchfail(state, "splat failed (Debian package splat)");
            return;
        }
        const double o = ourradio(0.05f);
        peer += p;
        startup += s;
        ours += o;
        state.SetIterationTime(o);
    }
    ratios(state, "splat", peer, startup, ours);
    state.counters["threads"] = zk::workercount();
}
BENCHMARK(BM_RadioCoverage50km_vs_Splat)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

// The default plot (360 radials): the sweep alone (a canvas that keeps
// nothing) against the same sweep painted into the picture by the plot's own
// canvas (cells, contours, progress and refreshes), so that painting's share
// of the sweep shows; and the whole plot as the user starts it, with the
// operation around it (progress set-up, clearing the networks' drawings, the
// keep question answered Yes and its copy, the refresh).
void BM_RadioDefaultPlot_PaintingShare(benchmark::State &state)
{
    coveragesetup();
    if (!ondemogrid(state)) return;
    float fx = 0, fy = 0;
    zk::geotopix(scene().pic, zk::units[1].lon, zk::units[1].lat, fx, fy);
    struct Null : zk::CoverageCanvas {
        void fill(const QPoint *, uint32_t) override {}
        void line(QPoint, QPoint, uint32_t) override {}
    };
    zk::PicBox *box = scene().pic->Picture1;
    // Each iteration's three times, one after another on the same machine
    // state; the counters are medians of each iteration's differences,
    // which neither a stray slow iteration nor a machine that speeds up and
    // slows down from second to second (other work, a virtual machine's
    // neighbours) moves much.
    std::vector<double> sweeps, paintings, operations, shares, sweepcpus, paintingcpus, operationcpus, shows;
    for (auto _ : state) {
        // The sweep the plot itself runs.
        zk::RadioSweep p;
        if (const QString err = zk::radioplotsweep(int(std::lrint(fx)), int(std::lrint(fy)), p); !err.isEmpty()) {
            benchfail(state, err.toStdString());
            return;
        }
        Null c;
        double spacing = 0;
        auto t0 = Clock::now();
        double c0 = cpuseconds();
        benchmark::DoNotOptimize(zk::radiosweep(p, c, spacing));
        const double sweep = seconds(t0), sweepcpu = cpuseconds() - c0;

        box->cls();
        // The cleared picture is shown before the clock starts: in the plot
        // that is the operation's clearing, not its painting.
        QCoreApplication::processEvents();
        zk::runflag = zk::opcoverage;
        zk::progtotal = 359;
        t0 = Clock::now();
        c0 = cpuseconds();
        {
            zk::PictureCanvas canvas(box, false);
            benchmark::DoNotOptimize(zk::radiosweep(p, canvas, spacing));
            canvas.end();
        }
        box->refresh();
        const double painted = seconds(t0), paintedcpu = cpuseconds() - c0;
        zk::runflag = 0;
        state.SetIterationTime(painted);

        c0 = cpuseconds();
        const double plot = ourradio(1), plotcpu = cpuseconds() - c0;
        {
            // The picture shown again as the program returns to its events.
            const auto t1 = Clock::now();
            QCoreApplication::processEvents();
            shows.push_back(seconds(t1));
        }

        sweeps.push_back(sweep);
        paintings.push_back(painted - sweep);
        operations.push_back(plot - painted);
        shares.push_back((painted - sweep) / sweep);
        sweepcpus.push_back(sweepcpu);
        paintingcpus.push_back(paintedcpu - sweepcpu);
        operationcpus.push_back(plotcpu - paintedcpu);
    }
    const double sweep = median(sweeps), painting = median(paintings), operation = median(operations);
    state.counters["sweep_ms"] = 1000 * sweep;
    state.counters["painting_ms"] = 1000 * painting;
    state.counters["operation_ms"] = 1000 * operation;
    state.counters["shown_ms"] = 1000 * median(shows);
    // Goals: painting_share under 0.1, operation_over_painting at most 1.
    state.counters["painting_share"] = median(shares);
    state.counters["operation_over_painting"] = operation / painting;
    // The same in processor time of all threads: the work each part adds.
    const double paintingcpu = median(paintingcpus);
    state.counters["sweep_cpu_ms"] = 1000 * median(sweepcpus);
    state.counters["painting_share_cpu"] = paintingcpu / median(sweepcpus);
    state.counters["operation_over_painting_cpu"] = median(operationcpus) / paintingcpu;
}
BENCHMARK(BM_RadioDefaultPlot_PaintingShare)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(60);

// The map grid as an EHdr raster for GDAL, in metres on a UTM-like plane
// (the map's cells are square, 100 m).
std::string writegrid()
{
    static std::string name;
    if (!name.empty()) return name;
    const int nx = zk::elevgrid.nx(), ny = zk::elevgrid.ny();
    std::vector<int16_t> cells(size_t(nx) * size_t(ny));
    for (int r = 0; r < ny; ++r)
        for (int c = 0; c < nx; ++c) cells[size_t(r) * size_t(nx) + size_t(c)] = zk::elevgrid.at(c, ny - 1 - r);
    const double cell = zk::mapset.size * 1000.0 / (ny - 1);
    std::ofstream((workdir() + "/grid.bil").toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char *>(cells.data()), std::streamsize(cells.size() * 2));
    std::ofstream((workdir() + "/grid.hdr").toStdString())
        << "BYTEORDER I\nLAYOUT BIL\nNROWS " << ny << "\nNCOLS " << nx
        << "\nNBANDS 1\nNBITS 16\nPIXELTYPE SIGNEDINT\nULXMAP 0\nULYMAP " << cell * (ny - 1) << "\nXDIM " << cell
        << "\nYDIM " << cell << "\n";
    name = "grid.bil";
    return name;
}

void BM_VisualCoverage50km_vs_GdalViewshed(benchmark::State &state)
{
    coveragesetup();
    if (!ondemogrid(state)) return;
    const std::string grid = writegrid();
    const int nx = zk::elevgrid.nx(), ny = zk::elevgrid.ny();
    const double cell = zk::mapset.size * 1000.0 / (ny - 1);
    float fx = 0, fy = 0;
    zk::geotopix(scene().pic, zk::units[1].lon, zk::units[1].lat, fx, fy);
    const double ox = fx * cell, oy = (ny - 1 - fy) * cell;
    (void)nx;
    auto viewshed = [&](double radius_m) {
        return run("gdal_viewshed -q -ox " + std::to_string(ox) + " -oy " + std::to_string(oy) +
                   " -oz 10 -tz 2 -md " + std::to_string(radius_m) + " " + grid + " vs.tif");
    };
    double peer = 0, startup = 0, ours = 0;
    for (auto _ : state) {
        const double p = viewshed(50000), s = viewshed(cell * 2);
        if (p < 0 || s < 0) {
            benchfail(state, "gdal_viewshed failed (Debian package gdal-bin)");
            return;
        }
        zk::MsgScript script;  // "Garder la couverture dans l'image?": Yes, the default
        scene().pic->Picture1->cls();
        const auto t0 = Clock::now();
        zk::visualcoverage(QString());
        const double o = seconds(t0);
        peer += p;
        startup += s;
        ours += o;
        state.SetIterationTime(o);
    }
    ratios(state, "viewshed", peer, startup, ours);
}
BENCHMARK(BM_VisualCoverage50km_vs_GdalViewshed)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// draw2d end to end (blocks only: no overlays, no legend) against one
// fastdraw of the whole grid on one thread, as in the engine's own test.
void BM_Draw2d_vs_Fastdraw(benchmark::State &state)
{
    Scene &s = scene();
    if (!ondemogrid(state)) return;
    zk::settings.showobjects = false;
    zk::mapcorners.city = 0;
    zk::showlegend = 0;
    zk::mapset.Mapmode = 5;
    QImage img(zk::elevgrid.nx(), zk::elevgrid.ny(), QImage::Format_RGBX8888);
    const zk::ColorChannels ch = zk::colorchannels();
    double d2 = 0, fd = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        benchmark::DoNotOptimize(zk::draw2d(s.pic, true));
        const double o = seconds(t0);
        d2 += o;
        ZkDC dc = zk::dcOf(img);
        zk::engine::callback(nullptr);
        t0 = Clock::now();
        zk::engine::fastdraw(&zk::mapset, zk::elevgrid.engineArray(), &dc, 0, 0, int16_t(zk::elevgrid.ubound1()),
                             int16_t(zk::elevgrid.ubound2()), zk::alt.data(), ch.red.data(), ch.green.data(),
                             ch.blue.data(), zk::stratcolors <= 0 ? -1 : 0);
        fd += seconds(t0);
        state.SetIterationTime(o);
    }
    const double n = double(state.iterations());
    state.counters["draw2d_ms"] = 1000 * d2 / n;
    state.counters["fastdraw_ms"] = 1000 * fd / n;
    state.counters["draw2d_over_fastdraw"] = d2 / fd;
}
BENCHMARK(BM_Draw2d_vs_Fastdraw)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

}  // namespace
