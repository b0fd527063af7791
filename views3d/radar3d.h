// The radar coverage on a 3D picture: around the current unit, ring after
// ring as a radar table gives the target's height relative to the sensor,
// the targets that the sensor sees over the map in memory (one horizon per
// 6-degree sector) lighten the 3D picture where they lie, so that the
// covered region shows as a pale cloud over the relief.
//
// The sweep (which targets are seen) is split from the painting: it hands
// every visible target to a Radar3DCanvas, which radar3d backs with the
// picture and the tests with a recorder.
#pragma once

#include <QString>

#include <cstdint>

namespace zk {

class frmPic;
struct RadarTable;

// The horizon sector (0..59) of an azimuth in degrees: the azimuth rounded
// to a whole degree, divided by 6 and rounded again (halves to the even
// neighbour both times), brought into 0..59. 3 gives 0, 9 gives 2, 15
// gives 2, 357 gives 0 (60 wraps round).
int radarsector(float az_deg);

// The one uniform generator of the radar coverage, [0, 1): never seeded, so
// every run of the program draws the same sequence. The reset brings it
// back to its first number (for tests).
float radarrandom();
void resetradarrandom();

// A target found visible.
struct RadarTarget {
    float r = 0;       // ring, in table steps (the ring lies at r * step km)
    float az_deg = 0;  // azimuth, degrees clockwise from north
    int px = 0, py = 0;  // the map cell under it
    // Where it is drawn: picture-grid column from the west, row from the
    // south (spread over the cell around the exact position), and its
    // altitude in m above sea level.
    float x = 0, y = 0, z = 0;
};

// Where the sweep puts what it finds.
class Radar3DCanvas {
public:
    virtual ~Radar3DCanvas() = default;
    virtual void target(const RadarTarget &t) = 0;
    // Called after every ring r; false stops the sweep.
    virtual bool ring(float r) { (void)r; return true; }
};

// The inputs of one sweep.
struct Radar3DSweep {
    const RadarTable *table = nullptr;  // n >= 1 entries of `b` km
    float azmin = 0, azmax = 360, azstep = 1;  // degrees (checkazimuths has passed them)
    float h0 = 0;             // sensor altitude, m above sea level
    int cx = 0, cy = 0;       // the sensor's cell on the map in memory
    float gx = 0, gy = 0;     // the sensor on the picture's grid (column from west, row from south)
    float piccells_per_km = 0;  // the picture's grid: h3 / size
    float mapcells_per_km = 0;  // the map in memory: (rows - 1) / mapset.size
};

// Runs the sweep over `elevgrid`. False when the canvas stopped it.
//
// Whatever the table and settings hold, the sweep ends: it stops at the
// first ring that lies wholly off the map (later rings are larger), and
// every ring lies at least a sixteenth of a map cell beyond the one before
// (a steep table would otherwise bring them so close that they never
// advance in single precision).
bool radar3dsweep(const Radar3DSweep &p, Radar3DCanvas &canvas);

// Whether the 3D picture shows the map in memory: its corners within
// 0.0001 degree of the map's, and its grid bounds (w3, h3) the grid's.
// The sweep tests the map in memory while the drawing uses the picture's
// own projection, so over another map the cloud would lie over the wrong
// terrain.
bool radar3dsamemap(const frmPic *w);

// Draws the radar coverage of unit `curunit` on the 3D picture `w` with the
// radar table file `table` (from the program folder), as the long
// operation opcoverage, then asks whether to keep it ("la couverture ").
//
// Refused with the reason in the message pane, before anything is begun or
// cleared: no table named, a table that cannot be read or is unsound (count,
// step, values: readradar), azimuth settings that cannot be swept, a 3D
// picture not drawn from the map in memory. Nothing drawn and "Arrêté par
// l'utilisateur." (as the program always said): a window that is not a 3D
// picture, a unit off the picture, behind the camera or off the map.
void radar3d(frmPic *w, const QString &table);

}  // namespace zk
