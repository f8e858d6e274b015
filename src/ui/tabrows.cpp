#include "tabrows.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <map>

namespace velkaro {

// Paints the lower edge of the bottom row where it reaches into the page
// frame. It lies on the tab widget, above the frame, and lets the mouse through.
class TabRows::Joint : public QWidget {
public:
    Joint(TabRows* rows, QWidget* parent) : QWidget(parent), rows_(rows) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        const QPoint offset = mapTo(window(), QPoint()) - rows_->mapTo(window(), QPoint());
        QPainter painter(this);
        painter.translate(-offset);
        rows_->paintTabs(&painter, event->rect().translated(offset), true);
    }

private:
    TabRows* rows_;
};

namespace {

// A caption as a screen reader should say it: without mnemonic markers.
QString withoutMnemonic(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) out += text[++i];
            continue;
        }
        out += text[i];
    }
    return out;
}

// One tab for assistive technology: name, state, place, and "Press" to open it.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(TabRows* rows, int index) : rows_(rows), index_(index) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    bool isValid() const override {
        return rows_ && rows_->tabWidget() && index_ < rows_->tabWidget()->count();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return rows_ ? rows_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return rows_ ? QAccessible::queryAccessibleInterface(rows_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        switch (t) {
            case QAccessible::Name: return withoutMnemonic(rows_->tabWidget()->tabText(index_));
            case QAccessible::Description: return rows_->tabWidget()->tabToolTip(index_);
            default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const QTabWidget* tabs = rows_->tabWidget();
        s.selectable = true;
        s.focusable = true;
        s.selected = tabs->currentIndex() == index_;
        s.focused = s.selected && rows_->hasFocus();
        s.disabled = !tabs->isTabEnabled(index_) || !rows_->isEnabled();
        s.invisible = !rows_->isVisible();
        return s;
    }
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = rows_->tabRect(index_);
        return {rows_->mapToGlobal(r.topLeft()), r.size()};
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && rows_->tabWidget()->isTabEnabled(index_)) {
            rows_->tabWidget()->setCurrentIndex(index_);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<TabRows> rows_;
    int index_;
};

// The rows as a list of page tabs, like a tab bar.
class TabRowsAccessible : public QAccessibleWidget {
public:
    explicit TabRowsAccessible(TabRows* rows) : QAccessibleWidget(rows, QAccessible::PageTabList) {}
    ~TabRowsAccessible() override {
        for (const auto& [index, id] : children_) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override {
        return rows()->tabWidget() ? rows()->tabWidget()->count() : 0;
    }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        if (auto it = children_.find(index); it != children_.end()) {
            return QAccessible::accessibleInterface(it->second);
        }
        auto* tab = new TabAccessible(rows(), index);
        children_[index] = QAccessible::registerAccessibleInterface(tab);
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
        for (const auto& [index, known] : children_) {
            if (known == id) return index < childCount() ? index : -1;
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        return child(rows()->tabAt(rows()->mapFromGlobal(QPoint(x, y))));
    }
    QAccessibleInterface* focusChild() const override {
        if (!rows()->hasFocus() || !rows()->tabWidget()) return nullptr;
        return child(rows()->tabWidget()->currentIndex());
    }

private:
    TabRows* rows() const { return static_cast<TabRows*>(widget()); }

    mutable std::map<int, QAccessible::Id> children_;
};

QAccessibleInterface* accessibleTabRows(const QString& className, QObject* object) {
    if (className == QLatin1String(TabRows::staticMetaObject.className()) && object != nullptr &&
        object->isWidgetType()) {
        return new TabRowsAccessible(static_cast<TabRows*>(object));
    }
    return nullptr;
}

void notifyAccessibility(TabRows* rows, QAccessible::Event type, int index) {
    if (!QAccessible::isActive() || index < 0) return;
    QAccessibleEvent event(rows, type);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

TabRows::TabRows(QTabWidget* tabs, QWidget* parent) : QWidget(parent), tabs_(tabs) {
    Q_ASSERT(tabs != nullptr);
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleTabRows);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    if (!tabs->objectName().isEmpty()) setObjectName(tabs->objectName() + QStringLiteral("Tabs"));
    setAccessibleName(QStringLiteral("Registerkarten"));
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred, QSizePolicy::TabWidget);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);

    bar_ = tabs->tabBar();
    bar_->hide();
    watchedTabs_ = tabs;
    watchedBar_ = bar_;
    watchedStack_ = tabs->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QObject* watched : {watchedTabs_, watchedBar_, watchedStack_}) {
        if (watched != nullptr) watched->installEventFilter(this);
    }
    // Giving the focus to the tab widget gives it to its tabs, as before.
    tabs->setFocusProxy(this);
    connect(tabs, &QTabWidget::currentChanged, this, &TabRows::currentChanged);
    connect(bar_, &QTabBar::tabMoved, this, &TabRows::refresh);

    joint_ = new Joint(this, tabs);
    joint_->hide();
}

TabRows::~TabRows() {
    delete joint_;
    if (!tabs_) return;
    tabs_->removeEventFilter(this);
    if (watchedStack_ != nullptr) watchedStack_->removeEventFilter(this);
    if (bar_) {
        bar_->removeEventFilter(this);
        bar_->show();
    }
    if (tabs_->focusProxy() == this) tabs_->setFocusProxy(bar_);
}

int TabRows::rowCount() const { return rows().count; }

int TabRows::visualRow(int index) const {
    const Rows& r = rows();
    if (index < 0 || index >= static_cast<int>(r.row.size())) return -1;
    // The first captions stand next to the page, the later rows above them.
    return r.count - 1 - r.row[static_cast<std::size_t>(index)];
}

QRect TabRows::tabRect(int index) const {
    const int row = visualRow(index);
    if (row < 0) return {};
    const Rows& r = rows();
    const auto i = static_cast<std::size_t>(index);
    const int h = rowHeight();
    return QStyle::visualRect(layoutDirection(), rect(), QRect(r.x[i], row * h, r.w[i], h));
}

int TabRows::tabAt(const QPoint& pos) const {
    if (!tabs_) return -1;
    for (int i = 0; i < tabs_->count(); ++i) {
        if (tabRect(i).contains(pos)) return i;
    }
    return -1;
}

QSize TabRows::sizeHint() const {
    const QSize minimum = minimumSizeHint();
    return {minimum.width(), heightForWidth(std::max(width(), minimum.width()))};
}

QSize TabRows::minimumSizeHint() const {
    ensurePolished();
    int widest = 0;
    for (const QSize& s : naturalSizes()) widest = std::max(widest, s.width());
    return {widest, std::max(0, rowHeight() - overlap())};
}

bool TabRows::hasHeightForWidth() const { return true; }

int TabRows::heightForWidth(int width) const {
    ensurePolished();
    const int count = layoutRows(width).count;
    return count == 0 ? 0 : std::max(0, count * rowHeight() - overlap());
}

void TabRows::refresh() {
    sizesValid_ = false;
    rows_.width = -1;
    updateGeometry();
    moveJoint();
    repaintTabs();
}

bool TabRows::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::HoverEnter:
        case QEvent::HoverMove:
            setHovered(tabAt(static_cast<QHoverEvent*>(event)->position().toPoint()));
            break;
        case QEvent::HoverLeave: setHovered(-1); break;
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::Move: moveJoint(); break;
        default: break;
    }
    return QWidget::event(event);
}

bool TabRows::eventFilter(QObject* watched, QEvent* event) {
    // Compares only addresses before looking at the event: the tab widget
    // sends events from its destructor too.
    switch (event->type()) {
        case QEvent::ShowToParent:
            // QTabWidget and QTabBar show the bar again on some settings
            // (auto-hide, for one); the rows take its place for good.
            if (watched == watchedBar_ && bar_) bar_->hide();
            break;
        case QEvent::Resize:
            if (watched == watchedTabs_) moveJoint();
            break;
        case QEvent::FontChange:
        case QEvent::StyleChange:
            if (watched == watchedTabs_ || watched == watchedBar_) refresh();
            break;
        case QEvent::ChildAdded:
        case QEvent::ChildRemoved:
            // A page comes or goes; the tab bar follows right after, so only note
            // it here and measure when asked.
            if (watched == watchedStack_) {
                sizesValid_ = false;
                rows_.width = -1;
                updateGeometry();
                update();
                if (joint_) joint_->update();
            }
            break;
        default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void TabRows::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (tabs_ && tabs_->documentMode()) {
        // Without a page frame the tabs stand on the style's base line.
        QStyleOptionTabBarBase base;
        base.initFrom(this);
        base.shape = QTabBar::RoundedNorth;
        base.documentMode = true;
        const int h = style()->pixelMetric(QStyle::PM_TabBarBaseHeight, &base, this);
        base.rect = QRect(0, height() - h, width(), h);
        base.tabBarRect = rect();
        base.selectedTabRect = tabRect(tabs_->currentIndex());
        style()->drawPrimitive(QStyle::PE_FrameTabBarBase, &base, &painter, this);
    }
    paintTabs(&painter, event->rect());
}

void TabRows::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    moveJoint();
}

void TabRows::mousePressEvent(QMouseEvent* event) {
    const int index = event->button() == Qt::LeftButton ? tabAt(event->position().toPoint()) : -1;
    if (index < 0 || !tabs_ || !tabs_->isTabEnabled(index)) {
        event->ignore();
        return;
    }
    tabs_->setCurrentIndex(index);
}

void TabRows::keyPressEvent(QKeyEvent* event) {
    if (!tabs_ || tabs_->count() == 0) return QWidget::keyPressEvent(event);
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const int forward = isRightToLeft() ? -1 : 1;
    const int current = tabs_->currentIndex();
    switch (event->key()) {
        case Qt::Key_Left: selectFrom(current - forward, -forward, false); break;
        case Qt::Key_Right: selectFrom(current + forward, forward, false); break;
        case Qt::Key_Home: selectFrom(0, 1, false); break;
        case Qt::Key_End: selectFrom(tabs_->count() - 1, -1, false); break;
        case Qt::Key_Tab:
        case Qt::Key_PageDown:
            if (!ctrl) return QWidget::keyPressEvent(event);
            selectFrom(current + 1, 1, true);
            break;
        case Qt::Key_Backtab:
        case Qt::Key_PageUp:
            if (!ctrl) return QWidget::keyPressEvent(event);
            selectFrom(current - 1, -1, true);
            break;
        default: return QWidget::keyPressEvent(event);
    }
}

void TabRows::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    repaintTabs();
    if (tabs_) notifyAccessibility(this, QAccessible::Focus, tabs_->currentIndex());
}

void TabRows::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    repaintTabs();
}

void TabRows::changeEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::FontChange:
        case QEvent::StyleChange: refresh(); break;
        case QEvent::LayoutDirectionChange:
        case QEvent::EnabledChange:
        case QEvent::PaletteChange:
        case QEvent::ActivationChange: repaintTabs(); break;
        default: break;
    }
    QWidget::changeEvent(event);
}

QFont TabRows::tabFont() const {
    // The font the tab widget's own bar would use (styles may give tab bars
    // a font of their own).
    return bar_ ? bar_->font() : font();
}

void TabRows::initTabOption(QStyleOptionTab* option, int index) const {
    option->initFrom(this);
    option->state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    option->fontMetrics = QFontMetrics(tabFont());
    option->shape = QTabBar::RoundedNorth;
    option->text = tabs_->tabText(index);
    option->icon = tabs_->tabIcon(index);
    option->iconSize = tabs_->iconSize();
    option->documentMode = tabs_->documentMode();
    option->features |= QStyleOptionTab::HasFrame;
    option->tabIndex = index;
    if (!tabs_->isTabEnabled(index)) option->state &= ~QStyle::State_Enabled;
    if (bar_) {
        const QColor color = bar_->tabTextColor(index);
        if (color.isValid()) option->palette.setColor(QPalette::WindowText, color);
    }
}

const std::vector<QSize>& TabRows::naturalSizes() const {
    const int count = tabs_ ? tabs_->count() : 0;
    if (sizesValid_ && static_cast<int>(sizes_.size()) == count) return sizes_;
    sizes_.clear();
    const QFontMetrics metrics(tabFont());
    for (int i = 0; i < count; ++i) {
        // As QTabBar measures a tab: caption, icon and the style's spacing.
        QStyleOptionTab option;
        initTabOption(&option, i);
        const int hspace = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
        const int vspace = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
        const QSize icon = option.icon.isNull() ? QSize() : option.iconSize;
        const int iconGap = option.icon.isNull() ? 0 : 4;
        const int textWidth = metrics.size(Qt::TextShowMnemonic, option.text).width();
        const QSize contents(textWidth + icon.width() + iconGap + hspace,
                             std::max(metrics.height(), icon.height()) + vspace);
        sizes_.push_back(style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this));
    }
    sizesValid_ = true;
    rows_.width = -1;
    return sizes_;
}

int TabRows::rowHeight() const {
    int h = 0;
    for (const QSize& s : naturalSizes()) h = std::max(h, s.height());
    return h;
}

int TabRows::overlap() const {
    // How far the tab bar of a QTabWidget reaches into the page frame.
    if (!tabs_ || tabs_->documentMode()) return 0;
    QStyle* style = tabs_->style();
    if (style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tabs_) <= 0) return 0;
    QStyleOptionTab option;
    option.initFrom(tabs_);
    option.shape = QTabBar::RoundedNorth;
    const int overlap = style->pixelMetric(QStyle::PM_TabBarBaseOverlap, &option, tabs_);
    return std::clamp(overlap, 0, rowHeight() / 2);
}

TabRows::Rows TabRows::layoutRows(int width) const {
    const std::vector<QSize>& sizes = naturalSizes();
    const int n = static_cast<int>(sizes.size());
    Rows r;
    r.width = width;
    r.row.resize(sizes.size());
    r.x.resize(sizes.size());
    r.w.resize(sizes.size());
    // Greedy: each tab goes into the current row while it fits.
    std::vector<int> starts;
    int used = 0;
    for (int i = 0; i < n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const int w = sizes[k].width();
        if (used > 0 && used + w > width) used = 0;
        if (used == 0) starts.push_back(i);
        r.row[k] = static_cast<int>(starts.size()) - 1;
        r.x[k] = used;
        r.w[k] = w;
        used += w;
    }
    r.count = static_cast<int>(starts.size());
    if (r.count < 2) return r;  // a single row keeps its natural widths
    // Justify: every row spreads its spare width evenly over its tabs.
    starts.push_back(n);
    for (std::size_t row = 0; row + 1 < starts.size(); ++row) {
        const auto begin = static_cast<std::size_t>(starts[row]);
        const auto end = static_cast<std::size_t>(starts[row + 1]);
        const int tabsInRow = static_cast<int>(end - begin);
        const int spare = width - (r.x[end - 1] + r.w[end - 1]);
        if (spare <= 0) continue;
        int x = 0;
        for (std::size_t k = begin; k < end; ++k) {
            const int slot = static_cast<int>(k - begin);
            r.w[k] += spare / tabsInRow + (slot < spare % tabsInRow ? 1 : 0);
            r.x[k] = x;
            x += r.w[k];
        }
    }
    return r;
}

const TabRows::Rows& TabRows::rows() const {
    naturalSizes();
    if (rows_.width != width()) rows_ = layoutRows(width());
    return rows_;
}

void TabRows::paintTabs(QPainter* painter, const QRect& area, bool shapesOnly) const {
    if (!tabs_) return;
    const Rows& r = rows();
    const int count = static_cast<int>(r.row.size());
    const int current = tabs_->currentIndex();
    painter->setFont(tabFont());
    // Top row first; in each row the current tab last, over its neighbours.
    for (int visual = 0; visual < r.count; ++visual) {
        std::vector<int> inRow;
        for (int i = 0; i < count; ++i) {
            if (visualRow(i) == visual) inRow.push_back(i);
        }
        std::stable_partition(inRow.begin(), inRow.end(),
                              [current](int i) { return i != current; });
        for (const int i : inRow) {
            QStyleOptionTab option;
            initTabOption(&option, i);
            option.rect = tabRect(i);
            if (!option.rect.intersects(area)) continue;
            const auto k = static_cast<std::size_t>(i);
            const bool first = i == 0 || r.row[k - 1] != r.row[k];
            const bool last = i + 1 == count || r.row[k + 1] != r.row[k];
            option.position = first && last ? QStyleOptionTab::OnlyOneTab
                              : first       ? QStyleOptionTab::Beginning
                              : last        ? QStyleOptionTab::End
                                            : QStyleOptionTab::Middle;
            option.selectedPosition = !last && i + 1 == current ? QStyleOptionTab::NextIsSelected
                                      : !first && i - 1 == current
                                          ? QStyleOptionTab::PreviousIsSelected
                                          : QStyleOptionTab::NotAdjacent;
            option.row = r.count - 1 - visual;
            if (i == current) {
                option.state |= QStyle::State_Selected;
                if (hasFocus()) option.state |= QStyle::State_HasFocus;
            }
            if (i == hovered_) option.state |= QStyle::State_MouseOver;
            if (shapesOnly) {
                style()->drawControl(QStyle::CE_TabBarTabShape, &option, painter, this);
                continue;
            }
            style()->drawControl(QStyle::CE_TabBarTab, &option, painter, this);
            if (i == current) paintCurrentMark(painter, option.rect);
        }
    }
}

void TabRows::paintCurrentMark(QPainter* painter, const QRect& tab) const {
    // A bar in the selection colour along the top of the current tab: in an
    // upper row the tab does not open into the page, so the style's own
    // raised look alone is easily missed.
    const int thickness = std::max(3, fontMetrics().height() / 5);
    const int inset = std::max(2, thickness);
    const QRect bar(tab.left() + inset, tab.top() + 1, tab.width() - 2 * inset, thickness);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    painter->fillRect(bar, palette().color(group, QPalette::Highlight));
}

void TabRows::currentChanged(int index) {
    repaintTabs();
    if (hasFocus()) notifyAccessibility(this, QAccessible::Focus, index);
    notifyAccessibility(this, QAccessible::Selection, index);
}

void TabRows::setHovered(int index) {
    if (index == hovered_) return;
    hovered_ = index;
    repaintTabs();
}

void TabRows::selectFrom(int index, int step, bool wrap) {
    // The first enabled tab from `index` on in direction `step`; past either
    // end only with `wrap`.
    const int count = tabs_->count();
    for (int tried = 0; tried < count; ++tried, index += step) {
        if (index < 0 || index >= count) {
            if (!wrap) return;
            index = (index + count) % count;
        }
        if (tabs_->isTabEnabled(index)) {
            tabs_->setCurrentIndex(index);
            return;
        }
    }
}

void TabRows::moveJoint() {
    if (!joint_ || !tabs_) return;
    const int h = overlap();
    // With its own bar hidden, the tab widget's frame starts at its top.
    joint_->setGeometry(0, 0, tabs_->width(), h);
    joint_->setVisible(h > 0 && isVisible());
    joint_->raise();
    joint_->update();
}

void TabRows::repaintTabs() {
    update();
    if (joint_) joint_->update();
}

}  // namespace velkaro
