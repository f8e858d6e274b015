#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "infodialog.h"

using velkaro::InfoDialog;

class InfoDialogTest : public QObject {
    Q_OBJECT

private:
    template <typename T>
    static T* part(InfoDialog& dialog, const char* name) {
        T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        if (!widget) {
            qFatal("missing part %s", name);
        }
        return widget;
    }

private slots:
    void fixedTextsAndWindow();
    void memoTextIsExact();
    void buildTextIsSetOnEveryShow();
    void creditsToggleSwapsNoteAndList();
    void creditsToggleSurvivesReshow();
    void mailButtonHandsOverEncodedLink();
    void unopenedMailLinkShowsTheAddress();
    void closeButtonHidesAndRaisesOwner();
    void sizeIsFixedAndFitsTheNote();
};

void InfoDialogTest::fixedTextsAndWindow() {
    InfoDialog dialog(nullptr, {});
    QCOMPARE(dialog.windowTitle(), QStringLiteral(" Info"));
    QCOMPARE(part<QLabel>(dialog, "StaticText3")->text(), QStringLiteral("QQ7ZZZs"));
    QCOMPARE(part<QLabel>(dialog, "StaticText1")->text(), QStringLiteral("Kleiner Velkaro V 3.0"));
    QCOMPARE(part<QLabel>(dialog, "StaticText4")->text(), QStringLiteral("Build: "));
    QCOMPARE(part<QLabel>(dialog, "Label1")->text(), QStringLiteral("Autor: das Velkaro-Team"));
    QCOMPARE(part<QPushButton>(dialog, "Button1")->text(),
             QStringLiteral("E-Mail an den Autor senden"));
    QCOMPARE(part<QPushButton>(dialog, "OK")->text(), QStringLiteral("Schliessen"));
    QVERIFY(part<QPushButton>(dialog, "OK")->isDefault());
    QVERIFY(part<QLabel>(dialog, "StaticText1")->font().bold());

    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));

    QCOMPARE(part<QPlainTextEdit>(dialog, "Memo1")->accessibleName(), QStringLiteral("Hinweis"));
    QCOMPARE(part<QListWidget>(dialog, "LBCredits1")->accessibleName(), QStringLiteral("Credits"));
    QVERIFY(part<QListWidget>(dialog, "LBCredits1")->count() > 0);
}

void InfoDialogTest::memoTextIsExact() {
    InfoDialog dialog(nullptr, {});
    auto* memo = part<QPlainTextEdit>(dialog, "Memo1");
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->toPlainText(),
             QStringLiteral(" Dieses Programm ist leider nicht fehlerfrei!\n"
                            "\n"
                            " Fehlermeldungen oder Anregungen zur Verbesserung \n"
                            " des Programms bitte, per E-Mail, an den Autor senden."));
}

void InfoDialogTest::buildTextIsSetOnEveryShow() {
    InfoDialog dialog(nullptr, {});
    auto* build = part<QLabel>(dialog, "StaticText4");

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(build->text(), QStringLiteral("Build:  08.06.2011"));

    build->setText(QStringLiteral("verstellt"));
    dialog.hide();
    dialog.show();
    QCOMPARE(build->text(), QStringLiteral("Build:  08.06.2011"));
}

void InfoDialogTest::creditsToggleSwapsNoteAndList() {
    InfoDialog dialog(nullptr, {});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* button = part<QPushButton>(dialog, "Credits");
    auto* memo = part<QPlainTextEdit>(dialog, "Memo1");
    auto* credits = part<QListWidget>(dialog, "LBCredits1");

    QCOMPARE(button->text(), QStringLiteral("Danke"));
    QVERIFY(memo->isVisible());
    QVERIFY(!credits->isVisible());

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("Hinweis"));
    QVERIFY(credits->isVisible());
    QVERIFY(!memo->isVisible());
    QCOMPARE(credits->geometry(), memo->geometry());  // same place, same size

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("Credits"));
    QVERIFY(memo->isVisible());
    QVERIFY(!credits->isVisible());

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("Hinweis"));
    QVERIFY(credits->isVisible());
}

void InfoDialogTest::creditsToggleSurvivesReshow() {
    InfoDialog dialog(nullptr, {});
    auto* button = part<QPushButton>(dialog, "Credits");

    // A click before the first show already counts.
    QTest::mouseClick(button, Qt::LeftButton);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(button->text(), QStringLiteral("Hinweis"));
    QVERIFY(part<QListWidget>(dialog, "LBCredits1")->isVisible());
    QVERIFY(!part<QPlainTextEdit>(dialog, "Memo1")->isVisible());

    dialog.hide();
    dialog.show();
    QCOMPARE(button->text(), QStringLiteral("Hinweis"));
    QVERIFY(part<QListWidget>(dialog, "LBCredits1")->isVisible());
    QVERIFY(!part<QPlainTextEdit>(dialog, "Memo1")->isVisible());
}

void InfoDialogTest::mailButtonHandsOverEncodedLink() {
    std::vector<std::string> urls;
    InfoDialog dialog(nullptr, [&urls](const std::string& url) {
        urls.push_back(url);
        return true;
    });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QTest::mouseClick(part<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    QCOMPARE(urls.size(), std::size_t{1});
    QCOMPARE(
        QString::fromStdString(urls.front()),
        QStringLiteral("mailto:velkaro@example.org?Subject=kl.%20VKO%20V3.0%20Beta%202"
                       "%20%20%20%20%20%20%20%20%20%20%20Build%20vom:%20%2008.06.2011"
                       "&Body=kurze%20Fehlerbeschreibung:%20(Bei%20welcher%20Berechnung%20tritt"
                       "%20der%20Fehler%20auf?)%0A%0A%0Aoder%0A%0A%0AVerbesserungen%20am"
                       "%20Programms%20(bitte%20kurze%20Beschreibung)"));
    QVERIFY(dialog.isVisible());  // sending a mail does not close the dialog
    QVERIFY(dialog.findChild<QMessageBox*>() == nullptr);
}

void InfoDialogTest::unopenedMailLinkShowsTheAddress() {
    int tries = 0;
    InfoDialog dialog(nullptr, [&tries](const std::string&) {
        ++tries;
        return false;  // no mail program on this desktop
    });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QString title, text;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        title = box->windowTitle();
        text = box->text();
        box->accept();
    });
    QTest::mouseClick(part<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    QCOMPARE(tries, 1);
    QCOMPARE(title, QStringLiteral("kl. Velkaro V3.0"));
    QVERIFY2(text.contains(QStringLiteral("velkaro@example.org")), qPrintable(text));
    QVERIFY2(text.contains(QString::fromUtf8("E-Mail-Programm lie\u00df sich nicht \u00f6ffnen")),
             qPrintable(text));
    QVERIFY(dialog.isVisible());
}

void InfoDialogTest::closeButtonHidesAndRaisesOwner() {
    QWidget owner;
    owner.resize(200, 100);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    InfoDialog dialog(&owner, {});
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QTest::mouseClick(part<QPushButton>(dialog, "OK"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(accepted.count(), 1);
    QVERIFY(owner.isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), &owner);

    // Without an owner the button still closes.
    InfoDialog alone(nullptr, {});
    alone.show();
    QTest::mouseClick(part<QPushButton>(alone, "OK"), Qt::LeftButton);
    QVERIFY(!alone.isVisible());
}

void InfoDialogTest::sizeIsFixedAndFitsTheNote() {
    InfoDialog dialog(nullptr, {});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(dialog.width() >= 401);
    QVERIFY(dialog.height() >= 362);

    // The parts stack without overlapping.
    auto* memo = part<QPlainTextEdit>(dialog, "Memo1");
    QVERIFY(part<QFrame>(dialog, "Panel1")->geometry().bottom() <
            part<QLabel>(dialog, "Label1")->geometry().top());
    QVERIFY(part<QLabel>(dialog, "Label1")->geometry().bottom() < memo->geometry().top());
    QVERIFY(memo->geometry().bottom() < part<QPushButton>(dialog, "OK")->geometry().top());

    // Every note line fits the width of the note, so nothing wraps or clips.
    const QFontMetrics metrics(memo->font());
    for (const QString& line : memo->toPlainText().split(QLatin1Char('\n'))) {
        QVERIFY2(metrics.horizontalAdvance(line) < memo->viewport()->width(), qPrintable(line));
    }

    // A larger font makes the dialog grow with it.
    QFont big = dialog.font();
    big.setPixelSize(30);
    dialog.setFont(big);
    QVERIFY(dialog.width() > 401 || dialog.height() > 362);
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    const QFontMetrics bigMetrics(memo->font());
    for (const QString& line : memo->toPlainText().split(QLatin1Char('\n'))) {
        QVERIFY2(bigMetrics.horizontalAdvance(line) <= memo->minimumWidth(), qPrintable(line));
    }
}

QTEST_MAIN(InfoDialogTest)
#include "tst_infodialog.moc"
