#include "reverse.h"

#include <utility>

namespace zk::pathviewer {

void reversePath(PathState &s)
{
    std::swap(s.sitename[1], s.sitename[2]);
    std::swap(s.siteant[1], s.siteant[2]);

    int n = 1;
    while (n + 1 <= kSamples && s.pdist[size_t(n + 1)] > 0) ++n;
    const float T = s.pdist[size_t(n)];

    const PathState old = s;
    for (int j = 1; j <= n; ++j) {
        const size_t to = size_t(j), from = size_t(n + 1 - j);
        s.pdist[to] = T - old.pdist[from];
        s.palt[to] = old.palt[from];
        s.pcode[to] = old.pcode[from];
        s.pcover[to] = old.pcover[from];
    }
}

}  // namespace zk::pathviewer
