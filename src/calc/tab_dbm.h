#pragma once
// The "dBm" tab: a power level in dBm, the power itself and the RMS and
// peak-to-peak voltage it produces across the system impedance.
//
// The level physics below is shared with the sister tab "dBµV" (tab_dbuv.h):
// both tabs use the same references and the same sine-wave factor, formed the
// same way, so that the two tabs agree to the last displayed digit.

#include "calc/tabs.h"

namespace velkaro {

TabModule dbmModule();

namespace level {

inline constexpr long double kMilliwatt = 0.001L;  // 0 dBm
inline constexpr long double kMicrovolt = 1e-6L;   // 0 dBµV

// Peak-to-peak voltage of a sine per volt RMS: √2 × 2, formed in that order
// (2.8284271…), since the displayed results are compared to the last digit.
long double peakToPeakFactor();

// 10^(L / 10): the power of a dBm level in milliwatt.
long double milliwattOfDbm(long double dbm);
// 10 · log10(P / 1 mW); P must be positive (ArithmeticError otherwise).
long double dbmOfWatt(long double watt);
// 20 · log10(U / 1 µV); U must be positive (ArithmeticError otherwise).
long double dbuvOfVolt(long double volt);
// √(R · P): the RMS voltage of a power P in a resistance R.
long double rmsOfPower(long double watt, long double ohm);
// U² / R: the power of an RMS voltage U in a resistance R.
long double powerOfRms(long double volt, long double ohm);

}  // namespace level

}  // namespace velkaro
