// The window as a desktop user meets it: keyboard-only use of radio groups,
// pasting, the mouse wheel, typed but not entered values, read-only results,
// the dark palette, Qt's German texts and the program icon.

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtTest>

#include <array>
#include <memory>

#include "binder.h"
#include "calc/window.h"
#include "desktop.h"
#include "look.h"
#include "optionsdialog.h"
#include "pictures.h"
#include "qtsink.h"

using namespace velkaro;

namespace {

const UnitList kVolt = {{"YVolt", "ZVolt", "EVolt", "PVolt", "TVolt", "GVolt", "MVolt", "kVolt",
                         " Volt", "mVolt", "\u00b5Volt", "nVolt", "pVolt", "fVolt", "aVolt",
                         "zVolt", "yVolt"}};

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    p.setColor(QPalette::AlternateBase, QColor(0x2c, 0x2c, 0x2c));
    p.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::Button, QColor(0x3c, 0x3c, 0x3c));
    p.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    p.setColor(QPalette::Highlight, QColor(0x3d, 0x8e, 0xe0));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    return p;
}

// WCAG contrast ratio of two colours.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a) + 0.05;
    const double lb = luminance(b) + 0.05;
    return la > lb ? la / lb : lb / la;
}

// Sets a palette for one test and puts the previous one back afterwards.
struct PaletteScope {
    QPalette saved = QApplication::palette();
    explicit PaletteScope(const QPalette& p) { QApplication::setPalette(p); }
    ~PaletteScope() { QApplication::setPalette(saved); }
};

// Closes the next modal message box.
void closeNextBox() {
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->accept();
        } else {
            closeNextBox();
        }
    });
}

// A window of the tests' own: a field (edit and unit list), a group of three
// radio buttons, a read-only result, an edit in a grey font, a picture and a
// note, bound like a tab's form.
struct Window {
    Form form;
    QWidget window;
    Binder binder{form};
    QtSink sink{binder, &window};
    QLineEdit* edit = new QLineEdit(&window);
    QComboBox* unit = new QComboBox(&window);
    QGroupBox* box = new QGroupBox(QStringLiteral("Auswahl"), &window);
    std::array<QRadioButton*, 3> radios{};
    std::array<int, 3> clicks{};
    QLineEdit* result = new QLineEdit(&window);
    QLineEdit* grey = new QLineEdit(&window);
    QLabel* picture = new QLabel(&window);
    QLabel* note =
        new QLabel(QStringLiteral("Die rot markierte\nRichtung wird berechnet!"), &window);
    QLabel* caption = new QLabel(&window);
    std::vector<double> received;

    explicit Window(char separator = ',') : form(separator) {
        form.setSink(&sink);
        form.state.DecimalPlaces = 3;
        form.addEdit("U_E", separator == ',' ? " 1,000" : " 1.000");
        form.addSelector("U_C", kVolt, 8);
        form.addField({.edit = "U_E",
                       .selector = "U_C",
                       .lower = "1e-12",
                       .upper = "1e12",
                       .word = " Volt",
                       .compute = [this](double v) { received.push_back(v); },
                       .reformat = "U"});
        form.addReformat("U", [this] { form.restep("U_E", "U_C"); });
        form.addEdit("R_E", " 47,000").readOnly = true;
        form.addEdit("Q_E", " 5,000").fontColour = colour::kSilver;
        form.addLabel("Q_Lbl", "G\u00fcte").fontColour = colour::kMedGray;
        edit->setObjectName("U_E");
        unit->setObjectName("U_C");
        result->setObjectName("R_E");
        grey->setObjectName("Q_E");
        caption->setObjectName("Q_Lbl");
        auto* inBox = new QVBoxLayout(box);
        const std::array<const char*, 3> names = {"G_RB_F", "G_RB_L", "G_RB_X"};
        for (std::size_t i = 0; i < radios.size(); ++i) {
            form.addRadio(names[i], "G", [this, i] { ++clicks[i]; });
            radios[i] = new QRadioButton(QString::fromLatin1(names[i]), box);
            radios[i]->setObjectName(names[i]);
            inBox->addWidget(radios[i]);
        }
        form.setChecked("G_RB_L", true);
        clicks = {};
        picture->setProperty("svg", QStringLiteral(":/pictures/pit_pi.svg"));
        note->setProperty("note", true);

        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w :
             std::initializer_list<QWidget*>{edit, unit, box, result, grey, picture, note}) {
            layout->addWidget(w);
        }
        binder.bind(&window);
        showPictures(&window);
        showNotes(&window);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qFatal("window not exposed");
        QApplication::setActiveWindow(&window);
    }

    int checkedRadio() const {
        for (std::size_t i = 0; i < radios.size(); ++i) {
            if (radios[i]->isChecked()) return static_cast<int>(i);
        }
        return -1;
    }
};

}  // namespace

class NativeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    // Radio groups
    void radioButtonsAreAnnouncedAsSuch();
    void arrowKeysMoveTheChoiceAndClickOnce();
    void aGroupIsOneTabStop();

    // Entry
    void pastedAndDroppedSeparatorsAreMapped();
    void wheelChangesOnlyAFocusedUnitList();
    void typedButNotEnteredIsItalic();

    // Colours from the palette
    void readOnlyResultsAndGreyTextFollowThePalette();
    void picturesAndNotesFollowTheDarkPalette();

    // Desktop
    void germanQtTextsAreLoadedForAGermanLocale();
    void programIconComesFromPngs();
};

void NativeTest::initTestCase() {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(QApplication::style()->standardPalette());
}

void NativeTest::radioButtonsAreAnnouncedAsSuch() {
    Window w;
    for (QRadioButton* radio : w.radios) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(radio);
        QVERIFY(a != nullptr);
        QCOMPARE(a->role(), QAccessible::RadioButton);
        QCOMPARE(a->state().checked, radio->isChecked());
    }
    QVERIFY(QAccessible::queryAccessibleInterface(w.radios[1])->state().checked);

    // The Options dialog's choices too.
    Form form;
    BuildModel(form);
    Binder binder(form);
    OptionsDialog options(nullptr);
    QVERIFY(binder.bind(&options).isEmpty());
    for (const char* name : {"RadioButtonohne", "RadioButton1", "RadioButton2", "RadioButton3"}) {
        auto* radio = options.findChild<QRadioButton*>(name);
        QVERIFY2(radio, name);
        QCOMPARE(QAccessible::queryAccessibleInterface(radio)->role(), QAccessible::RadioButton);
    }
}

void NativeTest::arrowKeysMoveTheChoiceAndClickOnce() {
    Window w;
    w.radios[1]->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.checkedRadio(), 1);

    // Each step checks the next button in the model, runs its click once and
    // takes the focus along; past the end it goes round.
    struct Step {
        Qt::Key key;
        int checked;
        std::array<int, 3> clicks;
    };
    const Step steps[] = {
        {Qt::Key_Down, 2, {0, 0, 1}},
        {Qt::Key_Right, 0, {1, 0, 1}},
        {Qt::Key_Up, 2, {1, 0, 2}},
        {Qt::Key_Left, 1, {1, 1, 2}},
    };
    for (const Step& step : steps) {
        QTest::keyClick(QApplication::focusWidget(), step.key);
        QCOMPARE(w.checkedRadio(), step.checked);
        QVERIFY(w.form.checked(
            w.radios[static_cast<std::size_t>(step.checked)]->objectName().toStdString()));
        QCOMPARE(QApplication::focusWidget(), w.radios[static_cast<std::size_t>(step.checked)]);
        QCOMPARE(w.clicks, step.clicks);
    }

    // A button the model has disabled is passed over.
    w.form.setEnabled("G_RB_X", false);
    w.binder.repaint();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(w.checkedRadio(), 0);
    QCOMPARE(w.clicks, (std::array<int, 3>{2, 1, 2}));
}

void NativeTest::aGroupIsOneTabStop() {
    Window w;
    QWidget::setTabOrder(w.unit, w.radios[0]);
    QWidget::setTabOrder(w.radios[0], w.radios[1]);
    QWidget::setTabOrder(w.radios[1], w.radios[2]);
    QWidget::setTabOrder(w.radios[2], w.result);
    w.unit->setFocus(Qt::TabFocusReason);
    const auto tab = [](Qt::Key key = Qt::Key_Tab) {
        QTest::keyClick(QApplication::focusWidget(), key);
        return QApplication::focusWidget();
    };
    // Into the group: its checked button; out of it at the next Tab.
    QCOMPARE(tab(), w.radios[1]);
    QCOMPARE(tab(), w.result);
    QCOMPARE(tab(Qt::Key_Backtab), w.radios[1]);
    QCOMPARE(tab(Qt::Key_Backtab), w.unit);

    // The stop follows the choice, also one made in the model.
    w.form.setChecked("G_RB_X", true);
    w.binder.repaint();
    QCOMPARE(tab(), w.radios[2]);
    QCOMPARE(tab(), w.result);
    // A mouse click still reaches every button.
    QVERIFY(w.radios[0]->focusPolicy() & Qt::ClickFocus);
    QTest::mouseClick(w.radios[0], Qt::LeftButton, {}, QPoint(6, w.radios[0]->height() / 2));
    QCOMPARE(w.checkedRadio(), 0);
    QCOMPARE(w.clicks[0], 1);
}

void NativeTest::pastedAndDroppedSeparatorsAreMapped() {
    for (const char separator : {',', '.'}) {
        Window w(separator);
        const QString sep(QChar::fromLatin1(separator));
        const QString other = separator == ',' ? QStringLiteral(".") : QStringLiteral(",");
        w.edit->setFocus(Qt::MouseFocusReason);
        w.edit->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("3") + other + QStringLiteral("3"));
        w.edit->paste();
        QCOMPARE(w.edit->text(), QStringLiteral("3") + sep + QStringLiteral("3"));
        QCOMPARE(QString::fromStdString(w.form.text("U_E")), w.edit->text());
        QTest::keyClick(w.edit, Qt::Key_Return);
        QCOMPARE(w.received.size(), std::size_t{1});
        QCOMPARE(w.received[0], 3.3);

        // Dropped text: only what arrived is mapped.
        w.edit->setText(QStringLiteral("12"));
        QMimeData mime;
        mime.setText(other + QStringLiteral("5"));
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.edit, &enter);
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.edit, &drop);
        QVERIFY2(w.edit->text().contains(sep + QStringLiteral("5")), qPrintable(w.edit->text()));
        QVERIFY(!w.edit->text().contains(other));
        QCOMPARE(QString::fromStdString(w.form.text("U_E")), w.edit->text());

        // Typed keys keep their mapping.
        w.edit->clear();
        QTest::keyClicks(w.edit, QStringLiteral("7") + other + QStringLiteral("5"));
        QCOMPARE(w.edit->text(), QStringLiteral("7") + sep + QStringLiteral("5"));
    }
}

void NativeTest::wheelChangesOnlyAFocusedUnitList() {
    Window w;
    QCOMPARE(w.unit->focusPolicy(), Qt::StrongFocus);  // the wheel gives it no focus
    const auto wheel = [&w] {
        QWheelEvent event(QPointF(5, 5), w.unit->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.unit, &event);
        return event.isAccepted();
    };
    w.edit->setFocus(Qt::MouseFocusReason);
    // Passing over: the list ignores the wheel, so the window gets it.
    QVERIFY(!wheel());
    QCOMPARE(w.unit->currentIndex(), 8);
    QCOMPARE(w.form.index("U_C"), 8);
    QVERIFY(w.received.empty());

    // With the focus it is the user's choice, as by the keyboard.
    w.unit->setFocus(Qt::TabFocusReason);
    QVERIFY(wheel());
    QCOMPARE(w.unit->currentIndex(), 9);
    QCOMPARE(w.form.index("U_C"), 9);
    QCOMPARE(w.received.size(), std::size_t{1});
    QCOMPARE(w.received[0], 1e-3);
}

void NativeTest::typedButNotEnteredIsItalic() {
    Window w;
    const auto italic = [&w] { return w.edit->font().italic(); };
    w.edit->setFocus(Qt::MouseFocusReason);
    QVERIFY(!italic());

    // Typed: italic until Enter.
    w.edit->selectAll();
    QTest::keyClicks(w.edit, "5");
    QVERIFY(italic());
    QTest::keyClick(w.edit, Qt::Key_Return);
    QVERIFY(!italic());

    // Entered but refused: the undo ends it too.
    w.edit->clear();
    QTest::keyClicks(w.edit, "abc");
    QVERIFY(italic());
    closeNextBox();
    QTest::keyClick(w.edit, Qt::Key_Return);
    QCOMPARE(w.edit->text(), QStringLiteral(" 5,000"));
    QVERIFY(!italic());

    // Written by the program, even with the very text typed.
    QTest::keyClicks(w.edit, "1");
    QVERIFY(italic());
    w.binder.run([&w] { w.form.setText("U_E", " 5,0001"); });
    QVERIFY(!italic());
    QTest::keyClicks(w.edit, "2");
    QVERIFY(italic());
    w.binder.run([&w] { w.form.setText("U_E", " 7,000"); });
    QVERIFY(!italic());
    QCOMPARE(w.edit->text(), QStringLiteral(" 7,000"));

    // Typed back to what stood there: nothing pending.
    QTest::keyClicks(w.edit, "9");
    QVERIFY(italic());
    QTest::keyClick(w.edit, Qt::Key_Backspace);
    QVERIFY(!italic());
    // Leaving the field keeps the typed text, and its mark.
    QTest::keyClicks(w.edit, "9");
    w.result->setFocus(Qt::TabFocusReason);
    QVERIFY(italic());
}

void NativeTest::readOnlyResultsAndGreyTextFollowThePalette() {
    Window w;
    const auto check = [&w] {
        const QPalette app = QApplication::palette(w.result);
        // A result: read-only background, full text colour, different from an input.
        const QColor resultBase = w.result->palette().color(QPalette::Active, QPalette::Base);
        QCOMPARE(resultBase, look::readOnlyBase(app));
        QVERIFY(resultBase != app.color(QPalette::Base));
        QCOMPARE(w.result->palette().color(QPalette::Active, QPalette::Text),
                 app.color(QPalette::Text));
        QCOMPARE(w.edit->palette().color(QPalette::Active, QPalette::Base),
                 app.color(QPalette::Base));
        QVERIFY(contrast(app.color(QPalette::Text), resultBase) >= 7.0);
        // Greyed text: grey, yet readable on the field.
        const QColor grey = w.grey->palette().color(QPalette::Active, QPalette::Text);
        QCOMPARE(grey, look::mutedText(app));
        QVERIFY(grey != app.color(QPalette::Text));
        QVERIFY(contrast(grey, app.color(QPalette::Base)) >= 4.5);
        QVERIFY(contrast(grey, app.color(QPalette::Text)) >= 1.8);
        // A grey caption on the window likewise.
        const QColor greyCaption =
            w.caption->palette().color(QPalette::Active, QPalette::WindowText);
        QCOMPARE(greyCaption, look::mutedText(app, QPalette::WindowText, QPalette::Window));
        QVERIFY(contrast(greyCaption, app.color(QPalette::Window)) >= 3.0);
        // What is drawn is what the palette says.
        QApplication::processEvents();
        const QImage shot = w.result->grab().toImage();
        QCOMPARE(shot.pixelColor(w.result->width() - 6, w.result->height() / 2), resultBase);
    };
    check();
    {
        PaletteScope dark(darkPalette());
        QApplication::processEvents();
        check();
        QCOMPARE(w.edit->palette().color(QPalette::Active, QPalette::Base),
                 QColor(0x24, 0x24, 0x24));
        // The model's change of colour is followed in the dark palette as well.
        w.binder.run([&w] { w.form.setFontColour("Q_E", colour::kWindowText); });
        QCOMPARE(w.grey->palette().color(QPalette::Active, QPalette::Text),
                 QColor(0xee, 0xee, 0xee));
        // Plain black, as stored for a quality field that is switched on, is the
        // text colour as well: black would vanish here.
        w.binder.run([&w] { w.form.setFontColour("Q_E", colour::kBlack); });
        QCOMPARE(w.grey->palette().color(QPalette::Active, QPalette::Text),
                 QColor(0xee, 0xee, 0xee));
        // A result that becomes an input looks like one.
        w.binder.run([&w] { w.form.setReadOnly("R_E", false); });
        QCOMPARE(w.result->palette().color(QPalette::Active, QPalette::Base),
                 QColor(0x24, 0x24, 0x24));
    }
    QApplication::processEvents();
    QCOMPARE(w.result->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::white));
    QCOMPARE(w.grey->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::black));
}

void NativeTest::picturesAndNotesFollowTheDarkPalette() {
    Window w;
    // The colours a picture is drawn in: opaque pixels only.
    const auto ink = [](const QPixmap& pixmap) {
        int darkest = 255;
        int lightest = 0;
        const QImage image = pixmap.toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() < 250) continue;
                darkest = std::min(darkest, c.lightness());
                lightest = std::max(lightest, c.lightness());
            }
        }
        return std::pair{darkest, lightest};
    };
    const auto noteBackground = [&w] {
        QApplication::processEvents();
        return w.note->grab().toImage().pixelColor(3, 3);
    };
    const auto light = ink(w.picture->pixmap());
    QCOMPARE(light.first, 0);  // black lines on a light window
    QCOMPARE(noteBackground(), QColor(0xff, 0xfb, 0xf0));
    {
        PaletteScope dark(darkPalette());
        QApplication::processEvents();
        const auto lines = ink(w.picture->pixmap());
        QCOMPARE(lines.first, QColor(0xee, 0xee, 0xee).lightness());  // all in the text colour
        const QColor card = noteBackground();
        QVERIFY(card != QColor(0xff, 0xfb, 0xf0));
        QVERIFY(contrast(card, QColor(0xee, 0xee, 0xee)) >= 7.0);
        QVERIFY(card.lightness() < 100);

        // The red markers stay red and readable on the dark window.
        const QImage arrow = svgPixmap(QStringLiteral(":/pictures/db_pfeil_rechts.svg"), QSize(),
                                       1.0, QColor(0xee, 0xee, 0xee))
                                 .toImage();
        const QColor red = arrow.pixelColor(60, 10);
        QCOMPARE(red, QColor(look::kMarkerRed));
        QVERIFY(contrast(red, QColor(0x35, 0x35, 0x35)) >= 3.0);
        QVERIFY(contrast(red, QColor(0xef, 0xef, 0xef)) >= 3.0);
    }
    QApplication::processEvents();
    QCOMPARE(ink(w.picture->pixmap()).first, 0);
    QCOMPARE(noteBackground(), QColor(0xff, 0xfb, 0xf0));
}

void NativeTest::germanQtTextsAreLoadedForAGermanLocale() {
    QVERIFY(!installQtTranslations(QLocale(QLocale::English, QLocale::UnitedStates)));
    QVERIFY(!installQtTranslations(QLocale(QLocale::French, QLocale::France)));
    QLineEdit edit(QStringLiteral("1,5"));
    const auto menuTexts = [&edit] {
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList texts;
        for (QAction* action : menu->actions()) texts << action->text().section('\t', 0, 0);
        return texts;
    };
    QVERIFY(menuTexts().contains(QStringLiteral("&Copy")));

    QVERIFY(installQtTranslations(QLocale(QLocale::German, QLocale::Austria)));
    const QStringList texts = menuTexts();
    QVERIFY2(texts.contains(QString::fromUtf8("&R\u00fcckg\u00e4ngig")),
             qPrintable(texts.join('|')));
    QVERIFY2(texts.contains(QStringLiteral("&Kopieren")), qPrintable(texts.join('|')));
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("OK"));
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
}

void NativeTest::programIconComesFromPngs() {
    const QIcon icon = programIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (const int size : {16, 24, 32, 48, 64}) {
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        // Drawn, not empty: the middle is opaque.
        QCOMPARE(image.pixelColor(size / 2, size / 2).alpha(), 255);
    }

    // The window gets it once it has drawn itself.
    QApplication::setWindowIcon(QIcon());
    QWidget window;
    showProgramIconAfterFirstFrame(&window);
    QVERIFY(QApplication::windowIcon().isNull());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(!window.windowIcon().isNull());
    QCOMPARE(window.windowIcon().availableSizes().size(), 5);
}

QTEST_MAIN(NativeTest)
#include "tst_native.moc"
