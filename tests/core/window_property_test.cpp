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
            const std::size_t refused = sink.errors.size();
            form.pressEnter(edit);
            // Within the limits as typed: never refused (the other fields may
            // still make the result undefined, which the general report says).
            EXPECT_EQ(sink.errors.size(), refused)
                << edit << " = " << typed << ": " << sink.errors.back();
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
