// (The parameter block is packed like the engine's: its doubles are read by
// value, with a unary +, never bound to a reference.)
//
// Link budget: system gains, the parameter block, the urban factor, S-meter
// steps, the margin, a model that cannot be called, and the real engine on
// a flat path. Also the roles and antenna heights the link reads.
#include <gtest/gtest.h>

#include <QString>

#include <cmath>

#include "base/screen.h"
#include "docfixture.h"
#include "engine.h"
#include "msgbox.h"
#include "radio/linkbudget.h"
#include "radio/roles.h"
#include "radioenv.h"

namespace {

// Units 1 and 2, 60 cells apart east-west over the flat test map, as link
// of network 1 with its profile and parameters set; answers the profile's
// interval count.
int flatlink()
{
    radiotest::placeUnit(1, 100, 100);
    radiotest::placeUnit(2, 160, 100);
    const int n = zk::getprofile(1, 2);
    zk::applyendsamples(1, 2);
    zk::linkparams(1, 2, 1);
    return n;
}

struct SCase {
    float level, freq;
    int expected;
};
class Sunits : public ::testing::TestWithParam<SCase> {};

TEST_P(Sunits, Steps)
{
    const SCase c = GetParam();
    EXPECT_EQ(zk::sunits(c.level, c.freq), c.expected) << c.level << " dB at " << c.freq << " MHz";
}

INSTANTIATE_TEST_SUITE_P(Cases, Sunits,
                         ::testing::Values(SCase{0, 146, 1}, SCase{26.9f, 146, 9}, SCase{27, 146, 10},
                                           SCase{50, 10, 9}, SCase{54, 10, 10}, SCase{-20, 146, 0},
                                           SCase{78.9f, 146, 50}, SCase{79, 146, 60}, SCase{500, 146, 60},
                                           SCase{1e30f, 146, 60}, SCase{-1e30f, 146, 0},
                                           SCase{1.5f, 146, 2},   // 1.5 / 3 + 1 = 1.5: halves to even
                                           SCase{4.5f, 146, 2},   // 2.5 -> 2
                                           SCase{7.5f, 146, 4},   // 3.5 -> 4
                                           SCase{29.9f, 30, 10}, SCase{30, 29.9f, 6},
                                           SCase{39, 146, 20},    // (39 - 24) / 10 = 1.5 -> 2
                                           SCase{48, 10, 9},      // 48 / 6 + 1
                                           SCase{-3, 146, 0}, SCase{-1.5f, 146, 0}));

struct UrbanCase {
    double freq, dist_m, expected;
};
class Urban : public ::testing::TestWithParam<UrbanCase> {};

TEST_P(Urban, Factor)
{
    const UrbanCase c = GetParam();
    EXPECT_NEAR(zk::urbanfactor(c.freq, c.dist_m), c.expected, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Cases, Urban,
                         ::testing::Values(UrbanCase{100, 10000, 15.3}, UrbanCase{100, 200000, 1},
                                           UrbanCase{1000, 0, 17.5}, UrbanCase{146, 5000, 16.5 + std::log10(1.46) - 0.6},
                                           UrbanCase{100, 129166.0, 1.00008}, UrbanCase{100, 135000, 1}));

class Link : public radiotest::DocumentTest {};

TEST_F(Link, DefaultSystemsGive150dBBothWays)
{
    zk::linkparams(1, 2, 1);
    EXPECT_NEAR(zk::sysgainab, 150, 1e-6);
    EXPECT_NEAR(zk::sysgainba, 150, 1e-6);
    EXPECT_DOUBLE_EQ(+zk::lrprm.freq, 146);
    EXPECT_DOUBLE_EQ(+zk::lrprm.ns, 301);
    EXPECT_DOUBLE_EQ(+zk::lrprm.eps, 15);
    EXPECT_FLOAT_EQ(float(+zk::lrprm.sigma), 0.005f);
    EXPECT_EQ(+zk::lrprm.pol, 1);
    EXPECT_EQ(+zk::lrprm.climate, 5);
    EXPECT_EQ(+zk::lrprm.mdvar, 3);
    EXPECT_DOUBLE_EQ(+zk::lrprm.h1, 2);
    EXPECT_DOUBLE_EQ(+zk::lrprm.h2, 2);
    EXPECT_DOUBLE_EQ(+zk::lrprm.ptime, 50);
    EXPECT_DOUBLE_EQ(+zk::lrprm.ploc, 50);
    EXPECT_DOUBLE_EQ(+zk::lrprm.psit, 50);
}

TEST_F(Link, GainsFromEachEndsSystem)
{
    zk::systems[2].power = 0;  // counts as 1e-8 W, -50 dBm
    zk::systems[2].gain = 6;
    zk::systems[2].threshold = -100;
    zk::nets[1].system[1] = 2;  // unit 2 uses system 2
    zk::linkparams(1, 2, 1);
    // A to B: 40 - 0.5 + 2 + 6 - 0.5 + 100; B to A: -50 - 0.5 + 6 + 2 - 0.5 + 107.
    EXPECT_NEAR(zk::sysgainab, 147, 1e-6);
    EXPECT_NEAR(zk::sysgainba, 64, 1e-6);
}

TEST_F(Link, ParameterBlockFromTheNetwork)
{
    zk::NetRecord &n = zk::nets[3];
    n.fmin = 400;
    n.fmax = 470;
    n.statmode = 103;
    n.polar = 0;
    n.climate = 7;
    zk::systems[1].height = 12.5f;
    zk::netheight(3, 2) = 30;
    zk::lrprm.interf = 1;
    zk::linkparams(1, 2, 3);
    EXPECT_DOUBLE_EQ(+zk::lrprm.freq, 435);
    EXPECT_EQ(+zk::lrprm.mdvar, 3);
    EXPECT_EQ(+zk::lrprm.pol, 0);
    EXPECT_EQ(+zk::lrprm.climate, 7);
    EXPECT_DOUBLE_EQ(+zk::lrprm.h1, 12.5);
    EXPECT_DOUBLE_EQ(+zk::lrprm.h2, 30);
    EXPECT_EQ(+zk::lrprm.interf, 1);  // the menu's choice stays
    zk::lrprm.interf = 0;

    // A system number out of range makes the link not computable: no gain
    // either way and no height of that end are kept from the link before.
    zk::MsgScript script;
    zk::sysgainab = zk::sysgainba = -1;
    zk::lrprm.h1 = -7;
    zk::nets[3].system[0] = 0;
    EXPECT_FALSE(zk::linkparams(1, 2, 3));
    EXPECT_EQ(zk::sysgainab, 0);
    EXPECT_EQ(zk::sysgainba, 0);
    EXPECT_EQ(+zk::lrprm.h1, 0);
    EXPECT_DOUBLE_EQ(+zk::lrprm.h2, 30);
    zk::netheight(3, 1) = 4;  // an override needs no system
    zk::linkparams(1, 2, 3);
    EXPECT_DOUBLE_EQ(+zk::lrprm.h1, 4);
    EXPECT_EQ(script.shown().size(), 2);  // outside an operation: each call
}

// A system byte out of 1..25 (a damaged or foreign file), in any of the two
// ends: the link is never rated with the gains of the link computed before;
// it gets the failure loss without a model call, and the unit is named once
// per operation.
struct NoSystemCase {
    int sysA, sysB;
    int named;  // the unit the message names
};
class NoSystem : public radiotest::DocumentTest, public ::testing::WithParamInterface<NoSystemCase> {};

TEST_P(NoSystem, NotComputable)
{
    const NoSystemCase c = GetParam();
    zk::setFixedText(zk::units[1].name, QStringLiteral("Alpha"));
    zk::setFixedText(zk::units[2].name, QStringLiteral("Bravo"));
    zk::setFixedText(zk::nets[2].name, QStringLiteral("Secours"));
    int calls = 0;
    zk::setLinkModelForTest([&](double *pfl, double *loss, LinkParameters *prm) {
        ++calls;
        for (int i = std::max(1, prm->firstpt); i <= int(pfl[1]); ++i) loss[i + 3] = 120;
        prm->loss = 120;
        return true;
    });
    radiotest::placeUnit(1, 100, 100);
    radiotest::placeUnit(2, 110, 100);
    ASSERT_EQ(zk::getprofile(1, 2), 10);
    // A good link first: 150 dB of gain both ways.
    EXPECT_TRUE(zk::linkparams(1, 2, 1));
    EXPECT_NEAR(zk::calcloss(1, 2, 1, 0), 30, 1e-9);
    EXPECT_EQ(calls, 1);

    zk::nets[2].system[0] = uint8_t(c.sysA);
    zk::nets[2].system[1] = uint8_t(c.sysB);
    zk::MsgScript script;
    {
        zk::LinkOperation op;
        for (int k = 0; k < 3; ++k) {
            EXPECT_FALSE(zk::linkparams(1, 2, 2));
            EXPECT_EQ(zk::sysgainab, 0);
            EXPECT_EQ(zk::sysgainba, 0);
            EXPECT_NEAR(zk::calcloss(1, 2, 2, 0), -1000, 1e-9);
            EXPECT_EQ(+zk::lrprm.loss, 1000);
            for (int i = 1; i <= 10; ++i) EXPECT_EQ(zk::lrloss[size_t(i + 3)], 1000) << i;
        }
    }
    EXPECT_EQ(calls, 1);
    ASSERT_EQ(script.shown().size(), 1);
    const QString who = c.named == 1 ? QStringLiteral("Alpha") : QStringLiteral("Bravo");
    const int s = c.named == 1 ? c.sysA : c.sysB;
    EXPECT_EQ(script.shown()[0].text,
              QStringLiteral("Système radio %1 inconnu pour %2 dans le réseau Secours\r\nCalcul impossible.").arg(s).arg(who));
    EXPECT_EQ(script.shown()[0].flags, zk::mbExclamation);

    // The good link is computed again afterwards.
    EXPECT_TRUE(zk::linkparams(1, 2, 1));
    EXPECT_NEAR(zk::calcloss(1, 2, 1, 0), 30, 1e-9);
    EXPECT_EQ(calls, 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, NoSystem,
                         ::testing::Values(NoSystemCase{0, 1, 1}, NoSystemCase{1, 0, 2}, NoSystemCase{26, 1, 1},
                                           NoSystemCase{1, 255, 2}, NoSystemCase{0, 30, 1}));

// LR computes nothing for a profile of no interval or of more than 160: the
// loss of the link before must not stand for this one.
class Refused : public radiotest::DocumentTest, public ::testing::WithParamInterface<int> {};

TEST_P(Refused, ProfileIsTheFailurePath)
{
    ASSERT_EQ(flatlink(), 60);
    zk::MsgScript script;
    const double good = zk::calcloss(1, 2, 1, 1);
    ASSERT_TRUE(script.shown().isEmpty());
    ASSERT_LT(+zk::lrprm.loss, 200);
    ASSERT_NEAR(good, 150 - +zk::lrprm.loss, 1e-9);

    zk::pfl[1] = GetParam();
    {
        zk::LinkOperation op;
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(zk::calcloss(1, 2, 1, 1), 150 - 1000, 1e-9);
        EXPECT_TRUE(zk::LinkOperation::failed());
    }
    EXPECT_EQ(+zk::lrprm.loss, 1000);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Erreur dans la DLL\r\nCalcul impossible."));
    EXPECT_EQ(script.shown()[0].flags, zk::mbExclamation);
}

INSTANTIATE_TEST_SUITE_P(Cases, Refused, ::testing::Values(0, 161, 162));

TEST_F(Link, MarginAndUrbanFactorOverAFakeModel)
{
    int calls = 0;
    zk::setLinkModelForTest([&](double *pfl, double *loss, LinkParameters *prm) {
        ++calls;
        const int n = int(pfl[1]);
        loss[3] = 0;
        for (int i = std::max(1, prm->firstpt); i <= n; ++i) loss[i + 3] = 100 + i;
        prm->loss = 100 + n;
        return true;
    });
    radiotest::placeUnit(1, 100, 100);
    radiotest::placeUnit(2, 110, 100);
    zk::nets[1].fmin = zk::nets[1].fmax = 100;
    ASSERT_EQ(zk::getprofile(1, 2), 10);
    zk::linkparams(1, 2, 1);

    // No urban factor: margin = 150 - 110.
    EXPECT_NEAR(zk::calcloss(1, 2, 1, 1), 40, 1e-9);
    EXPECT_EQ(+zk::lrprm.firstpt, 10);
    EXPECT_EQ(zk::urban, 0);
    EXPECT_EQ(zk::lrloss[13], 110);

    // Urban factor over every point: spacing 10 cells x 100/512 km / 10.
    zk::nets[1].statmode = 103;
    zk::linkparams(1, 2, 1);
    EXPECT_EQ(+zk::lrprm.mdvar, 3);
    const double s = zk::pfl[2];
    const double margin = zk::calcloss(1, 2, 1, 0);
    EXPECT_EQ(+zk::lrprm.firstpt, 0);
    EXPECT_NEAR(zk::urban, 16.5 - 0.00012 * 10 * s, 1e-9);
    EXPECT_NEAR(+zk::lrprm.loss, 110 + zk::urban, 1e-9);
    EXPECT_NEAR(margin, 40 - zk::urban, 1e-9);
    for (int i = 1; i <= 10; ++i) EXPECT_NEAR(zk::lrloss[size_t(i) + 3], 100 + i + zk::urbanfactor(100, i * s), 1e-9) << i;
    EXPECT_EQ(zk::lrloss[3], 0);  // A itself receives nothing
    EXPECT_EQ(calls, 2);
}

TEST_F(Link, AModelThatCannotBeCalledIsReportedOncePerOperation)
{
    zk::setLinkModelForTest([](double *, double *, LinkParameters *) { return false; });
    radiotest::placeUnit(1, 100, 100);
    radiotest::placeUnit(2, 110, 100);
    ASSERT_GT(zk::getprofile(1, 2), 0);
    zk::linkparams(1, 2, 1);
    zk::MsgScript script;
    {
        zk::LinkOperation op;
        for (int k = 0; k < 5; ++k) EXPECT_NEAR(zk::calcloss(1, 2, 1, 1), 150 - 1000, 1e-9);
        EXPECT_TRUE(zk::LinkOperation::failed());
        {
            zk::LinkOperation inner;  // nested: still the same operation
            zk::calcloss(1, 2, 1, 1);
        }
    }
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Erreur dans la DLL\r\nCalcul impossible."));
    EXPECT_EQ(script.shown()[0].flags, zk::mbExclamation);
    EXPECT_EQ(script.shown()[0].caption, QString(""));
    EXPECT_EQ(+zk::lrprm.loss, 1000);

    // Outside an operation every call is its own.
    script.clear();
    zk::calcloss(1, 2, 1, 1);
    zk::calcloss(1, 2, 1, 1);
    EXPECT_EQ(script.shown().size(), 2);

    // A new operation reports again; the urban factor still applies.
    script.clear();
    zk::nets[1].statmode = 100;
    zk::nets[1].fmin = zk::nets[1].fmax = 100;
    zk::linkparams(1, 2, 1);
    {
        zk::LinkOperation op;
        const double margin = zk::calcloss(1, 2, 1, 1);
        EXPECT_NEAR(margin, 150 - 1000 - zk::urban, 1e-9);
        EXPECT_GT(zk::urban, 1);
    }
    EXPECT_EQ(script.shown().size(), 1);
}

TEST_F(Link, MissingEngineLibrary)
{
    zk::engine::setLibraryName("libzelkor32-missing.so");
    zk::engine::unload();
    radiotest::placeUnit(1, 100, 100);
    radiotest::placeUnit(2, 110, 100);
    ASSERT_GT(zk::getprofile(1, 2), 0);
    zk::linkparams(1, 2, 1);
    zk::MsgScript script;
    EXPECT_NEAR(zk::calcloss(1, 2, 1, 1), -850, 1e-9);
    EXPECT_EQ(script.shown().size(), 1);
    zk::engine::setLibraryName("libzelkor32.so");
    zk::engine::unload();
}

TEST_F(Link, RealEngineOnAFlatPath)
{
    // 60 cells east: 60 x 100 / 512 = 11.7 km over flat ground at 146 MHz.
    ASSERT_EQ(flatlink(), 60);
    zk::MsgScript script;
    const double whole = zk::calcloss(1, 2, 1, 1);
    EXPECT_TRUE(script.shown().isEmpty());
    const double freespace = 32.45 + 20 * std::log10(146.0) + 20 * std::log10(zk::profdist);
    EXPECT_NEAR(+zk::lrprm.fsloss, freespace, 0.1);
    EXPECT_GT(+zk::lrprm.loss, freespace);
    EXPECT_LT(+zk::lrprm.loss, 200);
    EXPECT_NEAR(whole, 150 - +zk::lrprm.loss, 1e-9);
    EXPECT_EQ(zk::lrloss[0], 60);

    // Every point: the last one is the whole path again, and the loss grows
    // with the distance.
    const double total = zk::lrprm.loss;
    zk::calcloss(1, 2, 1, 0);
    EXPECT_NEAR(zk::lrloss[63], total, 1e-9);
    EXPECT_LT(zk::lrloss[13], zk::lrloss[63]);
    EXPECT_EQ(zk::lrloss[3], 0);
}

// Roles and antenna heights.
struct TopoCase {
    int topo;
    const char *name, *r0, *r1, *r2;
};
class Topology : public ::testing::TestWithParam<TopoCase> {};

TEST_P(Topology, NamesAndRoles)
{
    const TopoCase c = GetParam();
    zk::rolenames = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
    zk::curtopo = int16_t(c.topo);
    EXPECT_EQ(zk::topologyname(), QString::fromUtf8(c.name));
    EXPECT_EQ(zk::rolenames[0], QString::fromUtf8(c.r0));
    EXPECT_EQ(zk::rolenames[1], QString::fromUtf8(c.r1));
    EXPECT_EQ(zk::rolenames[2], QString::fromUtf8(c.r2));
}

INSTANTIATE_TEST_SUITE_P(Cases, Topology,
                         ::testing::Values(TopoCase{0, "ouverte", "Commande", "Subordonné", "Relais"},
                                           TopoCase{1, "en étoile", "Maître", "Esclave", ""},
                                           TopoCase{2, "maillée", "Node", "Terminal", ""},
                                           TopoCase{7, "maillée", "Node", "Terminal", ""},
                                           TopoCase{-1, "maillée", "Node", "Terminal", ""}));

TEST_F(Link, AntennaHeights)
{
    zk::systems[3].height = 12.5f;
    zk::nets[4].system[9] = 3;  // unit 10 uses system 3 in network 4
    EXPECT_EQ(zk::antheight(4, 10), 12.5f);
    zk::netheight(4, 10) = 30;
    EXPECT_EQ(zk::antheight(4, 10), 30.0f);
    zk::netheight(4, 10) = 0.2f;  // below the dialog's minimum: returned as it is
    EXPECT_EQ(zk::antheight(4, 10), 0.2f);
    zk::netheight(4, 10) = -3;
    EXPECT_EQ(zk::antheight(4, 10), -3.0f);
    zk::netheight(4, 10) = 0;
    zk::nets[4].system[9] = 0;  // a file may hold 0: no height
    EXPECT_EQ(zk::antheight(4, 10), 0.0f);
    zk::nets[4].system[9] = 26;
    EXPECT_EQ(zk::antheight(4, 10), 0.0f);
    EXPECT_EQ(zk::antheight(0, 10), 0.0f);
    EXPECT_EQ(zk::antheight(26, 10), 0.0f);
    EXPECT_EQ(zk::antheight(4, 0), 0.0f);
    EXPECT_EQ(zk::antheight(4, 51), 0.0f);
}

TEST(Roles, MemberByteKeepsTheRoleWhenTakenOut)
{
    uint8_t m = 130;  // member, role 2
    EXPECT_TRUE(m & 128);
    EXPECT_EQ(m & 127, 2);
    m &= 127;
    EXPECT_EQ(m, 2);
}

}  // namespace
