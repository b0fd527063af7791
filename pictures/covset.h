// The coverage settings: the record `covset` that both coverage plots (radio
// and visual) and the 3D radar view read, saved whole in the network file,
// and the values beside it that are not part of the document.
#pragma once

#include <cstdint>

namespace zk {

struct CoverageSettings {
    float rangemax = 0;      // maximum range, km
    float azmin = 0;         // first radial, degrees clockwise from north
    float azmax = 0;         // last radial, degrees
    float azstep = 0;        // angle between radials, degrees
    float antaz = 0;         // azimuth of the antenna pattern's 0° entry, degrees
    char antfile[20] = {};   // antenna pattern or radar table file, blank-padded
    int16_t thrunit = 0;     // threshold unit: 0 S-units, 1 dBm, 2 µV
    float thrdbm = 0;        // threshold, dBm (carried only)
    int16_t surface = 0;     // -1: paint the covered surface
    uint32_t surfcolor = 0;  // surface colour; 0 the rainbow scale
    int16_t curve = 0;       // -1: draw the contour at the lower level
    uint32_t curvecolor = 0; // contour colour
    float sensorh = 0;       // observer's sensor height above ground, m
    float targeth = 0;       // target height above ground, or altitude (targetmode)
    float rangemin = 0;      // range from which a plot is drawn, km
    uint32_t viscolor = 0;   // colour of the visual plot
};

// Size of the record in the network file: the fields one after the other
// without alignment gaps.
constexpr int kCoverageRecordBytes = 74;

extern CoverageSettings covset;

// Beside the record (not in the network file).
extern float covlow;        // "De (Courbe)" level; setting CovLow, default -107
extern float covhigh;       // "À (Surface)" level; setting CovHigh, default -67
extern uint8_t covdir;      // 0 centre Tx - mobile Rx, 1 centre Rx - mobile Tx; CovDir
extern uint8_t covant;      // turn the antenna along the link; CovAnt
extern int16_t covindex;    // chosen antenna pattern in the dialog's list; CovIndex
extern int16_t targetmode;  // -1 target height above ground, 0 fixed altitude
extern int16_t radarfile;   // the visual dialog's radar-file box (0 or 1)
extern int16_t covdrawmode; // raster mode of the radio plot's fill

// The document reset's part of the record: range, sweep, antenna, threshold,
// surface and curve switches, surface colour and the visual heights. The
// threshold unit, the curve colour, the minimum range and the visual colour
// keep their values; `targetmode` becomes -1.
void resetcoverage();

}  // namespace zk
