#include "helpwindow.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTranslator>
#include <QVBoxLayout>

#include "calc/help.h"

namespace velkaro {

namespace {

// Qt's texts of the search widgets in German, when the user reads German (as
// for the rest of Qt's texts); loaded with the first help window only.
void installHelpTranslations() {
    static bool tried = false;
    if (tried) return;
    tried = true;
    const QStringList languages = QLocale::system().uiLanguages();
    if (languages.isEmpty() || QLocale(languages.front()).language() != QLocale::German) return;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qt_help_de"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

// What identifies one build of the help file: a changed file is registered anew.
QString stampOf(const QString& file) {
    const QFileInfo info(file);
    return info.absoluteFilePath() + QLatin1Char('|') + QString::number(info.size()) +
           QLatin1Char('|') + QString::number(info.lastModified().toMSecsSinceEpoch());
}

const QString kStampKey = QStringLiteral("velkaro/stamp");

}  // namespace

// ---- the topic view ---------------------------------------------------------

HelpBrowser::HelpBrowser(QHelpEngine* engine, QWidget* parent)
    : QTextBrowser(parent), engine_(engine) {
    setOpenExternalLinks(true);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    // Pages, their style sheet and pictures (already resolved against the page).
    if (name.scheme() == QLatin1String("qthelp")) return engine_->fileData(name);
    return QTextBrowser::loadResource(type, name);
}

// ---- the window -------------------------------------------------------------

QString HelpWindow::collectionFile() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return cache + QStringLiteral("/kl_VKOV30_Help.qhc");
}

QUrl HelpWindow::pageUrl(const QString& page) {
    return QUrl(QStringLiteral("qthelp://%1/%2/%3")
                    .arg(QString::fromUtf8(kHelpNamespace), QString::fromUtf8(kHelpFolder), page));
}

HelpWindow::HelpWindow(const QString& helpFile, QWidget* parent) : QWidget(parent, Qt::Window) {
    installHelpTranslations();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("kleiner Velkaro - Hilfe"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    engine_ = new QHelpEngine(collectionFile(), this);
    ready_ = setUpEngine(helpFile);

    browser_ = new HelpBrowser(engine_, this);
    browser_->setObjectName(QStringLiteral("HelpTopic"));
    back_ = new QPushButton(QStringLiteral("< Zurück"), this);
    back_->setObjectName(QStringLiteral("HelpBack"));
    forward_ = new QPushButton(QStringLiteral("Vorwärts >"), this);
    forward_->setObjectName(QStringLiteral("HelpForward"));
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);

    // Contents.
    QHelpContentWidget* contents = engine_->contentWidget();
    contents->setObjectName(QStringLiteral("HelpContents"));
    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::showUrl);
    connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, this, [this, contents] {
        contents->expandAll();
        const QModelIndex item = contents->indexOf(browser_->source());
        if (item.isValid()) contents->setCurrentIndex(item);
    });

    // Keyword index with its filter field.
    auto* indexPage = new QWidget;
    indexFilter_ = new QLineEdit(indexPage);
    indexFilter_->setObjectName(QStringLiteral("HelpIndexFilter"));
    indexFilter_->setClearButtonEnabled(true);
    auto* indexLabel = new QLabel(QStringLiteral("&Stichwort:"), indexPage);
    indexLabel->setBuddy(indexFilter_);
    QHelpIndexWidget* index = engine_->indexWidget();
    index->setObjectName(QStringLiteral("HelpIndex"));
    connect(indexFilter_, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(indexFilter_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link, const QString&) { showUrl(link.url); });
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links, const QString&) {
                if (!links.isEmpty()) showUrl(links.front().url);
            });
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(indexLabel);
    indexLayout->addWidget(indexFilter_);
    indexLayout->addWidget(index, 1);

    // Full-text search.
    QHelpSearchEngine* searchEngine = engine_->searchEngine();
    auto* searchPage = new QWidget;
    QHelpSearchQueryWidget* query = searchEngine->queryWidget();
    query->setObjectName(QStringLiteral("HelpSearchQuery"));
    if (auto* input = query->findChild<QLineEdit*>()) {
        input->setObjectName(QStringLiteral("HelpSearchInput"));
        input->setAccessibleName(QStringLiteral("Volltextsuche"));
    }
    QHelpSearchResultWidget* results = searchEngine->resultWidget();
    results->setObjectName(QStringLiteral("HelpSearchResults"));
    connect(query, &QHelpSearchQueryWidget::search, this, &HelpWindow::runSearch);
    connect(results, &QHelpSearchResultWidget::requestShowLink, this, &HelpWindow::showUrl);
    connect(searchEngine, &QHelpSearchEngine::indexingStarted, this, [this] { indexing_ = true; });
    connect(searchEngine, &QHelpSearchEngine::indexingFinished, this, [this] {
        indexing_ = false;
        if (searchPending_) runSearch();
    });
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(query);
    searchLayout->addWidget(results, 1);

    sidebar_ = new QTabWidget(this);
    sidebar_->setObjectName(QStringLiteral("HelpSidebar"));
    sidebar_->addTab(contents, QStringLiteral("Inhalt"));
    sidebar_->addTab(indexPage, QStringLiteral("Index"));
    sidebar_->addTab(searchPage, QStringLiteral("Suche"));

    auto* topicPane = new QWidget;
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch(1);
    auto* topicLayout = new QVBoxLayout(topicPane);
    topicLayout->setContentsMargins(0, 0, 0, 0);
    topicLayout->addLayout(buttons);
    topicLayout->addWidget(browser_, 1);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(sidebar_);
    splitter->addWidget(topicPane);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    resize(920, 640);

    // The full-text index is built in the background, anew for a newly
    // registered file, otherwise only where it is missing.
    if (ready_ && reindex_) {
        searchEngine->reindexDocumentation();
    } else if (ready_) {
        searchEngine->scheduleIndexDocumentation();
    }
}

bool HelpWindow::setUpEngine(const QString& helpFile) {
    QDir().mkpath(QFileInfo(collectionFile()).absolutePath());
    engine_->setReadOnly(false);
    if (!engine_->setupData()) {
        error_ = engine_->error();
        return false;
    }
    const QString ns = QHelpEngineCore::namespaceName(helpFile);
    if (ns.isEmpty()) {
        error_ = QStringLiteral("Hilfe-Datei nicht lesbar: ") + helpFile;
        return false;
    }
    // The register follows the help file this copy of the program found: another
    // copy's file, or a rebuilt one, replaces what is registered.
    const QString stamp = stampOf(helpFile);
    const bool registered = engine_->registeredDocumentations().contains(ns);
    if (registered && engine_->customValue(kStampKey).toString() != stamp) {
        engine_->unregisterDocumentation(ns);
    }
    if (!engine_->registeredDocumentations().contains(ns)) {
        if (!engine_->registerDocumentation(helpFile)) {
            error_ = engine_->error();
            return false;
        }
        engine_->setCustomValue(kStampKey, stamp);
        reindex_ = true;
    }
    return engine_->setupData();
}

bool HelpWindow::showPage(const QString& page) {
    // Without this copy's help file the register may still hold another copy's:
    // nothing is shown from that.
    if (!ready_) return false;
    const QUrl url = pageUrl(page);
    if (engine_->findFile(url).isEmpty()) {
        if (error_.isEmpty()) error_ = QStringLiteral("Seite fehlt: ") + url.toString();
        return false;
    }
    showUrl(url);
    showNormal();
    raise();
    activateWindow();
    return true;
}

void HelpWindow::showUrl(const QUrl& url) {
    browser_->setSource(url);
    const QModelIndex item = engine_->contentWidget()->indexOf(url);
    if (item.isValid()) engine_->contentWidget()->setCurrentIndex(item);
}

void HelpWindow::search(const QString& text) {
    engine_->searchEngine()->queryWidget()->setSearchInput(text);
    runSearch();
}

void HelpWindow::runSearch() {
    QHelpSearchEngine* searchEngine = engine_->searchEngine();
    const QString input = searchEngine->queryWidget()->searchInput();
    // Searching before the index stands would find nothing: run it afterwards.
    searchPending_ = indexing_;
    if (!indexing_) searchEngine->search(input);
}

}  // namespace velkaro

velkaro::HelpView* velkaro_create_help_view(const QString& helpFile) {
    return new velkaro::HelpWindow(helpFile);
}
