// The "dBm" tab driven through the user's actions on the whole window model,
// with both decimal separators.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "calc/tab_dbm.h"
#include "calc/window.h"
#include "core/form.h"
#include "model_fixture.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::testing::WindowModelTest;

namespace {

const std::vector<std::string> kEdits = {"dBm_E_dB", "dBm_E_lin", "dBm_E_Ueff", "dBm_E_Uss",
                                         "dBm_E_R"};
const std::vector<std::string> kSelectors = {"dBm_C_lin", "dBm_C_Ueff", "dBm_C_Uss", "dBm_C_R"};

class DbmTab : public WindowModelTest {
protected:
    std::vector<std::string> snapshot() const {
        return WindowModelTest::snapshot(kEdits, kSelectors);
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, DbmTab, ::testing::Values(',', '.'));

// Each row types into one field and presses Enter; the whole tab is then
// compared. The rows run in order, each on the state the one before left.
TEST_P(DbmTab, WorkedNumbers) {
    struct Row {
        const char* edit;
        const char* typed;
        const char* dBm;
        const char* lin;
        int linUnit;
        const char* ueff;
        int ueffUnit;
        const char* uss;
        int ussUnit;
        const char* r;
        int rUnit;
    };
    const Row rows[] = {
        // 0 dBm = 1 mW; across 50 Ω that is √0.05 V RMS, 2√2 times that peak to peak
        {"dBm_E_dB", "0", " 0,000", " 1,000", 9, " 223,607", 9, " 632,456", 9, " 50,000", 8},
        // a new impedance keeps level and power; only the voltages move
        {"dBm_E_R", "75", " 0,000", " 1,000", 9, " 273,861", 9, " 774,597", 9, " 75,000", 8},
        {"dBm_E_R", "50", " 0,000", " 1,000", 9, " 223,607", 9, " 632,456", 9, " 50,000", 8},
        // 1 V RMS (typed in mVolt) across 50 Ω is 20 mW = 13.010 dBm
        {"dBm_E_Ueff", "1000", " 13,010", " 20,000", 9, " 1,000", 8, " 2,828", 8, " 50,000", 8},
        // 1500 mW stays as typed until the reformat takes it one step up
        {"dBm_E_lin", "1500", " 31,761", " 1,500", 8, " 8,660", 8, " 24,495", 8, " 50,000", 8},
        // 2√2 V peak to peak is 1 V RMS again
        {"dBm_E_Uss", "2,828427", " 13,010", " 20,000", 9, " 1,000", 8, " 2,828", 8, " 50,000", 8},
        // the lowest level the field takes: 3.981 zW
        {"dBm_E_dB", "-174", " -174,000", " 3,981", 15, " 446,154", 12, " 1,262", 11, " 50,000", 8},
    };
    for (const Row& row : rows) {
        enter(row.edit, row.typed);
        SCOPED_TRACE(std::string(row.edit) + " " + row.typed);
        EXPECT_TRUE(sink.errors.empty());
        expectField("dBm_E_dB", row.dBm);
        expectField("dBm_E_lin", row.lin, "dBm_C_lin", row.linUnit);
        expectField("dBm_E_Ueff", row.ueff, "dBm_C_Ueff", row.ueffUnit);
        expectField("dBm_E_Uss", row.uss, "dBm_C_Uss", row.ussUnit);
        expectField("dBm_E_R", row.r, "dBm_C_R", row.rUnit);
    }
    EXPECT_TRUE(sink.general.empty());
}

// Enter with a value beyond each field's limits: the message of its form, the
// typed text undone, nothing computed. The first row is the lowest level but
// half a dB.
TEST_P(DbmTab, RangeMessagesOfEveryField) {
    struct Row {
        const char* edit;
        const char* selector;
        int index;
        const char* typed;
        const char* message;
    };
    const Row rows[] = {
        {"dBm_E_dB", nullptr, 0, "-174,5",
         "Die eingegebene Zahl-174,5 dBm ist nicht richtig !\r\r"
         "        zul\u00e4ssiger Bereich:-174 bis 320 dBm"},
        {"dBm_E_dB", nullptr, 0, "320,5",
         "Die eingegebene Zahl320,5 dBm ist nicht richtig !\r\r"
         "        zul\u00e4ssiger Bereich:-174 bis 320 dBm"},
        {"dBm_E_lin", "dBm_C_lin", 0, "800",
         "Die Eingabe800 YWatt  ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:4e-26 bis 7e+26 "
         "Watt"},
        {"dBm_E_Ueff", "dBm_C_Ueff", 16, "0,001",
         "Die Eingabe0,001 yVolt  ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:1e-26 bis "
         "1e+27 Volt"},
        {"dBm_E_Uss", "dBm_C_Uss", 0, "1001",
         "Die Eingabe1001 YVolt  ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:1e-26 bis "
         "1e+27 Volt"},
        {"dBm_E_R", "dBm_C_R", 16, "0,5",
         "Die Eingabe0,5 yOhm  ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:1e-24 bis 1e+26 "
         "Ohm"},
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

// A unit change computes from the shown number in the new unit and hands the
// focus on; one that leaves the limits goes back to the unit at focus time.
TEST_P(DbmTab, UnitChanges) {
    form.enter("dBm_C_lin");
    form.chooseItem("dBm_C_lin", 8);  // " 1,000" now in Watt
    expectField("dBm_E_dB", " 30,000");
    expectField("dBm_E_Ueff", " 7,071", "dBm_C_Ueff", 8);
    EXPECT_EQ(sink.focus, std::vector<std::string>{"dBm_C_lin"});

    enter("dBm_E_R", "500");
    form.enter("dBm_C_R");
    const auto before = snapshot();
    form.chooseItem("dBm_C_R", 0);  // 500 YOhm
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0], local("Die Eingabe 500,000 YOhm  ist ausserhalb\r\r"
                                    "des g\u00fcltigen Wertebereiches:1e-24 bis 1e+26 Ohm"));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(sink.focus.size(), 1u);
}

// The computations read the impedance as shown. One typed without Enter that
// gives no defined result is reported once, and no field shows inf or nan.
TEST_P(DbmTab, UnvalidatedImpedanceIsReportedNotShown) {
    struct Row {
        const char* impedance;
        const char* edit;
        const char* typed;
        const char* report;
    };
    const Row rows[] = {
        {"0", "dBm_E_Ueff", "1000", "Division durch Null: \u201eZ\u201c (dBm) ist 0."},
        {"-50", "dBm_E_dB", "0", "Ung\u00fcltige Gleitkommaoperation."},
        {"-50", "dBm_E_lin", "1", "Ung\u00fcltige Gleitkommaoperation."},
        {"abc", "dBm_E_Uss", "1", "'abc' ist kein g\u00fcltiger Gleitkommawert."},
    };
    for (const Row& row : rows) {
        sink.general.clear();
        form.userEdit("dBm_E_R", row.impedance);
        enter(row.edit, row.typed);
        ASSERT_EQ(sink.general.size(), 1u) << row.edit << " with " << row.impedance;
        EXPECT_EQ(sink.general[0], row.report);
        for (const auto& e : kEdits) {
            EXPECT_EQ(form.text(e).find("inf"), std::string::npos) << e;
            EXPECT_EQ(form.text(e).find("nan"), std::string::npos) << e;
        }
        enter("dBm_E_R", "50");
    }
}

// The Options dialog reaches the tab's reformat procedure by its name.
TEST_P(DbmTab, DecimalPlacesReformatTheTab) {
    form.state.DecimalPlaces = 0;
    form.reformatAll();
    expectField("dBm_E_dB", " 0");
    expectField("dBm_E_lin", " 1", "dBm_C_lin", 9);
    expectField("dBm_E_Ueff", " 224", "dBm_C_Ueff", 9);
    expectField("dBm_E_Uss", " 632", "dBm_C_Uss", 9);
    expectField("dBm_E_R", " 50", "dBm_C_R", 8);
}

// Valid entries in any order never put inf or nan on the screen.
TEST_P(DbmTab, RandomValidEntriesNeverShowInfOrNan) {
    struct Limits {
        const char* edit;
        const char* selector;
        double lo, hi;  // log10 of the limits in base units
    };
    const Limits fields[] = {{"dBm_E_dB", nullptr, -174, 320},
                             {"dBm_E_lin", "dBm_C_lin", -25.39, 26.84},
                             {"dBm_E_Ueff", "dBm_C_Ueff", -26, 27},
                             {"dBm_E_Uss", "dBm_C_Uss", -26, 27},
                             {"dBm_E_R", "dBm_C_R", -24, 26}};
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int step = 0; step < 400; ++step) {
        const Limits& f = fields[rng() % 5];
        const double x = f.lo + (f.hi - f.lo) * unit(rng);
        char typed[64];
        if (f.selector == nullptr) {
            std::snprintf(typed, sizeof typed, "%.3f", x);
        } else {
            form.setIndex(f.selector, 8);  // typed in the bare unit
            std::snprintf(typed, sizeof typed, "%.4e", std::pow(10.0, x));
        }
        std::string text = typed;
        for (char& c : text) {
            if (c == '.') c = sep();
        }
        form.userEdit(f.edit, text);
        form.pressEnter(f.edit);
        ASSERT_TRUE(sink.errors.empty()) << f.edit << " " << text;
        for (const auto& e : kEdits) {
            ASSERT_EQ(form.text(e).find("inf"), std::string::npos) << e << " after " << text;
            ASSERT_EQ(form.text(e).find("nan"), std::string::npos) << e << " after " << text;
        }
    }
}

// A first start: the factory texts as stored (the level without decimals,
// though the three places were chosen before), the units as built, and the
// section as the next close writes it, every key in its order.
TEST_P(DbmTab, FactoryStateAndItsSection) {
    ApplyFactoryDefaults(form);
    expectField("dBm_E_dB", " 0");
    expectField("dBm_E_lin", " 1,000", "dBm_C_lin", 9);
    expectField("dBm_E_Ueff", " 223,607", "dBm_C_Ueff", 9);
    expectField("dBm_E_Uss", " 632,456", "dBm_C_Uss", 9);
    expectField("dBm_E_R", " 50,000", "dBm_C_R", 8);
    EXPECT_EQ(form.index("PageControl1"), 1);

    IniFile ini;
    StoreSettings(form, ini);
    EXPECT_NE(
        ini.serialize().find(local("[dBm]\r\ndBm= 0\r\nLeistung= 1,000\r\nLeistung-Einheit=9\r\n"
                                   "Ueff= 223,607\r\nUeff-Einheit=9\r\nUss= 632,456\r\n"
                                   "Uss-Einheit=9\r\nImpedanz= 50,000\r\nImpedanz-Einheit=8\r\n[")),
        std::string::npos);
}

// What a close writes, a start puts back: texts and units, the separator of
// the file turned into the one in force now.
TEST_P(DbmTab, SettingsRoundTrip) {
    enter("dBm_E_dB", "-20");
    enter("dBm_E_R", "600");
    form.enter("dBm_C_lin");
    form.chooseItem("dBm_C_lin", 10);  // 10 µW
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

// dBm → W → dBm and W → V → W come back to within rounding.
TEST(DbmLevelPhysics, RoundTrips) {
    for (const long double dbm : {-174.0L, -30.5L, 0.0L, 13.0103L, 320.0L}) {
        const long double watt = level::milliwattOfDbm(dbm) * level::kMilliwatt;
        EXPECT_NEAR(static_cast<double>(level::dbmOfWatt(watt)), static_cast<double>(dbm), 1e-12);
        const long double volt = level::rmsOfPower(watt, 50.0L);
        EXPECT_NEAR(static_cast<double>(level::powerOfRms(volt, 50.0L) / watt), 1.0, 1e-15);
    }
    EXPECT_NEAR(static_cast<double>(level::peakToPeakFactor()), 2.0 * std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(static_cast<double>(level::dbuvOfVolt(1e-6L)), 0.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(level::dbuvOfVolt(1.0L)), 120.0, 1e-12);
}
