#include "radio/linkbudget.h"

#include <algorithm>
#include <cmath>

#include "base/routines.h"
#include "engine.h"
#include "msgbox.h"
#include "radio/radiodata.h"
#include "radio/roles.h"

namespace zk {

LinkParameters lrprm{};
std::array<double, kProfileSize> lrloss{};
double sysgainab = 0;
double sysgainba = 0;
double urban = 0;

namespace {
LinkModel g_model;  // tests only
int g_opdepth = 0;       // LinkOperation nesting
bool g_opreported = false;  // the outermost operation has shown the message
bool g_opfailed = false;
bool g_opsysreported = false;  // the outermost operation has named a unit without system
// Whether the last linkparams found a radio system for both ends: a link
// whose system is unknown has no gains, and is never rated with figures
// left over from another link.
bool g_computable = true;

// Transmitter power in dBm, with 1e-8 W (-50 dBm) as the floor.
double powerdbm(float watts) { return 10 * std::log10(std::max(double(watts), 1e-8)) + 30; }

double systemgain(const SystemRecord &tx, const SystemRecord &rx)
{
    return powerdbm(tx.power) - tx.loss + tx.gain + rx.gain - rx.loss - rx.threshold;
}

const SystemRecord *systemof(const NetRecord &n, int unit)
{
    const int s = n.system[unit - 1];
    return (s >= 1 && s <= kSystems) ? &systems[s] : nullptr;
}

void reportfailure()
{
    if (g_opdepth > 0) {
        g_opfailed = true;
        if (g_opreported) return;
        g_opreported = true;
    }
    msgbox(QStringLiteral("Erreur dans la DLL\r\nCalcul impossible."), mbExclamation | mbOK, QStringLiteral(""));
}

void reportnosystem(int unit, int net, int s)
{
    if (g_opdepth > 0) {
        if (g_opsysreported) return;
        g_opsysreported = true;
    }
    msgbox(QStringLiteral("Système radio ") + QString::number(s) + QStringLiteral(" inconnu pour ") +
               fixedText(units[unit].name).trimmed() + QStringLiteral(" dans le réseau ") +
               fixedText(nets[net].name).trimmed() + QStringLiteral("\r\nCalcul impossible."),
           mbExclamation | mbOK, QStringLiteral(""));
}
}  // namespace

void setLinkModelForTest(LinkModel model) { g_model = std::move(model); }

LinkOperation::LinkOperation()
{
    if (g_opdepth++ == 0) {
        g_opreported = false;
        g_opfailed = false;
        g_opsysreported = false;
    }
}

LinkOperation::~LinkOperation() { --g_opdepth; }

bool LinkOperation::failed() { return g_opfailed; }

bool linkparams(int a, int b, int net)
{
    if (net < 1 || net > kNets || a < 1 || a > kUnits || b < 1 || b > kUnits) return g_computable = false;
    const NetRecord &n = nets[net];
    const SystemRecord *sa = systemof(n, a);
    const SystemRecord *sb = systemof(n, b);
    g_computable = sa && sb;
    if (g_computable) {
        sysgainab = systemgain(*sa, *sb);
        sysgainba = systemgain(*sb, *sa);
    } else {
        // No gain is known either way: the link counts as the worst there is.
        sysgainab = sysgainba = 0;
        const int u = sa ? b : a;
        reportnosystem(u, net, n.system[u - 1]);
    }
    lrprm.ns = n.ns;
    lrprm.pol = n.polar;
    lrprm.eps = n.eps;
    lrprm.sigma = n.sigma;
    lrprm.climate = n.climate;
    lrprm.mdvar = n.statmode % 100;
    // A height comes from the override, or from a system that exists (0 m
    // without either, never the previous link's).
    lrprm.h1 = antheight(net, a);
    lrprm.h2 = antheight(net, b);
    lrprm.ptime = n.ptime;
    lrprm.ploc = n.ploc;
    lrprm.psit = n.psit;
    lrprm.freq = (double(n.fmin) + double(n.fmax)) * 0.5;
    return g_computable;
}

double urbanfactor(double freq_mhz, double dist_m)
{
    return std::max(1.0, 16.5 + std::log10(freq_mhz / 100) - 0.00012 * dist_m);
}

LossModel::LossModel() : fn_(g_model ? nullptr : engine::lrfunction()), test_(g_model), computable_(g_computable) {}

bool LossModel::run(double *pfl, double *loss, LinkParameters *prm) const
{
    if (test_) return test_(pfl, loss, prm);
    if (!fn_) return false;
    // LR answers 0 when it refuses the profile (no interval, or more than it
    // takes): it computed nothing, and prm still holds earlier figures.
    return fn_(pfl, loss, prm) != 0;
}

bool pathloss(const LossModel &model, double *pfl, double *loss, LinkParameters &prm, int net, int whole,
              double &urban)
{
    const int n = std::clamp(int(roundEven(pfl[1])), 0, kProfileSize - 4);
    prm.firstpt = whole != 0 ? n : 0;

    urban = 0;
    if (!model.computable()) {
        // Not computable (linkparams said why): the whole path and every
        // point get the failure loss, so that nothing counts as received.
        for (int k = std::max(prm.firstpt, 1); k <= n; ++k) loss[size_t(k + 3)] = kFailedLoss;
        prm.loss = kFailedLoss;
        return true;
    }

    const bool ok = model.run(pfl, loss, &prm);
    if (!ok) prm.loss = kFailedLoss;

    if (net >= 1 && net <= kNets && nets[net].statmode >= 100) {
        // The factor shrinks by 0.12 dB per km from A: walking back from B,
        // t grows by one spacing's worth per sample.
        const double s = pfl[2];
        double t = 16.5 + std::log10(prm.freq / 100) - 0.00012 * n * s;
        urban = std::max(1.0, t);
        prm.loss += urban;
        for (int k = n + 3; k >= prm.firstpt + 3; --k) {
            if (loss[size_t(k)] != 0) loss[size_t(k)] += std::max(1.0, t);
            t += 0.00012 * s;
        }
    }
    return ok;
}

void reportmodelfailure() { reportfailure(); }

double calcloss(int a, int b, int net, int whole)
{
    Q_UNUSED(a);
    Q_UNUSED(b);
    if (!pathloss(LossModel(), pfl.data(), lrloss.data(), lrprm, net, whole, urban)) reportfailure();
    return std::min(sysgainab, sysgainba) - lrprm.loss;
}

int16_t sunits(float level, float freq)
{
    const double step = freq < 30 ? 6 : 3;
    // Levels far beyond the scale answer its ends (and stay convertible).
    const double l = std::clamp(double(level), -1e6, 1e6);
    if (l < 9 * step) return int16_t(std::clamp<long long>(roundEven(l / step + 1), 0, 9));
    return int16_t(std::clamp<long long>(roundEven((l - 8 * step) / 10) * 10, 10, 60));
}

}  // namespace zk
