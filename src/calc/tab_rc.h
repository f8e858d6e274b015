#pragma once
// "RC-Glieder": three networks of resistors and capacitors that share one
// characteristic frequency f = 1 / (2π·R·C) and the time constant τ = R·C.
//
// - RC section (one R, one C, as low-pass or high-pass): f is the corner
//   frequency, where the output is 3 dB down and shifted by 45°.
// - Wien bridge (R and C in series, R and C in parallel): at its centre
//   frequency f the divider passes a third of the input with no phase shift.
// - Twin-T bridge (two T sections: R–R with 2C to ground, C–C with R/2 to
//   ground): at its centre frequency f the two paths cancel, a notch. Its shunt
//   arms are R2 = R1 / 2 and C2 = 2·C1.

#include "calc/tabs.h"

namespace velkaro {

// The networks of the "Schaltung" group, by their values of RCCircuit.
enum class RcCircuit { Section = 1, WienBridge = 2, TwinT = 3 };

// What the "Auswahl" group lets the tab compute, by the values of RCMode.
enum class RcMode { FrequencyAndTimeConstant = 1, Resistance = 2, Capacitance = 3 };

// f = 1 / (2π·R·C) solved for each quantity, in base units (ohm, farad,
// hertz, second), extended precision. A zero in a denominator raises
// ArithmeticError.
long double rcFrequency(long double r, long double c);
long double rcResistance(long double f, long double c);
long double rcCapacitance(long double f, long double r);
// τ = R·C and the frequency belonging to a time constant, 1 / (2π·τ).
long double rcTimeConstant(long double r, long double c);
long double rcFrequencyOfTimeConstant(long double tau);

// The characteristic frequency of each network built from R1 and C1 (the
// corner of the section, the centre of both bridges).
long double rcCircuitFrequency(RcCircuit circuit, long double r1, long double c1);

// The shunt arms of a twin-T bridge built from R1 and C1.
long double twinTShuntResistor(long double r1);
long double twinTShuntCapacitor(long double c1);

TabModule rcModule();

}  // namespace velkaro
