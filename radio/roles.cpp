#include "radio/roles.h"

#include "radio/radiodata.h"

namespace zk {

int16_t curtopo = 0;
std::array<QString, 3> rolenames;

QString topologyname()
{
    switch (curtopo) {
    case 0:
        rolenames = {QStringLiteral("Commande"), QStringLiteral("Subordonné"), QStringLiteral("Relais")};
        return QStringLiteral("ouverte");
    case 1:
        rolenames = {QStringLiteral("Maître"), QStringLiteral("Esclave"), QString()};
        return QStringLiteral("en étoile");
    default:
        rolenames = {QStringLiteral("Node"), QStringLiteral("Terminal"), QString()};
        return QStringLiteral("maillée");
    }
}

float antheight(int n, int u)
{
    if (n < 1 || n > kNets || u < 1 || u > kUnits) return 0;
    const float h = netheight(n, u);
    if (h != 0) return h;
    const int s = nets[n].system[u - 1];
    if (s < 1 || s > kSystems) return 0;
    return systems[s].height;
}

}  // namespace zk
