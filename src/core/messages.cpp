#include "core/messages.h"

namespace velkaro {

namespace {

const std::string kCR = "\r";

std::string formA(const FieldSpec& f, const std::string& text, const std::string& unit) {
    std::string m = "Die eingegebene Zahl" + text;
    if (!f.selector.empty()) {
        m += " " + unit;
    } else if (f.wordAfterNumber) {
        m += f.word;
    }
    return m + " ist nicht richtig !" + kCR + kCR + "        zul\u00e4ssiger Bereich:" + f.lower +
           " bis " + f.upper + f.word;
}

std::string formB(const FieldSpec& f, const std::string& text, const std::string& unit,
                  bool tight) {
    std::string m = "Die Eingabe" + text;
    if (!f.selector.empty()) m += " " + unit;
    m += tight ? "ist ausserhalb" : "  ist ausserhalb";
    return m + kCR + kCR + "des g\u00fcltigen Wertebereiches:" + f.lower + " bis " + f.upper +
           f.word;
}

}  // namespace

std::string numberMessage(const std::string& text) {
    return "Die eingegebene Zahl" + text + "  ist keine Gleitkommazahl !";
}

std::string enterRangeMessage(const FieldSpec& field, const std::string& text,
                              const std::string& unit) {
    switch (field.form) {
        case RangeForm::A: return formA(field, text, unit);
        case RangeForm::B: return formB(field, text, unit, false);
        case RangeForm::BTight: return formB(field, text, unit, true);
    }
    return {};
}

std::string changeRangeMessage(const FieldSpec& field, const std::string& text,
                               const std::string& unit) {
    return formB(field, text, unit, false);
}

}  // namespace velkaro
