#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <vector>

#include "calc/window.h"
#include "tabrows.h"

using velkaro::TabRows;

namespace {

constexpr int kCount = 11;
constexpr int kWidth = 695;

// As in the main window: the rows directly above the page control, both as
// wide as the window's client area.
struct Window {
    QWidget host;
    QTabWidget* tabs = new QTabWidget;
    TabRows* rows = new TabRows(tabs, &host);

    Window() {
        auto* layout = new QVBoxLayout(&host);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        // The window's own eleven captions.
        for (const auto& sheet : velkaro::kTabSheets) {
            tabs->addTab(new QLabel(QStringLiteral("Seite")), QString::fromUtf8(sheet.caption));
        }
        layout->addWidget(rows);
        layout->addWidget(tabs, 1);
        host.resize(kWidth, 400);
        host.show();
        if (!QTest::qWaitForWindowExposed(&host)) qFatal("window not exposed");
    }

    // The tabs of each drawn row (0 = top), left to right.
    std::map<int, std::vector<int>> byRow() const {
        std::map<int, std::vector<int>> result;
        for (int i = 0; i < tabs->count(); ++i) result[rows->visualRow(i)].push_back(i);
        for (auto& [row, list] : result) {
            std::sort(list.begin(), list.end(),
                      [this](int a, int b) { return rows->tabRect(a).x() < rows->tabRect(b).x(); });
        }
        return result;
    }

    bool captionsFit() const {
        const QFontMetrics metrics(tabs->tabBar()->font());
        for (int i = 0; i < tabs->count(); ++i) {
            const QRect r = rows->tabRect(i);
            if (r.width() <= metrics.horizontalAdvance(tabs->tabText(i)) ||
                r.height() <= metrics.height()) {
                return false;
            }
        }
        return true;
    }
};

}  // namespace

class TabRowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    // Layout
    void elevenCaptionsFillTwoJustifiedRows();
    void heightFollowsTheWidth();
    void addedAndRenamedTabsAreLaidOut();

    // Current tab and input
    void rowsStayWhereTheyAre();
    void currentTabIsMarkedInEitherRow();
    void clickOnTabSelectsIt();
    void keysMoveTheCurrentTab();
    void selectedTabOpensIntoThePage();

    // The tab widget's own bar, lifetime, assistive technology
    void ownBarStaysHidden();
    void eitherMayBeDestroyedFirst();
    void tabsAreListedForScreenReaders();
};

void TabRowsTest::initTestCase() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    QApplication::setFont(font);
}

void TabRowsTest::elevenCaptionsFillTwoJustifiedRows() {
    Window w;
    QCOMPARE(w.rows->width(), kWidth);
    QCOMPARE(w.rows->rowCount(), 2);
    QVERIFY(w.captionsFit());
    std::vector<int> order;
    for (const auto& [row, list] : w.byRow()) {
        QCOMPARE(w.rows->tabRect(list.front()).left(), 0);
        QCOMPARE(w.rows->tabRect(list.back()).right(), kWidth - 1);
        for (std::size_t k = 1; k < list.size(); ++k) {
            QCOMPARE(w.rows->tabRect(list[k]).left(), w.rows->tabRect(list[k - 1]).right() + 1);
            QCOMPARE(w.rows->tabRect(list[k]).top(), w.rows->tabRect(list[k - 1]).top());
        }
        order.insert(order.begin(), list.begin(), list.end());
    }
    // Filled greedily in order: the bottom row (with tab 0) up to "PI / T Att".
    for (int i = 0; i < kCount; ++i) QCOMPARE(order[static_cast<std::size_t>(i)], i);
    QCOMPARE(w.rows->visualRow(6), 1);
    QCOMPARE(w.rows->visualRow(7), 0);
}

void TabRowsTest::heightFollowsTheWidth() {
    Window w;
    const int rowHeight = w.rows->tabRect(0).height();
    QCOMPARE(w.rows->height(), w.rows->heightForWidth(kWidth));
    // The bottom row reaches a few pixels into the page frame right below.
    QVERIFY(w.rows->height() <= 2 * rowHeight);
    QVERIFY(w.rows->height() > 2 * rowHeight - rowHeight / 4);
    QCOMPARE(w.tabs->geometry().top(), w.rows->geometry().bottom() + 1);
    QVERIFY(w.rows->heightForWidth(5000) < w.rows->heightForWidth(kWidth));
    QVERIFY(w.rows->heightForWidth(kWidth) < w.rows->heightForWidth(300));
    QVERIFY(w.rows->minimumSizeHint().width() < kWidth / 2);

    // Room for all: a single row keeps the tabs' own widths.
    w.host.resize(5000, 400);
    QTRY_COMPARE(w.rows->rowCount(), 1);
    QVERIFY(w.rows->tabRect(kCount - 1).right() < 2500);
    QCOMPARE(w.rows->tabRect(1).left(), w.rows->tabRect(0).right() + 1);
}

void TabRowsTest::addedAndRenamedTabsAreLaidOut() {
    Window w;
    const int lastBefore = w.rows->tabRect(kCount - 1).width();
    w.tabs->addTab(new QLabel, QStringLiteral("Zusatz"));
    // The second row is full: the new tab opens a third one, alone in it.
    QCOMPARE(w.rows->rowCount(), 3);
    QCOMPARE(w.rows->tabRect(kCount).left(), 0);
    QCOMPARE(w.rows->tabRect(kCount).right(), kWidth - 1);
    QCOMPARE(w.rows->tabRect(kCount - 1).width(), lastBefore);
    QTRY_COMPARE(w.rows->height(), w.rows->heightForWidth(kWidth));

    w.tabs->removeTab(kCount);
    w.tabs->removeTab(0);
    QCOMPARE(w.rows->tabRect(kCount - 1), QRect());
    QCOMPARE(w.rows->tabAt(w.rows->tabRect(0).center()), 0);

    for (int i = 0; i < w.tabs->count(); ++i) {
        w.tabs->setTabText(i, w.tabs->tabText(i) + QStringLiteral(" und noch mehr Text"));
    }
    w.rows->refresh();
    QVERIFY(w.rows->rowCount() > 3);
    QVERIFY(w.captionsFit());
    QTRY_COMPARE(w.rows->height(), w.rows->heightForWidth(kWidth));
}

void TabRowsTest::rowsStayWhereTheyAre() {
    Window w;
    std::vector<QRect> before;
    for (int i = 0; i < kCount; ++i) before.push_back(w.rows->tabRect(i));
    // Whichever tab becomes current, in either row, no tab moves.
    for (const int current : {10, 3, 7, 0, 6}) {
        w.tabs->setCurrentIndex(current);
        QApplication::processEvents();
        for (int i = 0; i < kCount; ++i) {
            QCOMPARE(w.rows->tabRect(i), before[static_cast<std::size_t>(i)]);
        }
        QCOMPARE(w.rows->visualRow(0), 1);
        QCOMPARE(w.rows->visualRow(10), 0);
    }
}

void TabRowsTest::currentTabIsMarkedInEitherRow() {
    Window w;
    const QColor highlight = w.rows->palette().color(QPalette::Highlight);
    // Pixels of the selection colour along the top of a tab.
    const auto marked = [&](int index) {
        QApplication::processEvents();
        const QImage shot = w.rows->grab().toImage();
        const QRect r = w.rows->tabRect(index);
        int hits = 0;
        for (int y = r.top(); y < r.top() + 6; ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                if (shot.pixelColor(x, y) == highlight) ++hits;
            }
        }
        return hits > r.width() / 2;
    };
    QVERIFY(marked(0));
    QVERIFY(!marked(8));
    w.tabs->setCurrentIndex(8);  // upper row
    QVERIFY(marked(8));
    QVERIFY(!marked(0));
    w.tabs->setCurrentIndex(2);  // lower row
    QVERIFY(marked(2));
    QVERIFY(!marked(8));
}

void TabRowsTest::clickOnTabSelectsIt() {
    Window w;
    for (const int i : {8, 2, 10, 0, 7}) {
        QTest::mouseClick(w.rows, Qt::LeftButton, {}, w.rows->tabRect(i).center());
        QCOMPARE(w.tabs->currentIndex(), i);
        QVERIFY(w.tabs->currentWidget()->isVisible());
    }
    w.tabs->setTabEnabled(4, false);
    QTest::mouseClick(w.rows, Qt::LeftButton, {}, w.rows->tabRect(4).center());
    QTest::mouseClick(w.rows, Qt::RightButton, {}, w.rows->tabRect(5).center());
    QTest::mouseClick(w.rows, Qt::LeftButton, {}, QPoint(kWidth + 5, 2));
    QCOMPARE(w.tabs->currentIndex(), 7);
    QCOMPARE(w.rows->tabAt(w.rows->tabRect(3).bottomRight()), 3);
    QCOMPARE(w.rows->tabAt(QPoint(2, w.rows->height() + 20)), -1);
}

void TabRowsTest::keysMoveTheCurrentTab() {
    Window w;
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(w.rows, key, modifiers);
        return w.tabs->currentIndex();
    };
    QCOMPARE(press(Qt::Key_Right), 1);
    QCOMPARE(press(Qt::Key_Left), 0);
    QCOMPARE(press(Qt::Key_Left), 0);
    QCOMPARE(press(Qt::Key_End), kCount - 1);
    QCOMPARE(w.rows->visualRow(kCount - 1), 0);
    QCOMPARE(press(Qt::Key_Right), kCount - 1);
    // Ctrl+Tab and Ctrl+Shift+Tab go round, past disabled tabs.
    QCOMPARE(press(Qt::Key_Tab, Qt::ControlModifier), 0);
    QCOMPARE(press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier), kCount - 1);
    w.tabs->setTabEnabled(1, false);
    QCOMPARE(press(Qt::Key_Home), 0);
    QCOMPARE(press(Qt::Key_Right), 2);

    // Focus meant for the tab widget lands on its tabs.
    w.host.activateWindow();
    w.tabs->setFocus();
    QTRY_VERIFY(w.rows->hasFocus());
}

void TabRowsTest::selectedTabOpensIntoThePage() {
    Window w;
    w.tabs->setCurrentIndex(1);
    QApplication::processEvents();
    // The frame's top line shows under the other tabs of the bottom row, not
    // under the current one.
    const QImage shot = w.host.grab().toImage();
    const int y = w.tabs->geometry().top();
    const QColor beside = shot.pixelColor(w.rows->tabRect(3).center().x(), y);
    QVERIFY(shot.pixelColor(w.rows->tabRect(1).center().x(), y) != beside);
    QCOMPARE(shot.pixelColor(w.rows->tabRect(0).center().x(), y), beside);
}

void TabRowsTest::ownBarStaysHidden() {
    Window w;
    QTabBar* bar = w.tabs->tabBar();
    w.tabs->setTabBarAutoHide(true);
    QVERIFY(!bar->isVisibleTo(w.tabs));
    w.tabs->setTabBarAutoHide(false);
    w.tabs->setDocumentMode(true);
    w.tabs->setDocumentMode(false);
    w.tabs->addTab(new QLabel, QStringLiteral("Neu"));
    w.tabs->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 9px; }"));
    w.host.hide();
    w.host.show();
    QApplication::processEvents();
    QVERIFY(!bar->isVisibleTo(w.tabs));
    // No room is kept for it: the page starts right at the frame.
    QVERIFY(w.tabs->currentWidget()->mapTo(w.tabs, QPoint()).y() < 6);
}

void TabRowsTest::eitherMayBeDestroyedFirst() {
    {
        Window w;
        delete w.rows;
        QVERIFY(w.tabs->tabBar()->isVisibleTo(w.tabs));
        QCOMPARE(w.tabs->focusProxy(), w.tabs->tabBar());
        w.host.grab();
    }
    Window w;
    QAccessibleInterface* tab = QAccessible::queryAccessibleInterface(w.rows)->child(2);
    delete w.tabs;
    QCOMPARE(w.rows->rowCount(), 0);
    QCOMPARE(w.rows->heightForWidth(kWidth), 0);
    QTest::mouseClick(w.rows, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClick(w.rows, Qt::Key_Right);
    QVERIFY(!tab->isValid());
    w.host.grab();
}

void TabRowsTest::tabsAreListedForScreenReaders() {
    Window w;
    QCOMPARE(w.rows->accessibleName(), QStringLiteral("Registerkarten"));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(w.rows);
    QCOMPARE(list->role(), QAccessible::PageTabList);
    QCOMPARE(list->childCount(), kCount);
    QAccessibleInterface* tab = list->child(3);
    QCOMPARE(tab->role(), QAccessible::PageTab);
    QCOMPARE(tab->text(QAccessible::Name), QStringLiteral("XL / XC"));
    QCOMPARE(list->indexOfChild(tab), 3);
    QCOMPARE(tab->rect().size(), w.rows->tabRect(3).size());
    QVERIFY(!tab->state().selected);

    tab->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(w.tabs->currentIndex(), 3);
    QVERIFY(tab->state().selected);
    const QPoint centre = w.rows->mapToGlobal(w.rows->tabRect(7).center());
    QCOMPARE(list->childAt(centre.x(), centre.y()), list->child(7));
}

QTEST_MAIN(TabRowsTest)
#include "tst_tabrows.moc"
