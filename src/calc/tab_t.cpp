#include "calc/tab_t.h"

#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "calc/constants.h"
#include "calc/matching.h"
#include "calc/tnet.h"
#include "calc/units.h"
#include "core/errors.h"
#include "core/numtext.h"

namespace velkaro {

namespace {

using matching::Input;

constexpr const char* kReformat = "T_Eingaben_formatieren";

constexpr Input kF{"T_E_F", "T_C_F"};
constexpr Input kZ1{"T_E_Z1", "T_C_Z1"};
constexpr Input kZ2{"T_E_Z2", "T_C_Z2"};
constexpr const char* kQ = "T_E_Q";
constexpr const char* kQL = "T_E_QL";
constexpr const char* kQC = "T_E_QC";
constexpr const char* kCheckQC = "T_CB_QC";
constexpr const char* kProposed = "T_RB_Vorgabe";
constexpr const char* kEntered = "T_RB_Eingabe";

// The Q of every computation in "Vorgabe" mode (and without a mode); only the
// click on "Vorgabe" proposes another one.
constexpr long double kDefaultQ = 1.0L;

// The range of the Q field, which a remembered Q is held to as well.
constexpr long double kLowestQ = 1e-3L;
constexpr long double kHighestQ = 1e4L;

// A first start: the network for 3,6 MHz from 250 Ohm to 50 Ohm with Q = 1.
constexpr FactoryText kTexts[] = {
    {"T_E_Q", "1,000"},      {"T_E_F", "3,600"},       {"T_E_Z1", "250,000"},
    {"T_E_Z2", "50,000"},    {"T_E_QL", "100,000"},    {"T_E_QC", "500,000"},
    {"T_E_HP_L", "5,526"},   {"T_E_HP_C1", "176,839"}, {"T_E_HP_C2", "294,731"},
    {"T_E_TP_C", "353,678"}, {"T_E_TP_L1", "11,052"},  {"T_E_TP_L2", "6,631"},
    {"T_E_HP_Tl", "0,1720"}, {"T_E_HP_B", "13,846"},   {"T_E_TP_Tl", "0,1720"},
    {"T_E_TP_B", "18,462"},
};

constexpr std::pair<const char*, const char*> kUnitTexts[] = {
    {"T_C_HP_L", " \u00b5H"}, {"T_C_HP_C1", " pF"},      {"T_C_HP_C2", " pF"},
    {"T_C_TP_C", " pF"},      {"T_C_TP_L1", " \u00b5H"}, {"T_C_TP_L2", " \u00b5H"},
    {"T_C_HP_B", " MHz"},     {"T_C_TP_B", " MHz"},
};

// The operating Q by mode: 1 in "Vorgabe" (shown), the field's in "Eingabe".
long double operatingQ(Form& form) {
    if (form.checked(kProposed)) {
        form.writeFixed(kQ, kDefaultQ);
        return kDefaultQ;
    }
    if (form.checked(kEntered)) return form.number(kQ);
    return kDefaultQ;
}

// With Z1 ≥ Z2 every positive Q has its T network; a Q of 0 or below can only
// come back from the settings file.
TReactances designed(const Form& form, long double z1, long double z2, long double q) {
    matching::requireZ1NotBelowZ2(form, kZ1, kZ2, z1, z2);
    if (!(q > 0.0L)) {
        throw ReportedError(matching::fieldName(form, kQ) + " muss gr\u00f6\u00dfer als 0 sein");
    }
    return tReactances(z1, z2, q);
}

void T_BE_Werte_berechnen(Form& form, long double w, const TReactances& x) {
    const TElements e = tElements(w, x);
    matching::writeResults(form, {{"T_E_HP_C1", "T_C_HP_C1", "F", e.hpC1},
                                  {"T_E_HP_C2", "T_C_HP_C2", "F", e.hpC2},
                                  {"T_E_HP_L", "T_C_HP_L", "H", e.hpL},
                                  {"T_E_TP_L1", "T_C_TP_L1", "H", e.tpL1},
                                  {"T_E_TP_L2", "T_C_TP_L2", "H", e.tpL2},
                                  {"T_E_TP_C", "T_C_TP_C", "F", e.tpC}});
}

// Loss and bandwidth of the network with the reactances x; Z1, Z2, F and the
// qualities as the fields show them.
void T_Daempfung_Bandbreite_berechnen(Form& form, const TReactances& x) {
    const long double z1 = matching::positiveInput(form, kZ1);
    const long double z2 = matching::positiveInput(form, kZ2);
    const long double f = matching::positiveInput(form, kF);
    const long double ql = form.number(kQL);
    const bool withC = form.checked(kCheckQC);
    const long double qc = withC ? form.number(kQC) : 0.0L;
    matching::requireZ1NotBelowZ2(form, kZ1, kZ2, z1, z2);
    matching::requireQuality(form, kQL, ql);
    if (withC) matching::requireQuality(form, kQC, qc);

    const TLosses l =
        tLosses(f, z1, z2, x, ql, withC ? std::optional<long double>(qc) : std::nullopt);
    const std::string hpLoss = matching::lossText(form, l.highPass.loss);
    const std::string tpLoss = matching::lossText(form, l.lowPass.loss);
    checkedResult(l.highPass.bandwidth);
    checkedResult(l.lowPass.bandwidth);
    form.setText("T_E_HP_Tl", hpLoss);
    matching::writeResults(form, {{"T_E_HP_B", "T_C_HP_B", "Hz", l.highPass.bandwidth}});
    form.setText("T_E_TP_Tl", tpLoss);
    matching::writeResults(form, {{"T_E_TP_B", "T_C_TP_B", "Hz", l.lowPass.bandwidth}});
}

void designAndShow(Form& form, long double f, long double z1, long double z2, long double q) {
    const TReactances x = designed(form, z1, z2, q);
    T_BE_Werte_berechnen(form, kTwoPi * f, x);
    T_Daempfung_Bandbreite_berechnen(form, x);
}

void T_F_Berechnung(Form& form, double f) {
    const long double z1 = matching::positiveInput(form, kZ1);
    const long double z2 = matching::positiveInput(form, kZ2);
    designAndShow(form, f, z1, z2, operatingQ(form));
}

void T_Z1_Berechnung(Form& form, double value) {
    long double z1 = value;
    long double z2 = matching::positiveInput(form, kZ2);
    matching::swapIfNotAbove(form, kZ1, kZ2, z1, z2);
    const long double f = matching::positiveInput(form, kF);
    designAndShow(form, f, z1, z2, operatingQ(form));
}

void T_Z2_Berechnung(Form& form, double value) {
    long double z1 = matching::positiveInput(form, kZ1);
    long double z2 = value;
    matching::swapIfNotAbove(form, kZ1, kZ2, z1, z2);
    const long double f = matching::positiveInput(form, kF);
    designAndShow(form, f, z1, z2, operatingQ(form));
}

// A typed Q, whatever the mode; the field's range is its only check.
void T_Q_Berechnung(Form& form, double q) {
    const long double z1 = matching::positiveInput(form, kZ1);
    const long double z2 = matching::positiveInput(form, kZ2);
    const long double f = matching::positiveInput(form, kF);
    designAndShow(form, f, z1, z2, q);
}

// Loss and bandwidth only (a quality or the check box changed): the component
// boxes keep what they show.
void T_aundB_Vorgaben(Form& form) {
    const long double z1 = matching::positiveInput(form, kZ1);
    const long double z2 = matching::positiveInput(form, kZ2);
    matching::positiveInput(form, kF);
    const long double q = operatingQ(form);
    T_Daempfung_Bandbreite_berechnen(form, designed(form, z1, z2, q));
}

// "Vorgabe": the Q shown so far is kept for a later "Eingabe"; the network is
// shown once for the Q sqrt(Z1/Z2 − 1) + 0,2.
void T_RB_VorgabeClick(Form& form) {
    form.setEnabled(kQ, false);
    form.state.EnteredOperatingQ = static_cast<double>(form.number(kQ));
    const long double z1 = matching::positiveInput(form, kZ1);
    const long double z2 = matching::positiveInput(form, kZ2);
    const long double f = matching::positiveInput(form, kF);
    matching::requireZ1NotBelowZ2(form, kZ1, kZ2, z1, z2);
    const long double q = tProposedQ(z1, z2);
    form.writeFixed(kQ, q);
    designAndShow(form, f, z1, z2, q);
}

// "Eingabe": the Q kept by the last "Vorgabe" on this tab or the Pi tab comes
// back. The Pi tab accepts Q above its field's range and the settings file
// may hold anything, so the Q is held to the range of this tab's field.
void T_RB_EingabeClick(Form& form) {
    form.setEnabled(kQ, true);
    const long double z1 = matching::positiveInput(form, kZ1);
    const long double z2 = matching::positiveInput(form, kZ2);
    const long double f = matching::positiveInput(form, kF);
    long double q = form.state.EnteredOperatingQ;
    form.writeFixed(kQ, q);
    matching::requireZ1NotBelowZ2(form, kZ1, kZ2, z1, z2);
    const char sep = form.state.LocaleDecimalSeparator;
    if (q < kLowestQ) {
        form.sink().errorBox("Die Eingabe der Betriebsg\u00fcte" + form.text(kQ) +
                             " mu\u00df gr\u00f6\u00dfer als " + std::string("0") + sep + "001" +
                             " sein!\rEs wird der kleinst m\u00f6gliche Wert eingesetzt!");
        q = std::sqrt(z1 / z2 - 1.0L) + 0.1L;
        form.writeFixed(kQ, q);
    } else if (q > kHighestQ) {
        form.sink().errorBox("Die Eingabe der Betriebsg\u00fcte" + form.text(kQ) +
                             " mu\u00df kleiner als 10000 sein!\rEs wird der gr\u00f6\u00dfte "
                             "m\u00f6gliche Wert eingesetzt!");
        q = kHighestQ;
        form.writeFixed(kQ, q);
    }
    designAndShow(form, f, z1, z2, q);
}

constexpr FieldCaption kCaptions[] = {
    {"T_E_F", "Frequenz F"},        {"T_E_Z1", "Impedanz Z1"}, {"T_E_Z2", "Impedanz Z2"},
    {"T_E_Q", "Betriebsg\u00fcte"}, {"T_E_QL", "G\u00fcte L"}, {"T_E_QC", "G\u00fcte C"},
};

void T_CB_QCClick(Form& form);
void T_Eingaben_formatieren(Form& form);

constexpr matching::QTab kTab{
    .f = kF,
    .z1 = kZ1,
    .z2 = kZ2,
    .q = kQ,
    .ql = kQL,
    .qc = kQC,
    .checkQC = kCheckQC,
    .proposed = kProposed,
    .entered = kEntered,
    .modeGroup = "T_GB_Q",
    .highPassPicture = "T_Image_HP",
    .lowPassPicture = "T_Image_TP",
    .resultPrefixes = {"T_E_HP_", "T_E_TP_"},
    .z1Unit = kNoPrefix,
    .reformat = kReformat,
    .texts = kTexts,
    .unitTexts = kUnitTexts,
    .captions = kCaptions,
    .computeF = T_F_Berechnung,
    .computeZ1 = T_Z1_Berechnung,
    .computeZ2 = T_Z2_Berechnung,
    .computeQ = T_Q_Berechnung,
    .lossAndBandwidth = T_aundB_Vorgaben,
    .proposedClick = T_RB_VorgabeClick,
    .enteredClick = T_RB_EingabeClick,
    .checkClick = T_CB_QCClick,
    .reformatProcedure = T_Eingaben_formatieren,
};

// The capacitors' quality counts only while the box is checked.
void T_CB_QCClick(Form& form) { matching::qualityCheckClick(form, kTab); }

void T_Eingaben_formatieren(Form& form) { matching::reformatInputs(form, kTab); }

void build(Form& form) { matching::buildQTab(form, kTab); }

std::vector<SettingsSection> sections() {
    SettingsSection s{.name = "T-Netz"};
    const auto add = [&s](const char* key, SettingKind kind, const char* control,
                          const char* fallback) {
        s.keys.push_back({.key = key, .kind = kind, .control = control, .fallback = fallback});
    };
    using K = SettingKind;
    add("Vorgabe", K::Checked, kProposed, "1");
    add("Eingabe", K::Checked, kEntered, "0");
    add("Betriebsg\u00fcte", K::NumberText, kQ, "1,000");
    // The same value as in "Pi-Netz"; read after it, so this one counts.
    s.keys.push_back({.key = "Eingabe_Q",
                      .kind = K::Float,
                      .fallback = "1",
                      .real = &WindowState::EnteredOperatingQ});
    add("G\u00fcte_L", K::NumberText, kQL, "100,000");
    add("G\u00fcte_C", K::NumberText, kQC, "500,000");
    s.keys.push_back({.key = "G\u00fcteC",
                      .kind = K::QualityCheck,
                      .control = kCheckQC,
                      .fallback = "0",
                      .partner = kQC});
    add("Frequenz", K::NumberText, kF.edit, "3,600");
    add("Frequenz-Einheit", K::Index, kF.selector, "6");
    add("Z1", K::NumberText, kZ1.edit, "250,000");
    add("Z1-Einheit", K::Index, kZ1.selector, "7");
    add("Z2", K::NumberText, kZ2.edit, "50,000");
    add("Z2-Einheit", K::Index, kZ2.selector, "8");
    // The results as they were shown; the defaults of missing keys are the
    // ones this section has always had.
    const char* const results[][3] = {
        {"L", "T_E_HP_L", "5,526"},         {"L-Einheit", "T_C_HP_L", "\u00b5H"},
        {"C1", "T_E_HP_C1", "176,839"},     {"C1-Einheit", "T_C_HP_C1", "pF"},
        {"C2", "T_E_HP_C2", "294,731"},     {"C2-Einheit", "T_C_HP_C2", "pF"},
        {"C", "T_E_TP_C", "353,678"},       {"C-Einheit", "T_C_TP_C", "pF"},
        {"L1", "T_E_TP_L1", "11,052"},      {"L1-Einheit", "T_C_TP_L1", "\u00b5H"},
        {"L2", "T_E_TP_L2", "6,631"},       {"L2-Einheit", "T_C_TP_L2", "\u00b5H"},
        {"aHP", "T_E_HP_Tl", "0,381"},      {"BHP", "T_E_HP_B", "837,567"},
        {"BHP-Einheit", "T_C_HP_B", "kHz"}, {"aTP", "T_E_TP_Tl", "0,226"},
        {"BTP", "T_E_TP_B", "1,399"},       {"BTP-Einheit", "T_C_TP_B", "MHz"},
    };
    s.loadOrder = {
        "Betriebsg\u00fcte", "Eingabe_Q", "Frequenz",   "Frequenz-Einheit", "Z1",
        "Z1-Einheit",        "Z2",        "Z2-Einheit", "G\u00fcte_L",      "G\u00fcte_C",
        "G\u00fcteC"};
    for (const auto& r : results) {
        const bool unit = std::string(r[1]).rfind("T_C_", 0) == 0;
        add(r[0], unit ? K::Text : K::NumberText, r[1], r[2]);
        s.loadOrder.push_back(r[0]);
    }
    // The mode buttons last: checking one runs its handler, which at start-up
    // only spends the tab's first-call flag.
    s.loadOrder.push_back("Vorgabe");
    s.loadOrder.push_back("Eingabe");
    return {s};
}

// Texts first, then "Vorgabe": at a first start that check only marks the mode.
void factoryDefaults(Form& form) {
    applyFactoryTexts(form, kTexts);
    form.setChecked(kProposed, true);
}

}  // namespace

TabModule tModule() { return {"TNetz", build, sections, factoryDefaults}; }

}  // namespace velkaro
