// Link quality of all networks: direct links from the margins, routes over
// relays by topology, and the link styles the network drawing takes from
// them. The propagation model is replaced by a table of losses per pair, so
// every margin is exact; the units' per-network antenna heights carry their
// numbers to it.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

#include "base/screen.h"
#include "msgbox.h"
#include "radio/linkbudget.h"
#include "radio/netdraw.h"
#include "radio/quality.h"
#include "radioenv.h"

namespace {

constexpr uint8_t kMember = 128;

class Quality : public ::testing::Test {
protected:
    // Margins per pair (smaller unit first); a pair not listed gets -30 dB.
    std::map<std::pair<int, int>, double> margin;
    int calls = 0;
    bool wholeOnly = true;

    void SetUp() override
    {
        zk::setScreenPixels(QSize(1024, 768));
        zk::newnet(false);
        radiotest::setTestMap();
        // Every unit placed in its own cell, each tagged by its height.
        for (int u = 1; u <= zk::kUnits; ++u) {
            radiotest::placeUnit(u, 10 * u, 100);
            for (int n = 1; n <= zk::kNets; ++n) zk::netheight(n, u) = float(u);
        }
        // Only network 1 is active unless a test says otherwise.
        for (int n = 2; n <= zk::kNets; ++n) zk::nets[n].topology = 0;
        zk::setLinkModelForTest([this](double *pfl, double *, LinkParameters *prm) {
            ++calls;
            if (prm->firstpt != int(pfl[1])) wholeOnly = false;
            const int a = int(prm->h1), b = int(prm->h2);
            const auto it = margin.find({std::min(a, b), std::max(a, b)});
            prm->loss = 150 - (it == margin.end() ? -30 : it->second);
            return true;
        });
    }
    void TearDown() override
    {
        zk::setLinkModelForTest({});
        zk::setScreenPixels(QSize());
    }
    static void member(int net, int unit, int role) { zk::nets[net].member[unit - 1] = uint8_t(kMember | role); }
    static int direct(int net, int a, int b) { return zk::quality(net, std::max(a, b), std::min(a, b)); }
    static int route(int net, int a, int b) { return zk::quality(net, std::min(a, b), std::max(a, b)); }
};

TEST_F(Quality, VoiceRelayJoinsTwoSubordinates)
{
    member(1, 1, 1);  // S1
    member(1, 2, 1);  // S2
    member(1, 3, 2);  // R
    margin[{1, 3}] = 0;
    margin[{2, 3}] = 12;
    zk::calcnets(0);
    EXPECT_EQ(direct(1, 1, 2), 0);  // two subordinates: no direct link
    EXPECT_EQ(direct(1, 1, 3), 50);
    EXPECT_EQ(direct(1, 2, 3), 62);
    EXPECT_EQ(route(1, 1, 3), 50);
    EXPECT_EQ(route(1, 2, 3), 50);
    EXPECT_EQ(route(1, 1, 2), 49);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(wholeOnly);
}

TEST_F(Quality, VoiceCommandNeedsTheRelayRole)
{
    // The same three units but the middle one is a command post: no relay.
    member(1, 1, 1);
    member(1, 2, 1);
    member(1, 3, 0);
    margin[{1, 3}] = 5;
    margin[{2, 3}] = 5;
    zk::calcnets(0);
    EXPECT_EQ(route(1, 1, 2), 0);
    // A voice network relays once only: S1 - R1 - R2 - S2 stays unreachable.
    member(1, 3, 2);
    member(1, 4, 2);
    margin.clear();
    margin[{1, 3}] = 5;
    margin[{3, 4}] = 5;
    margin[{2, 4}] = 5;
    zk::calcnets(0);
    EXPECT_EQ(route(1, 1, 4), 49);
    EXPECT_EQ(route(1, 2, 3), 49);
    EXPECT_EQ(route(1, 1, 2), 0);
}

TEST_F(Quality, TwoMembersSearchNoRoute)
{
    member(1, 1, 0);
    member(1, 2, 1);
    margin[{1, 2}] = -10;
    zk::calcnets(0);
    EXPECT_EQ(direct(1, 1, 2), 40);
    EXPECT_EQ(route(1, 1, 2), 0);
}

TEST_F(Quality, StarSlavesNeverGetARoute)
{
    zk::nets[1].topology = 256 + 1;
    member(1, 1, 0);  // master
    member(1, 2, 1);
    member(1, 3, 1);
    margin[{1, 2}] = 40;
    margin[{1, 3}] = 40;
    margin[{2, 3}] = 40;  // never computed: two slaves
    zk::calcnets(0);
    EXPECT_EQ(direct(1, 2, 3), 0);
    EXPECT_EQ(route(1, 2, 3), 0);
    EXPECT_EQ(route(1, 1, 2), 50);
    EXPECT_EQ(direct(1, 1, 3), 90);
}

struct MeshCase {
    int maxretrans, t1t2, t1n2;
};
class MeshChain : public Quality, public ::testing::WithParamInterface<MeshCase> {};

TEST_P(MeshChain, RoutesUpToTheRetransmissionLimit)
{
    const MeshCase c = GetParam();
    // T1(1) - N1(2) - N2(3) - T2(4): only neighbours hear each other.
    zk::nets[1].topology = 256 + 2;
    zk::nets[1].maxretrans = int16_t(c.maxretrans);
    member(1, 1, 1);
    member(1, 2, 0);
    member(1, 3, 0);
    member(1, 4, 1);
    margin[{1, 2}] = 3;
    margin[{2, 3}] = 3;
    margin[{3, 4}] = 3;
    zk::calcnets(0);
    EXPECT_EQ(route(1, 1, 4), c.t1t2);
    EXPECT_EQ(route(1, 1, 3), c.t1n2);
    EXPECT_EQ(route(1, 2, 3), 50);
    EXPECT_EQ(direct(1, 1, 4), 0);  // two terminals
    EXPECT_EQ(direct(1, 1, 3), 20);
}

INSTANTIATE_TEST_SUITE_P(Cases, MeshChain,
                         ::testing::Values(MeshCase{0, 0, 0}, MeshCase{1, 0, 49}, MeshCase{2, 48, 49},
                                           MeshCase{20, 48, 49}, MeshCase{41, 0, 0}));

struct MarginCase {
    double margin;
    int quality, route;
};
class Margins : public Quality, public ::testing::WithParamInterface<MarginCase> {};

TEST_P(Margins, QualityIsFiftyPlusTheRoundedMargin)
{
    const MarginCase c = GetParam();
    member(1, 1, 0);
    member(1, 2, 1);
    margin[{1, 2}] = c.margin;
    zk::calcnets(0);
    EXPECT_EQ(direct(1, 1, 2), c.quality);
    EXPECT_EQ(route(1, 1, 2), c.route);
}

INSTANTIATE_TEST_SUITE_P(Cases, Margins,
                         ::testing::Values(MarginCase{-0.5, 50, 50}, MarginCase{-0.6, 49, 0}, MarginCase{0.5, 50, 50},
                                           MarginCase{1.5, 52, 50}, MarginCase{70, 99, 50}, MarginCase{-70, 1, 0},
                                           MarginCase{49, 99, 50}, MarginCase{-49, 1, 0}, MarginCase{-48, 2, 0},
                                           MarginCase{1e300, 99, 50}, MarginCase{-1e300, 1, 0},
                                           MarginCase{std::nan(""), 1, 0}));

TEST_F(Quality, DisabledUnitsTakePartInNothing)
{
    member(1, 1, 1);
    member(1, 2, 1);
    member(1, 3, 2);
    margin[{1, 3}] = 5;
    margin[{2, 3}] = 5;
    zk::units[3].enabled = 0;
    zk::calcnets(0);
    EXPECT_EQ(direct(1, 1, 3), 0);
    EXPECT_EQ(route(1, 1, 2), 0);
    EXPECT_EQ(calls, 0);
}

TEST_F(Quality, HiddenNetworksOnlyWhenAllAreAsked)
{
    zk::nets[1].topology = 0;  // voice, hidden
    zk::nets[2].topology = 256;
    for (int n : {1, 2}) {
        member(n, 1, 0);
        member(n, 2, 1);
    }
    margin[{1, 2}] = 4;
    zk::calcnets(0);
    EXPECT_EQ(direct(1, 1, 2), 0);
    EXPECT_EQ(direct(2, 1, 2), 54);
    EXPECT_EQ(calls, 1);
    zk::calcnets(1);
    EXPECT_EQ(direct(1, 1, 2), 54);
    EXPECT_EQ(direct(2, 1, 2), 54);
    EXPECT_EQ(calls, 3);
}

TEST_F(Quality, APairOffTheMapGetsNothingInAnyNetwork)
{
    zk::nets[2].topology = 256;
    for (int n : {1, 2}) {
        member(n, 1, 0);
        member(n, 2, 1);
        member(n, 3, 1);
    }
    zk::units[2].lon = 30;  // off the map
    radiotest::placeUnit(3, 10.2, 100);  // in unit 1's cell
    margin[{1, 2}] = 10;
    margin[{1, 3}] = 10;
    zk::calcnets(0);
    for (int n : {1, 2}) {
        EXPECT_EQ(direct(n, 1, 2), 0);
        EXPECT_EQ(direct(n, 1, 3), 0);
    }
    EXPECT_EQ(calls, 0);
}

TEST_F(Quality, OneProfilePerPairOneModelCallPerNetwork)
{
    for (int n = 1; n <= 3; ++n) {
        zk::nets[n].topology = 256;
        member(n, 5, 0);
        member(n, 6, 1);
    }
    margin[{5, 6}] = 1;
    zk::calcnets(0);
    EXPECT_EQ(calls, 3);
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(direct(n, 5, 6), 51);
    // The profile of the last pair stays with its end samples.
    EXPECT_EQ(zk::pfl[1], 10);
}

TEST_F(Quality, AFailingModelIsReportedOnceAndGivesQualityOne)
{
    zk::setLinkModelForTest([](double *, double *, LinkParameters *) { return false; });
    for (int u = 1; u <= 6; ++u) member(1, u, 0);
    zk::MsgScript script;
    zk::calcnets(0);
    EXPECT_EQ(script.shown().size(), 1);
    EXPECT_EQ(direct(1, 1, 6), 1);
    EXPECT_EQ(route(1, 1, 6), 0);
}

// A system byte out of 1..25 in network 2 (a damaged or foreign file): the
// pair is rated worst there, whatever the same pair gave in network 1, and
// the station is named once for the whole matrix.
TEST_F(Quality, AnUnknownSystemGivesQualityOneAndIsNamedOnce)
{
    zk::nets[2].topology = zk::kNetVisible;
    zk::setFixedText(zk::units[2].name, QStringLiteral("Bravo"));
    zk::setFixedText(zk::nets[2].name, QStringLiteral("Secours"));
    for (int u = 1; u <= 3; ++u) {
        member(1, u, 0);
        member(2, u, 0);
    }
    margin[{1, 2}] = 20;
    margin[{1, 3}] = 20;
    margin[{2, 3}] = 20;
    zk::nets[2].system[1] = 0;  // unit 2
    zk::MsgScript script;
    zk::calcnets(0);
    EXPECT_EQ(direct(1, 1, 2), 70);
    EXPECT_EQ(direct(2, 1, 3), 70);
    EXPECT_EQ(direct(2, 1, 2), 1);
    EXPECT_EQ(direct(2, 2, 3), 1);
    EXPECT_EQ(route(2, 1, 2), 0);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text,
              QStringLiteral("Système radio 0 inconnu pour Bravo dans le réseau Secours\r\nCalcul impossible."));
}

TEST(Relax, RulesOfTheTopologies)
{
    EXPECT_EQ(zk::relayrule(0, 9).relayrole, 2);
    EXPECT_EQ(zk::relayrule(0, 9).maxhops, 1);
    EXPECT_EQ(zk::relayrule(1, 9).relayrole, -1);
    EXPECT_EQ(zk::relayrule(2, 9).relayrole, 0);
    EXPECT_EQ(zk::relayrule(2, 9).maxhops, 9);
}

TEST(Relax, FewestRetransmissionsOverALongChain)
{
    // Ten relays in a row: member k hears k - 1 and k + 1 only.
    const int c = 10;
    std::vector<uint8_t> route(size_t(c * c), 0);
    for (int k = 0; k + 1 < c; ++k) route[size_t(k * c + k + 1)] = 50;
    zk::relaxroutes(route, std::vector<int>(size_t(c), 0), 0, 20);
    for (int p = 0; p < c; ++p)
        for (int q = p + 1; q < c; ++q) EXPECT_EQ(route[size_t(p * c + q)], 50 - (q - p - 1)) << p << "," << q;
}

// Link styles: one network's class by the rules, then the worst over the
// networks of a pair.
struct StyleCase {
    int q, r, topology, maxretrans;
    std::array<uint8_t, 3> rules;
    int style;
};
class Styles : public ::testing::TestWithParam<StyleCase> {};

TEST_P(Styles, ClassOfOneNetwork)
{
    const StyleCase c = GetParam();
    EXPECT_EQ(zk::netlinkstyle(c.q, c.r, c.topology, c.maxretrans, c.rules), c.style) << "q=" << c.q << " r=" << c.r;
}

constexpr std::array<uint8_t, 3> kDefault{175, 181, 129};
constexpr std::array<uint8_t, 3> kNoYellow{175, 53, 129};
constexpr std::array<uint8_t, 3> kNoGreen{175, 181, 1};
constexpr std::array<uint8_t, 3> kNoRed{47, 181, 129};

INSTANTIATE_TEST_SUITE_P(
    Cases, Styles,
    ::testing::Values(StyleCase{1, 0, 0, 0, kDefault, 1}, StyleCase{43, 0, 0, 0, kDefault, 1},
                      StyleCase{44, 0, 0, 0, kDefault, 2}, StyleCase{46, 0, 0, 0, kDefault, 2},
                      StyleCase{47, 0, 0, 0, kDefault, 3}, StyleCase{52, 0, 0, 0, kDefault, 3},
                      StyleCase{53, 0, 0, 0, kDefault, 4}, StyleCase{55, 0, 0, 0, kDefault, 4},
                      StyleCase{56, 0, 0, 0, kDefault, 5}, StyleCase{58, 0, 0, 0, kDefault, 5},
                      StyleCase{59, 0, 0, 0, kDefault, 6}, StyleCase{99, 0, 1, 0, kDefault, 6},
                      StyleCase{50, 0, 0, 0, kNoYellow, 0}, StyleCase{60, 50, 0, 0, kNoGreen, 0},
                      StyleCase{40, 0, 0, 0, kNoRed, 0},
                      // Relayed mesh networks: by the route alone.
                      StyleCase{20, 50, 2, 2, kDefault, 6}, StyleCase{20, 49, 2, 2, kDefault, 5},
                      StyleCase{20, 48, 2, 2, kDefault, 4}, StyleCase{90, 30, 2, 2, kDefault, 4},
                      StyleCase{90, 0, 2, 2, kDefault, 2}, StyleCase{90, 0, 2, 2, kNoRed, 0},
                      StyleCase{20, 50, 2, 2, kNoGreen, 0}, StyleCase{50, 48, 2, 2, kNoYellow, 4},
                      // A mesh network without retransmissions is classed by q.
                      StyleCase{50, 50, 2, 0, kDefault, 3}));

TEST(Styles, LooksOfTheSixStyles)
{
    const zk::LinkLook s1 = zk::linklook(1), s2 = zk::linklook(2), s3 = zk::linklook(3);
    const zk::LinkLook s4 = zk::linklook(4), s5 = zk::linklook(5), s6 = zk::linklook(6);
    EXPECT_EQ(s1.bright, 0x0000FFu);
    EXPECT_EQ(s1.dark, 0x0000C8u);
    EXPECT_EQ(s1.brightwidth, 2);
    EXPECT_FALSE(s1.dotted);
    EXPECT_EQ(s2.dark, 0x00003Cu);
    EXPECT_TRUE(s2.dotted);
    EXPECT_EQ(s3.bright, 0x00FFFFu);
    EXPECT_EQ(s3.dark, 0x003C50u);
    EXPECT_TRUE(s3.dotted);
    EXPECT_EQ(s4.bright, 0x00FF00u);
    EXPECT_EQ(s4.dark, 0x003C00u);
    EXPECT_TRUE(s4.dotted);
    EXPECT_FALSE(s5.dotted);
    EXPECT_EQ(s5.brightwidth, 1);
    EXPECT_EQ(s5.darkwidth, 3);
    EXPECT_EQ(s6.brightwidth, 2);
    EXPECT_EQ(s6.darkwidth, 4);
}

class PairStyle : public ::testing::Test {
protected:
    void SetUp() override
    {
        zk::setScreenPixels(QSize(1024, 768));
        zk::newnet(false);
        zk::quality.clear();
    }
    void TearDown() override { zk::setScreenPixels(QSize()); }
};

TEST_F(PairStyle, WorstDrawnStyleOverTheNetworks)
{
    zk::quality(1, 2, 1) = 50;  // style 3
    zk::quality(2, 2, 1) = 70;  // style 6
    EXPECT_EQ(zk::pairstyle(1, 2), 3);
    // Styles 6 then 0 (the second network's class is off): not drawn.
    zk::quality(1, 2, 1) = 70;
    zk::quality(2, 2, 1) = 10;
    zk::linkstyle[0] = 47;  // red class off
    EXPECT_EQ(zk::pairstyle(1, 2), 0);
    // Styles 0, 6 and 3: drawn in style 3.
    zk::quality(1, 2, 1) = 10;
    zk::quality(2, 2, 1) = 70;
    zk::quality(3, 2, 1) = 50;
    EXPECT_EQ(zk::pairstyle(1, 2), 3);
    // An inactive network adds nothing: styles 0 then 6 give 6 (the order
    // of the networks decides).
    zk::nets[3].topology = 2;
    EXPECT_EQ(zk::pairstyle(1, 2), 6);
    zk::nets[2].topology = 0;
    EXPECT_EQ(zk::pairstyle(1, 2), 0);
    // Nothing computed: nothing drawn.
    EXPECT_EQ(zk::pairstyle(3, 4), 0);
}

}  // namespace
