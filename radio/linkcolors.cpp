#include "radio/linkcolors.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/routines.h"

namespace zk {

namespace {

constexpr uint8_t kDrawBit = 128;
constexpr uint8_t kThresholdBits = 127;
constexpr uint8_t kOpaqueBit = 1;
constexpr int kScaleZero = 50;  // a margin of 0 dB on the link-quality scale

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double v = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

uint8_t scaled(double db, double ceiling)
{
    const double v = std::min(std::clamp(db + kScaleZero, 1.0, 99.0), ceiling);
    return uint8_t(std::clamp<long long>(roundEven(v), 0, 127));
}

}  // namespace

LinkStyleTab linkstyletab(const std::array<uint8_t, 3> &rules)
{
    LinkStyleTab t;
    t.yellow = QString::number(int(rules[0] & kThresholdBits) - kScaleZero);
    t.green = QString::number(int(rules[1] & kThresholdBits) - kScaleZero);
    for (size_t i = 0; i < 3; ++i) t.draw[i] = rules[i] > 127;
    t.opaque = (rules[2] & kOpaqueBit) != 0;
    return t;
}

std::array<uint8_t, 3> storelinkstyle(const LinkStyleTab &tab, const std::array<uint8_t, 3> &before)
{
    std::array<uint8_t, 3> out = before;
    out[2] = 0;
    if (auto g = number(tab.green)) out[1] = scaled(*g, 99);
    // Never above the green threshold as it now stands.
    if (auto y = number(tab.yellow)) out[0] = scaled(*y, double(out[1] & kThresholdBits));
    // Each switch is written either way: a threshold that kept its old byte
    // must not keep that byte's old colour switch.
    for (size_t i = 0; i < 3; ++i) {
        if (tab.draw[i])
            out[i] |= kDrawBit;
        else
            out[i] &= uint8_t(~kDrawBit);
    }
    if (tab.opaque) out[2] |= kOpaqueBit;
    return out;
}

}  // namespace zk
