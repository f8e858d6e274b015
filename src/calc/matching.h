#pragma once
// What the Pi and T matching-network tabs share around their physics: reading
// the inputs a network needs, the swap of Z1 and Z2, the checks that stop a
// computation for which no network exists (each with a message that names the
// field to correct), and the writing of component values, losses and
// bandwidths.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "calc/tabs.h"
#include "core/form.h"

namespace velkaro::matching {

// An input of the network: an edit and, where it has one, its unit selector.
struct Input {
    const char* edit;
    const char* selector;
};

// "„Impedanz Z2“ (Pi - Anpassnetzwerk)": how the messages name a field.
std::string fieldName(const Form& form, std::string_view edit);

// The value of a frequency or impedance as its field shows it. Only a text
// restored from the settings file can make it zero or negative; no network is
// computed from such a value.
long double positiveInput(const Form& form, const Input& input);

// A coil's or capacitor's quality of 0 (or less) leaves no loss resistance to
// compute with: loss and bandwidth are refused with a message naming the field.
void requireQuality(const Form& form, std::string_view edit, long double q);

// The networks are designed from the higher resistance Z1 to the lower one;
// only the Z1 and Z2 entries swap them. Values restored from the settings file
// with Z1 below Z2 stop every other computation with a message.
void requireZ1NotBelowZ2(const Form& form, const Input& z1Field, const Input& z2Field,
                         long double z1, long double z2);

// The swap rule of the Z1 and Z2 entries: when Z1 is not above Z2 the user is
// told, the two values change places and both fields show them ranged.
void swapIfNotAbove(Form& form, const Input& z1Field, const Input& z2Field, long double& z1,
                    long double& z2);

// A component value and the unit edit beside it ("H", "F", "Hz").
struct Result {
    const char* edit;
    const char* unit;
    const char* letter;
    double value;
};

// Writes results with full ranging; every value is checked before the first
// is written, so a fault leaves them all as they were.
void writeResults(Form& form, std::initializer_list<Result> results);

// A loss in dB: always four decimals, whatever the decimal places.
std::string lossText(const Form& form, double dB);

// A matching-network tab with an operating Q (Pi and T): the same controls,
// built the same way, named after the tab.
struct QTab {
    Input f, z1, z2;
    const char* q;
    const char* ql;
    const char* qc;
    const char* checkQC;
    const char* proposed;  // "Vorgabe"
    const char* entered;   // "Eingabe"
    const char* modeGroup;
    const char* highPassPicture;
    const char* lowPassPicture;
    const char* resultPrefixes[2];  // the result edits of both networks begin so
    int z1Unit;                     // the Z1 list's first item
    const char* reformat;
    std::span<const FactoryText> texts;
    std::span<const std::pair<const char*, const char*>> unitTexts;  // result units
    std::span<const FieldCaption> captions;
    void (*computeF)(Form&, double);
    void (*computeZ1)(Form&, double);
    void (*computeZ2)(Form&, double);
    void (*computeQ)(Form&, double);
    void (*lossAndBandwidth)(Form&);  // after a quality or the check box
    void (*proposedClick)(Form&);
    void (*enteredClick)(Form&);
    void (*checkClick)(Form&);         // calls qualityCheckClick
    void (*reformatProcedure)(Form&);  // calls reformatInputs
};

// Adds the tab's controls, fields, mode buttons, check box and reformat.
void buildQTab(Form& form, const QTab& tab);

// The check box: the capacitors' quality counts only while it is checked.
void qualityCheckClick(Form& form, const QTab& tab);

// The reformat of the inputs: Q, F, Z1, Z2, QL, QC.
void reformatInputs(Form& form, const QTab& tab);

}  // namespace velkaro::matching
