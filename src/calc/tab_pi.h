#pragma once
// "Pi - Anpassnetzwerk": the Pi network between Z1 and the lower Z2 at one
// frequency, for an operating Q proposed by the program ("Vorgabe") or typed by
// the user ("Eingabe"), as high-pass and low-pass with their losses and
// bandwidths. The physics is in calc/pinet.h.

#include "calc/tabs.h"

namespace velkaro {

TabModule piModule();

}  // namespace velkaro
