#pragma once
// The main window: caption, the page control with its eleven tabs (each tab's
// form is built when the tab is first shown), the three buttons, and the places
// where settings and help hook into the window's life: FormCreate (constructor),
// FormShow (first show), FormClose (close), FormDestroy (destructor).

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "binder.h"
#include "core/form.h"
#include "qtsink.h"

class QPushButton;
class QTabWidget;

namespace velkaro {

inline const char* const kMainWindowCaption = " QQ7ZZZ       kleiner Velkaro V3.0";

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Form& form, QWidget* parent = nullptr);
    ~MainWindow() override;

    Form& form() { return form_; }
    Binder& binder() { return *binder_; }
    QtSink& sink() { return *sink_; }
    QTabWidget* pageControl() const { return pages_; }

    // Builds the tab's form now if it has not been built yet.
    void ensurePage(int index);
    void ensureAllPages();
    bool pageBuilt(int index) const { return built_[static_cast<std::size_t>(index)]; }

    // The dialogs the buttons show. Each is made by its factory when first
    // asked for, so start-up pays only for what the first paint needs.
    using DialogFactory = std::function<QWidget*()>;
    void setInfoDialog(DialogFactory factory) { infoFactory_ = std::move(factory); }
    void setOptionsDialog(DialogFactory factory);
    void setOptionsDialog(QWidget* dialog) {
        setOptionsDialog(dialog ? DialogFactory([dialog] { return dialog; }) : DialogFactory());
    }
    QWidget* infoDialog();
    QWidget* optionsDialog();

    // Hooks of the window's life.
    std::function<void()> onFirstShow;  // FormShow: load settings or defaults
    // Runs onFirstShow and builds the page it chose; call it before show() so
    // that the first frame is the finished window. show() does it otherwise.
    void prepareFirstShow();
    std::function<bool()> onClose;      // FormClose: store settings; false keeps the window open
    std::function<void()> onDestroy;    // FormDestroy: close help windows

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QWidget* dialogOf(QWidget*& dialog, const DialogFactory& factory);
    void showDialog(QWidget* dialog);
    void fitWindow();
    void nameUnitSelectors(QWidget* page);

    Form& form_;
    std::unique_ptr<Binder> binder_;
    std::unique_ptr<QtSink> sink_;
    QTabWidget* pages_ = nullptr;
    QPushButton* options_ = nullptr;
    QPushButton* infoButton_ = nullptr;
    QPushButton* ende_ = nullptr;
    QWidget* info_ = nullptr;
    QWidget* optionsDialog_ = nullptr;
    DialogFactory infoFactory_;
    DialogFactory optionsFactory_;
    std::array<bool, 11> built_{};
    bool shown_ = false;
};

// Puts each widget's accessible name from its buddy label (unless it has one)
// and its hint as accessible description, for screen readers.
void describeForAccessibility(QWidget* root);

// With VELKARO_AUTOMATION_IDS=1, every widget's objectName becomes its
// accessible description, so external test drivers can find controls by name.
void installAutomationIds();

}  // namespace velkaro
