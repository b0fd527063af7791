// The ITM point-to-point model and the link-loss operation LR: the shared
// reference cases, the clamps, the per-point losses, bad input and the
// routines' own edge cases.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "itm/arith.h"
#include "itm/itm.h"
#include "itm/lr.h"
#include "mini_json.h"
#include "zelkor32.h"

namespace {

using zk::testjson::Value;
using LRFn = int32_t (*)(double *, double *, LinkParameters *);

constexpr int kArr = 166;             // the caller's arrays: elements 0..165
constexpr double kSentinel = -777.25;  // marks elements LR must not write
constexpr size_t kInputBytes = offsetof(LinkParameters, loss);

// ---------------------------------------------------------------------------
// The reference cases

const Value &fixture()
{
    static const Value v = [] {
        std::ifstream f(std::string(ZK_FIXTURES_DIR) + "/itm_cases.json", std::ios::binary);
        if (!f) throw std::runtime_error("itm_cases.json not found under " ZK_FIXTURES_DIR);
        std::stringstream ss;
        ss << f.rdbuf();
        return zk::testjson::parse(ss.str());
    }();
    return v;
}

std::vector<std::string> caseIds()
{
    std::vector<std::string> ids;
    try {
        for (const Value &c : fixture()["cases"].arr) ids.push_back(c["id"].str);
    } catch (const std::exception &) {
        ids.push_back("fixture_missing");
    }
    return ids;
}

const Value &caseById(const std::string &id)
{
    for (const Value &c : fixture()["cases"].arr)
        if (c["id"].str == id) return c;
    throw std::runtime_error("no case " + id);
}

LinkParameters paramsFrom(const Value &in)
{
    LinkParameters p;
    std::memset(&p, 0x5A, sizeof p);  // outputs hold garbage before the call
    p.freq = in["freq"].num;
    p.ns = in["ns"].num;
    p.eps = in["eps"].num;
    p.sigma = in["sigma"].num;
    p.pol = int32_t(in["pol"].num);
    p.climate = int32_t(in["climate"].num);
    p.mdvar = int32_t(in["mdvar"].num);
    p.h1 = in["h1"].num;
    p.h2 = in["h2"].num;
    p.ptime = in["ptime"].num;
    p.ploc = in["ploc"].num;
    p.psit = in["psit"].num;
    p.interf = int32_t(in["interf"].num);
    p.firstpt = int32_t(in["firstpt"].num);
    return p;
}

struct Arrays {
    std::vector<double> pfl = std::vector<double>(kArr, 0.0);
    std::vector<double> loss = std::vector<double>(kArr, kSentinel);
};

Arrays arraysFrom(const Value &c)
{
    Arrays a;
    const Value &prof = c["profile"];
    a.pfl[0] = c["pfl0_in"].num;
    a.pfl[1] = prof["n"].num;
    a.pfl[2] = prof["spacing_m"].num;
    const auto &z = prof["elevations_m"].arr;
    for (size_t k = 0; k < z.size() && k + 3 < kArr; ++k) a.pfl[k + 3] = z[k].num;
    return a;
}

double field(const LinkParameters &p, const std::string &name)
{
    if (name == "loss") return p.loss;
    if (name == "out1") return p.out1;
    if (name == "out2") return p.out2;
    if (name == "hd1") return p.hd1;
    if (name == "hd2") return p.hd2;
    if (name == "ha1") return p.ha1;
    if (name == "ha2") return p.ha2;
    if (name == "hx") return p.hx;
    if (name == "fsloss") return p.fsloss;
    if (name == "obsloss") return p.obsloss;
    if (name == "out10") return p.out10;
    if (name == "kwx") return p.kwx;
    if (name == "losflag") return p.losflag;
    if (name == "scatflag") return p.scatflag;
    if (name == "lvar") return p.lvar;
    ADD_FAILURE() << "unknown output field " << name;
    return 0;
}

bool isDb(const std::string &name) { return name == "loss" || name == "fsloss" || name == "obsloss"; }
bool isCount(const std::string &name)
{
    return name == "kwx" || name == "losflag" || name == "scatflag" || name == "lvar";
}

// Runs one reference case through `lr` and checks every element and field
// against the tolerances the fixture states: 1e-6 dB on losses, 1e-9
// relative on other reals, exact on flags, counts and written indices.
void checkCase(const Value &c, LRFn lr)
{
    SCOPED_TRACE(c["id"].str);
    Arrays a = arraysFrom(c);
    LinkParameters prm = paramsFrom(c["inputs"]);
    const LinkParameters before = prm;
    const std::vector<double> pflBefore = a.pfl;
    const Value &e = c["expect"];

    const int32_t ret = lr(a.pfl.data(), a.loss.data(), &prm);
    ASSERT_EQ(ret, int32_t(e["ret"].num));
    EXPECT_EQ(std::memcmp(&prm, &before, kInputBytes), 0) << "an input field was written";

    if (e.has("writes_nothing") && e["writes_nothing"].b) {
        EXPECT_EQ(std::memcmp(&prm, &before, sizeof prm), 0) << "the record was written";
        EXPECT_EQ(a.pfl, pflBefore);
        for (int k = 0; k < kArr; ++k) EXPECT_EQ(a.loss[k], kSentinel) << "lrloss(" << k << ")";
        return;
    }

    EXPECT_EQ(a.pfl[0], e["pfl0_after"].num);
    EXPECT_EQ(a.pfl[1], e["pfl1_after"].num);
    for (int k = 2; k < kArr; ++k) EXPECT_EQ(a.pfl[k], pflBefore[k]) << "pfl(" << k << ")";

    std::vector<bool> written(kArr, false);
    for (const auto &[key, val] : e["lrloss"].obj) {
        const int k = std::stoi(key);
        ASSERT_TRUE(k >= 0 && k < kArr);
        written[k] = true;
        if (k == 0 || k == 3)
            EXPECT_EQ(a.loss[k], val.num) << "lrloss(" << k << ")";
        else
            EXPECT_NEAR(a.loss[k], val.num, 1e-6) << "lrloss(" << k << ")";
    }
    for (int k = 0; k < kArr; ++k)
        if (!written[k]) EXPECT_EQ(a.loss[k], kSentinel) << "lrloss(" << k << ") written";

    for (const auto &[name, val] : e["prm"].obj) {
        const double got = field(prm, name);
        if (isCount(name))
            EXPECT_EQ(got, val.num) << name;
        else if (isDb(name))
            EXPECT_NEAR(got, val.num, 1e-6) << name;
        else
            EXPECT_NEAR(got, val.num, 1e-9 * std::fabs(val.num) + 1e-12) << name;
    }
}

class ReferenceCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ReferenceCase, StaticEngineMatches)
{
    ASSERT_NE(GetParam(), "fixture_missing") << "itm_cases.json could not be read";
    checkCase(caseById(GetParam()), &LR);
}

// The same cases through the shared library, bound by name as the main
// program binds it.
TEST_P(ReferenceCase, ExportedOperationMatches)
{
    ASSERT_NE(GetParam(), "fixture_missing");
    void *lib = dlopen(ZK_ENGINE_LIB, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto lr = reinterpret_cast<LRFn>(dlsym(lib, "LR"));
    ASSERT_NE(lr, nullptr);
    checkCase(caseById(GetParam()), lr);
    dlclose(lib);
}

INSTANTIATE_TEST_SUITE_P(Fixture, ReferenceCase, ::testing::ValuesIn(caseIds()),
                         [](const auto &info) { return info.param; });

TEST(ReferenceCases, CoverEveryBranch)
{
    // The table must keep exercising both clearance branches, the model's
    // own value, cuts without interior points and the refusal.
    bool knife = false, clearPath = false, model = false, refusal = false;
    for (const Value &c : fixture()["cases"].arr) {
        if (c["expect"].has("writes_nothing")) refusal = true;
        if (!c.has("diagnostics")) continue;
        for (const auto &kv : c["diagnostics"]["cuts_per_branch"].obj) {
            knife = knife || kv.first.find("knife-edge") != std::string::npos;
            clearPath = clearPath || kv.first.find("without interior") != std::string::npos;
            model = model || kv.first.find("model value kept") != std::string::npos;
        }
    }
    EXPECT_TRUE(knife && clearPath && model && refusal);
}

// ---------------------------------------------------------------------------
// Profiles and records built by the tests themselves

LinkParameters baseParams()
{
    LinkParameters p{};
    p.freq = 450.0;
    p.ns = 301.0;
    p.eps = 15.0;
    p.sigma = 0.005;
    p.pol = 1;
    p.climate = 5;
    p.mdvar = 1;
    p.h1 = 10.0;
    p.h2 = 10.0;
    p.ptime = 50.0;
    p.ploc = 50.0;
    p.psit = 50.0;
    p.interf = 0;
    p.firstpt = 0;
    return p;
}

// A rolling profile of n intervals; `amp` scales the relief.
Arrays rolling(int n, double spacing, double amp)
{
    Arrays a;
    a.pfl[1] = n;
    a.pfl[2] = spacing;
    for (int k = 0; k <= n && k + 3 < kArr; ++k)
        a.pfl[k + 3] = 200.0 + amp * std::sin(0.37 * k) + 0.4 * amp * std::sin(1.9 * k + 0.5);
    return a;
}

// A gentle bump that keeps most cuts line of sight.
Arrays bump(int n, double spacing, double height)
{
    Arrays a;
    a.pfl[1] = n;
    a.pfl[2] = spacing;
    for (int k = 0; k <= n && k + 3 < kArr; ++k) {
        const double u = (k - n / 2.0) / (n / 10.0);
        a.pfl[k + 3] = 100.0 + height * std::exp(-u * u);
    }
    return a;
}

bool allFinite(const LinkParameters &p)
{
    const double v[] = {p.loss, p.out1, p.out2, p.hd1, p.hd2, p.ha1, p.ha2, p.hx, p.fsloss, p.obsloss, p.out10};
    for (double x : v)
        if (!std::isfinite(x)) return false;
    return true;
}

// ---------------------------------------------------------------------------
// Profile counts outside 1..160 and unusable inputs: 0, nothing written

struct Refusal {
    const char *name;
    double count;
    double spacing;
    double freq;
    int nanAt;  // profile element set to NaN, or -1
};

class RefusedCall : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedCall, ReturnsZeroAndTouchesNothing)
{
    const Refusal r = GetParam();
    Arrays a = rolling(40, 250.0, 30.0);
    a.pfl[0] = 42.0;
    a.pfl[1] = r.count;
    a.pfl[2] = r.spacing;
    if (r.nanAt >= 0) a.pfl[r.nanAt] = std::numeric_limits<double>::quiet_NaN();
    LinkParameters prm = baseParams();
    prm.freq = r.freq;
    std::memset(reinterpret_cast<char *>(&prm) + kInputBytes, 0x33, sizeof prm - kInputBytes);
    const LinkParameters before = prm;
    const std::vector<double> pflBefore = a.pfl;

    // A good call first, so that a refused one visibly leaves the model alone.
    Arrays good = rolling(40, 250.0, 30.0);
    LinkParameters gp = baseParams();
    gp.firstpt = 40;
    ASSERT_EQ(LR(good.pfl.data(), good.loss.data(), &gp), 1);
    const zk::itm::State model = zk::itm::modelState();

    EXPECT_EQ(LR(a.pfl.data(), a.loss.data(), &prm), 0);
    EXPECT_EQ(std::memcmp(&prm, &before, sizeof prm), 0);
    for (int k = 0; k < kArr; ++k) {
        if (std::isnan(pflBefore[k]))
            EXPECT_TRUE(std::isnan(a.pfl[k]));
        else
            EXPECT_EQ(a.pfl[k], pflBefore[k]) << k;
        EXPECT_EQ(a.loss[k], kSentinel) << k;
    }
    const zk::itm::State &after = zk::itm::modelState();
    if (r.count < 1 || r.count > 160 || std::isnan(r.count)) {
        EXPECT_EQ(after.prop.dist, model.prop.dist);
        EXPECT_EQ(after.prop.aref, model.prop.aref);
        EXPECT_EQ(after.prop.dh, model.prop.dh);
        EXPECT_EQ(after.prop.kwx, model.prop.kwx);
        EXPECT_EQ(after.propv.lvar, model.propv.lvar);
    }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    BadInput, RefusedCall,
    ::testing::Values(Refusal{"count0", 0, 250, 450, -1}, Refusal{"countJustBelow1", 0.999, 250, 450, -1},
                      Refusal{"count161", 161, 250, 450, -1}, Refusal{"count160p5", 160.5, 250, 450, -1},
                      Refusal{"countNegative", -3, 250, 450, -1}, Refusal{"countNaN", kNaN, 250, 450, -1},
                      Refusal{"countInf", kInf, 250, 450, -1}, Refusal{"freq0", 40, 250, 0.0, -1},
                      Refusal{"freqNegative", 40, 250, -144.0, -1}, Refusal{"freqNaN", 40, 250, kNaN, -1},
                      Refusal{"freqInf", 40, 250, kInf, -1}, Refusal{"spacing0", 40, 0.0, 450, -1},
                      Refusal{"spacingNegative", 40, -250.0, 450, -1}, Refusal{"spacingNaN", 40, kNaN, 450, -1},
                      Refusal{"spacingInf", 40, kInf, 450, -1}, Refusal{"elevationNaN", 40, 250, 450, 20},
                      Refusal{"lastElevationNaN", 40, 250, 450, 43}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(RefusedCall, NonFiniteParameterField)
{
    // Offsets rather than member pointers: the record is packed to 4 bytes.
    const size_t fields[] = {offsetof(LinkParameters, ns), offsetof(LinkParameters, eps),
                             offsetof(LinkParameters, sigma), offsetof(LinkParameters, h1),
                             offsetof(LinkParameters, h2), offsetof(LinkParameters, ptime),
                             offsetof(LinkParameters, ploc), offsetof(LinkParameters, psit)};
    for (size_t f : fields) {
        for (double bad : {kNaN, kInf, -kInf}) {
            Arrays a = rolling(20, 250.0, 30.0);
            LinkParameters prm = baseParams();
            std::memcpy(reinterpret_cast<char *>(&prm) + f, &bad, sizeof bad);
            EXPECT_EQ(LR(a.pfl.data(), a.loss.data(), &prm), 0);
            for (int k = 0; k < kArr; ++k) EXPECT_EQ(a.loss[k], kSentinel);
        }
    }
}

TEST(RefusedCall, NullPointers)
{
    Arrays a = rolling(20, 250.0, 30.0);
    LinkParameters prm = baseParams();
    EXPECT_EQ(LR(nullptr, a.loss.data(), &prm), 0);
    EXPECT_EQ(LR(a.pfl.data(), nullptr, &prm), 0);
    EXPECT_EQ(LR(a.pfl.data(), a.loss.data(), nullptr), 0);
}

TEST(Counts, BoundsOfTheProfileCount)
{
    for (int n : {1, 2, 159, 160}) {
        Arrays a = rolling(n, 100.0, 20.0);
        a.pfl[0] = -9.0;
        LinkParameters prm = baseParams();
        prm.firstpt = n;
        ASSERT_EQ(LR(a.pfl.data(), a.loss.data(), &prm), 1) << n;
        EXPECT_EQ(a.pfl[0], n);
        EXPECT_EQ(a.pfl[1], n);
        EXPECT_EQ(a.loss[0], n);
        EXPECT_EQ(a.loss[3], 0.0);
        EXPECT_EQ(a.loss[n + 3], +prm.loss);
        EXPECT_EQ(a.loss[kArr - 1], n + 3 == kArr - 1 ? +prm.loss : kSentinel);
    }
}

// ---------------------------------------------------------------------------
// Extreme but finite inputs: no crash, no endless loop, and either a refusal
// or finite results only.

struct Extreme {
    const char *name;
    void (*apply)(Arrays &, LinkParameters &);
};

class ExtremeInput : public ::testing::TestWithParam<Extreme> {};

TEST_P(ExtremeInput, FiniteResultsOrRefusal)
{
    for (int firstpt : {0, 1000}) {
        Arrays a = bump(60, 150.0, 8.0);
        LinkParameters prm = baseParams();
        prm.firstpt = firstpt;
        GetParam().apply(a, prm);
        const int32_t ret = LR(a.pfl.data(), a.loss.data(), &prm);
        ASSERT_TRUE(ret == 0 || ret == 1);
        if (ret == 1) {
            EXPECT_TRUE(allFinite(prm));
            const int n = int(a.pfl[1]);
            for (int i = int(a.loss[0]); i <= n; ++i) EXPECT_TRUE(std::isfinite(a.loss[i + 3])) << i;
        } else {
            for (int k = 0; k < kArr; ++k) EXPECT_EQ(a.loss[k], kSentinel);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Robustness, ExtremeInput,
    ::testing::Values(
        Extreme{"hugeHeights", [](Arrays &, LinkParameters &p) { p.h1 = 1e300; p.h2 = 1e300; }},
        Extreme{"negativeHeights", [](Arrays &, LinkParameters &p) { p.h1 = -1e6; p.h2 = -50; }},
        Extreme{"hugeRefractivity", [](Arrays &, LinkParameters &p) { p.ns = 1e6; }},
        Extreme{"negativeRefractivity", [](Arrays &, LinkParameters &p) { p.ns = -1e6; }},
        Extreme{"hugeFrequency", [](Arrays &, LinkParameters &p) { p.freq = 1e300; }},
        Extreme{"tinyFrequency", [](Arrays &, LinkParameters &p) { p.freq = 1e-300; }},
        Extreme{"zeroGround", [](Arrays &, LinkParameters &p) { p.eps = 0; p.sigma = 0; }},
        Extreme{"negativeGround", [](Arrays &, LinkParameters &p) { p.eps = -5; p.sigma = -1; }},
        Extreme{"hugeSpacing", [](Arrays &a, LinkParameters &) { a.pfl[2] = 1e306; }},
        Extreme{"tinySpacing", [](Arrays &a, LinkParameters &) { a.pfl[2] = 1e-300; }},
        Extreme{"hugeElevations", [](Arrays &a, LinkParameters &) { for (int k = 3; k < 64; ++k) a.pfl[k] = (k % 2 ? 1e300 : -1e300); }},
        Extreme{"spike", [](Arrays &a, LinkParameters &) { a.pfl[33] = 1e9; }},
        Extreme{"oddFields", [](Arrays &, LinkParameters &p) { p.pol = -7; p.climate = INT32_MIN; p.mdvar = INT32_MAX; p.firstpt = INT32_MIN; p.interf = -1; }},
        Extreme{"fractionalCount", [](Arrays &a, LinkParameters &) { a.pfl[1] = 60.7; }}),
    [](const auto &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Clamps: a value beyond a limit gives the same result as the limit itself
// wherever the model alone decides (a path that is not line of sight, so the
// clearance term with its unclamped values does not run).

struct Clamp {
    const char *name;
    void (*beyond)(LinkParameters &);
    void (*limit)(LinkParameters &);
};

class Clamping : public ::testing::TestWithParam<Clamp> {};

TEST_P(Clamping, BeyondTheLimitActsAsTheLimit)
{
    const Clamp c = GetParam();
    Arrays a1 = rolling(120, 400.0, 150.0), a2 = a1;
    LinkParameters p1 = baseParams(), p2 = baseParams();
    p1.firstpt = p2.firstpt = 120;
    c.beyond(p1);
    c.limit(p2);
    const LinkParameters in1 = p1;
    ASSERT_EQ(LR(a1.pfl.data(), a1.loss.data(), &p1), 1);
    ASSERT_EQ(LR(a2.pfl.data(), a2.loss.data(), &p2), 1);
    ASSERT_EQ(p1.losflag, 0);
    EXPECT_EQ(std::memcmp(&p1, &in1, kInputBytes), 0) << "the caller's value was clamped in place";
    EXPECT_EQ(+p1.loss, +p2.loss);
    EXPECT_EQ(+p1.obsloss, +p2.obsloss);
    EXPECT_EQ(+p1.fsloss, +p2.fsloss);
    EXPECT_EQ(+p1.out1, +p2.out1);
    EXPECT_EQ(+p1.hd2, +p2.hd2);
    EXPECT_EQ(+p1.hx, +p2.hx);
    EXPECT_EQ(p1.kwx, p2.kwx);
    EXPECT_EQ(a1.loss[123], a2.loss[123]);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, Clamping,
    ::testing::Values(
        Clamp{"freqLow", [](LinkParameters &p) { p.freq = 5; }, [](LinkParameters &p) { p.freq = 20; }},
        Clamp{"freqHigh", [](LinkParameters &p) { p.freq = 50000; }, [](LinkParameters &p) { p.freq = 20000; }},
        Clamp{"nsLow", [](LinkParameters &p) { p.ns = 100; }, [](LinkParameters &p) { p.ns = 250; }},
        Clamp{"nsHigh", [](LinkParameters &p) { p.ns = 450; }, [](LinkParameters &p) { p.ns = 400; }},
        Clamp{"h1Low", [](LinkParameters &p) { p.h1 = 0.1; }, [](LinkParameters &p) { p.h1 = 0.5; }},
        Clamp{"h1Negative", [](LinkParameters &p) { p.h1 = -20; }, [](LinkParameters &p) { p.h1 = 0.5; }},
        Clamp{"h2High", [](LinkParameters &p) { p.h2 = 5000; }, [](LinkParameters &p) { p.h2 = 2999; }},
        Clamp{"ptimeLow", [](LinkParameters &p) { p.ptime = 0; }, [](LinkParameters &p) { p.ptime = 0.1; }},
        Clamp{"ptimeHigh", [](LinkParameters &p) { p.ptime = 100; }, [](LinkParameters &p) { p.ptime = 99.9; }},
        Clamp{"plocLow", [](LinkParameters &p) { p.ploc = -5; p.mdvar = 3; }, [](LinkParameters &p) { p.ploc = 0.1; p.mdvar = 3; }},
        Clamp{"psitHigh", [](LinkParameters &p) { p.psit = 120; }, [](LinkParameters &p) { p.psit = 99.9; }},
        Clamp{"climateLow", [](LinkParameters &p) { p.climate = 0; }, [](LinkParameters &p) { p.climate = 1; }},
        Clamp{"climateHigh", [](LinkParameters &p) { p.climate = 9; }, [](LinkParameters &p) { p.climate = 7; }},
        Clamp{"mdvarLow", [](LinkParameters &p) { p.mdvar = -4; }, [](LinkParameters &p) { p.mdvar = 0; }},
        Clamp{"mdvarHigh", [](LinkParameters &p) { p.mdvar = 23; }, [](LinkParameters &p) { p.mdvar = 3; }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Clamping, ClearanceTermUsesTheUnclampedValues)
{
    // On a line-of-sight path the clearance term sees the caller's own
    // frequency, refractivity and heights, so values beyond the model's
    // limits still change the obstruction loss. A flat 4 km path with high
    // antennas keeps the ray well clear (the two-ray branch, which replaces
    // the model's value outright).
    struct Pair {
        void (*beyond)(LinkParameters &);
        void (*limit)(LinkParameters &);
    };
    const Pair pairs[] = {
        {[](LinkParameters &p) { p.freq = 10; }, [](LinkParameters &p) { p.freq = 20; }},
        {[](LinkParameters &p) { p.h1 = p.h2 = 4000; }, [](LinkParameters &p) { p.h1 = p.h2 = 2999; }},
        {[](LinkParameters &p) { p.ns = 1000; }, [](LinkParameters &p) { p.ns = 400; }},
    };
    for (const Pair &pr : pairs) {
        Arrays a1;
        a1.pfl[1] = 40;
        a1.pfl[2] = 100.0;
        Arrays a2 = a1;
        LinkParameters p1 = baseParams(), p2 = baseParams();
        p1.firstpt = p2.firstpt = 40;
        p1.freq = p2.freq = 20;
        p1.h1 = p1.h2 = p2.h1 = p2.h2 = 100;
        pr.beyond(p1);
        pr.limit(p2);
        ASSERT_EQ(LR(a1.pfl.data(), a1.loss.data(), &p1), 1);
        ASSERT_EQ(LR(a2.pfl.data(), a2.loss.data(), &p2), 1);
        ASSERT_EQ(p1.losflag, 1);
        EXPECT_EQ(+p1.fsloss, +p2.fsloss);  // the model saw the same clamped values
        EXPECT_EQ(+p1.out1, +p2.out1);
        EXPECT_EQ(+p1.hx, +p2.hx);
        EXPECT_NE(+p1.obsloss, +p2.obsloss);
        EXPECT_NE(+p1.loss, +p2.loss);
    }
}

// ---------------------------------------------------------------------------
// Per-point losses

TEST(PerPoint, FirstPointZeroOneOrNegativeComputesEveryPoint)
{
    Arrays ref = rolling(50, 300.0, 40.0);
    LinkParameters pr = baseParams();
    pr.firstpt = 1;
    ASSERT_EQ(LR(ref.pfl.data(), ref.loss.data(), &pr), 1);
    for (int fp : {0, -1, INT32_MIN}) {
        Arrays a = rolling(50, 300.0, 40.0);
        LinkParameters p = baseParams();
        p.firstpt = fp;
        ASSERT_EQ(LR(a.pfl.data(), a.loss.data(), &p), 1);
        EXPECT_EQ(a.loss, ref.loss) << fp;
        EXPECT_EQ(a.loss[0], 1.0);
        EXPECT_EQ(a.loss[1], kSentinel);
        EXPECT_EQ(a.loss[2], kSentinel);
        EXPECT_EQ(a.loss[3], 0.0);
        for (int i = 1; i <= 50; ++i) EXPECT_NE(a.loss[i + 3], kSentinel);
        EXPECT_EQ(a.loss[54], kSentinel);
        EXPECT_EQ(+p.loss, a.loss[53]);
    }
}

TEST(PerPoint, FirstPointAtOrBeyondNComputesOnlyTheWholePath)
{
    for (int fp : {50, 51, INT32_MAX}) {
        Arrays a = rolling(50, 300.0, 40.0);
        LinkParameters p = baseParams();
        p.firstpt = fp;
        ASSERT_EQ(LR(a.pfl.data(), a.loss.data(), &p), 1);
        EXPECT_EQ(a.loss[0], 50.0);
        EXPECT_EQ(a.loss[3], 0.0);
        for (int k = 0; k < kArr; ++k)
            if (k != 0 && k != 3 && k != 53) EXPECT_EQ(a.loss[k], kSentinel) << k;
        EXPECT_EQ(a.loss[53], +p.loss);
    }
}

TEST(PerPoint, EachPointEqualsTheWholePathOfItsCut)
{
    // The loss to point i is the loss of the profile cut at i: the same as a
    // whole-path call on the first i intervals, with the outputs of the last
    // cut describing the whole path.
    for (bool interf : {false, true}) {
        Arrays all = bump(40, 120.0, 12.0);
        LinkParameters p = baseParams();
        p.firstpt = 7;
        p.interf = interf;
        ASSERT_EQ(LR(all.pfl.data(), all.loss.data(), &p), 1);
        EXPECT_EQ(all.loss[0], 7.0);
        for (int i = 4; i <= 9; ++i) EXPECT_EQ(all.loss[i], kSentinel);
        for (int i = 7; i <= 40; ++i) {
            Arrays cut = all;
            cut.pfl[1] = i;
            LinkParameters q = baseParams();
            q.firstpt = i;
            q.interf = interf;
            ASSERT_EQ(LR(cut.pfl.data(), cut.loss.data(), &q), 1);
            EXPECT_EQ(all.loss[i + 3], +q.loss) << "point " << i;
            if (i == 40) EXPECT_EQ(std::memcmp(reinterpret_cast<char *>(&p) + kInputBytes, reinterpret_cast<char *>(&q) + kInputBytes, sizeof p - kInputBytes), 0);
        }
    }
}

TEST(PerPoint, FirstCutOfAPerPointRunIsFreeSpace)
{
    for (int interf : {0, 1}) {
        Arrays a = bump(20, 500.0, 30.0);
        LinkParameters p = baseParams();
        p.firstpt = 1;
        p.interf = interf;
        ASSERT_EQ(LR(a.pfl.data(), a.loss.data(), &p), 1);
        Arrays one = a;
        one.pfl[1] = 1;
        LinkParameters q = baseParams();
        q.interf = interf;
        ASSERT_EQ(LR(one.pfl.data(), one.loss.data(), &q), 1);
        EXPECT_EQ(+q.obsloss, 0.0);
        EXPECT_EQ(q.losflag, 1);
        EXPECT_EQ(a.loss[4], +q.loss);
        // Free space plus the median variability adjustment only.
        EXPECT_NEAR(+q.loss, +q.fsloss, 0.01);
    }
}

// ---------------------------------------------------------------------------
// The clearance term

TEST(Clearance, SkippedOnPathsThatAreNotLineOfSight)
{
    // The whole-path obstruction loss equals the model's own reference
    // attenuation when the horizons fall short of 1.5 times the path.
    Arrays a = rolling(100, 300.0, 120.0);
    LinkParameters p = baseParams();
    p.firstpt = 100;
    ASSERT_EQ(LR(a.pfl.data(), a.loss.data(), &p), 1);
    ASSERT_EQ(p.losflag, 0);
    EXPECT_LE(p.hd1 + p.hd2, 1.5 * 100 * 300.0);

    zk::itm::State st;
    st.prop.hg[0] = 10.0;
    st.prop.hg[1] = 10.0;
    zk::itm::qlrps(450.0, 0.0, 301.0, 1, 15.0, 0.005, st);
    st.propv.lvar = 5;
    zk::itm::qlrpfl(&a.pfl[1], 5, 1, st);
    EXPECT_FALSE(st.prop.los);
    EXPECT_EQ(+p.obsloss, st.prop.aref);
}

TEST(Clearance, InterferenceModeOnlyLowersLineOfSightLosses)
{
    for (double height : {2.0, 8.0, 20.0, 40.0}) {
        Arrays a = bump(60, 150.0, height), b = a;
        LinkParameters pn = baseParams(), pi = baseParams();
        pi.interf = 1;
        ASSERT_EQ(LR(a.pfl.data(), a.loss.data(), &pn), 1);
        ASSERT_EQ(LR(b.pfl.data(), b.loss.data(), &pi), 1);
        for (int i = 1; i <= 60; ++i) EXPECT_LE(b.loss[i + 3], a.loss[i + 3]) << "point " << i;
    }
}

struct ClearCase {
    const char *name;
    double obstacle;  // height of a single interior point above the ray's ground
    double aref;      // the model's value handed in
    bool interf;
};

class ClearanceBranch : public ::testing::TestWithParam<ClearCase> {};

TEST_P(ClearanceBranch, FollowsItsFormula)
{
    const ClearCase c = GetParam();
    // Three intervals of 1 km over flat ground at 0 m, antennas 20 m; the
    // middle points carry the obstacle.
    std::vector<double> pfl(kArr, 0.0);
    pfl[1] = 3;
    pfl[2] = 1000.0;
    pfl[4] = c.obstacle;
    pfl[5] = c.obstacle;
    zk::itm::ClearanceInput in;
    in.pfl = pfl.data();
    in.cut = 3;
    in.freq_mhz = 300.0;
    in.ns = 301.0;
    in.h1_m = 20.0;
    in.h2_m = 20.0;
    in.dh_m = 5.0;
    in.interf = c.interf;
    double vmax = 0;
    const double got = zk::itm::clearanceAref(in, c.aref, &vmax);

    // The same figures written out independently.
    const double D = 3.0;
    const double V = std::sqrt(D * 74822.51 / 300.0);
    const double g = V / (V + 5.0);
    const double K = (1.0 - 0.04665 * std::exp(301.0 / 179.3)) / 12.75;
    double vm = -1e20;
    for (int k = 1; k <= 2; ++k) {
        const double d1 = k, d2 = D - k;
        const double h = d1 * d2 * K + c.obstacle - d2 * 20.0 / D - d1 * 20.0 / D;
        vm = std::max(vm, h * std::sqrt(300.0 * 6.6667e-6 * (1 / d1 + 1 / d2)));
    }
    EXPECT_NEAR(vmax, vm, 1e-12);
    double want;
    if (vm >= -0.85) {
        const double A = (6.9 - 8.68589 * std::log(std::sqrt(vm * vm + 1) - vm)) * (1 + 2 * g);
        want = c.interf ? std::min(A, c.aref) : std::max(A, c.aref);
    } else {
        const double ph = 1.5708 * vm * vm;
        const double S = std::max(std::pow(std::cos(ph) - 0.1 - 0.9 * g, 2) + std::pow(std::sin(ph), 2), 0.001);
        want = -4.343945 * std::log(S);
        if (c.interf && want >= 0) want = 0;
    }
    EXPECT_NEAR(got, want, 1e-9);
    if (c.interf && vm < -0.85) EXPECT_LE(got, 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Branches, ClearanceBranch,
    ::testing::Values(ClearCase{"blockedNormalModelLower", 40.0, 1.0, false},
                      ClearCase{"blockedNormalModelHigher", 40.0, 90.0, false},
                      ClearCase{"blockedInterference", 40.0, 1.0, true},
                      ClearCase{"grazingNormal", 17.0, 3.0, false},
                      ClearCase{"grazingInterference", 17.0, 30.0, true},
                      ClearCase{"clearNormal", 0.0, 25.0, false},
                      ClearCase{"clearInterference", 0.0, 25.0, true},
                      ClearCase{"deepClearNormal", -200.0, 25.0, false},
                      ClearCase{"deepClearInterference", -200.0, 25.0, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Clearance, NoInteriorPointGivesFreeSpaceInBothModes)
{
    std::vector<double> pfl(kArr, 0.0);
    pfl[1] = 1;
    pfl[2] = 800.0;
    zk::itm::ClearanceInput in;
    in.pfl = pfl.data();
    in.cut = 1;
    in.freq_mhz = 450.0;
    in.ns = 301.0;
    in.h1_m = 10.0;
    in.h2_m = 10.0;
    for (bool interf : {false, true}) {
        in.interf = interf;
        double vmax = 0;
        EXPECT_EQ(zk::itm::clearanceAref(in, 12.5, &vmax), 0.0);
        EXPECT_EQ(vmax, -1e20);
    }
}

TEST(Clearance, VeryLargeObstacleStaysFinite)
{
    // sqrt(v^2 + 1) - v cancels to 0 for large v; the loss must stay finite
    // and keep growing with the obstacle.
    std::vector<double> pfl(kArr, 0.0);
    pfl[1] = 2;
    pfl[2] = 0.01;
    zk::itm::ClearanceInput in;
    in.pfl = pfl.data();
    in.cut = 2;
    in.freq_mhz = 20000.0;
    in.ns = 301.0;
    in.h1_m = 1.0;
    in.h2_m = 1.0;
    double last = 0;
    for (double h : {1e3, 1e6, 1e9, 1e12}) {
        pfl[4] = h;
        const double a = zk::itm::clearanceAref(in, 0.0);
        EXPECT_TRUE(std::isfinite(a)) << h;
        EXPECT_GT(a, last);
        last = a;
    }
}

// ---------------------------------------------------------------------------
// Outputs and warnings

TEST(Outputs, WholePathFieldsAndFlags)
{
    Arrays a = bump(80, 100.0, 5.0);
    LinkParameters p = baseParams();
    p.firstpt = 80;
    ASSERT_EQ(LR(a.pfl.data(), a.loss.data(), &p), 1);
    EXPECT_EQ(p.losflag, 1);
    EXPECT_EQ(p.scatflag, 0);
    EXPECT_EQ(p.lvar, 0);
    EXPECT_NEAR(+p.fsloss, 20 * std::log10(450.0 * 8000.0) - 27.6, 1e-9);
    EXPECT_NEAR(+p.hx, 157e-9 * (1 - 0.04665 * std::exp(301.0 / 179.3)), 1e-20);
    EXPECT_EQ(a.loss[83], +p.loss);

    // A long flat path beyond both smooth-earth horizons runs the scatter
    // branch and is no line of sight.
    Arrays far;
    far.pfl[1] = 160;
    far.pfl[2] = 2000.0;
    LinkParameters q = baseParams();
    q.firstpt = 160;
    ASSERT_EQ(LR(far.pfl.data(), far.loss.data(), &q), 1);
    EXPECT_EQ(q.losflag, 0);
    EXPECT_EQ(q.scatflag, 1);
}

TEST(Outputs, ExtremePercentagesRaiseNoWarning)
{
    for (double pct : {0.1, 99.9, 0.0, 100.0}) {
        Arrays a = bump(80, 100.0, 5.0);
        LinkParameters p = baseParams();
        p.firstpt = 80;
        p.mdvar = 3;
        p.ptime = p.ploc = p.psit = pct;
        ASSERT_EQ(LR(a.pfl.data(), a.loss.data(), &p), 1);
        EXPECT_EQ(p.kwx, 0) << pct;
    }
    EXPECT_NEAR(zk::itm::qerfi(0.001), 3.0902, 4.5e-4);
    EXPECT_NEAR(zk::itm::qerfi(0.999), -3.0902, 4.5e-4);
    EXPECT_LT(std::fabs(zk::itm::qerfi(0.001)), 3.1);
    EXPECT_NEAR(zk::itm::qerfi(0.5), 0.0, 1e-5);
    EXPECT_NEAR(zk::itm::qerfi(0.1), 1.2816, 5e-4);
}

TEST(Outputs, ShortPathWarnsAtLevelFour)
{
    Arrays a = bump(8, 100.0, 1.0);  // 800 m, below the model's 1 km
    LinkParameters p = baseParams();
    p.firstpt = 8;
    ASSERT_EQ(LR(a.pfl.data(), a.loss.data(), &p), 1);
    EXPECT_EQ(p.kwx, 4);
}

TEST(Outputs, EachCallRebuildsTheModel)
{
    // Nothing of an earlier call carries over: the same call gives the same
    // record whatever ran before it.
    Arrays a = rolling(90, 200.0, 60.0);
    LinkParameters p = baseParams();
    p.firstpt = 90;
    ASSERT_EQ(LR(a.pfl.data(), a.loss.data(), &p), 1);
    Arrays other = bump(160, 2000.0, 300.0);
    LinkParameters o = baseParams();
    o.freq = 5000;
    o.climate = 7;
    o.mdvar = 0;
    ASSERT_EQ(LR(other.pfl.data(), other.loss.data(), &o), 1);
    Arrays b = rolling(90, 200.0, 60.0);
    LinkParameters q = baseParams();
    q.firstpt = 90;
    ASSERT_EQ(LR(b.pfl.data(), b.loss.data(), &q), 1);
    EXPECT_EQ(std::memcmp(&p, &q, sizeof p), 0);
}

TEST(Outputs, CallsOnSeveralThreadsAtOnceGiveTheirOwnResults)
{
    // Coverage sweeps run LR on every core: each call must work on a model of
    // its own. Two different calls are worked out one after the other, then
    // repeated interleaved on four threads; every record must be the same.
    struct Call {
        Arrays arrays;
        LinkParameters prm;
    };
    Call a{rolling(120, 250.0, 80.0), baseParams()};
    Call b{bump(160, 2000.0, 300.0), baseParams()};
    a.prm.firstpt = 1;
    b.prm.freq = 5000;
    b.prm.climate = 7;
    b.prm.firstpt = 160;
    ASSERT_EQ(LR(a.arrays.pfl.data(), a.arrays.loss.data(), &a.prm), 1);
    ASSERT_EQ(LR(b.arrays.pfl.data(), b.arrays.loss.data(), &b.prm), 1);
    const Call expected[2] = {a, b};

    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 150; ++i) {
                const Call &want = expected[(i + t) % 2];
                Arrays arr = (i + t) % 2 ? bump(160, 2000.0, 300.0) : rolling(120, 250.0, 80.0);
                LinkParameters prm = (i + t) % 2 ? b.prm : a.prm;
                if (LR(arr.pfl.data(), arr.loss.data(), &prm) != 1
                    || std::memcmp(&prm, &want.prm, sizeof prm) != 0 || arr.loss != want.arrays.loss)
                    ++mismatches;
            }
        });
    for (auto &th : threads) th.join();
    EXPECT_EQ(mismatches.load(), 0);
}

// ---------------------------------------------------------------------------
// The model's routines

TEST(Routines, HorizonsOfAProfileWithoutInteriorPoints)
{
    zk::itm::State st;
    st.prop.hg[0] = 10;
    st.prop.hg[1] = 10;
    zk::itm::qlrps(450.0, 0.0, 301.0, 1, 15.0, 0.005, st);
    const double pfl[] = {1, 800.0, 120.0, 120.0};
    st.prop.dist = 800.0;
    zk::itm::hzns(pfl, st);
    EXPECT_EQ(st.prop.dl[0], 800.0);
    EXPECT_EQ(st.prop.dl[1], 800.0);
    st.propv.lvar = 5;
    zk::itm::qlrpfl(pfl, 5, 1, st);
    EXPECT_TRUE(st.prop.los);
}

TEST(Routines, FitRoundsItsEndIndicesJustBelowOneHalf)
{
    // Points 0..3 lie on z = 2k, points 4..6 far off the line: a fit that
    // starts and ends inside 0..3 reproduces the line exactly.
    const double z[] = {6, 1, 0, 2, 4, 6, 50, 50, 50};
    double z0 = 0, zn = 0;
    // x2 = 3.4: 6 - floor(2.6 + 0.4999999) = 3 (truncation would take 4).
    zk::itm::z1sq1(z, 0.0, 3.4, z0, zn);
    EXPECT_NEAR(z0, 0.0, 1e-12);
    EXPECT_NEAR(zn, 12.0, 1e-12);
    // x1 = 0.6 starts at 1 (truncation 0); still on the line.
    zk::itm::z1sq1(z, 0.6, 3.4, z0, zn);
    EXPECT_NEAR(z0, 0.0, 1e-12);
    EXPECT_NEAR(zn, 12.0, 1e-12);
    // x2 = 3.5: an exact half goes down, 6 - floor(2.9999999) = 4.
    zk::itm::z1sq1(z, 0.0, 3.5, z0, zn);
    EXPECT_GT(std::fabs(zn - 12.0), 1.0);
    // Just past the half toward 4: 2.4999999 + 0.4999999 floors to 2, so 4.
    zk::itm::z1sq1(z, 0.0, 3.5000001, z0, zn);
    EXPECT_GT(std::fabs(zn - 12.0), 1.0);
    // Just past the half toward 3: 2.5001 + 0.4999999 floors to 3, so 3.
    zk::itm::z1sq1(z, 0.0, 3.4999, z0, zn);
    EXPECT_NEAR(zn, 12.0, 1e-12);
    // Equal ends are widened by one index on each side: 1..3.
    zk::itm::z1sq1(z, 2.0, 2.0, z0, zn);
    EXPECT_NEAR(z0, 0.0, 1e-12);
    EXPECT_NEAR(zn, 12.0, 1e-12);
}

TEST(Routines, FitStaysInsideTheProfileForAnyDistances)
{
    // The profile is exactly as long as its count says, so the sanitizer sees
    // any read past either end.
    std::vector<double> z = {5, 10.0, 1, 2, 3, 4, 5, 6};
    const double xs[] = {-1e9, -10.0, 0.0, 24.0, 26.0, 49.0, 50.0, 51.0, 1e9, kNaN};
    for (double x1 : xs)
        for (double x2 : xs) {
            double z0 = 0, zn = 0;
            zk::itm::z1sq1(z.data(), x1, x2, z0, zn);
        }
}

TEST(Routines, IrregularityWorkArrayHoldsTheLongestResampling)
{
    // 160 intervals of a rough profile over the widest range: ka reaches its
    // cap of 25 and the resampling fills 245 points, never more.
    std::vector<double> pfl(163);
    pfl[0] = 160;
    pfl[1] = 1.0;
    for (int k = 0; k <= 160; ++k) pfl[k + 2] = (k * 7919 % 97) - 48.0;
    const double dh = zk::itm::d1thx(pfl.data(), 0.0, 160.0);
    EXPECT_GT(dh, 0.0);
    EXPECT_TRUE(std::isfinite(dh));
    // Ranges beyond the profile do not read past it either.
    EXPECT_TRUE(std::isfinite(zk::itm::d1thx(pfl.data(), -50.0, 1e6)));
    EXPECT_EQ(zk::itm::d1thx(pfl.data(), 10.0, 11.5), 0.0);  // under two samples
    EXPECT_EQ(zk::itm::d1thx(pfl.data(), kNaN, 100.0), 0.0);
}

TEST(Routines, IrregularityOfFlatAndSlopedGroundIsZero)
{
    std::vector<double> flat(103, 250.0), slope(103);
    flat[0] = slope[0] = 100;
    flat[1] = slope[1] = 100.0;
    for (int k = 0; k <= 100; ++k) slope[k + 2] = 10.0 + 0.5 * k;
    EXPECT_NEAR(zk::itm::d1thx(flat.data(), 0.0, 10000.0), 0.0, 1e-9);
    EXPECT_NEAR(zk::itm::d1thx(slope.data(), 0.0, 10000.0), 0.0, 1e-9);
}

// The model's fit and irregularity written the plain way: sums in order,
// the resampling walked step by step, the deciles read from a sorted copy.
void plainFit(const std::vector<double> &z, double x1, double x2, double &z0, double &zn)
{
    const double xn = z[0];
    double xa = std::min(std::floor(zk::itm::fdim(x1 / z[1], 0.0) + 0.4999999), xn);
    double xb = std::min(xn - std::floor(zk::itm::fdim(xn, x2 / z[1]) + 0.4999999), xn);
    if (xb <= xa) {
        xa = zk::itm::fdim(xa, 1.0);
        xb = xn - zk::itm::fdim(xn, xb + 1.0);
    }
    int ja = int(xa);
    const int jb = int(xb);
    const int n = jb - ja;
    xa = xb - xa;
    double x = -0.5 * xa;
    xb += x;
    double a = 0.5 * (z[ja + 2] + z[jb + 2]);
    double b = 0.5 * (z[ja + 2] - z[jb + 2]) * x;
    for (int i = 2; i <= n; ++i) {
        ++ja;
        x += 1.0;
        a += z[ja + 2];
        b += z[ja + 2] * x;
    }
    a /= xa;
    b = b * 12.0 / ((xa * xa + 2.0) * xa);
    z0 = a - b * xb;
    zn = a + b * (xn - xb);
}

double plainIrregularity(const std::vector<double> &pfl, double x1, double x2)
{
    const int np = int(pfl[0]);
    double xa = x1 / pfl[1];
    double xb = x2 / pfl[1];
    if (xb - xa < 2.0) return 0.0;
    const int ka = std::min(std::max(4, int(0.1 * (xb - xa + 8.0))), 25);
    const int n = 10 * ka - 5;
    const int kb = n - ka + 1;
    const double sn = n - 1;
    std::vector<double> s(n + 2);
    s[0] = sn;
    s[1] = 1.0;
    xb = (xb - xa) / sn;
    int k = int(xa + 1.0);
    xa -= k;
    for (int j = 0; j < n; ++j) {
        while (xa > 0.0 && k < np) {
            xa -= 1.0;
            ++k;
        }
        s[j + 2] = pfl[k + 2] + (pfl[k + 2] - pfl[k + 1]) * xa;
        xa += xb;
    }
    plainFit(s, 0.0, sn, xa, xb);
    xb = (xb - xa) / sn;
    for (int j = 0; j < n; ++j) {
        s[j + 2] -= xa;
        xa += xb;
    }
    std::vector<double> sorted(s.begin() + 2, s.end());
    std::sort(sorted.begin(), sorted.end(), std::greater<double>());
    return (sorted[ka - 1] - sorted[kb - 1]) / (1.0 - 0.8 * std::exp(-(x2 - x1) / 50.0e3));
}

TEST(Routines, FitAndIrregularityMatchThePlainComputation)
{
    // Random profiles of every length, smooth and rough, whole-metre and
    // fractional, over random stretches: the fit and the interdecile range
    // agree with the plain computation to rounding.
    uint64_t seed = 12345;
    auto uniform = [&seed] {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(seed >> 11) / double(1ULL << 53);
    };
    for (int t = 0; t < 3000; ++t) {
        const int n = 1 + t % 160;
        const double spacing = std::exp(uniform() * 9.0);
        const double amp = std::exp(uniform() * 7.0);
        const double freq = uniform() * 0.6, phase = uniform() * 6.0;
        std::vector<double> pfl(n + 3);
        pfl[0] = n;
        pfl[1] = spacing;
        for (int k = 0; k <= n; ++k) {
            const double z = amp * std::sin(freq * k + phase) + 0.3 * amp * uniform();
            pfl[k + 2] = t % 2 ? std::round(z) : z;
        }
        const double d = n * spacing;
        double x1 = uniform() * 0.3 * d, x2 = d - uniform() * 0.3 * d;
        if (t % 5 == 0) {
            x1 = std::round(x1 / spacing) * spacing;
            x2 = std::round(x2 / spacing) * spacing;
        }
        double z0 = 0, zn = 0, p0 = 0, pn = 0;
        zk::itm::z1sq1(pfl.data(), x1, x2, z0, zn);
        plainFit(pfl, x1, x2, p0, pn);
        ASSERT_NEAR(z0, p0, 1e-12 * amp) << t;
        ASSERT_NEAR(zn, pn, 1e-12 * amp) << t;
        ASSERT_NEAR(zk::itm::d1thx(pfl.data(), x1, x2), plainIrregularity(pfl, x1, x2), 1e-11 * amp) << t;
    }
}

TEST(Routines, QuantileSelectsWithoutSortingAndEndsOnNaN)
{
    double a[] = {3, 9, 1, 7, 5, 8, 2, 6, 4, 0};
    EXPECT_EQ(zk::itm::qtile(9, a, 0), 9.0);  // largest first
    double b[] = {3, 9, 1, 7, 5, 8, 2, 6, 4, 0};
    EXPECT_EQ(zk::itm::qtile(9, b, 3), 6.0);
    double c[] = {3, 9, 1, 7, 5, 8, 2, 6, 4, 0};
    EXPECT_EQ(zk::itm::qtile(9, c, 9), 0.0);
    double d[] = {3, 9, 1, 7, 5, 8, 2, 6, 4, 0};
    EXPECT_EQ(zk::itm::qtile(9, d, 42), 0.0);  // index limited to the range
    double e[] = {kNaN, 2, kNaN, 1, kNaN, 3};
    (void)zk::itm::qtile(5, e, 2);  // ends
}

TEST(Routines, ScatterWithoutFrequencyGainAnswers1001)
{
    zk::itm::State st;
    st.prop.hg[0] = st.prop.hg[1] = 1.0;
    zk::itm::qlrps(20.0, 0.0, 301.0, 0, 15.0, 0.005, st);
    st.prop.he[0] = st.prop.he[1] = 0.5;
    st.prop.dl[0] = st.prop.dl[1] = 3000.0;
    st.prop.the[0] = st.prop.the[1] = -0.01;
    st.propa.tha = -0.02;
    zk::itm::ascat(0.0, st);
    // th = the0 + the1 + d gme stays small: r1 = r2 = 2 wn th he < 0.2.
    EXPECT_EQ(zk::itm::ascat(10000.0, st), 1001.0);
}

TEST(Routines, KnifeEdgeAndHeightGainSegments)
{
    EXPECT_NEAR(zk::itm::aknfe(0.0), 6.02, 1e-12);
    EXPECT_NEAR(zk::itm::aknfe(5.76), 12.953 + 4.343 * std::log(5.76), 1e-12);
    EXPECT_NEAR(zk::itm::ahd(5e3), 133.4 + 0.332e-3 * 5e3 - 4.343 * std::log(5e3), 1e-9);
    EXPECT_NEAR(zk::itm::ahd(50e3), 104.6 + 0.212e-3 * 50e3 - 1.086 * std::log(50e3), 1e-9);
    EXPECT_NEAR(zk::itm::ahd(100e3), 71.8 + 0.157e-3 * 100e3 + 2.171 * std::log(100e3), 1e-9);
    // h0f interpolates between whole values of et and holds at 1 and 5.
    EXPECT_NEAR(zk::itm::h0f(2.0, 2.5), 0.5 * (zk::itm::h0f(2.0, 2.0) + zk::itm::h0f(2.0, 3.0)), 1e-12);
    EXPECT_EQ(zk::itm::h0f(2.0, 0.3), zk::itm::h0f(2.0, 1.0));
    EXPECT_EQ(zk::itm::h0f(2.0, 9.0), zk::itm::h0f(2.0, 5.0));
    EXPECT_EQ(zk::itm::h0f(2.0, kNaN), zk::itm::h0f(2.0, 1.0));
    // The product rounded on its own: within one expression clang may fuse
    // it with the sum when it folds constants, one bit off the program's.
    const double term = 17.372 * std::log(100.0);
    EXPECT_EQ(zk::itm::fht(100.0, 1e-6), -117.0 + term);
}

}  // namespace
