// The window state a settings writer stores as its generation g: the frequency
// of the parallel/series tab shows g, and a resistance grows and shrinks with g
// so that successive files differ in length.
#pragma once

#include <string>

#include "core/form.h"

namespace velkaro::testing {

inline void applyGeneration(Form& form, long long g) {
    form.setText("PS_E_F", " " + std::to_string(g));
    form.setText("PS_E_Rp", " 1" + std::string(static_cast<std::size_t>(g % 97), '0'));
}

}  // namespace velkaro::testing
