#pragma once
// The one generic binder between Qt widgets and the form model. Widgets whose
// objectName is a control name are paired with that control; user events become
// model actions, and after each action the widgets are repainted from the model.
// The binder knows no calculator.
//
// What it adds to the widgets, the same for every tab and dialog:
// - Radio buttons of one model group are one Tab stop (the checked one); the
//   arrow keys move the choice within the group and click it in the model once.
//   Screen readers hear radio buttons, while the model alone keeps the group
//   exclusive.
// - A "." or "," that reaches an edit by typing, pasting or dropping becomes the
//   decimal separator of the locale.
// - A unit list takes the mouse wheel only while it has the keyboard focus.
// - Text typed and not yet entered is drawn in italics.
// - Read-only results, model font colours and greyed values take their colours
//   from the palette and follow it when it changes.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <string>
#include <unordered_map>

#include "core/form.h"

class QAbstractButton;
class QButtonGroup;
class QKeyEvent;
class QWidget;
class QLineEdit;

namespace velkaro {

class Binder : public QObject {
    Q_OBJECT
public:
    explicit Binder(Form& form, QObject* parent = nullptr);

    // Pairs every descendant of `root` (and root itself) whose objectName is a
    // control of the model. Returns the mismatches found (a widget of the wrong
    // type, or a control bound twice), empty when all is well.
    QStringList bind(QWidget* root);

    // Widgets := model, for every control that changed since the last repaint.
    void repaint();

    // Runs one model action as one event, then repaints and carries out a posted
    // focus move.
    void run(const std::function<void()>& action);

    // A focus move requested by the model; done after the current action.
    void postFocusPrevious(const std::string& control);

    QWidget* widget(const std::string& name) const;
    std::size_t boundCount() const { return bindings_.size(); }

signals:
    // A page control changed its page (a lazily built page may need building).
    void pageShown(QWidget* pageControl, int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding {
        QPointer<QWidget> widget;
        std::string name;
        std::uint64_t seen = 0;
        bool entered = false;       // Enter pressed since the user last typed here
        bool pendingShown = false;  // drawn in italics
    };

    void paint(Binding& b);
    void paintLook(Binding& b);
    bool isPending(const Binding& b) const;
    void connectSignals(QWidget* w, const std::string& name);
    void userEdited(QLineEdit* edit, const std::string& name, const QString& text);
    bool handleKey(QLineEdit* edit, const std::string& name, QEvent* event);
    bool handleRadioKey(QAbstractButton* radio, QKeyEvent* key);
    void joinGroup(QAbstractButton* radio, const std::string& group);
    void updateTabStop(QButtonGroup* group);
    Binding* bindingOf(QObject* o);
    void forceRepaint(const std::string& name);

    Form& form_;
    std::unordered_map<std::string, Binding> bindings_;
    std::unordered_map<QObject*, std::string> names_;
    std::unordered_map<std::string, QButtonGroup*> groups_;
    std::string pendingFocus_;
};

}  // namespace velkaro
