// The 3D view: the eight parameters of the camera (record `View3D`, one
// instance `view3d`), the fifteen projection coefficients derived from them,
// the altitude at which networks are drawn on 3D pictures, and the projection
// of one grid point into a screen-sized picture.
//
// Grid frame: x is the elevation grid's first index (west to east), y its
// second (south to north), z the elevation in metres.
#pragma once

#include <cstdint>

namespace zk {

// Eight singles in this order and nothing else: the properties dialog saves
// and restores the record as one 32-byte block.
struct View3D {
    float amplx = 0;  // relief exaggeration, 0.001..10
    float phi = 0;    // tilt of the line of sight from the vertical, degrees 0..89
    float theta = 0;  // azimuth of the line of sight, degrees clockwise from north, 0..359
    float disto = 0;  // camera distance, 200..2000 (one cell spans 1000 / disto pixels at the centre)
    float aper = 0;   // perspective factor, 1..5
    float size = 0;   // north-south extent of the map, km, 0.1..4000
    float ofx = 0;    // picture x of the view centre, pixels (not clamped)
    float ofy = 0;    // picture y of the view centre, pixels (not clamped)
};
static_assert(sizeof(View3D) == 32, "View3D is saved as one 32-byte block");

// The projection coefficients, written only by set3dparams (and, for
// gridcx, gridcy and zscale, by the users that draw on an existing 3D
// picture right after it).
struct Projection3D {
    float kx1 = 0, ky1 = 0;
    float kx2 = 0, ky2 = 0, kz2 = 0;
    float kx3 = 0, ky3 = 0, kz3 = 0;
    float scrx = 0, scry = 0;
    float gridcx = 0, gridcy = 0;
    float focal = 0;
    float camdist = 0;
    float zscale = 0;  // grid cells per metre of elevation
};

// A projected point: pixels, x to the right, y downward (the point layout
// of a polygon call).
struct ProjPoint {
    int32_t x = 0;
    int32_t y = 0;
};

extern View3D view3d;
extern Projection3D proj3d;
// Altitude in m at which networks are drawn on 3D pictures (readers replace
// an exact 0 by 2000).
extern float netalt;
// -1: the next 3D drawing opens a new picture window; 0: it redraws the
// active 3D picture.
extern int16_t new3d;

// Flight and stereo values that the document reset sets (the flight
// recorder and player and the stereo pictures use them).
extern float eyedist;   // stereo eye distance, m
extern float flyspeed;  // flight speed, m/s
extern float flyfps;    // frames per second

// keep = 0: default parameters (and netalt 2000); otherwise the current ones
// clamped. Then recomputes the coefficients from the parameters and from the
// elevation grid's bounds as they are now.
void set3dparams(int16_t keep);

// Projects grid point (x, y, z). Returns -1 and fills pt when the point lies
// in front of the camera (depth > 1), else 0 with pt untouched.
int16_t project3d(float x, float y, float z, ProjPoint &pt);

}  // namespace zk
