#pragma once
// Parts of the program that live in modules of their own and are loaded on
// first use: the help window (with Qt's help engine and its database) and the
// SVG drawing of pictures the build did not render (with Qt's SVG library).
// A start loads and relocates neither library.

#include <QFunctionPointer>
#include <QString>

class QByteArray;
class QImage;
class QSize;

namespace velkaro {

// The module's file name without prefix and suffix, and its entry point.
inline constexpr const char* kHelpModuleName = "velkaro-help";
inline constexpr const char* kHelpModuleEntry = "velkaro_create_help_view";
inline constexpr const char* kSvgModuleName = "velkaro-svg";
inline constexpr const char* kSvgModuleEntry = "velkaro_draw_svg";

// Draws `source` at `logicalSize` (the drawing's own size when empty; set to
// the size drawn) for a screen `scale`, antialiased, on transparency; false
// when the source is no drawing.
using DrawSvg = bool (*)(const QByteArray* source, QSize* logicalSize, double scale, QImage* out);

// `entry` of module `name`, from the program's folder (a build tree) or the
// library folder of an installation; loaded once, and looked for again on the
// next call after a failure. Null when neither has it: `error` then says why.
// `path` gets the module's file.
QFunctionPointer moduleEntry(const char* name, const char* entry, QString* path = nullptr,
                             QString* error = nullptr);

}  // namespace velkaro
