#pragma once
// Schematic pictures: a QLabel in a tab's form that carries the dynamic property
// "svg" (a resource path such as ":/pictures/pi_att.svg") shows that drawing,
// rendered once per size and screen scale and then taken from the cache.

#include <QPixmap>
#include <QString>

class QWidget;

namespace velkaro {

// The drawing at `logicalSize` (its own size when empty) for a screen scale.
QPixmap svgPixmap(const QString& resource, QSize logicalSize, qreal devicePixelRatio);

// Fills every QLabel below `root` that names a drawing in its "svg" property.
void showPictures(QWidget* root);

}  // namespace velkaro
