#include "radiodata.h"

#include "cp1252.h"

#include <algorithm>

namespace zk {

Table1<UnitRecord, kUnits> units;
Table1<uint8_t, kUnits> uniticon;
Table1<SystemRecord, kSystems> systems;
Table1<NetRecord, kNets> nets;
NetHeights netheight;
QualityMatrix quality;
std::array<uint8_t, 3> linkstyle{};
int16_t curunit = 0, curnet = 0, linka = 0, linkb = 0, linknet = 0;
bool netmodified = false;

QString fixedText(const char *field, size_t len)
{
    size_t n = 0;
    while (n < len && field[n] != '\0') ++n;  // a NUL ends a name written by other tools
    while (n > 0 && field[n - 1] == ' ') --n;
    return fromCp1252(field, qsizetype(n));
}

void setFixedText(char *field, size_t len, const QString &text)
{
    const QByteArray b = toCp1252(text);
    const size_t n = std::min(len, size_t(b.size()));
    std::memcpy(field, b.constData(), n);
    std::memset(field + n, ' ', len - n);
}

namespace {
void setnetdefaults(NetRecord &r)
{
    r.topology = kNetVisible;  // active voice network
    r.fmin = 144;
    r.fmax = 148;
    r.polar = 1;
    r.eps = 15;
    r.sigma = 0.005f;
    r.ns = 301;
    r.climate = 5;
    r.statmode = 3;
    r.ptime = 50;
    r.ploc = 50;
    r.psit = 50;
}
}  // namespace

void netdefaults(int16_t n)
{
    if (n < 1 || n > kNets) return;
    setnetdefaults(nets[n]);
}

UnitRecord defaultunit(int i)
{
    UnitRecord u;
    setFixedText(u.name, QStringLiteral("Station %1").arg(i, 2, 10, QLatin1Char('0')));
    u.color = 0xFFFFFF;
    u.enabled = -1;
    return u;
}

SystemRecord defaultsystem(int i)
{
    SystemRecord s;
    setFixedText(s.name, QStringLiteral("Système %1").arg(i, 2, 10, QLatin1Char('0')));
    s.power = 10;
    s.threshold = -107;
    s.loss = 0.5f;
    s.gain = 2;
    s.height = 2;
    return s;
}

NetRecord defaultnet(int i)
{
    NetRecord n;
    setFixedText(n.name, QStringLiteral("Réseau %1").arg(i, 2, 10, QLatin1Char('0')));
    std::fill(std::begin(n.system), std::end(n.system), uint8_t(1));
    setnetdefaults(n);
    return n;
}

}  // namespace zk
