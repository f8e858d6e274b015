#include "calc/tab_dbuv.h"

#include <cmath>

#include "calc/tab_dbm.h"
#include "calc/units.h"
#include "core/errors.h"

namespace velkaro {

namespace {

constexpr const char* kReformat = "dBuV_Eingaben_formatieren";

// The texts of a first start (1 µV at 75 Ω), shown as stored, not recomputed;
// the level " 0" keeps its form without decimals until the first computation.
constexpr FactoryText kFactoryTexts[] = {
    {"dBuV_E_dB", " 0", true},       {"dBuV_E_dBm", "-108,751", false},
    {"dBuV_E_lin", "13,333", false}, {"dBuV_E_Ueff", "1,000", false},
    {"dBuV_E_Uss", "2,828", false},  {"dBuV_E_R", "75,000", false},
};

void writePower(Form& form, long double watt) {
    form.writeRanged("dBuV_E_lin", "dBuV_C_lin", static_cast<double>(watt));
}
void writeRms(Form& form, long double volt) {
    form.writeRanged("dBuV_E_Ueff", "dBuV_C_Ueff", static_cast<double>(volt));
}
void writePeakToPeak(Form& form, long double volt) {
    form.writeRanged("dBuV_E_Uss", "dBuV_C_Uss", static_cast<double>(volt));
}
void writeDbuv(Form& form, long double dbuv) {
    form.writeFixed("dBuV_E_dB", static_cast<double>(dbuv));
}
void writeDbm(Form& form, long double dbm) {
    form.writeFixed("dBuV_E_dBm", static_cast<double>(dbm));
}

long double systemImpedance(const Form& form) { return form.value("dBuV_E_R", "dBuV_C_R"); }

// Enter in the dBµV edit. This one reformats the tab itself and only then
// writes the dBm level, from the power before it was rounded for display; the
// Enter handler therefore runs no second reformat (see build).
void dbuvLevelEntered(Form& form, double dbuv) {
    const long double r = systemImpedance(form);
    const long double u = std::pow(10.0L, dbuv / 20.0L) * level::kMicrovolt;
    writeRms(form, u);
    writePeakToPeak(form, u * level::peakToPeakFactor());
    const long double watt = level::powerOfRms(u, r);
    writePower(form, watt);
    form.reformat(kReformat);
    writeDbm(form, level::dbmOfWatt(watt));
}

// Enter in the dBm edit.
void dbmLevelEntered(Form& form, double dbm) {
    const long double r = systemImpedance(form);
    const long double p = level::milliwattOfDbm(dbm);
    writePower(form, p * level::kMilliwatt);
    const long double ueff = checkedSqrt(p * (level::kMilliwatt * r));
    writeRms(form, ueff);
    writePeakToPeak(form, ueff * level::peakToPeakFactor());
    writeDbuv(form, level::dbuvOfVolt(ueff));
}

void dBuV_lin_Berechnung(Form& form, double watt) {
    const long double r = systemImpedance(form);
    const long double ueff = level::rmsOfPower(watt, r);
    writeRms(form, ueff);
    writePeakToPeak(form, ueff * level::peakToPeakFactor());
    writeDbuv(form, level::dbuvOfVolt(ueff));
    writeDbm(form, level::dbmOfWatt(watt));
}

// A new impedance keeps the voltages (and so the dBµV level) and moves the power.
void dbuV_R_Berechnung(Form& form, double ohm) {
    const long double volt = form.value("dBuV_E_Ueff", "dBuV_C_Ueff");
    const long double watt = level::powerOfRms(volt, ohm);
    writePower(form, watt);
    writeDbm(form, level::dbmOfWatt(watt));
}

void dBuV_Ueff_Berechnung(Form& form, double volt) {
    const long double r = systemImpedance(form);
    const long double watt = level::powerOfRms(volt, r);
    writePower(form, watt);
    writePeakToPeak(form, std::sqrt(2.0L) * (volt * 2.0L));
    writeDbm(form, level::dbmOfWatt(watt));
    writeDbuv(form, level::dbuvOfVolt(volt));
}

void dBuV_Uss_Berechnung(Form& form, double volt) {
    const long double r = systemImpedance(form);
    const long double ueff = volt / level::peakToPeakFactor();
    writeRms(form, ueff);
    const long double watt = level::powerOfRms(ueff, r);
    writePower(form, watt);
    writeDbm(form, level::dbmOfWatt(watt));
    writeDbuv(form, level::dbuvOfVolt(ueff));
}

void dBuV_Eingaben_formatieren(Form& form) {
    form.reformatPlain("dBuV_E_dB");
    form.reformatPlain("dBuV_E_dBm");
    form.restep("dBuV_E_lin", "dBuV_C_lin");
    form.restep("dBuV_E_R", "dBuV_C_R");
    form.restep("dBuV_E_Ueff", "dBuV_C_Ueff");
    form.restep("dBuV_E_Uss", "dBuV_C_Uss");
}

// What the user reads beside each field, for messages that name one.
constexpr FieldCaption kCaptions[] = {
    {"dBuV_E_dB", "dB\u00b5V Pegel"},
    {"dBuV_E_Ueff", "Ueff"},
    {"dBuV_E_Uss", "Uss"},
    {"dBuV_E_R", "Z"},
    {"dBuV_E_dBm", "dBm Pegel"},
    {"dBuV_E_lin", "lin. Leistungspegel"},
};

void build(Form& form) {
    addFactoryEdits(form, kFactoryTexts);
    form.addSelector("dBuV_C_Ueff", units::kVolt, 10);  // µVolt
    form.addSelector("dBuV_C_R", units::kOhm, 8);       // Ohm
    form.addSelector("dBuV_C_Uss", units::kVolt, 10);
    form.addSelector("dBuV_C_lin", units::kWatt, 13);  // fWatt

    const auto with = [&form](void (*computation)(Form&, double)) {
        return [&form, computation](double v) { computation(form, v); };
    };
    // No reformat of the protocol's own after the dBµV level: its computation
    // reformats before its last write.
    form.addField({.edit = "dBuV_E_dB",
                   .lower = "-70",
                   .upper = "320",
                   .word = " dBuV",
                   .form = RangeForm::A,
                   .wordAfterNumber = true,
                   .compute = with(dbuvLevelEntered)});
    form.addField({.edit = "dBuV_E_Ueff",
                   .selector = "dBuV_C_Ueff",
                   .lower = "1e-14",
                   .upper = "1e+14",
                   .word = " Volt",
                   .compute = with(dBuV_Ueff_Berechnung),
                   .reformat = kReformat});
    form.addField({.edit = "dBuV_E_R",
                   .selector = "dBuV_C_R",
                   .lower = "1e-24",
                   .upper = "1e+12",
                   .word = " Ohm",
                   .compute = with(dbuV_R_Berechnung),
                   .reformat = kReformat});
    form.addField({.edit = "dBuV_E_Uss",
                   .selector = "dBuV_C_Uss",
                   .lower = "1e-14",
                   .upper = "9e14",
                   .word = " Volt",
                   .compute = with(dBuV_Uss_Berechnung),
                   .reformat = kReformat});
    form.addField({.edit = "dBuV_E_dBm",
                   .lower = "-277",
                   .upper = "290",
                   .word = " dBm",
                   .form = RangeForm::B,
                   .compute = with(dbmLevelEntered),
                   .reformat = kReformat});
    form.addField({.edit = "dBuV_E_lin",
                   .selector = "dBuV_C_lin",
                   .lower = "4e-21",
                   .upper = "1e+26",
                   .word = " Watt",
                   .compute = with(dBuV_lin_Berechnung),
                   .reformat = kReformat});
    form.addReformat(kReformat, [&form] { dBuV_Eingaben_formatieren(form); });
    setCaptions(form, kCaptions);
}

std::vector<SettingsSection> sections() {
    using K = SettingKind;
    return {
        {.name = "dBuV",
         .keys = {
             {.key = "dBuV",
              .kind = K::NumberText,
              .control = "dBuV_E_dB",
              .fallback = "0",
              .fallbackAsIs = true},
             {.key = "dBm",
              .kind = K::NumberText,
              .control = "dBuV_E_dBm",
              .fallback = "0",
              .fallbackAsIs = true},
             {.key = "Leistung",
              .kind = K::NumberText,
              .control = "dBuV_E_lin",
              .fallback = "100,000"},
             {.key = "Leistung-Einheit",
              .kind = K::Index,
              .control = "dBuV_C_lin",
              .fallback = "10"},
             {.key = "Ueff",
              .kind = K::NumberText,
              .control = "dBuV_E_Ueff",
              .fallback = "200,000"},
             {.key = "Ueff-Einheit", .kind = K::Index, .control = "dBuV_C_Ueff", .fallback = "9"},
             {.key = "Uss", .kind = K::NumberText, .control = "dBuV_E_Uss", .fallback = "282,840"},
             {.key = "Uss-Einheit", .kind = K::Index, .control = "dBuV_C_Uss", .fallback = "9"},
             {.key = "Impedanz",
              .kind = K::NumberText,
              .control = "dBuV_E_R",
              .fallback = "50,000"},
             {.key = "Impedanz-Einheit", .kind = K::Index, .control = "dBuV_C_R", .fallback = "8"},
         }}};
}

// Texts only: the unit selectors keep the items they were built with.
void factoryDefaults(Form& form) { applyFactoryTexts(form, kFactoryTexts); }

}  // namespace

TabModule dbuvModule() { return {"dBuV", build, sections, factoryDefaults}; }

}  // namespace velkaro
