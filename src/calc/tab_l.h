#pragma once
// "L- Anpassnetzwerk": the high-pass and the low-pass L network that match Z1
// to the smaller Z2 at the frequency F, with the transmission loss and the
// bandwidth of the low-pass network from the qualities of its parts. The
// network's physics is in calc/lnet.h.

#include "calc/lnet.h"
#include "calc/tabs.h"

namespace velkaro {

TabModule lModule();

}  // namespace velkaro
