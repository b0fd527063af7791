// What the map code needs from the rest of the main program: the colour scale,
// the picture windows and the main window's message pane. The owners of those
// install their functions here at start-up; until they do, the map code goes
// on without them (an empty service is a step that is skipped).
#pragma once

#include <QString>

#include <functional>

namespace zk {

struct MapServices {
    // Spreads the altitude thresholds of the colour scale between mapset.minx
    // and mapset.maxx (initcolors of the colour scale).
    std::function<void()> initcolors;
    // Opens the companion picture of a converted old-layout map as a picture
    // of kind 1, makes it the current picture and gives it the corners of
    // mapcorners; does nothing when the picture file is not found.
    std::function<void(const QString &picture)> opencompanion;
    // Shows a text in the main window's message pane. When empty, the text goes
    // to the label "Label2" of the main window, when there is one.
    std::function<void(const QString &text)> message;
};
extern MapServices mapservices;

// The three services, each skipped when it cannot run.
void mapinitcolors();
void mapopencompanion(const QString &picture);
void mapmessage(const QString &text);

// Lets pending window events run (the long loops of the map code call it).
void mappump();

// The hourglass pointer for the lifetime of the object (only with a GUI).
class MapBusyCursor {
public:
    MapBusyCursor();
    ~MapBusyCursor();
    MapBusyCursor(const MapBusyCursor &) = delete;
    MapBusyCursor &operator=(const MapBusyCursor &) = delete;

private:
    bool set_ = false;
};

}  // namespace zk
