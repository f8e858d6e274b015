// The "PI / T Att" tab: the attenuator physics on plain numbers, then the tab
// driven through the user's actions on the whole window model with both
// decimal separators, and its settings section.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "calc/tab_pit.h"
#include "calc/window.h"
#include "core/errors.h"
#include "core/form.h"
#include "model_fixture.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::testing::RecordingSink;
using velkaro::testing::WindowModelTest;

namespace {

// Parallel connection of two resistances.
double par(double a, double b) { return a * b / (a + b); }

}  // namespace

// ---- the physics ------------------------------------------------------------

// Whatever the attenuation, a correct design is matched (terminated in Z it
// shows Z at its input) and loses exactly the difference between the power
// fed in and the power P / K² that reaches the load.
TEST(PitPhysics, EveryDesignIsMatchedAndKeepsThePowerBalance) {
    for (const double dB : {0.01, 0.5, 3.0, 6.0, 20.0, 40.0, 100.0, 250.0}) {
        for (const double z : {1e-13, 50.0, 600.0, 1e15}) {
            const double p = 2.5;
            const AttenuatorPair a = designAttenuators(dB, z, p);
            const double k2 = std::pow(10.0, dB / 10.0);
            SCOPED_TRACE(std::to_string(dB) + " dB, " + std::to_string(z) + " Ohm");

            const double piIn = par(a.pi.r23, a.pi.r1 + par(a.pi.r23, z));
            const double tIn = a.t.r23 + par(a.t.r1, a.t.r23 + z);
            EXPECT_NEAR(piIn / z, 1.0, 1e-9);
            EXPECT_NEAR(tIn / z, 1.0, 1e-9);

            for (const Attenuator& x : {a.pi, a.t}) {
                EXPECT_GT(x.r1, 0.0);
                EXPECT_GT(x.r23, 0.0);
                const double lost = x.powerR1 + x.powerR2 + x.powerR3;
                EXPECT_NEAR((lost + p / k2) / p, 1.0, 1e-9);
            }
        }
    }
}

// Only what has no finite value is refused: no attenuation (R1 = 0, its
// power 0 / 0), a negative Z·P (no real voltage), a ratio beyond a double.
TEST(PitPhysics, OnlyUndefinedDesignsAreRefused) {
    EXPECT_THROW(designAttenuators(0.0L, 50.0, 1e-3), ArithmeticError);
    EXPECT_THROW(designAttenuators(20.0L, 0.0, 1e-3), ArithmeticError);
    EXPECT_THROW(designAttenuators(20.0L, -50.0, 1e-3), ArithmeticError);
    EXPECT_THROW(designAttenuators(1e6L, 50.0, 1e-3), ArithmeticError);  // K beyond a double

    // No power: the same resistors, and no power in any of them.
    const AttenuatorPair none = designAttenuators(20.0L, 50.0, 0.0);
    const AttenuatorPair some = designAttenuators(20.0L, 50.0, 1e-3);
    EXPECT_EQ(none.pi.r1, some.pi.r1);
    EXPECT_EQ(none.t.r23, some.t.r23);
    for (double p : {none.pi.powerR1, none.pi.powerR2, none.pi.powerR3, none.t.powerR1,
                     none.t.powerR2, none.t.powerR3})
        EXPECT_EQ(p, 0.0);
    // A negative attenuation is a gain: the formulas give the mirrored network
    // with negative outer resistors, finite all the same.
    const AttenuatorPair gain = designAttenuators(-20.0L, 50.0, 1e-3);
    EXPECT_NEAR(gain.pi.r1, some.pi.r1, 1e-9);
    EXPECT_NEAR(gain.pi.r23, -some.pi.r23, 1e-9);
}

// ---- the tab ----------------------------------------------------------------

namespace {

// The ten result pairs in display order: value edit and unit edit.
const std::vector<std::pair<std::string, std::string>> kResults = {
    {"PiT_Pi_E_R_R1", "PiT_Pi_L_R_R1"},   {"PiT_Pi_E_P_R1", "PiT_Pi_L_P_R1"},
    {"PiT_Pi_E_R_R23", "PiT_Pi_L_R_R23"}, {"PiT_Pi_E_P_R2", "PiT_Pi_L_P_R2"},
    {"PiT_Pi_E_P_R3", "PiT_Pi_L_P_R3"},   {"PiT_T_E_R_R1", "PiT_T_L_R_R1"},
    {"PiT_T_E_P_R1", "PiT_T_L_P_R1"},     {"PiT_T_E_R_R23", "PiT_T_L_R_R23"},
    {"PiT_T_E_P_R2", "PiT_T_L_P_R2"},     {"PiT_T_E_P_R3", "PiT_T_L_P_R3"},
};

// 20 dB, 50 Ohm, 1 mW: value and unit text of every result, as the user sees them.
const std::vector<std::pair<std::string, std::string>> kTwentyDb = {
    {" 247,500", " Ohm"},        {" 163,636", " \u00b5Watt"}, {" 61,111", " Ohm"},
    {" 818,182", " \u00b5Watt"}, {" 8,182", " \u00b5Watt"},   {" 10,101", " Ohm"},
    {" 163,636", " \u00b5Watt"}, {" 40,909", " Ohm"},         {" 818,182", " \u00b5Watt"},
    {" 8,182", " \u00b5Watt"},
};

const std::string CR = "\r";

class PitTab : public WindowModelTest {
protected:
    using WindowModelTest::local;

    // Focus into the selector (remembers its item), then the user's choice.
    std::vector<std::pair<std::string, std::string>> results() const {
        std::vector<std::pair<std::string, std::string>> shown;
        for (const auto& [value, unit] : kResults)
            shown.emplace_back(form.text(value), form.text(unit));
        return shown;
    }
    std::vector<std::pair<std::string, std::string>> local(
        std::vector<std::pair<std::string, std::string>> rows) const {
        for (auto& row : rows) row.first = local(row.first);
        return rows;
    }
    void expectInputs(const std::string& dB, const std::string& z, int zUnit, const std::string& p,
                      int pUnit) const {
        EXPECT_EQ(form.text("PiT_E_dB"), local(dB));
        EXPECT_EQ(form.text("PiT_E_Z"), local(z));
        EXPECT_EQ(form.index("PiT_C_Z"), zUnit);
        EXPECT_EQ(form.text("PiT_E_P"), local(p));
        EXPECT_EQ(form.index("PiT_C_P"), pUnit);
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, PitTab, ::testing::Values(',', '.'));

TEST_P(PitTab, TwentyDecibelsFiftyOhmOneMilliwatt) {
    enter("PiT_E_Z", "75");
    enter("PiT_E_Z", "50");
    enter("PiT_E_dB", "20");
    EXPECT_TRUE(sink.errors.empty());
    EXPECT_TRUE(sink.general.empty());
    expectInputs(" 20,000", " 50,000", 8, " 1,000", 9);
    EXPECT_EQ(results(), local(kTwentyDb));
}

TEST_P(PitTab, EveryInputRecomputesFromWhatTheFieldsShow) {
    // 3 dB typed into the attenuation; 1500 Ohm arrives as 1,500 kOhm after the reformat.
    enter("PiT_E_dB", "3");
    enter("PiT_E_Z", "1500");
    expectInputs(" 3,000", " 1,500", 7, " 1,000", 9);
    EXPECT_EQ(results(), local({{" 528,444", " Ohm"},
                                {" 242,114", " \u00b5Watt"},
                                {" 8,772", " kOhm"},
                                {" 170,997", " \u00b5Watt"},
                                {" 85,702", " \u00b5Watt"},
                                {" 4,258", " kOhm"},
                                {" 242,114", " \u00b5Watt"},
                                {" 256,496", " Ohm"},
                                {" 170,997", " \u00b5Watt"},
                                {" 85,702", " \u00b5Watt"}}));

    // 6 dB into 75 Ohm with 1 W, the power typed as 1000 mW.
    enter("PiT_E_dB", "6");
    enter("PiT_E_Z", "0,075");
    enter("PiT_E_P", "1000");
    expectInputs(" 6,000", " 75,000", 8, " 1,000", 8);
    EXPECT_EQ(form.text("PiT_Pi_E_R_R1"), local(" 56,028"));
    EXPECT_EQ(form.text("PiT_T_E_R_R1"), local(" 100,397"));
    EXPECT_EQ(form.text("PiT_T_E_P_R3"), local(" 83,465"));
    EXPECT_EQ(form.text("PiT_T_L_P_R3"), " mWatt");
}

TEST_P(PitTab, SmallestAttenuation) {
    enter("PiT_E_dB", "0,01");
    EXPECT_TRUE(sink.errors.empty());
    EXPECT_EQ(form.text("PiT_E_dB"), local(" 0,010"));
    EXPECT_EQ(results(), local({{" 57,565", " mOhm"},
                                {" 1,150", " \u00b5Watt"},
                                {" 86,859", " kOhm"},
                                {" 575,646", " nWatt"},
                                {" 574,322", " nWatt"},
                                {" 43,429", " kOhm"},
                                {" 1,150", " \u00b5Watt"},
                                {" 28,782", " mOhm"},
                                {" 575,646", " nWatt"},
                                {" 574,322", " nWatt"}}));
}

TEST_P(PitTab, LargestAttenuationReachesTheSmallestPrefixes) {
    enter("PiT_E_dB", "250");
    EXPECT_TRUE(sink.errors.empty());
    EXPECT_TRUE(sink.general.empty());
    // Pi R1 about Z * K / 2, T R1 about 2 * Z / K, both outer resistors about Z.
    EXPECT_EQ(form.text("PiT_Pi_E_R_R1"), local(" 79,057"));
    EXPECT_EQ(form.text("PiT_Pi_L_R_R1"), " TOhm");
    EXPECT_EQ(form.text("PiT_T_E_R_R1"), local(" 31,623"));
    EXPECT_EQ(form.text("PiT_T_L_R_R1"), " pOhm");
    EXPECT_EQ(form.text("PiT_Pi_E_R_R23"), local(" 50,000"));
    EXPECT_EQ(form.text("PiT_T_E_R_R23"), local(" 50,000"));
    EXPECT_EQ(form.text("PiT_T_L_R_R23"), " Ohm");
    EXPECT_EQ(form.text("PiT_Pi_E_P_R1"), local(" 632,456"));
    EXPECT_EQ(form.text("PiT_Pi_L_P_R1"), " aWatt");
    // 1e-28 W in R3 lies below yocto: it stays in yWatt, where 0,0001 shows
    // as 0,000 and reads back as what it shows.
    EXPECT_EQ(form.text("PiT_Pi_E_P_R3"), local(" 0,000"));
    EXPECT_EQ(form.text("PiT_Pi_L_P_R3"), " yWatt");
    EXPECT_EQ(form.text("PiT_T_E_P_R3"), local(" 0,000"));
    EXPECT_EQ(form.text("PiT_T_L_P_R3"), " yWatt");
}

TEST_P(PitTab, AttenuationOutsideItsLimitsIsRefusedWithFormA) {
    const auto before = results();
    for (const std::string typed : {"0", "0,009", "250,001", "-20"}) {
        enter("PiT_E_dB", typed);
        ASSERT_FALSE(sink.errors.empty());
        EXPECT_EQ(sink.errors.back(), "Die eingegebene Zahl" + local(typed) +
                                          " ist nicht richtig !" + CR + CR +
                                          "        zul\u00e4ssiger Bereich:1e-2 bis 250 dB");
        EXPECT_EQ(form.text("PiT_E_dB"), local(" 20,000"));
    }
    enter("PiT_E_dB", "zwanzig");
    EXPECT_EQ(sink.errors.back(), "Die eingegebene Zahlzwanzig  ist keine Gleitkommazahl !");
    EXPECT_EQ(sink.errors.size(), 5u);
    EXPECT_EQ(results(), before);
}

TEST_P(PitTab, ImpedanceAndPowerOutsideTheirLimitsAreRefusedWithFormB) {
    const auto before = results();
    enter("PiT_E_Z", "1e16");
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0], "Die Eingabe1e16 Ohm  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-13 bis 1e15 Ohm");
    EXPECT_EQ(form.text("PiT_E_Z"), local(" 50,000"));

    // Below one milliwatt nothing is accepted.
    enter("PiT_E_P", "0,999");
    ASSERT_EQ(sink.errors.size(), 2u);
    EXPECT_EQ(sink.errors[1], "Die Eingabe" + local("0,999") + " mW  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-3 bis 1e24 Watt");
    EXPECT_EQ(results(), before);

    // 999 with microwatt, whether typed into the field or reached by a unit change.
    form.setIndex("PiT_C_P", 10);
    enter("PiT_E_P", "999");
    ASSERT_EQ(sink.errors.size(), 3u);
    EXPECT_EQ(sink.errors[2], "Die Eingabe999 \u00b5W  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:1e-3 bis 1e24 Watt");
    form.setIndex("PiT_C_P", 9);
    form.userEdit("PiT_E_P", "999");
    choose("PiT_C_P", 10);
    ASSERT_EQ(sink.errors.size(), 4u);
    EXPECT_EQ(sink.errors[3], sink.errors[2]);
    EXPECT_EQ(form.index("PiT_C_P"), 9);
    EXPECT_EQ(results(), before);
    EXPECT_TRUE(sink.focus.empty());

    // The limits themselves are accepted.
    enter("PiT_E_P", "1");
    enter("PiT_E_Z", "1e15");
    EXPECT_EQ(sink.errors.size(), 4u);
    EXPECT_EQ(form.text("PiT_Pi_E_R_R23"), local(" 1,222"));  // 11 / 9 of 1e15 Ohm
    EXPECT_EQ(form.text("PiT_Pi_L_R_R23"), " POhm");
}

TEST_P(PitTab, PowerUnitChangeScalesOnlyThePowers) {
    // 1000 mW becomes 1,000 W.
    enter("PiT_E_P", "1000");
    expectInputs(" 20,000", " 50,000", 8, " 1,000", 8);
    EXPECT_EQ(form.text("PiT_Pi_E_P_R1"), local(" 163,636"));
    EXPECT_EQ(form.text("PiT_Pi_L_P_R1"), " mWatt");

    choose("PiT_C_P", 9);  // W -> mW
    EXPECT_TRUE(sink.errors.empty());
    EXPECT_EQ(sink.focus, std::vector<std::string>{"PiT_C_P"});
    expectInputs(" 20,000", " 50,000", 8, " 1,000", 9);
    EXPECT_EQ(results(), local(kTwentyDb));

    // " 1,000" with microwatt would be below the limit: refused, back to mW.
    choose("PiT_C_P", 10);
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0], "Die Eingabe" + local(" 1,000") + " \u00b5W  ist ausserhalb" + CR +
                                  CR + "des g\u00fcltigen Wertebereiches:1e-3 bis 1e24 Watt");
    EXPECT_EQ(form.index("PiT_C_P"), 9);
    EXPECT_EQ(sink.focus.size(), 1u);
    EXPECT_EQ(results(), local(kTwentyDb));
}

TEST_P(PitTab, ImpedanceUnitChangeRecomputes) {
    choose("PiT_C_Z", 7);  // 50 kOhm
    EXPECT_TRUE(sink.errors.empty());
    EXPECT_EQ(form.text("PiT_Pi_E_R_R1"), local(" 247,500"));
    EXPECT_EQ(form.text("PiT_Pi_L_R_R1"), " kOhm");
    EXPECT_EQ(form.text("PiT_T_E_P_R2"), local(" 818,182"));
    EXPECT_EQ(form.text("PiT_T_L_P_R2"), " \u00b5Watt");
    EXPECT_EQ(sink.focus, std::vector<std::string>{"PiT_C_Z"});
}

// The computation reads every input back; a field typed into without Enter
// is reported once, and nothing infinite or undefined reaches the screen.
TEST_P(PitTab, UnconfirmedTextInAnotherFieldIsReportedNotComputed) {
    const auto before = results();
    form.userEdit("PiT_E_Z", "abc");
    enter("PiT_E_dB", "10");
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(sink.general[0], "'abc' ist kein g\u00fcltiger Gleitkommawert.");
    EXPECT_EQ(results(), before);

    // Z = 0: Pi R1 is 0 and written; its power 0 / 0 stops the computation and
    // the report names the field to blame. Results before the fault stay.
    form.userEdit("PiT_E_Z", "0");
    enter("PiT_E_dB", "10");
    ASSERT_EQ(sink.general.size(), 2u);
    EXPECT_EQ(sink.general[1],
              "Ung\u00fcltige Gleitkommaoperation: \u201eZ\u201c (PI / T Att) ist 0.");
    auto expected = before;
    expected[0] = {local(" 0,000"), "  Ohm"};
    EXPECT_EQ(results(), expected);
    for (const auto& [value, unit] : results()) {
        EXPECT_EQ(value.find("inf"), std::string::npos);
        EXPECT_EQ(value.find("nan"), std::string::npos);
    }
}

TEST_P(PitTab, OptionsReformatTheInputsOnly) {
    enter("PiT_E_P", "0,5e4");  // 5000 mW: shown as 5,000 W
    form.state.DecimalPlaces = 1;
    form.reformat("PiT_Eingaben_formatieren");  // as the Options dialog calls it
    expectInputs(" 20,0", " 50,0", 8, " 5,0", 8);
    EXPECT_EQ(form.text("PiT_Pi_E_R_R1"), local(" 247,500"));  // results stay as computed
}

TEST_P(PitTab, FactoryDefaults) {
    form.setText("PiT_E_dB", " 3");
    form.setText("PiT_Pi_E_P_R3", " 1");
    ApplyFactoryDefaults(form);
    expectInputs(" 20,000", " 50,000", 8, " 1,000", 9);
    EXPECT_EQ(results(), local(kTwentyDb));
    EXPECT_TRUE(sink.errors.empty());
    EXPECT_TRUE(sink.general.empty());
}

TEST_P(PitTab, SettingsRoundTrip) {
    enter("PiT_E_dB", "6");
    enter("PiT_E_Z", "600");
    enter("PiT_E_P", "2500");
    form.setIndex("PiT_C_Z", 7);  // a unit index the file must keep as it is
    IniFile ini;
    StoreSettings(form, ini);
    EXPECT_EQ(ini.read("Pi-T-Att", "Daempfung"), local(" 6,000").substr(1));
    EXPECT_EQ(ini.read("Pi-T-Att", "Quellimpedanz-Einheit"), "7");
    EXPECT_EQ(ini.read("Pi-T-Att", "Quellleistung-Einheit"), "8");
    EXPECT_EQ(ini.read("Pi-T-Att", "Leistung_R1_Pi-Einheit"), "mWatt");  // 0,833 W

    Form again{sep()};
    BuildModel(again);
    RecordingSink quiet;
    again.setSink(&quiet);
    LoadSettings(again, ini);
    for (const char* name : {"PiT_E_dB", "PiT_E_Z", "PiT_E_P"})
        EXPECT_EQ(again.text(name), form.text(name));
    EXPECT_EQ(again.index("PiT_C_Z"), 7);
    EXPECT_EQ(again.index("PiT_C_P"), 8);
    for (const auto& [value, unit] : kResults) {
        EXPECT_EQ(again.text(value), form.text(value)) << value;
        EXPECT_EQ(again.text(unit), form.text(unit)) << unit;
    }
}

TEST(PitSettings, KeysInFileOrderAndDefaultsOfMissingKeys) {
    Form form(',');
    BuildModel(form);
    IniFile ini;
    StoreSettings(form, ini);
    const std::string file = ini.serialize();
    std::vector<std::string> order = {"[Pi-T-Att]",     "Daempfung=",
                                      "Quellimpedanz=", "Quellimpedanz-Einheit=",
                                      "Quellleistung=", "Quellleistung-Einheit="};
    for (const char* circuit : {"Pi", "T"}) {
        for (const char* key : {"Widerstand_R1_", "Leistung_R1_", "Widerstand_R23_", "Leistung_R2_",
                                "Leistung_R3_"}) {
            order.push_back(key + std::string(circuit) + "=");
            order.push_back(key + std::string(circuit) + "-Einheit=");
        }
    }
    std::size_t at = 0;
    for (const std::string& line : order) {
        const std::size_t found = file.find("\n" + line, at);
        ASSERT_NE(found, std::string::npos) << line;
        at = found + 1;
    }
    // The section ends there: the next line opens another section or ends the file.
    const std::size_t next = file.find("\n", at) + 1;
    EXPECT_TRUE(next == file.size() || file.compare(next, 1, "[") == 0);

    // A section without keys: the defaults, in the separator of the running program.
    Form dotted('.');
    BuildModel(dotted);
    LoadSettings(dotted, IniFile::parse("[Pi-T-Att]\r\n"));
    EXPECT_EQ(dotted.text("PiT_E_dB"), " 20.00");
    EXPECT_EQ(dotted.text("PiT_E_Z"), " 50.00");
    EXPECT_EQ(dotted.index("PiT_C_Z"), 8);
    EXPECT_EQ(dotted.text("PiT_E_P"), " 1.00");
    EXPECT_EQ(dotted.index("PiT_C_P"), 9);
    EXPECT_EQ(dotted.text("PiT_Pi_E_R_R1"), " 247.500");
    EXPECT_EQ(dotted.text("PiT_Pi_E_P_R1"), " 16.364");
    EXPECT_EQ(dotted.text("PiT_T_E_P_R3"), " 818.182");
}

// A power that shows as 0 is no power: the resistors are designed all the same
// and every power is 0, shown without a prefix item.
TEST_P(PitTab, ZeroPowerStillDesignsTheResistors) {
    choose("PiT_C_P", 0);      // " YW": 1 YW is the upper limit, accepted
    enter("PiT_E_P", "4e-7");  // 4e17 W, then re-ranged one step to ZW
    EXPECT_TRUE(sink.errors.empty());
    expectInputs(" 20,000", " 50,000", 8, " 0,000", 1);
    enter("PiT_E_dB", "30");
    EXPECT_TRUE(sink.general.empty()) << sink.general.front();
    EXPECT_EQ(results(), local({{" 789,779", " Ohm"},
                                {" 0,000", "  Watt"},
                                {" 53,266", " Ohm"},
                                {" 0,000", "  Watt"},
                                {" 0,000", "  Watt"},
                                {" 3,165", " Ohm"},
                                {" 0,000", "  Watt"},
                                {" 46,935", " Ohm"},
                                {" 0,000", "  Watt"},
                                {" 0,000", "  Watt"}}));
}

// An attenuation text of 0 (typed without Enter) designs nothing: Pi R1 = 0 is
// shown, then its power 0 / 0 stops the computation, naming the field.
TEST_P(PitTab, ZeroAttenuationStopsAtTheFirstUndefinedResult) {
    const auto before = results();
    form.userEdit("PiT_E_dB", local("0"));
    enter("PiT_E_Z", "50");
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(sink.general[0],
              "Ung\u00fcltige Gleitkommaoperation: \u201eD\u00e4mpfung\u201c (PI / T Att) ist 0.");
    auto expected = before;
    expected[0] = {local(" 0,000"), "  Ohm"};
    EXPECT_EQ(results(), expected);
}
