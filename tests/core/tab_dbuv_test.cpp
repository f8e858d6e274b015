// The "dBµV" tab driven through the user's actions on the whole window model,
// with both decimal separators.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/window.h"
#include "core/form.h"
#include "model_fixture.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::testing::WindowModelTest;

namespace {

const std::vector<std::string> kEdits = {"dBuV_E_dB",   "dBuV_E_dBm", "dBuV_E_lin",
                                         "dBuV_E_Ueff", "dBuV_E_Uss", "dBuV_E_R"};
const std::vector<std::string> kSelectors = {"dBuV_C_lin", "dBuV_C_Ueff", "dBuV_C_Uss", "dBuV_C_R"};

class DbuvTab : public WindowModelTest {
protected:
    std::vector<std::string> snapshot() const {
        return WindowModelTest::snapshot(kEdits, kSelectors);
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, DbuvTab, ::testing::Values(',', '.'));

// Each row types into one field and presses Enter; the whole tab is then
// compared. The rows run in order, each on the state the one before left.
TEST_P(DbuvTab, WorkedNumbers) {
    struct Row {
        const char* edit;
        const char* typed;
        const char* dBuV;
        const char* dBm;
        const char* lin;
        int linUnit;
        const char* ueff;
        int ueffUnit;
        const char* uss;
        int ussUnit;
        const char* r;
    };
    const Row rows[] = {
        // 1 µV at the new 100 Ω: 10 fW = -110 dBm; the level is only reformatted
        {"dBuV_E_R", "100", " 0,000", " -110,000", " 10,000", 13, " 1,000", 10, " 2,828", 10,
         " 100,000"},
        {"dBuV_E_dB", "0", " 0,000", " -110,000", " 10,000", 13, " 1,000", 10, " 2,828", 10,
         " 100,000"},
        // half the impedance, same voltages: twice the power, +3.010 dB
        {"dBuV_E_R", "50", " 0,000", " -106,990", " 20,000", 13, " 1,000", 10, " 2,828", 10,
         " 50,000"},
        // -100 dBm = 0.1 pW; in 50 Ω √5 µV RMS = 6.990 dBµV
        {"dBuV_E_dBm", "-100", " 6,990", " -100,000", " 100,000", 13, " 2,236", 10, " 6,325", 10,
         " 50,000"},
        // 10 µV peak to peak is 10 / 2√2 µV RMS
        {"dBuV_E_Uss", "10", " 10,969", " -96,021", " 250,000", 13, " 3,536", 10, " 10,000", 10,
         " 50,000"},
        // 1 V typed in µVolt goes one step up only
        {"dBuV_E_Ueff", "1000000", " 120,000", " 13,010", " 20,000", 9, " 1000,000", 9, " 2,828", 8,
         " 50,000"},
        // twice the power, √2 times the voltage
        {"dBuV_E_lin", "40", " 123,010", " 16,021", " 40,000", 9, " 1,414", 8, " 4,000", 8,
         " 50,000"},
        // the lowest level the field takes: 10^-3.5 µV
        {"dBuV_E_dB", "-70", " -70,000", " -176,990", " 2,000", 15, " 316,228", 12, " 894,427", 12,
         " 50,000"},
    };
    for (const Row& row : rows) {
        enter(row.edit, row.typed);
        SCOPED_TRACE(std::string(row.edit) + " " + row.typed);
        EXPECT_TRUE(sink.errors.empty());
        expectField("dBuV_E_dB", row.dBuV);
        expectField("dBuV_E_dBm", row.dBm);
        expectField("dBuV_E_lin", row.lin, "dBuV_C_lin", row.linUnit);
        expectField("dBuV_E_Ueff", row.ueff, "dBuV_C_Ueff", row.ueffUnit);
        expectField("dBuV_E_Uss", row.uss, "dBuV_C_Uss", row.ussUnit);
        expectField("dBuV_E_R", row.r, "dBuV_C_R", 8);
    }
    EXPECT_TRUE(sink.general.empty());
}

// Enter with a value beyond each field's limits: the message of its form, the
// typed text undone, nothing computed.
TEST_P(DbuvTab, RangeMessagesOfEveryField) {
    struct Row {
        const char* edit;
        const char* selector;
        int index;
        const char* typed;
        const char* message;
    };
    const Row rows[] = {
        {"dBuV_E_dB", nullptr, 0, "-70,5",
         "Die eingegebene Zahl-70,5 dBuV ist nicht richtig !\r\r"
         "        zul\u00e4ssiger Bereich:-70 bis 320 dBuV"},
        {"dBuV_E_dB", nullptr, 0, "320,1",
         "Die eingegebene Zahl320,1 dBuV ist nicht richtig !\r\r"
         "        zul\u00e4ssiger Bereich:-70 bis 320 dBuV"},
        // The dBm level says its unit at the end only.
        {"dBuV_E_dBm", nullptr, 0, "-278",
         "Die Eingabe-278  ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:-277 bis 290 dBm"},
        {"dBuV_E_Ueff", "dBuV_C_Ueff", 4, "101",
         "Die Eingabe101 TVolt  ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:1e-14 bis 1e+14 "
         "Volt"},
        {"dBuV_E_R", "dBuV_C_R", 4, "2",
         "Die Eingabe2 TOhm  ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:1e-24 bis 1e+12 "
         "Ohm"},
        {"dBuV_E_Uss", "dBuV_C_Uss", 4, "901",
         "Die Eingabe901 TVolt  ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:1e-14 bis 9e14 "
         "Volt"},
        {"dBuV_E_lin", "dBuV_C_lin", 16, "1000",
         "Die Eingabe1000 yWatt  ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:4e-21 bis "
         "1e+26 Watt"},
    };
    for (const Row& row : rows) {
        if (row.selector != nullptr) form.setIndex(row.selector, row.index);
        const auto before = snapshot();
        sink.errors.clear();
        enter(row.edit, row.typed);
        ASSERT_EQ(sink.errors.size(), 1u) << row.edit;
        EXPECT_EQ(sink.errors[0], local(row.message));
        EXPECT_EQ(snapshot(), before) << row.edit;
    }
    EXPECT_TRUE(sink.general.empty());
}

TEST_P(DbuvTab, UnitChangeComputesOrGoesBack) {
    // 1 µV becomes 1 mV: +60 dB, a million times the power.
    form.enter("dBuV_C_Ueff");
    form.chooseItem("dBuV_C_Ueff", 9);
    expectField("dBuV_E_dB", " 60,000");
    expectField("dBuV_E_lin", " 13,333", "dBuV_C_lin", 11);
    expectField("dBuV_E_dBm", " -48,751");
    EXPECT_EQ(sink.focus, std::vector<std::string>{"dBuV_C_Ueff"});

    // 2,828 µV peak to peak as 2,828 TVolt is beyond 9e14 V.
    form.enter("dBuV_C_Uss");
    const auto before = snapshot();
    form.chooseItem("dBuV_C_Uss", 3);
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0], local("Die Eingabe 2,828 PVolt  ist ausserhalb\r\r"
                                    "des g\u00fcltigen Wertebereiches:1e-14 bis 9e14 Volt"));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(sink.focus.size(), 1u);
}

// The impedance computation reads the voltage as shown. A zero typed there
// without Enter gives no power level: reported once, nothing shows inf or nan.
TEST_P(DbuvTab, LevelOfNoPowerIsReportedNotShown) {
    form.userEdit("dBuV_E_Ueff", "0");  // typed, not entered
    enter("dBuV_E_R", "50");
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(sink.general[0],
              "Ung\u00fcltige Gleitkommaoperation: \u201eUeff\u201c (dB\u00b5V) ist 0.");
    for (const auto& e : kEdits) {
        EXPECT_EQ(form.text(e).find("inf"), std::string::npos) << e;
        EXPECT_EQ(form.text(e).find("nan"), std::string::npos) << e;
    }
}

TEST_P(DbuvTab, DecimalPlacesReformatTheTab) {
    form.state.DecimalPlaces = 1;
    form.reformatAll();
    expectField("dBuV_E_dB", " 0,0");
    expectField("dBuV_E_dBm", " -108,8");
    expectField("dBuV_E_lin", " 13,3", "dBuV_C_lin", 13);
    expectField("dBuV_E_Ueff", " 1,0", "dBuV_C_Ueff", 10);
    expectField("dBuV_E_R", " 75,0", "dBuV_C_R", 8);
}

// A first start: the factory texts as stored, not recomputed, and the section
// as the next close writes it, every key in its order.
TEST_P(DbuvTab, FactoryStateAndItsSection) {
    enter("dBuV_E_dB", "40");
    ApplyFactoryDefaults(form);
    expectField("dBuV_E_dB", " 0");
    expectField("dBuV_E_dBm", " -108,751");
    expectField("dBuV_E_lin", " 13,333");
    expectField("dBuV_E_Ueff", " 1,000");
    expectField("dBuV_E_Uss", " 2,828");
    expectField("dBuV_E_R", " 75,000");

    Form first{GetParam()};
    BuildModel(first);
    ApplyFactoryDefaults(first);
    IniFile ini;
    StoreSettings(first, ini);
    EXPECT_NE(
        ini.serialize().find(local("[dBuV]\r\ndBuV= 0\r\ndBm= -108,751\r\nLeistung= 13,333\r\n"
                                   "Leistung-Einheit=13\r\nUeff= 1,000\r\nUeff-Einheit=10\r\n"
                                   "Uss= 2,828\r\nUss-Einheit=10\r\nImpedanz= 75,000\r\n"
                                   "Impedanz-Einheit=8\r\n[")),
        std::string::npos);
}

TEST_P(DbuvTab, SettingsRoundTrip) {
    enter("dBuV_E_R", "50");
    enter("dBuV_E_dBm", "-100");
    form.enter("dBuV_C_Uss");
    form.chooseItem("dBuV_C_Uss", 9);  // 6,325 mV
    const auto stored = snapshot();
    IniFile ini;
    StoreSettings(form, ini);

    for (const char now : {',', '.'}) {
        Form again{now};
        BuildModel(again);
        LoadSettings(again, ini);
        for (std::size_t i = 0; i < kEdits.size(); ++i) {
            std::string expected = stored[i];
            for (char& c : expected) {
                if (c == sep()) c = now;
            }
            EXPECT_EQ(again.text(kEdits[i]), expected) << kEdits[i];
        }
        for (std::size_t i = 0; i < kSelectors.size(); ++i) {
            EXPECT_EQ(std::to_string(again.index(kSelectors[i])), stored[kEdits.size() + i])
                << kSelectors[i];
        }
    }
}
