#pragma once
// Qt side of the model's message interface: modal boxes, posted focus moves,
// help requests and links handed to the desktop.

#include <QString>
#include <functional>

#include "core/form.h"

class QWidget;

namespace velkaro {

class Binder;

// The application title of the general error report and the plain messages.
inline const char* const kApplicationTitle = "kl. Velkaro V3.0";

class QtSink : public MessageSink {
public:
    QtSink(Binder& binder, QWidget* owner);

    void errorBox(const std::string& text) override;
    void plainMessage(const std::string& text) override;
    void generalError(const std::string& text) override;
    void focusPrevious(const std::string& control) override;
    void showHelp(int context) override;
    void openUrl(const std::string& url) override;
    // Hands a link to the desktop; false when the desktop could not open it.
    bool openLink(const std::string& url);

    // Help requests go wherever the help module wants them.
    std::function<void(int)> helpHandler;

    // A message text's CR breaks the line on screen.
    static QString displayText(const std::string& text);

private:
    void show(int icon, const QString& title, const std::string& text);

    Binder& binder_;
    QWidget* owner_;
};

}  // namespace velkaro
