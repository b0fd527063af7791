// The coverage plots: the radio coverage (polarcoverage), which sweeps radials
// around a central station and paints the received level of every sample
// point, and the visual coverage (visualcoverage), a line-of-sight sweep
// around an observer; the antenna-pattern and radar-table readers they use,
// and the offer to redraw the picture as a lunar landscape before a plot.
//
// Each sweep is split from its drawing: the sweep hands its cells, contour
// segments and radials to a CoverageCanvas, which the plots back with the
// picture box and the tests with a recorder.
#pragma once

#include <QPoint>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace zk {

class frmPic;

// Where a sweep puts what it finds.
class CoverageCanvas {
public:
    virtual ~CoverageCanvas() = default;
    // A cell (quadrilateral of 4 pixel points) filled in colour (red low byte).
    virtual void fill(const QPoint *quad, uint32_t colour) = 0;
    // A contour segment.
    virtual void line(QPoint a, QPoint b, uint32_t colour) = 0;
    // Step i of radial k: level m (radio sweep) or seen flag (visual), for
    // tests and readings; the default ignores it.
    virtual void cell(int k, int i, double value) { (void)k; (void)i; (void)value; }
    // Called after radial k; false stops the sweep.
    virtual bool radial(int k) { (void)k; return true; }
};

// The antenna pattern: up to 360 gains, dB, read in order and clamped to
// -100..100; the others stay 0. Answers "" when read, else the reason the
// file cannot be used (a name that is given but not found, a value that is
// not a number). An empty name, or "omni.ant" that is not there, is the
// omnidirectional pattern.
QString readantenna(const QString &name, std::array<float, 360> &gain);

// The radar table: n bins of b km, lo(j) and hi(j) for j = 1..n (indices 0
// and n + 1 are 0).
struct RadarTable {
    int n = 0;
    double b = 0;
    std::vector<float> lo, hi;
};
// Largest bin count a radar table may announce.
constexpr int kMaxRadarBins = 100000;
// Reads a radar table file; "" when it is sound, else the reason.
QString readradar(const QString &name, RadarTable &t);

// The lower and upper level, dB above the receiver's threshold, of the radio
// plot for the thresholds covlow/covhigh in unit thrunit at freq MHz, with
// the receiver threshold thr (dBm) for the dBm units; rainbow sets U from L
// in S-unit mode.
void coveragelevels(int thrunit, float covlow, float covhigh, float freq, float thr, bool rainbow,
                    float &L, float &U);

// The rainbow colour index (0..11) of a level m; counted when above 0.
int rainbowindex(int thrunit, double m, float L, float U, float covlow, float covhigh, float freq);

// The inputs of one radio sweep.
struct RadioSweep {
    int x0 = 0, y0 = 0;       // station pixel
    int a = 0, b = 0, net = 0; // central station, mobile unit, network
    int thrunit = 1;
    float covlow = 0, covhigh = 0;
    float L = 0, U = 0;
    int covdir = 0;
    bool surface = true, curve = false;
    uint32_t surfcolor = 0, curvecolor = 0;
    float rangemax = 0, rangemin = 0, azmin = 0, azmax = 0, azstep = 1, antaz = 0;
    std::array<float, 360> pattern{};
};
// Runs the sweep on elevgrid; answers the area sum (sum of the counted
// steps) and sets spacing_m, the sample spacing. linkparams must have been
// called for (a, b, net).
double radiosweep(const RadioSweep &p, CoverageCanvas &canvas, double &spacing_m);

// The inputs of one visual sweep.
struct VisualSweep {
    int x0 = 0, y0 = 0;
    float hs = 0;             // sensor altitude, m
    float targeth = 2;
    bool abovegound = true;   // targetmode non-zero
    float rangemax = 0, rangemin = 0, azmin = 0, azmax = 0, azstep = 1;
    uint32_t colour = 0;
    const RadarTable *radar = nullptr;
};
// Runs the visual sweep on elevgrid.
void visualsweep(const VisualSweep &p, CoverageCanvas &canvas);

// Whether an azimuth sweep can be run: "" or the reason it cannot (a step
// that is not a positive number, an end before the start or not a number,
// more than a million steps). The settings come from the network file and
// may hold anything.
QString checkazimuths(float azmin, float azmax, float azstep);

// Whether the sweep settings can be drawn: "" or the reason they cannot
// (zero or negative range or step, an end before the start, no map).
QString checksweep(float rangemax, float azmin, float azmax, float azstep);

// The sweep the radio plot runs for the current link (linka, linkb and
// linknet, which must name one: polarcoverage checks them first) from
// picture point (x0, y0), the central station's, with the coverage settings
// and the link's parameters (linkparams is run). Answers "" when it can be
// drawn, else the reason: the settings, the antenna file, levels out of
// order, nothing to draw.
QString radioplotsweep(int x0, int y0, RadioSweep &p);

// The plots, drawn on curpic.
void polarcoverage();
void visualcoverage(const QString &file);
// Offers to redraw curpic as a lunar landscape.
void lunarmode();

}  // namespace zk
