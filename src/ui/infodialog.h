#pragma once
// The Info dialog: program name, build date, author, a short note on reporting
// faults (which a button swaps for the list of helpers) and a button that opens
// a prepared mail to the author.

#include <QDialog>

#include <functional>
#include <string>

#include "ui_infodialog.h"

namespace velkaro {

class InfoDialog : public QDialog {
    Q_OBJECT

public:
    // `openUrl` hands a URL to the desktop (the mail program for "mailto:") and
    // says whether the desktop could open it; where it could not, the dialog
    // tells the user the address to write to by hand.
    // The main window keeps one instance and shows it again when asked.
    using UrlOpener = std::function<bool(const std::string& url)>;
    InfoDialog(QWidget* parent, UrlOpener openUrl);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void toggleCredits();
    void sendMail();
    void closeAndReturn();

    // Fonts derived from the dialog font, and the fixed size that fits them.
    void applyFonts();
    void fitSize();

    Ui::InfoDialog ui;
    UrlOpener openUrl_;
};

}  // namespace velkaro
