#pragma once
// The T matching network: a series arm on the side of the higher resistance
// Z1, a shunt element, and a series arm on the side of Z2. The series
// reactance X1 = Q · Z1 raises Z1 to the parallel resistance Z1 · (Q² + 1) at
// the shunt node, from which the second series arm comes down to Z2. High-pass:
// capacitors C1, C2 in the series arms, coil L as the shunt; low-pass: coils
// L1, L2 in the series arms, capacitor C as the shunt. Plain values in base
// units; the caller checks the preconditions.

#include <optional>

#include "calc/pinet.h"

namespace velkaro {

// Magnitudes of the three reactances in ohm.
struct TReactances {
    long double x1 = 0.0L;  // series arm on the Z1 side
    long double x2 = 0.0L;  // series arm on the Z2 side
    long double x3 = 0.0L;  // shunt element
};

// k = Z1 · (Q² + 1) / Z2 − 1: the square of X2 / Z2. Positive for every Q > 0
// when Z1 ≥ Z2, so the T network has no minimum Q.
long double tSquaredRatio(long double z1, long double z2, long double q);

// The Q proposed when "Vorgabe" is chosen: sqrt(Z1/Z2 − 1) + 0,2 (Z1 ≥ Z2).
long double tProposedQ(long double z1, long double z2);

// The reactances for the operating Q; they exist for k > 0.
TReactances tReactances(long double z1, long double z2, long double q);

// Component values in henry and farad at the angular frequency w, as doubles.
struct TElements {
    double hpC1 = 0.0;  // series capacitor on the Z1 side
    double hpC2 = 0.0;  // series capacitor on the Z2 side
    double hpL = 0.0;   // shunt coil
    double tpL1 = 0.0;  // series coil on the Z1 side
    double tpL2 = 0.0;  // series coil on the Z2 side
    double tpC = 0.0;   // shunt capacitor
};
TElements tElements(long double w, const TReactances& x);

struct TLosses {
    NetworkLoss highPass;
    NetworkLoss lowPass;
};

// Loss and bandwidth at the frequency f with coils of quality ql and, when qc
// is given, capacitors of quality qc. Everything is referred to the shunt node:
// the generator of available power 1000 has the source resistance Rp1 (Z1
// seen through the first series arm), the node is loaded by Rp2 (Z2 seen
// through the second arm) and by every part's loss as a parallel resistance.
TLosses tLosses(long double f, long double z1, long double z2, const TReactances& x, long double ql,
                std::optional<long double> qc);

}  // namespace velkaro
