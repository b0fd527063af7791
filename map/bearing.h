// The bearing of a step on a grid or a picture, from its north and east
// components: the geodesy that the profile, the UTM grid's north arrow and
// the link windows share.
#pragma once

namespace zk {

// Bearing of the vector (deast, dnorth), radians clockwise from north, in
// [0, 2 pi); 0 when both are 0. The northward component comes first.
double azimuth(double dnorth, double deast);

}  // namespace zk
