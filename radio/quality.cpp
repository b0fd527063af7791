#include "radio/quality.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

#include "base/routines.h"
#include "map/mapservices.h"
#include "radio/linkbudget.h"
#include "radio/profile.h"
#include "radio/radiodata.h"

namespace zk {

namespace {
constexpr uint8_t kMember = 128;

bool selected(const NetRecord &n, int all) { return all != 0 || netactive(n); }
int roleof(uint8_t m) { return m & 127; }
}  // namespace

RelayRule relayrule(int topology, int maxretrans)
{
    switch (topology) {
    case 0: return {2, 1};
    case 1: return {-1, 0};
    case 2: return {0, maxretrans};
    default: return {-1, 0};  // not a topology of the system: no relaying
    }
}

void relaxroutes(std::vector<uint8_t> &route, const std::vector<int> &roles, int relayrole, int maxhops)
{
    const int c = int(roles.size());
    if (c < 3 || maxhops > 40 || route.size() != size_t(c) * size_t(c)) return;
    auto cell = [&](int p, int q) -> uint8_t & {
        return p < q ? route[size_t(p) * c + size_t(q)] : route[size_t(q) * c + size_t(p)];
    };
    std::vector<int> reach(size_t(c), 0);
    for (int h = 1; h <= maxhops; ++h) {
        const int mark = 50 - h;
        bool changed = false;
        for (int p = 0; p < c; ++p) {
            if (roles[size_t(p)] != relayrole) continue;
            // reach(q) = 49 - r for a member r retransmissions from p over
            // routes found in earlier rounds; 0 when not reached yet.
            for (int q = 0; q < c; ++q) {
                if (q == p) {
                    reach[size_t(q)] = 0;
                    continue;
                }
                const int v = cell(p, q);
                reach[size_t(q)] = v > mark ? v - 1 : 0;
            }
            for (int q1 = 0; q1 < c; ++q1)
                for (int q2 = q1 + 1; q2 < c; ++q2) {
                    // r1 + r2 + 1 <= h: the route through p needs at most h.
                    if (98 - reach[size_t(q1)] - reach[size_t(q2)] < h && cell(q1, q2) < mark) {
                        cell(q1, q2) = uint8_t(mark);
                        changed = true;
                    }
                }
        }
        if (!changed) break;
    }
}

void calcnets(int all)
{
    MapBusyCursor busy;
    QCoreApplication::processEvents();
    LinkOperation op;
    quality.clear();

    // Direct links: one profile per pair, reused by every network of the pair.
    for (int i = 1; i <= kUnits - 1; ++i) {
        if (!units[i].enabled) continue;
        for (int j = i + 1; j <= kUnits; ++j) {
            if (!units[j].enabled) continue;
            bool profiled = false;
            for (int k = 1; k <= kNets; ++k) {
                const NetRecord &net = nets[k];
                if (!selected(net, all)) continue;
                const uint8_t mi = net.member[i - 1], mj = net.member[j - 1];
                if (!(mi & kMember) || !(mj & kMember)) continue;
                if (roleof(mi) == 1 && roleof(mj) == 1) continue;
                if (!profiled) {
                    if (getprofile(i, j) > 0) applyendsamples(i, j);
                    profiled = true;
                }
                if (pfl[1] == 0) break;  // no profile on the map: no link in any network
                linkparams(i, j, k);
                // A loss that is not a number (a network file with garbage
                // in it) counts as a link that does not work.
                double margin = calcloss(i, j, k, 1);
                if (std::isnan(margin)) margin = -1e6;
                const long long m = roundEven(std::clamp(margin, -1e6, 1e6));
                quality(k, j, i) = uint8_t(std::clamp<long long>(m + 50, 1, 99));
                if (m >= 0) quality(k, i, j) = 50;
            }
        }
    }

    // Routes through relays.
    for (int k = 1; k <= kNets; ++k) {
        const NetRecord &net = nets[k];
        if (!selected(net, all)) continue;
        const RelayRule rule = relayrule(netkind(net), net.maxretrans);
        if (rule.relayrole < 0) continue;
        std::vector<int> members, roles;
        for (int u = 1; u <= kUnits; ++u)
            if (units[u].enabled && (net.member[u - 1] & kMember)) {
                members.push_back(u);
                roles.push_back(roleof(net.member[u - 1]));
            }
        const int c = int(members.size());
        if (c < 3 || rule.maxhops > 40) continue;
        std::vector<uint8_t> route(size_t(c) * size_t(c), 0);
        for (int p = 0; p < c; ++p)
            for (int q = p + 1; q < c; ++q) route[size_t(p) * c + size_t(q)] = quality(k, members[size_t(p)], members[size_t(q)]);
        relaxroutes(route, roles, rule.relayrole, rule.maxhops);
        for (int p = 0; p < c; ++p)
            for (int q = p + 1; q < c; ++q) quality(k, members[size_t(p)], members[size_t(q)]) = route[size_t(p) * c + size_t(q)];
    }
}

}  // namespace zk
