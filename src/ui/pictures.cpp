#include "pictures.h"

#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <QWidget>

namespace velkaro {

QPixmap svgPixmap(const QString& resource, QSize logicalSize, qreal devicePixelRatio) {
    QSvgRenderer renderer(resource);
    if (!renderer.isValid()) return {};
    if (logicalSize.isEmpty()) logicalSize = renderer.defaultSize();
    const QString key = QStringLiteral("svg:%1:%2x%3@%4")
                            .arg(resource)
                            .arg(logicalSize.width())
                            .arg(logicalSize.height())
                            .arg(devicePixelRatio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
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
        const QString resource = label->property("svg").toString();
        if (resource.isEmpty()) continue;
        // A fixed size in the form wins; else the drawing's own size.
        const QSize size =
            label->minimumSize() == label->maximumSize() ? label->minimumSize() : QSize();
        label->setPixmap(svgPixmap(resource, size, label->devicePixelRatioF()));
    }
}

}  // namespace velkaro
