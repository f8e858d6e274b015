// Storing and loading the window's state through the section tables, the
// factory start, and the settings file's own rules.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calc/options.h"
#include "calc/units.h"
#include "calc/window.h"
#include "model_fixture.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::testing::RecordingSink;

namespace {

// A small window of the tests' own with one key of every kind.
class SectionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.setSink(&sink);
        form.addEdit("S_E_F", " 20,000");
        form.addSelector("S_C_F", units::kHertz, 6);
        form.addEdit("S_L_R", " kOhm");
        form.addRadio("S_RB_1", "mode", [this] { clicks.push_back("1"); });
        form.addRadio("S_RB_2", "mode", [this] { clicks.push_back("2"); });
        form.addRadio("S_RB_3", "mode", [this] { clicks.push_back("3"); });
        form.addPicture("S_Up");
        form.addPicture("S_Down");
        form.addCheck("S_CB_QC", [this] { clicks.push_back("QC"); });
        form.addEdit("S_E_QC", " 500,000");
        form.addEdit("S_E_Q", " 100,000");
        form.addPages("S_Pages", 3, 0);
        sections = {
            {"Test",
             {
                 {.key = "Frequenz", .control = "S_E_F", .fallback = "1,000"},
                 {.key = "Frequenz-Einheit",
                  .kind = SettingKind::Index,
                  .control = "S_C_F",
                  .fallback = "6"},
                 {.key = "Einheit",
                  .kind = SettingKind::Text,
                  .control = "S_L_R",
                  .fallback = "Ohm"},
                 {.key = "Modus",
                  .kind = SettingKind::Mode,
                  .fallback = "3",
                  .mode = &WindowState::XLMode,
                  .radios = {"S_RB_1", "S_RB_2", "S_RB_3"}},
                 {.key = "Va",
                  .kind = SettingKind::Marker,
                  .control = "S_Up",
                  .fallback = "1",
                  .partner = "S_Down"},
                 {.key = "GüteC",
                  .kind = SettingKind::QualityCheck,
                  .control = "S_CB_QC",
                  .fallback = "0",
                  .partner = "S_E_QC"},
                 {.key = "Eingabe_Q",
                  .kind = SettingKind::Float,
                  .fallback = "1",
                  .real = &WindowState::EnteredOperatingQ},
                 {.key = "Schrift",
                  .kind = SettingKind::Colour,
                  .control = "S_E_Q",
                  .fallback = "clWindowText"},
                 {.key = "Karte", .kind = SettingKind::Page, .control = "S_Pages", .fallback = "9"},
                 {.key = "Null", .control = "S_E_QC", .fallback = "0", .fallbackAsIs = true},
             }}};
    }

    IniFile store() {
        IniFile ini;
        StoreSections(form, ini, sections);
        return ini;
    }
    void load(const std::string& text) { LoadSections(form, IniFile::parse(text), sections); }

    Form form{','};
    RecordingSink sink;
    std::vector<std::string> clicks;
    std::vector<SettingsSection> sections;
};

}  // namespace

TEST_F(SectionsTest, StoresEveryKindAsTheFileExpectsIt) {
    form.state.XLMode = 2;
    form.state.EnteredOperatingQ = 4.996;
    form.setVisible("S_Down", false);
    form.setChecked("S_CB_QC", true);
    form.setIndex("S_C_F", 17);
    form.setFontColour("S_E_Q", colour::kMedGray);
    form.setPage("S_Pages", 2);
    EXPECT_EQ(
        store().serialize(),
        "[Test]\r\nFrequenz= 20,000\r\nFrequenz-Einheit=-1\r\nEinheit= kOhm\r\nModus=2\r\n"
        "Va=1\r\nG\xFCteC=1\r\nEingabe_Q=4,996\r\nSchrift=clMedGray\r\nKarte=2\r\nNull= 500,000\r\n"
        "[Dezimalseparator]\r\nDezimals=,\r\n");
}

TEST_F(SectionsTest, LoadingPutsTheTextsBackWithOneBlankAndConvertsTheSeparator) {
    Form dotted{'.'};
    dotted.addEdit("S_E_F", " 1");
    dotted.addEdit("S_L_R", " Ohm");
    const std::vector<SettingsSection> two = {{"Test", {sections[0].keys[0], sections[0].keys[2]}}};
    // Written where the comma was the separator, read where it is the point.
    LoadSections(dotted, IniFile::parse("[Test]\nFrequenz= 20,000\nEinheit=k,Ohm\n"), two);
    EXPECT_EQ(dotted.text("S_E_F"), " 20.000");
    EXPECT_EQ(dotted.text("S_L_R"), " k,Ohm");  // texts are not numbers
    // A file that says it was written with the point.
    LoadSections(dotted, IniFile::parse("[Test]\nFrequenz=7.5\n[Dezimalseparator]\nDezimals=.\n"),
                 two);
    EXPECT_EQ(dotted.text("S_E_F"), " 7.5");
    // Missing keys: the defaults in the current separator.
    LoadSections(dotted, IniFile::parse(""), two);
    EXPECT_EQ(dotted.text("S_E_F"), " 1.000");
    EXPECT_EQ(dotted.text("S_L_R"), " Ohm");

    load("[Test]\nFrequenz=   \nNull=\n");
    EXPECT_EQ(form.text("S_E_F"), " ");  // only blanks come back as one blank
    EXPECT_EQ(form.text("S_E_QC"), " ");
    load("[test]\nFREQUENZ=3,3\n");
    EXPECT_EQ(form.text("S_E_F"), " 3,3");
    EXPECT_EQ(form.text("S_E_QC"), " 0");  // a quoted default stays as written
}

TEST_F(SectionsTest, IntegersModesMarkersAndChecksRunTheirHandlers) {
    load("[Test]\nFrequenz-Einheit=0x0A\nModus=2\nVa=0\nGüteC=1\nKarte=1\n");
    EXPECT_EQ(form.index("S_C_F"), 10);
    EXPECT_EQ(form.state.XLMode, 2);
    EXPECT_TRUE(form.checked("S_RB_2"));
    EXPECT_FALSE(form.at("S_Up").visible);
    EXPECT_TRUE(form.at("S_Down").visible);
    EXPECT_TRUE(form.checked("S_CB_QC"));
    EXPECT_EQ(form.at("S_E_QC").fontColour, colour::kBlack);
    EXPECT_TRUE(form.at("S_E_QC").enabled);
    EXPECT_EQ(form.index("S_Pages"), 1);
    EXPECT_EQ(clicks, (std::vector<std::string>{"2", "QC"}));

    // Out of range: no item, the page unchanged, a mode without button.
    load("[Test]\nFrequenz-Einheit=17\nModus=7\nGüteC=0\nKarte=3\n");
    EXPECT_EQ(form.index("S_C_F"), -1);
    EXPECT_EQ(form.state.XLMode, 7);
    EXPECT_TRUE(form.checked("S_RB_2"));  // nothing checked anew
    EXPECT_EQ(form.index("S_Pages"), 1);
    EXPECT_EQ(form.at("S_E_QC").fontColour, colour::kSilver);
    EXPECT_FALSE(form.at("S_E_QC").enabled);

    // Unreadable integers give the defaults.
    load("[Test]\nFrequenz-Einheit=sechs\nModus=\n");
    EXPECT_EQ(form.index("S_C_F"), 6);
    EXPECT_EQ(form.state.XLMode, 3);
    EXPECT_TRUE(form.checked("S_RB_3"));
}

// Integers are decimal (with a minus sign at most) or hexadecimal after "0x";
// anything else, even what a Pascal reader would take, gives the default.
TEST_F(SectionsTest, IntegersAreDecimalOrHexadecimalAfter0x) {
    const std::pair<const char*, int> cases[] = {
        {"000000000009", 9}, {"0X0b", 11}, {"-1", -1},        {"12", 12},
        {"$7", 6},           {"+7", 6},    {"-0x1", 6},       {"0x", 6},
        {"7 ", 7},           {"1 2", 6},   {"4294967296", 6}, {"0x1ffffffff", 6},
        {"0xA", 10},         {"ten", 6},   {"-", 6},          {"0x-1", 6},
    };
    for (const auto& [text, index] : cases) {
        form.setIndex("S_C_F", 3);
        load(std::string("[Test]\nFrequenz-Einheit=") + text + "\n");
        const int expected = (index >= 0 && index < 17) ? index : -1;
        EXPECT_EQ(form.index("S_C_F"), expected) << text;
    }
}

// A missing unit text takes its default with exactly one blank in front,
// whether or not the default carries one of its own.
TEST_F(SectionsTest, MissingTextKeyGetsOneBlank) {
    load("[Test]\n");
    EXPECT_EQ(form.text("S_L_R"), " Ohm");
    sections[0].keys[2].fallback = " mWatt";
    load("[Test]\n");
    EXPECT_EQ(form.text("S_L_R"), " mWatt");
    load("[Test]\nEinheit=   kOhm\n");
    EXPECT_EQ(form.text("S_L_R"), " kOhm");
}

TEST_F(SectionsTest, FloatsAndColours) {
    load("[Test]\nEingabe_Q=4,996\nSchrift=clMedGray\n");
    EXPECT_DOUBLE_EQ(form.state.EnteredOperatingQ, 4.996);
    EXPECT_EQ(form.at("S_E_Q").fontColour, colour::kMedGray);
    load("[Test]\nEingabe_Q=vier\nSchrift=255\n");
    EXPECT_DOUBLE_EQ(form.state.EnteredOperatingQ, 1.0);
    EXPECT_EQ(form.at("S_E_Q").fontColour, 255);
    EXPECT_EQ(store().read("Test", "Schrift").value_or(""), "clRed");

    // A colour that is neither stops loading there, reported once.
    form.guarded([this] { load("[Test]\nSchrift=lila\nKarte=2\n"); });
    EXPECT_EQ(sink.general, std::vector<std::string>{"'lila' ist kein g\u00fcltiger Integerwert."});
    EXPECT_EQ(form.index("S_Pages"), 0);  // after the bad key: untouched
    EXPECT_FALSE(form.state.LoadingSettings);
}

// ---- the window's own sections -------------------------------------------------

namespace {

class WindowSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.setSink(&sink);
        BuildModel(form);
        form.addReformat("dB_U_Eingaben_formatieren", [this] { ++reformats; });
    }
    Form form{','};
    RecordingSink sink;
    int reformats = 0;
};

}  // namespace

TEST_F(WindowSettingsTest, FactoryStartWritesThreePlacesAndTheDbmPage) {
    ApplyFactoryDefaults(form);
    EXPECT_EQ(form.state.DecimalPlaces, 3);
    EXPECT_EQ(reformats, 1);
    EXPECT_EQ(form.index("PageControl1"), 1);
    EXPECT_EQ(form.index("PageControl2"), 1);
    EXPECT_FALSE(form.state.ShowHint);
    IniFile ini;
    StoreSettings(form, ini);
    const std::string text = ini.serialize();
    EXPECT_NE(text.find("Kommastelle_3=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Register]\r\nKarte=1\r\n"), std::string::npos);
    EXPECT_LT(text.find("[dB-Register]"), text.find("[Register]"));
    EXPECT_LT(text.find("[Register]"), text.find("[Optionen]"));
    EXPECT_LT(text.find("[Optionen]"), text.find("[Dezimalseparator]"));
    EXPECT_EQ(text.substr(text.size() - 12), "Dezimals=,\r\n");
}

TEST_F(WindowSettingsTest, RestoredDecimalPlacesReformatExceptTwo) {
    LoadSettings(form, IniFile::parse("[Optionen]\nKommastelle_2=1\nKommastelle_3=0\n"));
    EXPECT_EQ(form.state.DecimalPlaces, 2);
    EXPECT_EQ(reformats, 0);
    // The user's later click on "1,00" (after another choice) reformats.
    form.click("RadioButton3");
    form.click("RadioButton2");
    EXPECT_EQ(reformats, 2);

    Form other{','};
    BuildModel(other);
    int count = 0;
    other.addReformat("T_Eingaben_formatieren", [&] { ++count; });
    LoadSettings(other,
                 IniFile::parse("[Optionen]\nKommastelle_2=0\nKommastelle_3=1\nKurzhinweise=1\n"));
    EXPECT_EQ(other.state.DecimalPlaces, 3);
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(other.state.ShowHint);
    // Several set: the last in the order 0..3 wins.
    LoadSettings(other,
                 IniFile::parse("[Optionen]\nKommastelle_0=1\nKommastelle_1=1\nKommastelle_2=0\n"));
    EXPECT_EQ(other.state.DecimalPlaces, 1);
    EXPECT_TRUE(other.checked("RadioButton1"));
    EXPECT_FALSE(other.checked("RadioButtonohne"));
}

TEST_F(WindowSettingsTest, AUsersFirstClickOnTwoPlacesReformatsAfterAFactoryStart) {
    ApplyFactoryDefaults(form);
    form.click("RadioButton2");
    EXPECT_EQ(form.state.DecimalPlaces, 2);
    EXPECT_EQ(reformats, 2);
    form.click("CBKurzhinweise");
    EXPECT_TRUE(form.state.ShowHint);
    form.click("CBKurzhinweise");
    EXPECT_FALSE(form.state.ShowHint);
}

TEST_F(WindowSettingsTest, PagesOutsideTheirRangeStayAsTheyAre) {
    LoadSettings(form, IniFile::parse("[dB-Register]\ndB-Karte=0\n[Register]\nKarte=10\n"));
    EXPECT_EQ(form.index("PageControl2"), 0);
    EXPECT_EQ(form.index("PageControl1"), 10);
    LoadSettings(form, IniFile::parse("[Register]\nKarte=11\n"));  // dB-Karte missing: 2
    EXPECT_EQ(form.index("PageControl2"), 0);
    EXPECT_EQ(form.index("PageControl1"), 10);
}

// ---- the file ----------------------------------------------------------------

namespace {

std::filesystem::path freshFolder(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("velkaro-settings-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::string contentOf(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST_F(WindowSettingsTest, FirstStartThenCloseThenRestart) {
    const auto dir = freshFolder("restart");
    SettingsFile file(dir / "velkaro.INI");
    file.loadOrDefaults(form);  // no file: factory
    EXPECT_EQ(form.state.DecimalPlaces, 3);
    form.setPage("PageControl1", 4);
    form.setPage("PageControl2", 0);
    ASSERT_TRUE(file.store(form));
    // Lines of others survive the next close.
    {
        std::ofstream out(dir / "velkaro.INI", std::ios::app | std::ios::binary);
        out << "[Fremd]\r\nSchluessel=Wert\r\n";
    }
    Form again{','};
    BuildModel(again);
    file.loadOrDefaults(again);
    EXPECT_EQ(again.index("PageControl1"), 4);
    EXPECT_EQ(again.index("PageControl2"), 0);
    EXPECT_EQ(again.state.DecimalPlaces, 3);
    ASSERT_TRUE(file.store(again));
    EXPECT_NE(contentOf(dir / "velkaro.INI").find("[Fremd]\r\nSchluessel=Wert\r\n"),
              std::string::npos);
    std::filesystem::remove_all(dir);
}

// A text typed without Enter and stored is no number at the next start: the
// load-time reformat leaves it alone and formats every other field; one notice
// afterwards names the fields.
TEST_F(WindowSettingsTest, StoredTextThatIsNoNumberIsKeptAndNamed) {
    const auto dir = freshFolder("no-number");
    {
        std::ofstream out(dir / "velkaro.INI", std::ios::binary);
        out << "[XL]\r\nG\xFCte-L= 12x\r\nFrequenz=2,5\r\n[dBm]\r\ndBm=abc\r\n"
               "[Pi-T-Att]\r\nQuellimpedanz=75\r\n[Optionen]\r\nKommastelle_3=1\r\n";
    }
    SettingsFile file(dir / "velkaro.INI");
    file.loadOrDefaults(form);
    EXPECT_TRUE(sink.general.empty());
    EXPECT_EQ(form.text("XL_E_Q"), " 12x");
    EXPECT_EQ(form.text("dBm_E_dB"), " abc");
    // Fields after them, on their own tabs and on later ones, are formatted.
    EXPECT_EQ(form.text("XL_E_F"), " 2,500");
    EXPECT_EQ(form.text("PiT_E_Z"), " 75,000");
    EXPECT_EQ(file.takeNotices(),
              std::vector<std::string>{
                  "Diese gespeicherten Eingaben sind keine g\u00fcltigen Zahlen:\r"
                  "\r\u201edBm Pegel\u201c (dBm): ' abc'"
                  "\r\u201eG\u00fcte von L\u201c (XL / XC): ' 12x'"
                  "\r\rBitte korrigieren Sie diese Felder und dr\u00fccken Sie Enter."});
    EXPECT_TRUE(file.takeNotices().empty());
    // After start-up a reformat reports such a text as before.
    form.click("RadioButton1");
    EXPECT_EQ(sink.general.size(), 1u);
    std::filesystem::remove_all(dir);
}

// A settings file that is there but cannot be read is never replaced by one
// made without its content.
TEST_F(WindowSettingsTest, AFileThatCannotBeReadIsNeverOverwritten) {
    const auto dir = freshFolder("unreadable");
    const auto path = dir / "velkaro.INI";
    std::filesystem::create_directory(path);  // there, but no file that can be read
    SettingsFile file(path);
    file.loadOrDefaults(form);
    EXPECT_EQ(form.state.DecimalPlaces, 3);  // the factory state
    EXPECT_EQ(file.takeNotices(),
              std::vector<std::string>{"Die Einstellungsdatei\r" + path.string() +
                                       "\rkann nicht gelesen werden. Es gelten die "
                                       "Werkseinstellungen; die Datei wird beim Beenden nicht "
                                       "\u00fcberschrieben."});
    EXPECT_FALSE(file.store(form));
    EXPECT_EQ(sink.general,
              std::vector<std::string>{"In " + path.string() + " kann nicht geschrieben werden."});
    EXPECT_TRUE(file.store(form));  // the second close lets the user go
    EXPECT_TRUE(std::filesystem::is_directory(path));

    // Readable at start, unreadable by the close: not written either.
    std::filesystem::remove(path);
    SettingsFile later(path);
    later.loadOrDefaults(form);
    std::filesystem::create_directory(path);
    EXPECT_FALSE(later.store(form));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    std::filesystem::remove_all(dir);
}

TEST_F(WindowSettingsTest, AFileThatCannotBeWrittenKeepsTheWindowOpenOnce) {
    const auto missing = freshFolder("unwritable") / "gone" / "velkaro.INI";
    SettingsFile file(missing);
    EXPECT_FALSE(file.store(form));
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(sink.general[0], "In " + missing.string() + " kann nicht geschrieben werden.");
    // The second close in a row lets the user go, without telling again.
    EXPECT_TRUE(file.store(form));
    EXPECT_EQ(sink.general.size(), 1u);
}
