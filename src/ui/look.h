#pragma once
// Colours the window derives from the palette, so that a light and a dark
// desktop palette are both readable without a special case per widget: the
// muted grey of "greyed" values, the background of read-only results, the
// colours of notes and the text colour that schematics are drawn in.

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace velkaro::look {

// A palette is light when its window is lighter than the text on it.
bool isLight(const QPalette& palette);

// `from` moved by `amount` (0 … 1) towards `to`, channel by channel.
QColor blend(const QColor& from, const QColor& to, double amount);

// Grey for values shown as greyed out: between text and field background,
// far enough from both to read as grey and still be read. For text on the
// window (labels, buttons) pass the window's roles.
QColor mutedText(const QPalette& palette, QPalette::ColorRole text = QPalette::Text,
                 QPalette::ColorRole background = QPalette::Base);

// Background of a read-only result: the window colour, as the fields that
// cannot be edited have in the style, or a shade off the field background
// where the window colour would not differ from it.
QColor readOnlyBase(const QPalette& palette);

// A font colour of the model: the symbolic window text and plain black become
// the palette's text colour (black text is what a light window shows, and it
// would vanish on a dark one), the two greys the muted grey; any other colour
// is that colour.
QColor fontColour(std::int32_t modelColour, const QPalette& palette,
                  QPalette::ColorRole text = QPalette::Text,
                  QPalette::ColorRole background = QPalette::Base);

// Notes: a cream card in a light palette, a card a shade off the window in a
// dark one; the text is the window text of either.
QColor noteBackground(const QPalette& palette);
QColor noteBorder(const QPalette& palette);

// The red of markers in schematics, readable on a light and a dark window.
inline constexpr QRgb kMarkerRed = 0xffff3b30;

}  // namespace velkaro::look
