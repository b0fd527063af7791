// The link-loss operation LR and the steps of it that tests reach directly.
#pragma once

#include "itm.h"

namespace zk::itm {

// Inputs of the terrain-clearance term of one line-of-sight cut. The values
// are the caller's own, not the model's clamped copies.
struct ClearanceInput {
    const double *pfl = nullptr;  // LR's profile: [2] spacing m, [3 + k] elevation of point k, m
    int cut = 0;                  // the cut ends at point `cut` (1..160)
    double freq_mhz = 0;
    double ns = 0;                // surface refractivity, N-units
    double h1_m = 0, h2_m = 0;    // antenna heights above ground
    double dh_m = 0;              // the model's terrain irregularity of the cut
    bool interf = false;          // interference mode: favour the stronger signal
};

// The reference attenuation (dB) that replaces or bounds the model's value
// `aref_db` on a line-of-sight cut. `vmax` receives the largest diffraction
// parameter over the interior points (-1e20 when there are none).
double clearanceAref(const ClearanceInput &in, double aref_db, double *vmax = nullptr);

// The model's working state as the last LR on this thread left it (a call
// refused before the model ran leaves it as it was).
const State &modelState();

}  // namespace zk::itm
