#include "style.h"

#include <QGroupBox>
#include <QPainter>
#include <QStyleOption>

namespace velkaro {

ProgramStyle::ProgramStyle() : QProxyStyle() {
    fusion_ = baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
}

void ProgramStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameGroupBox || !fusion_) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // Fusion's frame: a faint border with rounded corners around a barely
    // darker field, starting below the title.
    constexpr int kTopMargin = 3;
    int top = kTopMargin;
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    if (box == nullptr || box->isCheckable() || !box->title().isEmpty()) {
        top += qMax(pixelMetric(PM_ExclusiveIndicatorHeight, option, widget),
                    option->fontMetrics.height());
    }
    const QRect frame = option->rect.adjusted(1, top + 1, -2, -2);
    // Straight edges with the corner pixels left out, which is what the
    // rounding amounts to at this radius; no antialiased path to fill.
    painter->save();
    painter->fillRect(frame.adjusted(1, 1, 0, 0), QColor(0, 0, 0, 0x03));
    painter->setPen(QColor(0x75, 0x75, 0x75, 0x32));
    const QLine edges[] = {
        {frame.left() + 1, frame.top(), frame.right() - 1, frame.top()},
        {frame.left() + 1, frame.bottom(), frame.right() - 1, frame.bottom()},
        {frame.left(), frame.top() + 1, frame.left(), frame.bottom() - 1},
        {frame.right(), frame.top() + 1, frame.right(), frame.bottom() - 1},
    };
    painter->drawLines(edges, 4);
    painter->restore();
}

}  // namespace velkaro
