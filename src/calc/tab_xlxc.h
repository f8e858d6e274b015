#pragma once
// The "XL / XC" tab: reactance of a coil (X = 2π·f·L) and of a capacitor
// (X = 1 / (2π·f·C)), each with the impedance of the lossy component. Both are
// modelled as the ideal reactance in series with a loss resistance R: for the
// coil R = X / Q (Q its quality), for the capacitor R = X · D (D its loss
// factor, tan δ); in both cases Z = sqrt(R² + X²).

#include "calc/tabs.h"

namespace velkaro {

// Reactance, frequency and component value of a coil and a capacitor, in base
// units (hertz, henry, farad, ohm). Extended precision throughout; a zero
// divisor raises ArithmeticError.
long double coilReactance(long double f, long double l);
long double coilInductance(long double f, long double x);
long double coilFrequency(long double l, long double x);
long double capacitorReactance(long double f, long double c);
long double capacitorCapacitance(long double f, long double x);
long double capacitorFrequency(long double c, long double x);

// Impedance of a reactance x in series with a resistance r.
long double seriesImpedance(long double r, long double x);

// The loss resistance of a series model whose impedance z and reactance x are
// known: sqrt(|z² − x²|), so a z below x still yields a resistance. Zero when z
// and x are the same value up to the last bits of a double (the same decimal
// text read through two different prefixes differs there).
long double lossResistance(long double z, long double x);

TabModule xlxcModule();

}  // namespace velkaro
