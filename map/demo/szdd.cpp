#include "szdd.h"

#include <QtEndian>

#include <vector>

namespace zk::demo {

namespace {

// The decoder's window: 4096 bytes, filled with spaces, writing from 4096 - 16.
constexpr int kWindow = 4096;
constexpr int kMinMatch = 3, kMaxMatch = 18;
// A match may reach back only as far as the window still holds what it
// copies, with room for its own length.
constexpr int kMaxDistance = kWindow - kMaxMatch;
constexpr int kStart = kWindow - 16;
constexpr int kChain = 64;

}  // namespace

QByteArray szddcompress(const QByteArray &data, char missing)
{
    QByteArray out("SZDD\x88\xf0\x27\x33", 8);
    out.append('A');
    out.append(missing);
    char len[4];
    qToLittleEndian<uint32_t>(uint32_t(data.size()), len);
    out.append(len, 4);

    const auto *in = reinterpret_cast<const uint8_t *>(data.constData());
    const int n = int(data.size());
    // Hash chains over 3-byte prefixes, to find earlier occurrences quickly.
    std::vector<int> head(1 << 14, -1), prev(size_t(n), -1);
    auto hash = [&](int i) { return ((in[i] << 10) ^ (in[i + 1] << 5) ^ in[i + 2]) & ((1 << 14) - 1); };
    auto insert = [&](int i) {
        if (i + kMinMatch > n) return;
        const int h = hash(i);
        prev[size_t(i)] = head[size_t(h)];
        head[size_t(h)] = i;
    };

    int i = 0;
    while (i < n) {
        const qsizetype flagAt = out.size();
        out.append('\0');
        uint8_t flags = 0;
        for (int bit = 0; bit < 8 && i < n; ++bit) {
            int bestLen = 0, bestPos = 0;
            if (i + kMinMatch <= n) {
                int cand = head[size_t(hash(i))];
                for (int c = 0; c < kChain && cand >= 0 && i - cand <= kMaxDistance; ++c, cand = prev[size_t(cand)]) {
                    int l = 0;
                    while (l < kMaxMatch && i + l < n && in[cand + l] == in[i + l]) ++l;
                    if (l > bestLen) {
                        bestLen = l;
                        bestPos = cand;
                        if (l == kMaxMatch) break;
                    }
                }
            }
            if (bestLen >= kMinMatch) {
                // A copy: the window position of the earlier bytes and the length.
                const int pos = (kStart + bestPos) & (kWindow - 1);
                out.append(char(pos & 0xFF));
                out.append(char(((pos >> 4) & 0xF0) | (bestLen - kMinMatch)));
                for (int k = 0; k < bestLen; ++k) insert(i + k);
                i += bestLen;
            } else {
                flags |= uint8_t(1u << bit);
                out.append(char(in[i]));
                insert(i);
                ++i;
            }
        }
        out[flagAt] = char(flags);
    }
    return out;
}

}  // namespace zk::demo
