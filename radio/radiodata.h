// The radio side of the document: 50 units (stations), 25 radio systems and
// 25 networks, the per-network antenna heights, the unit icons, the link
// quality matrix, the link-colour rules and the current selections. Every
// table is module-level, one instance, 1-based, zero at program start and
// replaced as a whole only by the document reset (`newnet`) and by opening a
// network file.
//
// Records keep their natural alignment in memory; fixed-length names are
// 8-bit text (Windows-1252) padded with blanks, as the network file carries
// them. Booleans are 16-bit: -1 true, 0 false (readers take any non-zero
// value as true).
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace zk {

constexpr int kUnits = 50;
constexpr int kSystems = 25;
constexpr int kNets = 25;

struct UnitRecord {
    float lon = 0;           // degrees, east positive
    float lat = 0;           // degrees, north positive
    float elev = 0;          // ground elevation at the site, m
    int16_t enabled = 0;     // the unit is active ("Activée")
    int16_t transparent = 0; // the name is drawn without a background box
    uint32_t color = 0;      // name and mark colour, red in the low byte
    uint32_t backcolor = 0;  // name background; mast colour on 3D pictures
    char name[20] = {};      // blank-padded 8-bit text
};

struct SystemRecord {
    float power = 0;      // transmitter power, W
    float threshold = 0;  // receiver threshold, dBm
    float loss = 0;       // line loss, dB
    float gain = 0;       // antenna gain, dBi
    float height = 0;     // antenna height above ground, m
    char name[30] = {};
};

struct NetRecord {
    uint8_t member[kUnits] = {};  // per unit: bit 7 member, low 7 bits the role code
    uint8_t system[kUnits] = {};  // per unit: radio system 1..25 used in this network
    float fmin = 0, fmax = 0;     // band, MHz
    int16_t polar = 0;            // 0 horizontal, 1 vertical
    float eps = 0;                // relative permittivity of the ground
    float sigma = 0;              // ground conductivity, S/m
    float ns = 0;                 // surface refractivity, N-units
    int16_t climate = 0;          // 1..7
    int16_t statmode = 0;         // 0..3, +100 with the urban factor
    float ptime = 0, ploc = 0, psit = 0;  // percentages of time, locations, situations
    int16_t maxretrans = 0;       // 0..20, mesh networks only
    int16_t topology = 0;         // low byte: 0 voice, 1 star, 2 mesh; bit 8 (256): visible
    char name[30] = {};
};

// Topology helpers: a network is active when its whole topology field
// exceeds 255; its topology code is the low byte.
constexpr int16_t kNetVisible = 256;
inline bool netactive(const NetRecord &n) { return n.topology > 255; }
inline int netkind(const NetRecord &n) { return n.topology & 255; }

// A 1-based table of fixed size. Indices outside 1..N throw std::out_of_range:
// a wrong index is a programming error, never a reason to touch other memory.
template <typename T, int N>
class Table1 {
public:
    static constexpr int size() { return N; }
    T &operator[](int i) { return v_.at(size_t(i - 1)); }
    const T &operator[](int i) const { return v_.at(size_t(i - 1)); }
    T *data() { return v_.data(); }
    const T *data() const { return v_.data(); }
    void clear() { v_.fill(T{}); }
    auto begin() { return v_.begin(); }
    auto end() { return v_.end(); }
    auto begin() const { return v_.begin(); }
    auto end() const { return v_.end(); }

private:
    std::array<T, N> v_{};
};

// netheight(n, u): antenna height in m of unit u in network n, 0 = the
// system's height. The network index varies fastest, as in the network file:
// element (n, u) is the ((n - 1) + 25 (u - 1))-th.
class NetHeights {
public:
    float &operator()(int net, int unit) { return v_.at(index(net, unit)); }
    float operator()(int net, int unit) const { return v_.at(index(net, unit)); }
    float *data() { return v_.data(); }
    const float *data() const { return v_.data(); }
    static constexpr int count() { return kNets * kUnits; }
    void clear() { v_.fill(0.0f); }

private:
    static size_t index(int net, int unit)
    {
        if (net < 1 || net > kNets || unit < 1 || unit > kUnits) throw std::out_of_range("netheight");
        return size_t(net - 1) + size_t(kNets) * size_t(unit - 1);
    }
    std::array<float, kNets * kUnits> v_{};
};

// quality(net, a, b): link-quality bytes of network `net` between units a
// and b. For a < b, (net, b, a) holds the direct link (50 + margin in whole
// dB, 1..99; 0 not computed) and (net, a, b) the route (50 direct, 50 - h
// over h retransmissions, 0 none).
class QualityMatrix {
public:
    uint8_t &operator()(int net, int a, int b) { return v_.at(index(net, a, b)); }
    uint8_t operator()(int net, int a, int b) const { return v_.at(index(net, a, b)); }
    void clear() { v_.fill(0); }

private:
    static size_t index(int net, int a, int b)
    {
        if (net < 1 || net > kNets || a < 1 || a > kUnits || b < 1 || b > kUnits) throw std::out_of_range("quality");
        return size_t(net - 1) * kUnits * kUnits + size_t(a - 1) * kUnits + size_t(b - 1);
    }
    std::array<uint8_t, kNets * kUnits * kUnits> v_{};
};

extern Table1<UnitRecord, kUnits> units;
extern Table1<uint8_t, kUnits> uniticon;     // icon index in ImgIcons from 0; 255 none
extern Table1<SystemRecord, kSystems> systems;
extern Table1<NetRecord, kNets> nets;
extern NetHeights netheight;
extern QualityMatrix quality;
// The link-colour rules, bytes 0..2: bit 7 draws the red, yellow, green
// class; low 7 bits of bytes 0 and 1 are the thresholds T1 and T2; bit 0 of
// byte 2 adds dark background lines.
extern std::array<uint8_t, 3> linkstyle;

// Selections.
extern int16_t curunit, curnet, linka, linkb, linknet;
// The networks changed since they were opened or saved.
extern bool netmodified;

// Fixed-length 8-bit names: the text without its trailing blanks, and a text
// stored cut or blank-padded to the field's length.
QString fixedText(const char *field, size_t len);
void setFixedText(char *field, size_t len, const QString &text);
template <size_t N>
QString fixedText(const char (&field)[N])
{
    return fixedText(field, N);
}
template <size_t N>
void setFixedText(char (&field)[N], const QString &text)
{
    setFixedText(field, N, text);
}

// Sets the propagation defaults of network n (1..25): an active voice
// network on 144-148 MHz, vertical polarisation, average ground, continental
// temperate climate, broadcast statistics, 50/50/50 %. Members, their
// systems, `maxretrans` and the name are left alone.
void netdefaults(int16_t n);

// The records a new document holds: unit i (1..50) "Station ii", enabled,
// white on black, not placed; system i "Système ii" of 10 W, -107 dBm,
// 0.5 dB, 2 dBi, 2 m; network i "Réseau ii" without members, every unit on
// system 1, with the propagation defaults of netdefaults.
UnitRecord defaultunit(int i);
SystemRecord defaultsystem(int i);
NetRecord defaultnet(int i);

// Re-dimensions the elevation grid to one cell per screen pixel, all 0, as
// a new document and an opened network file leave it.
void screengrid();

// Resets the whole document (see newnet.cpp). `named` gives the new document
// a fresh name netN.net in the start-up folder.
void newnet(bool named);

// The folder new network files go to (the current folder at the first
// newnet) and the count of named new documents in this run.
QString newnetfolderForTest();
void resetNewnetStateForTest();

}  // namespace zk
