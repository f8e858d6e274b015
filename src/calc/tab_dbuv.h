#pragma once
// The "dBµV" tab: a voltage level in dBµV, the RMS and peak-to-peak voltage,
// and the power this voltage gives in the system impedance, linear and in dBm.
// Its physics is the dBm tab's (tab_dbm.h, namespace level).

#include "calc/tabs.h"

namespace velkaro {

TabModule dbuvModule();

}  // namespace velkaro
