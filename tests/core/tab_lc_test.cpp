// The "LC-Schwingkreis" tab: resonance and the figures of both circuits on
// plain numbers against complex impedances, then the tab driven through the
// user's actions on the whole window model with both decimal separators, and
// its settings section.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "calc/constants.h"
#include "calc/tab_lc.h"
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

}  // namespace

// ---- the physics ------------------------------------------------------------

// 100 µH with 100 pF: sqrt(L·C) = 1e-7 s, so f = 1,5915494 MHz; each of the
// three gives back the one it was computed from.
TEST(LcPhysics, ThomsonsFormulaEachWay) {
    EXPECT_NEAR(static_cast<double>(resonanceFrequency(100e-6L, 100e-12L)), 1591549.4309, 1e-4);
    EXPECT_NEAR(static_cast<double>(resonanceInductance(1e6L, 1e-9L) * 1e6L), 25.330296, 1e-6);
    for (const long double l : {1e-14L, 3.3e-9L, 25e-6L, 1.0L, 1e14L}) {
        for (const long double c : {1e-14L, 47e-12L, 1e-6L, 1e14L}) {
            const long double f = resonanceFrequency(l, c);
            const long double w = kTwoPi * f;
            EXPECT_TRUE(near(w * w * l * c, 1.0L, 1e-17L));
            EXPECT_TRUE(near(resonanceInductance(f, c), l, 1e-17L));
            EXPECT_TRUE(near(resonanceCapacitance(f, l), c, 1e-17L));
        }
    }
}

// C parallel to the coil L + R, at ω0 = 1 / sqrt(L·C): the real part of the
// impedance is the parallel resonance resistance, and the series circuit
// shows only the coil's loss resistance.
TEST(LcPhysics, ResonanceResistancesAgainstTheImpedances) {
    for (const long double q : {0.5L, 10.0L, 100.0L, 1e5L}) {
        const long double l = 25.330296e-6L;
        const long double c = 1e-9L;
        const long double f = resonanceFrequency(l, c);
        const long double w = kTwoPi * f;
        const long double r = coilLossResistance(f, l, q);
        EXPECT_TRUE(near(coilQuality(f, l, r), q, 1e-17L));
        EXPECT_TRUE(near(circuitQuality(f, l, r), q, 1e-17L));

        const Complex coil(r, w * l);
        const Complex capacitor(0.0L, -1.0L / (w * c));
        const Complex parallel = coil * capacitor / (coil + capacitor);
        EXPECT_TRUE(near(parallelResonanceResistance(l, c, r), parallel.real(), 1e-15L));
        // Rp = Q²·R at resonance.
        EXPECT_TRUE(near(parallelResonanceResistance(l, c, r), q * q * r, 1e-15L));

        const Complex series = coil + capacitor;
        EXPECT_TRUE(near(seriesResonanceResistance(f, l, q), std::abs(series), 1e-15L));
        EXPECT_TRUE(near(seriesResonanceResistance(f, l, q), r, 1e-17L));
    }
}

// The series circuit's current drops by 3 dB where the reactance equals R:
// ωL - 1/(ωC) = ±R. The two frequencies lie B = R / (2π·L) apart, whatever Q.
TEST(LcPhysics, BandwidthBetweenTheThreeDecibelPoints) {
    const long double l = 10e-6L;
    const long double c = 220e-12L;
    for (const long double r : {0.01L, 2.0L, 150.0L}) {
        const long double root = std::sqrt(r * r + 4.0L * l / c);
        const long double upper = (root + r) / (2.0L * l);
        const long double lower = (root - r) / (2.0L * l);
        for (const long double w : {upper, lower}) {
            const Complex z(r, w * l - 1.0L / (w * c));
            // ωL and 1/(ωC) nearly cancel at high Q: a few digits go there.
            EXPECT_TRUE(near(std::abs(z), std::sqrt(2.0L) * r, 1e-12L));
        }
        EXPECT_TRUE(near(resonanceBandwidth(l, r), (upper - lower) / kTwoPi, 1e-15L));
        // B = f0 / Q.
        const long double f0 = resonanceFrequency(l, c);
        EXPECT_TRUE(near(resonanceBandwidth(l, r), f0 / coilQuality(f0, l, r), 1e-17L));
    }
}

TEST(LcPhysics, NoLossResistanceWithoutQuality) {
    EXPECT_THROW(coilLossResistance(1e6L, 25e-6L, 0.0L), ArithmeticError);
    EXPECT_THROW(seriesResonanceResistance(1e6L, 25e-6L, 0.0L), ArithmeticError);
    EXPECT_THROW(parallelResonanceResistance(25e-6L, 1e-9L, 0.0L), ArithmeticError);
    EXPECT_THROW(resonanceInductance(1e6L, 0.0L), ArithmeticError);
    EXPECT_THROW(resonanceFrequency(-1e-6L, 1e-9L), ArithmeticError);
}

// ---- the tab ----------------------------------------------------------------

namespace {

const std::vector<std::string> kEdits = {"LC_E_F",    "LC_E_L",     "LC_E_C",    "LC_E_Q",
                                         "LC_E_R",    "LC_Pa_R",    "LC_L_Pa_R", "LC_Pa_B",
                                         "LC_L_Pa_B", "LC_Pa_G",    "LC_Ser_R",  "LC_L_Ser_R",
                                         "LC_Ser_B",  "LC_L_Ser_B", "LC_Ser_G"};
const std::vector<std::string> kSelectors = {"LC_C_F", "LC_C_L", "LC_C_C", "LC_C_R"};

const std::string kZeroQualityLoss =
    "Bei der G\u00fcte 0 w\u00e4re der Verlustwiderstand unendlich gro\u00df. Bitte bei "
    "\u201eG\u00fcte Induktivit\u00e4t (L)\u201c (LC-Schwingkreis) einen Wert \u00fcber 0 "
    "eingeben.";
const std::string kZeroQualitySeries =
    "Bei der G\u00fcte 0 w\u00e4re der Resonanzwiderstand des Serienschwingkreises unendlich "
    "gro\u00df. Bitte bei \u201eG\u00fcte Induktivit\u00e4t (L)\u201c (LC-Schwingkreis) einen "
    "Wert \u00fcber 0 eingeben.";

// Starts as a first start does: the factory texts at three places.
class LcTab : public WindowModelTest {
protected:
    void SetUp() override {
        BuildModel(form);
        ApplyFactoryDefaults(form);
        form.setSink(&sink);
    }

    std::vector<std::string> shown() const { return snapshot(kEdits, kSelectors); }
    // A result pair: value text and unit text.
    void expectPair(const std::string& value, const std::string& text, const std::string& unit) {
        EXPECT_EQ(form.text(value), local(text)) << value;
        const std::string unitEdit = "LC_L_" + value.substr(3);
        EXPECT_EQ(form.text(unitEdit), unit) << unitEdit;
    }
    void expectQuiet() const {
        EXPECT_TRUE(sink.errors.empty()) << sink.errors.front();
        EXPECT_TRUE(sink.general.empty()) << sink.general.front();
    }
    void expectMarking(bool qualityLeads) const {
        const auto lead = colour::kWindowText;
        const auto grey = colour::kMedGray;
        EXPECT_EQ(form.at("LC_E_Q").fontColour, qualityLeads ? lead : grey);
        EXPECT_EQ(form.at("LC_E_R").fontColour, qualityLeads ? grey : lead);
        EXPECT_EQ(form.at("LC_C_R").fontColour, qualityLeads ? grey : lead);
    }
    // Which of F, L, C can be typed, and the mode.
    void expectMode(int mode) const {
        EXPECT_EQ(form.state.LCMode, mode);
        const char* const quantities[] = {"F", "L", "C"};
        for (int i = 0; i < 3; ++i) {
            const std::string q = quantities[i];
            EXPECT_EQ(form.at("LC_E_" + q).enabled, i + 1 != mode) << q;
            EXPECT_EQ(form.at("LC_C_" + q).enabled, i + 1 != mode) << q;
            EXPECT_EQ(form.checked("LC_RB_" + q), i + 1 == mode) << q;
        }
        for (const char* loss : {"LC_E_Q", "LC_E_R", "LC_C_R"}) EXPECT_TRUE(form.at(loss).enabled);
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, LcTab, ::testing::Values(',', '.'));

TEST_P(LcTab, FirstStartShowsTheFactoryState) {
    expectField("LC_E_F", " 10,000", "LC_C_F", 6);
    expectField("LC_E_L", " 253,303", "LC_C_L", 11);
    expectField("LC_E_C", " 1,000", "LC_C_C", 11);
    expectField("LC_E_Q", " 100,000");
    expectField("LC_E_R", " 159,155", "LC_C_R", 9);
    expectPair("LC_Pa_R", " 1,592", " kOhm");
    expectPair("LC_Ser_R", " 159,155", " mOhm");
    expectPair("LC_Pa_B", " 100,000", " kHz");
    expectPair("LC_Ser_B", " 100,000", " kHz");
    expectField("LC_Pa_G", " 100,000");
    expectField("LC_Ser_G", " 100,000");
    EXPECT_EQ(form.at("LC_C_L").unitText(), "nH");
    EXPECT_EQ(form.at("LC_C_R").unitText(), "mOhm");
    expectMode(2);
    expectMarking(true);
    for (const char* result : {"LC_Pa_R", "LC_L_Pa_R", "LC_Ser_B", "LC_Pa_G", "LC_Ser_G"}) {
        EXPECT_TRUE(form.at(result).readOnly) << result;
    }
    // The factory results are those of the factory inputs.
    enter("LC_E_Q", "100");
    expectQuiet();
    expectField("LC_E_R", " 159,155", "LC_C_R", 9);
    expectPair("LC_Pa_R", " 1,592", " kOhm");
    expectPair("LC_Ser_R", " 159,155", " mOhm");
    expectPair("LC_Pa_B", " 100,000", " kHz");
}

// C = 1 nF, f = 1 MHz with the inductance computed; then Q = 100.
TEST_P(LcTab, WorkedExample) {
    enter("LC_E_C", "1");
    enter("LC_E_F", "1");
    expectQuiet();
    expectField("LC_E_L", " 25,330", "LC_C_L", 10);
    // The loss figures of a first start no longer agree: Rs follows Q (100),
    // Rp, the circuit quality and the bandwidth follow R (159,155 mOhm).
    expectPair("LC_Pa_R", " 159,155", " kOhm");
    expectField("LC_Pa_G", " 1000,000");
    expectField("LC_Ser_G", " 1000,000");
    expectPair("LC_Ser_R", " 1,592", " Ohm");
    expectPair("LC_Pa_B", " 1,000", " kHz");
    expectPair("LC_Ser_B", " 1,000", " kHz");

    enter("LC_E_Q", "100");
    expectQuiet();
    expectField("LC_E_Q", " 100,000");
    expectField("LC_E_R", " 1,592", "LC_C_R", 8);
    expectPair("LC_Pa_R", " 15,915", " kOhm");
    expectField("LC_Pa_G", " 100,000");
    expectField("LC_Ser_G", " 100,000");
    expectPair("LC_Ser_R", " 1,592", " Ohm");
    expectPair("LC_Pa_B", " 10,000", " kHz");
    expectPair("LC_Ser_B", " 10,000", " kHz");
    expectField("LC_E_F", " 1,000", "LC_C_F", 6);
    expectField("LC_E_C", " 1,000", "LC_C_C", 11);
}

TEST_P(LcTab, WorkedExampleWithFewerDecimals) {
    struct Places {
        const char* radio;
        std::vector<std::string> texts;  // L, R, Rp, quality, Rs, B
    };
    const Places places[] = {
        {"RadioButton1", {" 25,3", " 1,6", " 15,9", " 100,0", " 1,6", " 10,0"}},
        {"RadioButtonohne", {" 25", " 2", " 16", " 100", " 2", " 10"}},
    };
    for (const Places& p : places) {
        ApplyFactoryDefaults(form);
        form.click(p.radio);
        enter("LC_E_C", "1");
        enter("LC_E_F", "1");
        enter("LC_E_Q", "100");
        expectQuiet();
        SCOPED_TRACE(p.radio);
        expectField("LC_E_L", p.texts[0], "LC_C_L", 10);
        expectField("LC_E_R", p.texts[1], "LC_C_R", 8);
        expectPair("LC_Pa_R", p.texts[2], " kOhm");
        expectField("LC_Pa_G", p.texts[3]);
        expectField("LC_Ser_G", p.texts[3]);
        expectPair("LC_Ser_R", p.texts[4], " Ohm");
        expectPair("LC_Pa_B", p.texts[5], " kHz");
        expectPair("LC_Ser_B", p.texts[5], " kHz");
    }
}

// R gives Q = ωL / R, written plain: 1000 is not ranged to "1,000 k".
TEST_P(LcTab, LossResistanceGivesThePlainQuality) {
    enter("LC_E_C", "1");
    enter("LC_E_F", "1");  // L = 25,330 µH
    enter("LC_E_R", "159,15308");
    expectQuiet();
    expectField("LC_E_Q", " 1000,000");
    expectField("LC_E_R", " 159,153", "LC_C_R", 9);
    expectPair("LC_Ser_R", " 159,153", " mOhm");  // Rs is R again
    expectField("LC_Pa_G", " 1000,000");
    expectPair("LC_Pa_R", " 159,155", " kOhm");
    expectPair("LC_Ser_B", " 1,000", " kHz");
}

TEST_P(LcTab, ModeClicksOnlyChooseWhatIsComputed) {
    enter("LC_E_C", "1");
    enter("LC_E_F", "1");
    const auto before = shown();
    for (const auto& [radio, mode] :
         std::vector<std::pair<std::string, int>>{{"LC_RB_F", 1}, {"LC_RB_C", 3}, {"LC_RB_L", 2}}) {
        form.click(radio);
        expectMode(mode);
        EXPECT_EQ(shown(), before) << radio;
    }
    expectQuiet();

    // Each mode computes its quantity from the other two.
    form.click("LC_RB_F");
    enter("LC_E_L", "100");  // µH, with 1 nF
    expectField("LC_E_F", " 503,292", "LC_C_F", 7);
    form.click("LC_RB_C");
    enter("LC_E_F", "1");  // kHz now
    expectField("LC_E_C", " 253,303", "LC_C_C", 10);
    enter("LC_E_L", "1");  // 1 µH at 1 kHz
    expectField("LC_E_C", " 25,330", "LC_C_C", 9);
    expectQuiet();
}

TEST_P(LcTab, LeadingLossFigureIsMarkedByMouseClickOnly) {
    form.click("LC_E_R");
    expectMarking(false);
    form.click("LC_E_Q");
    expectMarking(true);
    // The keyboard reaches R and its unit, types and computes: no change.
    form.enter("LC_E_R");
    enter("LC_E_R", "200");
    form.leave("LC_E_R");
    form.enter("LC_C_R");
    expectMarking(true);
    // A unit picked in the R selector marks R.
    form.chooseItem("LC_C_R", 8);
    expectMarking(false);
    expectQuiet();
    // Nothing reads the marking: the same entry gives the same results.
    enter("LC_E_Q", "50");
    const auto withR = shown();
    form.click("LC_E_Q");
    enter("LC_E_Q", "50");
    EXPECT_EQ(shown(), withR);
}

TEST_P(LcTab, ReformatLeavesTheResultsAsWritten) {
    enter("LC_E_C", "1");
    enter("LC_E_F", "1");
    const auto before = shown();
    const std::vector<std::string> results(before.begin() + 5, before.begin() + 15);
    type("LC_E_Q", "12,34567");
    type("LC_E_R", "0,5");
    form.click("RadioButton1");
    expectField("LC_E_F", " 1,0", "LC_C_F", 6);
    expectField("LC_E_L", " 25,3", "LC_C_L", 10);
    expectField("LC_E_Q", " 12,3");
    expectField("LC_E_R", " 500,0", "LC_C_R", 10);
    const auto after = shown();
    EXPECT_EQ(std::vector<std::string>(after.begin() + 5, after.begin() + 15), results);
}

// A quality of 0 is within the field's range but leaves the loss resistance
// and the series resonance resistance without a finite value.
TEST_P(LcTab, ZeroQualityIsReported) {
    for (const char* zero : {"0", "0,000"}) {
        ApplyFactoryDefaults(form);
        sink = RecordingSink{};
        const auto before = shown();
        enter("LC_E_Q", zero);
        EXPECT_EQ(sink.general, std::vector<std::string>{kZeroQualityLoss});
        EXPECT_TRUE(sink.errors.empty());
        auto expected = before;
        expected[3] = local(zero);  // not reformatted
        EXPECT_EQ(shown(), expected);
    }

    // While Q shows 0, an f, L or C entry writes its quantity, Rp and the
    // circuit quality, then stops before Rs; Rs and B keep their texts.
    const auto check = [this](const char* edit, const char* text, const char* computed) {
        sink = RecordingSink{};
        const auto before = shown();
        enter(edit, text);
        EXPECT_EQ(sink.general, std::vector<std::string>{kZeroQualitySeries}) << edit;
        const auto after = shown();
        const auto written = std::find(kEdits.begin(), kEdits.end(), computed) - kEdits.begin();
        EXPECT_NE(after[static_cast<std::size_t>(written)],
                  before[static_cast<std::size_t>(written)])
            << edit;
        for (const char* changed : {"LC_Pa_R", "LC_Pa_G", "LC_Ser_G"}) {
            const auto at = std::find(kEdits.begin(), kEdits.end(), changed) - kEdits.begin();
            EXPECT_NE(after[static_cast<std::size_t>(at)], before[static_cast<std::size_t>(at)])
                << edit << " " << changed;
        }
        for (const char* kept : {"LC_Ser_R", "LC_L_Ser_R", "LC_Pa_B", "LC_Ser_B", "LC_E_Q"}) {
            const auto at = std::find(kEdits.begin(), kEdits.end(), kept) - kEdits.begin();
            EXPECT_EQ(after[static_cast<std::size_t>(at)], before[static_cast<std::size_t>(at)])
                << edit << " " << kept;
        }
        EXPECT_EQ(form.text(edit), local(text)) << "no reformat after the fault";
    };
    check("LC_E_F", "2", "LC_E_L");
    check("LC_E_C", "3", "LC_E_L");
    form.click("LC_RB_F");
    check("LC_E_L", "4", "LC_E_F");

    // A unit change stops the same way and keeps its new item, without the
    // focus move of a completed change.
    sink = RecordingSink{};
    choose("LC_C_C", 12);
    EXPECT_EQ(sink.general, std::vector<std::string>{kZeroQualitySeries});
    EXPECT_EQ(form.index("LC_C_C"), 12);
    EXPECT_TRUE(sink.focus.empty());

    // Entering R gives Q anew, and all is defined again.
    sink = RecordingSink{};
    enter("LC_E_R", "1");
    expectQuiet();
    EXPECT_NE(form.text("LC_E_Q"), local(" 0,000"));
    expectPair("LC_Ser_R", " 1,000", " mOhm");
}

// A field the computation reads holds no number, or a zero where it divides:
// the fields written before keep their texts, nothing after changes.
TEST_P(LcTab, UnreadableFieldsStopTheComputation) {
    type("LC_E_R", "abc");
    auto before = shown();
    enter("LC_E_F", "2");
    EXPECT_EQ(sink.general,
              std::vector<std::string>{"'abc' ist kein g\u00fcltiger Gleitkommawert."});
    auto after = shown();
    EXPECT_NE(after[1], before[1]);  // L was written
    after[1] = before[1];
    after[0] = before[0];
    after[kEdits.size() + 1] = before[kEdits.size() + 1];
    EXPECT_EQ(after, before);
    EXPECT_EQ(form.text("LC_E_F"), local("2"));

    ApplyFactoryDefaults(form);
    sink = RecordingSink{};
    type("LC_E_R", "0");
    enter("LC_E_Q", "50");  // R is computed, never read here
    expectQuiet();
    sink = RecordingSink{};
    type("LC_E_R", "0");
    enter("LC_E_C", "2");
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(sink.general[0],
              "Division durch Null: \u201eVerlustwiderstand Induktivit\u00e4t (R)\u201c "
              "(LC-Schwingkreis) ist 0.");

    // Without an inductance the loss figures have no reactance to refer to:
    // neither Q nor R is overwritten with a 0 that later entries would trip on.
    ApplyFactoryDefaults(form);
    form.click("LC_RB_F");
    type("LC_E_L", "0");
    for (const char* loss : {"LC_E_Q", "LC_E_R"}) {
        sink = RecordingSink{};
        before = shown();
        form.pressEnter(loss);
        EXPECT_EQ(sink.general,
                  std::vector<std::string>{"Ung\u00fcltige Gleitkommaoperation: "
                                           "\u201eInduktivit\u00e4t (L)\u201c (LC-Schwingkreis) "
                                           "ist 0."})
            << loss;
        EXPECT_EQ(shown(), before) << loss;
    }
}

TEST_P(LcTab, EntriesOutsideTheirLimitsAreRefused) {
    const auto before = shown();
    const std::string CR = "\r";
    enter("LC_E_Q", "100001");
    enter("LC_E_Q", "-1");
    enter("LC_E_R", "2000");  // mOhm: 2 Ohm is fine
    enter("LC_E_R", "1e10");
    ASSERT_EQ(sink.errors.size(), 3u);
    EXPECT_EQ(sink.errors[0], "Die Eingabe100001  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:0 bis 100000");
    EXPECT_EQ(sink.errors[1], "Die Eingabe-1  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:0 bis 100000");
    EXPECT_EQ(sink.errors[2], "Die Eingabe1e10 Ohm  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-6 bis 1e6 Ohm");
    enter("LC_E_Q", "100000");  // the upper limit itself
    EXPECT_EQ(sink.errors.size(), 3u);
    expectField("LC_E_Q", " 100000,000");
    EXPECT_NE(shown(), before);
}

// Results beyond what the fields accept are shown as computed, down to "y".
TEST_P(LcTab, ResultsBeyondTheInputLimitsAreShownAsComputed) {
    choose("LC_C_C", 7);  // 1 kF
    enter("LC_E_F", "100");
    choose("LC_C_F", 4);  // 100 THz: L = 2,5e-39 H
    expectQuiet();
    expectField("LC_E_L", " 0,000", "LC_C_L", 16);  // 2,5e-33 H
    expectPair("LC_Pa_R", " 0,000", " yOhm");       // 1,6e-35 Ohm
    expectPair("LC_Ser_R", " 15,915", " zOhm");
    expectPair("LC_Pa_B", " 10000003,576", " YHz");  // 1e31 Hz
    expectField("LC_Pa_G", " 0,000");
}

// Random circuits: f → L with C, then the shown L gives f back; every result
// agrees with the shown inputs to the last digit shown.
TEST_P(LcTab, FrequencyToInductanceAndBack) {
    std::mt19937 random(3200 + sep());
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto logRandom = [&](double lo, double hi) {
        return lo * std::pow(hi / lo, unit(random));
    };
    const auto typeValue = [this](const char* edit, const char* selector, double v) {
        form.setIndex(selector, PrefixIndexOf(v));
        char text[40];
        std::snprintf(text, sizeof text, "%.3f", PrefixMantissa(v));
        std::string commaText(text);
        std::replace(commaText.begin(), commaText.end(), '.', ',');
        type(edit, commaText);
    };
    const auto withinLastDigit = [this](const char* edit, const char* selector, long double v) {
        const int index = form.index(selector);
        ASSERT_GE(index, 0);
        ASSERT_LE(index, 16);
        EXPECT_LE(std::fabs(shownValue(edit, selector) - v), 0.5001L * 1e-3L * PrefixFactor(index))
            << edit << " shows " << form.text(edit) << " for " << static_cast<double>(v);
    };
    const auto resultValue = [this](const char* edit, const char* unitEdit) {
        const std::string u = form.text(unitEdit);
        const std::string prefix = u.substr(0, u.size() - (u.back() == 'z' ? 2 : 3));
        int index = 8;
        for (int i = 0; i < kPrefixCount; ++i) {
            if (PrefixTextOfIndex(i) == prefix) index = i;
        }
        return std::pair{*parseNumber(form.text(edit), sep()) * PrefixFactor(index),
                         PrefixFactor(index)};
    };
    for (int i = 0; i < 150; ++i) {
        form.click("LC_RB_L");
        typeValue("LC_E_C", "LC_C_C", logRandom(1e-12, 1e-6));
        type("LC_E_Q", "123,456");
        typeValue("LC_E_R", "LC_C_R", logRandom(1e-3, 1e3));
        typeValue("LC_E_F", "LC_C_F", logRandom(1e2, 1e8));
        const long double f = shownValue("LC_E_F", "LC_C_F");
        const long double c = shownValue("LC_E_C", "LC_C_C");
        const long double r = shownValue("LC_E_R", "LC_C_R");
        form.pressEnter("LC_E_F");
        ASSERT_TRUE(sink.errors.empty()) << sink.errors.front();
        ASSERT_TRUE(sink.general.empty()) << sink.general.front();

        const long double w = kTwoPi * f;
        const long double l = 1.0L / (w * w * c);
        withinLastDigit("LC_E_L", "LC_C_L", l);
        const long double expected[] = {l / (c * r), r / (kTwoPi * l), w * l / 123.456L};
        const char* const pairs[][2] = {
            {"LC_Pa_R", "LC_L_Pa_R"}, {"LC_Pa_B", "LC_L_Pa_B"}, {"LC_Ser_R", "LC_L_Ser_R"}};
        for (int k = 0; k < 3; ++k) {
            const auto [value, factor] = resultValue(pairs[k][0], pairs[k][1]);
            EXPECT_LE(std::fabs(value - expected[k]), 0.5001L * 1e-3L * factor)
                << pairs[k][0] << " shows " << form.text(pairs[k][0]);
        }
        EXPECT_EQ(form.text("LC_Ser_B"), form.text("LC_Pa_B"));
        EXPECT_EQ(form.text("LC_Pa_G"), form.text("LC_Ser_G"));
        const long double qk = w * l / r;
        EXPECT_LE(std::fabs(*parseNumber(form.text("LC_Pa_G"), sep()) - qk),
                  std::fmax(0.5001e-3L, 1e-15L * qk));

        // Back: the inductance as shown gives the frequency within its rounding
        // (L to 5e-4 of its mantissa, f ∝ 1 / sqrt(L)).
        form.click("LC_RB_F");
        form.pressEnter("LC_E_L");
        ASSERT_TRUE(sink.general.empty()) << sink.general.front();
        const long double back = shownValue("LC_E_F", "LC_C_F");
        EXPECT_TRUE(near(back, f, 3e-4L + 5e-4L / (f / PrefixFactor(PrefixIndexOf(f)))))
            << form.text("LC_E_F") << " for " << static_cast<double>(f);
    }
}

TEST_P(LcTab, SettingsRoundTrip) {
    form.click("LC_RB_C");
    enter("LC_E_L", "4,7");
    enter("LC_E_Q", "80");
    form.click("LC_E_R");
    type("LC_E_F", "14,2");  // typed only: stored as it stands
    IniFile ini;
    StoreSettings(form, ini);
    const std::string section = "LC-Schwingkreis";
    EXPECT_EQ(ini.read(section, "F-L-C"), "3");
    EXPECT_EQ(ini.read(section, "Frequenz"), local("14,2"));
    EXPECT_EQ(ini.read(section, "Schrift_G\u00fcte_L"), "clMedGray");
    EXPECT_EQ(ini.read(section, "Schrift_VerlustR_L"), "clWindowText");
    EXPECT_EQ(ini.read(section, "Schrift_Einheit_VerlustR_L"), "clWindowText");
    EXPECT_EQ(ini.read(section, "Resonanz-R_Reihe_Einheit"), "mOhm");  // the reader trims

    Form again{sep()};
    BuildModel(again);
    RecordingSink quiet;
    again.setSink(&quiet);
    LoadSettings(again, ini);
    EXPECT_EQ(again.state.LCMode, 3);
    EXPECT_TRUE(again.checked("LC_RB_C"));
    EXPECT_FALSE(again.at("LC_E_C").enabled);
    EXPECT_TRUE(again.at("LC_E_F").enabled);
    // The restored three places reformat the inputs: the frequency left
    // without Enter comes back formatted; all else exactly as stored.
    EXPECT_EQ(again.text("LC_E_F"), local(" 14,200"));
    for (std::size_t i = 1; i < kEdits.size(); ++i)
        EXPECT_EQ(again.text(kEdits[i]), form.text(kEdits[i])) << kEdits[i];
    for (const auto& s : kSelectors) EXPECT_EQ(again.index(s), form.index(s)) << s;
    for (const char* c : {"LC_E_Q", "LC_E_R", "LC_C_R"})
        EXPECT_EQ(again.at(c).fontColour, form.at(c).fontColour) << c;
}

TEST(LcSettings, KeysInFileOrderAndDefaultsOfMissingKeys) {
    Form form(',');
    BuildModel(form);
    ApplyFactoryDefaults(form);
    IniFile ini;
    StoreSettings(form, ini);
    const std::string file = ini.serialize();
    const std::string expected =
        "[LC-Schwingkreis]\r\nF-L-C=2\r\nFrequenz= 10,000\r\nFrequenz-Einheit=6\r\n"
        "Induktivit\u00e4t= 253,303\r\nInduktivit\u00e4t-Einheit=11\r\n"
        "Kapazit\u00e4t= 1,000\r\nKapazit\u00e4t-Einheit=11\r\nG\u00fcte_L= 100,000\r\n"
        "Verlust_R_L= 159,155\r\nVerlust_R_L_Einheit=9\r\n"
        "Schrift_G\u00fcte_L=clWindowText\r\nSchrift_VerlustR_L=clMedGray\r\n"
        "Schrift_Einheit_VerlustR_L=clMedGray\r\n"
        "Resonanz-R_Parallel= 1,592\r\nResonanz-R_Parallel_Einheit= kOhm\r\n"
        "Resonanz-R_Reihe= 159,155\r\nResonanz-R_Reihe_Einheit= mOhm\r\n"
        "Bandbreite_Parallel= 100,000\r\nBandbreite_Parallel_Einheit= kHz\r\n"
        "Bandbreite_Reihe= 100,000\r\nBandbreite_Reihe_Einheit= kHz\r\n"
        "Kreisg\u00fcte_Parallel= 100,000\r\nKreisg\u00fcte_Reihe= 100,000\r\n[";
    EXPECT_NE(file.find(cp1252FromUtf8(expected)), std::string::npos) << file;

    // An empty section: the defaults it has always had, with the running
    // separator; mode 2 with its radio button and enabled states.
    Form dotted('.');
    BuildModel(dotted);
    LoadSettings(dotted, IniFile::parse("[LC-Schwingkreis]\r\n"));
    EXPECT_EQ(dotted.state.LCMode, 2);
    EXPECT_TRUE(dotted.checked("LC_RB_L"));
    EXPECT_FALSE(dotted.at("LC_E_L").enabled);
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"LC_E_F", " 10.000"},     {"LC_E_L", " 253.303"},    {"LC_E_C", " 1.000"},
        {"LC_E_Q", " 100.000"},    {"LC_E_R", " 300.000"},    {"LC_Pa_R", " 1.592"},
        {"LC_L_Pa_R", " KOhm"},    {"LC_Ser_R", " 159.155"},  {"LC_L_Ser_R", " Ohm"},
        {"LC_Pa_B", " 100.000"},   {"LC_L_Pa_B", " KHertz"},  {"LC_Ser_B", " 682.330"},
        {"LC_L_Ser_B", " KHertz"}, {"LC_Pa_G", " 25330.290"}, {"LC_Ser_G", " 100.000"}};
    for (const auto& [edit, text] : texts) EXPECT_EQ(dotted.text(edit), text) << edit;
    EXPECT_EQ(dotted.index("LC_C_F"), 6);
    EXPECT_EQ(dotted.index("LC_C_R"), 9);
    EXPECT_EQ(dotted.at("LC_E_Q").fontColour, colour::kWindowText);
    EXPECT_EQ(dotted.at("LC_C_R").fontColour, colour::kMedGray);

    // "F-L-C" outside 1..3 is kept, and no mode button is checked.
    Form odd(',');
    BuildModel(odd);
    LoadSettings(odd, IniFile::parse("[LC-Schwingkreis]\r\nF-L-C=7\r\n"));
    EXPECT_EQ(odd.state.LCMode, 7);
    EXPECT_FALSE(odd.checked("LC_RB_F") || odd.checked("LC_RB_L") || odd.checked("LC_RB_C"));
}
