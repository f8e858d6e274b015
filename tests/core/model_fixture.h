// What the tests that drive the window model share: a message sink that keeps
// everything the model says, and the fixture of the tab tests, which run once
// with each decimal separator.

#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "calc/window.h"
#include "core/form.h"
#include "core/numtext.h"
#include "core/prefix.h"

namespace velkaro::testing {

// Every message and request, in the order the model sent them.
struct RecordingSink : MessageSink {
    std::vector<std::string> errors, plain, general, focus, urls;
    std::vector<int> help;
    void errorBox(const std::string& t) override { errors.push_back(t); }
    void plainMessage(const std::string& t) override { plain.push_back(t); }
    void generalError(const std::string& t) override { general.push_back(t); }
    void focusPrevious(const std::string& c) override { focus.push_back(c); }
    void showHelp(int context) override { help.push_back(context); }
    void openUrl(const std::string& url) override { urls.push_back(url); }
};

// A text written with a comma ("2,5"), as it reads under the separator `sep`.
inline std::string local(std::string s, char sep) {
    for (char& c : s) {
        if (c == ',') c = sep;
    }
    return s;
}

// a and b agree within `relative` of the larger.
inline bool near(long double a, long double b, long double relative) {
    return std::fabs(a - b) <= relative * std::fmax(std::fabs(a), std::fabs(b));
}

// The whole window model with three places, its messages recorded; the
// parameter is the decimal separator the user works with.
class WindowModelTest : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override {
        BuildModel(form);
        form.setSink(&sink);
        form.state.DecimalPlaces = 3;
    }

    char sep() const { return GetParam(); }
    std::string local(std::string s) const { return velkaro::testing::local(std::move(s), sep()); }
    // Types a whole new text (written with a comma) into the edit.
    void type(const std::string& edit, const std::string& text) {
        form.userEdit(edit, local(text));
    }
    // Types it and presses Enter.
    void enter(const std::string& edit, const std::string& text) {
        type(edit, text);
        form.pressEnter(edit);
    }
    // Chooses an item of a unit list as the user does: into the list, then pick.
    void choose(const std::string& selector, int index) {
        form.enter(selector);
        form.chooseItem(selector, index);
    }
    // The value a field shows, in base units.
    long double shownValue(const std::string& edit, const std::string& selector) const {
        return *parseNumber(form.text(edit), sep()) * PrefixFactor(form.index(selector));
    }
    void expectField(const std::string& edit, const std::string& text,
                     const char* selector = nullptr, int index = 0) const {
        EXPECT_EQ(form.text(edit), local(text)) << edit;
        if (selector != nullptr) {
            EXPECT_EQ(form.index(selector), index) << selector;
        }
    }
    // The edits' texts, then the selectors' items: what a tab shows.
    std::vector<std::string> snapshot(const std::vector<std::string>& edits,
                                      const std::vector<std::string>& selectors) const {
        std::vector<std::string> s;
        for (const auto& e : edits) s.push_back(form.text(e));
        for (const auto& c : selectors) s.push_back(std::to_string(form.index(c)));
        return s;
    }

    Form form{GetParam()};
    RecordingSink sink;
};

}  // namespace velkaro::testing
