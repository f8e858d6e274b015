// The program's style draws parts of a repaint itself; what it draws must be
// what a full paint of the window shows there.
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <QtTest>

#include "style.h"

using namespace velkaro;

class StyleTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void partialRepaintsMatchAFullPaint_data();
    void partialRepaintsMatchAFullPaint();
    void fieldsLookAsTheBaseStyleDrawsThem_data();
    void fieldsLookAsTheBaseStyleDrawsThem();
};

namespace {

// A page as the forms build them: fields in a titled group box inside another.
struct Page {
    QWidget window;
    QGroupBox* outer = nullptr;
    QGroupBox* inner = nullptr;
    QLineEdit* field = nullptr;
    QLineEdit* result = nullptr;

    Page() {
        auto* layout = new QVBoxLayout(&window);
        outer = new QGroupBox(QStringLiteral("Eingaben"));
        layout->addWidget(outer);
        auto* outerLayout = new QVBoxLayout(outer);
        inner = new QGroupBox(QStringLiteral("Ausgaben"));
        outerLayout->addWidget(inner);
        auto* grid = new QGridLayout(inner);
        field = new QLineEdit(QStringLiteral(" 20,000"));
        result = new QLineEdit(QStringLiteral(" 7,071"));
        result->setReadOnly(true);
        grid->addWidget(new QLabel(QStringLiteral("Dämpfung")), 0, 0);
        grid->addWidget(field, 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("Faktor")), 1, 0);
        grid->addWidget(result, 1, 1);
        window.resize(320, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

QImage fullPaint(QWidget& window) { return window.grab().toImage().convertToFormat(QImage::Format_ARGB32); }

// Paints only `region` of the window, as the repaint of a changed field does,
// over a colour no part of the window has.
QImage partialPaint(QWidget& window, const QRegion& region) {
    QImage image(window.size(), QImage::Format_ARGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    window.render(&painter, region.boundingRect().topLeft(), region);
    painter.end();
    return image;
}

}  // namespace

void StyleTest::initTestCase() {
    auto* style = new ProgramStyle;
    QApplication::setStyle(style);
    // Elsewhere the platform's style draws everything itself.
    if (style->baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        QSKIP("the program draws parts of Fusion only");
}

void StyleTest::partialRepaintsMatchAFullPaint_data() {
    QTest::addColumn<QString>("what");
    QTest::newRow("the field") << "field";
    QTest::newRow("the result") << "result";
    QTest::newRow("field and result") << "both";
    QTest::newRow("across the inner frame") << "inner frame";
    QTest::newRow("over a title") << "title";
    QTest::newRow("the whole inner box") << "inner";
}

void StyleTest::partialRepaintsMatchAFullPaint() {
    QFETCH(QString, what);
    Page page;
    const auto at = [&](QWidget* w) { return QRect(w->mapTo(&page.window, QPoint()), w->size()); };
    QRegion region;
    if (what == "field") region = at(page.field);
    if (what == "result") region = at(page.result);
    if (what == "both") region = QRegion(at(page.field)) + at(page.result);
    if (what == "inner frame") region = at(page.inner).adjusted(-3, 20, 3, -20);
    if (what == "title") region = QRect(at(page.outer).topLeft(), QSize(60, 30));
    if (what == "inner") region = at(page.inner);

    // The reference: a full paint with the boxes drawn by the style alone.
    QStyle* style = QApplication::style();
    page.outer->removeEventFilter(style);
    page.inner->removeEventFilter(style);
    const QImage full = fullPaint(page.window);
    page.outer->installEventFilter(style);
    page.inner->installEventFilter(style);
    const QImage partial = partialPaint(page.window, region);
    int differing = 0;
    for (const QRect& r : region) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                if (full.pixel(x, y) != partial.pixel(x, y)) ++differing;
            }
        }
    }
    QCOMPARE(differing, 0);
}

// Fields draw their frames from drawings shared by every field of the same
// size, state and palette; each must look as the base style draws it directly.
void StyleTest::fieldsLookAsTheBaseStyleDrawsThem_data() {
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"plain", "focused", "read-only", "disabled", "result palette", "no frame"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void StyleTest::fieldsLookAsTheBaseStyleDrawsThem() {
    QFETCH(QString, kind);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    // Two fields alike, and one of another size, all in the same state: the
    // second of a kind is drawn from the first one's drawing.
    QList<QLineEdit*> fields;
    for (const int width : {110, 110, 86}) {
        auto* field = new QLineEdit(QStringLiteral(" 1,000"));
        field->setFixedWidth(width);
        layout->addWidget(field);
        fields.append(field);
    }
    for (QLineEdit* field : fields) {
        if (kind == "read-only") field->setReadOnly(true);
        if (kind == "disabled") field->setEnabled(false);
        if (kind == "no frame") field->setFrame(false);
        if (kind == "result palette") {
            QPalette palette = field->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Window).darker(104));
            field->setPalette(palette);
        }
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (kind == "focused") {
        window.activateWindow();
        fields[1]->setFocus();
        QTRY_VERIFY(fields[1]->hasFocus());
    }
    QStyle* base = QStyleFactory::create(QStringLiteral("Fusion"));
    for (QLineEdit* field : fields) {
        const QImage drawn = field->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        field->setStyle(base);
        const QImage direct = field->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        field->setStyle(nullptr);
        QCOMPARE(drawn.size(), direct.size());
        int worst = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                const QRgb a = drawn.pixel(x, y);
                const QRgb b = direct.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            }
        }
        // Blending the frame's edge onto the field's background in one step
        // or two may round one level apart.
        QVERIFY2(worst <= 1, qPrintable(QStringLiteral("%1 levels apart").arg(worst)));
    }
    delete base;
}

QTEST_MAIN(StyleTest)
#include "tst_style.moc"
