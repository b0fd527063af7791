#include "covset.h"

#include <cstring>

namespace zk {

CoverageSettings covset;
float covlow = 0;
float covhigh = 0;
uint8_t covdir = 0;
uint8_t covant = 0;
int16_t covindex = 0;
int16_t targetmode = 0;
int16_t radarfile = 0;
int16_t covdrawmode = 0;

void resetcoverage()
{
    covset.rangemax = 100;
    covset.azmin = 0;
    covset.azmax = 360;
    covset.azstep = 1;
    covset.antaz = 0;
    std::memset(covset.antfile, ' ', sizeof covset.antfile);
    covset.thrdbm = -107;
    covset.surface = -1;
    covset.surfcolor = 0x00FFFF;  // RGB(255, 255, 0), yellow
    covset.curve = 0;
    covset.sensorh = 2;
    covset.targeth = 2;
    targetmode = -1;
}

}  // namespace zk
