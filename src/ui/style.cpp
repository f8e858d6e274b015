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
    const QRectF frame = QRectF(option->rect.adjusted(0, top, 0, 0)).adjusted(1.5, 1.5, -1.5, -1.5);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(QPen(QColor(0x75, 0x75, 0x75, 0x32), 1.0));
    painter->setBrush(QColor(0, 0, 0, 0x03));
    painter->drawRoundedRect(frame, 2.0, 2.0);
    painter->restore();
}

}  // namespace velkaro
