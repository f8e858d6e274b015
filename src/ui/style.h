#pragma once
// The application's style: the platform's own, with one change where it is
// Fusion. Fusion draws a group box's frame from an image, and reading that
// first image loads every image-format plugin at start-up; the frame is drawn
// here with the same geometry and colours, without an image. A repaint that
// lies inside a group box's frame draws only the box's fill there, and the
// fields' frames are drawn once per size, state and palette.

#include <QProxyStyle>

namespace velkaro {

class ProgramStyle : public QProxyStyle {
public:
    ProgramStyle();
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void polish(QWidget* widget) override;
    void unpolish(QWidget* widget) override;
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool drawCachedPanel(const QStyleOption* option, QPainter* painter, const QWidget* widget) const;
    QRect groupBoxFrame(const QRect& rect, const QFontMetrics& metrics, const QStyleOption* option,
                        const QWidget* widget) const;

    bool fusion_ = false;
};

}  // namespace velkaro
