// What the fuzz targets compare and check of the window model.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/form.h"

namespace velkaro::fuzz {

[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

// Everything the window shows and keeps, as one text per control.
inline std::string modelState(const Form& form) {
    std::string s;
    for (const auto& [name, c] : form.controls()) {
        s += name + '=' + c.text + '|' + std::to_string(c.index) + '|' +
             std::to_string(c.checked) + std::to_string(c.enabled) + std::to_string(c.visible) +
             std::to_string(c.readOnly) + '|' + std::to_string(c.fontColour) + '\n';
    }
    const WindowState& w = form.state;
    s += "state=" + std::to_string(w.DecimalPlaces) + ' ' + std::to_string(w.XLMode) + ' ' +
         std::to_string(w.XCMode) + ' ' + std::to_string(w.LCMode) + ' ' +
         std::to_string(w.RCCircuit) + ' ' + std::to_string(w.RCMode) + ' ' +
         std::to_string(w.EnteredOperatingQ) + ' ' + std::to_string(w.ShowHint) + '\n';
    return s;
}

// The first line in which two states differ, for the failure message.
inline std::string firstDifference(const std::string& a, const std::string& b) {
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    const std::size_t startA = a.rfind('\n', at) == std::string::npos ? 0 : a.rfind('\n', at) + 1;
    const std::size_t startB = b.rfind('\n', at) == std::string::npos ? 0 : b.rfind('\n', at) + 1;
    return "'" + a.substr(startA, a.find('\n', at) - startA) + "' / '" +
           b.substr(startB, b.find('\n', at) - startB) + "'";
}

}  // namespace velkaro::fuzz
