#include "calc/tab_dbm.h"

#include <cmath>

#include "calc/units.h"
#include "core/errors.h"

namespace velkaro {

// ---- level physics, shared with the dBµV tab ---------------------------------

namespace level {

long double peakToPeakFactor() { return std::sqrt(2.0L) * 2.0L; }

long double milliwattOfDbm(long double dbm) { return checkedResult(std::pow(10.0L, dbm / 10.0L)); }

long double dbmOfWatt(long double watt) { return 10.0L * checkedLog10(watt / kMilliwatt); }

long double dbuvOfVolt(long double volt) { return 20.0L * checkedLog10(volt / kMicrovolt); }

long double rmsOfPower(long double watt, long double ohm) { return checkedSqrt(ohm * watt); }

long double powerOfRms(long double volt, long double ohm) {
    return checkedDivide(volt * volt, ohm);
}

}  // namespace level

namespace {

constexpr const char* kReformat = "dBm_Eingaben_formatieren";

// The texts of a first start. The level " 0" is shown as it stands, without
// decimals, until the first computation on the tab reformats it.
constexpr FactoryText kFactoryTexts[] = {
    {"dBm_E_dB", " 0", true},         {"dBm_E_lin", "1,000", false},
    {"dBm_E_Ueff", "223,607", false}, {"dBm_E_Uss", "632,456", false},
    {"dBm_E_R", "50,000", false},
};

// Results go to the screen as doubles, like every stored value of the window.
void writePower(Form& form, long double watt) {
    form.writeRanged("dBm_E_lin", "dBm_C_lin", static_cast<double>(watt));
}
void writeRms(Form& form, long double volt) {
    form.writeRanged("dBm_E_Ueff", "dBm_C_Ueff", static_cast<double>(volt));
}
void writePeakToPeak(Form& form, long double volt) {
    form.writeRanged("dBm_E_Uss", "dBm_C_Uss", static_cast<double>(volt));
}
void writeLevel(Form& form, long double dbm) {
    form.writeFixed("dBm_E_dB", static_cast<double>(dbm));
}

// The impedance as shown, in ohm.
long double systemImpedance(const Form& form) { return form.value("dBm_E_R", "dBm_C_R"); }

// Enter in the dBm edit. The level itself is only reformatted afterwards.
void levelEntered(Form& form, double dbm) {
    const long double r = systemImpedance(form);
    const long double c = level::peakToPeakFactor();
    const long double p = level::milliwattOfDbm(dbm);
    writePower(form, p * level::kMilliwatt);
    const long double ueff = checkedSqrt(p * (level::kMilliwatt * r));
    writeRms(form, ueff);
    writePeakToPeak(form, ueff * c);
}

void dbm_lin_Berechnung(Form& form, double watt) {
    const long double r = systemImpedance(form);
    writeLevel(form, level::dbmOfWatt(watt));
    const long double ueff = level::rmsOfPower(watt, r);
    writeRms(form, ueff);
    writePeakToPeak(form, ueff * level::peakToPeakFactor());
}

// A new impedance keeps the power (and so the level) and moves the voltages.
void dbm_R_Berechnung(Form& form, double ohm) {
    const long double watt = form.value("dBm_E_lin", "dBm_C_lin");
    const long double ueff = level::rmsOfPower(watt, ohm);
    writeRms(form, ueff);
    writePeakToPeak(form, ueff * level::peakToPeakFactor());
}

void dbm_Ueff_Berechnung(Form& form, double volt) {
    const long double r = systemImpedance(form);
    const long double watt = level::powerOfRms(volt, r);
    writePower(form, watt);
    writePeakToPeak(form, std::sqrt(2.0L) * (volt * 2.0L));
    writeLevel(form, level::dbmOfWatt(watt));
}

void dbm_Uss_Berechnung(Form& form, double volt) {
    const long double r = systemImpedance(form);
    const long double ueff = volt / level::peakToPeakFactor();
    const long double watt = level::powerOfRms(ueff, r);
    writePower(form, watt);
    writeRms(form, ueff);
    writeLevel(form, level::dbmOfWatt(watt));
}

void dBm_Eingaben_formatieren(Form& form) {
    form.reformatPlain("dBm_E_dB");
    form.restep("dBm_E_lin", "dBm_C_lin");
    form.restep("dBm_E_R", "dBm_C_R");
    form.restep("dBm_E_Ueff", "dBm_C_Ueff");
    form.restep("dBm_E_Uss", "dBm_C_Uss");
}

// What the user reads beside each field, for messages that name one.
constexpr FieldCaption kCaptions[] = {
    {"dBm_E_dB", "dBm Pegel"}, {"dBm_E_lin", "lin. Leistungspegel"},
    {"dBm_E_Ueff", "Ueff"},    {"dBm_E_Uss", "Uss"},
    {"dBm_E_R", "Z"},
};

void build(Form& form) {
    addFactoryEdits(form, kFactoryTexts);
    form.addSelector("dBm_C_lin", units::kWatt, 9);   // mWatt
    form.addSelector("dBm_C_Ueff", units::kVolt, 9);  // mVolt
    form.addSelector("dBm_C_Uss", units::kVolt, 9);
    form.addSelector("dBm_C_R", units::kOhm, 8);  // Ohm

    const auto with = [&form](void (*computation)(Form&, double)) {
        return [&form, computation](double v) { computation(form, v); };
    };
    form.addField({.edit = "dBm_E_dB",
                   .lower = "-174",
                   .upper = "320",
                   .word = " dBm",
                   .form = RangeForm::A,
                   .wordAfterNumber = true,
                   .compute = with(levelEntered),
                   .reformat = kReformat});
    form.addField({.edit = "dBm_E_lin",
                   .selector = "dBm_C_lin",
                   .lower = "4e-26",
                   .upper = "7e+26",
                   .word = " Watt",
                   .compute = with(dbm_lin_Berechnung),
                   .reformat = kReformat});
    form.addField({.edit = "dBm_E_Ueff",
                   .selector = "dBm_C_Ueff",
                   .lower = "1e-26",
                   .upper = "1e+27",
                   .word = " Volt",
                   .compute = with(dbm_Ueff_Berechnung),
                   .reformat = kReformat});
    form.addField({.edit = "dBm_E_Uss",
                   .selector = "dBm_C_Uss",
                   .lower = "1e-26",
                   .upper = "1e+27",
                   .word = " Volt",
                   .compute = with(dbm_Uss_Berechnung),
                   .reformat = kReformat});
    form.addField({.edit = "dBm_E_R",
                   .selector = "dBm_C_R",
                   .lower = "1e-24",
                   .upper = "1e+26",
                   .word = " Ohm",
                   .compute = with(dbm_R_Berechnung),
                   .reformat = kReformat});
    form.addReformat(kReformat, [&form] { dBm_Eingaben_formatieren(form); });
    setCaptions(form, kCaptions);
}

std::vector<SettingsSection> sections() {
    using K = SettingKind;
    return {
        {.name = "dBm",
         .keys = {
             {.key = "dBm",
              .kind = K::NumberText,
              .control = "dBm_E_dB",
              .fallback = "0",
              .fallbackAsIs = true},
             {.key = "Leistung",
              .kind = K::NumberText,
              .control = "dBm_E_lin",
              .fallback = "1,000"},
             {.key = "Leistung-Einheit", .kind = K::Index, .control = "dBm_C_lin", .fallback = "9"},
             {.key = "Ueff", .kind = K::NumberText, .control = "dBm_E_Ueff", .fallback = "223,607"},
             {.key = "Ueff-Einheit", .kind = K::Index, .control = "dBm_C_Ueff", .fallback = "9"},
             {.key = "Uss", .kind = K::NumberText, .control = "dBm_E_Uss", .fallback = "632,456"},
             {.key = "Uss-Einheit", .kind = K::Index, .control = "dBm_C_Uss", .fallback = "9"},
             {.key = "Impedanz", .kind = K::NumberText, .control = "dBm_E_R", .fallback = "50,000"},
             {.key = "Impedanz-Einheit", .kind = K::Index, .control = "dBm_C_R", .fallback = "8"},
         }}};
}

// Texts only: the unit selectors keep the items they were built with.
void factoryDefaults(Form& form) { applyFactoryTexts(form, kFactoryTexts); }

}  // namespace

TabModule dbmModule() { return {"dBm", build, sections, factoryDefaults}; }

}  // namespace velkaro
