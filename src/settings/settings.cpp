#include "settings/settings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "calc/tabs.h"
#include "core/numtext.h"

namespace velkaro {

namespace {

// The order in which the sections stand in a file written from nothing.
constexpr std::array<std::string_view, 16> kStoreOrder = {
    "dB-Register",     "dB-U",       "dB-P",     "dBm",       "dBuV",   "XL",      "XC",
    "LC-Schwingkreis", "RC-Glieder", "Pi-T-Att", "PS-Gleich", "L-Netz", "Pi-Netz", "T-Netz",
    "Register",        "Optionen"};

// Loading takes the power page before the voltage page; otherwise as stored.
constexpr std::array<std::string_view, 16> kLoadOrder = {
    "dB-Register",     "dB-P",       "dB-U",     "dBm",       "dBuV",   "XL",      "XC",
    "LC-Schwingkreis", "RC-Glieder", "Pi-T-Att", "PS-Gleich", "L-Netz", "Pi-Netz", "T-Netz",
    "Register",        "Optionen"};

constexpr const char* kSeparatorSection = "Dezimalseparator";
constexpr const char* kSeparatorKey = "Dezimals";

std::vector<SettingsSection> windowSections() {
    return {
        {"dB-Register",
         {{.key = "dB-Karte",
           .kind = SettingKind::Page,
           .control = "PageControl2",
           .fallback = "2"}}},
        {"Register",
         {{.key = "Karte", .kind = SettingKind::Page, .control = "PageControl1", .fallback = "1"}}},
        {"Optionen",
         {
             {.key = "Kommastelle_0",
              .kind = SettingKind::Checked,
              .control = "RadioButtonohne",
              .fallback = "0"},
             {.key = "Kommastelle_1",
              .kind = SettingKind::Checked,
              .control = "RadioButton1",
              .fallback = "0"},
             {.key = "Kommastelle_2",
              .kind = SettingKind::Checked,
              .control = "RadioButton2",
              .fallback = "1"},
             {.key = "Kommastelle_3",
              .kind = SettingKind::Checked,
              .control = "RadioButton3",
              .fallback = "0"},
             {.key = "Kurzhinweise",
              .kind = SettingKind::Checked,
              .control = "CBKurzhinweise",
              .fallback = "0"},
         },
         // The hints first, so that the decimal places restored last decide.
         {"Kurzhinweise", "Kommastelle_0", "Kommastelle_1", "Kommastelle_2", "Kommastelle_3"}},
    };
}

std::size_t positionIn(const std::array<std::string_view, 16>& order, const std::string& name) {
    const auto it = std::find(order.begin(), order.end(), name);
    if (it == order.end()) throw std::logic_error("settings section without a place: " + name);
    return static_cast<std::size_t>(it - order.begin());
}

// ---- colours ----------------------------------------------------------------

struct NamedColour {
    const char* name;
    std::int32_t value;
};

constexpr NamedColour kColourNames[] = {
    {"clWindowText", colour::kWindowText},
    {"clMedGray", colour::kMedGray},
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
};

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string colourText(std::int32_t value) {
    for (const auto& c : kColourNames) {
        if (c.value == value) return c.name;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "$%08X", static_cast<unsigned>(value));
    return hex;
}

// An integer of the settings file: decimal digits with an optional minus sign,
// or hexadecimal digits after "0x" / "0X"; a 32-bit value in either case
// (hexadecimal may use all 32 bits). Colours also take the Pascal forms the
// colour keys have always been written in ("$00C0C0C0", a plus sign).
std::optional<std::int64_t> integerOf(std::string_view text, bool pascalForms = false) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || (pascalForms && text.front() == '+'))) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (pascalForms && !text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty() || (base == 16 && negative && !pascalForms)) return std::nullopt;
    std::int64_t v = 0;
    for (const char ch : text) {
        int digit;
        if (ch >= '0' && ch <= '9')
            digit = ch - '0';
        else if (base == 16 && ch >= 'a' && ch <= 'f')
            digit = ch - 'a' + 10;
        else if (base == 16 && ch >= 'A' && ch <= 'F')
            digit = ch - 'A' + 10;
        else
            return std::nullopt;
        v = v * base + digit;
        if (v > 0xFFFFFFFFLL) return std::nullopt;  // leading zeros are no reason to refuse
    }
    v = negative ? -v : v;
    if (base == 10 && (v < INT32_MIN || v > INT32_MAX)) return std::nullopt;
    if (base == 16 && v > INT32_MAX) v -= 0x100000000LL;
    return v;
}

std::int32_t colourOf(const std::string& text) {
    for (const auto& c : kColourNames) {
        if (sameName(c.name, text)) return c.value;
    }
    if (const auto v = integerOf(text, true)) return static_cast<std::int32_t>(*v);
    // Stops loading at this key; the keys after it keep their start-up state.
    throw ReportedError("'" + text + "' ist kein g\u00fcltiger Integerwert");
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty() || from == to) return text;
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Every text put back gets one blank in front (the file reader drops them).
std::string withBlank(std::string text) {
    text.insert(text.begin(), ' ');
    return text;
}

// ---- one key ------------------------------------------------------------------

std::string valueOf(const Form& form, const SettingKey& k) {
    switch (k.kind) {
        case SettingKind::NumberText:
        case SettingKind::Text: return form.text(k.control);
        case SettingKind::Index:
        case SettingKind::Page: return std::to_string(form.index(k.control));
        case SettingKind::Mode: return std::to_string(form.state.*k.mode);
        case SettingKind::Marker: return form.at(k.control).visible ? "1" : "0";
        case SettingKind::Checked:
        case SettingKind::QualityCheck: return form.checked(k.control) ? "1" : "0";
        case SettingKind::Float:
            return formatGeneral(form.state.*k.real, form.state.LocaleDecimalSeparator);
        case SettingKind::Colour: return colourText(form.at(k.control).fontColour);
    }
    return {};
}

class Loader {
public:
    Loader(Form& form, const IniFile& ini)
        : form_(form),
          ini_(ini),
          separator_(1, form.state.LocaleDecimalSeparator),
          fileSeparator_(ini.read(kSeparatorSection, kSeparatorKey, ",")) {}

    void load(const std::string& section, const SettingKey& k) {
        const std::optional<std::string> stored = ini_.read(section, k.key);
        switch (k.kind) {
            case SettingKind::NumberText: {
                const std::string text =
                    stored
                        ? *stored
                        : (k.fallbackAsIs ? k.fallback : replaceAll(k.fallback, ",", separator_));
                form_.setText(k.control, withBlank(replaceAll(text, fileSeparator_, separator_)));
                break;
            }
            case SettingKind::Text:
                // The reader drops a stored text's blanks; a default may carry its own.
                form_.setText(k.control, stored ? withBlank(*stored) : withOneBlank(k.fallback));
                break;
            case SettingKind::Index: form_.setIndex(k.control, integer(stored, k)); break;
            case SettingKind::Page: form_.setPage(k.control, integer(stored, k)); break;
            case SettingKind::Mode: {
                const int mode = integer(stored, k);
                form_.state.*k.mode = mode;
                if (mode >= 1 && mode <= static_cast<int>(k.radios.size())) {
                    form_.setChecked(k.radios[static_cast<std::size_t>(mode - 1)], true);
                }
                if (k.onMode) k.onMode(form_, mode);
                break;
            }
            case SettingKind::Marker: {
                const bool top = integer(stored, k) != 0;
                form_.setVisible(k.control, top);
                form_.setVisible(k.partner, !top);
                break;
            }
            case SettingKind::Checked: form_.setChecked(k.control, integer(stored, k) != 0); break;
            case SettingKind::QualityCheck: {
                const bool on = integer(stored, k) != 0;
                form_.setChecked(k.control, on);
                form_.setFontColour(k.partner, on ? colour::kBlack : colour::kSilver);
                form_.setEnabled(k.partner, on);
                break;
            }
            case SettingKind::Float: {
                std::optional<long double> v;
                if (stored) v = parseNumber(*stored, form_.state.LocaleDecimalSeparator);
                if (!v) v = parseNumber(k.fallback, ',');
                if (!v) v = parseNumber(k.fallback, '.');
                form_.state.*k.real = static_cast<double>(v.value_or(0.0L));
                break;
            }
            case SettingKind::Colour:
                form_.setFontColour(k.control, colourOf(stored.value_or(k.fallback)));
                break;
        }
    }

private:
    static int integer(const std::optional<std::string>& stored, const SettingKey& k) {
        if (stored) {
            if (const auto v = integerOf(*stored)) return static_cast<int>(*v);
        }
        return static_cast<int>(integerOf(k.fallback).value_or(0));
    }

    Form& form_;
    const IniFile& ini_;
    std::string separator_;
    std::string fileSeparator_;
};

const SettingKey& keyNamed(const SettingsSection& section, const std::string& key) {
    for (const auto& k : section.keys) {
        if (k.key == key) return k;
    }
    throw std::logic_error("load order names an unknown key: " + section.name + "/" + key);
}

// Resets the loading mark however loading ends.
struct LoadingMark {
    explicit LoadingMark(Form& form) : form_(form) { form_.state.LoadingSettings = true; }
    ~LoadingMark() { form_.state.LoadingSettings = false; }
    LoadingMark(const LoadingMark&) = delete;
    LoadingMark& operator=(const LoadingMark&) = delete;
    Form& form_;
};

}  // namespace

std::vector<SettingsSection> allSections() {
    std::vector<SettingsSection> sections = windowSections();
    for (const TabModule& tab : tabModules()) {
        if (tab.sections == nullptr) continue;
        for (auto& s : tab.sections()) sections.push_back(std::move(s));
    }
    std::stable_sort(sections.begin(), sections.end(), [](const auto& a, const auto& b) {
        return positionIn(kStoreOrder, a.name) < positionIn(kStoreOrder, b.name);
    });
    return sections;
}

void StoreSections(const Form& form, IniFile& ini, const std::vector<SettingsSection>& sections) {
    for (const auto& section : sections) {
        for (const auto& k : section.keys) ini.write(section.name, k.key, valueOf(form, k));
    }
    ini.write(kSeparatorSection, kSeparatorKey, std::string(1, form.state.LocaleDecimalSeparator));
}

void LoadSections(Form& form, const IniFile& ini, const std::vector<SettingsSection>& sections) {
    LoadingMark mark(form);
    Loader loader(form, ini);
    for (const auto& section : sections) {
        if (section.loadOrder.empty()) {
            for (const auto& k : section.keys) loader.load(section.name, k);
        } else {
            for (const auto& key : section.loadOrder)
                loader.load(section.name, keyNamed(section, key));
        }
    }
}

void StoreSettings(const Form& form, IniFile& ini) { StoreSections(form, ini, allSections()); }

void LoadSettings(Form& form, const IniFile& ini) {
    std::vector<SettingsSection> sections = allSections();
    std::stable_sort(sections.begin(), sections.end(), [](const auto& a, const auto& b) {
        return positionIn(kLoadOrder, a.name) < positionIn(kLoadOrder, b.name);
    });
    LoadSections(form, ini, sections);
}

void ApplyFactoryDefaults(Form& form) {
    // Three places first: every tab is reformatted while it still holds its
    // initial texts; the factory texts then follow as they are.
    form.setChecked("RadioButton3", true);
    form.setPage("PageControl1", 1);
    for (const TabModule& tab : tabModules()) {
        if (tab.factoryDefaults != nullptr) tab.factoryDefaults(form);
    }
}

void SettingsFile::loadOrDefaults(Form& form) {
    IniFile ini;
    switch (readIni(path_, ini)) {
        case IniRead::Missing: ApplyFactoryDefaults(form); break;
        case IniRead::Read: LoadSettings(form, ini); break;
        case IniRead::Unreadable:
            // Whatever the file holds must survive this run: it is not written.
            ApplyFactoryDefaults(form);
            keepFile_ = true;
            notices_.push_back("Die Einstellungsdatei\r" + path_.string() +
                               "\rkann nicht gelesen werden. Es gelten die Werkseinstellungen;"
                               " die Datei wird beim Beenden nicht \u00fcberschrieben.");
            break;
    }
    const std::vector<std::string> unformatted = form.takeUnformatted();
    if (!unformatted.empty()) {
        std::string notice = "Diese gespeicherten Eingaben sind keine g\u00fcltigen Zahlen:\r";
        for (const std::string& edit : unformatted) {
            const Control& c = form.at(edit);
            notice += "\r\u201e" + (c.caption.empty() ? edit : c.caption) + "\u201c";
            if (!c.tab.empty()) notice += " (" + c.tab + ")";
            notice += ": '" + c.text + "'";
        }
        notice += "\r\rBitte korrigieren Sie diese Felder und dr\u00fccken Sie Enter.";
        notices_.push_back(std::move(notice));
    }
}

std::vector<std::string> SettingsFile::takeNotices() { return std::exchange(notices_, {}); }

bool SettingsFile::store(Form& form) {
    IniFile ini;
    // Keys and lines of others stay where they are; a file whose content cannot
    // be read is never replaced by one made without it.
    bool ok = !keepFile_ && readIni(path_, ini) != IniRead::Unreadable;
    if (ok) {
        StoreSettings(form, ini);
        ok = saveIni(path_, ini);
    }
    if (ok) {
        failedBefore_ = false;
        return true;
    }
    // Told once; a second failing close in a row lets the user go.
    if (failedBefore_) return true;
    failedBefore_ = true;
    form.sink().generalError("In " + path_.string() + " kann nicht geschrieben werden.");
    return false;
}

}  // namespace velkaro
