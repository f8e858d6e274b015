// The build's renderings of the schematics must look exactly like drawing the
// SVG: at every usual scale, with the ink in any colour.
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QtTest>

#include "calc/window.h"
#include "core/form.h"
#include "mainwindow.h"
#include "pictures.h"

using namespace velkaro;

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void renderingsMatchTheDrawings_data();
    void renderingsMatchTheDrawings();
    void otherScalesAndSizesAreDrawn();
    void everyFormPictureIsRenderedAtItsSize();
};

void PicturesTest::renderingsMatchTheDrawings_data() {
    QTest::addColumn<QString>("resource");
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<QColor>("ink");
    const QStringList pictures = QDir(QStringLiteral(":/pictures")).entryList({"*.svg"});
    QVERIFY(pictures.size() >= 8);
    for (const QString& name : pictures) {
        for (const qreal scale : {1.0, 1.25, 1.5, 2.0}) {
            for (const QColor& ink : {QColor(Qt::black), QColor(0xfc, 0xfc, 0xfc), QColor(0x40, 0x80, 0xc0)}) {
                QTest::addRow("%s@%g %s", qPrintable(name), scale, qPrintable(ink.name()))
                    << QStringLiteral(":/pictures/") + name << scale << ink;
            }
        }
    }
}

void PicturesTest::renderingsMatchTheDrawings() {
    QFETCH(QString, resource);
    QFETCH(qreal, scale);
    QFETCH(QColor, ink);
    const QPixmap rendered = renderedPicture(resource, QSize(), scale, ink);
    const QPixmap drawn = drawnPicture(resource, QSize(), scale, ink);
    QVERIFY(!rendered.isNull());
    QVERIFY(!drawn.isNull());
    QCOMPARE(rendered.size(), drawn.size());
    QCOMPARE(rendered.devicePixelRatio(), scale);
    const QImage a = rendered.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = drawn.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    // Rounding of the coverage only: one step of 255.
    QVERIFY2(worst <= 2, qPrintable(QStringLiteral("largest difference %1").arg(worst)));
}

void PicturesTest::otherScalesAndSizesAreDrawn() {
    const QString resource = QStringLiteral(":/pictures/ps_serie.svg");
    QVERIFY(renderedPicture(resource, QSize(), 3.0, Qt::black).isNull());
    QVERIFY(renderedPicture(resource, QSize(17, 13), 1.0, Qt::black).isNull());
    const QPixmap odd = svgPixmap(resource, QSize(), 3.0, Qt::black);
    QVERIFY(!odd.isNull());
    QCOMPARE(odd.devicePixelRatio(), 3.0);
    QCOMPARE(svgPixmap(resource, QSize(17, 13), 1.0, Qt::black).size(), QSize(17, 13));
}

// A form that shows a picture at another size than the drawing's own would
// parse SVG at start-up again.
void PicturesTest::everyFormPictureIsRenderedAtItsSize() {
    Form form(',');
    BuildModel(form);
    MainWindow window(form);
    window.ensureAllPages();
    int pictures = 0;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        const QString resource = label->property("svg").toString();
        if (resource.isEmpty()) continue;
        ++pictures;
        QCOMPARE(label->minimumSize(), label->maximumSize());
        QVERIFY2(!renderedPicture(resource, label->minimumSize(), 1.0, Qt::black).isNull(),
                 qPrintable(label->objectName() + QStringLiteral(": ") + resource));
    }
    QVERIFY(pictures >= 20);
}

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
