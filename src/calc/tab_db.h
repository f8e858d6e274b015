#pragma once
// The "dB" tab: the ratio of a two-port's output to its input, as power
// ("Leistung", 10·log) and as voltage ("Spannung", 20·log), given in decibels or
// as a linear factor. Each sub-tab is an independent calculator.

#include "calc/tabs.h"

namespace velkaro {

// The ratio in dB of a linear factor, and back; k is 10 for power, 20 for
// voltage. The factor must be positive (ArithmeticError otherwise).
long double dbOfFactor(long double factor, int k);
long double factorOfDb(long double db, int k);

TabModule dbModule();

}  // namespace velkaro
