#pragma once
// "PI / T Att": resistive Pi and T attenuators for a line of impedance Z, with
// the power each resistor has to dissipate when P is fed into the input.

#include "calc/tabs.h"
#include "core/form.h"

namespace velkaro {

// One attenuator: R1 is the middle element, R2 = R3 the two outer ones (in the
// Pi the series resistor and the two shunts, in the T the shunt and the two
// series resistors); powers in watt for the input power the design was made for.
struct Attenuator {
    double r1 = 0.0;
    double powerR1 = 0.0;
    double r23 = 0.0;
    double powerR2 = 0.0;
    double powerR3 = 0.0;
};

struct AttenuatorPair {
    Attenuator pi;
    Attenuator t;
};

// Both attenuators for `dB` of attenuation between matched lines of `z` ohm,
// with `p` watt delivered into the input (no power: every power 0). Raises
// ArithmeticError where a result has no finite value (0 dB: no resistor can
// attenuate nothing; a negative Z or P: no real input voltage).
AttenuatorPair designAttenuators(long double dB, double z, double p);

// Reads attenuation, impedance and power from their fields and writes the ten
// results with full ranging into their value and unit edits, each as soon as it
// is computed.
void PiT_Berechnung(Form& form);

TabModule pitModule();

}  // namespace velkaro
