#include "calc/tab_pit.h"

#include <cmath>
#include <string>
#include <utility>

#include "calc/units.h"
#include "core/errors.h"

namespace velkaro {

namespace {

// Results and intermediates are kept as doubles between the steps, as the
// numbers shown on this tab always were; a value a double cannot hold is an
// overflow, never an infinite result on screen.
double held(long double x) {
    const double d = static_cast<double>(checkedResult(x));
    checkedResult(d);
    return d;
}

long double square(long double x) { return x * x; }

// The result pairs in the order they are written: value edit, unit edit, word.
struct ResultPair {
    const char* value;
    const char* unit;
    const char* word;
};

constexpr ResultPair kPiResults[] = {
    {"PiT_Pi_E_R_R1", "PiT_Pi_L_R_R1", "Ohm"},   {"PiT_Pi_E_P_R1", "PiT_Pi_L_P_R1", "Watt"},
    {"PiT_Pi_E_R_R23", "PiT_Pi_L_R_R23", "Ohm"}, {"PiT_Pi_E_P_R2", "PiT_Pi_L_P_R2", "Watt"},
    {"PiT_Pi_E_P_R3", "PiT_Pi_L_P_R3", "Watt"},
};
constexpr ResultPair kTResults[] = {
    {"PiT_T_E_R_R1", "PiT_T_L_R_R1", "Ohm"},   {"PiT_T_E_P_R1", "PiT_T_L_P_R1", "Watt"},
    {"PiT_T_E_R_R23", "PiT_T_L_R_R23", "Ohm"}, {"PiT_T_E_P_R2", "PiT_T_L_P_R2", "Watt"},
    {"PiT_T_E_P_R3", "PiT_T_L_P_R3", "Watt"},
};

void PiT_Eingaben_formatieren(Form& form) {
    form.reformatPlain("PiT_E_dB");
    form.restep("PiT_E_Z", "PiT_C_Z");
    form.restep("PiT_E_P", "PiT_C_P");
}

// What the user reads beside each field, for messages that name one.
constexpr FieldCaption kCaptions[] = {
    {"PiT_E_dB", "D\u00e4mpfung"},
    {"PiT_E_Z", "Z"},
    {"PiT_E_P", "P"},
};

void build(Form& form) {
    form.addEdit("PiT_E_dB", localText(form, "20,000"));
    form.addEdit("PiT_E_Z", localText(form, "50,000"));
    form.addSelector("PiT_C_Z", units::kOhm, kNoPrefix);
    form.addEdit("PiT_E_P", localText(form, "1,000"));
    form.addSelector("PiT_C_P", units::kWattShort, kNoPrefix + 1);  // milliwatt

    // The result pairs start with the designed 20 dB / 50 Ohm / 1 mW values. The
    // value edits only show and store results; nothing ever reads them back.
    const char* const piTexts[] = {"247,500", "163,636", "61,111", "818,182", "8,182"};
    const char* const tTexts[] = {"10,101", "163,636", "40,909", "818,182", "8,182"};
    const auto addPairs = [&form](const ResultPair(&pairs)[5], const char* const(&texts)[5]) {
        for (int i = 0; i < 5; ++i) {
            form.addEdit(pairs[i].value, localText(form, texts[i])).readOnly = true;
            const bool ohm = std::string(pairs[i].word) == "Ohm";
            form.addEdit(pairs[i].unit, ohm ? " Ohm" : " \u00b5Watt").readOnly = true;
        }
    };
    addPairs(kPiResults, piTexts);
    addPairs(kTResults, tTexts);

    form.addPicture("Image2");  // Pi schematic
    form.addPicture("Image3");  // T schematic

    // Every valid entry recomputes both attenuators from what the fields show;
    // the value handed over by the protocol is not needed.
    const auto compute = [&form](double) { PiT_Berechnung(form); };
    const std::string reformat = "PiT_Eingaben_formatieren";
    form.addField({.edit = "PiT_E_dB",
                   .lower = "1e-2",
                   .upper = "250",
                   .word = " dB",
                   .form = RangeForm::A,
                   .compute = compute,
                   .reformat = reformat});
    form.addField({.edit = "PiT_E_Z",
                   .selector = "PiT_C_Z",
                   .lower = "1e-13",
                   .upper = "1e15",
                   .word = " Ohm",
                   .form = RangeForm::B,
                   .compute = compute,
                   .reformat = reformat});
    form.addField({.edit = "PiT_E_P",
                   .selector = "PiT_C_P",
                   .lower = "1e-3",
                   .upper = "1e24",
                   .word = " Watt",
                   .form = RangeForm::B,
                   .compute = compute,
                   .reformat = reformat});
    form.addReformat(reformat, [&form] { PiT_Eingaben_formatieren(form); });
    setCaptions(form, kCaptions);
}

std::vector<SettingsSection> sections() {
    SettingsSection s{.name = "Pi-T-Att"};
    const auto number = [&s](const char* key, const char* control, const char* fallback) {
        s.keys.push_back({.key = key,
                          .kind = SettingKind::NumberText,
                          .control = control,
                          .fallback = fallback});
    };
    const auto index = [&s](const char* key, const char* control, const char* fallback) {
        s.keys.push_back(
            {.key = key, .kind = SettingKind::Index, .control = control, .fallback = fallback});
    };
    const auto text = [&s](const char* key, const char* control, const char* fallback) {
        s.keys.push_back(
            {.key = key, .kind = SettingKind::Text, .control = control, .fallback = fallback});
    };
    number("Daempfung", "PiT_E_dB", "20,00");
    number("Quellimpedanz", "PiT_E_Z", "50,00");
    index("Quellimpedanz-Einheit", "PiT_C_Z", "8");
    number("Quellleistung", "PiT_E_P", "1,00");
    index("Quellleistung-Einheit", "PiT_C_P", "9");
    // A missing result key loads the default this section has always had, even
    // where it does not match the factory results (the powers in milliwatt).
    number("Widerstand_R1_Pi", "PiT_Pi_E_R_R1", "247,500");
    text("Widerstand_R1_Pi-Einheit", "PiT_Pi_L_R_R1", " Ohm");
    number("Leistung_R1_Pi", "PiT_Pi_E_P_R1", "16,364");
    text("Leistung_R1_Pi-Einheit", "PiT_Pi_L_P_R1", " mWatt");
    number("Widerstand_R23_Pi", "PiT_Pi_E_R_R23", "61,111");
    text("Widerstand_R23_Pi-Einheit", "PiT_Pi_L_R_R23", " Ohm");
    number("Leistung_R2_Pi", "PiT_Pi_E_P_R2", "81,818");
    text("Leistung_R2_Pi-Einheit", "PiT_Pi_L_P_R2", " mWatt");
    number("Leistung_R3_Pi", "PiT_Pi_E_P_R3", "818,182");
    text("Leistung_R3_Pi-Einheit", "PiT_Pi_L_P_R3", " \u00b5Watt");
    number("Widerstand_R1_T", "PiT_T_E_R_R1", "10,101");
    text("Widerstand_R1_T-Einheit", "PiT_T_L_R_R1", " Ohm");
    number("Leistung_R1_T", "PiT_T_E_P_R1", "16,364");
    text("Leistung_R1_T-Einheit", "PiT_T_L_P_R1", " mWatt");
    number("Widerstand_R23_T", "PiT_T_E_R_R23", "40,909");
    text("Widerstand_R23_T-Einheit", "PiT_T_L_R_R23", " Ohm");
    number("Leistung_R2_T", "PiT_T_E_P_R2", "81,818");
    text("Leistung_R2_T-Einheit", "PiT_T_L_P_R2", " mWatt");
    number("Leistung_R3_T", "PiT_T_E_P_R3", "818,182");
    text("Leistung_R3_T-Einheit", "PiT_T_L_P_R3", " \u00b5Watt");
    return {s};
}

// The factory texts; the unit selectors and unit texts keep their initial state.
void factoryDefaults(Form& form) {
    constexpr std::pair<const char*, const char*> kTexts[] = {
        {"PiT_E_dB", "20,000"},       {"PiT_E_Z", "50,000"},        {"PiT_E_P", "1,000"},
        {"PiT_Pi_E_R_R1", "247,500"}, {"PiT_Pi_E_P_R1", "163,636"}, {"PiT_Pi_E_R_R23", "61,111"},
        {"PiT_Pi_E_P_R2", "818,182"}, {"PiT_Pi_E_P_R3", "8,182"},   {"PiT_T_E_R_R1", "10,101"},
        {"PiT_T_E_P_R1", "163,636"},  {"PiT_T_E_R_R23", "40,909"},  {"PiT_T_E_P_R2", "818,182"},
        {"PiT_T_E_P_R3", "8,182"},
    };
    for (const auto& [control, text] : kTexts) form.setText(control, localText(form, text));
}

}  // namespace

namespace {

// Computes the ten results in the order they are shown and hands each to `emit`
// (index 0..4 Pi, 5..9 T, in the order of kPiResults / kTResults) as soon as it
// is known, so that a fault part-way leaves the results before it in place.
template <typename Emit>
void attenuatorSteps(long double dB, double z, double p, Emit emit) {
    const double k = held(std::pow(10.0L, dB / 20.0L));  // voltage ratio, 20 dB -> 10
    const long double K = k;
    const long double Z = z;
    // The input voltage when P is delivered into Z; the output carries U / K.
    // No power gives no voltage and no power in any resistor.
    const long double U = held(checkedSqrt(Z * p));

    // Pi: series R1 between the two shunts R2 (input) and R3 (output).
    const double piR1 = held(checkedDivide(Z * std::fabs(1.0L - K * K), 2.0L * K));
    emit(0, piR1);
    emit(1, held(checkedDivide(square(U - checkedDivide(U, K)), piR1)));
    const double piR23 = held(checkedDivide(K + 1.0L, K - 1.0L) * Z);
    emit(2, piR23);
    emit(3, held(checkedDivide(U * U, piR23)));
    emit(4, held(checkedDivide(square(checkedDivide(U, K)), piR23)));
    // T: shunt R1 between the two series resistors R2 (input) and R3 (output).
    const double tR1 = held(checkedDivide(2.0L * K, std::fabs(K * K - 1.0L)) * Z);
    emit(5, tR1);
    emit(6, held(square(checkedDivide(U, Z) - checkedDivide(U, Z * K)) * tR1));
    const double tR23 = held(checkedDivide(K - 1.0L, K + 1.0L) * Z);
    emit(7, tR23);
    emit(8, held(square(checkedDivide(U, Z)) * tR23));
    emit(9, held(square(checkedDivide(U, Z * K)) * tR23));
}

}  // namespace

AttenuatorPair designAttenuators(long double dB, double z, double p) {
    AttenuatorPair r;
    double* const slots[] = {&r.pi.r1, &r.pi.powerR1, &r.pi.r23, &r.pi.powerR2, &r.pi.powerR3,
                             &r.t.r1,  &r.t.powerR1,  &r.t.r23,  &r.t.powerR2,  &r.t.powerR3};
    attenuatorSteps(dB, z, p, [&slots](int i, double v) { *slots[i] = v; });
    return r;
}

void PiT_Berechnung(Form& form) {
    const long double dB = form.number("PiT_E_dB");
    const double z = form.value("PiT_E_Z", "PiT_C_Z");
    const double p = form.value("PiT_E_P", "PiT_C_P");
    attenuatorSteps(dB, z, p, [&form](int i, double v) {
        const ResultPair& pair = i < 5 ? kPiResults[i] : kTResults[i - 5];
        form.writeRangedUnit(pair.value, pair.unit, pair.word, v);
    });
}

TabModule pitModule() { return {"PITAtt", build, sections, factoryDefaults}; }

}  // namespace velkaro
