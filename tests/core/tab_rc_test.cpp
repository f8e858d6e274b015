// The "RC-Glieder" tab: the formulas against the networks' own transfer
// functions, then the tab driven through the user's actions on the whole
// window model with both decimal separators, and its settings section.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "calc/constants.h"
#include "calc/tab_rc.h"
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

// Output of a Wien network (R + 1/jωC in series, R ∥ C to ground), unloaded.
Complex wienTransfer(long double w, long double r, long double c) {
    const Complex series = Complex(r) + 1.0L / Complex(0, w * c);
    const Complex parallel = Complex(r) / Complex(1, w * r * c);
    return parallel / (series + parallel);
}

// Output of a twin-T (R – R with c2 to ground, C – C with r2 to ground),
// unloaded, from the node equations with the input at 1 V.
Complex twinTTransfer(long double w, long double r, long double c, long double r2, long double c2) {
    const Complex jwc(0, w * c);
    // Node of the resistors: (1 + Uo) / (2 + jωRC2); node of the
    // capacitors: jωC (1 + Uo) / (2jωC + 1/R2); the output sums both.
    const Complex k = 1.0L / (Complex(r) * (2.0L + Complex(0, w * r * c2))) +
                      jwc * jwc / (2.0L * jwc + 1.0L / r2);
    return k / (1.0L / r + jwc - k);
}

}  // namespace

// ---- the physics ------------------------------------------------------------

TEST(RcPhysics, TextbookValues) {
    // 1 kΩ and 1 µF: τ = 1 ms, corner at 159,155 Hz.
    EXPECT_NEAR(static_cast<double>(rcFrequency(1e3L, 1e-6L)), 159.15494309189535, 1e-12);
    EXPECT_NEAR(static_cast<double>(rcTimeConstant(1e3L, 1e-6L)), 1e-3, 1e-18);
    EXPECT_NEAR(static_cast<double>(rcFrequencyOfTimeConstant(1e-3L)), 159.15494309189535, 1e-12);
    // 1 kHz with 100 nF wants 1591,55 Ω; with 10 kΩ 15,9155 nF.
    EXPECT_NEAR(static_cast<double>(rcResistance(1e3L, 100e-9L)), 1591.5494309189535, 1e-9);
    EXPECT_NEAR(static_cast<double>(rcCapacitance(1e3L, 10e3L)), 15.915494309189535e-9, 1e-21);
    EXPECT_EQ(twinTShuntResistor(1591.5L), 795.75L);
    EXPECT_EQ(twinTShuntCapacitor(100e-9L), 200e-9L);
}

TEST(RcPhysics, EachQuantityFollowsFromTheOtherTwo) {
    for (const long double r : {1e-5L, 0.47L, 1e3L, 2.2e6L, 1e12L}) {
        for (const long double c : {1e-24L, 3.3e-12L, 1e-6L, 1e3L}) {
            const long double f = rcFrequency(r, c);
            EXPECT_TRUE(near(rcResistance(f, c), r, 1e-17L));
            EXPECT_TRUE(near(rcCapacitance(f, r), c, 1e-17L));
            EXPECT_TRUE(near(rcFrequencyOfTimeConstant(rcTimeConstant(r, c)), f, 1e-17L));
            EXPECT_TRUE(near(f * kTwoPi * r * c, 1.0L, 1e-17L));
        }
    }
}

// The corner of the section: the output is down by √2 and 45° behind.
TEST(RcPhysics, SectionCornerIsTheMinusThreeDecibelPoint) {
    const long double r = 4.7e3L, c = 22e-9L;
    const long double w = kTwoPi * rcCircuitFrequency(RcCircuit::Section, r, c);
    const Complex h = 1.0L / Complex(1, w * r * c);
    EXPECT_NEAR(static_cast<double>(std::abs(h)), 1 / std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(static_cast<double>(std::arg(h)), -M_PI / 4, 1e-15);
}

// At its centre the Wien network passes a third, in phase; elsewhere less.
TEST(RcPhysics, WienBridgeCentre) {
    const long double r = 10e3L, c = 15.9e-9L;
    const long double w = kTwoPi * rcCircuitFrequency(RcCircuit::WienBridge, r, c);
    const Complex h = wienTransfer(w, r, c);
    EXPECT_NEAR(static_cast<double>(h.real()), 1.0 / 3.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.imag()), 0.0, 1e-15);
    EXPECT_LT(std::abs(wienTransfer(w * 1.1L, r, c)), 1.0L / 3.0L);
    EXPECT_LT(std::abs(wienTransfer(w / 1.1L, r, c)), 1.0L / 3.0L);
}

// With R1 / 2 and 2·C1 in its shunt arms, the twin-T has its notch at the
// frequency of R1 and C1, and passes nearly all far from it.
TEST(RcPhysics, TwinTNotch) {
    const long double r = 1591.55L, c = 100e-9L;
    const long double r2 = twinTShuntResistor(r), c2 = twinTShuntCapacitor(c);
    const long double w = kTwoPi * rcCircuitFrequency(RcCircuit::TwinT, r, c);
    EXPECT_LT(std::abs(twinTTransfer(w, r, c, r2, c2)), 1e-15L);
    EXPECT_GT(std::abs(twinTTransfer(w * 1.05L, r, c, r2, c2)), 0.01L);
    EXPECT_GT(std::abs(twinTTransfer(w * 1000, r, c, r2, c2)), 0.99L);
    EXPECT_GT(std::abs(twinTTransfer(w / 1000, r, c, r2, c2)), 0.99L);
    // Other shunt arms move or fill the notch.
    EXPECT_GT(std::abs(twinTTransfer(w, r, c, r, c2)), 0.05L);
}

TEST(RcPhysics, ZeroHasNoFrequency) {
    EXPECT_THROW(rcFrequency(0.0L, 1e-9L), ArithmeticError);
    EXPECT_THROW(rcResistance(1e3L, 0.0L), ArithmeticError);
    EXPECT_THROW(rcCapacitance(0.0L, 50.0L), ArithmeticError);
    EXPECT_THROW(rcFrequencyOfTimeConstant(0.0L), ArithmeticError);
}

// ---- the tab ----------------------------------------------------------------

namespace {

const std::vector<std::string> kEdits = {"RC_E_F",  "RC_E_s",  "RC_E_R1",
                                         "RC_E_R2", "RC_E_C1", "RC_E_C2"};
const std::vector<std::string> kSelectors = {"RC_C_F",  "RC_C_s",  "RC_C_R1",
                                             "RC_C_R2", "RC_C_C1", "RC_C_C2"};
const std::string kSix = "      ";

// Starts as a first start does.
class RcTab : public WindowModelTest {
protected:
    void SetUp() override {
        BuildModel(form);
        ApplyFactoryDefaults(form);
        form.setSink(&sink);
    }

    std::vector<std::string> shown() const { return snapshot(kEdits, kSelectors); }
    // The same as a computation reads it: held as a double.
    double readValue(const std::string& edit, const std::string& selector) const {
        return static_cast<double>(shownValue(edit, selector));
    }
    // What full ranging of v shows, at three places.
    void expectRanged(const std::string& edit, const std::string& selector, double v) const {
        EXPECT_EQ(form.text(edit), " " + formatFixed(PrefixMantissa(v), 3, sep())) << edit;
        EXPECT_EQ(form.index(selector), PrefixIndexOf(v)) << selector;
    }
    void expectQuiet() const {
        EXPECT_TRUE(sink.errors.empty()) << sink.errors.front();
        EXPECT_TRUE(sink.general.empty()) << sink.general.front();
    }
    bool enabled(const std::string& name) const { return form.at(name).enabled; }
    // Edit and selector enabled alike, as one answer.
    bool fieldEnabled(std::size_t i) const {
        EXPECT_EQ(enabled(kEdits[i]), enabled(kSelectors[i])) << kEdits[i];
        return enabled(kEdits[i]);
    }
    std::vector<bool> fieldsEnabled() const {
        std::vector<bool> e;
        for (std::size_t i = 0; i < kEdits.size(); ++i) e.push_back(fieldEnabled(i));
        return e;
    }
    void expectShuntArmsBlank() const {
        for (const char* name : {"RC_E_R2", "RC_E_C2", "RC_C_R2", "RC_C_C2", "Label33", "Label35"})
            EXPECT_FALSE(enabled(name)) << name;
        EXPECT_EQ(form.text("RC_E_R2"), kSix);
        EXPECT_EQ(form.text("RC_E_C2"), kSix);
        EXPECT_EQ(form.index("RC_C_R2"), -1);
        EXPECT_EQ(form.index("RC_C_C2"), -1);
    }
    // The worked example: 100 nF, then 1 kHz with R computed.
    void workedExample() {
        enter("RC_E_C1", "100");
        enter("RC_E_F", "1");
        expectQuiet();
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, RcTab, ::testing::Values(',', '.'));

TEST_P(RcTab, FirstStartShowsTheSectionWithResistanceComputed) {
    expectField("RC_E_F", " 100,000", "RC_C_F", 7);
    expectField("RC_E_s", " 1,590", "RC_C_s", 10);
    expectField("RC_E_R1", " 99,972", "RC_C_R1", 8);
    expectField("RC_E_C1", " 15,920", "RC_C_C1", 11);
    expectShuntArmsBlank();
    EXPECT_EQ(form.state.RCCircuit, 1);
    EXPECT_EQ(form.state.RCMode, 2);
    EXPECT_TRUE(form.checked("RC_RB_RC"));
    EXPECT_TRUE(form.checked("RC_RB_R"));
    EXPECT_EQ(fieldsEnabled(), (std::vector<bool>{true, true, false, false, true, false}));
    EXPECT_EQ(form.text("Label30"), "Grenzfrequenz");
    EXPECT_TRUE(form.at("Image1").visible);
    EXPECT_FALSE(form.at("Image32").visible);
    EXPECT_FALSE(form.at("Image31").visible);
    EXPECT_EQ(form.at("RC_C_F").unitText(), "kHz");
    EXPECT_EQ(form.at("RC_C_s").unitText(), "\u00b5sec");
}

// 1 kHz with 100 nF: R1 = 1591,55 Ω, τ = 159,155 µs; the twin-T then shows
// half of R1 as displayed and twice C1, and nothing else moves.
TEST_P(RcTab, WorkedExampleAndTheTwinT) {
    enter("RC_E_C1", "100");
    // A resistance from an unchanged frequency leaves τ alone.
    expectField("RC_E_R1", " 15,915", "RC_C_R1", 8);
    expectField("RC_E_s", " 1,590", "RC_C_s", 10);
    enter("RC_E_F", "1");
    expectQuiet();
    expectField("RC_E_F", " 1,000", "RC_C_F", 7);
    expectField("RC_E_R1", " 1,592", "RC_C_R1", 7);
    expectField("RC_E_s", " 159,155", "RC_C_s", 10);
    expectField("RC_E_C1", " 100,000", "RC_C_C1", 11);

    const auto before = shown();
    form.click("RC_RB_Doppel");
    expectQuiet();
    expectField("RC_E_R2", " 796,000", "RC_C_R2", 8);
    expectField("RC_E_C2", " 200,000", "RC_C_C2", 11);
    for (std::size_t i : {0u, 1u, 2u, 4u}) {
        EXPECT_EQ(form.text(kEdits[i]), before[i]) << kEdits[i];
        EXPECT_EQ(std::to_string(form.index(kSelectors[i])), before[6 + i]) << kSelectors[i];
    }
    EXPECT_EQ(form.text("Label30"), "Mittenfrequenz");
    EXPECT_TRUE(form.at("Image31").visible);
    EXPECT_FALSE(form.at("Image1").visible);
    EXPECT_TRUE(enabled("Label33"));
    EXPECT_TRUE(enabled("Label35"));
    // Mode R in the twin-T: R1 and R2 are computed, C2 can be typed.
    EXPECT_EQ(fieldsEnabled(), (std::vector<bool>{true, true, false, false, true, true}));
    EXPECT_EQ(form.state.RCCircuit, 3);

    // C1 = 50 nF: R1 from the unchanged frequency, R2 half the new R1
    // (unrounded), C2 twice C1; τ stays.
    enter("RC_E_C1", "50");
    expectQuiet();
    expectField("RC_E_R1", " 3,183", "RC_C_R1", 7);
    expectField("RC_E_R2", " 1,592", "RC_C_R2", 7);
    expectField("RC_E_C2", " 100,000", "RC_C_C2", 11);
    expectField("RC_E_s", " 159,155", "RC_C_s", 10);
    expectField("RC_E_F", " 1,000", "RC_C_F", 7);
}

TEST_P(RcTab, SwitchingCircuitsBlanksAndRestoresTheShuntArms) {
    workedExample();
    form.click("RC_RB_Doppel");
    enter("RC_E_C1", "50");
    form.click("RC_RB_Wien");
    expectQuiet();
    expectShuntArmsBlank();
    EXPECT_EQ(form.text("Label30"), "Mittenfrequenz");
    EXPECT_TRUE(form.at("Image32").visible);
    EXPECT_FALSE(form.at("Image31").visible);
    EXPECT_EQ(form.state.RCCircuit, 2);
    form.click("RC_RB_RC");
    expectShuntArmsBlank();
    EXPECT_EQ(form.text("Label30"), "Grenzfrequenz");
    EXPECT_EQ(form.state.RCCircuit, 1);

    // Back to the twin-T: from R1 and C1 as they are shown now.
    const auto before = shown();
    form.click("RC_RB_Doppel");
    expectQuiet();
    expectRanged("RC_E_R2", "RC_C_R2", static_cast<double>(shownValue("RC_E_R1", "RC_C_R1") / 2));
    expectField("RC_E_C2", " 100,000", "RC_C_C2", 11);
    for (std::size_t i : {0u, 1u, 2u, 4u}) EXPECT_EQ(form.text(kEdits[i]), before[i]);

    // Outside the twin-T the reformat leaves the blank fields alone.
    form.click("RC_RB_RC");
    form.click("RadioButton1");
    expectQuiet();
    expectShuntArmsBlank();
    expectField("RC_E_R1", " 3,2", "RC_C_R1", 7);
}

// R2 = 1 kΩ sets R1 = 2 kΩ before anything else: a frequency of 0 stops the
// computation after it.
TEST_P(RcTab, ShuntResistorSetsR1First) {
    workedExample();
    form.click("RC_RB_Doppel");
    form.click("RC_RB_C");
    EXPECT_EQ(fieldsEnabled(), (std::vector<bool>{true, true, true, true, false, false}));
    choose("RC_C_R2", 7);  // 796 kOhm: C from the new R1
    sink = RecordingSink{};
    enter("RC_E_R2", "1");
    expectQuiet();
    expectField("RC_E_R1", " 2,000", "RC_C_R1", 7);
    expectField("RC_E_R2", " 1,000", "RC_C_R2", 7);
    expectRanged("RC_E_C1", "RC_C_C1", 1.0 / (2000.0L * kTwoPi * 1000.0L));  // 79,577 nF
    expectRanged("RC_E_C2", "RC_C_C2", 2.0L / (2000.0L * kTwoPi * 1000.0L));
    expectField("RC_E_s", " 159,155", "RC_C_s", 10);

    type("RC_E_F", "0");
    const auto before = shown();
    enter("RC_E_R2", "1,5");
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(sink.general[0],
              "Division durch Null: \u201eMittenfrequenz\u201c (RC-Glieder) ist 0.");
    auto expected = before;
    expected[2] = local(" 3,000");
    expected[3] = local("1,5");  // no reformat after the fault
    EXPECT_EQ(shown(), expected);

    // With the frequency computed: R2 gives R1, then f and τ; C1, C2 stay.
    sink = RecordingSink{};
    enter("RC_E_F", "1");
    form.click("RC_RB_Fs");
    EXPECT_EQ(fieldsEnabled(), (std::vector<bool>{false, false, true, true, true, true}));
    const double c1 = readValue("RC_E_C1", "RC_C_C1");
    const std::string c2 = form.text("RC_E_C2");
    enter("RC_E_R2", "0,5");
    expectQuiet();
    expectField("RC_E_R1", " 1,000", "RC_C_R1", 7);
    expectRanged("RC_E_F", "RC_C_F", static_cast<double>(1 / (1000.0L * kTwoPi * c1)));
    expectRanged("RC_E_s", "RC_C_s", static_cast<double>(1000.0L * c1));
    EXPECT_EQ(form.text("RC_E_C2"), c2);
}

// C2 halves into C1 before anything else; with R computed R1 and R2 follow.
TEST_P(RcTab, ShuntCapacitorSetsC1First) {
    workedExample();
    form.click("RC_RB_Doppel");
    sink = RecordingSink{};
    enter("RC_E_C2", "400");
    expectQuiet();
    expectField("RC_E_C1", " 200,000", "RC_C_C1", 11);
    const double c1 = 200e-9;
    const double r1 = static_cast<double>(1 / (c1 * kTwoPi * 1000.0L));  // 795,775 Ohm
    expectRanged("RC_E_R1", "RC_C_R1", r1);
    expectRanged("RC_E_R2", "RC_C_R2", r1 / 2);
    expectField("RC_E_s", " 159,155", "RC_C_s", 10);
}

TEST_P(RcTab, EachEntryWritesWhatItsModeComputes) {
    // Mode C: the frequency gives C1, and τ from R1 and the new C1.
    form.click("RC_RB_C");
    enter("RC_E_R1", "1000");
    expectField("RC_E_R1", " 1,000", "RC_C_R1", 7);
    expectRanged("RC_E_C1", "RC_C_C1", 1 / (1000.0L * kTwoPi * 100e3L));
    expectField("RC_E_s", " 1,590", "RC_C_s", 10);  // f unchanged: τ stays
    enter("RC_E_F", "10");
    const long double c = 1 / (1000.0L * kTwoPi * 10e3L);
    expectRanged("RC_E_C1", "RC_C_C1", static_cast<double>(c));
    expectRanged("RC_E_s", "RC_C_s", static_cast<double>(1000.0L * static_cast<double>(c)));
    // τ gives f and, in mode C, C1 from the unrounded f.
    enter("RC_E_s", "1");  // µs
    expectQuiet();
    const double f = static_cast<double>(1 / (static_cast<double>(1e-6L) * kTwoPi));
    expectRanged("RC_E_F", "RC_C_F", f);
    // 999,99999… pF, moved up to nF by the reformat after the computation.
    expectField("RC_E_C1", " 1,000", "RC_C_C1", 11);
    EXPECT_LT(1 / (1000.0L * kTwoPi * f), 1e-9L);
    expectField("RC_E_s", " 1,000", "RC_C_s", 10);

    // Mode F / s: R1 and C1 give f and τ.
    form.click("RC_RB_Fs");
    enter("RC_E_C1", "1");  // nF
    expectRanged("RC_E_F", "RC_C_F", static_cast<double>(1 / (1000.0L * kTwoPi * 1e-9)));
    expectField("RC_E_s", " 1,000", "RC_C_s", 10);

    // A mode click computes nothing; only which fields can be typed changes.
    const auto before = shown();
    for (const char* mode : {"RC_RB_R", "RC_RB_C", "RC_RB_Fs"}) {
        form.click(mode);
        EXPECT_EQ(shown(), before) << mode;
    }
    // Outside the twin-T the mode leaves R2 and C2 disabled.
    expectShuntArmsBlank();
    expectQuiet();
}

TEST_P(RcTab, UnitChangeComputesAndMovesTheFocusBack) {
    choose("RC_C_C1", 10);  // 15,92 µF
    expectQuiet();
    EXPECT_EQ(sink.focus, std::vector<std::string>{"RC_C_C1"});
    const double c1 = static_cast<double>(15.92L * 1e-6L);
    expectRanged("RC_E_R1", "RC_C_R1", static_cast<double>(1 / (c1 * kTwoPi * 100e3L)));
    expectField("RC_E_C1", " 15,920", "RC_C_C1", 10);
}

TEST_P(RcTab, EntriesOutsideTheirLimitsAreRefused) {
    const std::string CR = "\r";
    const auto before = shown();
    enter("RC_E_F", "2e12");
    enter("RC_E_s", "2e12");
    enter("RC_E_C1", "0");
    ASSERT_EQ(sink.errors.size(), 3u);
    EXPECT_EQ(sink.errors[0], "Die Eingabe2e12 kHz  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-6 bis 1e+15 Hertz");
    EXPECT_EQ(sink.errors[1], "Die Eingabe2e12 \u00b5sec  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-15 bis 1e+6 Sekunden");
    EXPECT_EQ(sink.errors[2], "Die Eingabe0 nF  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-24 bis 1e+12 Farad");
    form.click("RC_RB_Fs");
    enter("RC_E_R1", "1e-6");
    ASSERT_EQ(sink.errors.size(), 4u);
    EXPECT_EQ(sink.errors[3], "Die Eingabe" + local("1e-6") + " Ohm  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-5 bis 1e12 Ohm");
    EXPECT_EQ(shown(), before);
}

// A twin-T click with R1 or C1 no number: the conversion error, and the tab is
// the twin-T all the same, only the shunt arm that cannot be computed is missing.
TEST_P(RcTab, TwinTClickWithATextThatIsNoNumber) {
    form.click("RC_RB_C");  // R1 can be typed
    type("RC_E_R1", "abc");
    form.click("RC_RB_Doppel");
    ASSERT_EQ(sink.general,
              std::vector<std::string>{"'abc' ist kein g\u00fcltiger Gleitkommawert."});
    EXPECT_EQ(form.state.RCCircuit, 3);
    EXPECT_TRUE(form.checked("RC_RB_Doppel"));
    EXPECT_TRUE(form.at("Image31").visible);
    EXPECT_EQ(form.text("Label30"), "Mittenfrequenz");
    EXPECT_TRUE(enabled("Label33"));
    EXPECT_TRUE(enabled("Label35"));
    EXPECT_EQ(fieldsEnabled(), (std::vector<bool>{true, true, true, true, false, false}));
    EXPECT_EQ(form.text("RC_E_R2"), kSix);
    EXPECT_EQ(form.text("RC_E_C2"), kSix);
    EXPECT_EQ(form.index("RC_C_R2"), -1);

    // R1 good, C1 no number: R2 is shown, C2 is not.
    form.click("RC_RB_RC");
    type("RC_E_R1", "100");
    form.click("RC_RB_Fs");
    type("RC_E_C1", "");
    sink = RecordingSink{};
    form.click("RC_RB_Doppel");
    ASSERT_EQ(sink.general, std::vector<std::string>{"'' ist kein g\u00fcltiger Gleitkommawert."});
    expectField("RC_E_R2", " 50,000", "RC_C_R2", 8);
    EXPECT_EQ(form.text("RC_E_C2"), kSix);
    EXPECT_EQ(fieldsEnabled(), (std::vector<bool>{false, false, true, true, true, true}));
}

TEST_P(RcTab, UndefinedResultsAreReportedAndChangeNothing) {
    struct Case {
        const char* mode;
        const char* edit;  // typed without Enter
        const char* text;
        int unit;
        const char* entered;
        const char* enteredText;
        std::string report;
        std::vector<std::size_t> writtenBefore;  // fields written before the fault
    };
    const std::vector<Case> cases = {
        {"RC_RB_R", "RC_E_C1", "0", 11, "RC_E_F", "1",
         "Division durch Null: \u201eKondensator C1\u201c (RC-Glieder) ist 0."},
        {"RC_RB_C",
         "RC_E_R1",
         "-0",
         8,
         "RC_E_s",
         "1",
         "Division durch Null: \u201eWiderstand R1\u201c (RC-Glieder) ist 0.",
         {0}},
        {"RC_RB_Fs", "RC_E_R1", "0", 8, "RC_E_C1", "1",
         "Division durch Null: \u201eWiderstand R1\u201c (RC-Glieder) ist 0."},
        {"RC_RB_R", "RC_E_F", "0,0", 7, "RC_E_C1", "1",
         "Division durch Null: \u201eGrenzfrequenz\u201c (RC-Glieder) ist 0."},
        // Beyond any double when read, or as a result.
        {"RC_RB_Fs", "RC_E_R1", "1e300", 4, "RC_E_C1", "1",
         "Gleitkomma\u00fcberlauf: \u201eWiderstand R1\u201c (RC-Glieder) ist zu gro\u00df."},
        {"RC_RB_R", "RC_E_C1", "1e-290", 16, "RC_E_F", "1e-3",
         "Gleitkomma\u00fcberlauf: \u201eWiderstand R1\u201c (RC-Glieder) ist zu gro\u00df."},
        {"RC_RB_Fs",
         "RC_E_C1",
         "1e299",
         6,
         "RC_E_R1",
         "1e12",
         "Gleitkomma\u00fcberlauf: \u201eZeitkonstante (s)\u201c (RC-Glieder) ist zu gro\u00df.",
         {0}},
        {"RC_RB_R", "RC_E_R1", "x", 8, "RC_E_F", "1", "'x' ist kein g\u00fcltiger Gleitkommawert."},
    };
    for (const Case& c : cases) {
        ApplyFactoryDefaults(form);
        for (const auto& [selector, index] :
             {std::pair{"RC_C_F", 7}, {"RC_C_s", 10}, {"RC_C_R1", 8}, {"RC_C_C1", 11}})
            form.setIndex(selector, index);
        form.click(c.mode);
        sink = RecordingSink{};
        form.setIndex(std::string(c.edit).replace(3, 1, "C"), c.unit);
        type(c.edit, c.text);
        type(c.entered, c.enteredText);
        const auto before = shown();
        form.pressEnter(c.entered);
        ASSERT_EQ(sink.general, std::vector<std::string>{c.report}) << c.edit << " " << c.text;
        auto expected = before;
        for (const std::size_t i : c.writtenBefore) {
            EXPECT_NE(form.text(kEdits[i]), before[i]) << kEdits[i];
            expected[i] = form.text(kEdits[i]);
            expected[6 + i] = std::to_string(form.index(kSelectors[i]));
        }
        // The entered text stays as typed: no reformat after a fault.
        EXPECT_EQ(shown(), expected) << c.edit << " " << c.text;
    }
}

// Results are shown as computed, beyond the input limits and below 1e-24.
TEST_P(RcTab, ResultsBeyondTheLimits) {
    form.click("RC_RB_C");
    choose("RC_C_R1", 5);  // 99,972 GOhm
    enter("RC_E_R1", "1000");
    choose("RC_C_F", 4);  // 100 THz
    enter("RC_E_F", "1000");
    expectQuiet();
    expectField("RC_E_F", " 1,000", "RC_C_F", 3);
    expectField("RC_E_R1", " 1,000", "RC_C_R1", 4);
    // 1,6e-28 F: in "y", as 0,000; τ below its input limit.
    EXPECT_EQ(form.index("RC_C_C1"), 16);
    EXPECT_EQ(form.text("RC_E_C1"), local(" 0,000"));
    const double c1 = static_cast<double>(1 / (1e12L * kTwoPi * 1e15L));
    expectRanged("RC_E_s", "RC_C_s", static_cast<double>(1e12L * c1));
    EXPECT_EQ(form.index("RC_C_s"), 14);
}

// Random circuits, entries and unit changes against the formulas applied to
// what the fields show; and f → R → f comes back within the rounding.
TEST_P(RcTab, RandomEntriesAgreeWithTheFormulas) {
    std::mt19937 random(3300 + sep());
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto logRandom = [&](double lo, double hi) {
        return lo * std::pow(hi / lo, unit(random));
    };
    const auto typeValue = [this](const std::string& edit, const std::string& selector, double v) {
        form.setIndex(selector, PrefixIndexOf(v));
        type(edit, formatFixed(PrefixMantissa(v), 3, ','));
        form.pressEnter(edit);
    };
    const char* const circuits[] = {"RC_RB_RC", "RC_RB_Wien", "RC_RB_Doppel"};
    for (int i = 0; i < 200; ++i) {
        form.click(circuits[i % 3]);
        const bool twin = i % 3 == 2;
        // Mode R: the frequency and C1 give R1.
        form.click("RC_RB_R");
        typeValue("RC_E_C1", "RC_C_C1", logRandom(1e-12, 1e-4));
        const double c1 = readValue("RC_E_C1", "RC_C_C1");
        typeValue("RC_E_F", "RC_C_F", logRandom(1, 1e8));
        const double f = readValue("RC_E_F", "RC_C_F");
        const double r1 = static_cast<double>(1 / (c1 * kTwoPi * f));
        expectRanged("RC_E_R1", "RC_C_R1", r1);
        expectRanged("RC_E_s", "RC_C_s", static_cast<double>(r1 * c1));
        if (twin) {
            expectRanged("RC_E_R2", "RC_C_R2", r1 / 2);
            expectRanged("RC_E_C2", "RC_C_C2", c1 * 2);
        } else {
            EXPECT_EQ(form.text("RC_E_R2"), kSix);
        }

        // Mode F / s: the resistance as shown gives the frequency back.
        form.click("RC_RB_Fs");
        const double shownR = readValue("RC_E_R1", "RC_C_R1");
        form.pressEnter("RC_E_R1");
        EXPECT_TRUE(near(shownValue("RC_E_F", "RC_C_F"), f, 1.5e-3L))
            << form.text("RC_E_F") << " for " << f;
        expectRanged("RC_E_s", "RC_C_s",
                     static_cast<double>(static_cast<long double>(shownR) * c1));

        // A unit change of C1 keeps its text and gives the frequency anew.
        const int idx = form.index("RC_C_C1");
        if (idx > 5 && idx < 16) {
            choose("RC_C_C1", idx + 1);
            const double c = readValue("RC_E_C1", "RC_C_C1");
            const double r = readValue("RC_E_R1", "RC_C_R1");
            expectRanged("RC_E_F", "RC_C_F", static_cast<double>(1 / (r * kTwoPi * c)));
        }
        ASSERT_TRUE(sink.general.empty()) << sink.general.front();
        ASSERT_TRUE(sink.errors.empty()) << sink.errors.front();
    }
}

// ---- settings ---------------------------------------------------------------

TEST_P(RcTab, SettingsRoundTripWithCircuitAndMode) {
    workedExample();
    form.click("RC_RB_Doppel");
    form.click("RC_RB_C");
    enter("RC_E_R2", "1000");
    IniFile ini;
    StoreSettings(form, ini);
    EXPECT_EQ(ini.read("RC-Glieder", "RC-Wien-Doppel"), "3");
    EXPECT_EQ(ini.read("RC-Glieder", "Fs-R-C"), "3");
    EXPECT_EQ(ini.read("RC-Glieder", "WiderstandR2"), local("1,000"));
    EXPECT_EQ(ini.read("RC-Glieder", "WiderstandR2-Einheit"), "7");

    Form again{sep()};
    BuildModel(again);
    RecordingSink quiet;
    again.setSink(&quiet);
    LoadSettings(again, ini);
    EXPECT_TRUE(quiet.general.empty());
    for (std::size_t i = 0; i < kEdits.size(); ++i) {
        EXPECT_EQ(again.text(kEdits[i]), form.text(kEdits[i])) << kEdits[i];
        EXPECT_EQ(again.index(kSelectors[i]), form.index(kSelectors[i])) << kSelectors[i];
        EXPECT_EQ(again.at(kEdits[i]).enabled, form.at(kEdits[i]).enabled) << kEdits[i];
        EXPECT_EQ(again.at(kSelectors[i]).enabled, form.at(kSelectors[i]).enabled);
    }
    EXPECT_EQ(again.state.RCCircuit, 3);
    EXPECT_EQ(again.state.RCMode, 3);
    EXPECT_TRUE(again.checked("RC_RB_Doppel"));
    EXPECT_TRUE(again.checked("RC_RB_C"));
    EXPECT_TRUE(again.at("Image31").visible);
    EXPECT_FALSE(again.at("Image1").visible);
    EXPECT_EQ(again.text("Label30"), "Mittenfrequenz");
    EXPECT_TRUE(again.at("Label33").enabled);
}

// The values load first; the circuit click then blanks R2 and C2 of a section
// or Wien bridge, whatever the file holds, and the mode click decides last
// which fields can be typed.
TEST(RcSettings, LoadOrderEffects) {
    const std::string values =
        "Frequenz=2,000\r\nFrequenz-Einheit=6\r\nWiderstandR1=47,000\r\nWiderstandR1-Einheit=8\r\n"
        "WiderstandR2=23,500\r\nWiderstandR2-Einheit=8\r\nKondensatorC1=1,693\r\n"
        "KondensatorC1-Einheit=11\r\nKondensatorC2=3,386\r\nKondensatorC2-Einheit=11\r\n";
    {
        Form form(',');
        BuildModel(form);
        LoadSettings(form,
                     IniFile::parse("[RC-Glieder]\r\nRC-Wien-Doppel=2\r\nFs-R-C=1\r\n" + values));
        EXPECT_EQ(form.text("RC_E_R2"), "      ");
        EXPECT_EQ(form.index("RC_C_C2"), -1);
        EXPECT_FALSE(form.at("RC_E_C2").enabled);
        EXPECT_FALSE(form.at("Label33").enabled);
        EXPECT_TRUE(form.at("Image32").visible);
        EXPECT_FALSE(form.at("Image1").visible);
        EXPECT_FALSE(form.at("RC_E_F").enabled);
        EXPECT_FALSE(form.at("RC_C_s").enabled);
        EXPECT_TRUE(form.at("RC_E_R1").enabled);
        EXPECT_EQ(form.text("RC_E_R1"), " 47,000");
    }
    {
        // The twin-T keeps R2 and C2 as stored (they came from R1 and C1); the
        // mode read after it enables them.
        Form form(',');
        BuildModel(form);
        LoadSettings(form,
                     IniFile::parse("[RC-Glieder]\r\nRC-Wien-Doppel=3\r\nFs-R-C=2\r\n" + values));
        EXPECT_EQ(form.text("RC_E_R2"), " 23,500");
        EXPECT_EQ(form.text("RC_E_C2"), " 3,386");
        EXPECT_EQ(form.index("RC_C_R2"), 8);
        EXPECT_FALSE(form.at("RC_E_R2").enabled);
        EXPECT_TRUE(form.at("RC_E_C2").enabled);
        EXPECT_TRUE(form.at("Label33").enabled);
        EXPECT_FALSE(form.at("RC_E_R1").enabled);
        EXPECT_EQ(form.text("Label30"), "Mittenfrequenz");
    }
    {
        // Missing keys: the section, resistance computed; the stored defaults
        // with the running separator.
        Form form('.');
        BuildModel(form);
        LoadSettings(form, IniFile::parse("[RC-Glieder]\r\n"));
        EXPECT_EQ(form.state.RCCircuit, 1);
        EXPECT_EQ(form.state.RCMode, 2);
        EXPECT_TRUE(form.checked("RC_RB_RC"));
        EXPECT_TRUE(form.checked("RC_RB_R"));
        EXPECT_EQ(form.text("RC_E_F"), " 100.00");
        EXPECT_EQ(form.text("RC_E_s"), " 1.59");
        EXPECT_EQ(form.text("RC_E_R1"), " 99.87");
        EXPECT_EQ(form.text("RC_E_C1"), " 15.92");
        EXPECT_EQ(form.text("RC_E_R2"), "      ");
        EXPECT_EQ(form.index("RC_C_s"), 10);
    }
    {
        // A value outside 1..3 is kept and checks no button; nothing is set up.
        Form form(',');
        BuildModel(form);
        LoadSettings(form, IniFile::parse("[RC-Glieder]\r\nRC-Wien-Doppel=7\r\nFs-R-C=0\r\n"));
        EXPECT_EQ(form.state.RCCircuit, 7);
        EXPECT_EQ(form.state.RCMode, 0);
        EXPECT_FALSE(form.checked("RC_RB_RC"));
        EXPECT_FALSE(form.checked("RC_RB_Fs"));
        EXPECT_TRUE(form.at("RC_E_F").enabled);
    }
}

TEST(RcSettings, KeysInFileOrder) {
    Form form(',');
    BuildModel(form);
    ApplyFactoryDefaults(form);
    IniFile ini;
    StoreSettings(form, ini);
    const std::string file = ini.serialize();
    const std::string section =
        "[RC-Glieder]\r\nRC-Wien-Doppel=1\r\nFs-R-C=2\r\nFrequenz= 100,000\r\n"
        "Frequenz-Einheit=7\r\nZeitkonstante= 1,590\r\nZeitkonstante-Einheit=10\r\n"
        "WiderstandR1= 99,972\r\nWiderstandR1-Einheit=8\r\nWiderstandR2=      \r\n"
        "WiderstandR2-Einheit=-1\r\nKondensatorC1= 15,920\r\nKondensatorC1-Einheit=11\r\n"
        "KondensatorC2=      \r\nKondensatorC2-Einheit=-1\r\n";
    EXPECT_NE(file.find(section), std::string::npos) << file;
}
