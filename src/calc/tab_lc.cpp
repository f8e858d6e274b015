#include "calc/tab_lc.h"

#include <cstdint>
#include <string>
#include <vector>

#include "calc/constants.h"
#include "calc/units.h"
#include "core/errors.h"

namespace velkaro {

namespace {

const std::string kReformat = "LC_Eingaben_formatieren";

// A quality of 0 passes the field's range (0 … 100000), but a coil without
// quality has an infinite loss resistance: on the Q entry nothing is computed,
// and a later computation stops before the series resonance resistance.
constexpr const char* kZeroQualityLoss =
    "Bei der G\u00fcte 0 w\u00e4re der Verlustwiderstand unendlich gro\u00df. Bitte bei "
    "\u201eG\u00fcte Induktivit\u00e4t (L)\u201c (LC-Schwingkreis) einen Wert \u00fcber 0 "
    "eingeben";
constexpr const char* kZeroQualitySeries =
    "Bei der G\u00fcte 0 w\u00e4re der Resonanzwiderstand des Serienschwingkreises unendlich "
    "gro\u00df. Bitte bei \u201eG\u00fcte Induktivit\u00e4t (L)\u201c (LC-Schwingkreis) einen "
    "Wert \u00fcber 0 eingeben";

struct Field {
    const char* edit;
    const char* selector;
};

constexpr Field kF{"LC_E_F", "LC_C_F"};
constexpr Field kL{"LC_E_L", "LC_C_L"};
constexpr Field kC{"LC_E_C", "LC_C_C"};
constexpr Field kR{"LC_E_R", "LC_C_R"};
constexpr const char* kQ = "LC_E_Q";

// Results: a value edit with the unit edit beside it.
struct ResultPair {
    const char* value;
    const char* unit;
};

constexpr ResultPair kParallelR{"LC_Pa_R", "LC_L_Pa_R"};
constexpr ResultPair kSeriesR{"LC_Ser_R", "LC_L_Ser_R"};
constexpr ResultPair kParallelB{"LC_Pa_B", "LC_L_Pa_B"};
constexpr ResultPair kSeriesB{"LC_Ser_B", "LC_L_Ser_B"};
constexpr const char* kParallelQ = "LC_Pa_G";
constexpr const char* kSeriesQ = "LC_Ser_G";

// A first start: 253,303 nH with 1 nF resonate at 10 MHz; a coil quality of
// 100 is 159,155 mOhm there, and so are the results.
constexpr FactoryText kTexts[] = {
    {"LC_E_F", "10,000"},    {"LC_E_L", "253,303"},   {"LC_E_C", "1,000"},
    {"LC_E_Q", "100,000"},   {"LC_E_R", "159,155"},   {"LC_Pa_R", "1,592"},
    {"LC_Ser_R", "159,155"}, {"LC_Pa_B", "100,000"},  {"LC_Ser_B", "100,000"},
    {"LC_Pa_G", "100,000"},  {"LC_Ser_G", "100,000"},
};

// Every result is kept as a double before it is shown or used further; a value
// a double cannot hold is an overflow, never an infinite result on screen.
double held(long double x) {
    const double d = static_cast<double>(checkedResult(x));
    checkedResult(d);
    return d;
}

double read(const Form& form, const Field& f) { return form.value(f.edit, f.selector); }

// The circuit one computation works with: the entered value, the computed one
// unrounded, the others as their fields show them.
struct Circuit {
    double f = 0.0;
    double l = 0.0;
    double c = 0.0;
    double r = 0.0;
    double q = 0.0;
    bool qualityShown = true;  // q read from its field, not just computed
};

// The figures of both circuits at resonance, each written as soon as it is
// known: parallel resistance, circuit quality, series resistance, bandwidth.
void resonanceOutputs(Form& form, const Circuit& k) {
    const double rp = held(parallelResonanceResistance(k.l, k.c, k.r));
    form.writeRangedUnit(kParallelR.value, kParallelR.unit, "Ohm", rp);
    const double qk = held(circuitQuality(k.f, k.l, k.r));
    form.writeFixed(kParallelQ, qk);
    form.writeFixed(kSeriesQ, qk);
    if (k.qualityShown && k.q == 0.0) throw ReportedError(kZeroQualitySeries);
    const double rs = held(seriesResonanceResistance(k.f, k.l, k.q));
    form.writeRangedUnit(kSeriesR.value, kSeriesR.unit, "Ohm", rs);
    const double b = held(resonanceBandwidth(k.l, k.r));
    form.writeRangedUnit(kParallelB.value, kParallelB.unit, "Hz", b);
    form.writeRangedUnit(kSeriesB.value, kSeriesB.unit, "Hz", b);
}

// ---- the computations ---------------------------------------------------------
// f, L and C: the mode says which of the other two is computed; the loss figures
// Q and R are taken as they stand, even where they no longer agree.

void LC_F_Berechnung(Form& form, double f) {
    Circuit k{.f = f};
    k.q = form.value(kQ);
    const int mode = form.state.LCMode;
    if (mode == 2) {
        k.c = read(form, kC);
        k.l = held(resonanceInductance(f, k.c));
        form.writeRanged(kL.edit, kL.selector, k.l);
    } else if (mode == 3) {
        k.l = read(form, kL);
        k.c = held(resonanceCapacitance(f, k.l));
        form.writeRanged(kC.edit, kC.selector, k.c);
    } else {
        k.l = read(form, kL);
        k.c = read(form, kC);
    }
    k.r = read(form, kR);
    resonanceOutputs(form, k);
}

void LC_L_Berechnung(Form& form, double l) {
    Circuit k{.l = l};
    k.q = form.value(kQ);
    const int mode = form.state.LCMode;
    if (mode == 1) {
        k.c = read(form, kC);
        k.f = held(resonanceFrequency(l, k.c));
        form.writeRanged(kF.edit, kF.selector, k.f);
    } else if (mode == 3) {
        k.f = read(form, kF);
        k.c = held(resonanceCapacitance(k.f, l));
        form.writeRanged(kC.edit, kC.selector, k.c);
    } else {
        k.f = read(form, kF);
        k.c = read(form, kC);
    }
    k.r = read(form, kR);
    resonanceOutputs(form, k);
}

void LC_C_Berechnung(Form& form, double c) {
    Circuit k{.c = c};
    k.q = form.value(kQ);
    const int mode = form.state.LCMode;
    if (mode == 1) {
        k.l = read(form, kL);
        k.f = held(resonanceFrequency(k.l, c));
        form.writeRanged(kF.edit, kF.selector, k.f);
    } else if (mode == 2) {
        k.f = read(form, kF);
        k.l = held(resonanceInductance(k.f, c));
        form.writeRanged(kL.edit, kL.selector, k.l);
    } else {
        k.f = read(form, kF);
        k.l = read(form, kL);
    }
    k.r = read(form, kR);
    resonanceOutputs(form, k);
}

// Without a reactance ωL (a frequency or inductance of 0 read from its field)
// the loss figures are 0 and every figure after them undefined; the report
// names the field before anything is written.
void requireReactance(const Circuit& k) {
    if (kTwoPi * k.f * k.l == 0.0L) throw ArithmeticError(errtext::kInvalidOperation);
}

// The entered quality gives the loss resistance; the mode plays no part.
void LC_Q_Berechnung(Form& form, double q) {
    Circuit k{.f = read(form, kF), .l = read(form, kL), .c = read(form, kC), .q = q};
    k.qualityShown = false;
    if (q == 0.0) throw ReportedError(kZeroQualityLoss);
    requireReactance(k);
    k.r = held(coilLossResistance(k.f, k.l, q));
    form.writeRanged(kR.edit, kR.selector, k.r);
    resonanceOutputs(form, k);
}

// The entered loss resistance gives the quality, shown as a plain number.
void LC_R_Berechnung(Form& form, double r) {
    Circuit k{.f = read(form, kF), .l = read(form, kL), .c = read(form, kC), .r = r};
    k.qualityShown = false;
    requireReactance(k);
    k.q = held(coilQuality(k.f, k.l, r));
    form.writeFixed(kQ, k.q);
    resonanceOutputs(form, k);
}

// The inputs only: the results keep what the last computation wrote.
void LC_Eingaben_formatieren(Form& form) {
    form.restep(kF.edit, kF.selector);
    form.restep(kL.edit, kL.selector);
    form.restep(kC.edit, kC.selector);
    form.reformatPlain(kQ);
    form.restep(kR.edit, kR.selector);
}

// ---- mode and marking -----------------------------------------------------------

// The computed quantity cannot be typed, the other two can; Q and R always can.
// Nothing is computed.
void selectMode(Form& form, int mode) {
    const Field quantities[] = {kF, kL, kC};
    for (int i = 0; i < 3; ++i) {
        const bool computed = i + 1 == mode;
        form.setEnabled(quantities[i].edit, !computed);
        form.setEnabled(quantities[i].selector, !computed);
    }
    form.state.LCMode = mode;
}

// Which loss figure the user works with is drawn in the text colour, the other
// one grey. Only a mouse click changes it; nothing reads it.
void markLeading(Form& form, bool qualityLeads) {
    const std::int32_t quality = qualityLeads ? colour::kWindowText : colour::kMedGray;
    const std::int32_t resistance = qualityLeads ? colour::kMedGray : colour::kWindowText;
    form.setFontColour(kQ, quality);
    form.setFontColour(kR.edit, resistance);
    form.setFontColour(kR.selector, resistance);
}

// ---- building ---------------------------------------------------------------

// What the user reads beside each field, for messages that name one.
constexpr FieldCaption kCaptions[] = {
    {"LC_E_F", "Frequenz (F)"},
    {"LC_E_L", "Induktivit\u00e4t (L)"},
    {"LC_E_C", "Kapazit\u00e4t (C)"},
    {"LC_E_Q", "G\u00fcte Induktivit\u00e4t (L)"},
    {"LC_E_R", "Verlustwiderstand Induktivit\u00e4t (R)"},
};

void build(Form& form) {
    addFactoryEdits(form, kTexts);
    form.addSelector(kF.selector, units::kHertz, 6);       // MHz
    form.addSelector(kL.selector, units::kHenryWide, 11);  // nH
    form.addSelector(kC.selector, units::kFarad, 11);      // nF
    form.addSelector(kR.selector, units::kOhm, 9);         // mOhm
    // The unit edits beside the results, as the factory results need them.
    form.addEdit(kParallelR.unit, " kOhm");
    form.addEdit(kSeriesR.unit, " mOhm");
    form.addEdit(kParallelB.unit, " kHz");
    form.addEdit(kSeriesB.unit, " kHz");
    for (const char* result :
         {kParallelR.value, kParallelR.unit, kSeriesR.value, kSeriesR.unit, kParallelB.value,
          kParallelB.unit, kSeriesB.value, kSeriesB.unit, kParallelQ, kSeriesQ}) {
        form.setReadOnly(result, true);
    }
    form.addPicture("Bild");

    for (int mode = 1; mode <= 3; ++mode) {
        const char* const radios[] = {"LC_RB_F", "LC_RB_L", "LC_RB_C"};
        form.addRadio(radios[mode - 1], "GroupBox16", [&form, mode] { selectMode(form, mode); });
    }
    form.setHandler(kQ, [&form] { markLeading(form, true); });
    form.setHandler(kR.edit, [&form] { markLeading(form, false); });
    form.setHandler(kR.selector, [&form] { markLeading(form, false); });
    markLeading(form, true);

    addRangedField(form, {kF.edit, kF.selector, "1e-14", "1e+14", " Hertz", LC_F_Berechnung},
                   kReformat);
    addRangedField(form, {kL.edit, kL.selector, "1e-14", "1e+14", " Henry", LC_L_Berechnung},
                   kReformat);
    addRangedField(form, {kC.edit, kC.selector, "1e-14", "1e+14", " Farad", LC_C_Berechnung},
                   kReformat);
    // The quality is a plain number and has only its Enter.
    form.addField(FieldSpec{.edit = kQ,
                            .lower = "0",
                            .upper = "100000",
                            .form = RangeForm::B,
                            .compute = [&form](double q) { LC_Q_Berechnung(form, q); },
                            .reformat = kReformat});
    addRangedField(form, {kR.edit, kR.selector, "1e-6", "1e6", " Ohm", LC_R_Berechnung}, kReformat);
    form.addReformat(kReformat, [&form] { LC_Eingaben_formatieren(form); });
    setCaptions(form, kCaptions);
}

SettingKey numberKey(const char* key, const char* control, const char* fallback) {
    return {.key = key, .kind = SettingKind::NumberText, .control = control, .fallback = fallback};
}

SettingKey indexKey(const char* key, const char* control, const char* fallback) {
    return {.key = key, .kind = SettingKind::Index, .control = control, .fallback = fallback};
}

SettingKey textKey(const char* key, const char* control, const char* fallback) {
    return {.key = key, .kind = SettingKind::Text, .control = control, .fallback = fallback};
}

SettingKey colourKey(const char* key, const char* control, const char* fallback) {
    return {.key = key, .kind = SettingKind::Colour, .control = control, .fallback = fallback};
}

// The defaults of missing keys are the ones this section has always had; they
// do not all describe one circuit.
std::vector<SettingsSection> sections() {
    return {{.name = "LC-Schwingkreis",
             .keys = {
                 {.key = "F-L-C",
                  .kind = SettingKind::Mode,
                  .fallback = "2",
                  .mode = &WindowState::LCMode,
                  .radios = {"LC_RB_F", "LC_RB_L", "LC_RB_C"}},
                 numberKey("Frequenz", kF.edit, "10,000"),
                 indexKey("Frequenz-Einheit", kF.selector, "6"),
                 numberKey("Induktivit\u00e4t", kL.edit, "253,303"),
                 indexKey("Induktivit\u00e4t-Einheit", kL.selector, "11"),
                 numberKey("Kapazit\u00e4t", kC.edit, "1,000"),
                 indexKey("Kapazit\u00e4t-Einheit", kC.selector, "11"),
                 numberKey("G\u00fcte_L", kQ, "100,000"),
                 numberKey("Verlust_R_L", kR.edit, "300,000"),
                 indexKey("Verlust_R_L_Einheit", kR.selector, "9"),
                 colourKey("Schrift_G\u00fcte_L", kQ, "clWindowText"),
                 colourKey("Schrift_VerlustR_L", kR.edit, "clMedGray"),
                 colourKey("Schrift_Einheit_VerlustR_L", kR.selector, "clMedGray"),
                 numberKey("Resonanz-R_Parallel", kParallelR.value, "1,592"),
                 textKey("Resonanz-R_Parallel_Einheit", kParallelR.unit, "KOhm"),
                 numberKey("Resonanz-R_Reihe", kSeriesR.value, "159,155"),
                 textKey("Resonanz-R_Reihe_Einheit", kSeriesR.unit, "Ohm"),
                 numberKey("Bandbreite_Parallel", kParallelB.value, "100,000"),
                 textKey("Bandbreite_Parallel_Einheit", kParallelB.unit, "KHertz"),
                 numberKey("Bandbreite_Reihe", kSeriesB.value, "682,330"),
                 textKey("Bandbreite_Reihe_Einheit", kSeriesB.unit, "KHertz"),
                 numberKey("Kreisg\u00fcte_Parallel", kParallelQ, "25330,290"),
                 numberKey("Kreisg\u00fcte_Reihe", kSeriesQ, "100,000"),
             }}};
}

// Texts, then the marking of Q as the leading loss figure, then the mode
// "inductance is computed". Selectors and unit edits keep what they were
// built with.
void factoryDefaults(Form& form) {
    applyFactoryTexts(form, kTexts);
    markLeading(form, true);
    form.setChecked("LC_RB_L", true);
}

}  // namespace

long double resonanceFrequency(long double l, long double c) {
    return checkedDivide(1.0L, checkedSqrt(l * c) * kTwoPi);
}

long double resonanceInductance(long double f, long double c) {
    const long double w = f * kTwoPi;
    return checkedDivide(1.0L, c * (w * w));
}

long double resonanceCapacitance(long double f, long double l) {
    const long double w = f * kTwoPi;
    return checkedDivide(1.0L, l * (w * w));
}

long double coilLossResistance(long double f, long double l, long double q) {
    return checkedDivide(kTwoPi * f * l, q);
}

long double coilQuality(long double f, long double l, long double r) {
    return checkedDivide(kTwoPi * f * l, r);
}

long double parallelResonanceResistance(long double l, long double c, long double r) {
    return checkedDivide(l, c * r);
}

// The series circuit at resonance is only the coil's loss resistance.
long double seriesResonanceResistance(long double f, long double l, long double q) {
    return coilLossResistance(f, l, q);
}

// With the coil as the only loss, the circuit has the coil's quality.
long double circuitQuality(long double f, long double l, long double r) {
    return coilQuality(f, l, r);
}

long double resonanceBandwidth(long double l, long double r) {
    return checkedDivide(r, kTwoPi * l);
}

TabModule lcModule() { return {"LCSchwingkreis", build, sections, factoryDefaults}; }

}  // namespace velkaro
