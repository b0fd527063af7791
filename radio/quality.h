// Link quality of all networks: the margin of every direct link between the
// members of a network, and, where the topology allows relaying, the fewest
// retransmissions over which two members still reach each other, in the
// matrix `quality` (radiodata.h).
#pragma once

#include <cstdint>
#include <vector>

namespace zk {

// Rebuilds `quality` for the active networks (all = 0) or for all 25 (any
// other value). Leaves the profile and link values of the last pair
// computed. A propagation model that cannot be called is reported once.
void calcnets(int all);

// The relay rule of each topology: the role that relays and the most
// retransmissions (0: the network is not relayed at all).
struct RelayRule {
    int relayrole = -1;
    int maxhops = 0;
};
RelayRule relayrule(int topology, int maxretrans);

// The route relaxation of one network, on the members' route cells: `route`
// is c x c (row-major, only [p][q] with p < q used, position order), 50 for
// a direct link with a margin of 0 dB or more, 0 for none; `roles` the
// members' roles. Fills the cells reachable over up to `maxhops` relays with
// 50 - h. Needs at least 3 members and at most 40 retransmissions.
void relaxroutes(std::vector<uint8_t> &route, const std::vector<int> &roles, int relayrole, int maxhops);

}  // namespace zk
