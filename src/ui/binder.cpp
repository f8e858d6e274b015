#include "binder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QtMath>
#include <QHash>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "look.h"
#include "unitbox.h"

namespace velkaro {

namespace {

// A unit list is as wide as its widest item, as Qt would make it, but
// measured once per list, font and style instead of by every combo box on
// every show (and again in a timer after the first frame). The box's own size
// hint is the one Qt gives a box sized by its minimum contents length of zero
// without icons; the list's width is its minimum width.
void fitToUnits(QComboBox* combo, const UnitList& units) {
    struct Fit {
        QSize hint;
        int width = 0;
    };
    static QHash<QString, Fit> fits;
    const QString key = QStringLiteral("%1|%2|%3")
                            .arg(reinterpret_cast<quintptr>(&units))
                            .arg(combo->font().key(), combo->style()->name());
    auto it = fits.find(key);
    if (it == fits.end()) {
        const QFontMetrics metrics = combo->fontMetrics();
        // The lists share most of their letters; each is measured once per font.
        static QString measuredFont;
        static QHash<char16_t, int> advances;
        if (measuredFont != combo->font().key()) {
            measuredFont = combo->font().key();
            advances.clear();
        }
        int widest = 0;
        // Advances add up as laid-out text does for these Latin captions,
        // without shaping every item.
        for (const auto& item : units.items) {
            int width = 0;
            for (const QChar c : QString::fromStdString(item)) {
                auto advance = advances.find(c.unicode());
                if (advance == advances.end())
                    advance = advances.insert(c.unicode(), metrics.horizontalAdvance(c));
                width += *advance;
            }
            widest = std::max(widest, width);
        }
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        QStyle* style = combo->style();
        const QSize contents(widest, std::max(14, metrics.height()));
        const QSize empty(0, std::max(qCeil(QFontMetricsF(metrics).height()), 14) + 2);
        it = fits.insert(key, {style->sizeFromContents(QStyle::CT_ComboBox, &option, empty, combo),
                               style->sizeFromContents(QStyle::CT_ComboBox, &option, contents, combo)
                                   .width()});
    }
    if (auto* box = dynamic_cast<UnitBox*>(combo)) {
        box->setFittedSize(it->hint);
    } else {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(0);
        combo->setIconSize(QSize(0, 0));
    }
    combo->setMinimumWidth(it->width);
}

}  // namespace

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

// The text after an edit by the user, with every "." and "," that arrived in
// this edit turned into the locale's separator. What arrived is the part in
// which `after` differs from `before`; typed keys come mapped already, so this
// catches pasted, dropped and composed text. Returns `after` when nothing needs
// mapping.
QString mapArrivedSeparators(const QString& before, const QString& after, QChar separator) {
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head]) ++head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    QString mapped = after;
    for (qsizetype i = head; i < after.size() - tail; ++i) {
        if (mapped[i] == QLatin1Char('.') || mapped[i] == QLatin1Char(',')) mapped[i] = separator;
    }
    return mapped;
}

// The buttons of a group in the window's tab order.
std::vector<QAbstractButton*> inTabOrder(const QButtonGroup* group) {
    std::vector<QAbstractButton*> buttons;
    for (QAbstractButton* b : group->buttons()) buttons.push_back(b);
    if (buttons.size() < 2) return buttons;
    std::unordered_map<const QWidget*, int> place;
    QWidget* start = buttons.front()->window();
    QWidget* w = start;
    int n = 0;
    do {
        place[w] = n++;
        w = w->nextInFocusChain();
    } while (w != nullptr && w != start);
    std::stable_sort(buttons.begin(), buttons.end(),
                     [&place](const QWidget* a, const QWidget* b) { return place[a] < place[b]; });
    return buttons;
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
            fitToUnits(combo, *c.units);
        }
        if (auto* radio = qobject_cast<QRadioButton*>(w)) joinGroup(radio, c.group);
        // The wheel must not give a unit list the focus; it then would take
        // the wheel while the pointer merely passes over it.
        if (auto* combo = qobject_cast<QComboBox*>(w)) combo->setFocusPolicy(Qt::StrongFocus);
        w->installEventFilter(this);
        connectSignals(w, name);
        paint(bindings_[name]);
    }
    return problems;
}

void Binder::connectSignals(QWidget* w, const std::string& name) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        connect(edit, &QLineEdit::textEdited, this,
                [this, edit, name](const QString& text) { userEdited(edit, name, text); });
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
            // The widget shows this page already. Painting the model's change
            // back later could undo a newer change: while the next page comes
            // up, the focus enters it and a repaint runs before the widget
            // reports that page.
            if (Binding* b = bindingOf(tabs)) b->seen = form_.at(name).revision;
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
        if (!b.widget) continue;
        if (b.seen != form_.at(name).revision) {
            paint(b);
        } else if (b.pendingShown && !isPending(b)) {
            // Written by the program with the very text typed: no change of
            // text, but the typing has ended.
            paintLook(b);
        }
    }
}

bool Binder::isPending(const Binding& b) const {
    const Control& c = form_.at(b.name);
    return c.kind == ControlKind::Edit && c.typing && !b.entered && c.text != c.undoText;
}

void Binder::paintLook(Binding& b) {
    QWidget* w = b.widget;
    if (w == nullptr) return;
    const Control& c = form_.at(b.name);
    auto* edit = qobject_cast<QLineEdit*>(w);
    // Where each kind of widget draws its text, and on what.
    QPalette::ColorRole textRole = QPalette::WindowText;
    QPalette::ColorRole background = QPalette::Window;
    switch (c.kind) {
        case ControlKind::Edit:
        case ControlKind::Selector:
            textRole = QPalette::Text;
            background = QPalette::Base;
            break;
        case ControlKind::Label:
        case ControlKind::Radio:
        case ControlKind::Check: break;
        case ControlKind::Picture:
        case ControlKind::Pages: return;
    }

    // Only the roles set here are the widget's own; all others it inherits, so
    // a widget that needs none of them keeps the palette it had.
    const QPalette natural = QApplication::palette(w);
    const QPalette& current = w->palette();
    bool same = true;
    QPalette own;
    for (const QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        QPalette inGroup = natural;
        inGroup.setCurrentColorGroup(g);
        const auto want = [&](QPalette::ColorRole role, const QColor& colour) {
            same = same && current.color(g, role) == colour;
            if (colour != natural.color(g, role)) own.setColor(g, role, colour);
        };
        const QColor text = look::fontColour(c.fontColour, inGroup, textRole, background);
        want(textRole, text);
        if (c.kind == ControlKind::Selector) want(QPalette::ButtonText, text);
        if (edit != nullptr) {
            if (!c.readOnly) {
                want(QPalette::Base, natural.color(g, QPalette::Base));
            } else if (edit->hasFrame()) {
                want(QPalette::Base, look::readOnlyBase(inGroup));
            } else {
                // A frameless read-only edit stands in for a label (a result's unit).
                want(QPalette::Base, QColor(Qt::transparent));
            }
        }
    }
    if (!same) w->setPalette(own);

    if (edit != nullptr) {
        b.pendingShown = isPending(b);
        if (edit->font().italic() != b.pendingShown) {
            QFont font = edit->font();
            font.setItalic(b.pendingShown);
            edit->setFont(font);
        }
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
            paintLook(b);
            break;
        }
        case ControlKind::Selector: {
            auto* combo = static_cast<QComboBox*>(w);
            QSignalBlocker block(combo);
            const int index = (c.index >= 0 && c.index < combo->count()) ? c.index : -1;
            if (combo->currentIndex() != index) combo->setCurrentIndex(index);
            paintLook(b);
            break;
        }
        case ControlKind::Radio:
        case ControlKind::Check: {
            auto* button = static_cast<QAbstractButton*>(w);
            QSignalBlocker block(button);
            if (button->isChecked() != c.checked) button->setChecked(c.checked);
            if (QButtonGroup* group = button->group()) updateTabStop(group);
            paintLook(b);
            break;
        }
        case ControlKind::Picture:
            if (w->isHidden() == c.visible) w->setVisible(c.visible);
            break;
        case ControlKind::Label: {
            auto* label = static_cast<QLabel*>(w);
            if (label->text() != qs(c.text)) label->setText(qs(c.text));
            paintLook(b);
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

void Binder::userEdited(QLineEdit* edit, const std::string& name, const QString& text) {
    const QString mapped =
        mapArrivedSeparators(QString::fromStdString(form_.text(name)), text,
                             QChar::fromLatin1(form_.state.LocaleDecimalSeparator));
    if (mapped != text) {
        // Same length: the cursor stays where the insertion left it.
        const int cursor = edit->cursorPosition();
        edit->setText(mapped);
        edit->setCursorPosition(cursor);
    }
    form_.userEdit(name, mapped.toStdString());
    if (auto it = bindings_.find(name); it != bindings_.end()) {
        it->second.entered = false;
        paintLook(it->second);
    }
}

bool Binder::handleKey(QLineEdit* edit, const std::string& name, QEvent* event) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (auto it = bindings_.find(name); it != bindings_.end()) it->second.entered = true;
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

void Binder::joinGroup(QAbstractButton* radio, const std::string& name) {
    // A group that is not exclusive leaves the checking to the model, and lets
    // the buttons stay auto-exclusive, which is what makes Qt present them as
    // radio buttons to assistive technology.
    QButtonGroup*& group = groups_[name];
    if (group == nullptr) {
        group = new QButtonGroup(this);
        group->setExclusive(false);
    }
    radio->setAutoExclusive(true);
    group->addButton(radio);
    updateTabStop(group);
}

void Binder::updateTabStop(QButtonGroup* group) {
    // The checked button is the group's Tab stop; with none checked (or the
    // checked one disabled), the first one that can take the focus.
    const std::vector<QAbstractButton*> buttons = inTabOrder(group);
    QAbstractButton* stop = nullptr;
    for (QAbstractButton* b : buttons) {
        if (b->isChecked() && b->isEnabled()) stop = b;
    }
    for (QAbstractButton* b : buttons) {
        if (stop == nullptr && b->isEnabled()) stop = b;
    }
    for (QAbstractButton* b : buttons) {
        const Qt::FocusPolicy policy = b == stop ? Qt::StrongFocus : Qt::ClickFocus;
        if (b->focusPolicy() != policy) b->setFocusPolicy(policy);
    }
}

bool Binder::handleRadioKey(QAbstractButton* radio, QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const int forward = radio->isRightToLeft() ? -1 : 1;
    int step = 0;
    switch (key->key()) {
        case Qt::Key_Up: step = -1; break;
        case Qt::Key_Down: step = 1; break;
        case Qt::Key_Left: step = -forward; break;
        case Qt::Key_Right: step = forward; break;
        default: return false;
    }
    QButtonGroup* group = radio->group();
    if (group == nullptr) return false;
    // The next button that can be chosen, round the group as on the desktop.
    const std::vector<QAbstractButton*> buttons = inTabOrder(group);
    const auto n = static_cast<int>(buttons.size());
    const auto at =
        static_cast<int>(std::find(buttons.begin(), buttons.end(), radio) - buttons.begin());
    for (int k = 1; k < n; ++k) {
        QAbstractButton* next = buttons[static_cast<std::size_t>(((at + step * k) % n + n) % n)];
        if (!next->isEnabled() || !next->isVisibleTo(radio->window())) continue;
        next->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        if (Binding* b = bindingOf(next)) {
            const std::string name = b->name;
            run([this, name] { form_.click(name); });
        }
        break;
    }
    return true;
}

bool Binder::eventFilter(QObject* watched, QEvent* event) {
    Binding* b = bindingOf(watched);
    if (b == nullptr || b->widget == nullptr) return QObject::eventFilter(watched, event);
    const std::string name = b->name;
    switch (event->type()) {
        case QEvent::KeyPress:
            if (auto* edit = qobject_cast<QLineEdit*>(watched)) return handleKey(edit, name, event);
            if (auto* radio = qobject_cast<QRadioButton*>(watched)) {
                if (handleRadioKey(radio, static_cast<QKeyEvent*>(event))) return true;
            }
            break;
        case QEvent::Wheel:
            // Not taken, so that the window (and whatever scrolls in it) gets it.
            if (auto* combo = qobject_cast<QComboBox*>(watched); combo && !combo->hasFocus()) {
                event->ignore();
                return true;
            }
            break;
        case QEvent::ApplicationPaletteChange:
        case QEvent::PaletteChange:
        case QEvent::StyleChange: paintLook(*b); break;
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
