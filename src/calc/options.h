#pragma once
// The Options dialog's controls in the model: the decimal places and the short
// hints of the main window.

#include "core/form.h"

namespace velkaro {

// RadioButtonohne, RadioButton1, RadioButton2, RadioButton3 (0 … 3 places) and
// CBKurzhinweise, with their click handlers.
void BuildOptionsModel(Form& form);

// Eingaben_neu_formatieren: every tab's reformat procedure in the fixed order.
void Eingaben_neu_formatieren(Form& form);

}  // namespace velkaro
