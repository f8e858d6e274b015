#pragma once
// The item lists of the unit selectors, each distinct list once. The number of
// leading blanks differs between lists (and within the dB tab's lists) and only
// serves the look of the drop-down lists.

#include "core/form.h"

namespace velkaro::units {

extern const UnitList kVoltDb;     // "  YVolt" … " GVolt" … "  Volt" … " yVolt" (dB tab)
extern const UnitList kWattDb;     // "  YWatt" … " GWatt" … "  Watt" … " yWatt" (dB tab)
extern const UnitList kVolt;       // "YVolt" … " Volt" … "yVolt"
extern const UnitList kWatt;       // "YWatt" … " Watt" … "yWatt"
extern const UnitList kWattShort;  // " YW" … "  W" … " yW"
extern const UnitList kOhm;        // "YOhm" … " Ohm" … "aohm" … "yOhm"
extern const UnitList kHertz;      // " YHz" … "  Hz" … " yHz"
extern const UnitList kHenry;      // " YH" … "  H" … " yH" (XL / XC)
extern const UnitList kHenryWide;  // "   YH" … "    H" … "   yH"
extern const UnitList kFarad;      // "  YF" … "   F" … "  yF"
extern const UnitList kSeconds;    // " Ysec" … "  sec" … " ysec"

}  // namespace velkaro::units
