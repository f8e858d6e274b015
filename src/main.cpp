// Start-up: the application, the model, then the main window; the event loop
// shows the main window. The Info and Options dialogs follow on first use.

#include <QApplication>
#include <QFont>
#include <QLocale>
#include <QTimer>

#include "calc/window.h"
#include "core/form.h"
#include "settings/settings.h"
#include "ui/desktop.h"
#include "ui/help.h"
#include "ui/infodialog.h"
#include "ui/mainwindow.h"
#include "ui/optionsdialog.h"
#include "ui/settingspath.h"
#include "ui/style.h"

namespace {

// The user's decimal separator, from LC_ALL / LC_NUMERIC / LANG; only the comma
// and the point can be typed and converted, anything else counts as a point.
char userDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point == QLatin1String(",") ? ',' : '.';
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle(new velkaro::ProgramStyle);
    app.setApplicationName(QStringLiteral("velkaro"));
    app.setDesktopFileName(QStringLiteral("velkaro"));
    velkaro::installQtTranslations(QLocale::system());
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    QApplication::setFont(font);
    velkaro::installAutomationIds();

    velkaro::Form form(userDecimalSeparator());
    velkaro::BuildModel(form);
    velkaro::SettingsFile settings(velkaro::chooseSettingsFile());

    // Help: only the file is looked for now; the help engine starts with the first F1.
    const QString programDir = QCoreApplication::applicationDirPath();
    velkaro::HelpSystem help(programDir, app.arguments(), velkaro::installedHelpFolders(programDir));

    velkaro::MainWindow window(form);
    window.sink().helpHandler = [&help](int context) { help.showContext(context); };
    window.onDestroy = [&help] { help.closeAll(); };
    help.installF1(&window);
    window.onFirstShow = [&] {
        settings.loadOrDefaults(form);
        // Told once the window stands, so the user sees what the message is about.
        QTimer::singleShot(0, &window, [&] {
            help.checkAtStartup(window.sink());
            for (const std::string& notice : settings.takeNotices())
                window.sink().plainMessage(notice);
        });
    };
    window.onClose = [&] {
        bool closing = true;
        form.guarded([&] { closing = settings.store(form); });
        return closing;
    };

    // The dialogs are made when first asked for; until then the model holds the
    // state of the Options dialog's buttons.
    window.setInfoDialog([&window] {
        return new velkaro::InfoDialog(
            &window, [&window](const std::string& url) { return window.sink().openLink(url); });
    });
    window.setOptionsDialog([&window] {
        auto* options = new velkaro::OptionsDialog(&window);
        window.binder().bind(options);
        return options;
    });

    velkaro::showProgramIconAfterFirstFrame(&window);
    window.prepareFirstShow();
    window.show();
    return app.exec();
}
