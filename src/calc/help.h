#pragma once
// Which help topic belongs where: the context numbers of the window's containers,
// the one table from context number to topic page, and the texts and switches
// of the help module that need no toolkit.

#include <array>
#include <string>
#include <vector>

namespace velkaro {

// The compiled help, beside the program or in its installed data folder.
inline constexpr const char* kHelpFileName = "kl_VKOV30_Help.qch";
// Namespace and folder of the topics inside the help file (see help/velkaro.qhp).
inline constexpr const char* kHelpNamespace = "velkaro.hilfe.v30";
inline constexpr const char* kHelpFolder = "hilfe";

struct HelpTopic {
    int context;
    const char* page;   // HTML page in the help file
    const char* title;  // its heading, as the contents list shows it
};

// Every help context of the program and its topic.
inline constexpr std::array<HelpTopic, 13> kHelpTopics = {{
    {40, "hauptfenster.html", "kleiner Velkaro"},
    {30, "register.html", "Die Registerkarten"},
    {70, "db.html", "dB"},
    {80, "dbm.html", "dBm"},
    {90, "dbuv.html", "dB\u00b5V"},
    {100, "xlxc.html", "XL / XC"},
    {110, "lc.html", "LC-Schwingkreis"},
    {120, "rc.html", "RC-Glieder"},
    {130, "pit.html", "PI / T Att"},
    {140, "ps.html", "Parallel-/Serienschaltung"},
    {150, "lnetz.html", "L- Anpassnetzwerk"},
    {160, "pinetz.html", "Pi - Anpassnetzwerk"},
    {170, "tnetz.html", "T - Anpassnetzwerk"},
}};

// The topic of a context number; nullptr for a number without one.
const HelpTopic* helpTopic(int context);

// The help context of a container by its control name (a tab sheet, a page
// control, a window); 0 when it has none of its own.
int ownHelpContext(const std::string& name);

// F1: the context of the focused control or, where it has none, of its nearest
// container that has one. `chain` names the focused control first, then each
// container outwards. 0 when nothing in the chain has a context.
int helpContextFor(const std::vector<std::string>& chain);

// The start-up message when the help file is in neither place; `path` is where
// it is expected beside the program.
std::string helpFileMissingMessage(const std::string& path);

// The diagnostic log is on when the program's folder holds a file "debug.debug"
// or an argument reads "/debug" or "-debug", in any letter case.
bool helpLogRequested(bool debugFileExists, const std::vector<std::string>& arguments);

}  // namespace velkaro
