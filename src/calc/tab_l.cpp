#include "calc/tab_l.h"

#include <optional>
#include <string>
#include <utility>

#include "calc/units.h"
#include "core/errors.h"
#include "core/numtext.h"
#include "core/prefix.h"

namespace velkaro {

namespace {

const std::string kReformat = "L_Eingaben_formatieren";

constexpr const char* kTabCaption = "L- Anpassnetzwerk";

struct Field {
    const char* edit;
    const char* selector;
    const char* caption;
};

constexpr Field kF{"L_E_F", "L_C_F", "Frequenz F"};
constexpr Field kZ1{"L_E_Z1", "L_C_Z1", "Impedanz Z1"};
constexpr Field kZ2{"L_E_Z2", "L_C_Z2", "Impedanz Z2"};
constexpr Field kQL{"L_E_QL", "", "G\u00fcte L"};
constexpr Field kQC{"L_E_QC", "", "G\u00fcte C"};
constexpr const char* kCheck = "L_CB_QC";

// A result: its number box, its unit box and the unit letter after the prefix.
struct Result {
    const char* edit;
    const char* unit;
    const char* letter;
};

constexpr Result kHighPassL{"L_E_HP_L", "L_C_HP_L", "H"};
constexpr Result kHighPassC{"L_E_HP_C", "L_C_HP_C", "F"};
constexpr Result kLowPassL{"L_E_TP_L", "L_C_TP_L", "H"};
constexpr Result kLowPassC{"L_E_TP_C", "L_C_TP_C", "F"};
constexpr Result kBandwidth{"L_E_B", "L_C_B", "Hz"};
constexpr const char* kLoss = "L_E_Tl";

// The loss is always shown with four decimals, whatever the decimal places.
constexpr int kLossDecimals = 4;

// The network is designed for Z1 > Z2; an entry that breaks this swaps them.
const std::string kSwapMessage =
    "Die Eingabe von Z1 ist kleiner oder gleich der Eingabe von Z2\r\r"
    "um eine korrekte Berechnung durchzuf\u00fchren werden die Eingaben getauscht! ";

// Equal resistances need no matching: n = 0 and every element value would be
// infinite.
constexpr const char* kEqualImpedances =
    "\u201eImpedanz Z1\u201c und \u201eImpedanz Z2\u201c (L- Anpassnetzwerk) sind gleich "
    "gro\u00df: "
    "gleiche Impedanzen brauchen kein Anpassnetzwerk, seine Bauteilwerte w\u00e4ren unendlich. "
    "Bitte f\u00fcr Z1 einen gr\u00f6\u00dferen Wert als f\u00fcr Z2 eingeben";

// Quality and check-box computations do not swap: Z1 < Z2 found there (from a
// settings file, or typed without Enter) has no network.
constexpr const char* kZ1BelowZ2 =
    "\u201eImpedanz Z1\u201c ist kleiner als \u201eImpedanz Z2\u201c (L- Anpassnetzwerk): "
    "das Netzwerk l\u00e4sst sich nur f\u00fcr Z1 gr\u00f6\u00dfer als Z2 berechnen. "
    "Bitte Z1 oder Z2 mit Enter best\u00e4tigen, dann werden die Eingaben getauscht";

constexpr const char* kCoilWithoutQuality =
    "\u201eG\u00fcte L\u201c (L- Anpassnetzwerk) ist 0: eine Spule ohne G\u00fcte h\u00e4tte einen "
    "unendlichen Verlustwiderstand, \u00dcbertragungsd\u00e4mpfung und -bandbreite lassen sich "
    "nicht berechnen";

constexpr const char* kCapacitorWithoutQuality =
    "\u201eG\u00fcte C\u201c (L- Anpassnetzwerk) ist 0: ein Kondensator ohne G\u00fcte h\u00e4tte "
    "einen unendlichen Verlustwiderstand, \u00dcbertragungsd\u00e4mpfung und -bandbreite lassen "
    "sich nicht berechnen";

// The texts of a first start: 300 Ohm to 50 Ohm at 10 MHz, coil quality 50.
// They are shown as designed, not recomputed.
constexpr FactoryText kTexts[] = {
    {"L_E_F", "10,000"},     {"L_E_Z1", "300,000"}, {"L_E_Z2", "50,000"},    {"L_E_QL", "50,000"},
    {"L_E_QC", "500,000"},   {"L_E_HP_L", "2,135"}, {"L_E_HP_C", "142,353"}, {"L_E_TP_L", "1,779"},
    {"L_E_TP_C", "118,627"}, {"L_E_Tl", "0,1921"},  {"L_E_B", "9,144"},
};

// ---- checks -----------------------------------------------------------------

// A zero reads as the model names zeros elsewhere; a negative value is named
// as such. Every input of this tab must be greater than 0.
void requirePositive(const Field& field, double v) {
    const std::string name = "\u201e" + std::string(field.caption) + "\u201c (" + kTabCaption + ")";
    if (v == 0.0) throw ReportedError("Division durch Null: " + name + " ist 0");
    if (v < 0.0) {
        throw ReportedError(name +
                            " ist negativ: hier sind nur Werte gr\u00f6\u00dfer als 0 "
                            "m\u00f6glich");
    }
}

// What every design needs: a frequency, two resistances and Z1 > Z2.
void requireMatchable(double f, double z1, double z2) {
    requirePositive(kF, f);
    requirePositive(kZ1, z1);
    requirePositive(kZ2, z2);
    if (z1 == z2) throw ReportedError(kEqualImpedances);
    if (z1 < z2) throw ReportedError(kZ1BelowZ2);
}

void requireQuality(const Field& field, double q, const char* zeroMessage) {
    if (q == 0.0) throw ReportedError(zeroMessage);
    requirePositive(field, q);
}

// ---- computations -----------------------------------------------------------

// The swap rule of the F, Z1 and Z2 entries: Z1 not above Z2 is taken as the
// two entered the wrong way round. Both fields show the exchanged values.
void swapIfReversed(Form& form, double& z1, double& z2) {
    if (!(z1 < z2 || z1 == z2)) return;
    form.sink().errorBox(kSwapMessage);
    std::swap(z1, z2);
    form.writeRanged(kZ1.edit, kZ1.selector, z1);
    form.writeRanged(kZ2.edit, kZ2.selector, z2);
}

// Loss and bandwidth of the low-pass network with the elements l and c. F, Z1,
// Z2 and the qualities are read from the fields as they are shown; the
// capacitor's quality only when the check box includes it.
LowPassLosses L_Daempfung_Bandbreite_berechnen(const Form& form, double l, double c) {
    const double f = form.value(kF.edit, kF.selector);
    const double z1 = form.value(kZ1.edit, kZ1.selector);
    const double z2 = form.value(kZ2.edit, kZ2.selector);
    const double ql = static_cast<double>(form.number(kQL.edit));
    std::optional<double> qc;
    if (form.checked(kCheck)) qc = static_cast<double>(form.number(kQC.edit));
    // Shown values may have rounded a hair's breadth Z1 > Z2 to equal ones; the
    // loss needs no n other than 0 for that, only Z1 not below Z2.
    requirePositive(kF, f);
    requirePositive(kZ1, z1);
    requirePositive(kZ2, z2);
    if (z1 < z2) throw ReportedError(kZ1BelowZ2);
    requireQuality(kQL, ql, kCoilWithoutQuality);
    if (qc) requireQuality(kQC, *qc, kCapacitorWithoutQuality);
    return lowPassLosses(f, z1, z2, l, c, ql, qc);
}

// Unit box first, then the number.
void writeResult(Form& form, const Result& r, double v) {
    form.setText(r.unit, PrefixText(v) + r.letter);
    form.setText(r.edit, form.fixedText(PrefixMantissa(v)));
}

void writeLosses(Form& form, const LowPassLosses& losses) {
    form.setText(kLoss, withOneBlank(formatFixed(losses.lossDb, kLossDecimals,
                                                 form.state.LocaleDecimalSeparator)));
    writeResult(form, kBandwidth, losses.bandwidth);
}

// Designs the network and shows it: the four elements in the order HP_L,
// HP_C, TP_L, TP_C (only the low-pass pair when `highPass` is false), then
// loss and bandwidth. Everything is computed before the first box changes, so
// a fault leaves the results as they were.
void showNetwork(Form& form, double f, double z1, double z2, bool highPass) {
    requireMatchable(f, z1, z2);
    const LNetwork net = highPass ? designLNetwork(f, z1, z2) : designLowPass(f, z1, z2);
    const LowPassLosses losses = L_Daempfung_Bandbreite_berechnen(form, net.lowPassL, net.lowPassC);
    if (highPass) {
        writeResult(form, kHighPassL, net.highPassL);
        writeResult(form, kHighPassC, net.highPassC);
    }
    writeResult(form, kLowPassL, net.lowPassL);
    writeResult(form, kLowPassC, net.lowPassC);
    writeLosses(form, losses);
}

void L_F_Berechnung(Form& form, double f) {
    double z1 = form.value(kZ1.edit, kZ1.selector);
    double z2 = form.value(kZ2.edit, kZ2.selector);
    swapIfReversed(form, z1, z2);
    showNetwork(form, f, z1, z2, true);
}

void L_Z1_Berechnung(Form& form, double z1) {
    const double f = form.value(kF.edit, kF.selector);
    double z2 = form.value(kZ2.edit, kZ2.selector);
    swapIfReversed(form, z1, z2);
    showNetwork(form, f, z1, z2, true);
}

void L_Z2_Berechnung(Form& form, double z2) {
    const double f = form.value(kF.edit, kF.selector);
    double z1 = form.value(kZ1.edit, kZ1.selector);
    swapIfReversed(form, z1, z2);
    showNetwork(form, f, z1, z2, true);
}

// The qualities change only the loss and the bandwidth; the elements are
// recomputed from the fields as they stand, without the swap rule. The loss
// reads the qualities from their fields, so the entered value is not needed.
void showNetworkOfTheFields(Form& form) {
    showNetwork(form, form.value(kF.edit, kF.selector), form.value(kZ1.edit, kZ1.selector),
                form.value(kZ2.edit, kZ2.selector), true);
}

void L_QL_Berechnung(Form& form, double) { showNetworkOfTheFields(form); }

void L_QC_Berechnung(Form& form, double) { showNetworkOfTheFields(form); }

// Including or leaving out the capacitor's quality: its field follows the
// check box, and the low-pass network is shown again with its loss.
void L_CB_QCClick(Form& form) {
    const bool on = form.checked(kCheck);
    form.setEnabled(kQC.edit, on);
    form.setFontColour(kQC.edit, on ? colour::kBlack : colour::kSilver);
    // While settings load, the stored results follow the check box.
    if (form.state.LoadingSettings) return;
    showNetwork(form, form.value(kF.edit, kF.selector), form.value(kZ1.edit, kZ1.selector),
                form.value(kZ2.edit, kZ2.selector), false);
}

void L_Eingaben_formatieren(Form& form) {
    for (const Field& f : {kF, kZ1, kZ2}) form.restep(f.edit, f.selector);
    form.reformatPlain(kQL.edit);
    form.reformatPlain(kQC.edit);
}

// ---- building ---------------------------------------------------------------

void build(Form& form) {
    addFactoryEdits(form, kTexts);
    form.addSelector(kF.selector, units::kHertz, 6);         // MHz
    form.addSelector(kZ1.selector, units::kOhm, kNoPrefix);  // Ohm
    form.addSelector(kZ2.selector, units::kOhm, kNoPrefix);  // Ohm
    form.addCheck(kCheck, [&form] { L_CB_QCClick(form); });
    // The results only show what was computed; nothing reads them back.
    for (const Result& r : {kHighPassL, kHighPassC, kLowPassL, kLowPassC, kBandwidth}) {
        form.setReadOnly(r.edit, true);
    }
    form.setReadOnly(kLoss, true);
    form.addEdit(kHighPassL.unit, " \u00b5H").readOnly = true;
    form.addEdit(kHighPassC.unit, " pF").readOnly = true;
    form.addEdit(kLowPassL.unit, " \u00b5H").readOnly = true;
    form.addEdit(kLowPassC.unit, " pF").readOnly = true;
    form.addEdit(kBandwidth.unit, " MHz").readOnly = true;
    form.addPicture("Image29");  // high-pass schematic
    form.addPicture("Image30");  // low-pass schematic

    addRangedField(form,
                   {kF.edit, kF.selector, "1e-16", "1e+16", " Hertz", L_F_Berechnung, kF.caption},
                   kReformat);
    addRangedField(form,
                   {kZ1.edit, kZ1.selector, "1e-6", "1e+9", " Ohm", L_Z1_Berechnung, kZ1.caption},
                   kReformat);
    addRangedField(form,
                   {kZ2.edit, kZ2.selector, "1e-6", "1e+9", " Ohm", L_Z2_Berechnung, kZ2.caption},
                   kReformat);
    const auto addQuality = [&form](const Field& q, void (*compute)(Form&, double)) {
        form.addField(FieldSpec{.edit = q.edit,
                                .label = q.caption,
                                .lower = "1e-3",
                                .upper = "1e4",
                                .form = RangeForm::B,
                                .compute = [&form, compute](double v) { compute(form, v); },
                                .reformat = kReformat});
    };
    addQuality(kQL, L_QL_Berechnung);
    addQuality(kQC, L_QC_Berechnung);
    form.addReformat(kReformat, [&form] { L_Eingaben_formatieren(form); });
}

std::vector<SettingsSection> sections() {
    SettingsSection s{.name = "L-Netz"};
    const auto add = [&s](const char* key, SettingKind kind, const char* control,
                          const char* fallback) {
        s.keys.push_back({.key = key, .kind = kind, .control = control, .fallback = fallback});
    };
    using K = SettingKind;
    add("Frequenz", K::NumberText, kF.edit, "10,00");
    add("Frequenz-Einheit", K::Index, kF.selector, "6");
    add("Z1", K::NumberText, kZ1.edit, "300,00");
    add("Z1-Einheit", K::Index, kZ1.selector, "8");
    add("Z2", K::NumberText, kZ2.edit, "50,00");
    add("Z2-Einheit", K::Index, kZ2.selector, "8");
    add("G\u00fcte-L", K::NumberText, kQL.edit, "50,00");
    add("G\u00fcte_C", K::NumberText, kQC.edit, "500,000");
    s.keys.push_back({.key = "G\u00fcteC",
                      .kind = K::QualityCheck,
                      .control = kCheck,
                      .fallback = "0",
                      .partner = kQC.edit});
    // The results come back as they were shown, not recomputed.
    add("HP-L", K::NumberText, kHighPassL.edit, "2,135");
    add("HP-L-Einheit", K::Text, kHighPassL.unit, " \u00b5H");
    add("HP-C", K::NumberText, kHighPassC.edit, "142,352");
    add("HP-C-Einheit", K::Text, kHighPassC.unit, " pF");
    add("TP-L", K::NumberText, kLowPassL.edit, "1,779");
    add("TP-L-Einheit", K::Text, kLowPassL.unit, " \u00b5H");
    add("TP-C", K::NumberText, kLowPassC.edit, "118,627");
    add("TP-C-Einheit", K::Text, kLowPassC.unit, " pF");
    add("\u00dcber-a", K::NumberText, kLoss, "3,100");
    add("\u00dcber-B", K::NumberText, kBandwidth.edit, "200,00");
    add("\u00dcber-B-Einheit", K::Text, kBandwidth.unit, " kHz");
    return {s};
}

// Texts only: the selectors, the unit boxes and the check box keep their
// initial state (unchecked, with the quality field still enabled).
void factoryDefaults(Form& form) { applyFactoryTexts(form, kTexts); }

}  // namespace

TabModule lModule() { return {"LNetz", build, sections, factoryDefaults}; }

}  // namespace velkaro
