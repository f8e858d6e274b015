// The Pi and T matching networks on plain numbers: each designed network,
// analysed again from its component values as a two-port at the design
// frequency, must present Z1 when loaded with Z2; lossless parts must give no
// loss; and the worked examples of both tabs.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "calc/constants.h"
#include "calc/pinet.h"
#include "calc/tnet.h"

using namespace velkaro;

namespace {

using Complex = std::complex<long double>;

constexpr long double kLossless = std::numeric_limits<long double>::infinity();

Complex coil(long double w, double l) { return {0.0L, w * l}; }
Complex capacitor(long double w, double c) { return {0.0L, -1.0L / (w * c)}; }
Complex parallel(Complex a, Complex b) { return a * b / (a + b); }

// |z − r| / r: how far the input impedance is from the wanted resistance.
long double mismatch(Complex z, long double r) { return std::abs(z - Complex(r)) / r; }

struct Design {
    long double f, z1, z2, q;
};

std::string describe(const Design& d) {
    return "f=" + std::to_string(static_cast<double>(d.f)) +
           " Z1=" + std::to_string(static_cast<double>(d.z1)) +
           " Z2=" + std::to_string(static_cast<double>(d.z2)) +
           " Q=" + std::to_string(static_cast<double>(d.q));
}

// Frequencies, resistances and ratios over many decades; Q above what the
// network needs (for the Pi its minimum, for the T anything positive).
template <typename MinimumQ>
std::vector<Design> designs(MinimumQ minimumQ) {
    std::mt19937 random(4711);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<Design> out = {{10e6L, 1000.0L, 50.0L, 0.0L},
                               {4e6L, 250.0L, 50.0L, 0.0L},
                               {1.8e6L, 50.0L, 50.0L, 0.0L},
                               {144e6L, 3000.0L, 12.5L, 0.0L}};
    for (int i = 0; i < 200; ++i) {
        const long double f = std::pow(10.0L, 3.0L + 7.0L * unit(random));
        const long double z2 = std::pow(10.0L, -1.0L + 4.0L * unit(random));
        const long double z1 = z2 * std::pow(10.0L, 3.0L * unit(random));
        out.push_back({f, z1, z2, 0.0L});
    }
    for (Design& d : out) {
        const long double least = minimumQ(d.z1, d.z2);
        d.q = least + 0.05L + 20.0L * unit(random);
    }
    return out;
}

}  // namespace

// ---- Pi ---------------------------------------------------------------------

TEST(PiPhysics, BothVariantsTransformZ2IntoZ1) {
    for (const Design& d : designs(piMinimumQ)) {
        SCOPED_TRACE(describe(d));
        const long double w = kTwoPi * d.f;
        const PiElements e = piElements(w, piReactances(d.z1, d.z2, d.q));
        const Complex load(d.z2);
        // High-pass: L1 across the input, C in series, L2 across the load.
        const Complex hp =
            parallel(coil(w, e.hpL1), capacitor(w, e.hpC) + parallel(coil(w, e.hpL2), load));
        EXPECT_LT(mismatch(hp, d.z1), 1e-9L);
        // Low-pass: C1 across the input, L in series, C2 across the load.
        const Complex tp =
            parallel(capacitor(w, e.tpC1), coil(w, e.tpL) + parallel(capacitor(w, e.tpC2), load));
        EXPECT_LT(mismatch(tp, d.z1), 1e-9L);
    }
}

TEST(PiPhysics, LosslessPartsLoseNothing) {
    for (const Design& d : designs(piMinimumQ)) {
        SCOPED_TRACE(describe(d));
        const PiReactances x = piReactances(d.z1, d.z2, d.q);
        for (const std::optional<long double> qc :
             {std::optional<long double>(), std::optional<long double>(kLossless)}) {
            const PiLosses l = piLosses(d.f, d.z1, d.z2, x, kLossless, qc);
            EXPECT_NEAR(l.highPass.loss, 0.0, 1e-9);
            EXPECT_NEAR(l.lowPass.loss, 0.0, 1e-9);
        }
        // Real parts lose something, the more the worse they are.
        const PiLosses good = piLosses(d.f, d.z1, d.z2, x, 200.0L, 800.0L);
        const PiLosses poor = piLosses(d.f, d.z1, d.z2, x, 50.0L, 800.0L);
        EXPECT_GT(good.highPass.loss, 0.0);
        EXPECT_GT(poor.highPass.loss, good.highPass.loss);
        EXPECT_GT(poor.lowPass.loss, good.lowPass.loss);
    }
}

TEST(PiPhysics, WorkedExample) {
    // 10 MHz, 1 kOhm to 50 Ohm with the proposed Q, coils of Q 100.
    const long double q = piProposedQ(1000.0L, 50.0L);
    EXPECT_NEAR(static_cast<double>(piMinimumQ(1000.0L, 50.0L)), 4.358899, 1e-6);
    EXPECT_NEAR(static_cast<double>(q), 4.558899, 1e-6);
    const PiReactances x = piReactances(1000.0L, 50.0L, q);
    EXPECT_NEAR(static_cast<double>(x.x1), 219.351, 1e-3);
    EXPECT_NEAR(static_cast<double>(x.x2), 167.433, 1e-3);
    EXPECT_NEAR(static_cast<double>(x.x3), 222.990, 1e-3);
    const PiElements e = piElements(kTwoPi * 10e6L, x);
    EXPECT_NEAR(e.hpL1, 3.4911e-6, 1e-10);
    EXPECT_NEAR(e.hpL2, 2.6648e-6, 1e-10);
    EXPECT_NEAR(e.hpC, 71.373e-12, 1e-15);
    EXPECT_NEAR(e.tpC1, 72.557e-12, 1e-15);
    EXPECT_NEAR(e.tpC2, 95.056e-12, 1e-15);
    EXPECT_NEAR(e.tpL, 3.5490e-6, 1e-10);

    const PiLosses coils = piLosses(10e6L, 1000.0L, 50.0L, x, 100.0L, std::nullopt);
    EXPECT_NEAR(coils.highPass.loss, 0.3584, 5e-5);
    EXPECT_NEAR(coils.highPass.bandwidth, 2.4737e6, 50.0);
    EXPECT_NEAR(coils.lowPass.loss, 0.2084, 5e-5);
    EXPECT_NEAR(coils.lowPass.bandwidth, 4.2173e6, 50.0);
    const PiLosses both = piLosses(10e6L, 1000.0L, 50.0L, x, 100.0L, 500.0L);
    EXPECT_NEAR(both.highPass.loss, 0.3988, 5e-5);
    EXPECT_NEAR(both.highPass.bandwidth, 2.4853e6, 50.0);
    EXPECT_NEAR(both.lowPass.loss, 0.2796, 5e-5);
    EXPECT_NEAR(both.lowPass.bandwidth, 4.2520e6, 50.0);
}

// ---- T ----------------------------------------------------------------------

TEST(TPhysics, BothVariantsTransformZ2IntoZ1) {
    const auto anyQ = [](long double, long double) { return 0.0L; };
    for (const Design& d : designs(anyQ)) {
        SCOPED_TRACE(describe(d));
        const long double w = kTwoPi * d.f;
        const TElements e = tElements(w, tReactances(d.z1, d.z2, d.q));
        const Complex load(d.z2);
        // High-pass: C1 in series, L across the middle, C2 in series to the load.
        const Complex hp =
            capacitor(w, e.hpC1) + parallel(coil(w, e.hpL), capacitor(w, e.hpC2) + load);
        EXPECT_LT(mismatch(hp, d.z1), 1e-9L);
        // Low-pass: L1 in series, C across the middle, L2 in series to the load.
        const Complex tp = coil(w, e.tpL1) + parallel(capacitor(w, e.tpC), coil(w, e.tpL2) + load);
        EXPECT_LT(mismatch(tp, d.z1), 1e-9L);
    }
}

TEST(TPhysics, NoMinimumQ) {
    // Even a Q far below sqrt(Z1/Z2 − 1) has its network when Z1 > Z2.
    for (const long double q : {1e-3L, 0.01L, 0.5L, 1e4L}) {
        const TReactances x = tReactances(1000.0L, 50.0L, q);
        EXPECT_GT(tSquaredRatio(1000.0L, 50.0L, q), 0.0L);
        const long double w = kTwoPi * 7e6L;
        const TElements e = tElements(w, x);
        const Complex hp =
            capacitor(w, e.hpC1) + parallel(coil(w, e.hpL), capacitor(w, e.hpC2) + Complex(50.0L));
        EXPECT_LT(mismatch(hp, 1000.0L), 1e-9L) << static_cast<double>(q);
    }
}

TEST(TPhysics, LosslessPartsLoseNothing) {
    const auto anyQ = [](long double, long double) { return 0.0L; };
    for (const Design& d : designs(anyQ)) {
        SCOPED_TRACE(describe(d));
        const TReactances x = tReactances(d.z1, d.z2, d.q);
        for (const std::optional<long double> qc :
             {std::optional<long double>(), std::optional<long double>(kLossless)}) {
            const TLosses l = tLosses(d.f, d.z1, d.z2, x, kLossless, qc);
            EXPECT_NEAR(l.highPass.loss, 0.0, 1e-9);
            EXPECT_NEAR(l.lowPass.loss, 0.0, 1e-9);
        }
        const TLosses good = tLosses(d.f, d.z1, d.z2, x, 200.0L, 800.0L);
        const TLosses poor = tLosses(d.f, d.z1, d.z2, x, 50.0L, 800.0L);
        EXPECT_GT(good.highPass.loss, 0.0);
        EXPECT_GT(poor.highPass.loss, good.highPass.loss);
        EXPECT_GT(poor.lowPass.loss, good.lowPass.loss);
    }
}

TEST(TPhysics, WorkedExample) {
    // 4 MHz, 250 Ohm to 50 Ohm, Q = 1, coils of Q 100.
    const TReactances x = tReactances(250.0L, 50.0L, 1.0L);
    EXPECT_NEAR(static_cast<double>(x.x1), 250.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(x.x2), 150.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(x.x3), 125.0, 1e-12);
    const TElements e = tElements(kTwoPi * 4e6L, x);
    EXPECT_NEAR(e.hpC1, 159.15e-12, 1e-14);
    EXPECT_NEAR(e.hpC2, 265.26e-12, 1e-14);
    EXPECT_NEAR(e.hpL, 4.9736e-6, 1e-10);
    EXPECT_NEAR(e.tpL1, 9.9472e-6, 1e-10);
    EXPECT_NEAR(e.tpL2, 5.9683e-6, 1e-10);
    EXPECT_NEAR(e.tpC, 318.31e-12, 1e-14);

    const TLosses coils = tLosses(4e6L, 250.0L, 50.0L, x, 100.0L, std::nullopt);
    EXPECT_NEAR(coils.highPass.loss, 0.1720, 5e-5);
    EXPECT_NEAR(coils.lowPass.loss, 0.1720, 5e-5);
    EXPECT_NEAR(coils.highPass.bandwidth, 15.385e6, 500.0);
    EXPECT_NEAR(coils.lowPass.bandwidth, 20.513e6, 500.0);
    const TLosses both = tLosses(4e6L, 250.0L, 50.0L, x, 100.0L, 500.0L);
    EXPECT_NEAR(both.highPass.loss, 0.2060, 5e-5);
    EXPECT_NEAR(both.lowPass.loss, 0.2060, 5e-5);
    EXPECT_NEAR(both.highPass.bandwidth, 15.267e6, 500.0);
    EXPECT_NEAR(both.lowPass.bandwidth, 20.356e6, 500.0);

    // "Vorgabe" proposes sqrt(250/50 − 1) + 0,2 = 2,2.
    EXPECT_NEAR(static_cast<double>(tProposedQ(250.0L, 50.0L)), 2.2, 1e-15);
    const TElements proposed = tElements(kTwoPi * 4e6L, tReactances(250.0L, 50.0L, 2.2L));
    EXPECT_NEAR(proposed.hpC1, 72.343e-12, 1e-15);
    EXPECT_NEAR(proposed.hpC2, 149.85e-12, 1e-14);
    EXPECT_NEAR(proposed.hpL, 7.7348e-6, 1e-10);
}
