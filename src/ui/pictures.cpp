#include "pictures.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <QWidget>

#include "look.h"

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
        auto* label = static_cast<QLabel*>(watched);
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

}  // namespace

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
    QByteArray source = svgSource(resource);
    const QByteArray inkName = ink.name(QColor::HexRgb).toLatin1();
    if (inkName != kBlack) source.replace(kBlack, inkName);
    QSvgRenderer renderer(source);
    if (!renderer.isValid()) return {};
    if (logicalSize.isEmpty()) logicalSize = renderer.defaultSize();
    pixmap = QPixmap(logicalSize * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(logicalSize)));
    painter.end();
    QPixmapCache::insert(key, pixmap);
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
