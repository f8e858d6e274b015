// Fuzz target: arbitrary bytes as the settings file. Loading always finishes;
// the file the next close writes loads to the same window (after the reformat
// at start-up has settled); every line the program does not own comes back byte
// for byte and in its order.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "calc/window.h"
#include "core/form.h"
#include "model_state.h"
#include "settings/ini.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::fuzz::fail;

namespace {

struct Line {
    std::string bytes;  // with its line end
    std::string text;   // without it
};

// The file's lines as the reader splits them (CR LF, LF or a lone CR).
std::vector<Line> linesOf(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::vector<Line> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            lines.push_back({std::string(bytes), std::string(bytes)});
            break;
        }
        const std::size_t endLength = bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        lines.push_back({std::string(bytes.substr(0, end + endLength)),
                         std::string(bytes.substr(0, end))});
        bytes.remove_prefix(end + endLength);
    }
    return lines;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The section a header line opens ("" for any other line).
bool headerName(std::string_view text, std::string& name) {
    const std::string_view t = trim(text);
    if (t.empty() || t.front() != '[') return false;
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos) return false;
    name = std::string(trim(t.substr(1, close - 1)));
    return true;
}

// A line's text as the reader takes it: UTF-8 when it is valid UTF-8 with a
// byte above ASCII, else Windows-1252.
std::string asRead(const std::string& raw) {
    bool high = false;
    for (std::size_t i = 0; i < raw.size();) {
        const auto b = static_cast<unsigned char>(raw[i]);
        std::size_t len = b < 0x80 ? 1 : (b >= 0xC2 && b <= 0xDF) ? 2 : (b >= 0xE0 && b <= 0xEF) ? 3
                                                              : (b >= 0xF0 && b <= 0xF4) ? 4 : 0;
        if (len == 0 || i + len > raw.size()) return utf8FromCp1252(raw);
        for (std::size_t k = 1; k < len; ++k) {
            if ((static_cast<unsigned char>(raw[i + k]) & 0xC0) != 0x80) return utf8FromCp1252(raw);
        }
        high = high || len > 1;
        i += len;
    }
    // Overlong forms and surrogates are not told apart here; they only make a
    // line count as Windows-1252 in both readings or in none.
    return high ? raw : utf8FromCp1252(raw);
}

// Names compare without regard to case, the capitals of Latin-1 (two bytes in
// UTF-8, 0xC3 0x80..0x9E) included.
bool sameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto folded = [](std::string_view s, std::size_t i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
        if (i > 0 && static_cast<unsigned char>(s[i - 1]) == 0xC3 && c >= 0x80 && c <= 0x9E &&
            c != 0x97)
            return static_cast<unsigned char>(c + 0x20);
        return c;
    };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (folded(a, i) != folded(b, i)) return false;
    }
    return true;
}

// Counts what the model reports while loading.
struct Reports : MessageSink {
    int general = 0;
    void errorBox(const std::string&) override {}
    void plainMessage(const std::string&) override {}
    void generalError(const std::string&) override { ++general; }
    void focusPrevious(const std::string&) override {}
    void showHelp(int) override {}
    void openUrl(const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const IniFile ini = IniFile::parse(bytes);
    // Read and written back untouched, the file is the same, apart from a BOM.
    const std::string_view noBom = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? bytes.substr(3) : bytes;
    if (ini.serialize() != noBom) fail("an untouched file does not come back as it was");

    const char sep = size > 0 && (data[0] & 1) ? '.' : ',';
    Form form(sep);
    BuildModel(form);
    Reports reports;
    form.setSink(&reports);
    // As at start-up: an error stops loading at its key and is reported.
    form.guarded([&] { LoadSettings(form, ini); });
    (void)form.takeUnformatted();

    IniFile stored = ini;
    StoreSettings(form, stored);
    const std::string written = stored.serialize();

    // Loading a stored file gives the window that stored it. Two things may move
    // it on: a stored colour that is no colour stops loading at its key (the keys
    // after it keep their start-up state, where a quality field need not agree
    // with its check box), and restored decimal places other than two reformat
    // every tab, which brings each value one prefix step nearer to 1 … 999.999.
    // Both settle: within one step per prefix of the table the file loads to the
    // window that wrote it, and storing that again changes nothing.
    std::unique_ptr<Form> reloaded = std::make_unique<Form>(sep);
    BuildModel(*reloaded);
    reloaded->guarded([&] { LoadSettings(*reloaded, IniFile::parse(written)); });
    std::string file = written;
    std::string expected;
    std::string previous = fuzz::modelState(form);
    for (int round = 0;; ++round) {
        // The file is Windows-1252: a character it cannot hold (from a line edited
        // as UTF-8) is stored as '?', and that is the only change allowed.
        expected = utf8FromCp1252(cp1252FromUtf8(previous));
        const std::string now = fuzz::modelState(*reloaded);
        if (now == expected) break;
        if (round > kPrefixCount)
            fail("the stored file never loads to the window that wrote it: " +
                 fuzz::firstDifference(expected, now));
        IniFile next = IniFile::parse(file);
        StoreSettings(*reloaded, next);
        file = next.serialize();
        previous = now;
        reloaded = std::make_unique<Form>(sep);
        BuildModel(*reloaded);
        reloaded->guarded([&] { LoadSettings(*reloaded, IniFile::parse(file)); });
    }
    // Storing that again changes nothing.
    IniFile second = IniFile::parse(file);
    StoreSettings(*reloaded, second);
    if (second.serialize() != file) fail("a second store changes the file");

    // The program owns the first line of each of its keys in the first section of
    // each of its names; every other line must come back, in order.
    const std::vector<SettingsSection> sections = allSections();
    std::vector<std::pair<std::string, std::vector<std::string>>> owned;
    for (const auto& s : sections) {
        std::vector<std::string> keys;
        for (const auto& k : s.keys) keys.push_back(k.key);
        owned.emplace_back(s.name, keys);
    }
    owned.push_back({"Dezimalseparator", {"Dezimals"}});
    std::vector<std::string> seenSections;
    std::vector<std::string> takenKeys;  // "section\nkey" already owned
    const std::vector<std::string>* keysHere = nullptr;
    std::string sectionHere;
    std::size_t searchFrom = 0;
    for (const Line& line : linesOf(bytes)) {
        std::string name;
        bool mine = false;
        const std::string text = asRead(line.text);
        if (headerName(text, name)) {
            bool first = true;
            for (const auto& s : seenSections) first = first && !sameAscii(s, name);
            seenSections.push_back(name);
            keysHere = nullptr;
            for (const auto& [section, keys] : owned) {
                if (first && sameAscii(section, name)) {
                    keysHere = &keys;
                    sectionHere = section;
                }
            }
        } else if (keysHere != nullptr && trim(text).substr(0, 1) != ";") {
            const std::string_view t = trim(text);
            const std::size_t eq = t.find('=');
            if (eq != std::string_view::npos && !trim(t.substr(0, eq)).empty()) {
                const std::string_view key = trim(t.substr(0, eq));
                for (const auto& k : *keysHere) {
                    if (!sameAscii(k, key)) continue;
                    const std::string id = sectionHere + '\n' + k;
                    bool taken = false;
                    for (const auto& tk : takenKeys) taken = taken || tk == id;
                    if (!taken) {
                        takenKeys.push_back(id);
                        mine = true;
                    }
                }
            }
        }
        if (mine) continue;
        // The last line may gain a line end when a key is added after it.
        std::size_t at = written.find(line.bytes, searchFrom);
        if (at == std::string::npos) fail("a line of others is lost: '" + line.text + "'");
        searchFrom = at + line.bytes.size();
    }
    return 0;
}
