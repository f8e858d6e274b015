#include "calc/matching.h"

#include <utility>
#include <vector>

#include "core/errors.h"
#include "core/numtext.h"

namespace velkaro::matching {

namespace {

constexpr const char* kSwapMessage =
    "Die Eingabe von Z1 ist kleiner oder gleich der Eingabe von Z2\r\r"
    "um eine korrekte Berechnung durchzuf\u00fchren werden die Eingaben getauscht! ";

double checkedDouble(long double v) {
    const double d = static_cast<double>(checkedResult(v));
    checkedResult(d);  // beyond a double: overflow
    return d;
}

}  // namespace

std::string fieldName(const Form& form, std::string_view edit) {
    const Control& c = form.at(edit);
    std::string name = "\u201e" + (c.caption.empty() ? c.name : c.caption) + "\u201c";
    if (!c.tab.empty()) name += " (" + c.tab + ")";
    return name;
}

long double positiveInput(const Form& form, const Input& input) {
    const long double v = form.value(input.edit, input.selector);
    if (!(v > 0.0L))
        throw ReportedError(fieldName(form, input.edit) + " muss gr\u00f6\u00dfer als 0 sein");
    return v;
}

void requireQuality(const Form& form, std::string_view edit, long double q) {
    if (!(q > 0.0L)) {
        throw ReportedError(fieldName(form, edit) +
                            " muss gr\u00f6\u00dfer als 0 sein, sonst sind D\u00e4mpfung und "
                            "Bandbreite nicht definiert");
    }
}

void requireZ1NotBelowZ2(const Form& form, const Input& z1Field, const Input& z2Field,
                         long double z1, long double z2) {
    if (!(z1 < z2)) return;
    const Control& c = form.at(z2Field.edit);
    throw ReportedError(fieldName(form, z1Field.edit) + " ist kleiner als \u201e" + c.caption +
                        "\u201c: das Netzwerk wird von der gr\u00f6\u00dferen zur kleineren "
                        "Impedanz berechnet. Bitte Z1 oder Z2 mit Enter best\u00e4tigen, dann "
                        "werden die beiden getauscht");
}

void swapIfNotAbove(Form& form, const Input& z1Field, const Input& z2Field, long double& z1,
                    long double& z2) {
    if (z1 > z2) return;
    form.sink().errorBox(kSwapMessage);
    std::swap(z1, z2);
    const double a = checkedDouble(z1);
    const double b = checkedDouble(z2);
    form.writeRanged(z1Field.edit, z1Field.selector, a);
    form.writeRanged(z2Field.edit, z2Field.selector, b);
}

void writeResults(Form& form, std::initializer_list<Result> results) {
    std::vector<double> held;
    held.reserve(results.size());
    for (const Result& r : results) held.push_back(checkedDouble(r.value));
    auto value = held.begin();
    for (const Result& r : results) form.writeRangedUnit(r.edit, r.unit, r.letter, *value++);
}

std::string lossText(const Form& form, double dB) {
    return withOneBlank(formatFixed(checkedDouble(dB), 4, form.state.LocaleDecimalSeparator));
}

}  // namespace velkaro::matching
