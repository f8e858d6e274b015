#include "calc/help.h"

#include <algorithm>
#include <cctype>

#include "calc/window.h"

namespace velkaro {

namespace {

// Containers with a context besides the tab sheets of kTabSheets.
struct NamedContext {
    const char* name;
    int context;
};
constexpr NamedContext kContainers[] = {
    {"TForm1", kMainWindowHelpContext},         // main window
    {"PageControl1", kPageControlHelpContext},  // its page control (the tab row)
    {"PageControl2", 70},                       // "Leistung" / "Spannung" of the dB tab
    // The options belong to the main window's topic, which describes them in a
    // section of their own; so does the Info dialog.
    {"TForm3", kMainWindowHelpContext},
    {"InfoDialog", kMainWindowHelpContext},
};

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

const HelpTopic* helpTopic(int context) {
    for (const HelpTopic& topic : kHelpTopics) {
        if (topic.context == context) return &topic;
    }
    return nullptr;
}

int ownHelpContext(const std::string& name) {
    for (const TabSheet& sheet : kTabSheets) {
        if (name == sheet.name) return sheet.helpContext;
    }
    for (const NamedContext& c : kContainers) {
        if (name == c.name) return c.context;
    }
    return 0;
}

int helpContextFor(const std::vector<std::string>& chain) {
    for (const std::string& name : chain) {
        if (const int context = ownHelpContext(name); context != 0) return context;
    }
    return 0;
}

std::string helpFileMissingMessage(const std::string& path) {
    return "Hilfe-Datei nicht gefunden\r" + path;
}

bool helpLogRequested(bool debugFileExists, const std::vector<std::string>& arguments) {
    if (debugFileExists) return true;
    return std::any_of(arguments.begin(), arguments.end(), [](const std::string& a) {
        const std::string l = lower(a);
        return l == "/debug" || l == "-debug";
    });
}

}  // namespace velkaro
