// The value-field protocol, driven through the model's user actions on a small
// field table of the tests' own.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/form.h"
#include "core/messages.h"
#include "model_fixture.h"

using namespace velkaro;
using velkaro::testing::RecordingSink;

namespace {

UnitList wattList() {
    return {{"YWatt", "ZWatt", "EWatt", "PWatt", "TWatt", "GWatt", "MWatt", "kWatt", " Watt",
             "mWatt", "\u00b5Watt", "nWatt", "pWatt", "fWatt", "aWatt", "zWatt", "yWatt"}};
}

const UnitList kWatt = wattList();

// A power field with selector (form B, " Watt"), a level field (form A, word
// after the number), a plain factor field (form A, no word) and a quality field
// with the tight form B. Each computation records what it received.
class ProtocolTest : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override {
        form.setSink(&sink);
        form.state.DecimalPlaces = 3;
        const std::string one = sep() == ',' ? " 1,000" : " 1.000";
        form.addEdit("T_E_P", one);
        form.addSelector("T_C_P", kWatt, 9);
        form.addEdit("T_E_dB", " 0");
        form.addEdit("T_E_lin", one);
        form.addEdit("T_E_Q", one);
        form.addEdit("T_E_out", one);
        form.addSelector("T_C_out", kWatt, 8);
        form.addField({.edit = "T_E_P",
                       .selector = "T_C_P",
                       .lower = "4e-26",
                       .upper = "7e+26",
                       .word = " Watt",
                       .form = RangeForm::B,
                       .compute = [this](double v) { received.push_back(v); },
                       .reformat = "T_Eingaben_formatieren"});
        form.addField({.edit = "T_E_dB",
                       .lower = "-174",
                       .upper = "320",
                       .word = " dBm",
                       .form = RangeForm::A,
                       .wordAfterNumber = true,
                       .compute = [this](double v) { received.push_back(v); },
                       .reformat = "T_Eingaben_formatieren"});
        form.addField({.edit = "T_E_lin",
                       .lower = "1",
                       .upper = "8e+14 ",
                       .form = RangeForm::A,
                       .compute =
                           [this](double v) {
                               received.push_back(v);
                               form.writeRanged("T_E_out", "T_C_out", v * 1e-3);
                           },
                       .reformat = "T_Eingaben_formatieren",
                       .computeOnExit = true});
        form.addField({.edit = "T_E_Q",
                       .lower = "0.5",
                       .upper = "100",
                       .form = RangeForm::BTight,
                       .compute = [this](double v) { received.push_back(v); }});
        form.addReformat("T_Eingaben_formatieren", [this] {
            ++reformats;
            form.restep("T_E_P", "T_C_P");
            form.reformatPlain("T_E_dB");
        });
    }

    char sep() const { return GetParam(); }
    // "2,5" written with the separator under test.
    std::string local(std::string s) const { return velkaro::testing::local(std::move(s), sep()); }
    void type(const std::string& edit, const std::string& text) {
        form.userEdit(edit, local(text));
    }

    Form form{GetParam()};
    RecordingSink sink;
    std::vector<double> received;
    int reformats = 0;
};

}  // namespace

TEST_P(ProtocolTest, DecimalKeysBecomeTheUsersSeparator) {
    EXPECT_EQ(form.keyPress("T_E_P", '.'), sep());
    EXPECT_EQ(form.keyPress("T_E_P", ','), sep());
    EXPECT_EQ(form.keyPress("T_E_P", 'a'), 'a');  // letters reach the edit; Enter catches them
    EXPECT_TRUE(received.empty());
}

TEST_P(ProtocolTest, EnterHandsTheValueInBaseUnitsAndReformats) {
    type("T_E_P", "1500");  // with "mWatt" selected
    form.keyPress("T_E_P", '\r');
    ASSERT_EQ(received.size(), 1u);
    EXPECT_DOUBLE_EQ(received[0], 1.5);
    EXPECT_EQ(reformats, 1);
    EXPECT_EQ(form.text("T_E_P"), local(" 1,500"));
    EXPECT_EQ(form.index("T_C_P"), 8);
    EXPECT_TRUE(sink.errors.empty());

    type("T_E_P", "1e3");
    form.pressEnter("T_E_P");  // the exponent form is a number, too
    EXPECT_DOUBLE_EQ(received.back(), 1000.0);
}

TEST_P(ProtocolTest, LimitsAreInclusiveAsTyped) {
    form.setIndex("T_C_P", 16);  // yWatt
    type("T_E_P", "0,04");       // 0.04 × 1e-24 is exactly the lower limit 4e-26
    form.pressEnter("T_E_P");
    EXPECT_TRUE(sink.errors.empty());
    ASSERT_EQ(received.size(), 1u);

    type("T_E_dB", "-174");
    form.pressEnter("T_E_dB");
    type("T_E_dB", "320");
    form.pressEnter("T_E_dB");
    type("T_E_lin", "8e14");  // the limit text carries a trailing blank
    form.pressEnter("T_E_lin");
    EXPECT_TRUE(sink.errors.empty());
    EXPECT_EQ(received.size(), 4u);
}

TEST_P(ProtocolTest, NonNumberOnEnterIsRefusedAndUndone) {
    const std::string before = form.text("T_E_P");
    type("T_E_P", "12a");
    form.pressEnter("T_E_P");
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0], "Die eingegebene Zahl12a  ist keine Gleitkommazahl !");
    EXPECT_EQ(form.text("T_E_P"), before);
    EXPECT_TRUE(received.empty());

    form.userEdit("T_E_P", "");
    form.pressEnter("T_E_P");
    EXPECT_EQ(sink.errors.back(), "Die eingegebene Zahl  ist keine Gleitkommazahl !");
    EXPECT_EQ(form.text("T_E_P"), before);

    // The other separator is no separator here.
    form.userEdit("T_E_P", sep() == ',' ? "2.5" : "2,5");
    form.pressEnter("T_E_P");
    EXPECT_EQ(sink.errors.size(), 3u);
}

TEST_P(ProtocolTest, UndoReturnsToTheTextBeforeTheWholeRunOfTyping) {
    const std::string before = form.text("T_E_P");
    type("T_E_P", "9");
    type("T_E_P", "99");
    type("T_E_P", "99x");
    form.pressEnter("T_E_P");
    EXPECT_EQ(form.text("T_E_P"), before);
}

// Enter ends a run of typing even where the computation then fails: a later
// refused entry goes back to the text that was entered, not to an older one.
TEST_P(ProtocolTest, AnAcceptedEnterIsWhatTheNextRefusalReturnsTo) {
    form.addEdit("T_E_r", " 2");
    form.addField({.edit = "T_E_r", .lower = "-10", .upper = "10", .compute = [](double) {
                       throw ConversionError("xyz");
                   }});
    type("T_E_r", "5");
    form.pressEnter("T_E_r");
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(form.text("T_E_r"), "5");
    type("T_E_r", "abc");
    form.pressEnter("T_E_r");
    EXPECT_EQ(form.text("T_E_r"), "5");
    type("T_E_r", "50");
    form.pressEnter("T_E_r");
    EXPECT_EQ(form.text("T_E_r"), "5");  // out of range: back to the entered text
}

TEST_P(ProtocolTest, RangeMessagesOfEveryForm) {
    const std::string CR = "\r";
    form.setIndex("T_C_P", 0);
    type("T_E_P", " 900");
    form.pressEnter("T_E_P");
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0], "Die Eingabe 900 YWatt  ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:4e-26 bis 7e+26 Watt");

    type("T_E_dB", "-174,5");
    form.pressEnter("T_E_dB");
    EXPECT_EQ(sink.errors[1], "Die eingegebene Zahl" + local("-174,5") +
                                  " dBm ist nicht richtig !" + CR + CR +
                                  "        zul\u00e4ssiger Bereich:-174 bis 320 dBm");
    EXPECT_EQ(form.text("T_E_dB"), " 0");

    type("T_E_lin", "0,5");
    form.pressEnter("T_E_lin");
    EXPECT_EQ(sink.errors[2], "Die eingegebene Zahl" + local("0,5") + " ist nicht richtig !" + CR +
                                  CR + "        zul\u00e4ssiger Bereich:1 bis 8e+14 ");

    type("T_E_Q", "200");
    form.pressEnter("T_E_Q");
    EXPECT_EQ(sink.errors[3], "Die Eingabe200ist ausserhalb" + CR + CR +
                                  "des g\u00fcltigen Wertebereiches:0.5 bis 100");
    EXPECT_TRUE(received.empty());
}

TEST(Messages, FormAWithSelectorQuotesTheUnitItem) {
    FieldSpec f{
        .edit = "E", .selector = "C", .lower = "1e-12", .upper = "1e12", .form = RangeForm::A};
    EXPECT_EQ(enterRangeMessage(f, " 5", "mVolt"),
              "Die eingegebene Zahl 5 mVolt ist nicht richtig !\r\r"
              "        zul\u00e4ssiger Bereich:1e-12 bis 1e12");
    f.form = RangeForm::B;
    f.selector.clear();
    f.word = " Ohm";
    EXPECT_EQ(
        enterRangeMessage(f, "7", ""),
        "Die Eingabe7  ist ausserhalb\r\rdes g\u00fcltigen Wertebereiches:1e-12 bis 1e12 Ohm");
}

TEST_P(ProtocolTest, UnitChangeComputesReformatsAndMovesTheFocus) {
    form.enter("T_C_P");
    EXPECT_EQ(form.state.SavedUnitIndex, 9);
    form.chooseItem("T_C_P", 8);  // " 1,000" mWatt -> 1 W
    ASSERT_EQ(received.size(), 1u);
    EXPECT_DOUBLE_EQ(received[0], 1.0);
    EXPECT_EQ(form.index("T_C_P"), 8);
    EXPECT_EQ(sink.focus, std::vector<std::string>{"T_C_P"});
}

TEST_P(ProtocolTest, RefusedUnitChangeReturnsToTheIndexHeldAtFocusTime) {
    form.enter("T_C_P");          // SavedUnitIndex 9
    form.chooseItem("T_C_P", 7);  // 1 kW: fine
    type("T_E_P", "900");
    form.chooseItem("T_C_P", 0);  // 900 YW: above 7e+26 W
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0], "Die Eingabe" + form.text("T_E_P") + " YWatt  ist ausserhalb\r\r" +
                                  "des g\u00fcltigen Wertebereiches:4e-26 bis 7e+26 Watt");
    EXPECT_EQ(form.index("T_C_P"), 9);  // not the last valid 7
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(sink.focus.size(), 1u);
}

TEST_P(ProtocolTest, UnitChangeOnANonNumberIsAGeneralConversionError) {
    type("T_E_P", "abc");
    form.chooseItem("T_C_P", 8);
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(sink.general[0], "'abc' ist kein g\u00fcltiger Gleitkommawert.");
    EXPECT_EQ(form.index("T_C_P"), 8);  // keeps the new unit
    EXPECT_EQ(form.text("T_E_P"), "abc");
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(sink.focus.empty());
}

TEST_P(ProtocolTest, LeavingAFieldComputesOnlyWhereTheFieldSaysSo) {
    type("T_E_P", "5");
    form.leave("T_E_P");
    EXPECT_TRUE(received.empty());

    type("T_E_lin", "1e20");  // out of range, but leaving computes without a check
    form.leave("T_E_lin");
    ASSERT_EQ(received.size(), 1u);
    EXPECT_DOUBLE_EQ(received[0], 1e20);
    EXPECT_TRUE(sink.errors.empty());

    type("T_E_lin", "x");
    form.leave("T_E_lin");
    EXPECT_EQ(sink.general, std::vector<std::string>{"'x' ist kein g\u00fcltiger Gleitkommawert."});
}

TEST_P(ProtocolTest, ArithmeticFaultsAreReportedOnceAndNothingShowsInfinity) {
    form.addEdit("T_E_r", " 2");
    form.addField({.edit = "T_E_r", .lower = "-10", .upper = "10", .compute = [this](double v) {
                       form.writeFixed("T_E_dB", 5);  // written before the fault: stays
                       form.writeFixed("T_E_Q", checkedDivide(1, v));
                   }});
    type("T_E_r", "0");
    form.pressEnter("T_E_r");
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(sink.general[0], "Division durch Null.");
    EXPECT_EQ(form.text("T_E_dB"), local(" 5,000"));
    EXPECT_EQ(form.text("T_E_Q"), local(" 1,000"));

    EXPECT_THROW(form.writeRanged("T_E_out", "T_C_out", 1e308 * 10), ArithmeticError);
    EXPECT_THROW(checkedLog10(0), ArithmeticError);
    EXPECT_THROW(checkedSqrt(-1), ArithmeticError);
}

TEST_P(ProtocolTest, OneStepReRangingAndItsLimits) {
    form.setText("T_E_P", local(" 1500000"));
    form.restep("T_E_P", "T_C_P");  // mWatt -> Watt, one step only
    EXPECT_EQ(form.text("T_E_P"), local(" 1500,000"));
    EXPECT_EQ(form.index("T_C_P"), 8);
    form.restep("T_E_P", "T_C_P");
    EXPECT_EQ(form.text("T_E_P"), local(" 1,500"));
    EXPECT_EQ(form.index("T_C_P"), 7);

    // At the ends of the list the number is rewritten in the unit it has: what
    // is shown stays what is read back.
    form.setIndex("T_C_P", 16);
    form.setText("T_E_P", local(" 0,5"));
    form.restep("T_E_P", "T_C_P");
    EXPECT_EQ(form.index("T_C_P"), 16);
    EXPECT_EQ(form.text("T_E_P"), local(" 0,500"));
    EXPECT_DOUBLE_EQ(form.value("T_E_P"), 0.5e-24);
    form.setIndex("T_C_P", 0);
    form.setText("T_E_P", local(" 2500"));
    form.restep("T_E_P", "T_C_P");
    EXPECT_EQ(form.index("T_C_P"), 0);
    EXPECT_EQ(form.text("T_E_P"), local(" 2500,000"));

    // A zero keeps its unit, however often it is reformatted.
    form.setIndex("T_C_P", 9);
    form.setText("T_E_P", local(" 0"));
    for (int i = 0; i < 20; ++i) form.restep("T_E_P", "T_C_P");
    EXPECT_EQ(form.index("T_C_P"), 9);
    EXPECT_EQ(form.text("T_E_P"), local(" 0,000"));

    // A field left without an item counts as the bare unit and is ranged from there.
    form.setIndex("T_C_P", -1);
    form.setText("T_E_P", local(" 0,25"));
    form.restep("T_E_P", "T_C_P");
    EXPECT_EQ(form.index("T_C_P"), 9);
    EXPECT_EQ(form.text("T_E_P"), local(" 250,000"));
    form.setIndex("T_C_P", -1);
    form.setText("T_E_P", local(" 42"));
    form.restep("T_E_P", "T_C_P");
    EXPECT_EQ(form.index("T_C_P"), 8);

    form.setText("T_E_lin", local(" 100000"));
    form.reformatFactor("T_E_lin");
    EXPECT_EQ(form.text("T_E_lin"), local(" 100000,000"));
    form.setText("T_E_lin", local(" 100001"));
    form.reformatFactor("T_E_lin");
    EXPECT_EQ(form.text("T_E_lin"), local(" 1,00001E+05"));

    // A reformat reads the text itself, not a double copy of it.
    form.setText("T_E_Q", local(" 0,7955"));
    form.reformatPlain("T_E_Q");
    EXPECT_EQ(form.text("T_E_Q"), local(" 0,796"));
    form.state.DecimalPlaces = 0;
    form.setText("T_E_Q", local(" 12,5"));
    form.reformatPlain("T_E_Q");
    EXPECT_EQ(form.text("T_E_Q"), " 13");
}

TEST_P(ProtocolTest, ReformatStopsAtTheFirstNonNumber) {
    form.userEdit("T_E_P", "abc");
    form.setText("T_E_dB", local(" 5,5"));
    form.guarded([this] { form.reformat("T_Eingaben_formatieren"); });
    EXPECT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(form.text("T_E_dB"), local(" 5,5"));  // after the bad field: untouched
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, ProtocolTest, ::testing::Values(',', '.'));

// ---- controls -------------------------------------------------------------------

TEST(FormControls, RadioButtonsAndCheckBoxesRunTheirHandlersLikeTheToolkit) {
    Form form;
    std::vector<std::string> calls;
    form.addRadio("RB_F", "mode", [&] { calls.push_back("F"); });
    form.addRadio("RB_L", "mode", [&] { calls.push_back("L"); });
    form.addRadio("RB_X", "other", [&] { calls.push_back("X"); });
    form.addCheck("CB", [&] { calls.push_back("CB"); });

    form.setChecked("RB_F", true);
    form.setChecked("RB_L", true);   // unchecks F silently
    form.setChecked("RB_L", true);   // no change, no handler
    form.setChecked("RB_L", false);  // unchecking runs nothing
    form.click("RB_F");
    form.click("RB_F");             // a click on the checked button changes nothing
    form.setChecked("RB_X", true);  // other group: F stays
    form.setChecked("CB", true);
    form.click("CB");
    form.setChecked("CB", false);  // already unchecked
    EXPECT_EQ(calls, (std::vector<std::string>{"F", "L", "F", "X", "CB", "CB"}));
    EXPECT_TRUE(form.checked("RB_F"));
    EXPECT_FALSE(form.checked("RB_L"));
    EXPECT_TRUE(form.checked("RB_X"));
    EXPECT_FALSE(form.checked("CB"));
}

TEST(FormControls, ProgramChangesRunNoHandlerAndRaiseTheRevision) {
    Form form;
    int clicks = 0;
    form.addSelector("C", kWatt, 8).onClick = [&] { ++clicks; };
    form.addEdit("E", " 1");
    form.addPages("P", 3, 0);
    const auto before = form.at("E").revision;
    form.setText("E", " 2");
    form.setIndex("C", 3);
    EXPECT_EQ(clicks, 0);
    EXPECT_GT(form.at("E").revision, before);
    form.setIndex("C", 17);  // no item
    EXPECT_EQ(form.index("C"), -1);
    EXPECT_EQ(form.at("C").unitText(), "");
    form.setPage("P", 3);  // outside: unchanged
    EXPECT_EQ(form.index("P"), 0);
    form.setPage("P", 2);
    EXPECT_EQ(form.index("P"), 2);
    form.chooseItem("C", 9);  // a user's choice runs the click handler
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.at("C").unitText(), "mWatt");
}

TEST(FormControls, MistakesInAFieldTableFailLoudly) {
    Form form;
    form.addEdit("E", " 1");
    EXPECT_THROW(form.addEdit("E", " 1"), std::logic_error);
    EXPECT_THROW(form.addField({.edit = "E", .lower = "1e-3", .upper = "abc"}), std::logic_error);
    EXPECT_THROW(form.addField({.edit = "nope", .lower = "1", .upper = "2"}), std::out_of_range);
}
