// The "T - Anpassnetzwerk" tab driven through the user's actions on the whole
// window model, with both decimal separators: the worked example, Q = 1 in
// "Vorgabe" mode and the Q the mode click proposes, the remembered Q held to the
// field's range, the swap, the first mode call, the settings section, and the
// inputs with which no network exists.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "calc/constants.h"
#include "calc/tnet.h"
#include "core/form.h"
#include "core/numtext.h"
#include "model_fixture.h"
#include "settings/ini.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::testing::RecordingSink;
using velkaro::testing::WindowModelTest;

namespace {

const std::vector<std::string> kComponents = {"T_E_HP_C1", "T_C_HP_C1", "T_E_HP_C2", "T_C_HP_C2",
                                              "T_E_HP_L",  "T_C_HP_L",  "T_E_TP_L1", "T_C_TP_L1",
                                              "T_E_TP_L2", "T_C_TP_L2", "T_E_TP_C",  "T_C_TP_C"};
const std::vector<std::string> kLosses = {"T_E_HP_Tl", "T_E_HP_B", "T_C_HP_B",
                                          "T_E_TP_Tl", "T_E_TP_B", "T_C_TP_B"};

class TTab : public WindowModelTest {
protected:
    void SetUp() override {
        WindowModelTest::SetUp();
        ApplyFactoryDefaults(form);
        form.state.DecimalPlaces = 3;
    }
    // The worked example in "Vorgabe" mode (Q = 1): 4 MHz, 250 Ohm to 50 Ohm.
    void workedExample() {
        enter("T_E_Z1", "250");
        enter("T_E_Z2", "50");
        enter("T_E_QL", "100");
        enter("T_E_F", "4");
    }
    std::vector<std::string> components() const { return snapshot(kComponents, {}); }
    std::vector<std::string> losses() const { return snapshot(kLosses, {}); }
    std::string lastGeneral() const { return sink.general.empty() ? "" : sink.general.back(); }
    void expectExampleForQ1() {
        expectField("T_E_Q", " 1,000");
        expectField("T_E_HP_C1", " 159,155");
        expectField("T_E_HP_C2", " 265,258");
        expectField("T_E_HP_L", " 4,974");
        expectField("T_E_TP_L1", " 9,947");
        expectField("T_E_TP_L2", " 5,968");
        expectField("T_E_TP_C", " 318,310");
        EXPECT_EQ(form.text("T_C_HP_L"), " \u00b5H");
        EXPECT_EQ(form.text("T_C_TP_C"), " pF");
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, TTab, ::testing::Values(',', '.'));

TEST_P(TTab, FirstStartShowsTheFactoryStateWithVorgabeMarked) {
    expectField("T_E_Q", " 1,000");
    expectField("T_E_Z1", " 250,000", "T_C_Z1", 8);
    expectField("T_E_HP_B", " 13,846");
    expectField("T_E_TP_Tl", " 0,1720");
    EXPECT_EQ(form.text("T_C_HP_B"), " MHz");
    EXPECT_TRUE(form.checked("T_RB_Vorgabe"));
    EXPECT_TRUE(form.at("T_E_Q").enabled);
    EXPECT_FALSE(form.checked("T_CB_QC"));
    EXPECT_TRUE(form.at("T_E_QC").enabled);
}

TEST_P(TTab, WorkedExample) {
    workedExample();
    expectExampleForQ1();
    expectField("T_E_HP_Tl", " 0,1720");
    expectField("T_E_TP_Tl", " 0,1720");
    expectField("T_E_HP_B", " 15,385");
    expectField("T_E_TP_B", " 20,513");
    EXPECT_EQ(form.text("T_C_TP_B"), " MHz");

    form.click("T_CB_QC");
    enter("T_E_QC", "500");
    expectExampleForQ1();
    expectField("T_E_HP_Tl", " 0,2060");
    expectField("T_E_TP_Tl", " 0,2060");
    expectField("T_E_HP_B", " 15,267");
    expectField("T_E_TP_B", " 20,356");
    EXPECT_TRUE(sink.errors.empty() && sink.general.empty());
}

TEST_P(TTab, VorgabeProposesAQOnceAndTheNextEntryGoesBackToOne) {
    workedExample();
    form.click("T_RB_Vorgabe");  // already checked: nothing happens
    form.click("T_RB_Eingabe");
    form.click("T_RB_Vorgabe");
    EXPECT_FALSE(form.at("T_E_Q").enabled);
    expectField("T_E_Q", " 2,200");
    expectField("T_E_HP_C1", " 72,343");
    expectField("T_E_HP_C2", " 149,853");
    expectField("T_E_HP_L", " 7,735");
    const auto proposed = components();

    // A quality entry: Q back to 1 for loss and bandwidth only.
    enter("T_E_QL", "100");
    expectField("T_E_Q", " 1,000");
    EXPECT_EQ(components(), proposed);
    expectField("T_E_HP_Tl", " 0,1720");
    expectField("T_E_TP_B", " 20,513");

    // The next frequency entry shows the network for Q = 1 again.
    enter("T_E_F", "4");
    expectExampleForQ1();
}

TEST_P(TTab, EnteredQWhateverTheModeAndNoMinimum) {
    workedExample();
    form.click("T_RB_Eingabe");  // the shared Q of a first start: 5
    expectField("T_E_Q", " 5,000");
    enter("T_E_Q", "0,01");  // far below sqrt(Z1/Z2 - 1): still a T network
    EXPECT_TRUE(sink.errors.empty() && sink.general.empty());
    const TElements e = tElements(kTwoPi * 4e6L, tReactances(250.0L, 50.0L, 0.01L));
    EXPECT_EQ(form.text("T_E_HP_L"), withOneBlank(formatFixed(e.hpL * 1e6, 3, sep())));
    enter("T_E_Q", "0,0009");
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0],
              local("Die Eingabe0,0009ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:1e-3 "
                    "bis 1e4"));
}

TEST_P(TTab, RememberedQIsHeldToTheFieldsRange) {
    workedExample();
    for (const int places : {0, 3}) {
        SCOPED_TRACE(places);
        form.state.DecimalPlaces = places;
        // Below: the smallest possible Q, sqrt(Z1/Z2 - 1) + 0,1 = 2,1.
        form.click("T_RB_Vorgabe");
        form.state.EnteredOperatingQ = 0.0005;
        sink.errors.clear();
        form.click("T_RB_Eingabe");
        ASSERT_EQ(sink.errors.size(), 1u);
        EXPECT_EQ(sink.errors[0], "Die Eingabe der Betriebsg\u00fcte" +
                                      withOneBlank(formatFixed(0.0005L, places, sep())) +
                                      " mu\u00df gr\u00f6\u00dfer als " + local("0,001") +
                                      " sein!\rEs wird der kleinst m\u00f6gliche Wert eingesetzt!");
        EXPECT_EQ(form.text("T_E_Q"), withOneBlank(formatFixed(2.1L, places, sep())));
        TElements e = tElements(kTwoPi * 4e6L, tReactances(250.0L, 50.0L, 2.1L));
        EXPECT_EQ(form.text("T_E_TP_L1"), withOneBlank(formatFixed(e.tpL1 * 1e6, places, sep())));

        // Above: the largest, 10000.
        form.click("T_RB_Vorgabe");
        form.state.EnteredOperatingQ = 2e4;
        sink.errors.clear();
        form.click("T_RB_Eingabe");
        ASSERT_EQ(sink.errors.size(), 1u);
        EXPECT_EQ(sink.errors[0], "Die Eingabe der Betriebsg\u00fcte" +
                                      withOneBlank(formatFixed(2e4L, places, sep())) +
                                      " mu\u00df kleiner als 10000 sein!\rEs wird der "
                                      "gr\u00f6\u00dfte m\u00f6gliche Wert eingesetzt!");
        EXPECT_EQ(form.text("T_E_Q"), withOneBlank(formatFixed(1e4L, places, sep())));
        e = tElements(kTwoPi * 4e6L, tReactances(250.0L, 50.0L, 1e4L));
        EXPECT_EQ(form.text("T_E_HP_C1"), withOneBlank(formatFixed(e.hpC1 * 1e15, places, sep())));
        EXPECT_EQ(form.text("T_C_HP_C1"), " fF");
    }
    // The limits themselves are Q.
    form.click("T_RB_Vorgabe");
    form.state.EnteredOperatingQ = 1e-3;
    sink.errors.clear();
    form.click("T_RB_Eingabe");
    EXPECT_TRUE(sink.errors.empty());
}

TEST_P(TTab, ZEntriesSwapOnThisTabOnly) {
    workedExample();
    const std::string piZ1 = form.text("Pi_E_Z1");
    enter("T_E_Z2", "500");
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0],
              "Die Eingabe von Z1 ist kleiner oder gleich der Eingabe von Z2\r\rum eine korrekte "
              "Berechnung durchzuf\u00fchren werden die Eingaben getauscht! ");
    expectField("T_E_Z1", " 500,000", "T_C_Z1", 8);
    expectField("T_E_Z2", " 250,000", "T_C_Z2", 8);
    EXPECT_EQ(form.text("Pi_E_Z1"), piZ1);
    // Computed with the exchanged values.
    const TElements e = tElements(kTwoPi * 4e6L, tReactances(500.0L, 250.0L, 1.0L));
    EXPECT_EQ(form.text("T_E_TP_L2"), withOneBlank(formatFixed(e.tpL2 * 1e6, 3, sep())));
}

TEST_P(TTab, UndefinedInputsAreReportedNotComputed) {
    workedExample();
    const auto before = components();
    const auto lossesBefore = losses();
    // Z1 below Z2 from the settings file: no swap outside the Z entries.
    form.setText("T_E_Z1", local(" 20,000"));
    enter("T_E_F", "5");
    form.click("T_CB_QC");
    enter("T_E_QL", "90");
    form.click("T_RB_Eingabe");
    enter("T_E_Q", "3");
    form.click("T_RB_Vorgabe");
    ASSERT_EQ(sink.general.size(), 6u);
    for (const auto& m : sink.general) {
        EXPECT_EQ(m,
                  "\u201eImpedanz Z1\u201c (T - Anpassnetzwerk) ist kleiner als \u201eImpedanz "
                  "Z2\u201c: das Netzwerk wird von der gr\u00f6\u00dferen zur kleineren Impedanz "
                  "berechnet. Bitte Z1 oder Z2 mit Enter best\u00e4tigen, dann werden die beiden "
                  "getauscht.");
    }
    EXPECT_EQ(components(), before);
    EXPECT_EQ(losses(), lossesBefore);

    // Qualities of 0.
    form.setText("T_E_Z1", local(" 250,000"));
    sink.general.clear();
    enter("T_E_QL", "0");
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(lastGeneral(),
              "\u201eG\u00fcte L\u201c (T - Anpassnetzwerk) muss gr\u00f6\u00dfer als "
              "0 sein, sonst sind D\u00e4mpfung und Bandbreite nicht definiert.");
    enter("T_E_QL", "100");
    enter("T_E_QC", "0");  // checked above
    ASSERT_EQ(sink.general.size(), 2u);
    EXPECT_NE(lastGeneral().find("\u201eG\u00fcte C\u201c"), std::string::npos);
    form.click("T_CB_QC");  // unchecked: the capacitors do not count
    EXPECT_EQ(sink.general.size(), 2u);

    // A frequency of 0 restored from the file.
    form.setText("T_E_F", local(" 0,000"));
    enter("T_E_QL", "100");
    ASSERT_EQ(sink.general.size(), 3u);
    EXPECT_EQ(lastGeneral(),
              "\u201eFrequenz F\u201c (T - Anpassnetzwerk) muss gr\u00f6\u00dfer als 0 sein.");
    for (const auto& [name, c] : form.controls()) {
        EXPECT_EQ(c.text.find("inf"), std::string::npos) << name;
        EXPECT_EQ(c.text.find("nan"), std::string::npos) << name;
    }
}

TEST_P(TTab, SettingsRoundTripAndFirstModeCall) {
    workedExample();
    form.click("T_RB_Eingabe");
    enter("T_E_Q", "1,5");
    form.click("T_CB_QC");
    form.setIndex("T_C_Z1", 7);
    enter("T_E_Z1", "1");
    IniFile ini;
    StoreSettings(form, ini);
    EXPECT_EQ(ini.read("T-Netz", "Betriebsg\u00fcte"), local("1,500"));
    EXPECT_EQ(ini.read("T-Netz", "Z1-Einheit"), "7");
    EXPECT_EQ(ini.read("T-Netz", "L-Einheit"), "\u00b5H");

    Form again{sep()};
    BuildModel(again);
    RecordingSink quiet;
    again.setSink(&quiet);
    LoadSettings(again, ini);
    for (const auto& [name, c] : form.controls()) {
        if (name.rfind("T_", 0) != 0) continue;
        EXPECT_EQ(again.at(name).text, c.text) << name;
        EXPECT_EQ(again.at(name).index, c.index) << name;
        EXPECT_EQ(again.at(name).checked, c.checked) << name;
    }
    EXPECT_TRUE(again.at("T_E_Q").enabled);
    EXPECT_TRUE(quiet.errors.empty() && quiet.general.empty());
    again.click("T_RB_Vorgabe");
    EXPECT_EQ(again.state.EnteredOperatingQ, 1.5);
    EXPECT_EQ(again.text("T_E_Q"), local(" 4,559"));  // sqrt(19) + 0,2

    // Missing keys: the defaults this section has always had.
    Form empty{sep()};
    BuildModel(empty);
    LoadSettings(empty, IniFile::parse("[T-Netz]\r\n"));
    EXPECT_EQ(empty.text("T_E_Q"), local(" 1,000"));
    EXPECT_EQ(empty.index("T_C_Z1"), 7);
    EXPECT_EQ(empty.text("T_E_HP_B"), local(" 837,567"));
    EXPECT_EQ(empty.text("T_C_HP_B"), " kHz");
    EXPECT_TRUE(empty.checked("T_RB_Vorgabe"));
}
