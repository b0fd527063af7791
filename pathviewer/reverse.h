// The path seen from its other end.
#pragma once

#include "pathstate.h"

namespace zk::pathviewer {

// Swaps the sites and turns the samples round: the run of samples from 1 up
// to the last of the consecutive ones with a distance above 0 (from sample 2
// on) is mirrored, each distance becoming the run's length minus itself.
// Frequency and K are unchanged; the clearances wait for the next drawing.
void reversePath(PathState &s);

}  // namespace zk::pathviewer
