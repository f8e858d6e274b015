// The "L- Anpassnetzwerk" tab: the designed networks analysed again as
// two-ports with complex arithmetic, the loss model on its own, then the tab
// driven through the user's actions on the whole window model with both
// decimal separators, its undefined cases and its settings section.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "calc/constants.h"
#include "calc/lnet.h"
#include "core/errors.h"
#include "core/numtext.h"
#include "core/prefix.h"
#include "model_fixture.h"
#include "settings/ini.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::testing::RecordingSink;
using velkaro::testing::WindowModelTest;
using velkaro::testing::near;

namespace {

using Complex = std::complex<long double>;

Complex parallel(Complex a, Complex b) { return a * b / (a + b); }

// The impedances seen at both ports of a designed network: looking in at the
// Z1 side with Z2 at the other port, and back in at the Z2 side with Z1 there.
struct Ports {
    Complex atZ1;
    Complex atZ2;
};

Ports highPassPorts(long double w, long double z1, long double z2, const LNetwork& n) {
    const Complex shuntL(0, w * n.highPassL);
    const Complex seriesC(0, -1.0L / (w * n.highPassC));
    return {parallel(shuntL, seriesC + z2), seriesC + parallel(shuntL, z1)};
}

Ports lowPassPorts(long double w, long double z1, long double z2, const LNetwork& n) {
    const Complex shuntC(0, -1.0L / (w * n.lowPassC));
    const Complex seriesL(0, w * n.lowPassL);
    return {parallel(shuntC, seriesL + z2), seriesL + parallel(shuntC, z1)};
}

// Power that a generator of internal resistance z1 and available power 1
// delivers through a lossless network into z2, the shunt element `shunt` at
// the generator, `series` towards the load.
long double deliveredPower(long double z1, long double z2, Complex shunt, Complex series) {
    const long double u0 = std::sqrt(4.0L * z1);  // available power 1 from z1
    const Complex zin = parallel(shunt, series + z2);
    const Complex uin = u0 * zin / (zin + z1);
    const Complex iload = uin / (series + z2);
    return std::norm(iload) * z2;
}

}  // namespace

// ---- the physics ------------------------------------------------------------

TEST(LNetPhysics, BothNetworksMatchAtBothPortsWithoutLoss) {
    std::mt19937 random(150);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto logRandom = [&](double lo, double hi) {
        return lo * std::pow(hi / lo, unit(random));
    };
    std::vector<std::array<double, 3>> cases = {
        {10e6, 470.0, 50.0}, {3.6e6, 300.0, 50.0}, {1.0, 1e9, 1e-6}, {1e16, 50.0001, 50.0}};
    for (int i = 0; i < 300; ++i) {
        const double z2 = logRandom(1e-3, 1e6);
        cases.push_back({logRandom(1e-3, 1e12), z2 * (1.0 + logRandom(1e-6, 1e5)), z2});
    }
    for (const auto& [f, z1, z2] : cases) {
        SCOPED_TRACE(std::to_string(f) + " Hz, " + std::to_string(z1) + " / " + std::to_string(z2) +
                     " Ohm");
        const long double w = kTwoPi * f;
        const LNetwork n = designLNetwork(f, z1, z2);
        // The element values are held as doubles; at the ports their last-bit
        // errors come back multiplied by the loaded quality, which only the
        // extreme 1e9 : 1e-6 Ohm (quality 3e7) makes count.
        const long double q = std::sqrt(static_cast<long double>(z1) / z2 - 1.0L);
        const long double tolerance = std::max(1e-9L, 1e-15L * q);
        for (const Ports& p : {highPassPorts(w, z1, z2, n), lowPassPorts(w, z1, z2, n)}) {
            EXPECT_LE(std::abs(p.atZ1 - Complex(z1)) / z1, tolerance) << p.atZ1;
            EXPECT_LE(std::abs(p.atZ2 - Complex(z2)) / z2, tolerance) << p.atZ2;
        }
        // All the available power arrives: 0 dB in both networks.
        const long double hp = deliveredPower(z1, z2, Complex(0, w * n.highPassL),
                                              Complex(0, -1.0L / (w * n.highPassC)));
        const long double tp = deliveredPower(z1, z2, Complex(0, -1.0L / (w * n.lowPassC)),
                                              Complex(0, w * n.lowPassL));
        EXPECT_NEAR(static_cast<double>(10.0L * std::log10(1.0L / hp)), 0.0, 1e-8);
        EXPECT_NEAR(static_cast<double>(10.0L * std::log10(1.0L / tp)), 0.0, 1e-8);

        // The low-pass pair alone is the same pair.
        const LNetwork low = designLowPass(f, z1, z2);
        EXPECT_EQ(low.lowPassL, n.lowPassL);
        EXPECT_EQ(low.lowPassC, n.lowPassC);
    }
}

// 470 Ohm to 50 Ohm at 10 MHz: n = 2,898275.
TEST(LNetPhysics, WorkedExample) {
    const LNetwork n = designLNetwork(10e6, 470.0, 50.0);
    EXPECT_NEAR(static_cast<double>(lNetworkFactor(470.0L, 50.0L)), 2.898275, 1e-6);
    EXPECT_NEAR(n.highPassL * 1e6, 2.5809, 5e-5);
    EXPECT_NEAR(n.highPassC * 1e12, 109.83, 5e-3);
    EXPECT_NEAR(n.lowPassL * 1e6, 2.3064, 5e-5);
    EXPECT_NEAR(n.lowPassC * 1e12, 98.144, 5e-4);

    const LowPassLosses coil = lowPassLosses(10e6, 470.0, 50.0, n.lowPassL, n.lowPassC, 100.0, {});
    EXPECT_NEAR(coil.lossDb, 0.1250, 5e-5);
    EXPECT_NEAR(coil.bandwidth / 1e6, 7.0007, 5e-5);
    const LowPassLosses both =
        lowPassLosses(10e6, 470.0, 50.0, n.lowPassL, n.lowPassC, 100.0, 500.0);
    EXPECT_NEAR(both.lossDb, 0.1527, 5e-5);
    EXPECT_NEAR(both.bandwidth / 1e6, 7.0230, 5e-5);
}

// The model in closed form: with R = RL (+ RC) the power that leaves is
// 4000·Rp² / (2Rp + R)², so a = 20·log10(1 + R / 2Rp); and the bandwidth is
// that of the inductor in the series loop Rp + R + Z2.
TEST(LNetPhysics, LossModelInClosedForm) {
    std::mt19937 random(1097);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < 200; ++i) {
        const double f = 1e3 * std::pow(1e6, unit(random));
        const double z2 = 1.0 * std::pow(1e4, unit(random));
        const double z1 = z2 * (1.01 + 100.0 * unit(random));
        const double ql = 1.0 + 500.0 * unit(random);
        const double qc = 1.0 + 2000.0 * unit(random);
        const LNetwork n = designLNetwork(f, z1, z2);
        const long double w = kTwoPi * f;
        const long double rp = z2;  // the load as the network transforms it
        const long double rl = w * n.lowPassL / ql;
        const long double rc = 1.0L / (w * n.lowPassC * qc);
        for (const bool withC : {false, true}) {
            const long double r = rl + (withC ? rc : 0.0L);
            const LowPassLosses got =
                lowPassLosses(f, z1, z2, n.lowPassL, n.lowPassC, ql,
                              withC ? std::optional<double>(qc) : std::nullopt);
            EXPECT_NEAR(got.lossDb, static_cast<double>(20.0L * std::log10(1.0L + r / (2.0L * rp))),
                        1e-9 * (1.0 + got.lossDb));
            EXPECT_TRUE(near(got.bandwidth, (rp + r + z2) / (kTwoPi * n.lowPassL), 1e-12L));
        }
    }
    // Parts without loss lose nothing.
    const LNetwork n = designLNetwork(7e6, 600.0, 50.0);
    const LowPassLosses ideal =
        lowPassLosses(7e6, 600.0, 50.0, n.lowPassL, n.lowPassC, 1e300, 1e300);
    EXPECT_EQ(ideal.lossDb, 0.0);
}

TEST(LNetPhysics, NoNetworkForEqualOrReversedImpedances) {
    EXPECT_THROW(designLNetwork(1e6, 50.0, 50.0), ArithmeticError);
    EXPECT_THROW(designLNetwork(1e6, 50.0, 470.0), ArithmeticError);
    EXPECT_THROW(designLowPass(1e6, 50.0, 470.0), ArithmeticError);
    EXPECT_THROW(designLNetwork(0.0, 470.0, 50.0), ArithmeticError);
    EXPECT_THROW(lowPassLosses(1e6, 470.0, 50.0, 1e-6, 1e-9, 0.0, {}), ArithmeticError);
    EXPECT_THROW(lowPassLosses(1e6, 470.0, 50.0, 1e-6, 1e-9, 50.0, 0.0), ArithmeticError);
}

// ---- the tab ----------------------------------------------------------------

namespace {

const std::string CR = "\r";
const std::string kSwap =
    "Die Eingabe von Z1 ist kleiner oder gleich der Eingabe von Z2" + CR + CR +
    "um eine korrekte Berechnung durchzuf\u00fchren werden die Eingaben getauscht! ";

const std::vector<std::string> kInputs = {"L_E_F", "L_E_Z1", "L_E_Z2", "L_E_QL", "L_E_QC"};
const std::vector<std::string> kResults = {"L_E_HP_L", "L_C_HP_L", "L_E_HP_C", "L_C_HP_C",
                                           "L_E_TP_L", "L_C_TP_L", "L_E_TP_C", "L_C_TP_C",
                                           "L_E_Tl",   "L_E_B",    "L_C_B"};
const std::vector<std::string> kSelectors = {"L_C_F", "L_C_Z1", "L_C_Z2"};

class LTab : public WindowModelTest {
protected:
    void SetUp() override {
        BuildModel(form);
        ApplyFactoryDefaults(form);
        form.setSink(&sink);
    }

    std::vector<std::string> shown() const {
        std::vector<std::string> all = kInputs;
        all.insert(all.end(), kResults.begin(), kResults.end());
        return snapshot(all, kSelectors);
    }
    std::vector<std::string> results() const { return snapshot(kResults, {}); }
    void expectQuiet() const {
        EXPECT_TRUE(sink.errors.empty()) << sink.errors.front();
        EXPECT_TRUE(sink.general.empty()) << sink.general.front();
    }
    // 10 MHz, 470 Ohm to 50 Ohm, coil quality 100, as typed by the user.
    void enterExample() {
        type("L_E_F", "10");
        type("L_E_Z2", "50");
        type("L_E_QL", "100");
        enter("L_E_Z1", "470");
    }
    void expectExampleElements() const {
        expectField("L_E_HP_L", " 2,581");
        expectField("L_E_HP_C", " 109,827");
        expectField("L_E_TP_L", " 2,306");
        expectField("L_E_TP_C", " 98,144");
        EXPECT_EQ(form.text("L_C_HP_L"), " \u00b5H");
        EXPECT_EQ(form.text("L_C_HP_C"), " pF");
        EXPECT_EQ(form.text("L_C_TP_L"), " \u00b5H");
        EXPECT_EQ(form.text("L_C_TP_C"), " pF");
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, LTab, ::testing::Values(',', '.'));

TEST_P(LTab, FirstStartShowsTheFactoryTextsAsStored) {
    expectField("L_E_F", " 10,000", "L_C_F", 6);
    expectField("L_E_Z1", " 300,000", "L_C_Z1", 8);
    expectField("L_E_Z2", " 50,000", "L_C_Z2", 8);
    expectField("L_E_QL", " 50,000");
    expectField("L_E_QC", " 500,000");
    expectField("L_E_HP_L", " 2,135");
    expectField("L_E_HP_C", " 142,353");
    expectField("L_E_TP_L", " 1,779");
    expectField("L_E_TP_C", " 118,627");
    expectField("L_E_Tl", " 0,1921");  // four decimals, as stored
    expectField("L_E_B", " 9,144");
    EXPECT_EQ(form.text("L_C_B"), " MHz");
    EXPECT_EQ(form.at("L_C_F").unitText(), "MHz");
    // The check box stays off and its quality field stays enabled.
    EXPECT_FALSE(form.checked("L_CB_QC"));
    EXPECT_TRUE(form.at("L_E_QC").enabled);
    for (const auto& r : kResults) EXPECT_TRUE(form.at(r).readOnly) << r;
}

TEST_P(LTab, WorkedExampleWithAndWithoutTheCapacitorsQuality) {
    enterExample();
    expectQuiet();
    expectExampleElements();
    expectField("L_E_Tl", " 0,1250");
    expectField("L_E_B", " 7,001");
    EXPECT_EQ(form.text("L_C_B"), " MHz");
    expectField("L_E_Z1", " 470,000", "L_C_Z1", 8);

    // Including QC 500 rewrites only the low-pass values and the loss.
    enter("L_E_QC", "500");
    form.setText("L_E_HP_L", "unchanged");
    form.click("L_CB_QC");
    expectQuiet();
    EXPECT_TRUE(form.checked("L_CB_QC"));
    EXPECT_TRUE(form.at("L_E_QC").enabled);
    EXPECT_EQ(form.at("L_E_QC").fontColour, colour::kBlack);
    EXPECT_EQ(form.text("L_E_HP_L"), "unchanged");
    expectField("L_E_TP_L", " 2,306");
    expectField("L_E_TP_C", " 98,144");
    expectField("L_E_Tl", " 0,1527");
    expectField("L_E_B", " 7,023");

    // Leaving it out again greys the field and drops the capacitor's term.
    form.click("L_CB_QC");
    expectQuiet();
    EXPECT_FALSE(form.at("L_E_QC").enabled);
    EXPECT_EQ(form.at("L_E_QC").fontColour, colour::kSilver);
    expectField("L_E_Tl", " 0,1250");
    expectField("L_E_B", " 7,001");
}

TEST_P(LTab, LossAlwaysWithFourDecimalsTheRestWithTheChosenPlaces) {
    form.click("RadioButton2");  // two decimals
    enterExample();
    expectQuiet();
    expectField("L_E_HP_L", " 2,58");
    expectField("L_E_HP_C", " 109,83");
    expectField("L_E_TP_C", " 98,14");
    expectField("L_E_Tl", " 0,1250");
    expectField("L_E_B", " 7,00");
    expectField("L_E_Z1", " 470,00");
    form.click("RadioButtonohne");
    enter("L_E_QL", "100");
    expectField("L_E_HP_C", " 110");
    expectField("L_E_Tl", " 0,1250");
    expectField("L_E_B", " 7");
    expectField("L_E_QL", " 100");
}

TEST_P(LTab, ReversedImpedancesAreSwapped) {
    type("L_E_F", "10");
    type("L_E_QL", "100");
    type("L_E_Z2", "470");
    enter("L_E_Z1", "50");
    EXPECT_EQ(sink.errors, std::vector<std::string>{kSwap});
    EXPECT_TRUE(sink.general.empty());
    expectField("L_E_Z1", " 470,000", "L_C_Z1", 8);
    expectField("L_E_Z2", " 50,000", "L_C_Z2", 8);
    expectExampleElements();
    expectField("L_E_Tl", " 0,1250");
    expectField("L_E_B", " 7,001");

    // From the Z2 entry, with a prefix: 0,47 kOhm is shown as 470 Ohm.
    sink = RecordingSink{};
    type("L_E_Z1", "50");
    type("L_E_Z2", "0,47");
    form.setIndex("L_C_Z2", 7);
    form.pressEnter("L_E_Z2");
    EXPECT_EQ(sink.errors, std::vector<std::string>{kSwap});
    expectField("L_E_Z1", " 470,000", "L_C_Z1", 8);
    expectField("L_E_Z2", " 50,000", "L_C_Z2", 8);
    expectExampleElements();

    // And from the frequency.
    sink = RecordingSink{};
    type("L_E_Z2", "470");
    type("L_E_Z1", "0,05");
    choose("L_C_Z1", 7);  // 0,05 kOhm: the unit change computes and swaps
    EXPECT_EQ(sink.errors, std::vector<std::string>{kSwap});
    expectField("L_E_Z1", " 470,000", "L_C_Z1", 8);
    expectField("L_E_Z2", " 50,000", "L_C_Z2", 8);
    sink = RecordingSink{};
    type("L_E_Z1", "50");
    type("L_E_Z2", "470");
    enter("L_E_F", "10");
    EXPECT_EQ(sink.errors, std::vector<std::string>{kSwap});
    expectExampleElements();
    expectField("L_E_Z1", " 470,000");
}

TEST_P(LTab, QualitiesChangeOnlyLossAndBandwidth) {
    enterExample();
    const auto before = results();
    enter("L_E_QL", "50");
    expectQuiet();
    auto after = results();
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(after[i], before[i]) << kResults[i];
    // R = RL = n·Z2/QL = 2,898 Ohm: a = 20·log10(1 + 2,898/100), B = 102,898 Ohm / 2πL.
    expectField("L_E_Tl", " 0,2482");
    expectField("L_E_B", " 7,101");

    // QC counts only while the check box includes it.
    enter("L_E_QC", "1");
    expectQuiet();
    EXPECT_EQ(results(), after);
    form.click("L_CB_QC");
    expectField("L_E_Tl", " 8,4670");  // RC = Z1 / n = 162,165 Ohm
}

TEST_P(LTab, FrequencyIsReformattedOneStepAtATime) {
    enterExample();
    const struct {
        const char* typed;
        int unit;
        const char* shown;
        int shownUnit;
    } cases[] = {
        {"0,5", 6, " 500,000", 7},
        {"1500", 7, " 1,500", 6},
        {"0,0005", 6, " 0,500", 7},
    };
    for (const auto& c : cases) {
        form.setIndex("L_C_F", c.unit);
        enter("L_E_F", c.typed);
        expectQuiet();
        expectField("L_E_F", c.shown, "L_C_F", c.shownUnit);
    }
    // 0,0005 MHz is 500 Hz: twenty thousand times the example's elements.
    expectField("L_E_HP_L", " 51,619");
    EXPECT_EQ(form.text("L_C_HP_L"), " mH");
    // Z1, Z2 and the qualities are reformatted with it.
    type("L_E_Z2", "0,05");
    form.setIndex("L_C_Z2", 7);
    enter("L_E_QL", "100,0004");
    expectField("L_E_Z2", " 50,000", "L_C_Z2", 8);
    expectField("L_E_QL", " 100,000");
}

TEST_P(LTab, EntriesOutsideTheirLimitsAreRefused) {
    const auto before = shown();
    enter("L_E_F", "0");
    enter("L_E_Z1", "2e9");
    enter("L_E_QL", "0");
    enter("L_E_QC", "1e5");
    ASSERT_EQ(sink.errors.size(), 4u);
    EXPECT_EQ(sink.errors[0], "Die Eingabe0 MHz  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-16 bis 1e+16 Hertz");
    EXPECT_EQ(sink.errors[1], "Die Eingabe2e9 Ohm  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-6 bis 1e+9 Ohm");
    EXPECT_EQ(sink.errors[2], "Die Eingabe0  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-3 bis 1e4");
    EXPECT_EQ(sink.errors[3], "Die Eingabe" + local("1e5") + "  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-3 bis 1e4");
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(sink.general.empty());
}

TEST_P(LTab, EqualImpedancesHaveNoNetwork) {
    const auto before = results();
    type("L_E_Z2", "0,05");
    form.setIndex("L_C_Z2", 7);
    enter("L_E_Z1", "50");
    // The swap notice, then why nothing can be computed.
    EXPECT_EQ(sink.errors, std::vector<std::string>{kSwap});
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(
        sink.general[0],
        "\u201eImpedanz Z1\u201c und \u201eImpedanz Z2\u201c (L- Anpassnetzwerk) sind gleich "
        "gro\u00df: gleiche Impedanzen brauchen kein Anpassnetzwerk, seine Bauteilwerte "
        "w\u00e4ren unendlich. Bitte f\u00fcr Z1 einen gr\u00f6\u00dferen Wert als f\u00fcr Z2 "
        "eingeben.");
    EXPECT_EQ(results(), before);
    // The quality entries and the check box say the same, without swapping.
    sink = RecordingSink{};
    form.pressEnter("L_E_QL");
    form.click("L_CB_QC");
    EXPECT_TRUE(sink.errors.empty());
    ASSERT_EQ(sink.general.size(), 2u);
    EXPECT_EQ(sink.general[1], sink.general[0]);
    EXPECT_EQ(results(), before);
}

TEST_P(LTab, ReversedImpedancesFromTheSettingsFileAreNotComputed) {
    IniFile ini = IniFile::parse(
        "[L-Netz]\r\nZ1= 50,000\r\nZ2= 470,000\r\nG\xfc"
        "teC=1\r\n");
    // The file was written with a comma; loading converts it.
    Form again{sep()};
    BuildModel(again);
    RecordingSink loaded;
    again.setSink(&loaded);
    LoadSettings(again, ini);
    EXPECT_TRUE(loaded.errors.empty());
    EXPECT_TRUE(loaded.general.empty());
    EXPECT_TRUE(again.checked("L_CB_QC"));
    EXPECT_TRUE(again.at("L_E_QC").enabled);
    EXPECT_EQ(again.text("L_E_Tl"), local(" 3,100"));  // the default of the missing key

    const std::string message =
        "\u201eImpedanz Z1\u201c ist kleiner als \u201eImpedanz Z2\u201c (L- Anpassnetzwerk): das "
        "Netzwerk l\u00e4sst sich nur f\u00fcr Z1 gr\u00f6\u00dfer als Z2 berechnen. Bitte Z1 oder "
        "Z2 mit Enter best\u00e4tigen, dann werden die Eingaben getauscht.";
    std::vector<std::string> results;
    for (const auto& r : kResults) results.push_back(again.text(r));
    again.pressEnter("L_E_QL");
    again.pressEnter("L_E_QC");
    again.click("L_CB_QC");
    EXPECT_TRUE(loaded.errors.empty());
    EXPECT_EQ(loaded.general, std::vector<std::string>(3, message));
    EXPECT_FALSE(again.at("L_E_QC").enabled);  // the check box itself did change
    for (std::size_t i = 0; i < kResults.size(); ++i) {
        EXPECT_EQ(again.text(kResults[i]), results[i]) << kResults[i];
        EXPECT_EQ(again.text(kResults[i]).find_first_of("iInN"), std::string::npos);
    }

    // The frequency swaps them, as Z1 and Z2 do.
    loaded = RecordingSink{};
    again.pressEnter("L_E_F");
    EXPECT_EQ(loaded.errors, std::vector<std::string>{kSwap});
    EXPECT_TRUE(loaded.general.empty());
    EXPECT_EQ(again.text("L_E_Z1"), local(" 470,00"));  // two places: the file's default
}

TEST_P(LTab, QualitiesOfZeroOrBelowAreNamed) {
    enterExample();
    const auto before = results();
    const std::string coil =
        "\u201eG\u00fcte L\u201c (L- Anpassnetzwerk) ist 0: eine Spule ohne G\u00fcte h\u00e4tte "
        "einen unendlichen Verlustwiderstand, \u00dcbertragungsd\u00e4mpfung und -bandbreite "
        "lassen sich nicht berechnen.";
    const std::string capacitor =
        "\u201eG\u00fcte C\u201c (L- Anpassnetzwerk) ist 0: ein Kondensator ohne G\u00fcte "
        "h\u00e4tte einen unendlichen Verlustwiderstand, \u00dcbertragungsd\u00e4mpfung und "
        "-bandbreite lassen sich nicht berechnen.";
    // Typed without Enter, read by the next computation.
    type("L_E_QL", "0");
    form.pressEnter("L_E_F");
    type("L_E_QL", "0,000");
    form.click("L_CB_QC");
    type("L_E_QL", "-5");
    form.pressEnter("L_E_Z2");
    EXPECT_TRUE(sink.errors.empty());
    ASSERT_EQ(sink.general.size(), 3u);
    EXPECT_EQ(sink.general[0], coil);
    EXPECT_EQ(sink.general[1], coil);
    EXPECT_EQ(sink.general[2],
              "\u201eG\u00fcte L\u201c (L- Anpassnetzwerk) ist negativ: hier sind nur Werte "
              "gr\u00f6\u00dfer als 0 m\u00f6glich.");
    EXPECT_EQ(results(), before);

    // A capacitor quality of 0 matters only while it is included.
    sink = RecordingSink{};
    type("L_E_QL", "100");
    type("L_E_QC", "0");
    ASSERT_TRUE(form.checked("L_CB_QC"));
    form.pressEnter("L_E_Z1");
    EXPECT_EQ(sink.general, std::vector<std::string>{capacitor});
    EXPECT_EQ(results(), before);
    form.click("L_CB_QC");  // off: computed without it
    EXPECT_EQ(sink.general.size(), 1u);
    expectField("L_E_Tl", " 0,1250");
}

TEST_P(LTab, ZeroFrequencyOrImpedanceLeftInAFieldIsNamed) {
    const auto before = results();
    type("L_E_F", "0");
    form.pressEnter("L_E_Z1");
    type("L_E_F", "10");
    type("L_E_Z1", "0");  // swapped into Z2 first
    form.pressEnter("L_E_F");
    ASSERT_EQ(sink.general.size(), 2u);
    EXPECT_EQ(sink.general[0],
              "Division durch Null: \u201eFrequenz F\u201c (L- Anpassnetzwerk) ist 0.");
    EXPECT_EQ(sink.errors, std::vector<std::string>{kSwap});
    EXPECT_EQ(sink.general[1],
              "Division durch Null: \u201eImpedanz Z2\u201c (L- Anpassnetzwerk) ist 0.");
    EXPECT_EQ(form.text("L_E_Z2"), local(" 0,000"));
    EXPECT_EQ(results(), before);
}

// Random designs against the formulas written out here: what the boxes show
// is each value to within half a unit of the last digit shown.
TEST_P(LTab, RandomEntriesShowTheDesignedValues) {
    std::mt19937 random(4100 + sep());
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    form.click("L_CB_QC");
    const auto typeValue = [this](const char* edit, const char* selector, double v) {
        form.setIndex(selector, PrefixIndexOf(v));
        char text[40];
        std::snprintf(text, sizeof text, "%.3f", PrefixMantissa(v));
        std::string commaText(text);
        std::replace(commaText.begin(), commaText.end(), '.', ',');
        type(edit, commaText);
    };
    // A result box's value from its number and the prefix in its unit box.
    const auto prefixOf = [this](const char* unitEdit) {
        const std::string unit = form.text(unitEdit);
        const std::string prefix = unit.substr(0, unit.size() - 1);  // without H or F
        for (int i = 0; i <= kBelowYocto; ++i) {
            if (PrefixTextOfIndex(i) == prefix) return i;
        }
        ADD_FAILURE() << "unit box " << unitEdit << " shows '" << unit << "'";
        return kNoPrefix;
    };
    for (int i = 0; i < 150; ++i) {
        const double f = 1e3 * std::pow(1e6, unit(random));
        const double z2 = 1.0 * std::pow(1e3, unit(random));
        const double z1 = z2 * (1.2 + 50.0 * unit(random));
        typeValue("L_E_F", "L_C_F", f);
        typeValue("L_E_Z2", "L_C_Z2", z2);
        type("L_E_QL", std::to_string(10 + static_cast<int>(300 * unit(random))));
        type("L_E_QC", std::to_string(100 + static_cast<int>(900 * unit(random))));
        typeValue("L_E_Z1", "L_C_Z1", z1);
        form.pressEnter("L_E_Z1");
        ASSERT_TRUE(sink.errors.empty()) << sink.errors.front();
        ASSERT_TRUE(sink.general.empty()) << sink.general.front();

        // The inputs as the computation read them: rounded to three places.
        const auto read = [this](const char* edit, const char* selector) {
            return *parseNumber(form.text(edit), sep()) * PrefixFactor(form.index(selector));
        };
        const long double F = read("L_E_F", "L_C_F");
        const long double Z1 = read("L_E_Z1", "L_C_Z1");
        const long double Z2 = read("L_E_Z2", "L_C_Z2");
        const long double w = 2.0L * 3.14159265358979323846L * F;
        const long double q = std::sqrt(Z1 / Z2 - 1.0L);  // loaded quality
        const long double xShunt = Z1 / q;
        const long double xSeries = q * Z2;
        const long double expected[] = {xShunt / w, 1.0L / (w * xSeries), xSeries / w,
                                        1.0L / (w * xShunt)};
        const char* const boxes[][2] = {{"L_E_HP_L", "L_C_HP_L"},
                                        {"L_E_HP_C", "L_C_HP_C"},
                                        {"L_E_TP_L", "L_C_TP_L"},
                                        {"L_E_TP_C", "L_C_TP_C"}};
        for (int k = 0; k < 4; ++k) {
            const int index = prefixOf(boxes[k][1]);
            ASSERT_LE(index, 16);
            const long double shownV =
                *parseNumber(form.text(boxes[k][0]), sep()) * PrefixFactor(index);
            const long double lastDigit = 1e-3L * PrefixFactor(index);
            EXPECT_LE(std::fabs(shownV - expected[k]), 0.5001L * lastDigit)
                << boxes[k][0] << " shows " << form.text(boxes[k][0]) << form.text(boxes[k][1]);
        }
        const long double ql = *parseNumber(form.text("L_E_QL"), sep());
        const long double qc = *parseNumber(form.text("L_E_QC"), sep());
        const long double r = xSeries / ql + xShunt / qc;
        const long double a = 20.0L * std::log10(1.0L + r / (2.0L * Z2));
        EXPECT_LE(std::fabs(*parseNumber(form.text("L_E_Tl"), sep()) - a), 0.50001e-4L)
            << form.text("L_E_Tl") << " for " << static_cast<double>(a);
    }
}

TEST_P(LTab, SettingsRoundTrip) {
    enterExample();
    enter("L_E_QC", "500");
    form.click("L_CB_QC");
    choose("L_C_F", 7);    // 10 kHz
    type("L_E_QL", "77");  // typed only: stored as it stands
    IniFile ini;
    StoreSettings(form, ini);
    EXPECT_EQ(ini.read("L-Netz", "G\u00fcteC"), "1");
    EXPECT_EQ(ini.read("L-Netz", "Frequenz-Einheit"), "7");
    EXPECT_EQ(ini.read("L-Netz", "\u00dcber-a"), local("0,1527"));
    EXPECT_EQ(ini.read("L-Netz", "HP-L-Einheit"), "mH");
    EXPECT_EQ(ini.read("L-Netz", "G\u00fcte-L"), "77");

    Form again{sep()};
    BuildModel(again);
    RecordingSink quiet;
    again.setSink(&quiet);
    LoadSettings(again, ini);
    EXPECT_TRUE(quiet.general.empty());
    EXPECT_TRUE(again.checked("L_CB_QC"));
    EXPECT_TRUE(again.at("L_E_QC").enabled);
    EXPECT_EQ(again.at("L_E_QC").fontColour, colour::kBlack);
    // The results come back as text, not recomputed; the quality the user
    // left without Enter comes back reformatted with the decimal places.
    for (const auto& r : kResults) EXPECT_EQ(again.text(r), form.text(r)) << r;
    for (const auto& s : kSelectors) EXPECT_EQ(again.index(s), form.index(s)) << s;
    EXPECT_EQ(again.text("L_E_QL"), local(" 77,000"));
    EXPECT_EQ(again.text("L_E_F"), form.text("L_E_F"));
}

TEST(LSettings, KeysInFileOrderAndDefaultsOfMissingKeys) {
    Form form(',');
    BuildModel(form);
    ApplyFactoryDefaults(form);
    IniFile ini;
    StoreSettings(form, ini);
    const std::string file = utf8FromCp1252(ini.serialize());
    const std::string section =
        "[L-Netz]\r\nFrequenz= 10,000\r\nFrequenz-Einheit=6\r\nZ1= 300,000\r\nZ1-Einheit=8\r\n"
        "Z2= 50,000\r\nZ2-Einheit=8\r\nG\u00fcte-L= 50,000\r\nG\u00fcte_C= 500,000\r\n"
        "G\u00fcteC=0\r\nHP-L= 2,135\r\nHP-L-Einheit= \u00b5H\r\nHP-C= 142,353\r\n"
        "HP-C-Einheit= pF\r\nTP-L= 1,779\r\nTP-L-Einheit= \u00b5H\r\nTP-C= 118,627\r\n"
        "TP-C-Einheit= pF\r\n\u00dcber-a= 0,1921\r\n\u00dcber-B= 9,144\r\n"
        "\u00dcber-B-Einheit= MHz\r\n";
    EXPECT_NE(file.find(section), std::string::npos) << file;

    // An empty section: the defaults it has always had, with the running
    // separator; the quality field follows the unchecked box.
    Form dotted('.');
    BuildModel(dotted);
    LoadSettings(dotted, IniFile::parse("[L-Netz]\r\n"));
    EXPECT_EQ(dotted.text("L_E_F"), " 10.00");
    EXPECT_EQ(dotted.text("L_E_Z1"), " 300.00");
    EXPECT_EQ(dotted.text("L_E_QC"), " 500.000");
    EXPECT_EQ(dotted.text("L_E_HP_C"), " 142.352");
    EXPECT_EQ(dotted.text("L_E_Tl"), " 3.100");
    EXPECT_EQ(dotted.text("L_C_B"), " kHz");
    EXPECT_EQ(dotted.index("L_C_F"), 6);
    EXPECT_FALSE(dotted.checked("L_CB_QC"));
    EXPECT_FALSE(dotted.at("L_E_QC").enabled);
    EXPECT_EQ(dotted.at("L_E_QC").fontColour, colour::kSilver);
}
