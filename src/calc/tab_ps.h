#pragma once
// "Parallel-/Serienschaltung": a lossy reactance at one frequency, either as a
// resistance Rp in parallel with a reactance Xp or as the equivalent series
// connection of Rs and Xs. Both forms have the same impedance at that
// frequency, so Rp · Rs = Xp · Xs and Q = Rp / Xp = Xs / Rs. Each reactance is
// shown as an inductance and as a capacitance of the same magnitude, so either
// kind of component can be entered.

#include "calc/tabs.h"

namespace velkaro {

// Resistance and reactance of one form of the circuit, in ohm.
struct LossyReactance {
    long double r = 0.0L;
    long double x = 0.0L;
};

// The series form of Rp parallel to Xp, and the parallel form of Rs in series
// with Xs. A zero reactance (parallel) or resistance (series) has no
// equivalent and raises ArithmeticError.
LossyReactance seriesEquivalent(long double rp, long double xp);
LossyReactance parallelEquivalent(long double rs, long double xs);

// Reactance of an inductance and of a capacitance at the angular frequency w,
// and back from a reactance; a zero product in a denominator raises
// ArithmeticError.
long double inductiveReactance(long double w, long double l);
long double capacitiveReactance(long double w, long double c);
long double inductanceFor(long double w, long double x);
long double capacitanceFor(long double w, long double x);

TabModule psModule();

}  // namespace velkaro
