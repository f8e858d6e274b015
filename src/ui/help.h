#pragma once
// The program's help: where the help file is, the start-up check, F1 and the
// "Hilfe - F1" labels turned into the topic of a context number, the help
// window (made on the first request only, so that starting costs nothing but a
// file check), and the diagnostic log of help calls.

#include <QFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

#include "helpview.h"

class QWidget;

namespace velkaro {

class MessageSink;

// Where the help file is expected beside a program in `programDir`.
QString helpFileBeside(const QString& programDir);
// The installed data folders that may hold the help file: the one relative to
// the program (a package unpacked anywhere), then the desktop's data folders.
QStringList installedHelpFolders(const QString& programDir);
// The help file beside the program, else in the first of `folders` that holds
// it; empty when there is none.
QString findHelpFile(const QString& programDir, const QStringList& folders);

// The names of `w` and of each of its containers outwards, up to its window and
// the windows that own it.
QStringList containerChain(const QWidget* w);
// The help context F1 asks for with the focus on `w` (0: none).
int helpContextOfWidget(const QWidget* w);

// The diagnostic log: one line per entry, with the time, appended to a file.
class HelpLog {
public:
    // Off unless `on`; the file goes beside the program, or into the user's
    // state folder when the program's folder cannot be written.
    HelpLog(bool on, const QString& programDir);
    bool enabled() const { return file_.isOpen(); }
    QString path() const { return file_.fileName(); }
    void write(const QString& line);

private:
    QFile file_;
};

class HelpSystem : public QObject {
    Q_OBJECT
public:
    // `programDir`: the program's folder; `arguments`: its command line.
    HelpSystem(const QString& programDir, const QStringList& arguments,
               const QStringList& installedFolders, QObject* parent = nullptr);
    ~HelpSystem() override;

    QString expectedPath() const { return expected_; }
    QString helpFile() const { return file_; }
    HelpLog& log() { return *log_; }

    // The start-up check: tells `sink` when the help file is in neither place.
    // Returns whether it was found.
    bool checkAtStartup(MessageSink& sink);

    // F1 with the keyboard focus anywhere in the application's windows.
    void installF1(QWidget* mainWindow);
    // Shows the topic of `context` in the help window, made on first use.
    void showContext(int context);
    // F1: the context of the focused control (or the active window).
    void showForFocus();

    // The help window, once made (for tests and the screenshots).
    QWidget* window() const;
    // Where help windows come from: by default the help module, loaded on the
    // first request; tests give the window linked into them.
    static void setViewFactory(HelpViewFactory factory);
    // Closes and frees every help window.
    void closeAll();

private:
    QString programDir_;
    QString expected_;
    QString file_;
    std::unique_ptr<HelpLog> log_;
    QPointer<QWidget> window_;
    HelpView* view_ = nullptr;  // the same object as window_, while that lives
    MessageSink* sink_ = nullptr;
};

}  // namespace velkaro
