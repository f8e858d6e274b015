#include "look.h"

#include <algorithm>
#include <cstdlib>

#include "core/form.h"

namespace velkaro::look {

namespace {

// Sum of the channel differences: small means two colours look the same.
int distance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

QColor bgr(std::int32_t c) {
    const auto v = static_cast<std::uint32_t>(c);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

}  // namespace

bool isLight(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() >=
           palette.color(QPalette::WindowText).lightness();
}

QColor blend(const QColor& from, const QColor& to, double amount) {
    amount = std::clamp(amount, 0.0, 1.0);
    const auto mix = [amount](int a, int b) {
        return static_cast<int>(a + (b - a) * amount + 0.5);
    };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                  mix(from.blue(), to.blue()));
}

QColor mutedText(const QPalette& palette, QPalette::ColorRole text,
                 QPalette::ColorRole background) {
    // 45 % of the way from text to background: #737373 on white (4.7 : 1),
    // #9f9f9f on a dark field (5 : 1).
    return blend(palette.color(text), palette.color(background), 0.45);
}

QColor readOnlyBase(const QPalette& palette) {
    const QColor base = palette.color(QPalette::Base);
    const QColor window = palette.color(QPalette::Window);
    if (distance(base, window) >= 12) return window;
    return blend(base, palette.color(QPalette::Text), 0.07);
}

QColor fontColour(std::int32_t modelColour, const QPalette& palette, QPalette::ColorRole text,
                  QPalette::ColorRole background) {
    switch (modelColour) {
        case colour::kWindowText:
        case colour::kBlack: return palette.color(text);
        case colour::kMedGray:
        case colour::kSilver: return mutedText(palette, text, background);
        default: return bgr(modelColour);
    }
}

QColor noteBackground(const QPalette& palette) {
    if (isLight(palette)) return QColor(0xff, 0xfb, 0xf0);
    return blend(palette.color(QPalette::Window), palette.color(QPalette::WindowText), 0.08);
}

QColor noteBorder(const QPalette& palette) {
    return blend(palette.color(QPalette::Window), palette.color(QPalette::WindowText), 0.35);
}

}  // namespace velkaro::look
