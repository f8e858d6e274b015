#pragma once
// The one generic binder between Qt widgets and the form model. Widgets whose
// objectName is a control name are paired with that control; user events become
// model actions, and after each action the widgets are repainted from the model.
// The binder knows no calculator.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <string>
#include <unordered_map>

#include "core/form.h"

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
    };

    void paint(Binding& b);
    void connectSignals(QWidget* w, const std::string& name);
    bool handleKey(QLineEdit* edit, const std::string& name, QEvent* event);
    Binding* bindingOf(QObject* o);
    void forceRepaint(const std::string& name);

    Form& form_;
    std::unordered_map<std::string, Binding> bindings_;
    std::unordered_map<QObject*, std::string> names_;
    std::string pendingFocus_;
};

}  // namespace velkaro
