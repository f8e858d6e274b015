#include "binder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <utility>

namespace velkaro {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

bool fitsKind(QWidget* w, ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit: return qobject_cast<QLineEdit*>(w) != nullptr;
        case ControlKind::Selector: return qobject_cast<QComboBox*>(w) != nullptr;
        case ControlKind::Radio: return qobject_cast<QRadioButton*>(w) != nullptr;
        case ControlKind::Check: return qobject_cast<QCheckBox*>(w) != nullptr;
        case ControlKind::Picture: return true;  // any widget that draws the picture
        case ControlKind::Label: return qobject_cast<QLabel*>(w) != nullptr;
        case ControlKind::Pages: return qobject_cast<QTabWidget*>(w) != nullptr;
    }
    return false;
}

// Focus that moves because a message box or a popup came and went is not the
// user entering or leaving a control.
bool isUserFocus(QFocusEvent* e) {
    switch (e->reason()) {
        case Qt::ActiveWindowFocusReason:
        case Qt::PopupFocusReason:
        case Qt::MenuBarFocusReason: return false;
        default: return true;
    }
}

QColor fontColourOf(std::int32_t c) {
    const auto v = static_cast<std::uint32_t>(c);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

void paintFontColour(QWidget* w, std::int32_t colour) {
    QPalette pal = w->palette();
    const QColor wanted = colour == colour::kWindowText
                              ? QApplication::palette(w).color(QPalette::Text)
                              : fontColourOf(colour);
    if (pal.color(QPalette::Text) == wanted) return;
    pal.setColor(QPalette::Text, wanted);
    pal.setColor(QPalette::ButtonText, wanted);
    w->setPalette(pal);
}

}  // namespace

Binder::Binder(Form& form, QObject* parent) : QObject(parent), form_(form) {}

QStringList Binder::bind(QWidget* root) {
    QStringList problems;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        const std::string name = w->objectName().toStdString();
        if (name.empty() || !form_.has(name)) continue;
        const Control& c = form_.at(name);
        if (!fitsKind(w, c.kind)) {
            problems << QStringLiteral("%1: widget of the wrong type (%2)")
                            .arg(qs(name), QString::fromLatin1(w->metaObject()->className()));
            continue;
        }
        if (auto it = bindings_.find(name); it != bindings_.end() && it->second.widget) {
            if (it->second.widget != w) problems << QStringLiteral("%1: bound twice").arg(qs(name));
            continue;
        }
        bindings_[name] = Binding{w, name, 0};
        names_[w] = name;
        if (auto* combo = qobject_cast<QComboBox*>(w); combo && c.units) {
            QSignalBlocker block(combo);
            combo->clear();
            for (const auto& item : c.units->items) combo->addItem(qs(item));
        }
        if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            radio->setAutoExclusive(false);  // the model keeps its groups exclusive
        }
        w->installEventFilter(this);
        connectSignals(w, name);
        paint(bindings_[name]);
    }
    return problems;
}

void Binder::connectSignals(QWidget* w, const std::string& name) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        connect(edit, &QLineEdit::textEdited, this,
                [this, name](const QString& text) { form_.userEdit(name, text.toStdString()); });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        connect(combo, &QComboBox::activated, this, [this, name](int index) {
            run([this, name, index] { form_.chooseItem(name, index); });
        });
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        connect(button, &QAbstractButton::clicked, this, [this, name] {
            run([this, name] { form_.click(name); });
            forceRepaint(name);  // Qt toggled the button itself; the model decides
        });
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        connect(tabs, &QTabWidget::currentChanged, this, [this, name, tabs](int index) {
            form_.choosePage(name, index);
            emit pageShown(tabs, index);
        });
    }
}

QWidget* Binder::widget(const std::string& name) const {
    const auto it = bindings_.find(name);
    return it == bindings_.end() ? nullptr : it->second.widget.data();
}

Binder::Binding* Binder::bindingOf(QObject* o) {
    const auto it = names_.find(o);
    if (it == names_.end()) return nullptr;
    const auto b = bindings_.find(it->second);
    return b == bindings_.end() ? nullptr : &b->second;
}

void Binder::forceRepaint(const std::string& name) {
    if (auto it = bindings_.find(name); it != bindings_.end()) {
        it->second.seen = 0;
        paint(it->second);
    }
}

void Binder::repaint() {
    for (auto& [name, b] : bindings_) {
        if (b.widget && b.seen != form_.at(name).revision) paint(b);
    }
}

void Binder::paint(Binding& b) {
    QWidget* w = b.widget;
    if (w == nullptr) return;
    const Control& c = form_.at(b.name);
    b.seen = c.revision;
    if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);
    switch (c.kind) {
        case ControlKind::Edit: {
            auto* edit = static_cast<QLineEdit*>(w);
            const QString text = qs(c.text);
            if (edit->text() != text) edit->setText(text);
            edit->setReadOnly(c.readOnly);
            paintFontColour(edit, c.fontColour);
            break;
        }
        case ControlKind::Selector: {
            auto* combo = static_cast<QComboBox*>(w);
            QSignalBlocker block(combo);
            const int index = (c.index >= 0 && c.index < combo->count()) ? c.index : -1;
            if (combo->currentIndex() != index) combo->setCurrentIndex(index);
            paintFontColour(combo, c.fontColour);
            break;
        }
        case ControlKind::Radio:
        case ControlKind::Check: {
            auto* button = static_cast<QAbstractButton*>(w);
            QSignalBlocker block(button);
            if (button->isChecked() != c.checked) button->setChecked(c.checked);
            break;
        }
        case ControlKind::Picture:
            if (w->isHidden() == c.visible) w->setVisible(c.visible);
            break;
        case ControlKind::Label: {
            auto* label = static_cast<QLabel*>(w);
            if (label->text() != qs(c.text)) label->setText(qs(c.text));
            break;
        }
        case ControlKind::Pages: {
            auto* tabs = static_cast<QTabWidget*>(w);
            if (c.index >= 0 && c.index < tabs->count() && tabs->currentIndex() != c.index) {
                tabs->setCurrentIndex(c.index);
            }
            break;
        }
    }
}

void Binder::run(const std::function<void()>& action) {
    action();
    repaint();
    if (!pendingFocus_.empty()) {
        const std::string from = std::exchange(pendingFocus_, {});
        QTimer::singleShot(0, this, [this, from] {
            QWidget* w = widget(from);
            if (w == nullptr) return;
            // The previous control in the tab order that can take the focus.
            for (QWidget* p = w->previousInFocusChain(); p != nullptr && p != w;
                 p = p->previousInFocusChain()) {
                if ((p->focusPolicy() & Qt::TabFocus) && p->isEnabled() && p->isVisible()) {
                    p->setFocus(Qt::BacktabFocusReason);
                    break;
                }
            }
        });
    }
}

void Binder::postFocusPrevious(const std::string& control) { pendingFocus_ = control; }

bool Binder::handleKey(QLineEdit* edit, const std::string& name, QEvent* event) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        run([this, name] { form_.pressEnter(name); });
        return true;
    }
    const QString typed = key->text();
    if (typed.size() == 1 && typed.at(0).unicode() < 0x80 && !edit->isReadOnly()) {
        const char ch = static_cast<char>(typed.at(0).unicode());
        const char mapped = form_.mapDecimalKey(ch);
        if (mapped != ch) {
            edit->insert(QString(QChar::fromLatin1(mapped)));
            form_.userEdit(name, edit->text().toStdString());
            return true;
        }
    }
    return false;
}

bool Binder::eventFilter(QObject* watched, QEvent* event) {
    Binding* b = bindingOf(watched);
    if (b == nullptr || b->widget == nullptr) return QObject::eventFilter(watched, event);
    const std::string name = b->name;
    switch (event->type()) {
        case QEvent::KeyPress:
            if (auto* edit = qobject_cast<QLineEdit*>(watched)) return handleKey(edit, name, event);
            break;
        case QEvent::FocusIn:
            if (isUserFocus(static_cast<QFocusEvent*>(event)))
                run([this, name] { form_.enter(name); });
            break;
        case QEvent::FocusOut:
            if (isUserFocus(static_cast<QFocusEvent*>(event)))
                run([this, name] { form_.leave(name); });
            break;
        case QEvent::MouseButtonPress:
            if (qobject_cast<QLineEdit*>(watched) || qobject_cast<QLabel*>(watched) ||
                form_.at(name).kind == ControlKind::Picture) {
                run([this, name] { form_.click(name); });
            }
            break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace velkaro
