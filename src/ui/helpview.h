#pragma once
// What the program needs of its help window, which lives in a module loaded on
// the first request for help (modules.h).

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

// Makes the help window for `helpFile`; the caller owns it.
using HelpViewFactory = HelpView* (*)(const QString& helpFile);

}  // namespace velkaro
