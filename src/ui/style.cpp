#include "style.h"

#include <QEvent>
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

void ProgramStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameGroupBox || !fusion_) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QRect frame = groupBoxFrame(option->rect, option->fontMetrics, option, widget);
    // Straight edges with the corner pixels left out, which is what the
    // rounding amounts to at this radius; no antialiased path to fill.
    painter->save();
    painter->fillRect(frame.adjusted(1, 1, 0, 0), kFieldFill);
    painter->setPen(kFrameLine);
    const QLine edges[] = {
        {frame.left() + 1, frame.top(), frame.right() - 1, frame.top()},
        {frame.left() + 1, frame.bottom(), frame.right() - 1, frame.bottom()},
        {frame.left(), frame.top() + 1, frame.left(), frame.bottom() - 1},
        {frame.right(), frame.top() + 1, frame.right(), frame.bottom() - 1},
    };
    painter->drawLines(edges, 4);
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
