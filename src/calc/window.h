#pragma once
// The frame of the main window in the model: its two page controls, the help
// labels of the tabs, and the one function that builds the complete model.

#include <array>

#include "core/form.h"

namespace velkaro {

struct TabSheet {
    const char* name;     // tab sheet, e.g. "dBm"
    const char* caption;  // tab caption, e.g. "dBµV"
    int helpContext;
};

// The tabs of PageControl1 in their order (the page index counts from 0).
inline constexpr std::array<TabSheet, 11> kTabSheets = {{
    {"dB", "dB", 70},
    {"dBm", "dBm", 80},
    {"dBuV", "dB\u00b5V", 90},
    {"XLXC", "XL / XC", 100},
    {"LCSchwingkreis", "LC-Schwingkreis", 110},
    {"RCGlieder", "RC-Glieder", 120},
    {"PITAtt", "PI / T Att", 130},
    {"gleichwSchalt", "Parallel-/Serienschaltung", 140},
    {"LNetz", "L- Anpassnetzwerk", 150},
    {"PiNetz", "Pi - Anpassnetzwerk", 160},
    {"TNetz", "T - Anpassnetzwerk", 170},
}};

// Help context of the main window and of its page control.
inline constexpr int kMainWindowHelpContext = 40;
inline constexpr int kPageControlHelpContext = 30;

// PageControl1 (main tabs) and PageControl2 (the dB tab's "Leistung" / "Spannung").
void BuildWindowModel(Form& form);

// Every control of the window and the dialogs, with its handlers and fields.
void BuildModel(Form& form);

}  // namespace velkaro
