// What the path viewer knows about the path it shows: the values read from
// the path file, the options of the last drawing and what the drawing
// computed for every sample. One instance, owned by the window.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace zk::pathviewer {

// Samples are numbered 1..kSamples, sample 1 at the left site; entry 0 of
// every table is unused.
constexpr int kSamples = 200;

using SampleFloats = std::array<float, kSamples + 1>;
using SampleBytes = std::array<uint8_t, kSamples + 1>;

// A colour with red in the low byte, as 0x00BBGGRR.
constexpr uint32_t rgb(int r, int g, int b) { return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16); }

struct PathState {
    QString pathfile;                        // name last given to loadpath
    std::array<QString, 3> sitename;         // 1 left, 2 right; stored whole
    std::array<float, 3> siteant{};          // antenna heights above ground, m
    double pathfreq = 0.3;                   // GHz
    float kfactor = 1.3333333f;              // effective Earth-radius factor

    SampleFloats pdist{};                    // km from the left site
    SampleFloats palt{};                     // ground altitude, m
    SampleBytes pcode{};                     // cover colour code, 0 = none
    SampleFloats pcover{};                   // cover height above ground, m
    SampleFloats pclear{};                   // clearance, multiples of the first Fresnel radius
    SampleFloats pbulge{};                   // Earth bulge, m
    SampleFloats pfresnel{};                 // first Fresnel radius, m
    std::array<float, 3> endalt{};           // ground altitude of the first and last used sample

    std::array<uint32_t, 10> pathcolor{rgb(100, 50, 20), rgb(170, 110, 40), rgb(110, 210, 255)};  // earth, ground, sky
    QString linebreak = QStringLiteral("\n\r");  // the viewer's labels break lines with LF then CR

    bool curveground = false;                // curvature on the ground (true) or on the beam
    std::array<bool, 4> fresnelopt{};        // 0.6, 1 and 2 zone lines, clearance line
    float altmin = 0, altmax = 0;            // m at the bottom and top of the drawn range
    float distmin = 0, distmax = 0;          // km at the left and right edges; distmax 0 = nothing drawn yet
    double minclear = 0;                     // smallest clearance of the drawn path
    double mincleardist = 0;                 // its distance, km
    int16_t cursorpos = 0;                   // sample under the cursor, 0 = not placed
};

}  // namespace zk::pathviewer
