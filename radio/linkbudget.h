// Link budget and path loss: the engine's parameter block filled from the
// radio tables, the system gain both ways, the path loss by the engine's LR
// with the optional urban factor, the link margin, and S-meter steps.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "engine.h"
#include "radio/profile.h"
#include "zelkor32.h"

namespace zk {

// The one parameter block of LR, as the last link computation left it;
// `interf` keeps the propagation mode chosen in the main window's menu.
extern LinkParameters lrprm;
// Per-point losses: lrloss(i + 3) = loss in dB from A to sample i.
extern std::array<double, kProfileSize> lrloss;
extern double sysgainab;  // system gain A to B of the last linkparams, dB
extern double sysgainba;  // system gain B to A, dB
extern double urban;      // urban factor added by the last calcloss, dB (0 none)

// Loss used when the propagation model cannot be called, dB.
constexpr double kFailedLoss = 1000;

// Fills the in-fields of lrprm (all but interf and firstpt) for units a and
// b in network net, and the system gains both ways. A unit whose system
// number in the network is out of 1..25 (a damaged or foreign file) makes
// the link not computable: both gains 0, the unit named in a message
// "Système radio <s> inconnu pour <unit> dans le réseau <net>" (once per
// LinkOperation), and every calcloss until the next linkparams answers the
// 1000 dB failure loss without calling LR. Answers whether the link is
// computable.
bool linkparams(int a, int b, int net);

// Calls LR on pfl (prepared by getprofile and the end-sample rule) with
// lrprm (prepared by linkparams for network net), for the whole path only
// when `whole` is non-zero, else for every sample; adds the urban factor
// when the network has it; answers the margin of the worse direction,
// min(sysgainab, sysgainba) - lrprm.loss, in dB. When LR cannot be called,
// or refuses the profile (n outside 1..160), the loss is 1000 dB and
// "Erreur dans la DLL" / "Calcul impossible." is shown (once per
// LinkOperation).
double calcloss(int a, int b, int net, int whole);

// A level in dB above the receiver threshold as an S-meter reading at the
// frequency (MHz): 0..9 the S-unit, 10..60 S9 plus that many dB.
int16_t sunits(float level, float freq);

// The urban factor at distance d_m from A for a frequency in MHz:
// max(1, 16.5 + log10(f / 100) - 0.00012 d).
double urbanfactor(double freq_mhz, double dist_m);

// One link operation (a network drawing, a coverage sweep, the report):
// while one exists, a propagation model that cannot be called is reported
// once, at its first failing call, instead of once for every link. Without
// one, every failing call reports. Operations nest: the outermost decides.
class LinkOperation {
public:
    LinkOperation();
    ~LinkOperation();
    LinkOperation(const LinkOperation &) = delete;
    LinkOperation &operator=(const LinkOperation &) = delete;
    // Whether the model failed since the outermost operation began.
    static bool failed();
};

// The propagation model, bound on the calling thread and callable from any
// thread afterwards: the engine's LR, or the model a test has set.
class LossModel {
public:
    LossModel();
    // Runs the model; false when it cannot be called.
    bool run(double *pfl, double *loss, LinkParameters *prm) const;
    // Whether calls may run on several threads at once (the engine's model
    // keeps no state between calls; a test's model may).
    bool reentrant() const { return !test_; }
    // Whether the last linkparams found the link computable.
    bool computable() const { return computable_; }

private:
    engine::LRFunction fn_ = nullptr;
    std::function<bool(double *, double *, LinkParameters *)> test_;
    bool computable_ = true;
};

// The loss along a profile exactly as calcloss computes it, on the caller's
// own profile, losses and parameter block, so that several can run at once:
// LR over the whole path (whole non-zero) or every sample, then the urban
// factor of network net (set in `urban`, 0 when none). Answers false when
// the model could not be called; prm.loss is then 1000 dB.
bool pathloss(const LossModel &model, double *pfl, double *loss, LinkParameters &prm, int net, int whole,
              double &urban);

// Tells the user the propagation model could not be called, as calcloss
// does: once per LinkOperation.
void reportmodelfailure();

// Test seam: the propagation model calcloss calls, answering false when it
// cannot be called. Empty restores the engine's LR.
using LinkModel = std::function<bool(double *pfl, double *lrloss, LinkParameters *prm)>;
void setLinkModelForTest(LinkModel model);

}  // namespace zk
