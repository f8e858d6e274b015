#include "calc/tabs.h"

// Each tab module adds its declaration here and its entry below, in page order.
#include "calc/tab_db.h"
#include "calc/tab_dbm.h"
#include "calc/tab_dbuv.h"
#include "calc/tab_xlxc.h"
#include "calc/tab_pit.h"

namespace velkaro {

const std::vector<TabModule>& tabModules() {
    static const std::vector<TabModule> modules = {
        dbModule(),
        dbmModule(),
        dbuvModule(),
        xlxcModule(),
        pitModule(),
    };
    return modules;
}

std::string localText(const Form& form, std::string_view commaText) {
    std::string text = " ";
    for (const char c : commaText) text += (c == ',') ? form.state.LocaleDecimalSeparator : c;
    return text;
}

}  // namespace velkaro
