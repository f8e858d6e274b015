// The main window's frame and the binder between real widgets and the model.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <QtTest>

#include "binder.h"
#include "calc/window.h"
#include "mainwindow.h"
#include "optionsdialog.h"
#include "qtsink.h"

using namespace velkaro;

namespace {

const UnitList kVolt = {{"YVolt", "ZVolt", "EVolt", "PVolt", "TVolt", "GVolt", "MVolt", "kVolt",
                         " Volt", "mVolt", "\u00b5Volt", "nVolt", "pVolt", "fVolt", "aVolt",
                         "zVolt", "yVolt"}};

// Closes the next modal message box and remembers its title and text.
struct BoxCloser {
    QString title, text;
    int seen = 0;
    void arm() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return arm();
            title = box->windowTitle();
            text = box->text();
            ++seen;
            box->accept();
        });
    }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void frameAsDesigned();
    void pagesAreBuiltWhenFirstShownAndBound();
    void enterInARealEditReachesTheModel();
    void refusedEnterShowsTheBoxAndRestoresTheText();
    void unitChoiceIsTheUsersOnly();
    void optionsReformatAtOnceAndSwitchHints();
};

void MainWindowTest::frameAsDesigned() {
    Form form;
    BuildModel(form);
    MainWindow window(form);
    QCOMPARE(window.windowTitle(), QStringLiteral(" QQ7ZZZ       kleiner Velkaro V3.0"));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);

    QTabWidget* tabs = window.pageControl();
    const QStringList expected = {"dB",
                                  "dBm",
                                  QString::fromUtf8("dB\u00b5V"),
                                  "XL / XC",
                                  "LC-Schwingkreis",
                                  "RC-Glieder",
                                  "PI / T Att",
                                  "Parallel-/Serienschaltung",
                                  "L- Anpassnetzwerk",
                                  "Pi - Anpassnetzwerk",
                                  "T - Anpassnetzwerk"};
    QCOMPARE(tabs->count(), expected.size());
    for (int i = 0; i < tabs->count(); ++i) QCOMPARE(tabs->tabText(i), expected[i]);

    // Left to right "Optionen", "Info", "Ende"; tab order "Ende", "Info", "Optionen".
    auto* ende = window.findChild<QPushButton*>("ButtonOK");
    auto* info = window.findChild<QPushButton*>("Button4");
    auto* options = window.findChild<QPushButton*>("Button6");
    QVERIFY(ende && info && options);
    QCOMPARE(ende->text(), QStringLiteral("Ende"));
    QCOMPARE(info->text(), QStringLiteral("Info"));
    QCOMPARE(options->text(), QStringLiteral("Optionen"));
    window.setOptionsDialog(&window);  // any widget: the button shows once there is a dialog
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(options->x() < info->x() && info->x() < ende->x());
    QCOMPARE(ende->nextInFocusChain(), info);
    QCOMPARE(info->nextInFocusChain(), options);

    // Close to the designed 711 x 547, never clipped.
    QVERIFY(window.width() >= 700 && window.width() <= 760);
    QVERIFY(window.height() >= 540 && window.height() <= 600);

    // "Ende" closes the window, which ends the program.
    ende->click();
    QVERIFY(!window.isVisible());
}

void MainWindowTest::pagesAreBuiltWhenFirstShownAndBound() {
    Form form;
    BuildModel(form);
    MainWindow window(form);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.pageBuilt(0));
    QVERIFY(!window.pageBuilt(3));

    // The model chooses the page; the widget follows and the page gets built.
    form.setPage("PageControl1", 3);
    window.binder().repaint();
    QCOMPARE(window.pageControl()->currentIndex(), 3);
    QVERIFY(window.pageBuilt(3));

    // The dB tab opens on "Spannung"; every tab has its help label.
    auto* inner = window.findChild<QTabWidget*>("PageControl2");
    QVERIFY(inner);
    QCOMPARE(inner->tabText(0), QStringLiteral("Leistung"));
    QCOMPARE(inner->tabText(1), QStringLiteral("Spannung"));
    QCOMPARE(inner->currentIndex(), 1);
    window.ensureAllPages();
    OptionsDialog options(&window);
    QVERIFY(window.binder().bind(&options).isEmpty());
    for (const char* name :
         {"Label192", "Label189", "Label188", "Label187", "Label186", "Label184", "Label183",
          "Label182", "Label193", "Label194", "Label195", "Label196"}) {
        auto* label = window.findChild<QLabel*>(name);
        QVERIFY2(label, name);
        QCOMPARE(label->text(), QStringLiteral("Hilfe - F1"));
        QCOMPARE(window.binder().widget(name), label);
    }
    // Every control of the model has its widget once all pages exist, and every
    // value and unit a user can change is announced by name to screen readers.
    for (const auto& [name, control] : form.controls()) {
        QWidget* w = window.binder().widget(name);
        QVERIFY2(w != nullptr, name.c_str());
        if (form.fieldOfEdit(name) != nullptr || form.fieldOfSelector(name) != nullptr) {
            QVERIFY2(!w->accessibleName().isEmpty(), name.c_str());
        }
    }
    // Results too: a screen reader says what a number is.
    QStringList unnamed;
    for (QLineEdit* edit : window.findChildren<QLineEdit*>()) {
        if (edit->accessibleName().isEmpty() &&
            !edit->objectName().isEmpty() && !edit->parent()->inherits("QComboBox"))
            unnamed << edit->objectName();
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char(' '))));
}

namespace {

// A window of the tests' own with one field: edit, selector and a second edit.
struct FieldWindow {
    Form form;
    QWidget window;
    Binder binder{form};
    QtSink sink{binder, &window};
    QLineEdit* edit = new QLineEdit(&window);
    QComboBox* unit = new QComboBox(&window);
    QLineEdit* other = new QLineEdit(&window);
    std::vector<double> received;
    int leaves = 0;

    FieldWindow() {
        form.setSink(&sink);
        form.state.DecimalPlaces = 3;
        form.addEdit("U_E", " 1,000");
        form.addSelector("U_C", kVolt, 8);
        form.addEdit("Other", " 2,000");
        form.addField({.edit = "U_E",
                       .selector = "U_C",
                       .lower = "1e-12",
                       .upper = "1e12",
                       .word = " Volt",
                       .compute = [this](double v) { received.push_back(v); },
                       .reformat = "U"});
        form.addReformat("U", [this] { form.restep("U_E", "U_C"); });
        form.setExitHandler("U_E", [this] { ++leaves; });
        edit->setObjectName("U_E");
        unit->setObjectName("U_C");
        other->setObjectName("Other");
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(unit);
        layout->addWidget(other);
        binder.bind(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::setActiveWindow(&window);
        edit->setFocus(Qt::MouseFocusReason);
    }
};

}  // namespace

void MainWindowTest::enterInARealEditReachesTheModel() {
    FieldWindow w;
    QCOMPARE(w.edit->text(), QStringLiteral(" 1,000"));
    QCOMPARE(w.unit->currentText(), QStringLiteral(" Volt"));
    w.edit->clear();
    QTest::keyClicks(w.edit, "2.5");  // the point key becomes the comma
    QCOMPARE(w.edit->text(), QStringLiteral("2,5"));
    QCOMPARE(QString::fromStdString(w.form.text("U_E")), QStringLiteral("2,5"));
    QVERIFY(w.received.empty());
    QTest::keyClick(w.edit, Qt::Key_Return);
    QCOMPARE(w.received.size(), std::size_t{1});
    QCOMPARE(w.received[0], 2.5);
    QCOMPARE(w.edit->text(), QStringLiteral(" 2,500"));  // repainted from the model

    w.edit->clear();
    QTest::keyClicks(w.edit, "1500");
    QTest::keyClick(w.edit, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(w.edit->text(), QStringLiteral(" 1,500"));
    QCOMPARE(w.unit->currentIndex(), 7);
}

void MainWindowTest::refusedEnterShowsTheBoxAndRestoresTheText() {
    FieldWindow w;
    BoxCloser closer;
    closer.arm();
    QVERIFY(w.edit->hasFocus());
    w.edit->clear();
    QTest::keyClicks(w.edit, "5e15");
    QTest::keyClick(w.edit, Qt::Key_Return);
    QCOMPARE(closer.seen, 1);
    QCOMPARE(closer.title, QStringLiteral("Fehler"));
    QCOMPARE(closer.text,
             QString::fromUtf8("Die Eingabe5e15 Volt  ist ausserhalb\n\n"
                               "des g\u00fcltigen Wertebereiches:1e-12 bis 1e12 Volt"));
    QCOMPARE(w.edit->text(), QStringLiteral(" 1,000"));
    QVERIFY(w.received.empty());
    // The box took the focus and gave it back: that is no leaving of the field.
    QCOMPARE(w.leaves, 0);

    // A real move to another control is.
    QApplication::setActiveWindow(&w.window);
    QTRY_VERIFY(w.edit->hasFocus());
    w.other->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.leaves, 1);

    // The general error report carries the application title.
    closer.arm();
    w.edit->setFocus(Qt::MouseFocusReason);
    w.edit->clear();
    QTest::keyClicks(w.edit, "abc");
    w.binder.run([&] { w.form.chooseItem("U_C", 9); });
    QCOMPARE(closer.seen, 2);
    QCOMPARE(closer.title, QStringLiteral("kl. Velkaro V3.0"));
    QCOMPARE(closer.text, QString::fromUtf8("'abc' ist kein g\u00fcltiger Gleitkommawert."));
}

void MainWindowTest::unitChoiceIsTheUsersOnly() {
    FieldWindow w;
    // Repainting a selector from the model is no user's choice.
    w.form.setIndex("U_C", 9);
    w.binder.repaint();
    QCOMPARE(w.unit->currentIndex(), 9);
    QVERIFY(w.received.empty());
    // The user's choice is.
    w.unit->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.form.state.SavedUnitIndex, 9);
    emit w.unit->activated(8);
    QCOMPARE(w.received.size(), std::size_t{1});
    QCOMPARE(w.received[0], 1.0);
}

void MainWindowTest::optionsReformatAtOnceAndSwitchHints() {
    Form form;
    BuildModel(form);
    form.addEdit("Probe", " 12,345");
    form.addReformat("dBm_Eingaben_formatieren", [&form] { form.reformatPlain("Probe"); });
    MainWindow window(form);
    OptionsDialog options(&window);
    window.binder().bind(&options);
    window.setOptionsDialog(&options);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The "Optionen" button shows the one dialog, modeless.
    auto* button = window.findChild<QPushButton*>("Button6");
    button->click();
    button->click();
    QVERIFY(options.isVisible());
    QVERIFY(!options.isModal());
    QCOMPARE(options.windowTitle(), QStringLiteral("  Optionen"));
    QCOMPARE(options.findChildren<QDialog*>().size(), 0);

    auto* none = options.findChild<QRadioButton*>("RadioButtonohne");
    QCOMPARE(none->text(), QStringLiteral("1"));
    QCOMPARE(options.findChild<QRadioButton*>("RadioButton3")->text(), QStringLiteral("1,000"));
    QCOMPARE(options.findChild<QCheckBox*>("CBKurzhinweise")->text(),
             QStringLiteral("Kurzhinweise  "));
    QTest::mouseClick(none, Qt::LeftButton);
    QCOMPARE(form.state.DecimalPlaces, 0);
    QCOMPARE(QString::fromStdString(form.text("Probe")), QStringLiteral(" 12"));  // no Enter needed
    QVERIFY(none->isChecked());

    // Hints: off from the start, on and off again with the check box.
    auto* ende = window.findChild<QPushButton*>("ButtonOK");
    ende->setToolTip(QStringLiteral("Programm beenden"));
    const auto tip = [&] {
        QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), ende->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(ende, &event);
        return QToolTip::isVisible();
    };
    QVERIFY(!tip());
    QTest::mouseClick(options.findChild<QCheckBox*>("CBKurzhinweise"), Qt::LeftButton);
    QVERIFY(form.state.ShowHint);
    QVERIFY(tip());
    QToolTip::hideText();
    QTest::mouseClick(options.findChild<QCheckBox*>("CBKurzhinweise"), Qt::LeftButton);
    QTRY_VERIFY(!QToolTip::isVisible());
    QVERIFY(!tip());

    // "OK" hides the dialog; it is not destroyed.
    QTest::mouseClick(options.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QVERIFY(!options.isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
