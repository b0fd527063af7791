// Reading a path file, the text file in which the main program's radio-link
// window hands one path to the viewer: header lines, a "Start" line, the two
// sites, the frequency, K, then one TAB-separated line per sample.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>

#include "pathstate.h"

class QIODevice;

namespace zk::pathviewer {

// Bounds on what is read. A path file is a few kilobytes; anything far
// beyond these is not one, and is reported as a damaged file instead of
// being read to its end.
constexpr qsizetype kMaxLineBytes = 64 * 1024;  // one line
constexpr qint64 kMaxHeaderBytes = 1024 * 1024; // everything before the start line

// What one reading found. The caller applies it to the viewer's state only
// when the reading reached its end (redraw): then every value flagged as
// read replaces the viewer's own, the others are kept. A reading that
// stopped short changes nothing.
struct PathFileData {
    int messages = 0;      // "Error in file!" boxes the reading asks for, in order
    bool redraw = false;   // the profile is to be redrawn afterwards

    std::array<bool, 3> hasName{};    // sites 1, 2
    std::array<QString, 3> sitename;
    std::array<bool, 3> hasAnt{};
    std::array<float, 3> siteant{};
    bool hasFreq = false;  // a frequency above 0 was given
    float freq = 0;        // GHz
    bool hasK = false;     // a K above 0 was given
    float kfactor = 0;

    int samples = 0;       // sample lines read (at most kSamples)
    SampleFloats pdist{};
    SampleFloats palt{};
    SampleBytes pcode{};
    SampleFloats pcover{};
};

// True for the start line: its first five characters, blanks around them
// removed, are "start" in any case.
bool isStartLine(const QByteArray &line);

// Reads the file from the device's current position. Never reads more than
// the bounds above before giving up; never fails otherwise.
PathFileData readPathFile(QIODevice &in);

}  // namespace zk::pathviewer
