#pragma once
// Schematic pictures and notes of the tabs' forms.
//
// Pictures: a QLabel that carries the dynamic property "svg" (a resource path
// such as ":/pictures/pi_att.svg") shows that drawing. Pure black (#000000) in a
// drawing stands for the palette's text colour, so the lines read on a light and
// on a dark window; every other colour (the red markers) is drawn as it is. A
// drawing is rendered once per size, screen scale and colour, then taken from
// the cache, and again when the palette changes. At the usual screen scales the
// build has rendered it already, so start-up parses no SVG.
//
// Notes: a QLabel with the dynamic property "note" set to true is drawn as a
// small card: cream in a light palette, a shade off the window in a dark one,
// with a thin border and the window's text colour.

#include <QColor>
#include <QPixmap>
#include <QString>

class QWidget;

namespace velkaro {

// The drawing at `logicalSize` (its own size when empty) for a screen scale,
// its black drawn in `ink`.
QPixmap svgPixmap(const QString& resource, QSize logicalSize, qreal devicePixelRatio,
                  const QColor& ink = Qt::black);

// The two ways to a drawing: the build's rendering at the usual screen scales
// (null where there is none of this scale and size), and drawing the SVG.
QPixmap renderedPicture(const QString& resource, QSize logicalSize, qreal devicePixelRatio,
                        const QColor& ink);
QPixmap drawnPicture(const QString& resource, QSize logicalSize, qreal devicePixelRatio,
                     const QColor& ink);

// Fills every picture label below `root` and keeps it following the palette.
void showPictures(QWidget* root);

// Makes every note label below `root` a card in the palette's colours.
void showNotes(QWidget* root);

}  // namespace velkaro
