#pragma once
// The two-element L matching network: a higher resistance Z1 matched to a lower
// resistance Z2 at one frequency, in its two forms.
//
//   high-pass: inductor across Z1, capacitor in series towards Z2
//   low-pass:  capacitor across Z1, inductor in series towards Z2
//
// With n = sqrt(Z1/Z2 − 1) the shunt element has the reactance Z1/n and the
// series element n·Z2; the loaded quality of the network is n.

#include <optional>

namespace velkaro {

// Element values in henry and farad, each held as a double as it is shown.
struct LNetwork {
    double highPassL = 0.0;
    double highPassC = 0.0;
    double lowPassL = 0.0;
    double lowPassC = 0.0;
};

// n = sqrt(Z1/Z2 − 1); ArithmeticError for Z1 < Z2 or Z2 = 0.
long double lNetworkFactor(long double z1, long double z2);

// Both networks for F in hertz and Z1 > Z2 in ohm. Z1 = Z2 (n = 0) has no
// network: ArithmeticError (division by zero).
LNetwork designLNetwork(double f, double z1, double z2);

// The low-pass elements alone, by the same formulas.
LNetwork designLowPass(double f, double z1, double z2);

// Transmission loss and bandwidth of the low-pass network with the inductance
// l (quality ql) and the capacitance c (quality qc, or lossless when none is
// given). The generator of internal resistance Z2 and available power 1000
// drives the load Rp = Z1/(n² + 1) through the loss resistances RL = ωL/QL
// and RC = 1/(ωC·QC); the loss is what the two resistances take from the
// power that reaches the network, the bandwidth that of the series circuit
// formed by the inductor and all resistances in its path.
struct LowPassLosses {
    double lossDb = 0.0;     // transmission loss in dB
    double bandwidth = 0.0;  // in hertz
};
LowPassLosses lowPassLosses(double f, double z1, double z2, double l, double c, double ql,
                            std::optional<double> qc);

}  // namespace velkaro
