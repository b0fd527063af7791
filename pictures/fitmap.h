// Fitting the map to a picture: the geographic frame of a picture window (or
// of the selection drawn on it) as the centre, height in km and size in
// pixels of a new map, written into the map-properties dialog, which is then
// shown modal for the user to check and extract.
#pragma once

#include <QSize>

#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

namespace zk {

class frmMapPro;

// Acts on a picture window of kind 1 or 2 whose frame has an extent in
// latitude; does nothing otherwise.
void fitmap(QWidget *pic);

// What fitmap writes: the size in pixels, the centre (degrees) and the
// north-south extent (degrees). Nothing for a window that is not a picture
// of kind 1 or 2, a selection of no width or height, or a frame without
// extent in latitude. `screen` is the screen in pixels; a selection's size
// is scaled to 95 % of it, keeping the selection's proportions.
struct MapFit {
    int32_t width = 0, height = 0;
    float lon = 0, lat = 0;
    float extent_deg = 0;
};
std::optional<MapFit> mapfit(QWidget *pic, QSize screen);

// The north-south extent as the dialog's height box shows it: kilometres on
// a sphere of radius 6367 km, two decimals (halves away from zero), the
// user's decimal separator.
QString extenttext(float extent_deg);

// Test seam: how the filled dialog is shown (null: modal, owned by the main
// window).
extern std::function<void(frmMapPro &)> fitmapshow;

}  // namespace zk
