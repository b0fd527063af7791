#include "colorscale.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <optional>

#include "map/mapdata.h"
#include "paths.h"

namespace zk {

std::array<uint32_t, 12> colors{};
std::array<int16_t, 11> alt{};
std::array<float, 11> sigsteps{};
int16_t absscale = 0;
int16_t stratcolors = 0;
int16_t showlegend = 0;
int16_t scalekind = 0;

namespace {

const QString kFileName = QStringLiteral("colors.dat");

// The file is 26 short lines; anything much longer is not a colour scale.
constexpr qint64 kMaxFileBytes = 64 * 1024;

uint32_t rgb(int r, int g, int b)
{
    auto ch = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return ch(r) | (ch(g) << 8) | (ch(b) << 16);
}

// A channel of the formulas below: the larger of the value and the floor,
// above 255 taken as 255.
int channel(double v, int floor) { return int(std::min(255.0, std::max(v, double(floor)))); }

std::optional<int16_t> readWhole(const QByteArray &line)
{
    bool ok = false;
    const double v = line.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    const double r = std::nearbyint(v);  // halves to even
    if (r < -32768.0 || r > 32767.0) return std::nullopt;
    return int16_t(r);
}

std::optional<uint32_t> readHex(const QByteArray &line)
{
    const QByteArray t = line.trimmed();
    if (t.isEmpty() || t.size() > 8) return std::nullopt;
    bool ok = false;
    const uint v = t.toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    return uint32_t(v);
}

}  // namespace

std::array<uint32_t, 12> defaultcolors()
{
    std::array<uint32_t, 12> c{};
    c[0] = rgb(90, 150, 205);
    c[11] = rgb(255, 255, 255);
    for (int k = 1; k <= 10; ++k) {
        c[size_t(k)] = rgb(channel((k - 5.5) * 128, 100), channel((4.5 - std::fabs(k - 5.5)) * 220, 100),
                           channel((5.5 - k) * 128, 100));
    }
    return c;
}

std::array<int16_t, 11> defaultthresholds()
{
    std::array<int16_t, 11> a{};
    a[0] = 1;
    for (int k = 1; k <= 10; ++k) a[size_t(k)] = int16_t(k * 100);
    return a;
}

std::array<uint32_t, 12> presetcolors(int which)
{
    std::array<uint32_t, 12> c{};
    c[0] = rgb(255, 255, 255);
    c[11] = rgb(255, 0, 255);
    const int b = (which == 1 || which == 2) ? 64 : 127;
    const bool rising = which == 1 || which == 3;
    for (int k = 1; k <= 10; ++k) {
        const double mid = std::fabs(k - 5.5);
        if (rising) {
            c[size_t(k)] = rgb(channel((k - 4.5) * 128, b), channel((4.5 - mid - (k > 5 ? 1 : 0)) * 220, b),
                               std::min(255, channel((5.5 - k) * 128, b) + (k == 10 ? 92 : 0)));
        } else {
            c[size_t(k)] = rgb(channel((6.5 - k) * 128, b), channel((4.5 - mid - (k < 5 ? 1 : 0)) * 220, b),
                               std::min(255, channel((k - 5.5) * 128, b) + (k == 1 ? 92 : 0)));
        }
    }
    return c;
}

ColorChannels colorchannels()
{
    ColorChannels ch;
    for (size_t k = 0; k < 12; ++k) {
        ch.red[k] = int16_t(colors[k] & 255);
        ch.green[k] = int16_t((colors[k] & 65280) / 256);
        ch.blue[k] = int16_t((colors[k] & 16711680) / 65536);
    }
    return ch;
}

QByteArray colorsfile()
{
    QByteArray out;
    auto line = [&out](const QByteArray &v) { out += v + "\r\n"; };
    line(QByteArray::number(absscale));
    line(QByteArray::number(stratcolors));
    for (int16_t a : alt) line(QByteArray::number(a));
    for (uint32_t c : colors) line(QByteArray::number(c, 16).toUpper());
    line(QByteArray::number(showlegend));
    return out;
}

void readcolorsfile(const QByteArray &bytes)
{
    absscale = -1;
    QList<QByteArray> lines = bytes.left(kMaxFileBytes).split('\n');
    auto whole = [&lines](int i, int16_t &var) {
        if (i < lines.size())
            if (auto v = readWhole(lines[i])) var = *v;
    };
    whole(0, absscale);
    whole(1, stratcolors);
    for (int k = 0; k < 11; ++k) whole(2 + k, alt[size_t(k)]);
    for (int k = 0; k < 12; ++k) {
        const int i = 13 + k;
        if (i < lines.size())
            if (auto v = readHex(lines[i])) colors[size_t(k)] = *v;
    }
    whole(25, showlegend);
}

bool loadcolors()
{
    const QString name = paths::dataFile(kFileName);
    if (!paths::exists(name)) return false;
    QFile f(paths::resolve(name));
    if (!f.open(QIODevice::ReadOnly)) return false;
    readcolorsfile(f.read(kMaxFileBytes));
    return true;
}

bool savecolors()
{
    QSaveFile f(paths::writableDataFile(kFileName));
    if (!f.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = colorsfile();
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

void initcolors()
{
    bool nofile = false;
    if (colors[10] == 0) nofile = !loadcolors();
    if (colors[10] == 0) {
        colors = defaultcolors();
        // Without a file the scale is relative (absscale keeps its 0), and
        // its thresholds start from the built-in ones rather than all 0, so
        // that a map whose range cannot spread them still gets its colours.
        if (nofile && std::all_of(alt.begin(), alt.end(), [](int16_t a) { return a == 0; }))
            alt = defaultthresholds();
    }
    if (absscale != 0) return;
    const double minx = mapset.minx, maxx = mapset.maxx;
    if (!(maxx > minx)) return;
    for (int k = 0; k <= 10; ++k) {
        const double v = std::nearbyint(minx + (maxx - minx) * k / 10.0);
        if (v >= -32768.0 && v <= 32767.0) alt[size_t(k)] = int16_t(v);
    }
}

}  // namespace zk
