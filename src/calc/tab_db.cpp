#include "calc/tab_db.h"

#include <cmath>

#include "calc/units.h"
#include "core/errors.h"
#include "core/prefix.h"

namespace velkaro {

namespace {

// log10 of a factor of zero or below has no value; the general error report
// shows this text (with its full stop) and nothing is computed.
constexpr const char* kFactorNotPositive = "Der Faktor muss gr\u00f6\u00dfer als 0 sein";

// One sub-tab: the names of its controls and what differs between power and
// voltage. Both sub-tabs run the same computations on their own controls.
struct RatioPage {
    int k;  // 10 for a power ratio, 20 for a voltage ratio
    const char* input;
    const char* inputUnit;
    const char* output;
    const char* outputUnit;
    const char* db;
    const char* factor;
    const char* topMarker;     // red arrow over "Verstärkung": input entered
    const char* bottomMarker;  // red arrow over "Dämpfung": output entered
    const char* gainLabel;
    const char* lossLabel;
    const char* reformat;
    const UnitList* units;
    int initialUnit;
    const char* dbUpper;
    const char* factorUpper;
    const char* section;
    const char* inputKey;  // settings keys, "Uin" / "Pin" and so on
    const char* outputKey;
    // Factory texts (comma as decimal sign).
    const char* inputText;
    const char* outputText;
    const char* dbText;
    const char* factorText;
};

const RatioPage kVoltage{
    .k = 20,
    .input = "dB_U_E_Uin",
    .inputUnit = "dB_U_C_Uin",
    .output = "dB_U_E_Uout",
    .outputUnit = "dB_U_C_Uout",
    .db = "db_U_a_dB",
    .factor = "dB_U_a_lin",
    .topMarker = "Image35",
    .bottomMarker = "Image36",
    .gainLabel = "Label77",
    .lossLabel = "Label78",
    .reformat = "dB_U_Eingaben_formatieren",
    .units = &units::kVoltDb,
    .initialUnit = 8,
    .dbUpper = "298",
    // The blank belongs to the limit text and so appears in the range message.
    .factorUpper = "8e+14 ",
    .section = "dB-U",
    .inputKey = "Uin",
    .outputKey = "Uout",
    .inputText = "20,000",
    .outputText = "200,000",
    .dbText = "20,000",
    .factorText = "10,000",
};

const RatioPage kPower{
    .k = 10,
    .input = "db_P_E_Pin",
    .inputUnit = "db_P_C_Pin",
    .output = "db_P_E_Pout",
    .outputUnit = "db_P_C_Pout",
    .db = "db_P_a_dB",
    .factor = "db_P_a_lin",
    .topMarker = "Image33",
    .bottomMarker = "Image34",
    .gainLabel = "Label79",
    .lossLabel = "Label80",
    .reformat = "dB_P_Eingaben_formatieren",
    .units = &units::kWattDb,
    .initialUnit = 9,
    .dbUpper = "200",
    .factorUpper = "1e28",
    .section = "dB-P",
    .inputKey = "Pin",
    .outputKey = "Pout",
    .inputText = "20,000",
    .outputText = "200,000",
    .dbText = "10,000",
    .factorText = "10,000",
};

// dB_U_Pfeil_oben / dB_U_Pfeil_unten (and the dB_P_ pair): exactly one red
// marker shows which direction was computed last.
void showDirection(Form& form, const RatioPage& p, bool inputToOutput) {
    form.setVisible(p.topMarker, inputToOutput);
    form.setVisible(p.bottomMarker, !inputToOutput);
}

// Output from input: the factor as displayed (rounded) times the input.
void outputFromInput(Form& form, const RatioPage& p, double input) {
    const long double a = form.number(p.factor);
    form.writeRanged(p.output, p.outputUnit, static_cast<double>(input * a));
}

// Input from output: the output divided by the factor as displayed.
void inputFromOutput(Form& form, const RatioPage& p, double output) {
    const long double a = form.number(p.factor);
    form.writeRanged(p.input, p.inputUnit, static_cast<double>(checkedDivide(output, a)));
}

// The output for a new factor, from the input as it stands. The unrounded
// factor is used here; only the displayed factor is rounded by the reformat.
double outputFor(const Form& form, const RatioPage& p, long double a) {
    const long double input = form.number(p.input) * PrefixFactor(form.index(p.inputUnit));
    const double out = static_cast<double>(input * a);
    checkedResult(out);
    return out;
}

// Factor from dB, then the output. The linear edit receives the factor first,
// in the general format; the reformat that follows a successful computation
// gives it its final text. An input that is no number stops after that write.
void factorFromDb(Form& form, const RatioPage& p, double db) {
    const long double a = factorOfDb(db, p.k);
    checkedResult(static_cast<double>(a));  // the factor must fit a displayed number
    form.writeGeneral(p.factor, a);
    form.writeRanged(p.output, p.outputUnit, outputFor(form, p, a));
}

// dB from factor, then the output; the dB edit is written first, as above.
void dbFromFactor(Form& form, const RatioPage& p, double a) {
    form.writeGeneral(p.db, dbOfFactor(a, p.k));
    form.writeRanged(p.output, p.outputUnit, outputFor(form, p, a));
}

// dB_U_Eingaben_formatieren / dB_P_Eingaben_formatieren.
void reformatPage(Form& form, const RatioPage& p) {
    form.restep(p.input, p.inputUnit);
    form.restep(p.output, p.outputUnit);
    form.reformatPlain(p.db);
    form.reformatFactor(p.factor);
}

void buildPage(Form& form, const RatioPage& p) {
    form.addEdit(p.input, localText(form, p.inputText));
    form.addSelector(p.inputUnit, *p.units, p.initialUnit);
    form.addEdit(p.output, localText(form, p.outputText));
    form.addSelector(p.outputUnit, *p.units, p.initialUnit);
    form.addEdit(p.db, localText(form, p.dbText));
    form.addEdit(p.factor, localText(form, p.factorText));
    // Before any direction has been computed both markers show.
    form.addPicture(p.topMarker, true);
    form.addPicture(p.bottomMarker, true);
    form.addLabel(p.gainLabel, "Verst\u00e4rkung");
    form.addLabel(p.lossLabel, "D\u00e4mpfung");

    const auto top = [&form, &p] { showDirection(form, p, true); };
    const auto bottom = [&form, &p] { showDirection(form, p, false); };

    // Input and output: form A with the unit, no word of their own.
    form.addField(FieldSpec{.edit = p.input,
                            .selector = p.inputUnit,
                            .lower = "1e-12",
                            .upper = "1e12",
                            .form = RangeForm::A,
                            .compute = [&form, &p](double v) { outputFromInput(form, p, v); },
                            .reformat = p.reformat,
                            .afterEnter = top});
    form.addField(FieldSpec{.edit = p.output,
                            .selector = p.outputUnit,
                            .lower = "1e-12",
                            .upper = "1e12",
                            .form = RangeForm::A,
                            .compute = [&form, &p](double v) { inputFromOutput(form, p, v); },
                            .reformat = p.reformat,
                            .afterEnter = bottom});
    // The ratio fields also compute when they are left, without any check.
    form.addField(FieldSpec{.edit = p.db,
                            .lower = "0",
                            .upper = p.dbUpper,
                            .word = " dB",
                            .form = RangeForm::A,
                            .wordAfterNumber = true,
                            .compute = [&form, &p](double v) { factorFromDb(form, p, v); },
                            .reformat = p.reformat,
                            .computeOnExit = true});
    form.addField(FieldSpec{.edit = p.factor,
                            .lower = "1",
                            .upper = p.factorUpper,
                            .form = RangeForm::A,
                            .compute = [&form, &p](double v) { dbFromFactor(form, p, v); },
                            .reformat = p.reformat,
                            .computeOnExit = true});
    form.addReformat(p.reformat, [&form, &p] { reformatPage(form, p); });

    // Clicking the input side or "Verstärkung" marks the forward direction, the
    // output side or "Dämpfung" the backward one; nothing is computed.
    for (const char* name : {p.input, p.inputUnit, p.gainLabel}) form.setHandler(name, top);
    for (const char* name : {p.output, p.outputUnit, p.lossLabel}) form.setHandler(name, bottom);
}

// What the user reads beside each field, for messages that name one.
constexpr FieldCaption kCaptions[] = {
    {"dB_U_E_Uin", "U in"},        {"dB_U_E_Uout", "U out"},
    {"db_U_a_dB", "a (Spannung)"}, {"dB_U_a_lin", "Faktor (Spannung)"},
    {"db_P_E_Pin", "P in"},        {"db_P_E_Pout", "P out"},
    {"db_P_a_dB", "a (Leistung)"}, {"db_P_a_lin", "Faktor (Leistung)"},
};

void build(Form& form) {
    buildPage(form, kVoltage);
    buildPage(form, kPower);
    setCaptions(form, kCaptions);
}

SettingsSection sectionOf(const RatioPage& p) {
    const std::string in = p.inputKey;
    const std::string out = p.outputKey;
    return SettingsSection{
        .name = p.section,
        .keys = {
            {.key = "Va",
             .kind = SettingKind::Marker,
             .control = p.topMarker,
             .fallback = "1",
             .partner = p.bottomMarker},
            {.key = in + "-Zahl",
             .kind = SettingKind::NumberText,
             .control = p.input,
             .fallback = "20,000"},
            {.key = in + "-Vorsatz",
             .kind = SettingKind::Index,
             .control = p.inputUnit,
             .fallback = "8"},
            {.key = out + "-Zahl",
             .kind = SettingKind::NumberText,
             .control = p.output,
             .fallback = "200,000"},
            {.key = out + "-Vorsatz",
             .kind = SettingKind::Index,
             .control = p.outputUnit,
             .fallback = "8"},
            {.key = "a-dB", .kind = SettingKind::NumberText, .control = p.db, .fallback = p.dbText},
            {.key = "a-lin",
             .kind = SettingKind::NumberText,
             .control = p.factor,
             .fallback = p.factorText},
        }};
}

std::vector<SettingsSection> sections() { return {sectionOf(kVoltage), sectionOf(kPower)}; }

void setFactoryTexts(Form& form, const RatioPage& p) {
    form.setText(p.input, localText(form, p.inputText));
    form.setText(p.output, localText(form, p.outputText));
    form.setText(p.db, localText(form, p.dbText));
    form.setText(p.factor, localText(form, p.factorText));
}

// The unit selectors keep the items they were built with.
void factoryDefaults(Form& form) {
    showDirection(form, kVoltage, true);
    setFactoryTexts(form, kVoltage);
    setFactoryTexts(form, kPower);
    showDirection(form, kPower, true);
}

}  // namespace

long double dbOfFactor(long double factor, int k) {
    if (!(factor > 0.0L)) throw ArithmeticError(kFactorNotPositive);
    return k * checkedLog10(factor);
}

long double factorOfDb(long double db, int k) { return checkedResult(std::pow(10.0L, db / k)); }

TabModule dbModule() { return {"dB", build, sections, factoryDefaults}; }

}  // namespace velkaro
