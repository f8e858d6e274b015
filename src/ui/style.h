#pragma once
// The application's style: the platform's own, with one change where it is
// Fusion. Fusion draws a group box's frame from an image, and reading that
// first image loads every image-format plugin at start-up; the frame is drawn
// here with the same geometry and colours, without an image.

#include <QProxyStyle>

namespace velkaro {

class ProgramStyle : public QProxyStyle {
public:
    ProgramStyle();
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

private:
    bool fusion_ = false;
};

}  // namespace velkaro
