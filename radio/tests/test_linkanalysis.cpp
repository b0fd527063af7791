// The link analysis without a window: a flat path between two 30 m masts,
// checked against the geometry worked by hand (the 4/3 earth at Ns 301, the
// first Fresnel zone from the wavelength, the clearance at mid-path, the
// horizon rays of an obstructed path) and against a stand-in model whose
// per-point losses set the terrain's colours.
#include <gtest/gtest.h>

#include <QString>

#include <cmath>
#include <functional>

#include "base/settings.h"
#include "docfixture.h"
#include "radio/linkbudget.h"
#include "radio/linkreport.h"
#include "radio/profile.h"
#include "radio/radiodata.h"
#include "radioenv.h"

namespace {

struct Model {
    int los = 1;
    double slope = 0;  // horizon elevation angle at each end (rad), hx 0
    // The margin (dB) wanted at point i: the model answers the loss that
    // leaves it, read against the system gain of the moment.
    std::function<double(int)> margin;
};
Model g_model;

bool model(double *pfl, double *loss, LinkParameters *prm)
{
    const int n = int(pfl[1]);
    for (int i = std::max(prm->firstpt, 1); i <= n; ++i)
        loss[i + 3] = g_model.margin ? zk::sysgainab - g_model.margin(i) : 100;
    prm->loss = 100;
    prm->fsloss = 90;
    prm->obsloss = 0;
    prm->losflag = g_model.los;
    prm->scatflag = 0;
    prm->hd1 = prm->hd2 = 1e9;
    prm->ha1 = prm->ha2 = g_model.slope;
    prm->hx = 0;
    return true;
}

class LinkAnalysisTest : public radiotest::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        g_model = Model{};
        zk::setLinkModelForTest(model);
        // Units 1 and 2 sixty cells apart on one row, both in network 1
        // (144-148 MHz, Ns 301) on 30 m masts over ground at 0 m.
        radiotest::placeUnit(1, 200, 256);
        radiotest::placeUnit(2, 260, 256);
        zk::setFixedText(zk::units[1].name, QStringLiteral("Alpha"));
        zk::setFixedText(zk::units[2].name, QStringLiteral("Bravo"));
        zk::nets[1].member[0] = 128;
        zk::nets[1].member[1] = 128 | 1;
        zk::nets[1].ns = 301;
        zk::nets[1].fmin = 144;
        zk::nets[1].fmax = 148;
        zk::netheight(1, 1) = 30;
        zk::netheight(1, 2) = 30;
        zk::settings.defh1 = 2;
        zk::settings.defh2 = 3;
    }
};

constexpr double kEarthKm = 6375;  // the radius the 12.75 of the bulge stands for
constexpr double kLightMps = 299792458;

// Relative difference.
double rel(double got, double want) { return std::abs(got - want) / std::abs(want); }

}  // namespace

TEST_F(LinkAnalysisTest, FlatPathGeometry)
{
    const zk::LinkAnalysis r = zk::analyselink(1, 2, 1);
    ASSERT_EQ(r.n, 60);  // sixty cells, one sample each
    const double D = zk::profdist;
    ASSERT_GT(D, 10);
    EXPECT_EQ(r.ha, 30.0);
    EXPECT_EQ(r.hb, 30.0);

    // Ns 301 gives the usual four-thirds earth: bulge d1 d2 / (2 K R).
    const double K = 4.0 / 3.0;
    const double midBulge = (D / 2) * (D / 2) * 1000 / (2 * K * kEarthKm);
    EXPECT_LT(rel(r.bulge[30], midBulge), 1e-3) << r.bulge[30] << " " << midBulge;
    EXPECT_EQ(r.bulge[0], 0.0);
    EXPECT_LT(std::abs(r.bulge[60]), 1e-9);
    // The bulge is symmetric and lifts the interior ground, not the ends.
    for (int i = 1; i < 60; ++i) {
        EXPECT_LT(std::abs(r.bulge[size_t(i)] - r.bulge[size_t(60 - i)]), 1e-9) << i;
        EXPECT_EQ(r.ground[size_t(i)], r.bulge[size_t(i)]) << i;
        EXPECT_LT(std::abs(r.beam[size_t(i)] - 30), 1e-9) << i;
    }
    EXPECT_EQ(r.ground[0], 0.0);
    EXPECT_EQ(r.ground[60], 0.0);

    // First Fresnel zone at mid-path: sqrt(lambda d1 d2 / D), lambda at 146 MHz.
    const double lambda = kLightMps / 146e6;
    const double r1 = std::sqrt(lambda * (D / 2) * (D / 2) / D * 1000);
    EXPECT_LT(rel(r.zone[30][0], r1), 2e-3) << r.zone[30][0] << " " << r1;
    EXPECT_LT(rel(r.zone[30][1], r1 * std::sqrt(2.0)), 2e-3);
    EXPECT_LT(rel(r.zone[30][2], r1 * std::sqrt(3.0)), 2e-3);
    // At a quarter of the path the radius is sqrt(3)/2 of the middle's.
    EXPECT_LT(rel(r.zone[15][0], r1 * std::sqrt(3.0) / 2), 2e-3);

    // The smallest clearance is at mid-path: (mast - bulge) / r1.
    EXPECT_LT(rel(r.worstclear, (30 - midBulge) / r1), 3e-3) << r.worstclear;
    EXPECT_LT(std::abs(r.worstclrdist - D / 2), 1e-4);
    EXPECT_FALSE(r.rays);

    EXPECT_EQ(r.text1, QStringLiteral(" La distance entre Alpha et Bravo est de ") + zk::masktext(D, 1) +
                           QStringLiteral(" km, azimut 90.0°"));
    EXPECT_EQ(r.text3, QStringLiteral(" Le mode de propagation est la ligne-de-vue, avec dégagement minimal de ") +
                           zk::masktext(r.worstclear, 1) + QStringLiteral("F1 à ") + zk::masktext(D / 2, 1) +
                           QStringLiteral("km"));
}

TEST_F(LinkAnalysisTest, TerrainColouredByMargin)
{
    // Margins of +10 dB up to point 20, 0 dB up to 40, -10 dB beyond.
    g_model.margin = [](int i) { return i <= 20 ? 10.0 : i <= 40 ? 0.0 : -10.0; };
    const zk::LinkAnalysis r = zk::analyselink(1, 2, 1);
    ASSERT_EQ(r.n, 60);
    const uint32_t green = 0x00FF00, yellow = 0x00FFFF, red = 0x0000FF;  // red in the low byte
    for (int i = 1; i <= 60; ++i) EXPECT_EQ(r.colour[size_t(i)], i <= 20 ? green : i <= 40 ? yellow : red) << i;
    EXPECT_EQ(r.linkcolour, red);
}

TEST_F(LinkAnalysisTest, HorizonRaysOfAnObstructedPath)
{
    // Both horizons 10 m per km above the horizontal: the rays from the two
    // mast tops meet at mid-path, 10 m/km x D/2 km above them.
    g_model.los = 0;
    g_model.slope = 0.01;
    const zk::LinkAnalysis r = zk::analyselink(1, 2, 1);
    ASSERT_EQ(r.n, 60);
    const double D = zk::profdist;
    ASSERT_TRUE(r.rays);
    EXPECT_LT(std::abs(r.rayx - 30), 1e-4) << r.rayx;
    EXPECT_LT(std::abs(r.rayy - (30 + 10 * D / 2)), 1e-2) << r.rayy;
    EXPECT_EQ(r.text3, QStringLiteral(" Le mode de propagation est la diffraction avec obstruction unique"));
}

TEST_F(LinkAnalysisTest, NoCommonNetworkUsesTrueEarthAndDefaultHeights)
{
    const zk::LinkAnalysis r = zk::analyselink(1, 2, 0);
    ASSERT_EQ(r.n, 60);
    const double D = zk::profdist;
    EXPECT_EQ(r.ha, 2.0);
    EXPECT_EQ(r.hb, 3.0);
    // Without a network there is no refractivity: the earth's own radius.
    EXPECT_LT(rel(r.bulge[30], (D / 2) * (D / 2) * 1000 / (2 * kEarthKm)), 1e-9);
    EXPECT_EQ(r.zone[30][0], 0.0);
    EXPECT_EQ(r.worstclear, 1e12f);
    EXPECT_EQ(r.text1, QStringLiteral(" Impossibilité de montrer les détails"));
    EXPECT_TRUE(r.text2.isEmpty() && r.text3.isEmpty() && r.text4.isEmpty());
}

TEST_F(LinkAnalysisTest, EmptyProfile)
{
    radiotest::placeUnit(2, 200, 256);  // on unit 1's cell
    const zk::LinkAnalysis r = zk::analyselink(1, 2, 1);
    EXPECT_EQ(r.n, 0);
    EXPECT_TRUE(r.bulge.empty());
    EXPECT_TRUE(r.text1.isEmpty() && r.text4.isEmpty());
    EXPECT_EQ(zk::analyselink(0, 2, 1).n, 0);
    EXPECT_EQ(zk::analyselink(1, 51, 1).n, 0);
}
