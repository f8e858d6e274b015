// Fuzz target: the whole window model under arbitrary sequences of user actions
// on arbitrary controls of every tab. Nothing may escape an event, no edit may
// show an infinite or undefined value, every number the program wrote has its
// one blank in front, and every field that shows a number has the unit it is
// read back with.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "calc/window.h"
#include "core/form.h"
#include "core/numtext.h"
#include "model_state.h"
#include "settings/settings.h"

using namespace velkaro;
using velkaro::fuzz::fail;

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    unsigned byte() { return at_ < size_ ? data_[at_++] : 0u; }
    unsigned word() { return byte() | (byte() << 8); }
    std::string bytes(std::size_t n) {
        n = std::min(n, size_ - std::min(at_, size_));
        std::string s(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return s;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Texts worth typing, besides arbitrary bytes and random numbers.
const char* const kTexts[] = {
    "",        " ",       "0",         "-0",       "-1",      " 1,000",   " 1.000", "1e308",
    "-1e308",  "1e-320",  "1e4000",    "1e-4000",  ",",       ".",        "1,5e",   "inf",
    "nan",     "0x10",    "999,9995",  "999.9995", "1e-24",   "1e24",     "1e26",   "4e-26",
    "0,0001",  "1e12",    "1e-12",     "--1",      "1,2,3",   "\u00a05\u00a0", "250",
    "-174",    "320",     "50",        "3,6",      "3.6",     "100001",   "1e5",    "1E-30",
};

bool showsNonFinite(const std::string& text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
}

struct Model {
    explicit Model(char sep) : form(sep) {
        BuildModel(form);
        ApplyFactoryDefaults(form);
        for (const auto& [name, c] : form.controls()) {
            all.push_back(name);
            if (c.kind == ControlKind::Edit) edits.push_back(name);
            if (c.kind == ControlKind::Selector) selectors.push_back(name);
            if (c.kind == ControlKind::Pages) pages.push_back(name);
            if (form.fieldOfEdit(name) != nullptr) fields.push_back(name);
        }
    }
    Form form;
    std::vector<std::string> all, edits, selectors, pages, fields;
    // edit -> what the user typed there and may see again: the text typed
    // last, and the one entered before it, which a refused entry returns to.
    std::map<std::string, std::set<std::string>> typed;
};

const std::string& pick(const std::vector<std::string>& names, unsigned n) {
    return names[n % names.size()];
}

std::string numberText(Input& in, char sep) {
    // A mantissa and an exponent spread over the whole range of the fields.
    const int mantissa = static_cast<int>(in.word()) - 32768;
    const int exponent = static_cast<int>(in.byte() % 80) - 40;
    std::string s = std::to_string(mantissa) + "e" + std::to_string(exponent);
    if (in.byte() & 1) {
        s = std::to_string(mantissa / 1000) + sep + std::to_string(std::abs(mantissa % 1000));
    }
    return s;
}

// With MODEL_FUZZ_TRACE set, every action is written to stderr (to replay a finding).
const bool kTrace = std::getenv("MODEL_FUZZ_TRACE") != nullptr;

void act(Model& m, Input& in) {
    Form& form = m.form;
    const char sep = form.state.LocaleDecimalSeparator;
    const unsigned op = in.byte() % 11;
    const unsigned which = in.word();
    auto type = [&](const std::string& edit, const std::string& text) {
        if (kTrace) std::fprintf(stderr, "type '%s' into %s\n", text.c_str(), edit.c_str());
        form.userEdit(edit, text);
        m.typed[edit].insert(text);
    };
    switch (op) {
        case 0: {  // type a text of the list
            const unsigned t = in.byte();
            type(pick(m.edits, which), kTexts[t % std::size(kTexts)]);
            break;
        }
        case 1:  // type anything, up to 32 bytes
            type(pick(m.edits, which), in.bytes(in.byte() % 33));
            break;
        case 2:  // type a number
            type(pick(m.edits, which), numberText(in, sep));
            break;
        case 3:
            if (kTrace) std::fprintf(stderr, "Enter in %s\n", pick(m.edits, which).c_str());
            form.pressEnter(pick(m.edits, which));
            break;
        case 4: {  // type a number into a field and press Enter
            const std::string& edit = pick(m.fields, which);
            type(edit, numberText(in, sep));
            if (kTrace) std::fprintf(stderr, "Enter in %s\n", edit.c_str());
            form.keyPress(edit, '\r');
            break;
        }
        case 5: {  // focus a unit list and pick an item
            const std::string& selector = pick(m.selectors, which);
            const int item = static_cast<int>(in.byte() % kPrefixCount);
            if (kTrace) std::fprintf(stderr, "choose %d in %s\n", item, selector.c_str());
            form.enter(selector);
            form.chooseItem(selector, item);
            break;
        }
        case 6:
            if (kTrace) std::fprintf(stderr, "click %s\n", pick(m.all, which).c_str());
            form.click(pick(m.all, which));
            break;
        case 7:
            if (kTrace) std::fprintf(stderr, "enter %s\n", pick(m.all, which).c_str());
            form.enter(pick(m.all, which));
            break;
        case 8:
            if (kTrace) std::fprintf(stderr, "leave %s\n", pick(m.all, which).c_str());
            form.leave(pick(m.all, which));
            break;
        case 9: form.choosePage(pick(m.pages, which), static_cast<int>(in.byte() % 12)); break;
        case 10:  // the Options dialog: decimal places, then every tab reformatted
            form.state.DecimalPlaces = static_cast<int>(in.byte() % 4);
            if (kTrace) std::fprintf(stderr, "%d places\n", form.state.DecimalPlaces);
            form.guarded([&] { form.reformatAll(); });
            break;
    }
}

void checkShown(Model& m, const std::string& after) {
    Form& form = m.form;
    const char sep = form.state.LocaleDecimalSeparator;
    for (const std::string& edit : m.edits) {
        const std::string& text = form.text(edit);
        const auto typed = m.typed.find(edit);
        if (typed != m.typed.end()) {
            if (typed->second.count(text) != 0) continue;  // the user's own text, kept as typed
            // The program wrote the field: older typed texts cannot come back.
            m.typed.erase(typed);
        }
        if (showsNonFinite(text)) fail(edit + " shows '" + text + "' after " + after);
        const auto number = parseNumber(text, sep);
        if (!number) continue;
        // The program writes numbers after one blank; the Pi tab's operating-Q
        // replacements come without it and get it from the reformat that follows
        // a computation, so a failed computation leaves them bare.
        if (text.size() >= 2 && text[0] == ' ' && text[1] == ' ')
            fail(edit + " shows '" + text + "' with more than one blank after " + after);
        const FieldSpec* f = form.fieldOfEdit(edit);
        if (f == nullptr || f->selector.empty()) continue;
        // A zero is the same in every unit: the program shows it without one.
        const int index = form.index(f->selector);
        if (*number != 0 && (index < 0 || index >= kPrefixCount))
            fail(edit + " shows '" + text + "' without a unit after " + after);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const unsigned setup = in.byte();
    Model m(setup & 1 ? '.' : ',');
    m.form.state.DecimalPlaces = static_cast<int>((setup >> 1) % 4);
    for (int step = 0; step < 64 && !in.empty(); ++step) {
        try {
            act(m, in);
        } catch (const std::exception& e) {
            fail(std::string("escaped the event boundary: ") + e.what());
        }
        checkShown(m, "step " + std::to_string(step));
    }
    return 0;
}
