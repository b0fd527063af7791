// LR on a 160-interval profile: the whole path (firstpt = n, as the network
// quality computation calls it) and every point (firstpt = 1, as the radial
// sweep of a coverage plot calls it). Goals on one core: 400,000 whole-path
// calls and 4,000 per-point calls a second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "zelkor32.h"

namespace {

struct Link {
    std::vector<double> pfl = std::vector<double>(166, 0.0);
    std::vector<double> loss = std::vector<double>(166, 0.0);
    LinkParameters prm{};
};

// A 40 km path over rolling hills at 450 MHz: a mix of line-of-sight and
// obstructed cuts along the profile.
Link makeLink(int firstpt, double relief)
{
    Link l;
    l.pfl[1] = 160;
    l.pfl[2] = 250.0;
    for (int k = 0; k <= 160; ++k)
        l.pfl[k + 3] = 300.0 + relief * std::sin(2 * 3.14159265358979 * 3 * k / 160.0)
                       + 0.4 * relief * std::sin(2 * 3.14159265358979 * 11 * k / 160.0 + 0.7);
    LinkParameters &p = l.prm;
    p.freq = 450.0;
    p.ns = 301.0;
    p.eps = 15.0;
    p.sigma = 0.005;
    p.pol = 1;
    p.climate = 5;
    p.mdvar = 1;
    p.h1 = 30.0;
    p.h2 = 10.0;
    p.ptime = 50.0;
    p.ploc = 50.0;
    p.psit = 50.0;
    p.interf = 0;
    p.firstpt = firstpt;
    return l;
}

void run(benchmark::State &state, int firstpt, double relief)
{
    Link l = makeLink(firstpt, relief);
    for (auto _ : state) {
        benchmark::DoNotOptimize(LR(l.pfl.data(), l.loss.data(), &l.prm));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_LR_WholePath_Hills(benchmark::State &s) { run(s, 160, 60.0); }
void BM_LR_WholePath_Gentle(benchmark::State &s) { run(s, 160, 4.0); }
void BM_LR_PerPoint_Hills(benchmark::State &s) { run(s, 1, 60.0); }
void BM_LR_PerPoint_Gentle(benchmark::State &s) { run(s, 1, 4.0); }

}  // namespace

BENCHMARK(BM_LR_WholePath_Hills);
BENCHMARK(BM_LR_WholePath_Gentle);
BENCHMARK(BM_LR_PerPoint_Hills);
BENCHMARK(BM_LR_PerPoint_Gentle);
