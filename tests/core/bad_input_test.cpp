// A catalogue of bad inputs, run against every value field of every tab as the
// model lists them (new tabs are covered by adding them to the window):
// Enter gives the number message and undoes the typing, a unit change reports
// the conversion error and keeps the new unit, and neither changes anything else.
// An edit that no handler checks is caught by the next computation reading it.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/numtext.h"
#include "model_fixture.h"
#include "settings/settings.h"

using namespace velkaro;
using namespace velkaro::testing;

namespace {

struct BadInput {
    const char* what;
    std::string text;
};

// Everything a user may type or paste that is no number (under `sep`).
std::vector<BadInput> catalogue(char sep) {
    const std::string s(1, sep);
    const std::string other = sep == ',' ? "." : ",";
    std::string digits;
    while (digits.size() < 10000) digits += "1234567890";
    std::string letters = "1" + s + "5";
    letters.resize(10000, 'x');
    return {
        {"empty", ""},
        {"blanks only", "   "},
        {"a tab only", "\t"},
        {"two separators", "1,2,3"},
        {"two points", "1.2.3"},
        {"exponent without digits", "1e"},
        {"exponent sign without digits", "1e+"},
        {"exponent only", "e5"},
        {"two exponents", "1e5e5"},
        {"double sign", "--1"},
        {"mixed signs", "+-1"},
        {"separator only", s},
        {"overflow", "1e99999"},
        {"negative overflow", "-1e99999"},
        {"hexadecimal", "0x10"},
        {"infinity", "inf"},
        {"infinity spelled out", "-Infinity"},
        {"not a number", "nan"},
        {"not a number, upper case", "NAN"},
        {"infinity sign", "\u221e"},
        {"thousands and decimals", "1" + other + "000" + s + "5"},
        {"thousands only", "1" + other + "000" + other + "000"},
        {"thousands by blank", "1 000"},
        {"thousands by apostrophe", "1'000"},
        {"thousands by narrow no-break space", "1\u202f000"},
        {"unit prefix", "5k"},
        {"unit prefix after a blank", "5 k"},
        {"unit", "10pF"},
        {"unit after a number", "3" + s + "6 MHz"},
        {"ohm sign", "50\u03a9"},
        {"10 000 digits", digits},
        {"10 000 characters", letters},
        {"Arabic-Indic digits", "\u0661\u0662\u0663"},
        {"Persian digits", "\u06f1\u06f2"},
        {"full-width digits", "\uff11\uff12\uff13"},
        {"Devanagari digits", "\u0967\u0968"},
        {"Latin letters", "abc"},
        {"umlaut", "\u00e4"},
        {"Cyrillic", "\u0430\u0431\u0432"},
        {"Greek", "\u03b1\u03b2"},
        {"Chinese", "\u6570\u5b57"},
        {"Unicode minus", "\u22121"},
        {"no-break space inside", "1\u00a0000"},
        {"no-break space after the separator", "1" + s + "\u00a05"},
        {"blank after the sign", "- 1"},
        {"no-break space after the sign", "-\u00a01"},
        {"line break inside", "1\n2"},
        {"NUL inside", std::string("1\0" "2", 3)},
    };
}

// Everything a control shows.
std::map<std::string, std::string> state(const Form& form) {
    std::map<std::string, std::string> s;
    for (const auto& [name, c] : form.controls()) {
        s[name] = c.text + '|' + std::to_string(c.index) + '|' + std::to_string(c.checked) +
                  std::to_string(c.enabled) + std::to_string(c.visible) +
                  std::to_string(c.readOnly) + '|' + std::to_string(c.fontColour);
    }
    return s;
}

// The names whose state differs, for the failure message.
std::string differences(const std::map<std::string, std::string>& a,
                        const std::map<std::string, std::string>& b) {
    std::string d;
    for (const auto& [name, value] : a) {
        const auto it = b.find(name);
        if (it == b.end() || it->second != value) d += name + " ";
    }
    return d;
}

std::string shortText(const std::string& s) { return s.size() > 40 ? s.substr(0, 40) + "…" : s; }

class BadInputCatalogue : public WindowModelTest {
protected:
    void SetUp() override {
        WindowModelTest::SetUp();
        ApplyFactoryDefaults(form);
        for (const auto& [name, control] : form.controls()) {
            if (const FieldSpec* f = form.fieldOfEdit(name)) fields.push_back(f);
        }
    }
    void clearMessages() { sink = RecordingSink{}; }

    std::vector<const FieldSpec*> fields;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, BadInputCatalogue, ::testing::Values(',', '.'));

TEST_P(BadInputCatalogue, EnterInEveryFieldGivesTheNumberMessageAndUndoes) {
    ASSERT_GT(fields.size(), 50u);
    for (const FieldSpec* f : fields) {
        for (const auto& bad : catalogue(sep())) {
            const auto before = state(form);
            form.userEdit(f->edit, bad.text);
            form.pressEnter(f->edit);
            ASSERT_EQ(sink.errors.size(), 1u) << f->edit << ": " << bad.what;
            EXPECT_EQ(sink.errors[0], numberMessage(bad.text)) << f->edit << ": " << bad.what;
            EXPECT_TRUE(sink.general.empty()) << f->edit << ": " << bad.what;
            EXPECT_TRUE(sink.focus.empty()) << f->edit << ": " << bad.what;
            const auto after = state(form);
            EXPECT_TRUE(after == before) << f->edit << ": " << bad.what << " changed "
                                         << differences(before, after);
            clearMessages();
        }
    }
}

// A unit change reads the edit unguarded: the general conversion report, the
// new unit stays, nothing is computed and the focus stays. Some unit lists also
// act when clicked, before any value is read (the dB tab's direction marker,
// which entry of the LC tab leads): that much happens as with any click.
TEST_P(BadInputCatalogue, UnitChangeOverABadTextReportsTheConversionAndKeepsTheUnit) {
    int selectors = 0;
    for (const FieldSpec* f : fields) {
        if (f->selector.empty()) continue;
        ++selectors;
        const auto& onClick = form.at(f->selector).onClick;
        for (const auto& bad : catalogue(sep())) {
            const std::string oldText = form.text(f->edit);
            const int oldIndex = form.index(f->selector);
            const int newIndex = (oldIndex + 5) % kPrefixCount;
            form.userEdit(f->edit, bad.text);
            if (onClick) onClick();
            auto expected = state(form);
            form.enter(f->selector);
            form.chooseItem(f->selector, newIndex);
            ASSERT_EQ(sink.general.size(), 1u) << f->selector << ": " << bad.what;
            EXPECT_EQ(sink.general[0], errtext::conversion(bad.text) + ".")
                << f->selector << ": " << bad.what;
            EXPECT_TRUE(sink.errors.empty()) << f->selector << ": " << bad.what;
            EXPECT_TRUE(sink.focus.empty()) << f->selector << ": " << bad.what;
            EXPECT_EQ(form.index(f->selector), newIndex) << f->selector << ": " << bad.what;
            auto after = state(form);
            expected.erase(f->selector);
            after.erase(f->selector);
            EXPECT_TRUE(after == expected) << f->selector << ": " << bad.what << " changed "
                                           << differences(expected, after);
            form.setText(f->edit, oldText);
            form.setIndex(f->selector, oldIndex);
            clearMessages();
        }
    }
    EXPECT_GT(selectors, 40);
}

// The ratio fields of the dB tab compute when they are left, unguarded.
TEST_P(BadInputCatalogue, LeavingAFieldThatComputesOnExitReportsTheConversion) {
    int exits = 0;
    for (const FieldSpec* f : fields) {
        if (!f->computeOnExit) continue;
        ++exits;
        for (const auto& bad : catalogue(sep())) {
            const std::string oldText = form.text(f->edit);
            form.userEdit(f->edit, bad.text);
            const auto expected = state(form);
            form.leave(f->edit);
            ASSERT_EQ(sink.general.size(), 1u) << f->edit << ": " << bad.what;
            EXPECT_EQ(sink.general[0], errtext::conversion(bad.text) + ".") << f->edit;
            EXPECT_TRUE(sink.errors.empty()) << f->edit;
            const auto after = state(form);
            EXPECT_TRUE(after == expected) << f->edit << ": " << bad.what << " changed "
                                           << differences(expected, after);
            form.setText(f->edit, oldText);
            clearMessages();
        }
    }
    EXPECT_EQ(exits, 4);
}

// An edit the user can type into that has no handler of its own (the frequency
// of the parallel/series tab) is read by the computations of its tab: the first
// one that reads it reports the conversion error with its text, and no field
// shows anything but a number.
TEST_P(BadInputCatalogue, AnEditWithoutHandlersIsCaughtByTheNextComputation) {
    std::vector<std::string> plain;
    for (const auto& [name, c] : form.controls()) {
        if (c.kind == ControlKind::Edit && !c.readOnly && !c.tab.empty() &&
            form.fieldOfEdit(name) == nullptr && parseNumber(c.text, sep()).has_value()) {
            plain.push_back(name);
        }
    }
    ASSERT_FALSE(plain.empty());
    for (const auto& edit : plain) {
        const std::string tab = form.at(edit).tab;
        int readers = 0;
        for (const auto& bad : catalogue(sep())) {
            const std::string oldText = form.text(edit);
            form.userEdit(edit, bad.text);
            for (const FieldSpec* f : fields) {
                if (form.at(f->edit).tab != tab) continue;
                const auto before = state(form);
                form.pressEnter(f->edit);
                EXPECT_TRUE(sink.errors.empty()) << f->edit << " with " << edit << ": " << bad.what;
                if (!sink.general.empty()) {
                    // The whole tab stays as it was: every result is checked first.
                    ++readers;
                    EXPECT_EQ(sink.general[0], errtext::conversion(bad.text) + ".")
                        << f->edit << " reading " << edit;
                    EXPECT_EQ(sink.general.size(), 1u);
                    const auto after = state(form);
                    EXPECT_TRUE(after == before) << f->edit << " reading " << edit << " = '"
                                                 << shortText(bad.text) << "' changed "
                                                 << differences(before, after);
                }
                clearMessages();
            }
            EXPECT_EQ(form.text(edit), bad.text) << edit;
            form.setText(edit, oldText);
        }
        EXPECT_GT(readers, 0) << edit << " is read by no computation of " << tab;
    }
}

// Blanks around a number, a no-break space among them, are no error: the entry
// does exactly what the bare number does.
TEST_P(BadInputCatalogue, BlanksAroundANumberAreAccepted) {
    Form twin(sep());
    RecordingSink twinSink;
    BuildModel(twin);
    twin.setSink(&twinSink);
    twin.state.DecimalPlaces = 3;
    ApplyFactoryDefaults(twin);
    std::mt19937 random(13);
    const char* wrappings[][2] = {{"\u00a0", "\u00a0"}, {"  ", "\t"}, {"\u202f", " \u00a0"}};
    for (const FieldSpec* f : fields) {
        // A value inside the limits, in the unit shown.
        const double lo = static_cast<double>(*parseNumber(f->lower, '.'));
        const double hi = static_cast<double>(*parseNumber(f->upper, '.'));
        const double t = std::uniform_real_distribution<double>(0.2, 0.8)(random);
        double v = (lo > 0 && hi / lo > 1e3) ? lo * std::pow(hi / lo, t) : lo + (hi - lo) * t;
        const int idx = f->selector.empty() ? -1 : form.index(f->selector);
        v /= static_cast<double>(PrefixFactor(idx) * f->scale);
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.6g", v);
        std::string number = buffer;
        for (char& c : number) {
            if (c == '.') c = sep();
        }
        for (const auto& w : wrappings) {
            clearMessages();
            twinSink = RecordingSink{};
            form.userEdit(f->edit, w[0] + number + w[1]);
            form.pressEnter(f->edit);
            twin.userEdit(f->edit, number);
            twin.pressEnter(f->edit);
            // Messages that quote the entry quote it as typed, blanks and all.
            std::vector<std::string> errors;
            for (std::string m : sink.errors) {
                for (const char* blank : w) {
                    for (std::size_t at; (at = m.find(blank)) != std::string::npos;)
                        m.erase(at, std::string(blank).size());
                }
                errors.push_back(m);
            }
            std::vector<std::string> twinErrors;
            for (std::string m : twinSink.errors) {
                for (const char* blank : w) {
                    for (std::size_t at; (at = m.find(blank)) != std::string::npos;)
                        m.erase(at, std::string(blank).size());
                }
                twinErrors.push_back(m);
            }
            EXPECT_EQ(errors, twinErrors) << f->edit << " = '" << number << "'";
            EXPECT_EQ(sink.general, twinSink.general) << f->edit << " = '" << number << "'";
            auto a = state(form);
            auto b = state(twin);
            // A field its reformat leaves alone keeps what was typed.
            EXPECT_EQ(parseNumber(a[f->edit].substr(0, a[f->edit].find('|')), sep()),
                      parseNumber(b[f->edit].substr(0, b[f->edit].find('|')), sep()))
                << f->edit;
            a.erase(f->edit);
            b.erase(f->edit);
            EXPECT_TRUE(a == b) << f->edit << " = '" << number << "' differs in " << differences(a, b);
            for (const auto& [name, c] : twin.controls()) {
                if (c.kind == ControlKind::Edit) form.setText(name, c.text);
            }
        }
    }
}

// "1e4000" is a number in extended precision but none as a double. Left in a
// field without Enter, the next computation that reads it reports the overflow
// instead of going on with an infinite value (the LC tab showed the inductance
// as 0 without a unit from an infinite frequency).
TEST_P(BadInputCatalogue, ANumberBeyondADoubleIsReportedByTheComputationReadingIt) {
    const auto before = state(form);
    form.userEdit("LC_E_F", "1e4000");
    form.pressEnter("LC_E_C");
    ASSERT_EQ(sink.general.size(), 1u);
    EXPECT_EQ(sink.general[0],
              "Gleitkomma\u00fcberlauf: \u201eFrequenz (F)\u201c (LC-Schwingkreis) ist zu gro\u00df.");
    auto after = state(form);
    after.erase("LC_E_F");
    auto expected = before;
    expected.erase("LC_E_F");
    EXPECT_TRUE(after == expected) << differences(expected, after);

    // On every tab: whatever reads such a text, no field is left with a number
    // and no unit.
    for (const FieldSpec* f : fields) {
        if (f->selector.empty()) continue;
        const std::string oldText = form.text(f->edit);
        for (const char* huge : {"1e4000", "-1e4000"}) {
            form.userEdit(f->edit, huge);
            for (const FieldSpec* other : fields) {
                if (other == f || form.at(other->edit).tab != form.at(f->edit).tab) continue;
                form.pressEnter(other->edit);
                for (const FieldSpec* shown : fields) {
                    if (shown->selector.empty() || shown == f) continue;
                    const auto v = parseNumber(form.text(shown->edit), sep());
                    if (!v || *v == 0) continue;
                    EXPECT_GE(form.index(shown->selector), 0)
                        << shown->edit << " after " << other->edit << " read " << f->edit
                        << " = " << huge;
                }
            }
            form.setText(f->edit, oldText);
        }
    }
    for (const auto& m : sink.general) {
        EXPECT_TRUE(m.find("inf") == std::string::npos && m.find("nan") == std::string::npos) << m;
    }
}
