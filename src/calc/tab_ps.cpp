#include "calc/tab_ps.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "calc/constants.h"
#include "calc/units.h"
#include "core/errors.h"

namespace velkaro {

namespace {

const std::string kReformat = "PS_Eingaben_formatieren";

// The frequency has no range test of its own (it is only read by the R, L and C
// entries), so a zero arrives here. Without a frequency there is no reactance
// to convert; the report says which field to correct.
constexpr const char* kZeroFrequency =
    "Division durch Null: \u201eFrequenz\u201c (Parallel-/Serienschaltung) ist 0";

struct Field {
    const char* edit;
    const char* selector;
};

constexpr Field kF{"PS_E_F", "PS_C_F"};
constexpr Field kRp{"PS_E_Rp", "PS_C_Rp"};
constexpr Field kLp{"PS_E_Lp", "PS_C_Lp"};
constexpr Field kCp{"PS_E_Cp", "PS_C_Cp"};
constexpr Field kRs{"PS_E_Rs", "PS_C_Rs"};
constexpr Field kLs{"PS_E_Ls", "PS_C_Ls"};
constexpr Field kCs{"PS_E_Cs", "PS_C_Cs"};

// A first start shows the equivalents of 25 Ohm parallel to 10 µH at 3,6 MHz.
// Cp is the one the rounded series texts (24,698 Ohm, 120,682 nH) lead back
// to, as it was always shipped; from 10 µH directly it is 195,450 pF.
constexpr FactoryText kTexts[] = {
    {"PS_E_F", "3,600"},   {"PS_E_Rp", "25,000"},  {"PS_E_Lp", "10,000"}, {"PS_E_Cp", "195,455"},
    {"PS_E_Rs", "24,698"}, {"PS_E_Ls", "120,682"}, {"PS_E_Cs", "16,195"},
};

// ω = 2π·f from the frequency as shown, read before anything else.
long double angularFrequency(Form& form) {
    const double f = form.value(kF.edit, kF.selector);
    if (f == 0.0) throw ReportedError(kZeroFrequency);
    return kTwoPi * f;
}

struct Result {
    Field field;
    long double value;
};

// Every result is held as a double and checked before the first one is
// written: a fault leaves the whole tab as it was.
void writeResults(Form& form, std::initializer_list<Result> results) {
    std::vector<double> held;
    held.reserve(results.size());
    for (const Result& r : results) {
        const double d = static_cast<double>(checkedResult(r.value));
        held.push_back(static_cast<double>(checkedResult(d)));  // beyond a double: overflow
    }
    auto value = held.begin();
    for (const Result& r : results) form.writeRanged(r.field.edit, r.field.selector, *value++);
}

// ---- from the parallel side -------------------------------------------------
// An entered resistance takes the reactance from the inductance of its own side:
// after a capacitance was entered, that inductance shows the same reactance.

void PS_Rp_Berechnung(Form& form, double rp) {
    const long double w = angularFrequency(form);
    const long double xp = inductiveReactance(w, form.value(kLp.edit));
    const LossyReactance s = seriesEquivalent(rp, xp);
    writeResults(form, {{kRs, s.r}, {kLs, inductanceFor(w, s.x)}, {kCs, capacitanceFor(w, s.x)}});
}

void PS_Lp_Berechnung(Form& form, double lp) {
    const long double w = angularFrequency(form);
    const long double rp = form.value(kRp.edit);
    const long double xp = inductiveReactance(w, lp);
    const LossyReactance s = seriesEquivalent(rp, xp);
    writeResults(form, {{kRs, s.r},
                        {kLs, inductanceFor(w, s.x)},
                        {kCs, capacitanceFor(w, s.x)},
                        {kCp, capacitanceFor(w, xp)}});
}

void PS_Cp_Berechnung(Form& form, double cp) {
    const long double w = angularFrequency(form);
    const long double rp = form.value(kRp.edit);
    const long double xp = capacitiveReactance(w, cp);
    const LossyReactance s = seriesEquivalent(rp, xp);
    writeResults(form, {{kRs, s.r},
                        {kLs, inductanceFor(w, s.x)},
                        {kLp, inductanceFor(w, xp)},
                        {kCs, capacitanceFor(w, s.x)}});
}

// ---- from the series side ---------------------------------------------------

void PS_Rs_Berechnung(Form& form, double rs) {
    const long double w = angularFrequency(form);
    const long double xs = inductiveReactance(w, form.value(kLs.edit));
    const LossyReactance p = parallelEquivalent(rs, xs);
    writeResults(form, {{kRp, p.r}, {kLp, inductanceFor(w, p.x)}, {kCp, capacitanceFor(w, p.x)}});
}

void PS_Ls_Berechnung(Form& form, double ls) {
    const long double w = angularFrequency(form);
    const long double rs = form.value(kRs.edit);
    const long double xs = inductiveReactance(w, ls);
    const LossyReactance p = parallelEquivalent(rs, xs);
    writeResults(form, {{kRp, p.r},
                        {kLp, inductanceFor(w, p.x)},
                        {kCp, capacitanceFor(w, p.x)},
                        {kCs, capacitanceFor(w, xs)}});
}

void PS_Cs_Berechnung(Form& form, double cs) {
    const long double w = angularFrequency(form);
    const long double rs = form.value(kRs.edit);
    const long double xs = capacitiveReactance(w, cs);
    const LossyReactance p = parallelEquivalent(rs, xs);
    writeResults(form, {{kRp, p.r},
                        {kLp, inductanceFor(w, p.x)},
                        {kLs, inductanceFor(w, xs)},
                        {kCp, capacitanceFor(w, p.x)}});
}

void PS_Eingaben_formatieren(Form& form) {
    for (const Field& f : {kF, kRp, kLp, kCp, kRs, kLs, kCs}) form.restep(f.edit, f.selector);
}

// ---- building ---------------------------------------------------------------

void build(Form& form) {
    addFactoryEdits(form, kTexts);
    form.addSelector(kF.selector, units::kHertz, 6);         // MHz
    form.addSelector(kRp.selector, units::kOhm, kNoPrefix);  // Ohm
    form.addSelector(kLp.selector, units::kHenryWide, 10);   // µH
    form.addSelector(kCp.selector, units::kFarad, 12);       // pF
    form.addSelector(kRs.selector, units::kOhm, kNoPrefix);  // Ohm
    form.addSelector(kLs.selector, units::kHenryWide, 11);   // nH
    form.addSelector(kCs.selector, units::kFarad, 11);       // nF
    form.addPicture("Image27");                              // parallel connection
    form.addPicture("Image28");                              // series connection

    // The frequency is no field: neither Enter nor a unit change computes
    // anything; the next R, L or C entry reads it.
    form.setCaption(kF.edit, "Frequenz");

    addRangedField(form, {kRp.edit, kRp.selector, "1e-6", "1e6", " Ohm", PS_Rp_Berechnung, "Rp"},
                   kReformat);
    addRangedField(form, {kLp.edit, kLp.selector, "1e-12", "1e3", " Henry", PS_Lp_Berechnung, "Lp"},
                   kReformat);
    addRangedField(form, {kCp.edit, kCp.selector, "1e-12", "1e3", " Farad", PS_Cp_Berechnung, "Cp"},
                   kReformat);
    addRangedField(form, {kRs.edit, kRs.selector, "1e-6", "1e6", " Ohm", PS_Rs_Berechnung, "Rs"},
                   kReformat);
    addRangedField(form, {kLs.edit, kLs.selector, "1e-12", "1e3", " Henry", PS_Ls_Berechnung, "Ls"},
                   kReformat);
    addRangedField(form, {kCs.edit, kCs.selector, "1e-12", "1e3", " Farad", PS_Cs_Berechnung, "Cs"},
                   kReformat);
    form.addReformat(kReformat, [&form] { PS_Eingaben_formatieren(form); });
}

std::vector<SettingsSection> sections() {
    SettingsSection s{.name = "PS-Gleich"};
    const auto pair = [&s](const char* key, const char* unitKey, const Field& f, const char* text,
                           const char* index) {
        s.keys.push_back(
            {.key = key, .kind = SettingKind::NumberText, .control = f.edit, .fallback = text});
        s.keys.push_back(
            {.key = unitKey, .kind = SettingKind::Index, .control = f.selector, .fallback = index});
    };
    // The defaults of missing keys are the ones this section has always had;
    // the series side among them is not the equivalent of the parallel side.
    pair("Frequenz", "F-Einheit", kF, "3,600", "6");
    pair("Rp", "Rp-Einheit", kRp, "25,000", "8");
    pair("Lp", "Lp-Einheit", kLp, "10,000", "10");
    pair("Cp", "Cp-Einheit", kCp, "195,450", "12");
    pair("Rs", "Rs-Einheit", kRs, "202,994", "7");
    pair("Ls", "Ls-Einheit", kLs, "99,188", "10");
    pair("Cs", "Cs-Einheit", kCs, "19,705", "12");
    return {s};
}

// Texts only: the selectors keep the items the tab was built with.
void factoryDefaults(Form& form) { applyFactoryTexts(form, kTexts); }

}  // namespace

LossyReactance seriesEquivalent(long double rp, long double xp) {
    const long double q = checkedDivide(rp, xp);
    const long double rs = checkedDivide(rp, q * q + 1.0L);
    return {rs, checkedDivide(rp * rs, xp)};
}

LossyReactance parallelEquivalent(long double rs, long double xs) {
    const long double q = checkedDivide(xs, rs);
    const long double rp = checkedResult(rs * (q * q + 1.0L));
    return {rp, checkedDivide(rs * rp, xs)};
}

long double inductiveReactance(long double w, long double l) { return checkedResult(w * l); }

long double capacitiveReactance(long double w, long double c) { return checkedDivide(1.0L, w * c); }

long double inductanceFor(long double w, long double x) { return checkedDivide(x, w); }

long double capacitanceFor(long double w, long double x) { return checkedDivide(1.0L, w * x); }

TabModule psModule() { return {"gleichwSchalt", build, sections, factoryDefaults}; }

}  // namespace velkaro
