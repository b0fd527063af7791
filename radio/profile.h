// The terrain profile between two units: ground elevations sampled from the
// elevation grid along the straight line between them, nearest cell, in the
// array layout the engine's LR expects, with the path length, the azimuth
// and the lowest and highest sample left beside it.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace zk {

constexpr int kProfileSize = 166;      // pfl(0..165), lrloss(0..165)
constexpr int kMaxProfileIntervals = 157;

// pfl(0): the engine's; pfl(1): n intervals (0 = empty); pfl(2): spacing, m;
// pfl(3..n+3): elevations of samples 0 (unit A) .. n (unit B), m.
extern std::array<double, kProfileSize> pfl;
// Results of the last getprofile.
extern float profmin, profmax;  // lowest and highest sample, m (0 when empty)
extern double profdist;         // path length, km (0 when empty)
extern double profaz;           // azimuth A to B, degrees; -1 when off the map

// Samples the profile from unit a to unit b (1..50) and answers n, the
// number of intervals (0: no map extent, a unit off the map, or both in the
// same cell). Rewrites all of pfl and the four results above.
int16_t getprofile(int a, int b);

// Length in km of the path from unit a to unit b, measured as getprofile
// measures it but without sampling and without touching pfl or the results
// above (so also for a path longer than the profile's intervals can hold);
// -1 when getprofile would find no map extent or a unit off the map.
double linkdistance(int a, int b);
// The end-sample rule of the callers that feed the engine: after a profile
// with n > 0, sample 0 becomes unit a's ground elevation and sample n unit
// b's, so the path ends at the sites and not at the cells holding them.
void applyendsamples(int a, int b);

// Why getprofile(a, b) finds no profile, as the radio-link window tells
// the user: " Pas de profil : " and the reason (no elevation map, which
// unit or that both units are off the map, both on one cell); empty when
// there is a profile.
QString emptyprofilereason(int a, int b);

}  // namespace zk
