#pragma once
// "T - Anpassnetzwerk": the T network between Z1 and the lower Z2 at one
// frequency, for an operating Q of 1 ("Vorgabe") or typed by the user
// ("Eingabe"), as high-pass and low-pass with their losses and bandwidths. The
// physics is in calc/tnet.h.

#include "calc/tabs.h"

namespace velkaro {

TabModule tModule();

}  // namespace velkaro
