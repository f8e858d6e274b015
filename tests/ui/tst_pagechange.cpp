// Changing the tab with the keyboard while a field has the focus: the page
// shown and the page the model keeps (and the settings store) stay the same.

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

#include "calc/window.h"
#include "mainwindow.h"

using namespace velkaro;

class PageChangeTest : public QObject {
    Q_OBJECT

private slots:
    void ctrlTabFromAFieldKeepsTheNewPage();
};

void PageChangeTest::ctrlTabFromAFieldKeepsTheNewPage() {
    Form form;
    BuildModel(form);
    MainWindow window(form);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.ensureAllPages();
    QTabWidget* pages = window.pageControl();
    for (int from : {1, 2, 3}) {
        pages->setCurrentIndex(from);
        QTRY_COMPARE(pages->currentIndex(), from);
        auto* field = pages->currentWidget()->findChild<QLineEdit*>();
        QVERIFY(field != nullptr);
        field->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QTest::keyClick(field, Qt::Key_Tab, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QCOMPARE(pages->currentIndex(), from + 1);
        QCOMPARE(form.index("PageControl1"), from + 1);
    }
}

QTEST_MAIN(PageChangeTest)
#include "tst_pagechange.moc"
