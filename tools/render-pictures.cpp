// Build-time helper: renders the schematics to PNG at the usual screen scales,
// so that the program draws its pictures without parsing SVG (and without a
// second font engine for their captions) while it starts.
//
//     render-pictures out-dir scale,scale,... picture.svg...
//
// For every picture and scale it writes NAME@SCALE.raw: width and height (two
// 32-bit little-endian numbers), the drawing as it is with its ink (#000000)
// black (premultiplied ARGB32, row by row), and how much ink each pixel shows
// (one byte, 0 … 255). The program adds the ink in the palette's text colour
// to the drawing: together they are what the picture looks like with the ink
// in that colour, anti-aliased edges included. Raw pixels, because the
// resource compiler compresses them well and reading them back needs no image
// decoder (whose plugin lookup costs more than the decoding).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdio>

namespace {

QImage render(const QByteArray& source, double scale) {
    QSvgRenderer renderer(source);
    if (!renderer.isValid()) return {};
    const QSize logical = renderer.defaultSize();
    QImage image(logical * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(logical)));
    painter.end();
    return image;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s out-dir scale,... picture.svg...\n", argv[0]);
        return 2;
    }
    // The captions need fonts, and fonts need an application; no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "%s: cannot create %s\n", argv[0], argv[1]);
        return 1;
    }
    const QStringList scales = QString::fromLatin1(argv[2]).split(QLatin1Char(','));
    for (int i = 3; i < argc; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[i]);
            return 1;
        }
        const QByteArray source = file.readAll();
        QByteArray white = source;
        white.replace("#000000", "#ffffff");
        const QString name = QFileInfo(file.fileName()).fileName();
        for (const QString& s : scales) {
            const double scale = s.toDouble();
            const QImage drawing = render(source, scale);
            const QImage lit = render(white, scale);
            if (drawing.isNull() || lit.isNull()) {
                std::fprintf(stderr, "%s: cannot render %s\n", argv[0], argv[i]);
                return 1;
            }
            // Where ink shows, the white rendering is brighter by exactly the
            // ink's coverage (premultiplied values).
            QImage ink(drawing.size(), QImage::Format_Grayscale8);
            for (int y = 0; y < drawing.height(); ++y) {
                const auto* d = reinterpret_cast<const QRgb*>(drawing.constScanLine(y));
                const auto* w = reinterpret_cast<const QRgb*>(lit.constScanLine(y));
                uchar* m = ink.scanLine(y);
                for (int x = 0; x < drawing.width(); ++x)
                    m[x] = static_cast<uchar>(std::clamp(qGreen(w[x]) - qGreen(d[x]), 0, 255));
            }
            QFile raw(out.filePath(QStringLiteral("%1@%2.raw").arg(name, s)));
            QByteArray data;
            for (const quint32 n : {quint32(drawing.width()), quint32(drawing.height())}) {
                for (int shift = 0; shift < 32; shift += 8) data.append(char((n >> shift) & 0xff));
            }
            for (int y = 0; y < drawing.height(); ++y) {
                const auto* d = reinterpret_cast<const QRgb*>(drawing.constScanLine(y));
                for (int x = 0; x < drawing.width(); ++x) {
                    for (int shift = 0; shift < 32; shift += 8) data.append(char((d[x] >> shift) & 0xff));
                }
            }
            for (int y = 0; y < ink.height(); ++y)
                data.append(reinterpret_cast<const char*>(ink.constScanLine(y)), ink.width());
            if (!raw.open(QIODevice::WriteOnly) || raw.write(data) != data.size()) {
                std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(raw.fileName()));
                return 1;
            }
        }
    }
    return 0;
}
