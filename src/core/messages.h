#pragma once
// The German messages of the value-field protocol, assembled from fixed pieces.
// `text` is the edit's whole text at that moment (with any leading blank), `unit`
// the selector's item text without its leading blanks. CR is one carriage return.

#include <string>

#include "core/form.h"

namespace velkaro {

// Enter on a text that is no number.
std::string numberMessage(const std::string& text);

// Enter with a value outside the limits: the field's own form.
std::string enterRangeMessage(const FieldSpec& field, const std::string& text,
                              const std::string& unit);

// Unit change that puts the value outside the limits: always form B.
std::string changeRangeMessage(const FieldSpec& field, const std::string& text,
                               const std::string& unit);

}  // namespace velkaro
