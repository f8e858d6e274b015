#pragma once
// What the program hands to and takes from the desktop at start: Qt's own
// texts in the user's language where that is German, and the program icon.

#include <QIcon>
#include <QLocale>

class QWidget;

namespace velkaro {

// Installs Qt's German translations (the edit's context menu, the standard
// buttons) when the first language of `locale` is German. Returns whether they
// are installed; without the translation files Qt's English texts stay.
bool installQtTranslations(const QLocale& locale);

// The program icon from its PNG renderings; no SVG is read for it.
QIcon programIcon();

// Gives the application the program icon once `window` has drawn its first
// frame: decoding the PNGs then does not delay the first sight of the window.
void showProgramIconAfterFirstFrame(QWidget* window);

// Presses Enter in `field` and returns when the window's repaint is done; the
// Enter measurement (VELKARO_FIRST_FRAME=enter) counts this call alone.
void measuredEnter(QWidget* field);

}  // namespace velkaro
