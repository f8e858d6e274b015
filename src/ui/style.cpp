#include "style.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QPixmapCache>
#include <cmath>
#include <QGroupBox>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOption>

namespace velkaro {

namespace {

const QColor kFieldFill(0, 0, 0, 0x03);
const QColor kFrameLine(0x75, 0x75, 0x75, 0x32);

}  // namespace

ProgramStyle::ProgramStyle() : QProxyStyle() {
    fusion_ = baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
}

// Fusion's frame: a faint border with rounded corners around a barely darker
// field, starting below the title.
QRect ProgramStyle::groupBoxFrame(const QRect& rect, const QFontMetrics& metrics,
                                  const QStyleOption* option, const QWidget* widget) const {
    constexpr int kTopMargin = 3;
    int top = kTopMargin;
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    if (box == nullptr || box->isCheckable() || !box->title().isEmpty()) {
        top += qMax(pixelMetric(PM_ExclusiveIndicatorHeight, option, widget), metrics.height());
    }
    return rect.adjusted(1, top + 1, -2, -2);
}

// A field's frame is an antialiased rounded outline around its fill, the
// costliest part of repainting a changed field. Fields of one size, state and
// palette share one drawing of it, kept as a pixmap at the device's scale.
bool ProgramStyle::drawCachedPanel(const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const {
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (frame == nullptr || qobject_cast<const QLineEdit*>(widget) == nullptr ||
        qobject_cast<const QComboBox*>(widget->parentWidget()) != nullptr ||
        qobject_cast<const QAbstractSpinBox*>(widget->parentWidget()) != nullptr) {
        return false;
    }
    // Only where the drawing lands on whole device pixels exactly as it would
    // be drawn directly.
    const qreal scale = painter->device()->devicePixelRatio();
    if (painter->worldTransform().type() > QTransform::TxTranslate || painter->opacity() != 1.0 ||
        painter->compositionMode() != QPainter::CompositionMode_SourceOver ||
        scale != std::floor(scale) || option->rect.isEmpty() || option->rect.width() > 2000 ||
        option->rect.height() > 500) {
        return false;
    }
    // The drawing depends on the colours of the palette's current group, not on
    // which palette object holds them: the result fields, each with a palette
    // of its own, share drawings as long as their colours agree.
    const QPalette& palette = option->palette;
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::Highlight}) {
        if (palette.brush(role).style() != Qt::SolidPattern) return false;
    }
    // The key holds each number as two UTF-16 code units: formatting them as
    // text cost more than drawing the field from the cache.
    QString key = QStringLiteral("velkaro-field:");
    key.reserve(key.size() + 12 + QPalette::NColorRoles * 2);
    const auto add = [&key](quint32 n) {
        key.append(QChar(static_cast<char16_t>(n >> 16))).append(QChar(static_cast<char16_t>(n)));
    };
    add(static_cast<quint32>(option->rect.width()));
    add(static_cast<quint32>(option->rect.height()));
    add(static_cast<quint32>(scale));
    add(static_cast<quint32>(option->state));
    add(static_cast<quint32>(frame->lineWidth));
    add(static_cast<quint32>(frame->features) << 8 | static_cast<quint32>(option->direction));
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        add(palette.color(static_cast<QPalette::ColorRole>(role)).rgba());
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap(option->rect.size() * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QStyleOptionFrame at = *frame;
        at.rect = QRect(QPoint(0, 0), option->rect.size());
        QPainter inside(&pixmap);
        inside.setRenderHints(painter->renderHints());
        QProxyStyle::drawPrimitive(PE_PanelLineEdit, &at, &inside, widget);
        inside.end();
        QPixmapCache::insert(key, pixmap);
    }
    painter->drawPixmap(option->rect.topLeft(), pixmap);
    return true;
}

void ProgramStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    if (element == PE_PanelLineEdit && fusion_ && drawCachedPanel(option, painter, widget)) return;
    if (element != PE_FrameGroupBox || !fusion_) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QRect frame = groupBoxFrame(option->rect, option->fontMetrics, option, widget);
    // Straight edges with the corner pixels left out, which is what the
    // rounding amounts to at this radius; no antialiased path to fill.
    painter->save();
    painter->fillRect(frame.adjusted(1, 1, 0, 0), kFieldFill);
    if (painter->device()->devicePixelRatio() == 1.0 &&
        painter->worldTransform().type() <= QTransform::TxTranslate) {
        // At the screen's own scale, one-pixel rectangles are exactly the
        // pixels of the lines, for a fraction of what the raster engine spends
        // on lines in a translucent colour.
        const QRect edges[] = {
            {frame.left() + 1, frame.top(), frame.width() - 2, 1},
            {frame.left() + 1, frame.bottom(), frame.width() - 2, 1},
            {frame.left(), frame.top() + 1, 1, frame.height() - 2},
            {frame.right(), frame.top() + 1, 1, frame.height() - 2},
        };
        for (const QRect& edge : edges) painter->fillRect(edge, kFrameLine);
    } else {
        painter->setPen(kFrameLine);
        const QLine edges[] = {
            {frame.left() + 1, frame.top(), frame.right() - 1, frame.top()},
            {frame.left() + 1, frame.bottom(), frame.right() - 1, frame.bottom()},
            {frame.left(), frame.top() + 1, frame.left(), frame.bottom() - 1},
            {frame.right(), frame.top() + 1, frame.right(), frame.bottom() - 1},
        };
        painter->drawLines(edges, 4);
    }
    painter->restore();
}

void ProgramStyle::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    if (fusion_ && qobject_cast<QGroupBox*>(widget) != nullptr) widget->installEventFilter(this);
}

void ProgramStyle::unpolish(QWidget* widget) {
    if (qobject_cast<QGroupBox*>(widget) != nullptr) widget->removeEventFilter(this);
    QProxyStyle::unpolish(widget);
}

// A field that changes inside a group box repaints the box beneath it. Where
// that region lies wholly inside the box's frame, all the box would draw there
// is its field's fill: the title, the frame and the text layout of the title
// are skipped.
bool ProgramStyle::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        auto* box = static_cast<QGroupBox*>(watched);
        if (!box->isFlat() && !box->isCheckable()) {
            QStyleOptionGroupBox option;
            option.initFrom(box);
            const QRect inside =
                groupBoxFrame(box->rect(), box->fontMetrics(), &option, box).adjusted(1, 1, -1, -1);
            const QRegion& region = static_cast<QPaintEvent*>(event)->region();
            if (region.subtracted(inside).isEmpty()) {
                QPainter painter(box);
                painter.fillRect(inside, kFieldFill);
                return true;
            }
        }
    }
    return QProxyStyle::eventFilter(watched, event);
}

}  // namespace velkaro
