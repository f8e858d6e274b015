#include "mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "calc/window.h"
#include "pictures.h"
#include "tabrows.h"
#include "ui_tabdb.h"
#include "ui_tabdbm.h"
#include "ui_tabdbuv.h"
#include "ui_tabl.h"
#include "ui_tablc.h"
#include "ui_tabpi.h"
#include "ui_tabpit.h"
#include "ui_tabps.h"
#include "ui_tabrc.h"
#include "ui_tabt.h"
#include "ui_tabxlxc.h"

namespace velkaro {

namespace {

// The Designer form of each tab, in page order. The generated classes only hold
// pointers to widgets that the page owns, so they need not outlive setupUi.
template <class Form>
void setUp(QWidget* page) {
    Form ui;
    ui.setupUi(page);
}

using PageBuilder = void (*)(QWidget*);
constexpr std::array<PageBuilder, 11> kPageBuilders = {
    setUp<Ui::TabDb>, setUp<Ui::TabDbm>, setUp<Ui::TabDbuv>, setUp<Ui::TabXlxc>,
    setUp<Ui::TabLc>, setUp<Ui::TabRc>,  setUp<Ui::TabPit>,  setUp<Ui::TabPs>,
    setUp<Ui::TabL>,  setUp<Ui::TabPi>,  setUp<Ui::TabT>,
};

// The page control's own tab bar stays hidden: TabRows measures and draws the
// tabs. Its bar therefore measures nothing; as shipped, it lays out all tabs
// again on every tab added (a quadratic number of caption measurements at
// start-up).
class HiddenTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int) const override { return {1, 1}; }
    QSize minimumTabSizeHint(int) const override { return {1, 1}; }
};

class PageControl : public QTabWidget {
public:
    explicit PageControl(QWidget* parent) : QTabWidget(parent) { setTabBar(new HiddenTabBar(this)); }
};

// The designed client area at 96 dpi; the layouts may make it larger where
// fonts need more room, never smaller.
constexpr int kClientWidth = 711;
constexpr int kClientHeight = 547;

}  // namespace

MainWindow::MainWindow(Form& form, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      form_(form),
      binder_(std::make_unique<Binder>(form)),
      sink_(std::make_unique<QtSink>(*binder_, this)) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QString::fromUtf8(kMainWindowCaption));
    form_.setSink(sink_.get());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client);
    pages_ = new PageControl(client);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    for (const TabSheet& sheet : kTabSheets) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromUtf8(sheet.name));
        pages_->addTab(page, QString::fromUtf8(sheet.caption));
    }

    options_ = new QPushButton(QStringLiteral("Optionen"), client);
    options_->setObjectName(QStringLiteral("Button6"));
    options_->hide();  // shown once there is an Options dialog
    infoButton_ = new QPushButton(QStringLiteral("Info"), client);
    infoButton_->setObjectName(QStringLiteral("Button4"));
    ende_ = new QPushButton(QStringLiteral("Ende"), client);
    ende_->setObjectName(QStringLiteral("ButtonOK"));
    for (QPushButton* b : {options_, infoButton_, ende_}) b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(options_);
    buttons->addWidget(infoButton_);
    buttons->addWidget(ende_);

    // The tabs wrap into rows above the pages instead of scrolling.
    auto* rows = new TabRows(pages_, client);
    auto* tabbed = new QVBoxLayout;
    tabbed->setSpacing(0);
    tabbed->addWidget(rows);
    tabbed->addWidget(pages_, 1);

    auto* layout = new QVBoxLayout(client);
    layout->addLayout(tabbed, 1);
    layout->addLayout(buttons);
    // The size is fixed once the first page stands (prepareFirstShow): laying
    // out the empty pages first would measure everything twice.

    setTabOrder(ende_, infoButton_);
    setTabOrder(infoButton_, options_);
    setTabOrder(options_, pages_);

    connect(ende_, &QPushButton::clicked, this, &QWidget::close);
    connect(infoButton_, &QPushButton::clicked, this, [this] { showDialog(infoDialog()); });
    connect(options_, &QPushButton::clicked, this, [this] { showDialog(optionsDialog()); });
    connect(binder_.get(), &Binder::pageShown, this, [this](QWidget* control, int index) {
        if (control == pages_) ensurePage(index);
    });
    binder_->bind(this);

    // Short hints are off until the options switch them on.
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    if (onDestroy) onDestroy();
    form_.setSink(nullptr);
}

void MainWindow::setOptionsDialog(DialogFactory factory) {
    optionsFactory_ = std::move(factory);
    optionsDialog_ = nullptr;
    options_->setVisible(static_cast<bool>(optionsFactory_));
}

QWidget* MainWindow::dialogOf(QWidget*& dialog, const DialogFactory& factory) {
    if (dialog == nullptr && factory) dialog = factory();
    return dialog;
}

QWidget* MainWindow::infoDialog() { return dialogOf(info_, infoFactory_); }

QWidget* MainWindow::optionsDialog() { return dialogOf(optionsDialog_, optionsFactory_); }

void MainWindow::showDialog(QWidget* dialog) {
    if (dialog == nullptr) return;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void MainWindow::ensurePage(int index) {
    if (index < 0 || index >= static_cast<int>(built_.size()) || pageBuilt(index)) return;
    built_[static_cast<std::size_t>(index)] = true;
    QWidget* page = pages_->widget(index);
    kPageBuilders[static_cast<std::size_t>(index)](page);
    showPictures(page);
    showNotes(page);
    describeForAccessibility(page);
    binder_->bind(page);
    nameUnitSelectors(page);
    fitWindow();
}

void MainWindow::nameUnitSelectors(QWidget* page) {
    // A unit list is announced as the unit of the value beside it.
    for (QComboBox* combo : page->findChildren<QComboBox*>()) {
        if (!combo->accessibleName().isEmpty()) continue;
        const FieldSpec* field = form_.fieldOfSelector(combo->objectName().toStdString());
        QWidget* edit = field ? binder_->widget(field->edit) : nullptr;
        if (edit != nullptr && !edit->accessibleName().isEmpty()) {
            combo->setAccessibleName(edit->accessibleName() + QStringLiteral(", Einheit"));
        }
    }
}

void MainWindow::fitWindow() {
    // The designed size, unless the fonts need more; never resizable.
    centralWidget()->layout()->activate();
    const QSize wanted =
        centralWidget()->minimumSizeHint().expandedTo(QSize(kClientWidth, kClientHeight));
    if (size() != wanted || minimumSize() != wanted || maximumSize() != wanted)
        setFixedSize(wanted);
}

void MainWindow::ensureAllPages() {
    for (int i = 0; i < static_cast<int>(built_.size()); ++i) ensurePage(i);
}

void MainWindow::prepareFirstShow() {
    if (shown_) return;
    shown_ = true;
    binder_->run([this] {
        if (onFirstShow) form_.guarded(onFirstShow);
    });
    ensurePage(pages_->currentIndex());
    fitWindow();
}

void MainWindow::showEvent(QShowEvent* event) {
    prepareFirstShow();
    QMainWindow::showEvent(event);
    // Showing asks the layouts again, and a layout that changes size asks its
    // parent's layout through a posted request, one level per turn of the
    // event loop. Settled before the window is on the screen, the first frame
    // is the final one: no relayout and repaint of the page after it.
    for (int level = 0; level < 16; ++level)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (onClose && !onClose()) {
        event->ignore();
        return;
    }
    event->accept();
    // The dialogs end with the application, even while one of them is open.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !form_.state.ShowHint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void describeForAccessibility(QWidget* root) {
    for (QLabel* label : root->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (buddy != nullptr && buddy->accessibleName().isEmpty()) {
            buddy->setAccessibleName(label->text().remove(QLatin1Char('&')).simplified());
        }
    }
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (w->accessibleDescription().isEmpty() && !w->toolTip().isEmpty()) {
            w->setAccessibleDescription(w->toolTip());
        }
    }
}

namespace {

class AutomationIds : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() == QEvent::Polish || event->type() == QEvent::Show) &&
            watched->isWidgetType() && !watched->objectName().isEmpty()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->accessibleDescription() != w->objectName()) {
                w->setAccessibleDescription(w->objectName());
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void installAutomationIds() {
    if (qEnvironmentVariable("VELKARO_AUTOMATION_IDS") != QLatin1String("1")) return;
    qApp->installEventFilter(new AutomationIds(qApp));
}

}  // namespace velkaro
