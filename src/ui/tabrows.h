#pragma once
// Tabs of a QTabWidget in several rows. The widget's own tab bar scrolls when
// the captions do not fit side by side; TabRows instead wraps them into as many
// rows as its width needs and stretches every row to the full width. The rows
// stay where they are whichever tab is current (the first captions next to the
// page), so a tab does not move away under the pointer or the eye; the current
// tab is marked in whichever row it stands. The tab widget's own bar is hidden
// for good; TabRows
// reads captions and the current page from the tab widget and sets the current
// page on click or key. Place it directly above the tab widget in the same
// layout, without spacing: the bottom row reaches a few pixels into the page
// frame so that the current tab opens into its page.

#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

#include <vector>

class QStyleOptionTab;

namespace velkaro {

class TabRows : public QWidget {
    Q_OBJECT
public:
    explicit TabRows(QTabWidget* tabs, QWidget* parent = nullptr);
    ~TabRows() override;

    QTabWidget* tabWidget() const { return tabs_; }

    // For the current width: number of rows, the row a tab is drawn in
    // (0 = top, rowCount() - 1 = next to the page), its rectangle in this
    // widget's coordinates (the bottom row reaches below the widget by the
    // style's overlap with the page frame) and the tab at a point (-1: none).
    int rowCount() const;
    int visualRow(int index) const;
    QRect tabRect(int index) const;
    int tabAt(const QPoint& pos) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

public slots:
    // Measures the captions again. Adding and removing tabs is noticed without
    // it; call it after changing a caption, an icon or a tab's enabled state.
    void refresh();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Joint;

    // Tab positions for one width, in logical rows (0 = first captions).
    struct Rows {
        int width = -1;
        int count = 0;
        std::vector<int> row;  // logical row of each tab
        std::vector<int> x;    // left edge of each tab, left to right
        std::vector<int> w;    // width of each tab
    };

    QFont tabFont() const;
    void initTabOption(QStyleOptionTab* option, int index) const;
    const std::vector<QSize>& naturalSizes() const;
    int rowHeight() const;
    int overlap() const;
    Rows layoutRows(int width) const;
    const Rows& rows() const;
    // `shapesOnly`: the tabs' shapes without captions and marks (the joint
    // shows only the tabs' lower edge).
    void paintTabs(QPainter* painter, const QRect& area, bool shapesOnly = false) const;
    void paintCurrentMark(QPainter* painter, const QRect& tab) const;
    void currentChanged(int index);
    void setHovered(int index);
    void selectFrom(int index, int step, bool wrap);
    void moveJoint();
    void repaintTabs();

    QPointer<QTabWidget> tabs_;
    QPointer<QTabBar> bar_;  // the tab widget's own bar, kept hidden
    // What the event filter watches, for comparing addresses only.
    QObject* watchedTabs_ = nullptr;
    QObject* watchedBar_ = nullptr;
    QObject* watchedStack_ = nullptr;
    QPointer<QWidget> joint_;
    int hovered_ = -1;

    mutable std::vector<QSize> sizes_;
    mutable bool sizesValid_ = false;
    mutable Rows rows_;
};

}  // namespace velkaro
