// The help layer without a toolkit: the context of every container, the one
// table from context to topic, the labels' requests, the start-up message and
// the log switch; and every topic's worked example, driven through the window
// model and looked up in the topic the user reads.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "calc/help.h"
#include "calc/window.h"
#include "model_fixture.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::testing::RecordingSink;

namespace {

std::string readTopic(const std::string& page) {
    std::ifstream in(std::string(VELKARO_HELP_SOURCE_DIR) + "/" + page, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The topic's worked example as the reader sees it: from its heading to the
// end, without the markup.
std::string exampleText(const std::string& page) {
    const std::string html = readTopic(page);
    const auto start = html.find("<h2 id=\"beispiel\">");
    if (start == std::string::npos) return {};
    return std::regex_replace(html.substr(start), std::regex("<[^>]*>"), "");
}

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

// ---- contexts and topics ------------------------------------------------------

TEST(HelpTopics, EveryContextOfTheWindowHasItsOwnTopic) {
    std::set<int> contexts{kMainWindowHelpContext, kPageControlHelpContext};
    for (const TabSheet& sheet : kTabSheets) contexts.insert(sheet.helpContext);
    ASSERT_EQ(contexts.size(), kHelpTopics.size());
    std::set<std::string> pages;
    for (const int context : contexts) {
        const HelpTopic* topic = helpTopic(context);
        ASSERT_NE(topic, nullptr) << context;
        EXPECT_EQ(topic->context, context);
        pages.insert(topic->page);
        // The page exists and carries the heading the contents list shows.
        const std::string html = readTopic(topic->page);
        ASSERT_FALSE(html.empty()) << topic->page;
        EXPECT_NE(html.find("<title>" + std::string(topic->title) + "</title>"), std::string::npos)
            << topic->page;
        // The viewer reads a style sheet only when its type is named.
        EXPECT_NE(html.find("<link rel=\"stylesheet\" type=\"text/css\" href=\"hilfe.css\">"),
                  std::string::npos)
            << topic->page;
    }
    EXPECT_EQ(pages.size(), kHelpTopics.size()) << "two contexts share a page";
    // Each tab's topic is named like the tab.
    for (const TabSheet& sheet : kTabSheets) {
        EXPECT_STREQ(helpTopic(sheet.helpContext)->title, sheet.caption);
    }
    for (const int unknown : {0, 10, 41, 75, 180, -1}) EXPECT_EQ(helpTopic(unknown), nullptr);
}

TEST(HelpTopics, EveryTopicPageIsInTheHelpProject) {
    const std::string project = readTopic("velkaro.qhp");
    for (const HelpTopic& topic : kHelpTopics) {
        EXPECT_NE(project.find("ref=\"" + std::string(topic.page) + "\""), std::string::npos)
            << topic.page << " is missing from the contents";
    }
    EXPECT_NE(project.find(std::string("<namespace>") + kHelpNamespace + "</namespace>"),
              std::string::npos);
    EXPECT_NE(project.find(std::string("<virtualFolder>") + kHelpFolder + "</virtualFolder>"),
              std::string::npos);
}

// F1 climbs from the focused control to the nearest container with a context.
TEST(HelpContext, NearestContainerWithAContext) {
    const std::vector<std::string> frame = {"qt_tabwidget_stackedwidget", "PageControl1",
                                            "ClientArea", "TForm1"};
    auto inTab = [&frame](std::vector<std::string> inner) {
        inner.insert(inner.end(), frame.begin(), frame.end());
        return inner;
    };
    EXPECT_EQ(helpContextFor(inTab({"RC_E_R1", "", "RCGlieder"})), 120);
    EXPECT_EQ(helpContextFor(inTab({"dBm_C_lin", "dBm"})), 80);
    // Both sub-tabs of the dB tab, and their page control.
    EXPECT_EQ(helpContextFor(inTab({"dB_U_E_Uin", "TabSheet16", "qt_tabwidget_stackedwidget",
                                    "PageControl2", "dB"})),
              70);
    EXPECT_EQ(helpContextFor(inTab({"db_P_a_dB", "TabSheet17", "qt_tabwidget_stackedwidget",
                                    "PageControl2", "dB"})),
              70);
    // The tab row itself, the buttons, the Options dialog (its owner is the main window).
    EXPECT_EQ(helpContextFor({"qt_tabwidget_tabbar", "PageControl1", "ClientArea", "TForm1"}), 30);
    EXPECT_EQ(helpContextFor({"ButtonOK", "ClientArea", "TForm1"}), 40);
    EXPECT_EQ(helpContextFor({"RadioButton2", "GroupBox2", "TForm3", "TForm1"}), 40);
    EXPECT_EQ(helpContextFor({"HelpTopic", "", "HelpWindow"}), 0);
    EXPECT_EQ(helpContextFor({}), 0);
}

TEST(HelpContext, EveryFieldOfEveryTabGivesItsTabsContext) {
    Form form;
    BuildModel(form);
    int tabsWithFields = 0;
    for (const TabSheet& sheet : kTabSheets) {
        int fields = 0;
        for (const auto& [name, control] : form.controls()) {
            if (control.tab != sheet.caption) continue;
            if (control.kind != ControlKind::Edit && control.kind != ControlKind::Selector) continue;
            ++fields;
            EXPECT_EQ(helpContextFor({name, sheet.name, "qt_tabwidget_stackedwidget",
                                      "PageControl1", "ClientArea", "TForm1"}),
                      sheet.helpContext)
                << name;
        }
        tabsWithFields += fields > 0;
    }
    EXPECT_EQ(tabsWithFields, static_cast<int>(kTabSheets.size()));
}

// Each "Hilfe - F1" label asks for its tab's topic, through the same road as F1.
TEST(HelpContext, EveryLabelRequestsItsTabsContext) {
    const std::pair<const char*, int> labels[] = {
        {"Label192", 70},  {"Label189", 70},  {"Label188", 80},  {"Label187", 90},
        {"Label186", 100}, {"Label184", 110}, {"Label183", 120}, {"Label182", 130},
        {"Label193", 140}, {"Label194", 150}, {"Label195", 160}, {"Label196", 170},
    };
    Form form;
    BuildModel(form);
    RecordingSink sink;
    form.setSink(&sink);
    for (const auto& [label, context] : labels) {
        ASSERT_TRUE(form.has(label)) << label;
        EXPECT_EQ(form.text(label), "Hilfe - F1");
        sink.help.clear();
        form.click(label);
        ASSERT_EQ(sink.help.size(), 1U) << label;
        EXPECT_EQ(sink.help.front(), context) << label;
        EXPECT_NE(helpTopic(context), nullptr);
    }
}

TEST(HelpFile, MissingFileMessageNamesTheFullPath) {
    EXPECT_EQ(helpFileMissingMessage("/opt/velkaro/kl_VKOV30_Help.qch"),
              "Hilfe-Datei nicht gefunden\r/opt/velkaro/kl_VKOV30_Help.qch");
    EXPECT_STREQ(kHelpFileName, "kl_VKOV30_Help.qch");
}

TEST(HelpLog, SwitchedOnByTheFileOrEitherArgumentInAnyCase) {
    EXPECT_TRUE(helpLogRequested(true, {}));
    EXPECT_FALSE(helpLogRequested(false, {}));
    EXPECT_FALSE(helpLogRequested(false, {"/usr/bin/velkaro"}));
    for (const char* on : {"/debug", "-debug", "/DEBUG", "-Debug", "/dEbUg"}) {
        EXPECT_TRUE(helpLogRequested(false, {"velkaro", on})) << on;
    }
    for (const char* off : {"debug", "--debug", "/debugger", "-debug=1", " -debug", "/debu"}) {
        EXPECT_FALSE(helpLogRequested(false, {"velkaro", off})) << off;
    }
}

// ---- the worked examples ------------------------------------------------------

namespace {

// One thing the user does: set a value (text and unit) and press Enter, or click.
struct Action {
    std::string control;        // edit or button
    std::string text;           // empty: a click
    std::string selector = {};  // the edit's unit list
    int index = -1;             // its prefix item (8 = none, 6 = M, 9 = m, 10 = µ ...)
};

// A field as the topic shows it: the value, then its unit (selector or unit edit).
struct Shown {
    std::string value;
    std::string unit = {};
};

struct Stage {
    std::vector<Action> actions;
    std::vector<Shown> shown;
};

struct Example {
    const char* page;
    std::vector<Stage> stages;
};

const std::vector<Example>& examples() {
    static const std::vector<Example> all = {
        {"db.html",
         {{{{"db_P_a_lin", "10"}, {"db_P_E_Pin", "20", "db_P_C_Pin", 9}},
           {{"db_P_E_Pout", "db_P_C_Pout"}, {"db_P_a_dB"}}},
          {{{"dB_U_E_Uin", "1", "dB_U_C_Uin", 8}, {"db_U_a_dB", "20"}},
           {{"dB_U_a_lin"}, {"dB_U_E_Uout", "dB_U_C_Uout"}}}}},
        {"dbm.html",
         {{{{"dBm_E_R", "50", "dBm_C_R", 8}, {"dBm_E_dB", "0"}},
           {{"dBm_E_lin", "dBm_C_lin"}, {"dBm_E_Ueff", "dBm_C_Ueff"}, {"dBm_E_Uss", "dBm_C_Uss"}}},
          {{{"dBm_E_Ueff", "1", "dBm_C_Ueff", 8}},
           {{"dBm_E_lin", "dBm_C_lin"}, {"dBm_E_dB"}, {"dBm_E_Uss", "dBm_C_Uss"}}}}},
        {"dbuv.html",
         {{{{"dBuV_E_R", "100", "dBuV_C_R", 8}, {"dBuV_E_dB", "0"}},
           {{"dBuV_E_Ueff", "dBuV_C_Ueff"},
            {"dBuV_E_Uss", "dBuV_C_Uss"},
            {"dBuV_E_lin", "dBuV_C_lin"},
            {"dBuV_E_dBm"}}},
          {{{"dBuV_E_R", "50", "dBuV_C_R", 8}, {"dBuV_E_dBm", "-100"}},
           {{"dBuV_E_lin", "dBuV_C_lin"},
            {"dBuV_E_Ueff", "dBuV_C_Ueff"},
            {"dBuV_E_Uss", "dBuV_C_Uss"},
            {"dBuV_E_dB"}}}}},
        {"xlxc.html",
         {{{{"XL_RB_X", ""},
            {"XL_E_Q", "50"},
            {"XL_E_F", "1", "XL_C_F", 6},
            {"XL_E_L", "10", "XL_C_L", 10}},
           {{"XL_E_X", "XL_C_X"}, {"XL_E_Z", "XL_C_Z"}}},
          {{{"XC_RB_X", ""}, {"XC_E_F", "1", "XC_C_F", 6}, {"XC_E_C", "1", "XC_C_C", 10}},
           {{"XC_E_X", "XC_C_X"}}}}},
        {"lc.html",
         {{{{"LC_RB_L", ""}, {"LC_E_C", "1", "LC_C_C", 11}, {"LC_E_F", "1", "LC_C_F", 6}},
           {{"LC_E_L", "LC_C_L"}}},
          {{{"LC_E_Q", "100"}},
           {{"LC_E_R", "LC_C_R"},
            {"LC_Pa_R", "LC_L_Pa_R"},
            {"LC_Pa_G"},
            {"LC_Pa_B", "LC_L_Pa_B"},
            {"LC_Ser_R", "LC_L_Ser_R"},
            {"LC_Ser_B", "LC_L_Ser_B"}}}}},
        {"rc.html",
         {{{{"RC_RB_RC", ""},
            {"RC_RB_R", ""},
            {"RC_E_C1", "100", "RC_C_C1", 11},
            {"RC_E_F", "1", "RC_C_F", 7}},
           {{"RC_E_R1", "RC_C_R1"}, {"RC_E_s", "RC_C_s"}}},
          {{{"RC_RB_Doppel", ""}}, {{"RC_E_C2", "RC_C_C2"}}}}},
        {"pit.html",
         {{{{"PiT_E_Z", "50", "PiT_C_Z", 8}, {"PiT_E_P", "1", "PiT_C_P", 9}, {"PiT_E_dB", "20"}},
           {{"PiT_Pi_E_R_R1", "PiT_Pi_L_R_R1"},
            {"PiT_Pi_E_R_R23", "PiT_Pi_L_R_R23"},
            {"PiT_Pi_E_P_R1", "PiT_Pi_L_P_R1"},
            {"PiT_Pi_E_P_R2", "PiT_Pi_L_P_R2"},
            {"PiT_Pi_E_P_R3", "PiT_Pi_L_P_R3"},
            {"PiT_T_E_R_R1", "PiT_T_L_R_R1"},
            {"PiT_T_E_R_R23", "PiT_T_L_R_R23"},
            {"PiT_T_E_P_R1", "PiT_T_L_P_R1"},
            {"PiT_T_E_P_R2", "PiT_T_L_P_R2"},
            {"PiT_T_E_P_R3", "PiT_T_L_P_R3"}}}}},
        {"ps.html",
         {{{{"PS_E_F", "3,6", "PS_C_F", 6},
            {"PS_E_Lp", "10", "PS_C_Lp", 10},
            {"PS_E_Rp", "25", "PS_C_Rp", 8}},
           {{"PS_E_Rs", "PS_C_Rs"}, {"PS_E_Ls", "PS_C_Ls"}, {"PS_E_Cs", "PS_C_Cs"}}},
          {{{"PS_E_Cp", "195,455", "PS_C_Cp", 12}}, {{"PS_E_Lp", "PS_C_Lp"}}}}},
        {"lnetz.html",
         {{{{"L_E_Z2", "50", "L_C_Z2", 8},
            {"L_E_Z1", "470", "L_C_Z1", 8},
            {"L_E_QL", "100"},
            {"L_E_F", "10", "L_C_F", 6}},
           {{"L_E_HP_L", "L_C_HP_L"},
            {"L_E_HP_C", "L_C_HP_C"},
            {"L_E_TP_L", "L_C_TP_L"},
            {"L_E_TP_C", "L_C_TP_C"},
            {"L_E_Tl"},
            {"L_E_B", "L_C_B"}}}}},
        {"pinetz.html",
         {{{{"Pi_RB_Vorgabe", ""},
            {"Pi_E_Z2", "50", "Pi_C_Z2", 8},
            {"Pi_E_Z1", "1", "Pi_C_Z1", 7},
            {"Pi_E_QL", "100"},
            {"Pi_E_F", "10", "Pi_C_F", 6}},
           {{"Pi_E_Q"},
            {"Pi_E_HP_L1", "Pi_C_HP_L1"},
            {"Pi_E_HP_L2", "Pi_C_HP_L2"},
            {"Pi_E_HP_C", "Pi_C_HP_C"},
            {"Pi_E_HP_TL"},
            {"Pi_E_HP_B", "Pi_C_HP_B"},
            {"Pi_E_TP_C1", "Pi_C_TP_C1"},
            {"Pi_E_TP_C2", "Pi_C_TP_C2"},
            {"Pi_E_TP_L", "Pi_C_TP_L"},
            {"Pi_E_TP_TL"},
            {"Pi_E_TP_B", "Pi_C_TP_B"}}}}},
        {"tnetz.html",
         {{{{"T_RB_Eingabe", ""},
            {"T_E_Z2", "50", "T_C_Z2", 8},
            {"T_E_Z1", "250", "T_C_Z1", 8},
            {"T_E_Q", "1"},
            {"T_E_QL", "100"},
            {"T_E_F", "4", "T_C_F", 6}},
           {{"T_E_HP_C1", "T_C_HP_C1"},
            {"T_E_HP_C2", "T_C_HP_C2"},
            {"T_E_HP_L", "T_C_HP_L"},
            {"T_E_HP_Tl"},
            {"T_E_HP_B", "T_C_HP_B"},
            {"T_E_TP_L1", "T_C_TP_L1"},
            {"T_E_TP_L2", "T_C_TP_L2"},
            {"T_E_TP_C", "T_C_TP_C"},
            {"T_E_TP_Tl"},
            {"T_E_TP_B", "T_C_TP_B"}}}}},
    };
    return all;
}

// What the user reads in a field: "200,000 mWatt", "13,010".
std::string reading(const Form& form, const Shown& s) {
    std::string text = trimmed(form.text(s.value));
    if (s.unit.empty()) return text;
    const Control& unit = form.at(s.unit);
    const std::string word =
        unit.kind == ControlKind::Selector ? trimmed(unit.unitText()) : trimmed(unit.text);
    return text + " " + word;
}

void act(Form& form, const Action& a) {
    if (a.text.empty()) {
        form.click(a.control);
        return;
    }
    form.userEdit(a.control, a.text);
    if (!a.selector.empty() && form.index(a.selector) != a.index) {
        // A unit change enters the typed number in the new unit.
        form.enter(a.selector);
        form.chooseItem(a.selector, a.index);
        form.leave(a.selector);
    } else {
        form.pressEnter(a.control);
    }
}

// Named by its topic in test output.
[[maybe_unused]] void PrintTo(const Example& e, std::ostream* os) { *os << e.page; }

class WorkedExample : public ::testing::TestWithParam<Example> {};

std::string exampleName(const ::testing::TestParamInfo<Example>& info) {
    std::string name = info.param.page;
    return name.substr(0, name.find('.'));
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Topics, WorkedExample, ::testing::ValuesIn(examples()), exampleName);

// The numbers a topic's example promises are what the tab shows, at three
// decimals with the comma, from a first start.
TEST_P(WorkedExample, TheTabShowsWhatTheTopicSays) {
    const Example& example = GetParam();
    Form form(',');
    BuildModel(form);
    const std::string first = example.stages.front().actions.back().control;
    if (!form.has(first)) GTEST_SKIP() << "the tab of " << example.page << " is not built yet";
    ApplyFactoryDefaults(form);
    form.state.DecimalPlaces = 3;
    RecordingSink sink;
    form.setSink(&sink);

    const std::string topic = exampleText(example.page);
    ASSERT_FALSE(topic.empty()) << example.page << " has no example";
    for (const Stage& stage : example.stages) {
        for (const Action& a : stage.actions) act(form, a);
        EXPECT_TRUE(sink.errors.empty()) << sink.errors.front();
        EXPECT_TRUE(sink.general.empty()) << sink.general.front();
        for (const Shown& s : stage.shown) {
            const std::string shown = reading(form, s);
            EXPECT_NE(topic.find(shown), std::string::npos)
                << example.page << ": the tab shows \"" << shown << "\" in " << s.value;
        }
    }
}

// Every tab's topic has an example with this test behind it.
TEST(WorkedExamples, EveryTabTopicHasOne) {
    std::set<std::string> tested;
    for (const Example& e : examples()) tested.insert(e.page);
    for (const TabSheet& sheet : kTabSheets) {
        const std::string page = helpTopic(sheet.helpContext)->page;
        EXPECT_TRUE(tested.count(page)) << page;
        EXPECT_FALSE(exampleText(page).empty()) << page;
    }
}
