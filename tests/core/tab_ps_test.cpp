// The "Parallel-/Serienschaltung" tab: the equivalent circuits on plain
// numbers against complex impedances, then the tab driven through the user's
// actions on the whole window model with both decimal separators, and its
// settings section.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "calc/constants.h"
#include "calc/tab_ps.h"
#include "core/errors.h"
#include "core/numtext.h"
#include "core/prefix.h"
#include "model_fixture.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::testing::RecordingSink;
using velkaro::testing::WindowModelTest;
using velkaro::testing::near;

namespace {

using Complex = std::complex<long double>;

}  // namespace

// ---- the physics ------------------------------------------------------------

// Both forms must have the same impedance: R parallel to jX is Rs + jXs.
// Negative reactances are capacitive; the conversion does not care.
TEST(PsPhysics, BothFormsHaveTheSameImpedance) {
    for (const long double r : {1e-3L, 1.0L, 50.0L, 1e4L, 1e6L}) {
        for (const long double x : {1e-4L, -1e-4L, 1.0L, -1.0L, 300.0L, -300.0L, 1e7L}) {
            SCOPED_TRACE(std::to_string(static_cast<double>(r)) + " / " +
                         std::to_string(static_cast<double>(x)));
            const Complex zp = Complex(r) * Complex(0, x) / Complex(r, x);
            const LossyReactance s = seriesEquivalent(r, x);
            EXPECT_TRUE(near(s.r, zp.real(), 1e-15L)) << static_cast<double>(s.r);
            EXPECT_TRUE(near(s.x, zp.imag(), 1e-15L)) << static_cast<double>(s.x);

            // The series connection r + jx as a parallel one: its admittance.
            const Complex y = 1.0L / Complex(r, x);
            const LossyReactance p = parallelEquivalent(r, x);
            EXPECT_TRUE(near(1.0L / p.r, y.real(), 1e-15L));
            EXPECT_TRUE(near(-1.0L / p.x, y.imag(), 1e-15L));

            // And back again.
            const LossyReactance back = parallelEquivalent(s.r, s.x);
            EXPECT_TRUE(near(back.r, r, 1e-15L));
            EXPECT_TRUE(near(back.x, x, 1e-15L));
        }
    }
}

TEST(PsPhysics, QualityOneHalvesBothParts) {
    const LossyReactance s = seriesEquivalent(226.0L, 226.0L);
    EXPECT_TRUE(near(s.r, 113.0L, 1e-18L));
    EXPECT_TRUE(near(s.x, 113.0L, 1e-18L));
    const LossyReactance p = parallelEquivalent(7.5L, 7.5L);
    EXPECT_TRUE(near(p.r, 15.0L, 1e-18L));
    EXPECT_TRUE(near(p.x, 15.0L, 1e-18L));
}

TEST(PsPhysics, ReactancesOfTheFactoryCircuit) {
    const long double w = kTwoPi * 3.6e6L;
    // 10 µH at 3,6 MHz; the capacitor of the same reactance resonates with it.
    const long double x = inductiveReactance(w, 10e-6L);
    EXPECT_NEAR(static_cast<double>(x), 226.19467, 1e-5);
    const long double c = capacitanceFor(w, x);
    EXPECT_NEAR(static_cast<double>(c * 1e12L), 195.44982, 1e-5);
    EXPECT_TRUE(near(w * w * 10e-6L * c, 1.0L, 1e-18L));
    EXPECT_TRUE(near(capacitiveReactance(w, c), x, 1e-18L));
    EXPECT_TRUE(near(inductanceFor(w, x), 10e-6L, 1e-18L));
}

TEST(PsPhysics, NoEquivalentWithoutReactanceOrSeriesResistance) {
    EXPECT_THROW(seriesEquivalent(25.0L, 0.0L), ArithmeticError);
    EXPECT_THROW(parallelEquivalent(0.0L, 2.7L), ArithmeticError);
    EXPECT_THROW(parallelEquivalent(24.7L, 0.0L), ArithmeticError);
    EXPECT_THROW(capacitanceFor(1.0L, 0.0L), ArithmeticError);
    EXPECT_THROW(capacitiveReactance(0.0L, 1e-9L), ArithmeticError);
    // A short in parallel is a short in series.
    const LossyReactance s = seriesEquivalent(0.0L, 5.0L);
    EXPECT_EQ(s.r, 0.0L);
    EXPECT_EQ(s.x, 0.0L);
}

// ---- the tab ----------------------------------------------------------------

namespace {

const std::vector<std::string> kEdits = {"PS_E_F",  "PS_E_Rp", "PS_E_Lp", "PS_E_Cp",
                                         "PS_E_Rs", "PS_E_Ls", "PS_E_Cs"};
const std::vector<std::string> kSelectors = {"PS_C_F",  "PS_C_Rp", "PS_C_Lp", "PS_C_Cp",
                                             "PS_C_Rs", "PS_C_Ls", "PS_C_Cs"};

const std::string CR = "\r";

// Starts as a first start does: the factory texts at three places.
class PsTab : public WindowModelTest {
protected:
    void SetUp() override {
        BuildModel(form);
        ApplyFactoryDefaults(form);
        form.setSink(&sink);
    }

    std::vector<std::string> shown() const { return snapshot(kEdits, kSelectors); }
    void expectQuiet() const {
        EXPECT_TRUE(sink.errors.empty()) << sink.errors.front();
        EXPECT_TRUE(sink.general.empty()) << sink.general.front();
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, PsTab, ::testing::Values(',', '.'));

TEST_P(PsTab, FirstStartShowsTheFactoryTextsAsStored) {
    expectField("PS_E_F", " 3,600", "PS_C_F", 6);
    expectField("PS_E_Rp", " 25,000", "PS_C_Rp", 8);
    expectField("PS_E_Lp", " 10,000", "PS_C_Lp", 10);
    expectField("PS_E_Cp", " 195,455", "PS_C_Cp", 12);
    expectField("PS_E_Rs", " 24,698", "PS_C_Rs", 8);
    expectField("PS_E_Ls", " 120,682", "PS_C_Ls", 11);
    expectField("PS_E_Cs", " 16,195", "PS_C_Cs", 11);
    EXPECT_EQ(form.at("PS_C_Lp").unitText(), "\u00b5H");
    EXPECT_EQ(form.at("PS_C_Cs").unitText(), "nF");
}

// 25 Ohm parallel to 10 µH at 3,6 MHz: Xp = 226,195 Ohm, Q = 0,1105.
TEST_P(PsTab, ParallelInductanceGivesTheSeriesFormAndTheCapacitance) {
    enter("PS_E_Lp", "10");
    expectQuiet();
    expectField("PS_E_Rs", " 24,698", "PS_C_Rs", 8);
    expectField("PS_E_Ls", " 120,682", "PS_C_Ls", 11);
    expectField("PS_E_Cs", " 16,195", "PS_C_Cs", 11);
    expectField("PS_E_Cp", " 195,450", "PS_C_Cp", 12);  // the formula, not the shipped text
    expectField("PS_E_Lp", " 10,000", "PS_C_Lp", 10);
    expectField("PS_E_Rp", " 25,000", "PS_C_Rp", 8);
}

TEST_P(PsTab, EnteredResistanceLeavesItsOwnSideAlone) {
    enter("PS_E_Rp", "25");
    expectQuiet();
    expectField("PS_E_Rs", " 24,698", "PS_C_Rs", 8);
    expectField("PS_E_Ls", " 120,682", "PS_C_Ls", 11);
    expectField("PS_E_Cs", " 16,195", "PS_C_Cs", 11);
    expectField("PS_E_Cp", " 195,455", "PS_C_Cp", 12);

    // Rs 24,698 with Ls 120,682 nH: back to 25 Ohm and 10 µH; Ls and Cs stay.
    // The rounded series texts give the Cp of a first start, not 195,450 pF.
    enter("PS_E_Rs", "24,698");
    expectQuiet();
    expectField("PS_E_Rp", " 25,000", "PS_C_Rp", 8);
    expectField("PS_E_Lp", " 10,000", "PS_C_Lp", 10);
    expectField("PS_E_Cp", " 195,455", "PS_C_Cp", 12);
    expectField("PS_E_Ls", " 120,682", "PS_C_Ls", 11);
    expectField("PS_E_Cs", " 16,195", "PS_C_Cs", 11);
}

TEST_P(PsTab, CapacitanceOfTheInductanceGivesItBack) {
    enter("PS_E_Cp", "195,45");
    expectQuiet();
    expectField("PS_E_Lp", " 10,000", "PS_C_Lp", 10);
    expectField("PS_E_Rs", " 24,698", "PS_C_Rs", 8);
    expectField("PS_E_Ls", " 120,682", "PS_C_Ls", 11);
    expectField("PS_E_Cs", " 16,195", "PS_C_Cs", 11);
    expectField("PS_E_Cp", " 195,450", "PS_C_Cp", 12);

    // The series capacitance as shown leads back to the parallel circuit, up to
    // the rounding of the 16,195 nF it was read from (16,19496 nF).
    enter("PS_E_Cs", "16,195");
    expectField("PS_E_Rp", " 25,000", "PS_C_Rp", 8);
    expectField("PS_E_Lp", " 9,999", "PS_C_Lp", 10);
    expectField("PS_E_Ls", " 120,685", "PS_C_Ls", 11);
    expectField("PS_E_Cp", " 195,460", "PS_C_Cp", 12);
}

// Rs equal to Xs (Q = 1): the parallel form has twice the resistance and
// twice the reactance, so twice the inductance and half the capacitance.
TEST_P(PsTab, QualityOne) {
    enter("PS_E_Rs", "226,195");
    enter("PS_E_Ls", "10000");  // nH, reformatted to µH
    expectQuiet();
    expectField("PS_E_Ls", " 10,000", "PS_C_Ls", 10);
    expectField("PS_E_Rp", " 452,389", "PS_C_Rp", 8);
    expectField("PS_E_Lp", " 20,000", "PS_C_Lp", 10);
    expectField("PS_E_Cp", " 97,725", "PS_C_Cp", 12);
    expectField("PS_E_Cs", " 195,450", "PS_C_Cs", 12);

    enter("PS_E_Lp", "10");
    enter("PS_E_Rp", "226,195");
    expectField("PS_E_Rs", " 113,097", "PS_C_Rs", 8);
    expectField("PS_E_Ls", " 5,000", "PS_C_Ls", 10);
    expectField("PS_E_Cs", " 390,899", "PS_C_Cs", 12);
}

// 1 MOhm parallel to 10 µH: Q = 4421, the series resistance is tiny and the
// reactance stays that of the coil.
TEST_P(PsTab, HighQualityParallelCircuit) {
    enter("PS_E_Rp", "1e6");
    expectQuiet();
    expectField("PS_E_Rp", " 1000,000", "PS_C_Rp", 7);  // one reformat step only
    expectField("PS_E_Rs", " 51,164", "PS_C_Rs", 9);
    expectField("PS_E_Ls", " 10,000", "PS_C_Ls", 10);
    expectField("PS_E_Cs", " 195,450", "PS_C_Cs", 12);
}

TEST_P(PsTab, ResultsBeyondTheInputLimitsAreShownAsComputed) {
    enter("PS_E_Ls", "1e9");  // 1 H
    enter("PS_E_Rs", "1e-6");
    expectQuiet();
    expectField("PS_E_Rp", " 511,640", "PS_C_Rp", 2);  // 5e20 Ohm
    expectField("PS_E_Lp", " 1,000", "PS_C_Lp", 8);
    expectField("PS_E_Cp", " 1,954", "PS_C_Cp", 13);
}

TEST_P(PsTab, FrequencyAloneComputesNothing) {
    const auto before = shown();
    type("PS_E_F", "7");
    form.pressEnter("PS_E_F");
    choose("PS_C_F", 7);  // kHz
    expectQuiet();
    EXPECT_TRUE(sink.focus.empty());
    auto expected = before;
    expected[0] = "7";
    expected[7] = "7";
    EXPECT_EQ(shown(), expected);

    // The next entry of an R, L or C uses it, and the frequency is reformatted.
    enter("PS_E_Lp", "10");
    expectField("PS_E_F", " 7,000", "PS_C_F", 7);
    expectField("PS_E_Rs", " 7,735", "PS_C_Rs", 9);
    expectField("PS_E_Ls", " 9,997", "PS_C_Ls", 10);
    expectField("PS_E_Cs", " 51,710", "PS_C_Cs", 10);
    expectField("PS_E_Cp", " 51,694", "PS_C_Cp", 10);
}

TEST_P(PsTab, UnitChangeComputesAndMovesTheFocusBack) {
    choose("PS_C_Lp", 11);  // 10 nH
    expectQuiet();
    EXPECT_EQ(sink.focus, std::vector<std::string>{"PS_C_Lp"});
    expectField("PS_E_Lp", " 10,000", "PS_C_Lp", 11);
    expectField("PS_E_Rs", " 2,046", "PS_C_Rs", 9);
    expectField("PS_E_Ls", " 9,999", "PS_C_Ls", 11);
    expectField("PS_E_Cs", " 195,466", "PS_C_Cs", 11);
    expectField("PS_E_Cp", " 195,450", "PS_C_Cp", 11);
}

TEST_P(PsTab, EntriesOutsideTheirLimitsAreRefused) {
    const auto before = shown();
    enter("PS_E_Rp", "2e6");
    enter("PS_E_Lp", "0");
    enter("PS_E_Cs", "1e-4");  // 1e-13 F
    enter("PS_E_Rs", "abc");
    ASSERT_EQ(sink.errors.size(), 4u);
    EXPECT_EQ(sink.errors[0], "Die Eingabe2e6 Ohm  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-6 bis 1e6 Ohm");
    EXPECT_EQ(sink.errors[1], "Die Eingabe0 \u00b5H  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-12 bis 1e3 Henry");
    EXPECT_EQ(sink.errors[2], "Die Eingabe" + local("1e-4") + " nF  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-12 bis 1e3 Farad");
    EXPECT_EQ(sink.errors[3], "Die eingegebene Zahlabc  ist keine Gleitkommazahl !");
    EXPECT_EQ(shown(), before);

    // 16,195 kF is far above 1000 F: the selector goes back to nF.
    choose("PS_C_Cs", 7);
    ASSERT_EQ(sink.errors.size(), 5u);
    EXPECT_EQ(sink.errors[4], "Die Eingabe" + local(" 16,195") + " kF  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-12 bis 1e3 Farad");
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(sink.focus.empty());

    // The limits themselves are accepted.
    enter("PS_E_Rs", "1e6");
    form.setIndex("PS_C_Cp", 12);  // Cp went down to zF with Rp
    enter("PS_E_Cp", "1");         // pF
    EXPECT_EQ(sink.errors.size(), 5u) << sink.errors.back();
    EXPECT_TRUE(sink.general.empty());
}

TEST_P(PsTab, ZeroFrequencyIsReportedBeforeAnythingChanges) {
    const std::string message =
        "Division durch Null: \u201eFrequenz\u201c (Parallel-/Serienschaltung) ist 0.";
    for (const char* zero : {"0", "0,000", "-0"}) {
        type("PS_E_F", zero);
        const auto before = shown();
        for (const char* edit :
             {"PS_E_Rp", "PS_E_Lp", "PS_E_Cp", "PS_E_Rs", "PS_E_Ls", "PS_E_Cs"}) {
            sink.general.clear();
            form.pressEnter(edit);
            ASSERT_EQ(sink.general, std::vector<std::string>{message}) << edit << " " << zero;
            EXPECT_EQ(shown(), before) << edit;
        }
    }
    // From a unit change: the new item stays, nothing else follows.
    const auto before = shown();
    sink.general.clear();
    choose("PS_C_Cp", 11);
    EXPECT_EQ(sink.general, std::vector<std::string>{message});
    EXPECT_EQ(form.index("PS_C_Cp"), 11);
    auto expected = before;
    expected[7 + 3] = "11";
    EXPECT_EQ(shown(), expected);
    EXPECT_TRUE(sink.focus.empty());
    EXPECT_TRUE(sink.errors.empty());
}

TEST_P(PsTab, OtherUnreadableInputsChangeNothing) {
    // A frequency that is no number, a zero left in the resistance the entry
    // reads, and a frequency so low that the capacitances exceed any number.
    struct Case {
        const char* edit;
        const char* text;
        int unit;
        const char* entered;
        std::string report;
    };
    const std::vector<Case> cases = {
        {"PS_E_F", "abc", 6, "PS_E_Lp", "'abc' ist kein g\u00fcltiger Gleitkommawert."},
        {"PS_E_F", "", 6, "PS_E_Rs", "'' ist kein g\u00fcltiger Gleitkommawert."},
        {"PS_E_Rp", "0", 8, "PS_E_Lp", "Division durch Null"},
        {"PS_E_Rs", "0", 8, "PS_E_Cs", "Division durch Null"},
        {"PS_E_F", "1e-290", 16, "PS_E_Lp", "Gleitkomma\u00fcberlauf."},
    };
    for (const Case& c : cases) {
        ApplyFactoryDefaults(form);
        form.setIndex("PS_C_F", 6);
        sink = RecordingSink{};
        type(c.edit, c.text);
        if (c.edit == std::string("PS_E_F")) form.setIndex("PS_C_F", c.unit);
        const auto before = shown();
        form.pressEnter(c.entered);
        ASSERT_EQ(sink.general.size(), 1u) << c.text;
        // A zero read from a field: the report may go on to name the field.
        EXPECT_EQ(sink.general[0].substr(0, c.report.size()), c.report);
        EXPECT_EQ(shown(), before) << c.text;
    }
}

TEST_P(PsTab, ReformatStartsWithTheFrequency) {
    type("PS_E_F", "1500");
    type("PS_E_Rp", "abc");
    form.click("RadioButton1");  // one decimal: every tab is reformatted
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(sink.general[0], "'abc' ist kein g\u00fcltiger Gleitkommawert.");
    expectField("PS_E_F", " 1,5", "PS_C_F", 5);
    EXPECT_EQ(form.text("PS_E_Lp"), local(" 10,000"));

    type("PS_E_Rp", "25");
    form.reformat("PS_Eingaben_formatieren");
    expectField("PS_E_Rp", " 25,0", "PS_C_Rp", 8);
    expectField("PS_E_Cp", " 195,5", "PS_C_Cp", 12);
    expectField("PS_E_Cs", " 16,2", "PS_C_Cs", 11);
}

// Random circuits: what the series side shows is the series form of what the
// parallel side shows, to the last digit, and entering the shown series
// resistance gives the parallel circuit back within the rounding of the texts.
TEST_P(PsTab, ParallelToSeriesToParallel) {
    std::mt19937 random(5200 + sep());
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto logRandom = [&](double lo, double hi) {
        return lo * std::pow(hi / lo, unit(random));
    };
    // Typed as the field would show it, so that the value entered is the one
    // shown after the reformat.
    const auto typeValue = [this](const char* edit, const char* selector, double v) {
        form.setIndex(selector, PrefixIndexOf(v));
        char text[40];
        std::snprintf(text, sizeof text, "%.3f", PrefixMantissa(v));
        std::string commaText(text);
        std::replace(commaText.begin(), commaText.end(), '.', ',');
        type(edit, commaText);
    };
    int roundTrips = 0;
    for (int i = 0; i < 150; ++i) {
        typeValue("PS_E_F", "PS_C_F", logRandom(1e3, 1e9));
        typeValue("PS_E_Rp", "PS_C_Rp", logRandom(1e-3, 1e5));
        form.pressEnter("PS_E_Rp");
        typeValue("PS_E_Lp", "PS_C_Lp", logRandom(1e-9, 1e-3));
        form.pressEnter("PS_E_Lp");
        ASSERT_TRUE(sink.errors.empty()) << sink.errors.front();
        ASSERT_TRUE(sink.general.empty()) << sink.general.front();

        const long double w = kTwoPi * shownValue("PS_E_F", "PS_C_F");
        const long double rp = shownValue("PS_E_Rp", "PS_C_Rp");
        const long double lp = shownValue("PS_E_Lp", "PS_C_Lp");
        const Complex zs = Complex(rp) * Complex(0, w * lp) / Complex(rp, w * lp);
        const long double expected[] = {zs.real(), zs.imag() / w, 1.0L / (w * zs.imag()),
                                        1.0L / (w * w * lp)};
        const char* const fields[][2] = {{"PS_E_Rs", "PS_C_Rs"},
                                         {"PS_E_Ls", "PS_C_Ls"},
                                         {"PS_E_Cs", "PS_C_Cs"},
                                         {"PS_E_Cp", "PS_C_Cp"}};
        for (int k = 0; k < 4; ++k) {
            const int index = form.index(fields[k][1]);
            ASSERT_GE(index, 0);
            ASSERT_LE(index, 16);
            // Within half a unit of the last digit shown.
            const long double lastDigit = 1e-3L * PrefixFactor(index);
            EXPECT_LE(std::fabs(shownValue(fields[k][0], fields[k][1]) - expected[k]),
                      0.5001L * lastDigit)
                << fields[k][0] << " shows " << form.text(fields[k][0]);
        }

        const long double rs = shownValue("PS_E_Rs", "PS_C_Rs");
        if (rs < 1e-6L || rs > 1e6L) continue;  // no entry for Rs there
        form.pressEnter("PS_E_Rs");
        ASSERT_TRUE(sink.general.empty()) << sink.general.front();
        ++roundTrips;
        // Rs and Xs each carry up to 5e-4 of rounding; Rp = (Rs² + Xs²) / Rs.
        EXPECT_TRUE(near(shownValue("PS_E_Rp", "PS_C_Rp"), rp, 2.5e-3L))
            << form.text("PS_E_Rp") << " for " << static_cast<double>(rp);
        EXPECT_TRUE(near(shownValue("PS_E_Lp", "PS_C_Lp"), lp, 2.5e-3L))
            << form.text("PS_E_Lp") << " for " << static_cast<double>(lp);
    }
    EXPECT_GT(roundTrips, 100);
}

TEST_P(PsTab, SettingsRoundTrip) {
    enter("PS_E_Rp", "470");
    enter("PS_E_Cp", "33");
    choose("PS_C_Cp", 11);
    type("PS_E_F", "14,2");  // typed only: stored as it stands
    form.setIndex("PS_C_Rs", 16);
    IniFile ini;
    StoreSettings(form, ini);
    EXPECT_EQ(ini.read("PS-Gleich", "Frequenz"), local("14,2"));
    EXPECT_EQ(ini.read("PS-Gleich", "Cp-Einheit"), "11");
    EXPECT_EQ(ini.read("PS-Gleich", "Rs-Einheit"), "16");

    Form again{sep()};
    BuildModel(again);
    RecordingSink quiet;
    again.setSink(&quiet);
    LoadSettings(again, ini);
    // The restored three places reformat every tab: the frequency the user
    // left without Enter comes back formatted; all else exactly as stored.
    EXPECT_EQ(again.text("PS_E_F"), local(" 14,200"));
    for (std::size_t i = 0; i < kEdits.size(); ++i) {
        if (i > 0) {
            EXPECT_EQ(again.text(kEdits[i]), form.text(kEdits[i])) << kEdits[i];
        }
        EXPECT_EQ(again.index(kSelectors[i]), form.index(kSelectors[i])) << kSelectors[i];
    }
}

TEST(PsSettings, KeysInFileOrderAndDefaultsOfMissingKeys) {
    Form form(',');
    BuildModel(form);
    ApplyFactoryDefaults(form);
    IniFile ini;
    StoreSettings(form, ini);
    std::vector<std::string> lines;
    const std::string file = ini.serialize();
    for (std::size_t at = 0; at < file.size();) {
        std::size_t end = file.find_first_of("\r\n", at);
        if (end == std::string::npos) end = file.size();
        lines.push_back(file.substr(at, end - at));
        at = file.find_first_not_of("\r\n", end);
        if (at == std::string::npos) break;
    }
    const std::vector<std::string> section = {
        "[PS-Gleich]",  "Frequenz= 3,600", "F-Einheit=6",   "Rp= 25,000",    "Rp-Einheit=8",
        "Lp= 10,000",   "Lp-Einheit=10",   "Cp= 195,455",   "Cp-Einheit=12", "Rs= 24,698",
        "Rs-Einheit=8", "Ls= 120,682",     "Ls-Einheit=11", "Cs= 16,195",    "Cs-Einheit=11"};
    const auto start = std::find(lines.begin(), lines.end(), section[0]);
    ASSERT_NE(start, lines.end());
    ASSERT_GE(lines.end() - start, static_cast<long>(section.size()));
    EXPECT_EQ(std::vector<std::string>(start, start + static_cast<long>(section.size())), section);
    // The section ends there.
    const auto after = start + static_cast<long>(section.size());
    EXPECT_TRUE(after == lines.end() || after->front() == '[');

    // An empty section: the defaults it has always had, with the running separator.
    Form dotted('.');
    BuildModel(dotted);
    LoadSettings(dotted, IniFile::parse("[PS-Gleich]\r\n"));
    const std::vector<std::pair<std::string, int>> defaults = {
        {" 3.600", 6},   {" 25.000", 8},  {" 10.000", 10}, {" 195.450", 12},
        {" 202.994", 7}, {" 99.188", 10}, {" 19.705", 12}};
    for (std::size_t i = 0; i < kEdits.size(); ++i) {
        EXPECT_EQ(dotted.text(kEdits[i]), defaults[i].first) << kEdits[i];
        EXPECT_EQ(dotted.index(kSelectors[i]), defaults[i].second) << kSelectors[i];
    }
}
