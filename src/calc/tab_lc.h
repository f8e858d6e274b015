#pragma once
// "LC-Schwingkreis": a capacitor C with a lossy coil L. The coil is the ideal
// inductance in series with its loss resistance R, so its quality is
// Q = ωL / R. The circuit resonates at f = 1 / (2π·sqrt(L·C)); of f, L and C
// the user chooses the one computed from the other two.
//
// At resonance the two circuits made of these parts behave so:
// - parallel circuit: a resistance Rp = L / (C·R) (the dynamic resistance);
// - series circuit: a resistance Rs = ωL / Q, the coil's loss resistance;
// - both: circuit quality Qk = ωL / R (the coil is the only loss) and the
//   bandwidth between the -3 dB points B = f / Qk = R / (2π·L).

#include "calc/tabs.h"

namespace velkaro {

// Resonance of L and C, each from the other two, in base units (hertz, henry,
// farad). Extended precision throughout; a zero divisor raises ArithmeticError.
long double resonanceFrequency(long double l, long double c);
long double resonanceInductance(long double f, long double c);
long double resonanceCapacitance(long double f, long double l);

// The coil's loss resistance for its quality q at the frequency f, and the
// quality for a loss resistance r. A quality of 0 has no finite resistance.
long double coilLossResistance(long double f, long double l, long double q);
long double coilQuality(long double f, long double l, long double r);

// The figures of both circuits at resonance (see above).
long double parallelResonanceResistance(long double l, long double c, long double r);
long double seriesResonanceResistance(long double f, long double l, long double q);
long double circuitQuality(long double f, long double l, long double r);
long double resonanceBandwidth(long double l, long double r);

TabModule lcModule();

}  // namespace velkaro
