#pragma once
// Constants the frequency formulas of every tab share.

namespace velkaro {

// 2π in extended precision: every ω = 2π·f of the calculators uses this one value,
// so that results agree to the last digit from tab to tab.
inline constexpr long double kTwoPi = 6.283185307179586477L;

}  // namespace velkaro
