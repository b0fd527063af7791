// Two consecutive lines of a tile (rows of a GTOPO30 tile, profiles of a
// DTED cell), the upper and the lower one, held for interpolating between
// them. Lines are fetched by number as the source position advances, with
// the refill rule the readers share: a line beyond the one held as lower
// reloads both, the lower line itself shifts the pair by one, anything
// earlier is already held.
#pragma once

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "terrain/tilefile.h"

namespace zk::engine {

enum class SampleCoding {
    BigEndianTopo30,    // two's complement, most significant byte first; below -1000 reads as 0
    SignMagnitudeDted,  // sign bit and 15-bit magnitude, most significant byte first; all bits set reads as -1
};

// The line number of a source position: floor(pos), or -1 for NaN or a
// negative position, and never more than 2^40 so that byte offsets stay far
// from overflow (such a line lies beyond any file and reads short).
inline int64_t lineIndex(double pos)
{
    if (!(pos >= 0.0)) return -1;
    if (pos >= 1099511627776.0) return int64_t(1) << 40;
    return int64_t(std::floor(pos));
}

class LinePair {
public:
    // Line p occupies count samples of 2 bytes at first + p * stride.
    LinePair(ByteSource &src, int64_t first, int64_t stride, int32_t count, SampleCoding coding)
        : src_(src), first_(first), stride_(stride), count_(count), coding_(coding),
          upper_(size_t(count)), lower_(size_t(count)), raw_(size_t(count) * 2)
    {
    }

    // Makes lines p (upper) and p + 1 (lower) available. False when the
    // lower line came back short: the tile ends here and reading stops.
    bool hold(int64_t p)
    {
        if (p < 0) return false;
        if (p > lowerLine_) {
            load(p, upper_);
            if (!load(p + 1, lower_)) return false;
        } else if (p == lowerLine_) {
            std::swap(upper_, lower_);
            if (!load(p + 1, lower_)) return false;
        }
        lowerLine_ = p + 1;
        return true;
    }

    const int16_t *upper() const { return upper_.data(); }
    const int16_t *lower() const { return lower_.data(); }

private:
    bool load(int64_t line, std::vector<int16_t> &out)
    {
        const size_t want = raw_.size();
        const size_t got = src_.readAt(first_ + line * stride_, raw_.data(), want);
        for (size_t k = 0; k < size_t(count_); ++k) {
            const uint16_t u = 2 * k + 1 < got ? uint16_t(raw_[2 * k] << 8 | raw_[2 * k + 1]) : 0;
            out[k] = decode(u);
        }
        return got == want;
    }

    int16_t decode(uint16_t u) const
    {
        if (coding_ == SampleCoding::BigEndianTopo30) {
            const int16_t v = int16_t(u);
            return v < -1000 ? 0 : v;
        }
        if (u == 0xFFFF) return -1;  // the void marker
        if (u & 0x8000) return int16_t(-int32_t(u & 0x7FFF));
        return int16_t(u);
    }

    ByteSource &src_;
    int64_t first_, stride_;
    int32_t count_;
    SampleCoding coding_;
    std::vector<int16_t> upper_, lower_;
    std::vector<uint8_t> raw_;
    int64_t lowerLine_ = -1;  // nothing held yet
};

}  // namespace zk::engine
