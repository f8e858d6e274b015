#include "calc/tab_xlxc.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <string>

#include "calc/constants.h"
#include "calc/units.h"
#include "core/errors.h"

namespace velkaro {

namespace {

// XC_X_Berechnung forms 2π from π and a separate factor 2; kept so, since the
// order of the products decides the last bit of the extended result.
constexpr long double kPi = 3.1415926535897932385L;

// The loss-factor field is typed in thousandths (label "x 0,001").
constexpr long double kLossScale = 0.001L;

// Shown when an entered coil impedance equals its reactance: no loss
// resistance, so the quality X / R has no finite value.
constexpr const char* kCoilLossless = "Z und X sind gleich: die G\u00fcte der Spule ist unendlich.";

const std::string kReformat = "XLXC_Eingaben_formatieren";

// The texts of a first start: 10 µH and 1 µF at 1 MHz. Impedance, quality and
// loss factor are shown as designed, not recomputed.
constexpr FactoryText kCoilTexts[] = {
    {"XL_E_F", "1,000"},  {"XL_E_L", "10,000"}, {"XL_E_X", "62,832"},
    {"XL_E_Z", "62,840"}, {"XL_E_Q", "62,830"},
};
constexpr FactoryText kCapacitorTexts[] = {
    {"XC_E_F", "1,000"},   {"XC_E_C", "1,000"},   {"XC_E_X", "159,155"},
    {"XC_E_Z", "159,175"}, {"XC_E_Q", "459,150"},
};

// ---- the coil ---------------------------------------------------------------

// Impedance of the coil from its reactance and the quality in XL_E_Q.
void coilImpedanceStep(Form& form, double x) {
    const long double q = form.number("XL_E_Q");
    const long double r = checkedDivide(x, q);
    form.writeRanged("XL_E_Z", "XL_C_Z", static_cast<double>(seriesImpedance(r, x)));
}

void XL_F_Berechnung(Form& form, double f) {
    if (form.state.XLMode == 2) {
        const double x = form.value("XL_E_X");
        form.writeRanged("XL_E_L", "XL_C_L", static_cast<double>(coilInductance(f, x)));
    }
    if (form.state.XLMode == 3) {
        const double l = form.value("XL_E_L");
        form.writeRanged("XL_E_X", "XL_C_X", static_cast<double>(coilReactance(f, l)));
    }
    // The reactance as displayed: a value just written comes back rounded.
    coilImpedanceStep(form, form.value("XL_E_X"));
}

void XL_L_Berechnung(Form& form, double l) {
    if (form.state.XLMode == 1) {
        const double x = form.value("XL_E_X");
        form.writeRanged("XL_E_F", "XL_C_F", static_cast<double>(coilFrequency(l, x)));
    }
    if (form.state.XLMode == 3) {
        const double f = form.value("XL_E_F");
        form.writeRanged("XL_E_X", "XL_C_X", static_cast<double>(coilReactance(f, l)));
    }
    coilImpedanceStep(form, form.value("XL_E_X"));
}

void XL_X_Berechnung(Form& form, double x) {
    if (form.state.XLMode == 1) {
        const double l = form.value("XL_E_L");
        form.writeRanged("XL_E_F", "XL_C_F", static_cast<double>(coilFrequency(l, x)));
    }
    if (form.state.XLMode == 2) {
        const double f = form.value("XL_E_F");
        form.writeRanged("XL_E_L", "XL_C_L", static_cast<double>(coilInductance(f, x)));
    }
    coilImpedanceStep(form, x);
}

// The quality from an entered impedance. A lossless coil (Z equal to X) has no
// finite quality: the user is told so and the quality keeps its text.
void XL_Z_Berechnung(Form& form, double z) {
    const double x = form.value("XL_E_X");
    const long double r = lossResistance(z, x);
    if (r == 0.0L) {
        form.sink().plainMessage(kCoilLossless);
        return;
    }
    form.writeFixed("XL_E_Q", checkedResult(x / r));
}

void XL_Q_Berechnung(Form& form, double q) {
    const double x = form.value("XL_E_X");
    const long double r = checkedDivide(x, q);
    form.writeRanged("XL_E_Z", "XL_C_Z", static_cast<double>(seriesImpedance(r, x)));
}

// ---- the capacitor ----------------------------------------------------------
// The loss factor D = tan δ = R / X of the series model, so R = X · D. (Taking
// R = X / D would treat D as a quality and give a 1 µF capacitor at 1 MHz with
// D = 0.0005 an impedance of 318 Ω instead of 0.159 Ω.)

void capacitorImpedanceStep(Form& form, double x) {
    const long double d = form.number("XC_E_Q") * kLossScale;
    const long double r = x * d;
    form.writeRanged("XC_E_Z", "XC_C_Z", static_cast<double>(seriesImpedance(r, x)));
}

void XC_F_Berechnung(Form& form, double f) {
    if (form.state.XCMode == 2) {
        const double x = form.value("XC_E_X");
        form.writeRanged("XC_E_C", "XC_C_C", static_cast<double>(capacitorCapacitance(f, x)));
    }
    if (form.state.XCMode == 3) {
        const double c = form.value("XC_E_C");
        form.writeRanged("XC_E_X", "XC_C_X", static_cast<double>(capacitorReactance(f, c)));
    }
    capacitorImpedanceStep(form, form.value("XC_E_X"));
}

void XC_C_Berechnung(Form& form, double c) {
    if (form.state.XCMode == 1) {
        const double x = form.value("XC_E_X");
        form.writeRanged("XC_E_F", "XC_C_F", static_cast<double>(capacitorFrequency(c, x)));
    }
    if (form.state.XCMode == 3) {
        const double f = form.value("XC_E_F");
        form.writeRanged("XC_E_X", "XC_C_X", static_cast<double>(capacitorReactance(f, c)));
    }
    capacitorImpedanceStep(form, form.value("XC_E_X"));
}

void XC_X_Berechnung(Form& form, double x) {
    if (form.state.XCMode == 1) {
        const double c = form.value("XC_E_C");
        form.writeRanged("XC_E_F", "XC_C_F", static_cast<double>(capacitorFrequency(c, x)));
    }
    if (form.state.XCMode == 2) {
        const double f = form.value("XC_E_F");
        const long double c = checkedDivide(1.0L, static_cast<long double>(x) * 2 * kPi * f);
        form.writeRanged("XC_E_C", "XC_C_C", static_cast<double>(c));
    }
    capacitorImpedanceStep(form, x);
}

// The loss factor from an entered impedance, written in the field's own scale
// (thousandths) so that reading it back gives the same impedance. Z equal to X
// is a lossless capacitor: D = 0.
void XC_Z_Berechnung(Form& form, double z) {
    const double x = form.value("XC_E_X");
    const long double d = checkedDivide(lossResistance(z, x), x);
    form.writeFixed("XC_E_Q", d / kLossScale);
}

void XC_Q_Berechnung(Form& form, double d) {
    const double x = form.value("XC_E_X");
    const long double r = x * static_cast<long double>(d);
    form.writeRanged("XC_E_Z", "XC_C_Z", static_cast<double>(seriesImpedance(r, x)));
}

void XLXC_Eingaben_formatieren(Form& form) {
    form.restep("XL_E_F", "XL_C_F");
    form.restep("XL_E_L", "XL_C_L");
    form.restep("XL_E_X", "XL_C_X");
    form.restep("XL_E_Z", "XL_C_Z");
    form.reformatPlain("XL_E_Q");
    form.restep("XC_E_F", "XC_C_F");
    form.restep("XC_E_C", "XC_C_C");
    form.restep("XC_E_X", "XC_C_X");
    form.restep("XC_E_Z", "XC_C_Z");
    form.reformatPlain("XC_E_Q");
}

// ---- modes ------------------------------------------------------------------
// A calculator's three linked quantities in the order of its mode values 1, 2, 3.
struct Quantity {
    const char* edit;
    const char* selector;
};
using Quantities = std::array<Quantity, 3>;

constexpr Quantities kCoil = {{{"XL_E_F", "XL_C_F"}, {"XL_E_L", "XL_C_L"}, {"XL_E_X", "XL_C_X"}}};
constexpr Quantities kCapacitor = {
    {{"XC_E_F", "XC_C_F"}, {"XC_E_C", "XC_C_C"}, {"XC_E_X", "XC_C_X"}}};

// The computed quantity cannot be typed; the other two and the impedance can.
// The loss figure stays as it is. Nothing is computed.
void selectMode(Form& form, int WindowState::*mode, const Quantities& quantities,
                const char* impedanceEdit, const char* impedanceSelector, int value) {
    for (int i = 0; i < 3; ++i) {
        const bool computed = i + 1 == value;
        form.setEnabled(quantities[static_cast<std::size_t>(i)].edit, !computed);
        form.setEnabled(quantities[static_cast<std::size_t>(i)].selector, !computed);
    }
    form.setEnabled(impedanceEdit, true);
    form.setEnabled(impedanceSelector, true);
    form.state.*mode = value;
}

// ---- building ---------------------------------------------------------------

// What the user reads beside each field, for messages that name one.
constexpr FieldCaption kCaptions[] = {
    {"XL_E_F", "Spule: Frequenz (F)"},
    {"XL_E_L", "Spule: Induktivit\u00e4t (L)"},
    {"XL_E_X", "Spule: Blindwiderstand (X)"},
    {"XL_E_Z", "Spule: Scheinwiderstand (Z)"},
    {"XL_E_Q", "G\u00fcte von L"},
    {"XC_E_F", "Kondensator: Frequenz (F)"},
    {"XC_E_C", "Kondensator: Kapazit\u00e4t (C)"},
    {"XC_E_X", "Kondensator: Blindwiderstand (X)"},
    {"XC_E_Z", "Kondensator: Scheinwiderstand (Z)"},
    {"XC_E_Q", "Verlustfaktor von C"},
};

void build(Form& form) {
    // The coil.
    addFactoryEdits(form, kCoilTexts);
    form.addSelector("XL_C_F", units::kHertz, 6);
    form.addSelector("XL_C_L", units::kHenry, 10);
    form.addSelector("XL_C_X", units::kOhm, 8);
    form.addSelector("XL_C_Z", units::kOhm, 8);
    form.addPicture("Image4");
    // The capacitor.
    addFactoryEdits(form, kCapacitorTexts);
    form.addSelector("XC_C_F", units::kHertz, 6);
    form.addSelector("XC_C_C", units::kFarad, 10);
    form.addSelector("XC_C_X", units::kOhm, 9);
    form.addSelector("XC_C_Z", units::kOhm, 9);
    form.addPicture("Image5");

    const auto coilMode = [&form](int value) {
        return [&form, value] {
            selectMode(form, &WindowState::XLMode, kCoil, "XL_E_Z", "XL_C_Z", value);
        };
    };
    const auto capacitorMode = [&form](int value) {
        return [&form, value] {
            selectMode(form, &WindowState::XCMode, kCapacitor, "XC_E_Z", "XC_C_Z", value);
        };
    };
    form.addRadio("XL_RB_F", "GroupBox6", coilMode(1));
    form.addRadio("XL_RB_L", "GroupBox6", coilMode(2));
    form.addRadio("XL_RB_X", "GroupBox6", coilMode(3));
    form.addRadio("XC_RB_F", "GroupBox7", capacitorMode(1));
    form.addRadio("XC_RB_C", "GroupBox7", capacitorMode(2));
    form.addRadio("XC_RB_X", "GroupBox7", capacitorMode(3));

    addRangedField(form, {"XL_E_F", "XL_C_F", "1e-14", "1e+14", " Hertz", XL_F_Berechnung},
                   kReformat);
    addRangedField(form, {"XL_E_L", "XL_C_L", "1e-10", "1e+12", " Henry", XL_L_Berechnung},
                   kReformat);
    addRangedField(form, {"XL_E_X", "XL_C_X", "1e-14", "1e+14", " Ohm", XL_X_Berechnung},
                   kReformat);
    addRangedField(form, {"XL_E_Z", "XL_C_Z", "1e-14", "1e+14", " Ohm", XL_Z_Berechnung},
                   kReformat);
    form.addField(FieldSpec{.edit = "XL_E_Q",
                            .lower = "1e-6",
                            .upper = "1e+6",
                            .form = RangeForm::B,
                            .compute = [&form](double q) { XL_Q_Berechnung(form, q); },
                            .reformat = kReformat});

    addRangedField(form, {"XC_E_F", "XC_C_F", "1e-14", "1e+14", " Hertz", XC_F_Berechnung},
                   kReformat);
    addRangedField(form, {"XC_E_C", "XC_C_C", "1e-14", "1e+14", " Farad", XC_C_Berechnung},
                   kReformat);
    addRangedField(form, {"XC_E_X", "XC_C_X", "1e-14", "1e+14", " Ohm", XC_X_Berechnung},
                   kReformat);
    addRangedField(form, {"XC_E_Z", "XC_C_Z", "1e-14", "1e+14", " Ohm", XC_Z_Berechnung},
                   kReformat);
    // The range applies to the loss factor itself; the message quotes the typed text.
    form.addField(FieldSpec{.edit = "XC_E_Q",
                            .lower = "1e-14",
                            .upper = "1e+14",
                            .form = RangeForm::B,
                            .scale = kLossScale,
                            .compute = [&form](double d) { XC_Q_Berechnung(form, d); },
                            .reformat = kReformat});

    form.addReformat(kReformat, [&form] { XLXC_Eingaben_formatieren(form); });
    setCaptions(form, kCaptions);
}

SettingKey numberKey(const char* key, const char* control, const char* fallback) {
    return {.key = key, .kind = SettingKind::NumberText, .control = control, .fallback = fallback};
}

SettingKey indexKey(const char* key, const char* control, const char* fallback) {
    return {.key = key, .kind = SettingKind::Index, .control = control, .fallback = fallback};
}

SettingKey modeKey(const char* key, int WindowState::*global, std::vector<std::string> radios) {
    return {.key = key,
            .kind = SettingKind::Mode,
            .fallback = "3",
            .mode = global,
            .radios = std::move(radios)};
}

std::vector<SettingsSection> sections() {
    return {
        {.name = "XL",
         .keys =
             {modeKey("F-L-X", &WindowState::XLMode, {"XL_RB_F", "XL_RB_L", "XL_RB_X"}),
              numberKey("Frequenz", "XL_E_F", "1,000"), indexKey("Frequenz-Einheit", "XL_C_F", "6"),
              numberKey("Induktivit\u00e4t", "XL_E_L", "10,000"),
              indexKey("Induktivit\u00e4t-Einheit", "XL_C_L", "10"),
              numberKey("BlindR", "XL_E_X", "62,830"), indexKey("BlindR-Einheit", "XL_C_X", "8"),
              numberKey("ScheinR", "XL_E_Z", "62,830"), indexKey("ScheinR-Einheit", "XL_C_Z", "8"),
              numberKey("G\u00fcte-L", "XL_E_Q", "62,830")}},
        {.name = "XC",
         .keys =
             {modeKey("F-C-X", &WindowState::XCMode, {"XC_RB_F", "XC_RB_C", "XC_RB_X"}),
              numberKey("Frequenz", "XC_E_F", "1,000"), indexKey("Frequenz-Einheit", "XC_C_F", "6"),
              numberKey("Kapazit\u00e4t", "XC_E_C", "1,000"),
              indexKey("Kapazit\u00e4t-Einheit", "XC_C_C", "11"),
              numberKey("BlindR", "XC_E_X", "159,150"), indexKey("BlindR-Einheit", "XC_C_X", "8"),
              numberKey("ScheinR", "XC_E_Z", "159,150"), indexKey("ScheinR-Einheit", "XC_C_Z", "8"),
              numberKey("Verlustfaktor", "XC_E_Q", "159,150")}},
    };
}

// Coil texts, then the reactance mode; capacitor texts, then its reactance mode.
// The selectors keep the items the tab was built with.
void factoryDefaults(Form& form) {
    applyFactoryTexts(form, kCoilTexts);
    form.setChecked("XL_RB_X", true);
    applyFactoryTexts(form, kCapacitorTexts);
    form.setChecked("XC_RB_X", true);
}

}  // namespace

long double coilReactance(long double f, long double l) { return checkedResult(f * l * kTwoPi); }

long double coilInductance(long double f, long double x) { return checkedDivide(x, f * kTwoPi); }

long double coilFrequency(long double l, long double x) { return checkedDivide(x, l * kTwoPi); }

long double capacitorReactance(long double f, long double c) {
    return checkedDivide(1.0L, f * c * kTwoPi);
}

long double capacitorCapacitance(long double f, long double x) {
    return checkedDivide(1.0L, f * kTwoPi * x);
}

long double capacitorFrequency(long double c, long double x) {
    return checkedDivide(1.0L, x * c) / kTwoPi;
}

long double seriesImpedance(long double r, long double x) { return checkedSqrt(r * r + x * x); }

long double lossResistance(long double z, long double x) {
    // Both arrive as doubles; a few units in their last place are the noise of
    // two prefix factors, not a resistance.
    if (std::fabs(z - x) <= 4 * DBL_EPSILON * std::fmax(std::fabs(z), std::fabs(x))) return 0.0L;
    return checkedSqrt(std::fabs(z * z - x * x));
}

TabModule xlxcModule() { return {"XLXC", build, sections, factoryDefaults}; }

}  // namespace velkaro
