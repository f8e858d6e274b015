#include "calc/options.h"

#include <memory>

namespace velkaro {

void Eingaben_neu_formatieren(Form& form) { form.reformatAll(); }

void BuildOptionsModel(Form& form) {
    const auto places = [&form](int decimals) {
        return [&form, decimals] {
            form.state.DecimalPlaces = decimals;
            Eingaben_neu_formatieren(form);
        };
    };
    form.addRadio("RadioButtonohne", "Nachkommastellen", places(0));
    form.addRadio("RadioButton1", "Nachkommastellen", places(1));
    // Two places: the first selection since start-up skips the reformat, but
    // only when the settings file makes it; a user's click always reformats.
    auto firstTwo = std::make_shared<bool>(true);
    form.addRadio("RadioButton2", "Nachkommastellen", [&form, firstTwo] {
        form.state.DecimalPlaces = 2;
        const bool skip = *firstTwo && form.state.LoadingSettings;
        *firstTwo = false;
        if (!skip) Eingaben_neu_formatieren(form);
    });
    form.addRadio("RadioButton3", "Nachkommastellen", places(3));
    form.addCheck("CBKurzhinweise",
                  [&form] { form.state.ShowHint = form.checked("CBKurzhinweise"); });
}

}  // namespace velkaro
