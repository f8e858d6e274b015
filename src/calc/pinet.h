#pragma once
// The Pi matching network: a shunt element across the higher resistance Z1, a
// series element and a shunt element across the lower resistance Z2. The shunt
// reactance X1 = Z1 / Q turns Z1 into the small series resistance Z1 / (Q² + 1)
// that the series arm and the second shunt arm raise again to Z2. High-pass:
// coils L1, L2 across the ends, capacitor C in series; low-pass: capacitors C1,
// C2 across the ends, coil L in series. All functions take plain values in base
// units (ohm, hertz) and leave the checks of their preconditions to the caller.

#include <optional>

namespace velkaro {

// Magnitudes of the three reactances in ohm.
struct PiReactances {
    long double x1 = 0.0L;  // shunt across Z1
    long double x2 = 0.0L;  // shunt across Z2
    long double x3 = 0.0L;  // series arm
};

// The smallest operating Q that reaches Z2 from Z1 (Z1 ≥ Z2): sqrt(Z1/Z2 − 1).
long double piMinimumQ(long double z1, long double z2);

// The Q the program proposes: the minimum plus 0,2.
long double piProposedQ(long double z1, long double z2);

// The reactances for the operating Q; they exist for Q² + 1 > Z1 / Z2.
PiReactances piReactances(long double z1, long double z2, long double q);

// Component values in henry and farad at the angular frequency w, as doubles.
struct PiElements {
    double hpC = 0.0;   // series capacitor of the high-pass
    double hpL1 = 0.0;  // coil across Z1
    double hpL2 = 0.0;  // coil across Z2
    double tpC1 = 0.0;  // capacitor across Z1
    double tpC2 = 0.0;  // capacitor across Z2
    double tpL = 0.0;   // series coil of the low-pass
};
PiElements piElements(long double w, const PiReactances& x);

// Transmission loss in dB and absolute bandwidth in hertz of one variant.
struct NetworkLoss {
    double loss = 0.0;
    double bandwidth = 0.0;
};
struct PiLosses {
    NetworkLoss highPass;
    NetworkLoss lowPass;
};

// Loss and bandwidth at the frequency f with coils of quality ql and, when qc
// is given, capacitors of quality qc (without it the capacitors are lossless).
// The generator of available power 1000 sees Z1 through the first shunt as a
// series resistance Rs1; the loss resistances of the parts lie in the same
// series loop, which Z2 (as Rs2) closes.
PiLosses piLosses(long double f, long double z1, long double z2, const PiReactances& x,
                  long double ql, std::optional<long double> qc);

}  // namespace velkaro
