// Properties of the whole window that no single tab test states: whatever a
// user types, chooses or leaves behind, every edit shows a number or the text the
// user typed, never an infinite or undefined value, and nothing escapes the
// event boundary.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/numtext.h"
#include "model_fixture.h"
#include "settings/settings.h"

using namespace velkaro;
using namespace velkaro::testing;

namespace {

bool showsNonFinite(const std::string& text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
}

class WindowProperties : public WindowModelTest {
protected:
    void SetUp() override {
        WindowModelTest::SetUp();
        ApplyFactoryDefaults(form);
        for (const auto& [name, control] : form.controls()) {
            if (form.fieldOfEdit(name) != nullptr) fields.push_back(name);
        }
    }

    // The value of a field that its limits accept, spread over their range on a
    // logarithmic scale where they span decades.
    std::string validText(const FieldSpec& f, std::mt19937& random) const {
        const double lo = static_cast<double>(*parseNumber(f.lower, '.'));
        const double hi = static_cast<double>(*parseNumber(f.upper, '.'));
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        double v;
        if (lo > 0 && hi / lo > 1e3) {
            v = lo * std::pow(hi / lo, unit(random));
        } else {
            v = lo + (hi - lo) * unit(random);
        }
        v = std::clamp(v, lo, hi) / static_cast<double>(f.scale);
        const int index = f.selector.empty() ? -1 : form.index(f.selector);
        v /= static_cast<double>(PrefixFactor(index));
        char text[64];
        std::snprintf(text, sizeof text, "%.6e", v);
        std::string s(text);
        std::replace(s.begin(), s.end(), '.', sep());
        return s;
    }

    void expectEveryEditFinite(const std::string& after) const {
        for (const auto& [name, control] : form.controls()) {
            if (control.kind != ControlKind::Edit) continue;
            EXPECT_FALSE(showsNonFinite(control.text))
                << name << " shows '" << control.text << "' after " << after;
        }
    }

    std::vector<std::string> fields;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Separators, WindowProperties, ::testing::Values(',', '.'));

TEST_P(WindowProperties, ValidEntriesOnEveryTabNeverShowInfinityOrNan) {
    ASSERT_GT(fields.size(), 20u);
    std::mt19937 random(20261207);
    for (int round = 0; round < 40; ++round) {
        for (const auto& edit : fields) {
            const FieldSpec& f = *form.fieldOfEdit(edit);
            const std::string typed = validText(f, random);
            form.userEdit(edit, typed);
            const std::size_t before = sink.errors.size();
            form.pressEnter(edit);
            // Within the limits as typed: never refused (the other fields may
            // still make the result undefined, which the general report says).
            // A matching network may tell why it computes with other values
            // (Z1 and Z2 swapped, a Q below the minimum replaced).
            for (std::size_t i = before; i < sink.errors.size(); ++i) {
                const std::string& m = sink.errors[i];
                EXPECT_TRUE(m.find("ausserhalb") == std::string::npos &&
                            m.find("nicht richtig") == std::string::npos &&
                            m.find("keine Gleitkommazahl") == std::string::npos)
                    << edit << " = " << typed << ": " << m;
            }
            expectEveryEditFinite(edit + " = " + typed);
            if (!f.selector.empty()) {
                form.enter(f.selector);
                form.chooseItem(f.selector, std::uniform_int_distribution<int>(0, 16)(random));
                expectEveryEditFinite(f.selector + " changed");
            }
        }
    }
    // Refusals, conversion and arithmetic errors all went through the sink.
}

TEST_P(WindowProperties, AnythingTypedAndLeftBehindIsReportedNotShownAsInfinity) {
    const char* junk[] = {"",       "abc", "0",      "-1", "1e308", "-1e308",
                          "1e-320", "0,0", "1e4000", ",",  "1,5e"};
    for (const auto& edit : fields) {
        for (const char* text : junk) {
            // Typed without Enter into one field, then another field computes
            // and the decimal places change: every path reads it back unguarded.
            form.userEdit(edit, local(text));
            for (const auto& other : fields) {
                if (other == edit) continue;
                form.pressEnter(other);
            }
            form.leave(edit);
            form.click("RadioButton1");
            form.click("RadioButton3");
            expectEveryEditFinite(edit + " holding '" + text + "'");
            // Undo what the user typed, so the next field starts from numbers.
            form.userEdit(edit, local(" 1,000"));
            form.pressEnter(edit);
        }
    }
}

// Picking the unit a list already shows changes nothing: no computation, no
// message, no focus move, on every tab.
TEST_P(WindowProperties, ReChoosingTheShownUnitIsNoChange) {
    for (const auto& edit : fields) {
        const FieldSpec& f = *form.fieldOfEdit(edit);
        if (f.selector.empty()) continue;
        // Typed but not entered: a unit change would compute from it.
        form.userEdit(edit, local("1500"));
        const auto revision = form.revision();
        form.enter(f.selector);
        form.chooseItem(f.selector, form.index(f.selector));
        EXPECT_EQ(form.revision(), revision) << f.selector;
        EXPECT_EQ(form.text(edit), local("1500")) << f.selector;
        form.userEdit(edit, local(" 1,000"));
        form.pressEnter(edit);
    }
    EXPECT_TRUE(sink.focus.empty());
    EXPECT_TRUE(sink.general.empty());
}

// What is shown is what is read back: a value written into any field with a
// unit list, from 1e-40 to 1e40, reads back as the number shown in the unit
// shown, to the displayed precision; a reformat then changes it by no more
// than its rounding, and a zero keeps its unit however often it is reformatted.
TEST_P(WindowProperties, WhatIsShownIsWhatIsReadBack) {
    std::mt19937 random(20261208);
    std::uniform_real_distribution<double> decade(-40.0, 40.0);
    for (const int places : {0, 3}) {
        form.state.DecimalPlaces = places;
        for (const auto& edit : fields) {
            const FieldSpec& f = *form.fieldOfEdit(edit);
            if (f.selector.empty()) continue;
            for (int round = 0; round < 60; ++round) {
                const double v = std::pow(10.0, decade(random));
                form.writeRanged(edit, f.selector, v);
                const int shownIndex = form.index(f.selector);
                ASSERT_GE(shownIndex, 0) << edit << " = " << v;
                const long double unit = PrefixFactor(shownIndex);
                // Half a unit of the last decimal, plus the 18-digit limit of the text.
                const long double step = 0.5L * std::pow(10.0L, -places) * unit;
                const double shown = form.value(edit);
                EXPECT_LE(std::fabs(shown - v), step + 1e-15L * v)
                    << edit << " = " << v << " shows '" << form.text(edit) << "'";
                form.reformat(f.reformat);
                EXPECT_LE(std::fabs(form.value(edit) - shown), step + 1e-15L * shown)
                    << edit << " = " << v << " reformatted to '" << form.text(edit) << "'";
            }
            form.setText(edit, local(" 0"));
            form.setIndex(f.selector, 10);
            for (int i = 0; i < 5; ++i) form.reformat(f.reformat);
            EXPECT_EQ(form.index(f.selector), 10) << edit;
            form.setText(edit, local(" 1,000"));
            form.setIndex(f.selector, 8);
        }
    }
    EXPECT_TRUE(sink.general.empty()) << sink.general.front();
}

// After a computation that went through, every input of the calculator is
// shown in the program's own format with the current places: reading it back
// and writing it again gives the very same text, so the value the next
// computation reads is exactly the one the user sees.
TEST_P(WindowProperties, EveryInputShownIsWrittenInItsOwnFormat) {
    std::mt19937 random(20261209);
    int checked = 0;
    for (const int places : {0, 2, 3}) {
        form.state.DecimalPlaces = places;
        form.reformatAll();
        for (int round = 0; round < 6; ++round) {
            for (const auto& edit : fields) {
                const FieldSpec& f = *form.fieldOfEdit(edit);
                // What the user can type into (a field the circuit does not use
                // is disabled and not reformatted).
                if (!form.at(edit).enabled || form.at(edit).readOnly) continue;
                form.userEdit(edit, validText(f, random));
                const std::size_t messages = sink.errors.size() + sink.general.size();
                form.pressEnter(edit);
                if (sink.errors.size() + sink.general.size() != messages) continue;
                for (const auto& other : fields) {
                    if (form.fieldOfEdit(other)->reformat != f.reformat ||
                        form.at(other).tab != form.at(edit).tab || !form.at(other).enabled)
                        continue;
                    const std::string& text = form.text(other);
                    // A field the circuit does not use stands empty (RC-Glieder).
                    if (text.find_first_not_of(' ') == std::string::npos) continue;
                    const auto v = parseNumber(text, sep());
                    ASSERT_TRUE(v.has_value()) << other << " shows '" << text << "'";
                    const bool own = text == form.fixedText(*v) ||
                                     text == withOneBlank(formatExpo(*v, sep()));
                    EXPECT_TRUE(own) << other << " shows '" << text << "' after " << edit
                                     << " at " << places << " places";
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 1000);
}
