// The "Pi - Anpassnetzwerk" tab driven through the user's actions on the whole
// window model, with both decimal separators: the worked example, the modes and
// the Q they use, the messages about Q and the swap of Z1 and Z2, the first
// mode call after start-up, the settings section, and the inputs with which no
// network exists.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "calc/constants.h"
#include "calc/pinet.h"
#include "core/form.h"
#include "core/numtext.h"
#include "model_fixture.h"
#include "settings/ini.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::testing::RecordingSink;
using velkaro::testing::WindowModelTest;

namespace {

const std::vector<std::string> kResults = {
    "Pi_E_HP_C",  "Pi_C_HP_C", "Pi_E_HP_L1", "Pi_C_HP_L1", "Pi_E_HP_L2", "Pi_C_HP_L2",
    "Pi_E_TP_L",  "Pi_C_TP_L", "Pi_E_TP_C1", "Pi_C_TP_C1", "Pi_E_TP_C2", "Pi_C_TP_C2",
    "Pi_E_HP_TL", "Pi_E_HP_B", "Pi_C_HP_B",  "Pi_E_TP_TL", "Pi_E_TP_B",  "Pi_C_TP_B"};

class PiTab : public WindowModelTest {
protected:
    // The program's first start: factory texts, "Vorgabe" marked.
    void SetUp() override {
        WindowModelTest::SetUp();
        ApplyFactoryDefaults(form);
        form.state.DecimalPlaces = 3;
    }
    // The worked example: 10 MHz, 1 kOhm to 50 Ohm, coils of Q 100.
    void workedExample() {
        form.setIndex("Pi_C_F", 6);
        enter("Pi_E_F", "10");
        form.setIndex("Pi_C_Z1", 7);
        enter("Pi_E_Z1", "1");
        enter("Pi_E_Z2", "50");
        enter("Pi_E_QL", "100");
    }
    std::vector<std::string> results() const { return snapshot(kResults, {}); }
    std::string lastGeneral() const { return sink.general.empty() ? "" : sink.general.back(); }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, PiTab, ::testing::Values(',', '.'));

TEST_P(PiTab, FirstStartShowsTheFactoryStateWithVorgabeMarked) {
    expectField("Pi_E_Q", " 4,996");
    expectField("Pi_E_F", " 3,600", "Pi_C_F", 6);
    expectField("Pi_E_Z1", " 1,200", "Pi_C_Z1", 7);
    expectField("Pi_E_Z2", " 50,000", "Pi_C_Z2", 8);
    expectField("Pi_E_HP_TL", " 0,3816");
    expectField("Pi_E_TP_C2", " 252,681");
    EXPECT_EQ(form.text("Pi_C_HP_B"), " kHz");
    EXPECT_EQ(form.text("Pi_C_TP_L"), " \u00b5H");
    EXPECT_TRUE(form.checked("Pi_RB_Vorgabe"));
    EXPECT_FALSE(form.checked("Pi_RB_Eingabe"));
    // Marking the mode at start-up did nothing else: Q stays editable, the
    // check box unchecked with its quality edit enabled, the shared Q at 5.
    EXPECT_TRUE(form.at("Pi_E_Q").enabled);
    EXPECT_FALSE(form.checked("Pi_CB_QC"));
    EXPECT_TRUE(form.at("Pi_E_QC").enabled);
    EXPECT_EQ(form.state.EnteredOperatingQ, 5.0);
    EXPECT_TRUE(form.at("Pi_E_HP_C").readOnly);
    EXPECT_TRUE(form.at("Pi_C_HP_C").readOnly);
    EXPECT_TRUE(sink.errors.empty() && sink.general.empty());
}

TEST_P(PiTab, WorkedExampleWithProposedQ) {
    workedExample();
    expectField("Pi_E_Q", " 4,559");
    expectField("Pi_E_HP_L1", " 3,491");
    EXPECT_EQ(form.text("Pi_C_HP_L1"), " \u00b5H");
    expectField("Pi_E_HP_L2", " 2,665");
    expectField("Pi_E_HP_C", " 71,373");
    EXPECT_EQ(form.text("Pi_C_HP_C"), " pF");
    expectField("Pi_E_HP_TL", " 0,3584");
    expectField("Pi_E_HP_B", " 2,474");
    EXPECT_EQ(form.text("Pi_C_HP_B"), " MHz");
    expectField("Pi_E_TP_C1", " 72,557");
    expectField("Pi_E_TP_C2", " 95,056");
    expectField("Pi_E_TP_L", " 3,549");
    expectField("Pi_E_TP_TL", " 0,2084");
    expectField("Pi_E_TP_B", " 4,217");
    EXPECT_TRUE(sink.errors.empty() && sink.general.empty());

    // Capacitors of Q 500: only loss and bandwidth change.
    const auto before = results();
    form.click("Pi_CB_QC");
    EXPECT_EQ(form.at("Pi_E_QC").fontColour, colour::kBlack);
    enter("Pi_E_QC", "500");
    expectField("Pi_E_HP_TL", " 0,3988");
    expectField("Pi_E_HP_B", " 2,485");
    expectField("Pi_E_TP_TL", " 0,2796");
    expectField("Pi_E_TP_B", " 4,252");
    const auto after = results();
    for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(after[i], before[i]) << kResults[i];

    // Unchecked again: the capacitors count no more, the edit greys out.
    form.click("Pi_CB_QC");
    EXPECT_FALSE(form.at("Pi_E_QC").enabled);
    EXPECT_EQ(form.at("Pi_E_QC").fontColour, colour::kSilver);
    expectField("Pi_E_HP_TL", " 0,3584");
    expectField("Pi_E_TP_B", " 4,217");
}

TEST_P(PiTab, QualityEntriesReformatFirstAndChangeOnlyLossAndBandwidth) {
    workedExample();
    const auto before = results();
    enter("Pi_E_QL", "50,4567");
    expectField("Pi_E_QL", " 50,457");
    // Computed with the rounded text.
    const PiReactances x = piReactances(1000.0L, 50.0L, piProposedQ(1000.0L, 50.0L));
    const PiLosses l = piLosses(10e6L, 1000.0L, 50.0L, x, 50.457L, std::nullopt);
    EXPECT_EQ(form.text("Pi_E_HP_TL"), withOneBlank(formatFixed(l.highPass.loss, 4, sep())));
    EXPECT_EQ(form.text("Pi_E_TP_TL"), withOneBlank(formatFixed(l.lowPass.loss, 4, sep())));
    const auto after = results();
    for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(after[i], before[i]) << kResults[i];
    EXPECT_NE(after[12], before[12]);
}

TEST_P(PiTab, TypedQBelowTheMinimumIsReplaced) {
    workedExample();
    form.state.DecimalPlaces = 2;
    form.click("Pi_RB_Eingabe");
    sink.errors.clear();
    enter("Pi_E_Q", "3");
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0],
              local("Die Eingabe der Betriebsg\u00fcte 3 mu\u00df gr\u00f6\u00dfer sein als "
                    "4,36\rEs wird der kleinst m\u00f6gliche Wert eingesetzt!"));
    // Q = 4,558899, shown after the reformat; the components are those of the
    // proposed Q.
    expectField("Pi_E_Q", " 4,56");
    expectField("Pi_E_HP_C", " 71,37");
    expectField("Pi_E_TP_L", " 3,55");

    // Exactly the minimum is no Q either; above it is taken as typed.
    sink.errors.clear();
    enter("Pi_E_Q", "6");
    EXPECT_TRUE(sink.errors.empty());
    expectField("Pi_E_Q", " 6,00");
    const PiElements e = piElements(kTwoPi * 10e6L, piReactances(1000.0L, 50.0L, 6.0L));
    EXPECT_EQ(form.text("Pi_E_HP_C"), withOneBlank(formatFixed(e.hpC * 1e12, 2, sep())));
}

TEST_P(PiTab, QOutsideItsRangeIsRefusedWithTheTightMessage) {
    form.click("Pi_RB_Eingabe");
    sink.errors.clear();
    enter("Pi_E_Q", "20000");
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0],
              "Die Eingabe20000ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:1e-3 bis 1e4");
    expectField("Pi_E_Q", " 5,000");
}

TEST_P(PiTab, VorgabeThenEingabeBringsTheEarlierQBack) {
    workedExample();
    form.click("Pi_RB_Eingabe");  // the shared Q of a first start: 5
    EXPECT_TRUE(form.at("Pi_E_Q").enabled);
    expectField("Pi_E_Q", " 5,000");
    enter("Pi_E_Q", "7,25");
    const auto withTyped = results();

    form.click("Pi_RB_Vorgabe");
    EXPECT_FALSE(form.at("Pi_E_Q").enabled);
    EXPECT_EQ(form.state.EnteredOperatingQ, 7.25);
    expectField("Pi_E_Q", " 4,559");
    EXPECT_NE(results(), withTyped);

    form.click("Pi_RB_Eingabe");
    expectField("Pi_E_Q", " 7,250");
    EXPECT_EQ(results(), withTyped);
    EXPECT_TRUE(sink.errors.empty() && sink.general.empty());
}

TEST_P(PiTab, RememberedQBelowTheMinimumIsReplacedOnEingabe) {
    workedExample();
    form.state.EnteredOperatingQ = 2.0;
    form.click("Pi_RB_Eingabe");
    ASSERT_EQ(sink.errors.size(), 1u);
    // No blank after "Betriebsgüte": the field's text brings one.
    EXPECT_EQ(sink.errors[0],
              local("Die Eingabe der Betriebsg\u00fcte 2,000 mu\u00df gr\u00f6\u00dfer "
                    "sein als 4,359 sein!\rEs wird der kleinst m\u00f6gliche Wert "
                    "eingesetzt!"));
    // Minimum + 0,1 in the general format, without a leading blank.
    EXPECT_EQ(form.text("Pi_E_Q"), local("4,45889894354067"));
    const PiElements e =
        piElements(kTwoPi * 10e6L, piReactances(1000.0L, 50.0L, piMinimumQ(1000.0L, 50.0L) + 0.1L));
    EXPECT_EQ(form.text("Pi_E_HP_C"), withOneBlank(formatFixed(e.hpC * 1e12, 3, sep())));
}

TEST_P(PiTab, EnteredQIsSharedWithTheTTab) {
    form.click("Pi_RB_Eingabe");
    enter("Pi_E_Q", "6,5");
    form.click("Pi_RB_Vorgabe");  // keeps 6,5
    form.click("T_RB_Eingabe");   // the T tab brings it back
    expectField("T_E_Q", " 6,500");
    enter("T_E_Q", "0,5");
    form.click("T_RB_Vorgabe");   // keeps 0,5 ...
    form.click("Pi_RB_Eingabe");  // ... which is no Q for 1,2 kOhm to 50 Ohm
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_NE(sink.errors[0].find(local(" 0,500 mu\u00df")), std::string::npos);
}

TEST_P(PiTab, ZEntriesSwapOnThisTabOnly) {
    const std::string tZ1 = form.text("T_E_Z1");
    enter("Pi_E_Z2", "2000");
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0],
              "Die Eingabe von Z1 ist kleiner oder gleich der Eingabe von Z2\r\rum eine korrekte "
              "Berechnung durchzuf\u00fchren werden die Eingaben getauscht! ");
    // Written ranged by the swap; the reformat leaves them so.
    expectField("Pi_E_Z1", " 2,000", "Pi_C_Z1", 7);
    expectField("Pi_E_Z2", " 1,200", "Pi_C_Z2", 7);
    EXPECT_EQ(form.text("T_E_Z1"), tZ1);
    if (form.has("L_E_Z1")) {
        EXPECT_EQ(form.text("L_E_Z1"), local(" 300,000"));
    }
    // Computed with the exchanged values: Q for 2 kOhm to 1,2 kOhm.
    expectField("Pi_E_Q", " 1,016");

    // Equal values swap too (and stay equal); Z1 = Z2 has its network.
    sink.errors.clear();
    form.setIndex("Pi_C_Z1", 7);
    enter("Pi_E_Z1", "1,2");
    EXPECT_EQ(sink.errors.size(), 1u);
    expectField("Pi_E_Q", " 0,200");
    EXPECT_TRUE(sink.general.empty());
}

TEST_P(PiTab, FrequencyAndQHaveNoSwap) {
    // Z1 below Z2 can only come back from the settings file.
    form.setText("Pi_E_Z1", local(" 20,000"));
    form.setIndex("Pi_C_Z1", 8);
    const auto before = results();
    enter("Pi_E_F", "7");
    EXPECT_TRUE(sink.errors.empty());
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(lastGeneral(),
              "\u201eImpedanz Z1\u201c (Pi - Anpassnetzwerk) ist kleiner als \u201eImpedanz "
              "Z2\u201c: das Netzwerk wird von der gr\u00f6\u00dferen zur kleineren Impedanz "
              "berechnet. Bitte Z1 oder Z2 mit Enter best\u00e4tigen, dann werden die beiden "
              "getauscht.");
    EXPECT_EQ(results(), before);
    expectField("Pi_E_Q", " 4,996");

    // The same for every other computation.
    enter("Pi_E_QL", "80");
    form.click("Pi_CB_QC");
    form.click("Pi_RB_Eingabe");
    enter("Pi_E_Q", "8");
    form.click("Pi_RB_Vorgabe");
    EXPECT_EQ(sink.general.size(), 6u);
    for (const auto& m : sink.general) EXPECT_EQ(m, lastGeneral());
    EXPECT_EQ(results(), before);
}

TEST_P(PiTab, EingabeQTooSmallForNewImpedancesIsReported) {
    workedExample();
    form.click("Pi_RB_Eingabe");  // Q 5, enough for 1 kOhm to 50 Ohm
    const auto before = results();
    enter("Pi_E_Z1", "2");  // 2 kOhm: Q must exceed sqrt(39) = 6,245
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(lastGeneral(),
              "Die \u201eBetriebsg\u00fcte\u201c (Pi - Anpassnetzwerk) muss f\u00fcr "
              "diese Impedanzen gr\u00f6\u00dfer als " +
                  local("6,245") +
                  " sein, sonst gibt es kein Pi-Glied. Bitte eine "
                  "gr\u00f6\u00dfere Betriebsg\u00fcte eingeben oder "
                  "\u201eVorgabe\u201c w\u00e4hlen.");
    EXPECT_EQ(results(), before);
    // Nothing computed, so nothing reformatted: the entry stands as typed.
    expectField("Pi_E_Z1", "2", "Pi_C_Z1", 7);
    // A Q above it computes.
    enter("Pi_E_Q", "6,5");
    EXPECT_EQ(sink.general.size(), 1u);
    EXPECT_NE(results(), before);
}

TEST_P(PiTab, QualityZeroIsReported) {
    workedExample();
    const auto before = results();
    enter("Pi_E_QL", "0");
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(lastGeneral(),
              "\u201eG\u00fcte L\u201c (Pi - Anpassnetzwerk) muss gr\u00f6\u00dfer als "
              "0 sein, sonst sind D\u00e4mpfung und Bandbreite nicht definiert.");
    EXPECT_EQ(results(), before);
    enter("Pi_E_QL", "100");

    // A capacitor quality of 0 counts only with the box checked.
    enter("Pi_E_QC", "0");
    EXPECT_EQ(sink.general.size(), 1u);
    form.click("Pi_CB_QC");
    ASSERT_EQ(sink.general.size(), 2u);
    EXPECT_NE(lastGeneral().find("\u201eG\u00fcte C\u201c (Pi - Anpassnetzwerk)"),
              std::string::npos);
    // The frequency still gives the components; loss and bandwidth stay.
    enter("Pi_E_F", "20");
    EXPECT_EQ(sink.general.size(), 3u);
    expectField("Pi_E_HP_C", " 35,686");
    expectField("Pi_E_HP_TL", " 0,3584");
}

TEST_P(PiTab, FirstModeCallAfterStartUpOnlyMarksTheMode) {
    Form fresh{sep()};
    BuildModel(fresh);
    RecordingSink quiet;
    fresh.setSink(&quiet);
    fresh.state.DecimalPlaces = 3;
    const std::string q = fresh.text("Pi_E_Q");
    fresh.click("Pi_RB_Eingabe");
    EXPECT_TRUE(fresh.checked("Pi_RB_Eingabe"));
    EXPECT_EQ(fresh.text("Pi_E_Q"), q);
    EXPECT_EQ(fresh.state.EnteredOperatingQ, 5.0);
    fresh.click("Pi_RB_Vorgabe");  // the second call runs
    EXPECT_FALSE(fresh.at("Pi_E_Q").enabled);
    EXPECT_EQ(fresh.text("Pi_E_Q"), local(" 4,996"));
    EXPECT_EQ(fresh.state.EnteredOperatingQ, 4.996);
    // The T tab's flag is its own: its first call is still only a mark.
    const std::string tq = fresh.text("T_E_Q");
    fresh.click("T_RB_Eingabe");
    EXPECT_EQ(fresh.text("T_E_Q"), tq);
    EXPECT_TRUE(quiet.errors.empty() && quiet.general.empty());
}

TEST_P(PiTab, SettingsRoundTrip) {
    workedExample();
    form.click("Pi_RB_Eingabe");
    enter("Pi_E_Q", "6");
    form.click("Pi_CB_QC");
    enter("Pi_E_QC", "400");
    form.state.EnteredOperatingQ = 3.5;
    IniFile ini;
    StoreSettings(form, ini);
    EXPECT_EQ(ini.read("Pi-Netz", "Eingabe"), "1");
    EXPECT_EQ(ini.read("Pi-Netz", "Vorgabe"), "0");
    EXPECT_EQ(ini.read("Pi-Netz", "Eingabe_Q"), local("3,5"));
    EXPECT_EQ(ini.read("T-Netz", "Eingabe_Q"), local("3,5"));
    EXPECT_EQ(ini.read("Pi-Netz", "G\u00fcteC"), "1");
    EXPECT_EQ(ini.read("Pi-Netz", "BHP-Einheit"), "MHz");

    Form again{sep()};
    BuildModel(again);
    RecordingSink quiet;
    again.setSink(&quiet);
    LoadSettings(again, ini);
    for (const auto& [name, c] : form.controls()) {
        if (name.rfind("Pi_", 0) != 0) continue;
        EXPECT_EQ(again.at(name).text, c.text) << name;
        EXPECT_EQ(again.at(name).index, c.index) << name;
        EXPECT_EQ(again.at(name).checked, c.checked) << name;
    }
    EXPECT_EQ(again.state.EnteredOperatingQ, 3.5);
    // Restoring "Eingabe" only marked it; restoring the check box set its edit.
    EXPECT_TRUE(again.at("Pi_E_Q").enabled);
    EXPECT_TRUE(again.at("Pi_E_QC").enabled);
    EXPECT_EQ(again.at("Pi_E_QC").fontColour, colour::kBlack);
    EXPECT_TRUE(quiet.errors.empty() && quiet.general.empty());
    // The next mode click runs in full.
    again.click("Pi_RB_Vorgabe");
    EXPECT_FALSE(again.at("Pi_E_Q").enabled);
    EXPECT_EQ(again.state.EnteredOperatingQ, 6.0);
}

TEST(PiSettings, MissingKeysAndTheSharedQ) {
    // The T section's Q is read last; without either key it is 1.
    for (const char sep : {',', '.'}) {
        Form form(sep);
        BuildModel(form);
        LoadSettings(form,
                     IniFile::parse("[Pi-Netz]\r\nEingabe_Q=3\r\n[T-Netz]\r\nEingabe_Q=7\r\n"));
        EXPECT_EQ(form.state.EnteredOperatingQ, 7.0);
        Form none(sep);
        BuildModel(none);
        LoadSettings(none, IniFile::parse("[Pi-Netz]\r\n"));
        EXPECT_EQ(none.state.EnteredOperatingQ, 1.0);
        // A missing Q: 4,000 as a stored text; defaults with the running separator.
        EXPECT_EQ(none.text("Pi_E_Q"), sep == ',' ? " 4,000" : " 4.000");
        EXPECT_EQ(none.text("Pi_E_HP_L2"), sep == ',' ? " 7,738" : " 7.738");
        EXPECT_EQ(none.text("Pi_C_HP_L2"), " \u00b5H");
        EXPECT_EQ(none.index("Pi_C_Z1"), 7);
        EXPECT_TRUE(none.checked("Pi_RB_Vorgabe"));
        EXPECT_FALSE(none.checked("Pi_CB_QC"));
        EXPECT_EQ(none.at("Pi_E_QC").fontColour, colour::kSilver);
        EXPECT_FALSE(none.at("Pi_E_QC").enabled);
    }
    // Written with a point, read with a point: the quoted default keeps its comma.
    Form dotted('.');
    BuildModel(dotted);
    LoadSettings(dotted, IniFile::parse("[Dezimalseparator]\r\nDezimals=.\r\n"));
    EXPECT_EQ(dotted.text("Pi_E_Q"), " 4,000");
}
