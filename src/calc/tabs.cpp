#include "calc/tabs.h"

// Each tab module adds its declaration here and its entry below, in page order.
#include "calc/tab_db.h"
#include "calc/tab_dbm.h"
#include "calc/tab_dbuv.h"
#include "calc/tab_l.h"
#include "calc/tab_lc.h"
#include "calc/tab_pi.h"
#include "calc/tab_pit.h"
#include "calc/tab_ps.h"
#include "calc/tab_rc.h"
#include "calc/tab_t.h"
#include "calc/tab_xlxc.h"

namespace velkaro {

const std::vector<TabModule>& tabModules() {
    static const std::vector<TabModule> modules = {
        dbModule(), dbmModule(), dbuvModule(), xlxcModule(), lcModule(), rcModule(),
        pitModule(), psModule(), lModule(),   piModule(),  tModule(),
    };
    return modules;
}

std::string localText(const Form& form, std::string_view commaText) {
    std::string text = " ";
    for (const char c : commaText) text += (c == ',') ? form.state.LocaleDecimalSeparator : c;
    return text;
}

std::string factoryText(const Form& form, const FactoryText& f) {
    return f.asIs ? std::string(f.text) : localText(form, f.text);
}

void setCaptions(Form& form, std::span<const FieldCaption> captions) {
    for (const FieldCaption& c : captions) form.setCaption(c.edit, c.caption);
}

void addRangedField(Form& form, const RangedField& f, const std::string& reformat) {
    form.addField(FieldSpec{.edit = f.edit,
                            .selector = f.selector,
                            .label = f.label,
                            .lower = f.lower,
                            .upper = f.upper,
                            .word = f.word,
                            .form = RangeForm::B,
                            .compute = [&form, compute = f.compute](double v) { compute(form, v); },
                            .reformat = reformat});
}

void addFactoryEdits(Form& form, std::span<const FactoryText> texts) {
    for (const FactoryText& f : texts) form.addEdit(f.edit, factoryText(form, f));
}

void applyFactoryTexts(Form& form, std::span<const FactoryText> texts) {
    for (const FactoryText& f : texts) form.setText(f.edit, factoryText(form, f));
}

}  // namespace velkaro
