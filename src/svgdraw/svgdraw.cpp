// The module that draws SVG pictures (see modules.h): only where the build has
// no rendering of a picture at the screen's scale or the size asked for.
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <QSvgRenderer>

#include "modules.h"

extern "C" Q_DECL_EXPORT bool velkaro_draw_svg(const QByteArray* source, QSize* logicalSize,
                                               double scale, QImage* out) {
    QSvgRenderer renderer(*source);
    if (!renderer.isValid()) return false;
    if (logicalSize->isEmpty()) *logicalSize = renderer.defaultSize();
    QImage image(*logicalSize * scale, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return false;
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(*logicalSize)));
    painter.end();
    *out = std::move(image);
    return true;
}

// The declared type and the definition must agree.
[[maybe_unused]] static constexpr velkaro::DrawSvg kChecked = &velkaro_draw_svg;
