// The long-operation protocol: one run flag that holds the running
// operation's code and doubles as the stop request, the progress hook that
// every long loop (in the engine and here) reports to, and the begin/end
// steps that put the interface into its running state and back.
#pragma once

#include <cstdint>

class QWidget;

namespace zk {

// Operation codes.
enum OpCode : int16_t {
    opdraw2d = 1,
    opgtopo30 = 2,
    opreadmap = 3,
    opmapstats = 4,
    opterrain = 5,
    opdted = 6,
    opdraw3d = 7,
    opadrg = 8,
    oppanorama = 9,
    opmerge = 10,
    opcoverage = 11,
    opstereo = 12,
    opgifmerge = 13,
};

// 0 idle or stop requested; 1..13 the running operation; other uses as the
// windows themselves describe (dialog applied, replay running/paused, -1).
extern int16_t runflag;
extern int32_t progcount;   // units of work done by the running operation
extern float progtotal;     // total the progress is measured against
extern int32_t tilecount;   // tiles the operation will process (set before beginop)
extern QWidget *mergepic;   // picture box written by a merge
extern QWidget *viewpic;    // picture box drawn by a panorama or flight frame
// The elevation grid's last indices (x, y), in which several operations
// count their progress. The map installs it; without it both are 0.
extern void (*opgridbounds)(int32_t &x, int32_t &y);

// Puts the interface into its running state and sets runflag to the code.
void beginop(int16_t code);
// The progress hook: pumps events, reports progress, answers 0 once runflag is 0.
int32_t opcallback(int32_t counter);
// Draws the progress bar for a value measured against progtotal (the value
// itself is the fraction when progtotal is 0): at most four times a second
// and only when the whole percentage changed; 0 or less hides the bar.
void showprogress(double value);

// While one exists the engine's progress reports, from whatever thread,
// pump no events and draw nothing: they only say whether to go on. For work
// split across threads, which writes into a picture that must not change
// meanwhile; the caller reports between the parts.
class QuietProgress {
public:
    QuietProgress();
    ~QuietProgress();
    QuietProgress(const QuietProgress &) = delete;
    QuietProgress &operator=(const QuietProgress &) = delete;
};

// The work of the running operation is done, and it waits on the user
// (the "Garder ... dans l'image?" question) before endop: the bar is drawn
// full at once, so that it never stands at the last percentage the
// quarter-second interval let through. Nothing when no operation runs.
void showprogressdone();
// Restores the interface and reports "Complété." or "Arrêté par l'utilisateur.".
void endop();

// The status text of an operation code ("" for codes outside 1..13).
const char *optext(int code);

// Test seams: the clock showprogress measures its 0.25 s with (seconds that
// never go back; null restores the real one), and its kept values back to
// their state at program start.
void setProgressClock(double (*clock)());
void resetProgressState();

}  // namespace zk
