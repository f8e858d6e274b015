#include "calc/window.h"

#include "calc/options.h"
#include "calc/tabs.h"

#include <string>
#include <string_view>
#include <utility>

namespace velkaro {

namespace {

// The "Hilfe - F1" label of each tab and the help topic its click asks for.
constexpr std::pair<const char*, int> kHelpLabels[] = {
    {"Label192", 70},  {"Label189", 70},  {"Label188", 80},  {"Label187", 90},
    {"Label186", 100}, {"Label184", 110}, {"Label183", 120}, {"Label182", 130},
    {"Label193", 140}, {"Label194", 150}, {"Label195", 160}, {"Label196", 170},
};

}  // namespace

void BuildWindowModel(Form& form) {
    form.addPages("PageControl1", static_cast<int>(kTabSheets.size()), 0);
    // The dB tab opens on "Spannung" until the settings choose another page.
    form.addPages("PageControl2", 2, 1);
    for (const auto& [label, context] : kHelpLabels) {
        form.addLabel(label, "Hilfe - F1");
        form.setHandler(label, [&form, context = context] { form.sink().showHelp(context); });
    }
}

void BuildModel(Form& form) {
    BuildWindowModel(form);
    for (const TabModule& tab : tabModules()) {
        for (const TabSheet& sheet : kTabSheets) {
            if (std::string_view(sheet.name) == tab.name) form.beginTab(sheet.caption);
        }
        tab.build(form);
    }
    form.beginTab({});
    BuildOptionsModel(form);
}

}  // namespace velkaro
