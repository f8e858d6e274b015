#pragma once
// What the Pi and T matching-network tabs share around their physics: reading
// the inputs a network needs, the swap of Z1 and Z2, the checks that stop a
// computation for which no network exists (each with a message that names the
// field to correct), and the writing of component values, losses and
// bandwidths.

#include <initializer_list>
#include <string>
#include <string_view>

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

}  // namespace velkaro::matching
