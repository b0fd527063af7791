// Working state and routines of the Irregular Terrain Model (Longley-Rice),
// point-to-point mode, after the ITS reference implementation (ITMDLL 1.2.2).
//
// The published code keeps its state in three blocks (prop, propa, propv) and
// in function-level statics; here all of it lives in one `State` so that the
// engine owns exactly one copy and nothing leaks through the C interface.
// Names follow the published routines so that each step can be checked
// against the reference; units are in the comments.
#pragma once

#include <complex>

namespace zk::itm {

// Frequency, ground and path geometry (the published `prop` block).
struct Prop {
    double aref = 0;              // reference attenuation, dB relative to free space
    double dist = 0;              // path length, m
    double hg[2] = {};            // antenna heights above ground, m
    double fmhz = 0;              // frequency given to qlrps, MHz
    double wn = 0;                // wave number, 1/m
    double dh = 0;                // terrain irregularity, m
    double ens = 0;               // surface refractivity, N-units
    double gme = 0;               // effective earth curvature, 1/m
    std::complex<double> zgnd;    // surface transfer impedance of the ground
    double he[2] = {};            // effective antenna heights, m
    double dl[2] = {};            // horizon distances, m
    double the[2] = {};           // horizon elevation angles, rad
    double fsloss_db = 0;         // free-space loss at dist (set by lrprop)
    bool los = false;             // qlrpfl took the line-of-sight branch
    int kwx = 0;                  // warning level 0..4
    int mdp = 0;                  // set-up mode: -1 point-to-point, 0 done, 1 area
};

// Coefficients of the reference attenuation (the published `propa` block and
// the statics of lrprop).
struct PropA {
    double dlsa = 0;              // sum of the smooth-earth horizon distances, m
    double dx = 0;                // distance where the scatter line takes over, m
    double ael = 0, ak1 = 0, ak2 = 0;  // line-of-sight coefficients
    double aed = 0, emd = 0;      // diffraction line: intercept dB, slope dB/m
    double aes = 0, ems = 0;      // scatter line: intercept dB, slope dB/m
    double dls[2] = {};           // smooth-earth horizon distances, m
    double dla = 0;               // sum of the horizon distances, m
    double tha = 0;               // sum of the horizon angles, rad
    bool wlos = false;            // line-of-sight coefficients computed
    bool wscat = false;           // scatter coefficients computed
    double dmin = 0;              // shortest distance without warning, m
    double xae = 0;               // scale (wn * gme^2)^(-1/3), m
};

// Values adiff, alos and ascat keep between their set-up call (distance 0)
// and their evaluations.
struct AdiffKeep { double wd1 = 0, xd1 = 0, afo = 0, qk = 0, aht = 0, xht = 0; };
struct AlosKeep { double wls = 0; };
struct AscatKeep { double ad = 0, rr = 0, etq = 0, h0s = 0; };

// Variability (the published `propv` block and the statics of avar).
struct PropV {
    double sgc = 0;               // standard deviation of situation variability, dB
    int lvar = 0;                 // recomputation level 0..5
    int mdvar = 0;                // statistics mode (with the +10 / +20 switches)
    int klim = 0;                 // radio climate 1..7
    int kdv = 0;                  // statistics mode proper 0..3
    bool ws = false, w1 = false;  // no situation variability / no location variability
    double dexa = 0, de = 0;      // distance scale and effective distance, m
    double vmd = 0, vs0 = 0, sgl = 0, sgtm = 0, sgtp = 0, sgtd = 0, tgtd = 0;
    double gm = 0, gp = 0;
    // Climate-curve coefficients of the current climate.
    double cv1 = 0, cv2 = 0, yv1 = 0, yv2 = 0, yv3 = 0;
    double csm1 = 0, csm2 = 0, ysm1 = 0, ysm2 = 0, ysm3 = 0;
    double csp1 = 0, csp2 = 0, ysp1 = 0, ysp2 = 0, ysp3 = 0;
    double csd1 = 0, zd = 0;
    double cfm1 = 0, cfm2 = 0, cfm3 = 0, cfp1 = 0, cfp2 = 0, cfp3 = 0;
};

struct State {
    Prop prop;
    PropA propa;
    PropV propv;
    AdiffKeep adiff;
    AlosKeep alos;
    AscatKeep ascat;
};

// The exponent one third as the library writes it (seven digits).
constexpr double kThird = 0.3333333;

// Largest sample count of d1thx (10 x 25 - 5) plus its two leading elements.
constexpr int kD1thxWork = 247;

// Profiles handed to the model: element 0 the interval count, element 1 the
// spacing (m), elements 2.. the elevations (m) of points 0..count.

double aknfe(double v2);
double fht(double x, double pk);
double h0f(double r, double et);
double ahd(double td);
double adiff(double d, State &st);
double alos(double d, State &st);
double ascat(double d, State &st);
void qlrps(double fmhz, double zsys, double en0, int ipol, double eps, double sgm, State &st);
void lrprop(double d, State &st);
double curve(double c1, double c2, double x1, double x2, double x3, double de);
double avar(double zzt, double zzl, double zzc, State &st);
void hzns(const double *pfl, State &st);
void z1sq1(const double *z, double x1, double x2, double &z0, double &zn);
double qtile(int nn, double *a, int ir);
double qtileNumbers(int nn, double *a, int ir);  // a holds no NaN
double d1thx(const double *pfl, double x1, double x2);
void qlrpfl(const double *pfl, int klimx, int mdvarx, State &st);
double qerfi(double q);

}  // namespace zk::itm
