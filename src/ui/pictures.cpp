#include "pictures.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QResource>
#include <QSysInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QWidget>

#include "look.h"
#include "modules.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace velkaro {

namespace {

// The ink of the drawings' sources.
constexpr char kBlack[] = "#000000";

// The source of a drawing, read once.
QByteArray svgSource(const QString& resource) {
    static QHash<QString, QByteArray> sources;
    auto it = sources.find(resource);
    if (it == sources.end()) {
        QFile file(resource);
        it = sources.insert(resource,
                            file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return *it;
}

void renderPicture(QLabel* label) {
    const QString resource = label->property("svg").toString();
    // A fixed size in the form wins; else the drawing's own size.
    const QSize size =
        label->minimumSize() == label->maximumSize() ? label->minimumSize() : QSize();
    const QColor ink = label->palette().color(QPalette::WindowText);
    label->setPixmap(svgPixmap(resource, size, label->devicePixelRatioF(), ink));
}

// Draws pictures again and notes in new colours when the palette changes.
class PaletteFollower : public QObject {
public:
    using QObject::QObject;

    static PaletteFollower* instance() {
        static auto* follower = new PaletteFollower(QCoreApplication::instance());
        return follower;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Events also arrive while a watched label is being destroyed, when it
        // is no QLabel any more: those pass untouched.
        auto* label = qobject_cast<QLabel*>(watched);
        if (label == nullptr) return QObject::eventFilter(watched, event);
        switch (event->type()) {
            case QEvent::PaletteChange:
                if (label->property("svg").isValid()) renderPicture(label);
                break;
            case QEvent::Paint:
                if (label->property("note").toBool()) paintCard(label);
                break;
            default: break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // The card under the note's text; the label draws its text on top.
    static void paintCard(QLabel* label) {
        const QPalette& palette = label->palette();
        QPainter painter(label);
        painter.fillRect(label->rect(), look::noteBackground(palette));
        painter.setPen(look::noteBorder(palette));
        painter.drawRect(label->rect().adjusted(0, 0, -1, -1));
    }
};

// The drawing from the build's renderings at this scale, with its ink in the
// given colour; a null pixmap where the build has none of this size. The
// rendering is raw pixels: width, height, premultiplied ARGB32 with the ink
// black, then the ink's coverage per pixel.
}  // namespace

QPixmap renderedPicture(const QString& resource, QSize logicalSize, qreal devicePixelRatio,
                        const QColor& ink) {
    if (!resource.startsWith(QLatin1String(":/pictures/"))) return {};
    const QResource rendered(QStringLiteral(":/rendered/%1@%2.raw")
                                 .arg(resource.mid(11))
                                 .arg(devicePixelRatio, 0, 'g', 4));
    if (!rendered.isValid()) return {};
    const QByteArray data = rendered.uncompressedData();
    const auto number = [&data](int at) {
        quint32 n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<uchar>(data[at + i]);
        return static_cast<qsizetype>(n);
    };
    if (data.size() < 8) return {};
    const qsizetype width = number(0), height = number(4);
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096 ||
        data.size() != 8 + width * height * 5) {
        return {};
    }
    const QSize logical = (QSizeF(width, height) / devicePixelRatio).toSize();
    if (!logicalSize.isEmpty() && logicalSize != logical) return {};

    const auto* pixels = reinterpret_cast<const uchar*>(data.constData()) + 8;
    const uchar* coverage = pixels + width * height * 4;
    QImage image(static_cast<int>(width), static_cast<int>(height),
                 QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
            std::memcpy(line, pixels + y * width * 4, static_cast<std::size_t>(width) * 4);
        } else {
            for (int x = 0; x < image.width(); ++x) {
                const uchar* q = pixels + (y * width + x) * 4;
                line[x] = quint32(q[0]) | quint32(q[1]) << 8 | quint32(q[2]) << 16 |
                          quint32(q[3]) << 24;
            }
        }
    }
    // Adding coverage × colour to the black ink gives the ink in that colour
    // (premultiplied, so the alpha is already right).
    std::array<int, 256> addRed{}, addGreen{}, addBlue{};
    for (int c = 0; c < 256; ++c) {
        addRed[c] = (c * ink.red() + 127) / 255;
        addGreen[c] = (c * ink.green() + 127) / 255;
        addBlue[c] = (c * ink.blue() + 127) / 255;
    }
    const int columns = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* m = coverage + y * width;
        for (int x = 0; x < columns; ++x) {
            const int c = m[x];
            if (c == 0) continue;
            const QRgb p = line[x];
            line[x] = qRgba(std::min(255, qRed(p) + addRed[c]), std::min(255, qGreen(p) + addGreen[c]),
                            std::min(255, qBlue(p) + addBlue[c]), qAlpha(p));
        }
    }
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QPixmap drawnPicture(const QString& resource, QSize logicalSize, qreal devicePixelRatio,
                     const QColor& ink) {
    QByteArray source = svgSource(resource);
    const QByteArray inkName = ink.name(QColor::HexRgb).toLatin1();
    if (inkName != kBlack) source.replace(kBlack, inkName);
    const auto draw = reinterpret_cast<DrawSvg>(moduleEntry(kSvgModuleName, kSvgModuleEntry));
    QImage image;
    if (draw == nullptr || !draw(&source, &logicalSize, devicePixelRatio, &image)) return {};
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QPixmap svgPixmap(const QString& resource, QSize logicalSize, qreal devicePixelRatio,
                  const QColor& ink) {
    const QString key = QStringLiteral("svg:%1:%2x%3@%4:%5")
                            .arg(resource)
                            .arg(logicalSize.width())
                            .arg(logicalSize.height())
                            .arg(devicePixelRatio)
                            .arg(ink.rgba(), 8, 16);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    pixmap = renderedPicture(resource, logicalSize, devicePixelRatio, ink);
    if (pixmap.isNull()) pixmap = drawnPicture(resource, logicalSize, devicePixelRatio, ink);
    if (!pixmap.isNull()) QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void showPictures(QWidget* root) {
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (label->property("svg").toString().isEmpty()) continue;
        renderPicture(label);
        label->installEventFilter(PaletteFollower::instance());
    }
}

void showNotes(QWidget* root) {
    for (QLabel* label : root->findChildren<QLabel*>()) {
        // A form may still give a note its card as a fixed cream style sheet;
        // it becomes a note in the palette's colours all the same.
        if (label->styleSheet().contains(QLatin1String("#fffbf0"), Qt::CaseInsensitive)) {
            label->setStyleSheet(QString());
            label->setProperty("note", true);
        }
        if (!label->property("note").toBool()) continue;
        // Room for the border and a little air around the text.
        label->setContentsMargins(7, 4, 7, 4);
        label->installEventFilter(PaletteFollower::instance());
    }
}

}  // namespace velkaro
