#pragma once
// What the program needs of its help window. The window and Qt's help engine
// live in a module of their own that is loaded on the first request for help,
// so that a start does not load and relocate the help and database libraries.

#include <QString>

class QWidget;

namespace velkaro {

class HelpView {
public:
    virtual ~HelpView() = default;
    virtual QWidget* widget() = 0;
    // Shows `page` of the help file and brings the window to the front; false
    // (see error()) when the help file cannot be read or has no such page.
    virtual bool showPage(const QString& page) = 0;
    virtual QString error() const = 0;
};

// Makes the help window for `helpFile`; the window deletes itself when closed
// only if told so by its owner.
using HelpViewFactory = HelpView* (*)(const QString& helpFile);

// The module's file name without prefix and suffix, and its entry point.
inline constexpr const char* kHelpModuleName = "velkaro-help";
inline constexpr const char* kHelpModuleEntry = "velkaro_create_help_view";

}  // namespace velkaro
