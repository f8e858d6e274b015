#include "calc/tab_rc.h"

#include <cmath>
#include <string>

#include "calc/constants.h"
#include "calc/units.h"
#include "core/errors.h"

namespace velkaro {

namespace {

const std::string kReformat = "RC_Eingaben_formatieren";

// What the R2 and C2 fields show outside the twin-T circuit.
const std::string kBlank = "      ";

struct Field {
    const char* edit;
    const char* selector;
};

constexpr Field kF{"RC_E_F", "RC_C_F"};
constexpr Field kS{"RC_E_s", "RC_C_s"};
constexpr Field kR1{"RC_E_R1", "RC_C_R1"};
constexpr Field kR2{"RC_E_R2", "RC_C_R2"};
constexpr Field kC1{"RC_E_C1", "RC_C_C1"};
constexpr Field kC2{"RC_E_C2", "RC_C_C2"};

// A first start: 15,92 nF and 99,972 Ohm have their corner at 100 kHz.
constexpr FactoryText kTexts[] = {
    {"RC_E_F", "100,000"},
    {"RC_E_s", "1,590"},
    {"RC_E_R1", "99,972"},
    {"RC_E_C1", "15,920"},
};

int mode(const Form& form) { return form.state.RCMode; }
bool twinT(const Form& form) { return form.state.RCCircuit == static_cast<int>(RcCircuit::TwinT); }

// "„Widerstand R1“ (RC-Glieder)": the field as the user reads it.
std::string fieldName(const Form& form, const Field& f) {
    const Control& c = form.at(f.edit);
    std::string name = "\u201e" + c.caption + "\u201c";
    if (!c.tab.empty()) name += " (" + c.tab + ")";
    return name;
}

// A number too large for a double, read from a field or computed for one.
[[noreturn]] void tooLarge(const Form& form, const Field& f) {
    throw ReportedError(std::string(errtext::kOverflow) + ": " + fieldName(form, f) +
                        " ist zu gro\u00df");
}

// A field's value in base units. A text typed without Enter is not range
// checked; one beyond any double cannot be computed with.
double read(const Form& form, const Field& f) {
    const double v = form.value(f.edit, f.selector);
    if (!std::isfinite(v)) tooLarge(form, f);
    return v;
}

// A value that divides: zero names its field before anything is written.
long double divisor(const Form& form, const Field& f, long double v) {
    if (v == 0.0L) {
        throw ReportedError(std::string(errtext::kDivisionByZero) + ": " + fieldName(form, f) +
                            " ist 0");
    }
    return v;
}

// Every result is kept as a double, the value shown and used by later steps.
double held(const Form& form, const Field& f, long double x) {
    const double d = static_cast<double>(x);
    if (!std::isfinite(d)) tooLarge(form, f);
    return d;
}

// Full ranging of a result into its field.
double show(Form& form, const Field& f, long double x) {
    const double d = held(form, f, x);
    form.writeRanged(f.edit, f.selector, d);
    return d;
}

// The shunt arms of the twin-T bridge, only while it is the circuit shown.
void twinTStep(Form& form, double r1, double c1) {
    if (!twinT(form)) return;
    show(form, kR2, twinTShuntResistor(r1));
    show(form, kC2, twinTShuntCapacitor(c1));
}

// ---- the six computations -------------------------------------------------
// The time constant follows the frequency: it is written where the frequency
// is computed (or entered), never where R or C follow from a frequency that
// stays as it is.

void RC_F_Berechnung(Form& form, double f) {
    double r1 = read(form, kR1);
    double c1 = read(form, kC1);
    if (mode(form) == 2) r1 = show(form, kR1, rcResistance(f, divisor(form, kC1, c1)));
    if (mode(form) == 3) c1 = show(form, kC1, rcCapacitance(f, divisor(form, kR1, r1)));
    twinTStep(form, r1, c1);
    show(form, kS, rcTimeConstant(r1, c1));
}

void RC_s_Berechnung(Form& form, double tau) {
    double r1 = read(form, kR1);
    double c1 = read(form, kC1);
    const double f = show(form, kF, rcFrequencyOfTimeConstant(tau));
    if (mode(form) == 2) r1 = show(form, kR1, rcResistance(f, divisor(form, kC1, c1)));
    if (mode(form) == 3) c1 = show(form, kC1, rcCapacitance(f, divisor(form, kR1, r1)));
    twinTStep(form, r1, c1);
}

void RC_R1_Berechnung(Form& form, double r1) {
    const double f = read(form, kF);
    double c1 = read(form, kC1);
    if (mode(form) == 1) {
        show(form, kF, rcFrequency(r1, divisor(form, kC1, c1)));
        show(form, kS, rcTimeConstant(r1, c1));
    }
    if (mode(form) == 3) c1 = show(form, kC1, rcCapacitance(divisor(form, kF, f), r1));
    twinTStep(form, r1, c1);
}

// Only the twin-T circuit enables R2: R1 follows first, then what R1 drives.
void RC_R2_Berechnung(Form& form, double r2) {
    const double f = read(form, kF);
    const double c1 = read(form, kC1);
    const double r1 = show(form, kR1, static_cast<long double>(r2) * 2);
    if (mode(form) == 1) {
        show(form, kF, rcFrequency(r1, divisor(form, kC1, c1)));
        show(form, kS, rcTimeConstant(r1, c1));
    }
    if (mode(form) == 3) {
        const double c = show(form, kC1, rcCapacitance(divisor(form, kF, f), r1));
        show(form, kC2, twinTShuntCapacitor(c));
    }
}

void RC_C1_Berechnung(Form& form, double c1) {
    const double f = read(form, kF);
    double r1 = read(form, kR1);
    if (mode(form) == 1) {
        show(form, kF, rcFrequency(divisor(form, kR1, r1), c1));
        show(form, kS, rcTimeConstant(r1, c1));
    }
    if (mode(form) == 2) r1 = show(form, kR1, rcResistance(divisor(form, kF, f), c1));
    twinTStep(form, r1, c1);
}

// Only the twin-T circuit enables C2: C1 follows first, then what C1 drives.
void RC_C2_Berechnung(Form& form, double c2) {
    const double f = read(form, kF);
    const double r1 = read(form, kR1);
    const double c1 = show(form, kC1, static_cast<long double>(c2) / 2);
    if (mode(form) == 1) {
        show(form, kF, rcFrequency(divisor(form, kR1, r1), c1));
        show(form, kS, rcTimeConstant(r1, c1));
    }
    if (mode(form) == 2) {
        const double r = show(form, kR1, rcResistance(divisor(form, kF, f), c1));
        show(form, kR2, twinTShuntResistor(r));
    }
}

void RC_Eingaben_formatieren(Form& form) {
    form.restep(kF.edit, kF.selector);
    form.restep(kS.edit, kS.selector);
    form.restep(kR1.edit, kR1.selector);
    if (twinT(form)) form.restep(kR2.edit, kR2.selector);
    form.restep(kC1.edit, kC1.selector);
    if (twinT(form)) form.restep(kC2.edit, kC2.selector);
}

// ---- circuit and mode -------------------------------------------------------

void enableField(Form& form, const Field& f, bool enabled) {
    form.setEnabled(f.edit, enabled);
    form.setEnabled(f.selector, enabled);
}

// The computed quantity cannot be typed. The frequency and the time constant
// are one quantity here. R2 and C2 exist only in the twin-T circuit, where they
// follow R1 and C1. Any other mode value changes nothing.
void enableByMode(Form& form, int value, bool withShuntArms) {
    if (value < 1 || value > 3) return;
    enableField(form, kF, value != 1);
    enableField(form, kS, value != 1);
    enableField(form, kR1, value != 2);
    enableField(form, kC1, value != 3);
    if (withShuntArms) {
        enableField(form, kR2, value != 2);
        enableField(form, kC2, value != 3);
    }
}

void blankField(Form& form, const Field& f) {
    enableField(form, f, false);
    form.setText(f.edit, kBlank);
    form.setIndex(f.selector, -1);
}

// R2 = R1 / 2 and C2 = 2·C1 from what R1 and C1 show, without a range check.
// While the settings load, R2 and C2 already hold the texts they were stored
// with, which came from the same R1 and C1; they stay as they were shown.
void showShuntArmsOfFields(Form& form) {
    if (form.state.LoadingSettings) return;
    show(form, kR2, twinTShuntResistor(read(form, kR1)));
    show(form, kC2, twinTShuntCapacitor(read(form, kC1)));
}

// Picture, frequency caption and the R2/C2 fields of a circuit, the enabling
// of the other fields for the current mode; nothing else is recomputed. The
// circuit is taken over before R2 and C2 are computed, so an R1 or C1 that is
// no number leaves a complete twin-T tab with only its shunt arms missing.
void selectCircuit(Form& form, RcCircuit circuit) {
    form.setVisible("Image1", circuit == RcCircuit::Section);
    form.setVisible("Image32", circuit == RcCircuit::WienBridge);
    form.setVisible("Image31", circuit == RcCircuit::TwinT);
    const std::string caption = circuit == RcCircuit::Section ? "Grenzfrequenz" : "Mittenfrequenz";
    form.setText("Label30", caption);
    form.setCaption(kF.edit, caption);

    const bool shuntArms = circuit == RcCircuit::TwinT;
    form.setEnabled("Label33", shuntArms);
    form.setEnabled("Label35", shuntArms);
    if (!shuntArms) {
        blankField(form, kR2);
        blankField(form, kC2);
    }
    enableByMode(form, form.state.RCMode, shuntArms);
    form.state.RCCircuit = static_cast<int>(circuit);
    if (shuntArms) showShuntArmsOfFields(form);
}

void selectMode(Form& form, int value) {
    enableByMode(form, value, twinT(form));
    form.state.RCMode = value;
}

// ---- building ---------------------------------------------------------------

// What the user reads beside each field, for the messages that name one.
constexpr FieldCaption kCaptions[] = {
    {"RC_E_F", "Grenzfrequenz"},  {"RC_E_s", "Zeitkonstante (s)"}, {"RC_E_R1", "Widerstand R1"},
    {"RC_E_R2", "Widerstand R2"}, {"RC_E_C1", "Kondensator C1"},   {"RC_E_C2", "Kondensator C2"},
};

void build(Form& form) {
    addFactoryEdits(form, kTexts);
    // The shunt arms of the factory circuit made twin-T.
    form.addEdit(kR2.edit, localText(form, "49,986"));
    form.addEdit(kC2.edit, localText(form, "31,840"));
    form.addSelector(kF.selector, units::kHertz, 7);         // kHz
    form.addSelector(kS.selector, units::kSeconds, 10);      // µsec
    form.addSelector(kR1.selector, units::kOhm, kNoPrefix);  // Ohm
    form.addSelector(kR2.selector, units::kOhm, kNoPrefix);  // Ohm
    form.addSelector(kC1.selector, units::kFarad, 11);       // nF
    form.addSelector(kC2.selector, units::kFarad, 11);       // nF
    form.addLabel("Label30", "Grenzfrequenz (F)");
    form.addLabel("Label33", "Widerstand R2");
    form.addLabel("Label35", "Kondensator C2");
    form.addPicture("Image1");          // RC section
    form.addPicture("Image32", false);  // Wien bridge
    form.addPicture("Image31", false);  // twin-T bridge

    const auto circuit = [&form](RcCircuit c) { return [&form, c] { selectCircuit(form, c); }; };
    form.addRadio("RC_RB_RC", "GroupBox19", circuit(RcCircuit::Section));
    form.addRadio("RC_RB_Wien", "GroupBox19", circuit(RcCircuit::WienBridge));
    form.addRadio("RC_RB_Doppel", "GroupBox19", circuit(RcCircuit::TwinT));
    const auto modeClick = [&form](int value) {
        return [&form, value] { selectMode(form, value); };
    };
    form.addRadio("RC_RB_Fs", "GroupBox12", modeClick(1));
    form.addRadio("RC_RB_R", "GroupBox12", modeClick(2));
    form.addRadio("RC_RB_C", "GroupBox12", modeClick(3));

    addRangedField(form, {kF.edit, kF.selector, "1e-6", "1e+15", " Hertz", RC_F_Berechnung},
                   kReformat);
    addRangedField(form, {kS.edit, kS.selector, "1e-15", "1e+6", " Sekunden", RC_s_Berechnung},
                   kReformat);
    addRangedField(form, {kR1.edit, kR1.selector, "1e-5", "1e12", " Ohm", RC_R1_Berechnung},
                   kReformat);
    addRangedField(form, {kR2.edit, kR2.selector, "1e-5", "1e12", " Ohm", RC_R2_Berechnung},
                   kReformat);
    addRangedField(form, {kC1.edit, kC1.selector, "1e-24", "1e+12", " Farad", RC_C1_Berechnung},
                   kReformat);
    addRangedField(form, {kC2.edit, kC2.selector, "1e-24", "1e+12", " Farad", RC_C2_Berechnung},
                   kReformat);
    form.addReformat(kReformat, [&form] { RC_Eingaben_formatieren(form); });
    setCaptions(form, kCaptions);
}

SettingKey numberKey(const char* key, const char* control, const char* fallback) {
    return {.key = key, .kind = SettingKind::NumberText, .control = control, .fallback = fallback};
}

SettingKey indexKey(const char* key, const char* control, const char* fallback) {
    return {.key = key, .kind = SettingKind::Index, .control = control, .fallback = fallback};
}

std::vector<SettingsSection> sections() {
    SettingsSection s{.name = "RC-Glieder"};
    s.keys.push_back({.key = "RC-Wien-Doppel",
                      .kind = SettingKind::Mode,
                      .fallback = "1",
                      .mode = &WindowState::RCCircuit,
                      .radios = {"RC_RB_RC", "RC_RB_Wien", "RC_RB_Doppel"},
                      .onMode = [](Form& form, int value) {
                          if (value != static_cast<int>(RcCircuit::TwinT)) return;
                          form.setEnabled("Label33", true);
                          form.setEnabled("Label35", true);
                      }});
    s.keys.push_back({.key = "Fs-R-C",
                      .kind = SettingKind::Mode,
                      .fallback = "2",
                      .mode = &WindowState::RCMode,
                      .radios = {"RC_RB_Fs", "RC_RB_R", "RC_RB_C"}});
    const auto pair = [&s](const char* key, const char* unitKey, const Field& f, const char* text,
                           const char* index) {
        s.keys.push_back(numberKey(key, f.edit, text));
        s.keys.push_back(indexKey(unitKey, f.selector, index));
    };
    pair("Frequenz", "Frequenz-Einheit", kF, "100,00", "7");
    pair("Zeitkonstante", "Zeitkonstante-Einheit", kS, "1,59", "10");
    pair("WiderstandR1", "WiderstandR1-Einheit", kR1, "99,87", "8");
    pair("WiderstandR2", "WiderstandR2-Einheit", kR2, "50,00", "8");
    pair("KondensatorC1", "KondensatorC1-Einheit", kC1, "15,92", "11");
    pair("KondensatorC2", "KondensatorC2-Einheit", kC2, "31,84", "11");
    // The values first: the circuit click then blanks or keeps R2 and C2, and
    // the mode click, last, sets which fields can be typed.
    for (std::size_t i = 2; i < s.keys.size(); ++i) s.loadOrder.push_back(s.keys[i].key);
    s.loadOrder.push_back("RC-Wien-Doppel");
    s.loadOrder.push_back("Fs-R-C");
    return {s};
}

// R2 and C2 blank and disabled with their labels, the factory texts, then the
// RC section and the resistance as the computed quantity.
void factoryDefaults(Form& form) {
    form.setEnabled("Label33", false);
    form.setEnabled("Label35", false);
    blankField(form, kR2);
    blankField(form, kC2);
    applyFactoryTexts(form, kTexts);
    form.setChecked("RC_RB_RC", true);
    form.setChecked("RC_RB_R", true);
}

}  // namespace

long double rcFrequency(long double r, long double c) {
    return checkedDivide(1.0L, r * kTwoPi * c);
}

long double rcResistance(long double f, long double c) {
    return checkedDivide(1.0L, c * kTwoPi * f);
}

long double rcCapacitance(long double f, long double r) {
    return checkedDivide(1.0L, r * kTwoPi * f);
}

long double rcTimeConstant(long double r, long double c) { return checkedResult(r * c); }

long double rcFrequencyOfTimeConstant(long double tau) { return checkedDivide(1.0L, tau * kTwoPi); }

// All three networks are tuned by the same product R1·C1: the section has its
// corner, the Wien bridge (equal R and C in both arms) and the twin-T bridge
// (shunt arms R1 / 2 and 2·C1) their centre at 1 / (2π·R1·C1).
long double rcCircuitFrequency(RcCircuit, long double r1, long double c1) {
    return rcFrequency(r1, c1);
}

long double twinTShuntResistor(long double r1) { return r1 / 2; }

long double twinTShuntCapacitor(long double c1) { return checkedResult(c1 * 2); }

TabModule rcModule() { return {"RCGlieder", build, sections, factoryDefaults}; }

}  // namespace velkaro
