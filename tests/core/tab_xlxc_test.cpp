// The "XL / XC" tab driven through the user's actions on the whole window
// model, with both decimal separators; its settings sections and factory state.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calc/tab_xlxc.h"
#include "calc/window.h"
#include "model_fixture.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::testing::WindowModelTest;

namespace {

const std::vector<std::string> kControls = {
    "XL_E_F", "XL_C_F", "XL_E_L", "XL_C_L", "XL_E_X", "XL_C_X", "XL_E_Z", "XL_C_Z", "XL_E_Q",
    "XC_E_F", "XC_C_F", "XC_E_C", "XC_C_C", "XC_E_X", "XC_C_X", "XC_E_Z", "XC_C_Z", "XC_E_Q"};

// Starts as a first start does: factory texts, three places, reactance modes.
class XLXCTab : public WindowModelTest {
protected:
    // The factory start sets the places itself; only what follows it is recorded.
    void SetUp() override {
        BuildModel(form);
        ApplyFactoryDefaults(form);
        form.setSink(&sink);
    }

    // Texts and items (and enabled states) of every field of the tab.
    static std::vector<std::string> snapshot(const Form& f, bool withEnabled = true) {
        std::vector<std::string> s;
        for (const auto& c : kControls) {
            s.push_back(f.text(c) + "|" + std::to_string(f.index(c)) +
                        (withEnabled ? (f.at(c).enabled ? "|on" : "|off") : ""));
        }
        return s;
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, XLXCTab, ::testing::Values(',', '.'));

TEST_P(XLXCTab, FirstStartShowsFactoryTextsWithReactanceComputed) {
    expectField("XL_E_F", " 1,000", "XL_C_F", 6);
    expectField("XL_E_L", " 10,000", "XL_C_L", 10);
    expectField("XL_E_X", " 62,832", "XL_C_X", 8);
    expectField("XL_E_Z", " 62,840", "XL_C_Z", 8);
    expectField("XL_E_Q", " 62,830");
    expectField("XC_E_C", " 1,000", "XC_C_C", 10);
    expectField("XC_E_X", " 159,155", "XC_C_X", 9);
    expectField("XC_E_Z", " 159,175", "XC_C_Z", 9);
    expectField("XC_E_Q", " 459,150");
    EXPECT_TRUE(form.checked("XL_RB_X") && form.checked("XC_RB_X"));
    EXPECT_EQ(form.state.XLMode, 3);
    EXPECT_EQ(form.state.XCMode, 3);
    for (const char* off : {"XL_E_X", "XL_C_X", "XC_E_X", "XC_C_X"}) {
        EXPECT_FALSE(form.at(off).enabled) << off;
    }
    // The Options dialog's places reach both calculators.
    form.click("RadioButton1");
    expectField("XL_E_Q", " 62,8");
    expectField("XC_E_Z", " 159,2", "XC_C_Z", 9);
}

TEST_P(XLXCTab, CoilReactanceAndImpedanceReadTheRoundedReactanceBack) {
    enter("XL_E_Q", "50");
    enter("XL_E_F", "2,5");  // 2.5 MHz · 10 µH · 2π = 157.0796 Ω
    expectField("XL_E_X", " 157,080", "XL_C_X", 8);
    expectField("XL_E_Z", " 157,111", "XL_C_Z", 8);  // R = 157.080 / 50
    enter("XL_E_F", "1");  // 62.8319 Ω shown as 62,832; Z from 62.832: 62.84457
    expectField("XL_E_F", " 1,000", "XL_C_F", 6);
    expectField("XL_E_X", " 62,832", "XL_C_X", 8);
    expectField("XL_E_Z", " 62,845", "XL_C_Z", 8);
    enter("XL_E_Z", "50");  // Z below X: R = sqrt(62.832² − 50²), Q = X / R
    expectField("XL_E_Q", " 1,651");
    EXPECT_TRUE(sink.errors.empty() && sink.general.empty() && sink.plain.empty());
}

TEST_P(XLXCTab, CapacitorReactanceAndTheSeriesLossModel) {
    enter("XC_E_Q", "0,5");
    enter("XC_E_F", "1");  // 1 / (2π · 1 MHz · 1 µF) = 0.159155 Ω
    expectField("XC_E_X", " 159,155", "XC_C_X", 9);
    // D = 0.0005 adds R = X · D: Z stays 0.159155 Ω (not the 318 Ω of R = X / D).
    expectField("XC_E_Z", " 159,155", "XC_C_Z", 9);

    // A 3-4-5 triangle from a typed reactance: X = 160 mΩ, D = 0.75 gives 200 mΩ.
    form.click("XC_RB_F");
    enter("XC_E_X", "160");
    enter("XC_E_Q", "750");
    expectField("XC_E_Z", " 200,000", "XC_C_Z", 9);
    enter("XC_E_Z", "340");  // R = 300 mΩ: D = 1.875, shown in thousandths
    expectField("XC_E_Q", " 1875,000");
    enter("XC_E_Q", "750");
    enter("XC_E_Q", "1875");  // read back, it gives the entered impedance again
    expectField("XC_E_Z", " 340,000", "XC_C_Z", 9);
    EXPECT_TRUE(sink.errors.empty() && sink.general.empty() && sink.plain.empty());
}

TEST_P(XLXCTab, ImpedanceEqualToReactance) {
    // Coil: no loss, so no finite quality; the quality keeps its text.
    form.enter("XL_C_Z");
    form.chooseItem("XL_C_Z", 7);  // 62,840 kΩ: Q = 62.832 / 62839.97
    expectField("XL_E_Q", " 0,001");
    enter("XL_E_Z", "0,062832");  // the reactance through another prefix
    ASSERT_EQ(sink.plain.size(), 1u);
    EXPECT_EQ(sink.plain[0], "Z und X sind gleich: die G\u00fcte der Spule ist unendlich.");
    expectField("XL_E_Q", " 0,001");
    expectField("XL_E_Z", " 62,832", "XL_C_Z", 8);
    // Capacitor: a lossless one, D = 0, without a message.
    enter("XC_E_Z", "159,155");
    expectField("XC_E_Q", " 0,000");
    EXPECT_EQ(sink.plain.size(), 1u);
    EXPECT_TRUE(sink.errors.empty() && sink.general.empty());
}

TEST_P(XLXCTab, LimitsOfQualityLossFactorAndInductance) {
    enter("XL_E_Q", "0,00001");  // accepted: R = X / Q = 6.2832 MΩ
    expectField("XL_E_Q", " 0,000");
    expectField("XL_E_Z", " 6,283", "XL_C_Z", 6);
    enter("XL_E_Q", "0,0000001");
    enter("XL_E_Q", "1000001");
    enter("XC_E_Q", "0");        // 0 · 0.001 lies below 1e-14
    enter("XC_E_Q", "1e18");     // 1e15 after the scale
    enter("XC_E_Q", "2e14");     // 2e11 after the scale: accepted, R = X · D
    enter("XL_E_L", "0,00005");  // 5e-11 H
    const std::string range = "  ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:";
    EXPECT_EQ(sink.errors,
              (std::vector<std::string>{
                  local("Die Eingabe0,0000001") + range + "1e-6 bis 1e+6",
                  "Die Eingabe1000001" + range + "1e-6 bis 1e+6",
                  "Die Eingabe0" + range + "1e-14 bis 1e+14",
                  "Die Eingabe1e18" + range + "1e-14 bis 1e+14",
                  local("Die Eingabe0,00005 \u00b5H") + range + "1e-10 bis 1e+12 Henry"}));
    expectField("XL_E_Q", " 0,000");
    expectField("XC_E_Z", " 31,831", "XC_C_Z", 5);
    expectField("XL_E_L", " 10,000");
    // The quality now reads as 0: the next impedance step cannot divide by it,
    // and the report says which field to correct.
    enter("XL_E_F", "2");
    EXPECT_EQ(sink.general,
              std::vector<std::string>{
                  "Division durch Null: \u201eG\u00fcte von L\u201c (XL / XC) ist 0."});
    expectField("XL_E_X", " 125,664", "XL_C_X", 8);
}

TEST_P(XLXCTab, ModeClickSetsEnabledStatesAndComputesNothing) {
    struct Case {
        const char* radio;
        std::vector<std::string> disabled;
    };
    const std::vector<Case> cases = {{"XL_RB_F", {"XL_E_F", "XL_C_F", "XC_E_X", "XC_C_X"}},
                                     {"XL_RB_L", {"XL_E_L", "XL_C_L", "XC_E_X", "XC_C_X"}},
                                     {"XL_RB_X", {"XL_E_X", "XL_C_X", "XC_E_X", "XC_C_X"}},
                                     {"XC_RB_F", {"XL_E_X", "XL_C_X", "XC_E_F", "XC_C_F"}},
                                     {"XC_RB_C", {"XL_E_X", "XL_C_X", "XC_E_C", "XC_C_C"}},
                                     {"XC_RB_X", {"XL_E_X", "XL_C_X", "XC_E_X", "XC_C_X"}}};
    const std::vector<std::string> values = snapshot(form, false);
    for (const Case& c : cases) {
        form.click(c.radio);
        for (const auto& name : kControls) {
            const bool off =
                std::find(c.disabled.begin(), c.disabled.end(), name) != c.disabled.end();
            EXPECT_EQ(form.at(name).enabled, !off) << c.radio << " " << name;
        }
        EXPECT_EQ(snapshot(form, false), values) << c.radio;
    }
    EXPECT_TRUE(sink.errors.empty() && sink.general.empty());
}

TEST_P(XLXCTab, EachModeComputesItsQuantity) {
    form.click("XL_RB_L");
    enter("XL_E_F", "2");  // L = 62.832 Ω / (2π · 2 MHz)
    expectField("XL_E_L", " 5,000", "XL_C_L", 10);
    form.click("XL_RB_F");
    enter("XL_E_L", "20");  // f = 62.832 Ω / (2π · 20 µH)
    expectField("XL_E_F", " 500,001", "XL_C_F", 7);
    form.click("XC_RB_C");
    enter("XC_E_X", "318,31");  // C = 1 / (2π · 1 MHz · 0.31831 Ω)
    expectField("XC_E_C", " 500,000", "XC_C_C", 11);
    form.click("XC_RB_F");
    enter("XC_E_C", "1");  // nF: f = 1 / (2π · 0.31831 Ω · 1 nF)
    expectField("XC_E_F", " 500,000", "XC_C_F", 6);
    // A unit change computes too, and hands the focus back.
    form.click("XL_RB_X");
    form.enter("XL_C_L");
    form.chooseItem("XL_C_L", 9);  // 20 mH at 500.001 kHz
    expectField("XL_E_X", " 62,832", "XL_C_X", 7);
    EXPECT_EQ(sink.focus, std::vector<std::string>{"XL_C_L"});
}

TEST_P(XLXCTab, SettingsRoundTrip) {
    form.click("XL_RB_L");
    form.click("XC_RB_F");
    enter("XL_E_Q", "40");
    form.enter("XC_C_Z");
    form.chooseItem("XC_C_Z", 8);
    IniFile ini;
    StoreSettings(form, ini);
    EXPECT_EQ(ini.read("XL", "F-L-X"), "2");
    EXPECT_EQ(ini.read("XC", "F-C-X"), "1");
    EXPECT_EQ(ini.read("XL", "G\u00fcte-L"), local("40,000"));

    Form restored(sep());
    BuildModel(restored);
    LoadSettings(restored, ini);
    EXPECT_EQ(snapshot(restored), snapshot(form));
    EXPECT_EQ(restored.state.XLMode, 2);
    EXPECT_EQ(restored.state.XCMode, 1);
    EXPECT_TRUE(restored.checked("XL_RB_L") && restored.checked("XC_RB_F"));
    EXPECT_FALSE(restored.at("XL_E_L").enabled || restored.at("XC_C_F").enabled);

    // Without the sections every key takes its load default.
    Form empty(sep());
    BuildModel(empty);
    LoadSettings(empty, IniFile{});
    EXPECT_EQ(empty.state.XLMode, 3);
    EXPECT_EQ(empty.text("XC_E_X"), local(" 159,150"));
    EXPECT_EQ(empty.index("XC_C_C"), 11);
}

TEST(XLXCPhysics, LossResistanceOfTheSeriesModel) {
    EXPECT_EQ(lossResistance(5.0, 3.0), 4.0L);
    EXPECT_EQ(lossResistance(3.0, 5.0), 4.0L);
    // Equal up to the last bit of a double: no resistance, not a tiny one.
    EXPECT_EQ(lossResistance(62.832, std::nextafter(62.832, 100.0)), 0.0L);
    EXPECT_GT(lossResistance(62.832, 62.833), 0.0L);
}
