#include "calc/units.h"

#include <string>

namespace velkaro::units {

namespace {

constexpr const char* kLetters[kPrefixCount] = {"Y", "Z",      "E", "P", "T", "G", "M", "k", "",
                                                "m", "\u00b5", "n", "p", "f", "a", "z", "y"};

// lead + letter + unit for every prefix, bareLead + unit for the bare unit.
UnitList regular(const std::string& lead, const std::string& bareLead, const std::string& unit) {
    UnitList list;
    for (int i = 0; i < kPrefixCount; ++i) {
        list.items[static_cast<std::size_t>(i)] =
            (i == kNoPrefix ? bareLead : lead + kLetters[i]) + unit;
    }
    return list;
}

// The dB tab's lists: two blanks before Y … T and the bare unit, one elsewhere.
UnitList dbTab(const std::string& unit) {
    UnitList list = regular(" ", "  ", unit);
    for (int i = 0; i <= 4; ++i)
        list.items[static_cast<std::size_t>(i)] = "  " + std::string(kLetters[i]) + unit;
    return list;
}

UnitList ohm() {
    UnitList list = regular("", " ", "Ohm");
    list.items[14] = "aohm";  // spelled so in every ohm list
    return list;
}

}  // namespace

const UnitList kVoltDb = dbTab("Volt");
const UnitList kWattDb = dbTab("Watt");
const UnitList kVolt = regular("", " ", "Volt");
const UnitList kWatt = regular("", " ", "Watt");
const UnitList kWattShort = regular(" ", "  ", "W");
const UnitList kOhm = ohm();
const UnitList kHertz = regular(" ", "  ", "Hz");
const UnitList kHenry = regular(" ", "  ", "H");
const UnitList kHenryWide = regular("   ", "    ", "H");
const UnitList kFarad = regular("  ", "   ", "F");
const UnitList kSeconds = regular(" ", "  ", "sec");

}  // namespace velkaro::units
