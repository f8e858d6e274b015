#pragma once
// The help window: contents, keyword index and full-text search on the left,
// the topic with back and forward on the right. It reads the compiled help
// through Qt's help engine, whose collection (the register of help files and
// the search index) lives in the user's cache folder.

#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

#include "helpview.h"

class QHelpEngine;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace velkaro {

// Shows pages of the help file; links inside it stay in the help file.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(QHelpEngine* engine, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QHelpEngine* engine_;
};

class HelpWindow : public QWidget, public HelpView {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& helpFile, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    bool showPage(const QString& page) override;
    QString error() const override { return error_; }

    // The collection file: where the engine keeps its register and index.
    static QString collectionFile();
    static QUrl pageUrl(const QString& page);

    QHelpEngine* engine() const { return engine_; }
    HelpBrowser* browser() const { return browser_; }
    QTabWidget* sidebar() const { return sidebar_; }
    // Starts a full-text search as the search field would.
    void search(const QString& text);

private:
    bool setUpEngine(const QString& helpFile);
    void showUrl(const QUrl& url);
    void runSearch();

    QHelpEngine* engine_ = nullptr;
    HelpBrowser* browser_ = nullptr;
    QTabWidget* sidebar_ = nullptr;
    QLineEdit* indexFilter_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
    QString error_;
    bool ready_ = false;
    bool reindex_ = false;
    bool indexing_ = false;
    bool searchPending_ = false;
};

}  // namespace velkaro

// The module's entry point (see helpview.h).
extern "C" Q_DECL_EXPORT velkaro::HelpView* velkaro_create_help_view(const QString& helpFile);
