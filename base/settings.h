// The per-user settings store: one section "Settings" under the application
// title, values kept as text, keys matched without regard to case. The
// settings-backed variables of the program live here, with the readers that
// fill them at start-up and the writer that stores them at exit.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace zk {

// The stored text of a key, or the default as text when the key is absent.
QString readsetting(const QString &key, const QString &def);
QString readsetting(const QString &key, const char *def);
QString readsetting(const QString &key, double def);
QString readsetting(const QString &key, int def);
QString readsetting(const QString &key, bool def);
// Stores the text under the key (reusing the stored spelling of the key).
void writesetting(const QString &key, const QString &text);

// Conversions of a stored text; each answers nothing when the text does not
// convert or does not fit, and the caller then keeps its variable as it was.
std::optional<bool> settingBool(const QString &text);
std::optional<double> settingFloat(const QString &text);            // locale number
std::optional<int64_t> settingWhole(const QString &text, int64_t lo, int64_t hi);  // locale number, half-even
double leadingNumber(const QString &text);                           // "." only, blanks ignored, 0 when none
std::optional<int64_t> settingLeading(const QString &text, int64_t lo, int64_t hi);

// Writers' forms.
QString boolText(bool v);            // "True" / "False"
QString wholeText(int64_t v);        // decimal digits
QString floatText(double v);         // user's locale, up to 7 significant digits

// The settings-backed variables.
struct AppSettings {
    QString lastproject;
    QString adrgdrive, objectdrive;
    QString drawfontname;
    int16_t drawfontsize = 0;
    bool drawfontbold = false, drawfontitalic = false, drawtransparent = false, showobjects = false;
    float defh1 = 0, defh2 = 0;
    std::array<QString, 4> mru;
    std::array<QString, 3> drv;
    bool ignoremissing = false;
    int32_t gpsflags = 0;
    int16_t gpscom = 0, gpsbaud = 0, gpsunit = 0, gpsttl = 0;
    QString gpslog, gpsaddr;
    int32_t gpsport = 0;
    float gpstx = 0, gpsdraw = 0, gpsplay = 0;
};
extern AppSettings settings;

// The main window's placement as stored (twips); zeros when not in the normal state.
struct WindowPlacement {
    double left = 0, top = 0, width = 0, height = 0;
    bool normal = true;
    // Whether each stored value (left, top, width, height) was a number.
    bool ok[4] = {true, true, true, true};
};

// Reads every start-up key into `settings` (the recent files are read raw;
// the recent-files list filters them). The GPS log-replay bit is cleared.
void readstartupsettings();
// Reads the main window's placement (defaults 1000, 1000, 6500, 6500).
WindowPlacement readplacement();
// Writes the exit keys in their fixed order.
void writeexitsettings(const WindowPlacement &main);

// Named readers used by the windows that own their keys.
bool readIgnoreMissing();
float readCovFloat(const QString &key, float def);

}  // namespace zk
