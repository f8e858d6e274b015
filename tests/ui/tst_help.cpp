// The help in the real window: F1 on the fields of every tab and the "Hilfe - F1"
// labels open their topics in one help window; contents, index and full-text
// search work on the compiled help file; the start-up check names the missing
// file; the diagnostic log writes its lines.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpIndexWidget>
#include <QHelpSearchEngine>
#include <QHelpSearchResult>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "calc/help.h"
#include "calc/window.h"
#include "help.h"
#include "helpwindow.h"
#include "mainwindow.h"
#include "optionsdialog.h"

using namespace velkaro;

namespace {

struct Recorder : MessageSink {
    QStringList plain;
    void errorBox(const std::string&) override {}
    void plainMessage(const std::string& t) override { plain << QString::fromStdString(t); }
    void generalError(const std::string&) override {}
    void focusPrevious(const std::string&) override {}
    void showHelp(int) override {}
    void openUrl(const std::string&) override {}
};

// The compiled help beside the test programs, as beside the program.
QString buildDir() { return QCoreApplication::applicationDirPath(); }

HelpWindow* helpWindow(const HelpSystem& help) { return qobject_cast<HelpWindow*>(help.window()); }

QString shownPage(const HelpSystem& help) {
    if (helpWindow(help) == nullptr) return {};
    return helpWindow(help)->browser()->source().fileName();
}

QString pageOf(int context) { return QString::fromUtf8(helpTopic(context)->page); }

QString readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

// An edit of `page` the user can type in.
QLineEdit* typingField(QWidget* page) {
    for (QLineEdit* e : page->findChildren<QLineEdit*>()) {
        if (e->isEnabled() && !e->isReadOnly() && !e->objectName().isEmpty()) return e;
    }
    return nullptr;
}

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void containersAndFieldsGiveTheirContexts();
    void f1OnAFieldOfEveryTabOpensItsTopic();
    void everyLabelOpensItsTabsTopic();
    void oneWindowReusedUntilClosedWithTheMainWindow();
    void contentsIndexAndSearch();
    void backAndForward();
    void missingHelpFileIsNamedAtStartAndOnF1();
    void installedDataFolderIsFound();
    void diagnosticLog();
    void programLoadsTheHelpModuleOnFirstRequest();

private:
    std::unique_ptr<HelpSystem> helpBesideBuild() {
        return std::make_unique<HelpSystem>(buildDir(), QStringList{}, QStringList{});
    }
};

void HelpTest::initTestCase() {
    // The engine's collection goes to a test cache folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(QFileInfo::exists(helpFileBeside(buildDir())), "the help file is not built");
    // The window linked into this test, so that it can look inside it.
    HelpSystem::setViewFactory(&velkaro_create_help_view);
}

void HelpTest::cleanup() {
    for (QWidget* w : QApplication::topLevelWidgets()) w->close();
}

void HelpTest::containersAndFieldsGiveTheirContexts() {
    Form form;
    BuildModel(form);
    MainWindow window(form);
    window.ensureAllPages();
    QTabWidget* pages = window.pageControl();
    for (int i = 0; i < pages->count(); ++i) {
        const TabSheet& sheet = kTabSheets[static_cast<std::size_t>(i)];
        QWidget* page = pages->widget(i);
        QCOMPARE(helpContextOfWidget(page), sheet.helpContext);
        const auto edits = page->findChildren<QLineEdit*>();
        QVERIFY2(!edits.isEmpty(), sheet.caption);
        for (QLineEdit* edit : edits) QCOMPARE(helpContextOfWidget(edit), sheet.helpContext);
    }
    QCOMPARE(helpContextOfWidget(pages->tabBar()), kPageControlHelpContext);
    QCOMPARE(helpContextOfWidget(window.findChild<QWidget*>("PageControl1Tabs")),
             kPageControlHelpContext);
    QCOMPARE(helpContextOfWidget(window.findChild<QPushButton*>("ButtonOK")), 40);
    QCOMPARE(helpContextOfWidget(&window), 40);
    // Both sub-tabs of the dB tab.
    for (const char* sub : {"TabSheet16", "TabSheet17"}) {
        auto* subPage = window.findChild<QWidget*>(sub);
        QVERIFY(subPage != nullptr);
        QCOMPARE(helpContextOfWidget(subPage), 70);
    }
}

void HelpTest::f1OnAFieldOfEveryTabOpensItsTopic() {
    Form form;
    BuildModel(form);
    MainWindow window(form);
    auto help = helpBesideBuild();
    window.sink().helpHandler = [&help](int context) { help->showContext(context); };
    help->installF1(&window);
    window.show();
    window.ensureAllPages();
    QTabWidget* pages = window.pageControl();
    int checked = 0;
    for (int i = 0; i < pages->count(); ++i) {
        const TabSheet& sheet = kTabSheets[static_cast<std::size_t>(i)];
        // Back from the help window to the main window, then to the tab.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        pages->setCurrentIndex(i);

        QTRY_COMPARE(pages->currentIndex(), i);
        QLineEdit* field = typingField(pages->currentWidget());
        if (field == nullptr) continue;
        field->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QTest::keyClick(field, Qt::Key_F1);
        QTRY_COMPARE(shownPage(*help), pageOf(sheet.helpContext));
        QVERIFY(help->window()->isVisible());
        ++checked;
    }
    QCOMPARE(checked, pages->count());
    // F1 on the tab row shows the page control's topic.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* rows = window.findChild<QWidget*>("PageControl1Tabs");
    QVERIFY(rows != nullptr);
    rows->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), rows);
    QTest::keyClick(rows, Qt::Key_F1);
    QTRY_COMPARE(shownPage(*help), pageOf(kPageControlHelpContext));

    // F1 in the Options dialog: the main window's topic, which describes them.
    auto* options = new OptionsDialog(&window);
    window.binder().bind(options);
    options->show();
    options->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(options));
    auto* places = options->findChild<QRadioButton*>("RadioButton2");
    QVERIFY(places != nullptr);
    places->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), places);
    QTest::keyClick(places, Qt::Key_F1);
    QTRY_COMPARE(shownPage(*help), pageOf(kMainWindowHelpContext));
}

void HelpTest::everyLabelOpensItsTabsTopic() {
    Form form;
    BuildModel(form);
    MainWindow window(form);
    auto help = helpBesideBuild();
    window.sink().helpHandler = [&help](int context) { help->showContext(context); };
    window.show();
    window.ensureAllPages();
    const std::pair<const char*, int> labels[] = {
        {"Label192", 70},  {"Label189", 70},  {"Label188", 80},  {"Label187", 90},
        {"Label186", 100}, {"Label184", 110}, {"Label183", 120}, {"Label182", 130},
        {"Label193", 140}, {"Label194", 150}, {"Label195", 160}, {"Label196", 170},
    };
    QString previous;
    for (const auto& [name, context] : labels) {
        auto* label = window.findChild<QLabel*>(name);
        QVERIFY2(label != nullptr, name);
        QCOMPARE(label->text(), QStringLiteral("Hilfe - F1"));
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(shownPage(*help), pageOf(context));
    }
}

void HelpTest::oneWindowReusedUntilClosedWithTheMainWindow() {
    auto help = helpBesideBuild();
    help->showContext(110);
    QPointer<QWidget> first = help->window();
    QVERIFY(first != nullptr);
    first->close();
    help->showContext(120);
    QCOMPARE(help->window(), first.data());
    QVERIFY(first->isVisible());
    QCOMPARE(shownPage(*help), QStringLiteral("rc.html"));
    // The engine's register lives in the cache folder, not beside the program.
    const QString collection = HelpWindow::collectionFile();
    QVERIFY(QFileInfo::exists(collection));
    QVERIFY(collection.startsWith(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)));
    QVERIFY(QDir(buildDir()).entryList({"*.qhc"}).isEmpty());

    // What the main window's destruction does.
    Form form;
    BuildModel(form);
    {
        MainWindow window(form);
        window.onDestroy = [&help] { help->closeAll(); };
    }
    QVERIFY(first.isNull());
    QVERIFY(help->window() == nullptr);
    // A later request makes a new one.
    help->showContext(40);
    QCOMPARE(shownPage(*help), QStringLiteral("hauptfenster.html"));
}

void HelpTest::contentsIndexAndSearch() {
    auto help = helpBesideBuild();
    help->showContext(160);
    HelpWindow* w = helpWindow(*help);
    QHelpEngine* engine = w->engine();
    QVERIFY(w->error().isEmpty());

    // Contents: the program, its options, the tab row with its eleven tabs.
    QHelpContentModel* contents = engine->contentModel();
    // Both are read from the help file in the background.
    QTRY_COMPARE_WITH_TIMEOUT(contents->rowCount(), 1, 10000);
    const QModelIndex root = contents->index(0, 0);
    QCOMPARE(contents->data(root, Qt::DisplayRole).toString(), QStringLiteral("kleiner Velkaro"));
    QCOMPARE(contents->rowCount(root), 2);
    const QModelIndex tabs = contents->index(1, 0, root);
    QCOMPARE(contents->rowCount(tabs), 11);
    QCOMPARE(contents->data(contents->index(5, 0, tabs), Qt::DisplayRole).toString(),
             QStringLiteral("RC-Glieder"));

    // Index: the keyword leads to the Pi network.
    QHelpIndexModel* index = engine->indexModel();
    QTRY_VERIFY_WITH_TIMEOUT(index->rowCount() > 30, 10000);
    index->filter(QString::fromUtf8("Betriebsgüte"));
    QVERIFY(index->rowCount() >= 1);
    QCOMPARE(index->data(index->index(0, 0), Qt::DisplayRole).toString(),
             QString::fromUtf8("Betriebsgüte"));

    // Full-text search finds a word that is only in the topics' text.
    QHelpSearchEngine* search = engine->searchEngine();
    QSignalSpy finished(search, &QHelpSearchEngine::searchingFinished);
    w->search(QString::fromUtf8("Betriebsgüte"));
    QVERIFY(finished.wait(20000));
    const int hits = finished.last().at(0).toInt();
    QVERIFY(hits >= 2);
    QStringList pages;
    for (const QHelpSearchResult& r : search->searchResults(0, hits)) pages << r.url().fileName();
    QVERIFY2(pages.contains("pinetz.html"), qPrintable(pages.join(' ')));
    QVERIFY2(pages.contains("tnetz.html"), qPrintable(pages.join(' ')));
    QVERIFY(!pages.contains("dbm.html"));
}

void HelpTest::backAndForward() {
    auto help = helpBesideBuild();
    help->showContext(40);
    help->showContext(110);
    HelpWindow* w = helpWindow(*help);
    auto* back = w->findChild<QPushButton*>("HelpBack");
    auto* forward = w->findChild<QPushButton*>("HelpForward");
    QVERIFY(back->isEnabled());
    QVERIFY(!forward->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(shownPage(*help), QStringLiteral("hauptfenster.html"));
    QVERIFY(forward->isEnabled());
    QTest::mouseClick(forward, Qt::LeftButton);
    QCOMPARE(shownPage(*help), QStringLiteral("lc.html"));
    // The topic text is the page's, through the engine.
    QVERIFY(w->browser()->toPlainText().contains(QStringLiteral("Thomsonsche Schwingungsformel")));
}

void HelpTest::missingHelpFileIsNamedAtStartAndOnF1() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    HelpSystem help(dir.path(), {}, {dir.filePath("share/velkaro")});
    Recorder sink;
    QVERIFY(!help.checkAtStartup(sink));
    const QString expected = QDir::cleanPath(dir.path()) + "/kl_VKOV30_Help.qch";
    QCOMPARE(sink.plain, QStringList{QStringLiteral("Hilfe-Datei nicht gefunden\r") + expected});
    QCOMPARE(help.expectedPath(), expected);
    // F1 then says the same and opens no empty window.
    help.showContext(120);
    QCOMPARE(sink.plain.size(), 2);
    QCOMPARE(sink.plain.last(), sink.plain.first());
    QVERIFY(help.window() == nullptr);
    // A file that is no help file: F1 says why nothing is shown.
    {
        QFile broken(expected);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("kein Hilfe-Archiv");
    }
    HelpSystem damaged(dir.path(), {}, {});
    Recorder told;
    QVERIFY(damaged.checkAtStartup(told));
    damaged.showContext(120);
    QCOMPARE(told.plain.size(), 1);
    QCOMPARE(told.plain.first(), QStringLiteral("Die Hilfe kann nicht angezeigt werden.\r") +
                                     QStringLiteral("Hilfe-Datei nicht lesbar: ") + expected);
    QVERIFY(damaged.window() == nullptr);
    QVERIFY(QFile::remove(expected));
    // Found beside the program: no message.
    QVERIFY(QFile::copy(helpFileBeside(buildDir()), expected));
    HelpSystem found(dir.path(), {}, {});
    Recorder quiet;
    QVERIFY(found.checkAtStartup(quiet));
    QVERIFY(quiet.plain.isEmpty());
}

void HelpTest::installedDataFolderIsFound() {
    // An installed program: bin/velkaro and share/velkaro/kl_VKOV30_Help.qch.
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("usr/bin"));
    QVERIFY(QDir(root.path()).mkpath("usr/share/velkaro"));
    const QString bin = root.filePath("usr/bin");
    const QString installed = root.filePath("usr/share/velkaro/kl_VKOV30_Help.qch");
    QVERIFY(QFile::copy(helpFileBeside(buildDir()), installed));
    QVERIFY(installedHelpFolders(bin).contains(root.filePath("usr/share/velkaro")));
    QCOMPARE(findHelpFile(bin, installedHelpFolders(bin)), installed);
    HelpSystem help(bin, {}, installedHelpFolders(bin));
    Recorder sink;
    QVERIFY(help.checkAtStartup(sink));
    QVERIFY(sink.plain.isEmpty());
    help.showContext(150);
    QCOMPARE(shownPage(help), QStringLiteral("lnetz.html"));
    // One beside the program comes first.
    const QString beside = helpFileBeside(bin);
    QVERIFY(QFile::copy(installed, beside));
    QCOMPARE(findHelpFile(bin, installedHelpFolders(bin)), beside);
}

void HelpTest::diagnosticLog() {
    const QStringList folders{buildDir()};
    {
        QTemporaryDir dir;
        HelpSystem help(dir.path(), {"velkaro"}, folders);
        QVERIFY(!help.log().enabled());
        help.showContext(120);
        QVERIFY(!QFileInfo::exists(dir.filePath("velkaro_hilfe.log")));
    }
    {
        QTemporaryDir dir;
        HelpSystem help(dir.path(), {"velkaro", "-DEBUG"}, folders);
        QVERIFY(help.log().enabled());
        help.showContext(120);
        help.showContext(999);
        const QString log = readAll(dir.filePath("velkaro_hilfe.log"));
        QVERIFY2(log.contains("Start: Programm " + QCoreApplication::applicationFilePath()),
                 qPrintable(log));
        QVERIFY(log.contains("Programmordner " + dir.path()));
        QVERIFY(log.contains("Hilfe-Datei " + QDir::cleanPath(buildDir()) +
                             "/kl_VKOV30_Help.qch (gefunden)"));
        QVERIFY(log.contains(QString::fromUtf8("Qt-Version ") + QString::fromLatin1(qVersion())));
        QVERIFY(log.contains("Gebietsschema " + QLocale::system().name()));
        QVERIFY(log.contains("Dezimaltrennzeichen \"" + QLocale::system().decimalPoint() + "\""));
        QVERIFY(log.contains("Hilfe Kontext 120 -> rc.html: angezeigt"));
        QVERIFY(log.contains("Hilfe Kontext 999 -> -: kein Thema"));
    }
    {
        // "/debug", and the file "debug.debug" without any argument.
        QTemporaryDir dir;
        QVERIFY(HelpSystem(dir.path(), {"velkaro", "/Debug"}, folders).log().enabled());
        QFile flag(dir.filePath("debug.debug"));
        QVERIFY(flag.open(QIODevice::WriteOnly));
        flag.close();
        HelpSystem help(dir.path(), {"velkaro"}, {});
        QVERIFY(help.log().enabled());
        const QString log = readAll(dir.filePath("velkaro_hilfe.log"));
        QVERIFY(log.contains("Hilfe-Datei " + dir.path() + "/kl_VKOV30_Help.qch (nicht gefunden)"));
    }
    {
        // A program folder that cannot take the log: the user's state folder.
        QTemporaryDir state;
        qputenv("XDG_STATE_HOME", state.path().toUtf8());
        HelpSystem help(state.filePath("no/such/folder"), {"velkaro", "-debug"}, folders);
        qunsetenv("XDG_STATE_HOME");
        QCOMPARE(help.log().path(), state.path() + "/velkaro/velkaro_hilfe.log");
        QVERIFY(readAll(help.log().path()).contains("Start: Programm"));
    }
}

// The program links no help engine: its help window comes from the module
// beside it (in the build tree, as in this test's folder) on the first F1.
void HelpTest::programLoadsTheHelpModuleOnFirstRequest() {
    HelpSystem::setViewFactory(nullptr);
    {
        auto help = helpBesideBuild();
        help->showContext(110);
        QWidget* window = help->window();
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        // Not the window class of this test: the module's own.
        QVERIFY(qobject_cast<HelpWindow*>(window) == nullptr);
        QCOMPARE(window->metaObject()->className(), "velkaro::HelpWindow");
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("kleiner Velkaro")));
        help->closeAll();
        QVERIFY(help->window() == nullptr);
    }
    HelpSystem::setViewFactory(&velkaro_create_help_view);
}

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
