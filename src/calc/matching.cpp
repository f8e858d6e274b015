#include "calc/matching.h"

#include <memory>
#include <utility>
#include <vector>

#include "calc/units.h"

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

void qualityCheckClick(Form& form, const QTab& tab) {
    const bool on = form.checked(tab.checkQC);
    form.setFontColour(tab.qc, on ? colour::kBlack : colour::kSilver);
    form.setEnabled(tab.qc, on);
    // While the settings load, the result texts that follow in the file are
    // what the tab shows; a computation now would be overwritten by them.
    if (form.state.LoadingSettings) return;
    form.guarded([&form, &tab] { tab.lossAndBandwidth(form); });
}

void reformatInputs(Form& form, const QTab& tab) {
    form.reformatPlain(tab.q);
    for (const Input& in : {tab.f, tab.z1, tab.z2}) form.restep(in.edit, in.selector);
    form.reformatPlain(tab.ql);
    form.reformatPlain(tab.qc);
}

void buildQTab(Form& form, const QTab& tab) {
    addFactoryEdits(form, tab.texts);
    form.addSelector(tab.f.selector, units::kHertz, 6);         // MHz
    form.addSelector(tab.z1.selector, units::kOhm, tab.z1Unit);
    form.addSelector(tab.z2.selector, units::kOhm, kNoPrefix);  // Ohm
    for (const auto& [edit, text] : tab.unitTexts) form.addEdit(edit, text).readOnly = true;
    for (const FactoryText& t : tab.texts) {
        const std::string name = t.edit;
        for (const char* prefix : tab.resultPrefixes) {
            if (name.rfind(prefix, 0) == 0) form.setReadOnly(name, true);
        }
    }
    form.addPicture(tab.highPassPicture);
    form.addPicture(tab.lowPassPicture);

    // The first call of either mode handler after start-up comes from the
    // settings or the factory defaults marking the stored mode: it only spends
    // this flag. Each tab has its own.
    auto firstModeCall = std::make_shared<bool>(true);
    const auto modeHandler = [&form, firstModeCall](void (*handler)(Form&)) {
        return [&form, firstModeCall, handler] {
            if (*firstModeCall) {
                *firstModeCall = false;
                return;
            }
            form.guarded([&form, handler] { handler(form); });
        };
    };
    form.addRadio(tab.proposed, tab.modeGroup, modeHandler(tab.proposedClick));
    form.addRadio(tab.entered, tab.modeGroup, modeHandler(tab.enteredClick));
    form.addCheck(tab.checkQC, [&form, click = tab.checkClick] { click(form); });

    const std::string reformat = tab.reformat;
    addRangedField(form, {tab.f.edit, tab.f.selector, "1e-16", "1e+16", " Hertz", tab.computeF},
                   reformat);
    addRangedField(form, {tab.z1.edit, tab.z1.selector, "1e-6", "1e+9", " Ohm", tab.computeZ1},
                   reformat);
    addRangedField(form, {tab.z2.edit, tab.z2.selector, "1e-6", "1e+9", " Ohm", tab.computeZ2},
                   reformat);
    form.addField({.edit = tab.q,
                   .lower = "1e-3",
                   .upper = "1e4",
                   .form = RangeForm::BTight,
                   .compute = [&form, compute = tab.computeQ](double q) { compute(form, q); },
                   .reformat = reformat});
    // The qualities reformat the tab first and then compute loss and
    // bandwidth from the rounded texts.
    for (const char* quality : {tab.ql, tab.qc}) {
        form.addField({.edit = quality,
                       .lower = "0",
                       .upper = "1000",
                       .compute = [&form, &tab](double) {
                           form.reformat(tab.reformat);
                           tab.lossAndBandwidth(form);
                       }});
    }
    form.addReformat(reformat, [&form, procedure = tab.reformatProcedure] { procedure(form); });
    setCaptions(form, tab.captions);
}

}  // namespace velkaro::matching
