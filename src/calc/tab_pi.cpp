#include "calc/tab_pi.h"

#include <optional>
#include <string>
#include <utility>

#include "calc/constants.h"
#include "calc/matching.h"
#include "calc/pinet.h"
#include "calc/units.h"
#include "core/errors.h"
#include "core/numtext.h"

namespace velkaro {

namespace {

using matching::Input;

constexpr const char* kReformat = "Pi_Eingaben_formatieren";

constexpr Input kF{"Pi_E_F", "Pi_C_F"};
constexpr Input kZ1{"Pi_E_Z1", "Pi_C_Z1"};
constexpr Input kZ2{"Pi_E_Z2", "Pi_C_Z2"};
constexpr const char* kQ = "Pi_E_Q";
constexpr const char* kQL = "Pi_E_QL";
constexpr const char* kQC = "Pi_E_QC";
constexpr const char* kCheckQC = "Pi_CB_QC";
constexpr const char* kProposed = "Pi_RB_Vorgabe";
constexpr const char* kEntered = "Pi_RB_Eingabe";

// The Q used while neither mode button is checked (a settings file with both
// keys 0).
constexpr long double kQWithoutMode = 5.0L;

// A first start: the network for 3,6 MHz from 1,2 kOhm to 50 Ohm with the
// proposed Q, as it was always shipped.
constexpr FactoryText kTexts[] = {
    {"Pi_E_Q", "4,996"},      {"Pi_E_F", "3,600"},       {"Pi_E_Z1", "1,200"},
    {"Pi_E_Z2", "50,000"},    {"Pi_E_QL", "100,000"},    {"Pi_E_QC", "500,000"},
    {"Pi_E_HP_C", "181,076"}, {"Pi_E_HP_L1", "10,619"},  {"Pi_E_HP_L2", "7,735"},
    {"Pi_E_TP_L", "10,794"},  {"Pi_E_TP_C1", "184,060"}, {"Pi_E_TP_C2", "252,681"},
    {"Pi_E_HP_TL", "0,3816"}, {"Pi_E_HP_B", "837,567"},  {"Pi_E_TP_TL", "0,2264"},
    {"Pi_E_TP_B", "1,399"},
};

// The unit edits beside the results and what they show before the first
// computation.
constexpr std::pair<const char*, const char*> kUnitTexts[] = {
    {"Pi_C_HP_C", " pF"},      {"Pi_C_HP_L1", " \u00b5H"}, {"Pi_C_HP_L2", " \u00b5H"},
    {"Pi_C_TP_L", " \u00b5H"}, {"Pi_C_TP_C1", " pF"},      {"Pi_C_TP_C2", " pF"},
    {"Pi_C_HP_B", " kHz"},     {"Pi_C_TP_B", " MHz"},
};

std::string fixedPlain(const Form& form, long double x) {
    return formatFixed(checkedResult(x), form.state.DecimalPlaces,
                       form.state.LocaleDecimalSeparator);
}

// No Pi network exists for an operating Q at or below the minimum.
void requireQAboveMinimum(const Form& form, long double z1, long double z2, long double q) {
    const long double qMin = piMinimumQ(z1, z2);
    if (q > qMin) return;
    throw ReportedError("Die " + matching::fieldName(form, kQ) +
                        " muss f\u00fcr diese Impedanzen gr\u00f6\u00dfer als " +
                        fixedPlain(form, qMin) +
                        " sein, sonst gibt es kein Pi-Glied. Bitte eine gr\u00f6\u00dfere "
                        "Betriebsg\u00fcte eingeben oder \u201eVorgabe\u201c w\u00e4hlen");
}

// The operating Q by mode. "Vorgabe" proposes it from Z1 and Z2 and shows it.
long double operatingQ(Form& form, long double z1, long double z2) {
    matching::requireZ1NotBelowZ2(form, kZ1, kZ2, z1, z2);
    if (form.checked(kProposed)) {
        const long double q = piProposedQ(z1, z2);
        form.writeFixed(kQ, q);
        return q;
    }
    if (form.checked(kEntered)) return form.number(kQ);
    return kQWithoutMode;
}

PiReactances designed(const Form& form, long double z1, long double z2, long double q) {
    matching::requireZ1NotBelowZ2(form, kZ1, kZ2, z1, z2);
    requireQAboveMinimum(form, z1, z2, q);
    return piReactances(z1, z2, q);
}

void Pi_BE_Werte_berechnen(Form& form, long double w, const PiReactances& x) {
    const PiElements e = piElements(w, x);
    matching::writeResults(form, {{"Pi_E_HP_C", "Pi_C_HP_C", "F", e.hpC},
                                  {"Pi_E_HP_L1", "Pi_C_HP_L1", "H", e.hpL1},
                                  {"Pi_E_HP_L2", "Pi_C_HP_L2", "H", e.hpL2},
                                  {"Pi_E_TP_C1", "Pi_C_TP_C1", "F", e.tpC1},
                                  {"Pi_E_TP_C2", "Pi_C_TP_C2", "F", e.tpC2},
                                  {"Pi_E_TP_L", "Pi_C_TP_L", "H", e.tpL}});
}

// Loss and bandwidth from what the fields show, the operating Q included: in
// "Eingabe" mode the Q as displayed, rounded to the decimal places.
void Pi_Daempfung_Bandbreite_berechnen(Form& form) {
    const long double f = matching::positiveInput(form, kF);
    const long double z1 = matching::positiveInput(form, kZ1);
    const long double z2 = matching::positiveInput(form, kZ2);
    const long double ql = form.number(kQL);
    const bool withC = form.checked(kCheckQC);
    const long double qc = withC ? form.number(kQC) : 0.0L;
    const long double q = operatingQ(form, z1, z2);
    const PiReactances x = designed(form, z1, z2, q);
    matching::requireQuality(form, kQL, ql);
    if (withC) matching::requireQuality(form, kQC, qc);

    const PiLosses l =
        piLosses(f, z1, z2, x, ql, withC ? std::optional<long double>(qc) : std::nullopt);
    const std::string hpLoss = matching::lossText(form, l.highPass.loss);
    const std::string tpLoss = matching::lossText(form, l.lowPass.loss);
    checkedResult(l.highPass.bandwidth);
    checkedResult(l.lowPass.bandwidth);
    form.setText("Pi_E_HP_TL", hpLoss);
    matching::writeResults(form, {{"Pi_E_HP_B", "Pi_C_HP_B", "Hz", l.highPass.bandwidth}});
    form.setText("Pi_E_TP_TL", tpLoss);
    matching::writeResults(form, {{"Pi_E_TP_B", "Pi_C_TP_B", "Hz", l.lowPass.bandwidth}});
}

// The network for F, Z1, Z2 and the Q of the mode: components, then loss and
// bandwidth.
void designAndShow(Form& form, long double f, long double z1, long double z2) {
    const long double q = operatingQ(form, z1, z2);
    Pi_BE_Werte_berechnen(form, kTwoPi * f, designed(form, z1, z2, q));
    Pi_Daempfung_Bandbreite_berechnen(form);
}

void Pi_F_Berechnung(Form& form, double f) {
    const long double z1 = matching::positiveInput(form, kZ1);
    const long double z2 = matching::positiveInput(form, kZ2);
    designAndShow(form, f, z1, z2);
}

void Pi_Z1_Berechnung(Form& form, double value) {
    long double z1 = value;
    long double z2 = matching::positiveInput(form, kZ2);
    matching::swapIfNotAbove(form, kZ1, kZ2, z1, z2);
    designAndShow(form, matching::positiveInput(form, kF), z1, z2);
}

void Pi_Z2_Berechnung(Form& form, double value) {
    long double z1 = matching::positiveInput(form, kZ1);
    long double z2 = value;
    matching::swapIfNotAbove(form, kZ1, kZ2, z1, z2);
    designAndShow(form, matching::positiveInput(form, kF), z1, z2);
}

// A typed Q, whatever the mode. One not above the minimum is replaced by the
// minimum plus 0,2, written without a blank (the reformat that follows adds it).
void Pi_Q_Berechnung(Form& form, double value) {
    const long double f = matching::positiveInput(form, kF);
    const long double z1 = matching::positiveInput(form, kZ1);
    const long double z2 = matching::positiveInput(form, kZ2);
    matching::requireZ1NotBelowZ2(form, kZ1, kZ2, z1, z2);
    long double q = value;
    const long double qMin = piMinimumQ(z1, z2);
    if (q <= qMin) {
        form.sink().errorBox("Die Eingabe der Betriebsg\u00fcte " + form.text(kQ) +
                             " mu\u00df gr\u00f6\u00dfer sein als " + fixedPlain(form, qMin) +
                             "\rEs wird der kleinst m\u00f6gliche Wert eingesetzt!");
        q = qMin + 0.2L;
        form.setText(kQ, fixedPlain(form, q));
    }
    Pi_BE_Werte_berechnen(form, kTwoPi * f, designed(form, z1, z2, q));
    Pi_Daempfung_Bandbreite_berechnen(form);
}

// "Vorgabe": the Q shown so far is kept for a later "Eingabe", the proposed Q
// takes its place.
void Pi_RB_VorgabeClick(Form& form) {
    form.setEnabled(kQ, false);
    form.state.EnteredOperatingQ = static_cast<double>(form.number(kQ));
    const long double z1 = matching::positiveInput(form, kZ1);
    const long double z2 = matching::positiveInput(form, kZ2);
    const long double f = matching::positiveInput(form, kF);
    matching::requireZ1NotBelowZ2(form, kZ1, kZ2, z1, z2);
    const long double q = piProposedQ(z1, z2);
    form.writeFixed(kQ, q);
    Pi_BE_Werte_berechnen(form, kTwoPi * f, designed(form, z1, z2, q));
    Pi_Daempfung_Bandbreite_berechnen(form);
}

// "Eingabe": the Q kept by the last "Vorgabe" on this tab or the T tab comes
// back. One not above the minimum is replaced by the minimum plus 0,1, shown
// in the general format.
void Pi_RB_EingabeClick(Form& form) {
    form.setEnabled(kQ, true);
    const long double z1 = matching::positiveInput(form, kZ1);
    const long double z2 = matching::positiveInput(form, kZ2);
    const long double f = matching::positiveInput(form, kF);
    long double q = form.state.EnteredOperatingQ;
    form.writeFixed(kQ, q);
    matching::requireZ1NotBelowZ2(form, kZ1, kZ2, z1, z2);
    const long double qMin = piMinimumQ(z1, z2);
    if (q <= qMin) {
        form.sink().errorBox("Die Eingabe der Betriebsg\u00fcte" + form.text(kQ) +
                             " mu\u00df gr\u00f6\u00dfer sein als " + fixedPlain(form, qMin) +
                             " sein!\rEs wird der kleinst m\u00f6gliche Wert eingesetzt!");
        q = qMin + 0.1L;
        form.setText(kQ, formatGeneral(q, form.state.LocaleDecimalSeparator));
    }
    Pi_BE_Werte_berechnen(form, kTwoPi * f, designed(form, z1, z2, q));
    Pi_Daempfung_Bandbreite_berechnen(form);
}

constexpr FieldCaption kCaptions[] = {
    {"Pi_E_F", "Frequenz F"},        {"Pi_E_Z1", "Impedanz Z1"}, {"Pi_E_Z2", "Impedanz Z2"},
    {"Pi_E_Q", "Betriebsg\u00fcte"}, {"Pi_E_QL", "G\u00fcte L"}, {"Pi_E_QC", "G\u00fcte C"},
};

void Pi_CB_QCClick(Form& form);
void Pi_Eingaben_formatieren(Form& form);

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
    .modeGroup = "Pi_GB_Q",
    .highPassPicture = "Pi_Image_HP",
    .lowPassPicture = "Pi_Image_TP",
    .resultPrefixes = {"Pi_E_HP_", "Pi_E_TP_"},
    .z1Unit = 7,
    .reformat = kReformat,
    .texts = kTexts,
    .unitTexts = kUnitTexts,
    .captions = kCaptions,
    .computeF = Pi_F_Berechnung,
    .computeZ1 = Pi_Z1_Berechnung,
    .computeZ2 = Pi_Z2_Berechnung,
    .computeQ = Pi_Q_Berechnung,
    .lossAndBandwidth = Pi_Daempfung_Bandbreite_berechnen,
    .proposedClick = Pi_RB_VorgabeClick,
    .enteredClick = Pi_RB_EingabeClick,
    .checkClick = Pi_CB_QCClick,
    .reformatProcedure = Pi_Eingaben_formatieren,
};

// The capacitors' quality counts only while the box is checked.
void Pi_CB_QCClick(Form& form) { matching::qualityCheckClick(form, kTab); }

void Pi_Eingaben_formatieren(Form& form) { matching::reformatInputs(form, kTab); }

void build(Form& form) { matching::buildQTab(form, kTab); }

std::vector<SettingsSection> sections() {
    SettingsSection s{.name = "Pi-Netz"};
    const auto add = [&s](const char* key, SettingKind kind, const char* control,
                          const char* fallback) {
        s.keys.push_back({.key = key, .kind = kind, .control = control, .fallback = fallback});
    };
    using K = SettingKind;
    add("Vorgabe", K::Checked, kProposed, "1");
    add("Eingabe", K::Checked, kEntered, "0");
    // Without the key the tab shows 4,000 written with a comma, converted as a
    // stored text would be.
    s.keys.push_back({.key = "Betriebsg\u00fcte",
                      .kind = K::NumberText,
                      .control = kQ,
                      .fallback = "4,000",
                      .fallbackAsIs = true});
    s.keys.push_back({.key = "Eingabe_Q",
                      .kind = K::Float,
                      .fallback = "5",
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
    add("Z1", K::NumberText, kZ1.edit, "1,200");
    add("Z1-Einheit", K::Index, kZ1.selector, "7");
    add("Z2", K::NumberText, kZ2.edit, "50,000");
    add("Z2-Einheit", K::Index, kZ2.selector, "8");
    // The results as they were shown; the defaults of missing keys are the
    // ones this section has always had.
    add("C", K::NumberText, "Pi_E_HP_C", "181,074");
    add("C-Einheit", K::Text, "Pi_C_HP_C", "pF");
    add("L1", K::NumberText, "Pi_E_HP_L1", "10,619");
    add("L1-Einheit", K::Text, "Pi_C_HP_L1", "\u00b5H");
    add("L2", K::NumberText, "Pi_E_HP_L2", "7,738");
    add("L2-Einheit", K::Text, "Pi_C_HP_L2", "\u00b5H");
    add("L", K::NumberText, "Pi_E_TP_L", "10,794");
    add("L-Einheit", K::Text, "Pi_C_TP_L", "\u00b5H");
    add("C1", K::NumberText, "Pi_E_TP_C1", "184,054");
    add("C1-Einheit", K::Text, "Pi_C_TP_C1", "pF");
    add("C2", K::NumberText, "Pi_E_TP_C2", "252,572");
    add("C2-Einheit", K::Text, "Pi_C_TP_C2", "pF");
    add("aHP", K::NumberText, "Pi_E_HP_TL", "0,381");
    add("BHP", K::NumberText, "Pi_E_HP_B", "837,567");
    add("BHP-Einheit", K::Text, "Pi_C_HP_B", "kHz");
    add("aTP", K::NumberText, "Pi_E_TP_TL", "0,226");
    add("BTP", K::NumberText, "Pi_E_TP_B", "1,399");
    add("BTP-Einheit", K::Text, "Pi_C_TP_B", "MHz");

    // The mode buttons last: checking one runs its handler, which at start-up
    // only spends the tab's first-call flag.
    s.loadOrder = {
        "Betriebsg\u00fcte", "Eingabe_Q", "Frequenz",   "Frequenz-Einheit", "Z1",
        "Z1-Einheit",        "Z2",        "Z2-Einheit", "G\u00fcte_L",      "G\u00fcte_C",
        "G\u00fcteC"};
    for (const SettingKey& k : s.keys) {
        if (k.kind == K::Text || (k.kind == K::NumberText && k.control.rfind("Pi_E_HP_", 0) == 0) ||
            (k.kind == K::NumberText && k.control.rfind("Pi_E_TP_", 0) == 0))
            s.loadOrder.push_back(k.key);
    }
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

TabModule piModule() { return {"PiNetz", build, sections, factoryDefaults}; }

}  // namespace velkaro
