// Round trips and monotonicity over random valid inputs: a level converted to
// power and back, a component converted to its reactance and back (on plain
// numbers and through the window as a user does it), and an attenuator that
// delivers less the more it attenuates.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "calc/tab_dbm.h"
#include "calc/tab_pit.h"
#include "calc/tab_xlxc.h"
#include "core/numtext.h"
#include "model_fixture.h"
#include "settings/settings.h"

using namespace velkaro;
using namespace velkaro::testing;

namespace {

// 10^u for u uniform in [lo, hi]: values spread over decades.
long double logUniform(std::mt19937& random, double lo, double hi) {
    return std::pow(10.0L, std::uniform_real_distribution<double>(lo, hi)(random));
}

class RoundTrips : public WindowModelTest {
protected:
    void SetUp() override {
        WindowModelTest::SetUp();
        ApplyFactoryDefaults(form);
    }
    // A number as a user types it under the current separator.
    std::string typed(long double v) const {
        std::string s = generalFormat(v, sep(), 7);
        return s;
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, RoundTrips, ::testing::Values(',', '.'));

TEST(LevelProperties, DbmToWattAndBackOverTheWholeRange) {
    std::mt19937 random(1);
    for (int i = 0; i < 20000; ++i) {
        const long double dbm = std::uniform_real_distribution<double>(-174.0, 320.0)(random);
        const long double watt = level::milliwattOfDbm(dbm) * level::kMilliwatt;
        ASSERT_TRUE(std::isfinite(watt) && watt > 0) << dbm;
        EXPECT_NEAR(static_cast<double>(level::dbmOfWatt(watt)), static_cast<double>(dbm), 1e-11);
        // More level, more power.
        const long double more = level::milliwattOfDbm(dbm + 0.01L) * level::kMilliwatt;
        EXPECT_GT(more, watt) << dbm;
    }
}

TEST(ReactanceProperties, ComponentToReactanceAndBack) {
    std::mt19937 random(2);
    for (int i = 0; i < 20000; ++i) {
        const long double f = logUniform(random, -14, 14);
        const long double l = logUniform(random, -10, 12);
        const long double c = logUniform(random, -14, 14);
        const long double xl = coilReactance(f, l);
        const long double xc = capacitorReactance(f, c);
        EXPECT_NEAR(static_cast<double>(coilInductance(f, xl) / l), 1.0, 1e-15) << f << " " << l;
        EXPECT_NEAR(static_cast<double>(coilFrequency(l, xl) / f), 1.0, 1e-15) << f << " " << l;
        EXPECT_NEAR(static_cast<double>(capacitorCapacitance(f, xc) / c), 1.0, 1e-15);
        EXPECT_NEAR(static_cast<double>(capacitorFrequency(c, xc) / f), 1.0, 1e-15);
        // A coil's reactance rises with frequency, a capacitor's falls.
        EXPECT_GT(coilReactance(f * 1.001L, l), xl);
        EXPECT_LT(capacitorReactance(f * 1.001L, c), xc);
    }
}

// More attenuation, less power at the load, a longer series and a smaller
// shunt resistance, in both forms; the input stays matched throughout.
TEST(AttenuatorProperties, MoreAttenuationDeliversLess) {
    std::mt19937 random(3);
    for (int i = 0; i < 300; ++i) {
        const double z = static_cast<double>(logUniform(random, -3, 9));
        const double p = static_cast<double>(logUniform(random, -9, 6));
        double lastOut = p, lastPiSeries = 0, lastPiShunt = INFINITY, lastTSeries = 0,
               lastTShunt = INFINITY;
        for (double dB = 0.05; dB <= 120.0; dB *= 1.0 + std::uniform_real_distribution<double>(0.01, 0.3)(random)) {
            const AttenuatorPair a = designAttenuators(dB, z, p);
            SCOPED_TRACE(std::to_string(dB) + " dB, Z " + std::to_string(z) + ", P " +
                         std::to_string(p));
            // What reaches the load is what the resistors do not take; beyond
            // 60 dB that difference is lost in the rounding of the powers.
            for (const Attenuator& x : {a.pi, a.t}) {
                const double out = p - (x.powerR1 + x.powerR2 + x.powerR3);
                if (dB > 60.0) break;
                EXPECT_LT(out, lastOut);
                EXPECT_NEAR(out / (p / std::pow(10.0, dB / 10.0)), 1.0, 1e-6);
            }
            lastOut = p / std::pow(10.0, dB / 10.0);
            // Pi: R1 in series, R2/R3 across; T: R2/R3 in series, R1 across.
            EXPECT_GT(a.pi.r1, lastPiSeries);
            EXPECT_LT(a.pi.r23, lastPiShunt);
            EXPECT_GT(a.t.r23, lastTSeries);
            EXPECT_LT(a.t.r1, lastTShunt);
            lastPiSeries = a.pi.r1;
            lastPiShunt = a.pi.r23;
            lastTSeries = a.t.r23;
            lastTShunt = a.t.r1;
        }
    }
}

// Through the window: a level entered shows a power; entering that power as
// shown gives back the level, to what three decimals of the power allow.
TEST_P(RoundTrips, DbmLevelThroughItsPowerAndBack) {
    std::mt19937 random(4);
    for (int i = 0; i < 300; ++i) {
        // Above 296,8 dBm the power exceeds its own field's limit (7e+26 W), and
        // the power shown could not be entered back.
        const long double dbm = std::uniform_real_distribution<double>(-170.0, 296.0)(random);
        enter("dBm_E_dB", typed(dbm));
        const std::string level = form.text("dBm_E_dB");
        const std::string power = form.text("dBm_E_lin");
        const int unit = form.index("dBm_C_lin");
        ASSERT_TRUE(sink.errors.empty() && sink.general.empty())
            << dbm << ": " << (sink.errors.empty() ? sink.general : sink.errors).front();
        form.userEdit("dBm_E_lin", power);
        form.pressEnter("dBm_E_lin");
        EXPECT_EQ(form.index("dBm_C_lin"), unit);
        // The shown mantissa is at least 1 with three decimals: 5e-4 relative at most.
        const double back = static_cast<double>(*parseNumber(form.text("dBm_E_dB"), sep()));
        EXPECT_NEAR(back, static_cast<double>(*parseNumber(level, sep())), 0.0025)
            << level << " -> " << power;
        EXPECT_NEAR(back, static_cast<double>(dbm), 0.003);
    }
    EXPECT_TRUE(sink.errors.empty());
}

// Through the window: an inductance (capacitance) gives a reactance in the
// mode that computes X; switched to computing the component, entering that
// reactance as shown gives the component back.
TEST_P(RoundTrips, ComponentThroughItsReactanceAndBack) {
    struct Calculator {
        const char *f, *fUnit, *part, *partUnit, *x, *xUnit, *computeX, *computePart;
        double partLo, partHi;
    };
    const Calculator calculators[] = {
        {"XL_E_F", "XL_C_F", "XL_E_L", "XL_C_L", "XL_E_X", "XL_C_X", "XL_RB_X", "XL_RB_L", -9, 3},
        {"XC_E_F", "XC_C_F", "XC_E_C", "XC_C_C", "XC_E_X", "XC_C_X", "XC_RB_X", "XC_RB_C", -13, -1},
    };
    std::mt19937 random(5);
    for (const Calculator& k : calculators) {
        for (int i = 0; i < 150; ++i) {
            form.click(k.computeX);
            // Frequency and component spread so that X stays inside its limits.
            // Typed as a user does, in the unit that suits the value.
            const long double f = logUniform(random, 1, 9);
            const long double part = logUniform(random, k.partLo, k.partHi);
            form.setIndex(k.fUnit, PrefixIndexOf(static_cast<double>(f)));
            enter(k.f, typed(f / PrefixFactor(form.index(k.fUnit))));
            form.setIndex(k.partUnit, PrefixIndexOf(static_cast<double>(part)));
            enter(k.part, typed(part / PrefixFactor(form.index(k.partUnit))));
            const double shownPart = form.value(k.part);
            const double shownX = form.value(k.x);
            ASSERT_TRUE(sink.errors.empty()) << k.part << " " << sink.errors.front();
            form.click(k.computePart);
            form.userEdit(k.x, form.text(k.x));
            form.pressEnter(k.x);
            ASSERT_TRUE(sink.errors.empty()) << k.x << " " << sink.errors.front();
            EXPECT_NEAR(form.value(k.part) / shownPart, 1.0, 1.2e-3)
                << k.part << " " << shownPart << " via X " << shownX;
            EXPECT_NEAR(form.value(k.x) / shownX, 1.0, 1e-12) << "X itself stays";
        }
    }
    EXPECT_TRUE(sink.general.empty());
}
