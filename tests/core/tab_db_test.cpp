// The "dB" tab driven through the user's actions, with both decimal separators:
// power and voltage ratios, the direction markers, the fields that compute when
// they are left, and the tab's part of the settings file.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calc/tab_db.h"
#include "calc/window.h"
#include "model_fixture.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::testing::WindowModelTest;

namespace {

constexpr int kVolt = 8, kMilli = 9;

class DbTab : public WindowModelTest {
protected:
    bool shown(const char* picture) const { return form.at(picture).visible; }
};

INSTANTIATE_TEST_SUITE_P(Separators, DbTab, ::testing::Values(',', '.'));

}  // namespace

TEST(DbTabPhysics, DecibelsAndFactorsAreInverse) {
    // 10·log for power, 20·log for voltage: a factor of 100 is 20 dB of power
    // and 40 dB of voltage.
    EXPECT_NEAR(static_cast<double>(dbOfFactor(100, 10)), 20.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(dbOfFactor(100, 20)), 40.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(factorOfDb(-3, 10)), 0.501187233627272, 1e-15);
    for (const double a : {1.0, 2.0, 1e-20, 7.94e14, 1e28}) {
        EXPECT_NEAR(static_cast<double>(factorOfDb(dbOfFactor(a, 20), 20)) / a, 1.0, 1e-15) << a;
    }
    // A factor of zero or below has no logarithm.
    EXPECT_THROW(dbOfFactor(0, 10), ArithmeticError);
    EXPECT_THROW(dbOfFactor(-2, 20), ArithmeticError);
}

TEST_P(DbTab, VoltageRatioInDecibelsGivesFactorAndOutput) {
    enter("dB_U_E_Uin", "1");
    enter("db_U_a_dB", "20");  // 20 dB of voltage is a factor of 10
    EXPECT_EQ(form.text("dB_U_a_lin"), local(" 10,000"));
    EXPECT_EQ(form.text("db_U_a_dB"), local(" 20,000"));
    EXPECT_EQ(form.text("dB_U_E_Uout"), local(" 10,000"));
    EXPECT_EQ(form.index("dB_U_C_Uout"), kVolt);
    EXPECT_EQ(form.at("dB_U_C_Uout").units->items[kVolt], "  Volt");

    enter("dB_U_a_lin", "3");  // 20·log10(3)
    EXPECT_EQ(form.text("db_U_a_dB"), local(" 9,542"));
    EXPECT_EQ(form.text("dB_U_E_Uout"), local(" 3,000"));
    EXPECT_TRUE(sink.errors.empty());
    EXPECT_TRUE(sink.general.empty());
}

TEST_P(DbTab, PowerInputAndOutputSetTheDirection) {
    // Power: 20 mW times 10 is 200 mW, computed forward.
    enter("db_P_a_lin", "10");
    enter("db_P_E_Pin", "20");
    EXPECT_EQ(form.text("db_P_E_Pout"), local(" 200,000"));
    EXPECT_EQ(form.index("db_P_C_Pout"), kMilli);
    EXPECT_TRUE(shown("Image33"));
    EXPECT_FALSE(shown("Image34"));

    // 100 mW out at a factor of 10 needs 10 mW in, computed backward.
    enter("db_P_E_Pout", "100");
    EXPECT_EQ(form.text("db_P_E_Pin"), local(" 10,000"));
    EXPECT_EQ(form.index("db_P_C_Pin"), kMilli);
    EXPECT_FALSE(shown("Image33"));
    EXPECT_TRUE(shown("Image34"));

    // The ratio fields leave the markers alone; so does the other sub-tab.
    enter("db_P_a_dB", "3");
    EXPECT_FALSE(shown("Image33"));
    EXPECT_TRUE(shown("Image35"));
    EXPECT_TRUE(shown("Image36"));
    EXPECT_EQ(form.text("db_P_a_lin"), local(" 1,995"));
    EXPECT_EQ(form.text("db_P_E_Pout"), local(" 19,953"));  // 10 mW × 10^0.3
}

TEST_P(DbTab, ComputationsReadTheFactorAsDisplayed) {
    // 20·log10(3) is shown as 9,542; leaving the dB field works from that text
    // again, and the factor comes back as 10^(9.542/20) = 2.99997.
    enter("dB_U_E_Uin", "1");
    enter("dB_U_a_lin", "3");
    form.leave("db_U_a_dB");
    EXPECT_EQ(form.text("dB_U_a_lin"), local(" 3,000"));
    EXPECT_EQ(form.text("dB_U_E_Uout"), local(" 3,000"));
    // The input side uses the displayed factor 3,000 exactly.
    enter("dB_U_E_Uin", "2");
    EXPECT_EQ(form.text("dB_U_E_Uout"), local(" 6,000"));
}

TEST_P(DbTab, LargestVoltageRatioShowsTheFactorInExponentForm) {
    enter("dB_U_E_Uin", "1");
    enter("db_U_a_dB", "298");
    EXPECT_TRUE(sink.errors.empty());
    EXPECT_EQ(form.text("dB_U_a_lin"), local(" 7,94328E+14"));
    EXPECT_EQ(form.text("dB_U_E_Uout"), local(" 794,328"));
    EXPECT_EQ(form.index("dB_U_C_Uout"), 4);  // TVolt

    enter("db_U_a_dB", "298,1");
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0], local("Die eingegebene Zahl298,1 dB ist nicht richtig !\r\r"
                                    "        zul\u00e4ssiger Bereich:0 bis 298 dB"));
    EXPECT_EQ(form.text("db_U_a_dB"), local(" 298,000"));
    EXPECT_EQ(form.text("dB_U_a_lin"), local(" 7,94328E+14"));
}

TEST_P(DbTab, FactorTurnsToExponentFormFrom100001) {
    enter("db_P_a_lin", "100000");
    EXPECT_EQ(form.text("db_P_a_lin"), local(" 100000,000"));
    EXPECT_EQ(form.text("db_P_a_dB"), local(" 50,000"));
    enter("db_P_a_lin", "100001");
    EXPECT_EQ(form.text("db_P_a_lin"), local(" 1,00001E+05"));
    enter("db_P_a_lin", "1e28");  // the upper limit itself
    EXPECT_EQ(form.text("db_P_a_lin"), local(" 1,00000E+28"));
    EXPECT_EQ(form.text("db_P_a_dB"), local(" 280,000"));
    EXPECT_TRUE(sink.errors.empty());
}

TEST_P(DbTab, RefusedEntriesShowTheirMessageAndRevert) {
    struct Case {
        const char* edit;
        const char* typed;
        int unit;  // selector item to choose first, -1: none
        const char* message;
    };
    const Case cases[] = {
        {"dB_U_E_Uin", "2", 4,
         "Die eingegebene Zahl2 TVolt ist nicht richtig !\r\r        zul\u00e4ssiger Bereich:1e-12 "
         "bis 1e12"},
        {"db_P_E_Pout", "0,5", 12,
         "Die eingegebene Zahl0,5 pWatt ist nicht richtig !\r\r        zul\u00e4ssiger "
         "Bereich:1e-12 bis 1e12"},
        {"db_P_a_dB", "-1", -1,
         "Die eingegebene Zahl-1 dB ist nicht richtig !\r\r        zul\u00e4ssiger Bereich:0 bis "
         "200 dB"},
        {"dB_U_a_lin", "0,5", -1,
         "Die eingegebene Zahl0,5 ist nicht richtig !\r\r        zul\u00e4ssiger Bereich:1 bis "
         "8e+14 "},
        {"db_P_a_lin", "2e28", -1,
         "Die eingegebene Zahl2e28 ist nicht richtig !\r\r        zul\u00e4ssiger Bereich:1 bis "
         "1e28"},
        {"dB_U_E_Uout", "1O", -1, "Die eingegebene Zahl1O  ist keine Gleitkommazahl !"},
        {"db_U_a_dB", "", -1, "Die eingegebene Zahl  ist keine Gleitkommazahl !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit);
        if (c.unit >= 0) {
            form.setIndex(form.fieldOfEdit(c.edit)->selector, c.unit);
        }
        const std::string before = form.text(c.edit);
        const auto revision = form.revision();
        sink.errors.clear();
        enter(c.edit, c.typed);
        ASSERT_EQ(sink.errors.size(), 1u);
        EXPECT_EQ(sink.errors[0], local(c.message));
        EXPECT_EQ(form.text(c.edit), before);
        // Nothing else changed: only the typed text came and went.
        for (const auto& [name, control] : form.controls()) {
            if (name != c.edit) {
                EXPECT_LE(control.revision, revision) << name;
            }
        }
    }
}

TEST_P(DbTab, UnitChangeComputesWithoutMovingTheMarkerItself) {
    form.enter("dB_U_C_Uin");
    form.chooseItem("dB_U_C_Uin", kMilli);  // 20 mV in, factor 10
    EXPECT_EQ(form.text("dB_U_E_Uout"), local(" 200,000"));
    EXPECT_EQ(form.index("dB_U_C_Uout"), kMilli);
    EXPECT_EQ(sink.focus, std::vector<std::string>{"dB_U_C_Uin"});
    // Choosing an item is a click on the selector: it marks its side.
    EXPECT_TRUE(shown("Image35"));
    EXPECT_FALSE(shown("Image36"));

    form.enter("dB_U_C_Uout");
    form.chooseItem("dB_U_C_Uout", kVolt);  // 200 V out needs 20 V in
    EXPECT_EQ(form.text("dB_U_E_Uin"), local(" 20,000"));
    EXPECT_EQ(form.index("dB_U_C_Uin"), kVolt);
    EXPECT_FALSE(shown("Image35"));
    EXPECT_TRUE(shown("Image36"));

    // Out of range: form B, back to the item held when the selector got the focus.
    form.enter("db_P_C_Pin");
    form.chooseItem("db_P_C_Pin", 4);
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0], local("Die Eingabe 20,000 TWatt  ist ausserhalb\r\r"
                                    "des g\u00fcltigen Wertebereiches:1e-12 bis 1e12"));
    EXPECT_EQ(form.index("db_P_C_Pin"), kMilli);
    EXPECT_EQ(form.text("db_P_E_Pout"), local(" 200,000"));
    EXPECT_EQ(sink.focus.size(), 2u);
}

TEST_P(DbTab, ReformatStepsOncePerComputation) {
    // 1500000 mV is 1500 V: the input moves one prefix per reformat, the output
    // is ranged in full (15 kV).
    form.setIndex("dB_U_C_Uin", kMilli);
    enter("dB_U_E_Uin", "1500000");
    EXPECT_EQ(form.text("dB_U_E_Uin"), local(" 1500,000"));
    EXPECT_EQ(form.index("dB_U_C_Uin"), kVolt);
    EXPECT_EQ(form.text("dB_U_E_Uout"), local(" 15,000"));
    EXPECT_EQ(form.index("dB_U_C_Uout"), 7);
    form.reformat("dB_U_Eingaben_formatieren");
    EXPECT_EQ(form.text("dB_U_E_Uin"), local(" 1,500"));
    EXPECT_EQ(form.index("dB_U_C_Uin"), 7);

    form.state.DecimalPlaces = 0;
    form.reformat("dB_P_Eingaben_formatieren");
    EXPECT_EQ(form.text("db_P_E_Pin"), " 20");
    EXPECT_EQ(form.text("db_P_a_lin"), " 10");
}

TEST_P(DbTab, LabelsFieldsAndSelectorsMoveTheMarkersOnly) {
    // Before any direction was computed both markers show.
    for (const char* m : {"Image33", "Image34", "Image35", "Image36"}) EXPECT_TRUE(shown(m));
    const std::string out = form.text("dB_U_E_Uout");
    struct Click {
        const char* control;
        const char* top;
        const char* bottom;
        bool forward;
    };
    const Click clicks[] = {
        {"Label78", "Image35", "Image36", false},     {"Label77", "Image35", "Image36", true},
        {"dB_U_E_Uout", "Image35", "Image36", false}, {"dB_U_E_Uin", "Image35", "Image36", true},
        {"Label80", "Image33", "Image34", false},     {"Label79", "Image33", "Image34", true},
        {"db_P_E_Pout", "Image33", "Image34", false}, {"db_P_E_Pin", "Image33", "Image34", true},
    };
    for (const Click& c : clicks) {
        SCOPED_TRACE(c.control);
        form.click(c.control);
        EXPECT_EQ(shown(c.top), c.forward);
        EXPECT_EQ(shown(c.bottom), !c.forward);
    }
    EXPECT_EQ(form.text("dB_U_E_Uout"), out);
    EXPECT_EQ(form.at("Label77").text, "Verst\u00e4rkung");
    EXPECT_EQ(form.at("Label80").text, "D\u00e4mpfung");
}

TEST_P(DbTab, LeavingARatioFieldComputesWithoutChecks) {
    // 400 dB is beyond the Enter limit; leaving the field takes it anyway.
    type("db_U_a_dB", "400");
    form.leave("db_U_a_dB");
    EXPECT_TRUE(sink.errors.empty());
    EXPECT_TRUE(sink.general.empty());
    EXPECT_EQ(form.text("db_U_a_dB"), local(" 400,000"));
    EXPECT_EQ(form.text("dB_U_a_lin"), local(" 1,00000E+20"));
    EXPECT_EQ(form.text("dB_U_E_Uout"), local(" 2,000"));  // 20 V × 1e20
    EXPECT_EQ(form.index("dB_U_C_Uout"), 1);               // ZVolt

    // A factor below 1 is taken when the field is left, too.
    type("db_P_a_lin", "0,5");
    form.leave("db_P_a_lin");
    EXPECT_EQ(form.text("db_P_a_dB"), local(" -3,010"));
    EXPECT_EQ(form.text("db_P_E_Pout"), local(" 10,000"));
    EXPECT_TRUE(sink.general.empty());
}

TEST_P(DbTab, UndefinedResultsAreReportedAndComputeNothing) {
    struct Case {
        const char* edit;
        const char* typed;
        const char* report;
    };
    const Case cases[] = {
        {"dB_U_a_lin", "0", "Der Faktor muss gr\u00f6\u00dfer als 0 sein."},
        {"db_P_a_lin", "-4", "Der Faktor muss gr\u00f6\u00dfer als 0 sein."},
        {"db_P_a_lin", "abc", "'abc' ist kein g\u00fcltiger Gleitkommawert."},
        // 10^(6200/20) = 1e310 has no place in a double.
        {"db_U_a_dB", "6200", "Gleitkomma\u00fcberlauf."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit);
        sink.general.clear();
        type(c.edit, c.typed);
        const auto revision = form.revision();
        form.leave(c.edit);
        ASSERT_EQ(sink.general.size(), 1u);
        EXPECT_EQ(sink.general[0], c.report);
        EXPECT_EQ(form.revision(), revision);  // nothing written, not even partly
        EXPECT_EQ(form.text(c.edit), local(c.typed));
    }
    EXPECT_TRUE(sink.errors.empty());
}

// A new dB value or factor writes the other ratio first and only then reads the
// input; an input that is no number then stops the computation, and the ratio
// keeps the unrounded text it received, since no reformat follows.
TEST_P(DbTab, RatioIsWrittenBeforeTheInputIsRead) {
    const std::string out = form.text("dB_U_E_Uout");
    form.userEdit("dB_U_E_Uin", "abc");
    enter("db_U_a_dB", "30");
    EXPECT_EQ(sink.general,
              std::vector<std::string>{"'abc' ist kein g\u00fcltiger Gleitkommawert."});
    EXPECT_EQ(form.text("dB_U_a_lin"), local(" 31,6227766016838"));
    EXPECT_EQ(form.text("dB_U_E_Uout"), out);

    sink.general.clear();
    form.userEdit("db_P_E_Pin", "abc");
    enter("db_P_a_lin", "2");
    EXPECT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(form.text("db_P_a_dB"), local(" 3,01029995663981"));
}

TEST_P(DbTab, ZeroDisplayedFactorIsADivisionByZeroNotInfinity) {
    // -400 dB of voltage is a factor of 1e-20, which shows as 0,000; the input
    // cannot be worked back from the output through that factor.
    type("db_U_a_dB", "-400");
    form.leave("db_U_a_dB");
    EXPECT_EQ(form.text("dB_U_a_lin"), local(" 0,000"));
    const std::string in = form.text("dB_U_E_Uin");
    form.setIndex("dB_U_C_Uout", kVolt);
    enter("dB_U_E_Uout", "5");
    EXPECT_TRUE(sink.errors.empty());
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(sink.general[0], "Division durch Null: \u201eFaktor (Spannung)\u201c (dB) ist 0.");
    EXPECT_EQ(form.text("dB_U_E_Uin"), in);
    for (const auto& [name, control] : form.controls()) {
        if (name.rfind("dB_", 0) != 0 && name.rfind("db_", 0) != 0) continue;
        EXPECT_EQ(control.text.find("inf"), std::string::npos) << name;
        EXPECT_EQ(control.text.find("nan"), std::string::npos) << name;
    }
}

// ---- settings -----------------------------------------------------------------

TEST_P(DbTab, SettingsRoundTripRestoresTextsUnitsAndMarkers) {
    enter("dB_U_E_Uin", "3");
    form.enter("dB_U_C_Uin");
    form.chooseItem("dB_U_C_Uin", 10);  // 3 µV
    enter("db_U_a_dB", "6");
    enter("db_P_E_Pout", "7");  // 0,7 mW in, shown as 700 µW; bottom marker
    form.setPage("PageControl2", 0);
    IniFile ini;
    StoreSettings(form, ini);

    // Every key of both sections, in the order the file lists them.
    const std::string file = ini.serialize();
    const auto u = file.find("[dB-U]");
    const auto p = file.find("[dB-P]");
    ASSERT_NE(u, std::string::npos);
    ASSERT_NE(p, std::string::npos);
    EXPECT_LT(file.find("[dB-Register]"), u);
    EXPECT_LT(u, p);
    std::size_t at = u;
    for (const char* key : {"Va=1", "Uin-Zahl= 3,000", "Uin-Vorsatz=10",
                            "Uout-Zahl=", "Uout-Vorsatz=", "a-dB= 6,000", "a-lin= 1,995"}) {
        const auto next = file.find(local(key), at);
        ASSERT_NE(next, std::string::npos) << key;
        ASSERT_LT(next, p) << key;
        at = next;
    }
    at = p;
    for (const char* key : {"Va=0", "Pin-Zahl= 700,000", "Pin-Vorsatz=10", "Pout-Zahl= 7,000",
                            "Pout-Vorsatz=9", "a-dB= 10,000", "a-lin= 10,000"}) {
        const auto next = file.find(local(key), at);
        ASSERT_NE(next, std::string::npos) << key;
        at = next;
    }

    Form restored(sep());
    BuildModel(restored);
    LoadSettings(restored, IniFile::parse(ini.serialize()));
    for (const char* edit : {"dB_U_E_Uin", "dB_U_E_Uout", "db_U_a_dB", "dB_U_a_lin", "db_P_E_Pin",
                             "db_P_E_Pout", "db_P_a_dB", "db_P_a_lin"}) {
        EXPECT_EQ(restored.text(edit), form.text(edit)) << edit;
    }
    for (const char* selector : {"dB_U_C_Uin", "dB_U_C_Uout", "db_P_C_Pin", "db_P_C_Pout"}) {
        EXPECT_EQ(restored.index(selector), form.index(selector)) << selector;
    }
    for (const char* marker : {"Image33", "Image34", "Image35", "Image36"}) {
        EXPECT_EQ(restored.at(marker).visible, form.at(marker).visible) << marker;
    }
    EXPECT_EQ(restored.index("PageControl2"), 0);
}

TEST_P(DbTab, MissingKeysTakeTheirLoadDefaults) {
    form.setVisible("Image33", false);
    LoadSettings(form, IniFile::parse("[dB-U]\r\nVa=0\r\n"));
    EXPECT_FALSE(shown("Image35"));
    EXPECT_TRUE(shown("Image36"));
    EXPECT_TRUE(shown("Image33"));
    EXPECT_FALSE(shown("Image34"));
    EXPECT_EQ(form.text("dB_U_E_Uin"), local(" 20,000"));
    EXPECT_EQ(form.text("dB_U_E_Uout"), local(" 200,000"));
    EXPECT_EQ(form.text("db_U_a_dB"), local(" 20,000"));
    EXPECT_EQ(form.text("db_P_a_dB"), local(" 10,000"));
    EXPECT_EQ(form.text("db_P_a_lin"), local(" 10,000"));
    // The power units' load default is the bare watt, not the milliwatt the
    // form starts with.
    EXPECT_EQ(form.index("db_P_C_Pin"), kVolt);
    EXPECT_EQ(form.index("db_P_C_Pout"), kVolt);
    EXPECT_EQ(form.index("dB_U_C_Uin"), kVolt);
}

TEST_P(DbTab, FactoryStateOfBothSubTabs) {
    // Change everything the factory step touches, then apply it.
    for (const char* edit : {"dB_U_E_Uin", "dB_U_E_Uout", "db_U_a_dB", "dB_U_a_lin", "db_P_E_Pin",
                             "db_P_E_Pout", "db_P_a_dB", "db_P_a_lin"}) {
        form.setText(edit, " 1");
    }
    form.click("Label78");
    form.click("Label80");
    ApplyFactoryDefaults(form);
    const std::pair<const char*, const char*> texts[] = {
        {"dB_U_E_Uin", " 20,000"}, {"dB_U_E_Uout", " 200,000"}, {"db_U_a_dB", " 20,000"},
        {"dB_U_a_lin", " 10,000"}, {"db_P_E_Pin", " 20,000"},   {"db_P_E_Pout", " 200,000"},
        {"db_P_a_dB", " 10,000"},  {"db_P_a_lin", " 10,000"},
    };
    for (const auto& [edit, text] : texts) EXPECT_EQ(form.text(edit), local(text)) << edit;
    EXPECT_EQ(form.index("dB_U_C_Uin"), kVolt);
    EXPECT_EQ(form.index("dB_U_C_Uout"), kVolt);
    EXPECT_EQ(form.index("db_P_C_Pin"), kMilli);
    EXPECT_EQ(form.index("db_P_C_Pout"), kMilli);
    EXPECT_TRUE(shown("Image35"));
    EXPECT_FALSE(shown("Image36"));
    EXPECT_TRUE(shown("Image33"));
    EXPECT_FALSE(shown("Image34"));
    EXPECT_EQ(form.index("PageControl2"), 1);  // "Spannung"
    EXPECT_EQ(form.state.DecimalPlaces, 3);
}
