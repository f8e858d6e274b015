#include "help.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QShortcut>
#include <QStandardPaths>
#include <QTextStream>
#include <QWidget>
#include <string>
#include <vector>

#include "calc/help.h"
#include "core/form.h"
#include "modules.h"
#include "tabrows.h"

#ifndef VELKARO_DATA_FROM_BIN
#define VELKARO_DATA_FROM_BIN "../share/velkaro"
#endif

namespace velkaro {

namespace {

const QString kHelpFile = QString::fromUtf8(kHelpFileName);

QString joined(const QString& folder, const QString& name) {
    return QDir::cleanPath(folder + QLatin1Char('/') + name);
}

// The user's state folder ($XDG_STATE_HOME, else ~/.local/state) for velkaro.
QString userStateFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return base + QStringLiteral("/velkaro");
}

}  // namespace

QString helpFileBeside(const QString& programDir) { return joined(programDir, kHelpFile); }

QStringList installedHelpFolders(const QString& programDir) {
    QStringList folders{joined(programDir, QStringLiteral(VELKARO_DATA_FROM_BIN))};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString folder = joined(data, QStringLiteral("velkaro"));
        if (!folders.contains(folder)) folders << folder;
    }
    return folders;
}

QString findHelpFile(const QString& programDir, const QStringList& folders) {
    const QString beside = helpFileBeside(programDir);
    if (QFileInfo(beside).isFile()) return beside;
    for (const QString& folder : folders) {
        const QString candidate = joined(folder, kHelpFile);
        if (QFileInfo(candidate).isFile()) return candidate;
    }
    return {};
}

QStringList containerChain(const QWidget* w) {
    QStringList chain;
    while (w != nullptr) {
        chain << w->objectName();
        // The rows of tabs stand for their page control's own tab bar.
        if (const auto* rows = qobject_cast<const TabRows*>(w); rows && rows->tabWidget()) {
            w = rows->tabWidget();
        } else {
            w = w->parentWidget();
        }
    }
    return chain;
}

int helpContextOfWidget(const QWidget* w) {
    std::vector<std::string> chain;
    for (const QString& name : containerChain(w)) chain.push_back(name.toStdString());
    return helpContextFor(chain);
}

// ---- the diagnostic log -----------------------------------------------------

HelpLog::HelpLog(bool on, const QString& programDir) {
    if (!on) return;
    const QString name = QStringLiteral("velkaro_hilfe.log");
    file_.setFileName(joined(programDir, name));
    if (file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return;
    const QString state = userStateFolder();
    QDir().mkpath(state);
    file_.setFileName(joined(state, name));
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        file_.setFileName(QString());
    }
}

void HelpLog::write(const QString& line) {
    if (!enabled()) return;
    QTextStream out(&file_);
    out << QDateTime::currentDateTime().toString(Qt::ISODateWithMs) << QLatin1Char(' ') << line
        << QLatin1Char('\n');
    out.flush();
}

// ---- the help system --------------------------------------------------------

namespace {

HelpViewFactory viewFactory = nullptr;

HelpViewFactory loadHelpModule(QString* path, QString* error) {
    return reinterpret_cast<HelpViewFactory>(
        moduleEntry(kHelpModuleName, kHelpModuleEntry, path, error));
}

}  // namespace

HelpSystem::HelpSystem(const QString& programDir, const QStringList& arguments,
                       const QStringList& installedFolders, QObject* parent)
    : QObject(parent),
      programDir_(programDir),
      expected_(helpFileBeside(programDir)),
      file_(findHelpFile(programDir, installedFolders)) {
    std::vector<std::string> args;
    for (const QString& a : arguments) args.push_back(a.toStdString());
    const bool debugFile = QFileInfo(joined(programDir, QStringLiteral("debug.debug"))).isFile();
    log_ = std::make_unique<HelpLog>(helpLogRequested(debugFile, args), programDir);
    if (log_->enabled()) {
        const QLocale locale = QLocale::system();
        log_->write(QStringLiteral("Start: Programm %1").arg(QCoreApplication::applicationFilePath()));
        log_->write(QStringLiteral("Programmordner %1").arg(programDir));
        log_->write(QStringLiteral("Hilfe-Datei %1 (%2)")
                        .arg(file_.isEmpty() ? expected_ : file_,
                             file_.isEmpty() ? QStringLiteral("nicht gefunden")
                                             : QStringLiteral("gefunden")));
        log_->write(QStringLiteral("Qt-Version %1 (übersetzt mit %2)")
                        .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR)));
        log_->write(QStringLiteral("Gebietsschema %1, Sprachen %2")
                        .arg(locale.name(), locale.uiLanguages().join(QLatin1Char(' '))));
        log_->write(QStringLiteral("Dezimaltrennzeichen \"%1\"").arg(locale.decimalPoint()));
        // Loaded now only for the log; without it on the first request for help.
        QString module;
        QString error;
        if (viewFactory == nullptr && loadHelpModule(&module, &error) != nullptr)
            log_->write(QStringLiteral("Hilfe-Modul %1 (geladen)").arg(module));
        else if (viewFactory == nullptr)
            log_->write(QStringLiteral("Hilfe-Modul nicht geladen: %1").arg(error));
    }
}

HelpSystem::~HelpSystem() { closeAll(); }

QWidget* HelpSystem::window() const { return window_.data(); }

void HelpSystem::setViewFactory(HelpViewFactory factory) { viewFactory = factory; }

bool HelpSystem::checkAtStartup(MessageSink& sink) {
    sink_ = &sink;
    if (!file_.isEmpty()) return true;
    sink.plainMessage(helpFileMissingMessage(QDir::toNativeSeparators(expected_).toStdString()));
    // The help viewer is part of the program (Qt's help framework, in the
    // program's help module): there is no viewer of the system to check.
    return false;
}

void HelpSystem::installF1(QWidget* mainWindow) {
    // One key for every window of the program: the main window, its dialogs and
    // the help window itself (where it finds no context and does nothing).
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), mainWindow);
    f1->setContext(Qt::ApplicationShortcut);
    connect(f1, &QShortcut::activated, this, &HelpSystem::showForFocus);
}

void HelpSystem::showForFocus() {
    const QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) focus = QApplication::activeWindow();
    const int context = helpContextOfWidget(focus);
    if (context == 0) {
        log_->write(QStringLiteral("F1 ohne Hilfekontext (%1)")
                        .arg(containerChain(focus).join(QLatin1Char('/'))));
        return;
    }
    showContext(context);
}

void HelpSystem::showContext(int context) {
    const HelpTopic* topic = helpTopic(context);
    // Installed or copied after the start: look again.
    if (file_.isEmpty()) file_ = findHelpFile(programDir_, installedHelpFolders(programDir_));
    const QString page = topic ? QString::fromUtf8(topic->page) : QStringLiteral("-");
    QString result;
    if (topic == nullptr) {
        result = QStringLiteral("kein Thema");
    } else if (file_.isEmpty()) {
        result = QStringLiteral("Hilfe-Datei fehlt");
        if (sink_ != nullptr) {
            sink_->plainMessage(
                helpFileMissingMessage(QDir::toNativeSeparators(expected_).toStdString()));
        }
    } else {
        QString error;
        if (window_.isNull()) {
            view_ = nullptr;
            const HelpViewFactory factory = viewFactory ? viewFactory : loadHelpModule(nullptr, &error);
            if (factory != nullptr) {
                view_ = factory(file_);
                window_ = view_->widget();
            }
        }
        if (view_ != nullptr && view_->showPage(page)) {
            result = QStringLiteral("angezeigt");
        } else {
            // A damaged help file, a missing database driver or help module: say
            // so instead of showing nothing, and start afresh on the next request.
            if (view_ != nullptr) error = view_->error();
            result = QStringLiteral("Fehler: ") + error;
            closeAll();
            if (sink_ != nullptr) {
                sink_->plainMessage("Die Hilfe kann nicht angezeigt werden.\r" +
                                    QDir::toNativeSeparators(error).toStdString());
            }
        }
    }
    log_->write(QStringLiteral("Hilfe Kontext %1 -> %2: %3").arg(context).arg(page, result));
}

void HelpSystem::closeAll() {
    if (!window_.isNull()) {
        window_->close();
        delete window_.data();
    }
    view_ = nullptr;
}

}  // namespace velkaro
