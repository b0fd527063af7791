// UTM and MGRS on the datum of map/datum.h.
//
// The forward conversion gives the 6-degree zone of the longitude with no
// regional exception (Norway and Svalbard keep their plain zones), the
// easting and northing rounded to 10 m, and the MGRS text
//   "31UDQ 52450 12460" laid out as: zone (2 digits), band letter, space,
//   column and row letters, space, five digits of easting, space, five
//   digits of northing.
// The row letters are counted with the datum's row offset: 0 gives the
// lettering of the current MGRS on WGS 84 (row A at the equator in odd
// zones), 10 the older lettering.
#pragma once

#include <QString>

#include <cstdint>

namespace zk {

extern int32_t utmzone;   // zone of the last latlontoutm() call
extern int32_t utmeast;   // its easting, m, rounded to 10 m
extern int32_t utmnorth;  // its northing, m, rounded to 10 m, negative south of the equator

// The MGRS text of a position; sets utmzone, utmeast and utmnorth. A
// position that cannot be converted at all (not a number, far outside the
// Earth's ranges) gives an empty text and leaves the three values alone.
QString latlontoutm(double lon, double lat);

// Reads an MGRS reference (any case; blanks and other characters ignored)
// into lon and lat. False, with lon and lat unchanged, when the text is not
// a readable reference.
bool utmtolatlon(const QString &text, float &lon, float &lat);

}  // namespace zk
