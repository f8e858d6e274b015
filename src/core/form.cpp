#include "core/form.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "core/messages.h"
#include "core/numtext.h"

namespace velkaro {

namespace {

class SilentSink : public MessageSink {
public:
    void errorBox(const std::string&) override {}
    void plainMessage(const std::string&) override {}
    void generalError(const std::string&) override {}
    void focusPrevious(const std::string&) override {}
    void showHelp(int) override {}
    void openUrl(const std::string&) override {}
};

std::string trimLeadingBlanks(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

// Limits are program texts such as "1e-12" or "8e+14 "; they always use a point.
double limitValue(const std::string& text) {
    const auto v = parseNumber(text, '.');
    if (!v) throw std::logic_error("bad limit text: " + text);
    return static_cast<double>(*v);
}

}  // namespace

std::string Control::unitText() const {
    if (units == nullptr || index < 0 || index >= kPrefixCount) return {};
    return trimLeadingBlanks(units->items[static_cast<std::size_t>(index)]);
}

Form::Form(char decimalSeparator) : nullSink_(std::make_unique<SilentSink>()) {
    state.LocaleDecimalSeparator = decimalSeparator;
}

MessageSink& Form::sink() { return sink_ != nullptr ? *sink_ : *nullSink_; }

// ---- building ---------------------------------------------------------------

Control& Form::add(ControlKind kind, const std::string& name) {
    auto [it, inserted] = controls_.try_emplace(name);
    if (!inserted) throw std::logic_error("control defined twice: " + name);
    Control& c = it->second;
    c.kind = kind;
    c.name = name;
    c.tab = currentTab_;
    touch(c);
    return c;
}

Control& Form::addEdit(const std::string& name, const std::string& text) {
    Control& c = add(ControlKind::Edit, name);
    c.text = text;
    c.undoText = text;
    return c;
}

Control& Form::addSelector(const std::string& name, const UnitList& units, int index) {
    Control& c = add(ControlKind::Selector, name);
    c.units = &units;
    c.index = (index >= 0 && index < kPrefixCount) ? index : -1;
    return c;
}

Control& Form::addRadio(const std::string& name, const std::string& group,
                        std::function<void()> onClick) {
    Control& c = add(ControlKind::Radio, name);
    c.group = group;
    c.onClick = std::move(onClick);
    return c;
}

Control& Form::addCheck(const std::string& name, std::function<void()> onClick) {
    Control& c = add(ControlKind::Check, name);
    c.onClick = std::move(onClick);
    return c;
}

Control& Form::addPicture(const std::string& name, bool visible) {
    Control& c = add(ControlKind::Picture, name);
    c.visible = visible;
    return c;
}

Control& Form::addLabel(const std::string& name, const std::string& caption) {
    Control& c = add(ControlKind::Label, name);
    c.text = caption;
    return c;
}

Control& Form::addPages(const std::string& name, int count, int index) {
    Control& c = add(ControlKind::Pages, name);
    c.count = count;
    c.index = index;
    return c;
}

void Form::addField(FieldSpec field) {
    if (mut(field.edit).kind != ControlKind::Edit)
        throw std::logic_error("not an edit: " + field.edit);
    if (!field.selector.empty()) {
        if (mut(field.selector).kind != ControlKind::Selector) {
            throw std::logic_error("not a selector: " + field.selector);
        }
        editBySelector_[field.selector] = field.edit;
    }
    limitValue(field.lower);
    limitValue(field.upper);
    if (!field.label.empty()) mut(field.edit).caption = field.label;
    const std::string edit = field.edit;
    fieldsByEdit_[edit] = std::move(field);
}

void Form::addReformat(const std::string& name, std::function<void()> procedure) {
    reformats_[name] = std::move(procedure);
}

void Form::setHandler(const std::string& name, std::function<void()> onClick) {
    mut(name).onClick = std::move(onClick);
}

void Form::setEnterHandler(const std::string& name, std::function<void()> onEnter) {
    mut(name).onEnter = std::move(onEnter);
}

void Form::setExitHandler(const std::string& name, std::function<void()> onExit) {
    mut(name).onExit = std::move(onExit);
}

void Form::setCaption(std::string_view name, const std::string& caption) {
    mut(name).caption = caption;
}

// ---- looking up -------------------------------------------------------------

bool Form::has(std::string_view name) const { return controls_.find(name) != controls_.end(); }

const Control& Form::at(std::string_view name) const {
    const auto it = controls_.find(name);
    if (it == controls_.end()) throw std::out_of_range("no control " + std::string(name));
    return it->second;
}

Control& Form::mut(std::string_view name) { return const_cast<Control&>(at(name)); }

const FieldSpec* Form::fieldOfEdit(std::string_view edit) const {
    const auto it = fieldsByEdit_.find(edit);
    return it == fieldsByEdit_.end() ? nullptr : &it->second;
}

const FieldSpec* Form::fieldOfSelector(std::string_view selector) const {
    const auto it = editBySelector_.find(selector);
    return it == editBySelector_.end() ? nullptr : fieldOfEdit(it->second);
}

// ---- program-side changes ---------------------------------------------------

void Form::touch(Control& c) { c.revision = ++revision_; }

void Form::setText(std::string_view name, const std::string& text) {
    Control& c = mut(name);
    c.undoText = text;
    c.typing = false;
    if (c.text == text) return;
    c.text = text;
    touch(c);
}

void Form::setIndex(std::string_view name, int index) {
    Control& c = mut(name);
    // A list holds 17 items; any other index selects nothing and reads back as -1.
    if (index < 0 || index >= kPrefixCount) index = -1;
    if (c.index == index) return;
    c.index = index;
    touch(c);
}

void Form::setPage(std::string_view name, int index) {
    Control& c = mut(name);
    if (index < 0 || index >= c.count || c.index == index) return;
    c.index = index;
    touch(c);
}

void Form::setEnabled(std::string_view name, bool enabled) {
    Control& c = mut(name);
    if (c.enabled == enabled) return;
    c.enabled = enabled;
    touch(c);
}

void Form::setVisible(std::string_view name, bool visible) {
    Control& c = mut(name);
    if (c.visible == visible) return;
    c.visible = visible;
    touch(c);
}

void Form::setReadOnly(std::string_view name, bool readOnly) {
    Control& c = mut(name);
    if (c.readOnly == readOnly) return;
    c.readOnly = readOnly;
    touch(c);
}

void Form::setFontColour(std::string_view name, std::int32_t colour) {
    Control& c = mut(name);
    if (c.fontColour == colour) return;
    c.fontColour = colour;
    touch(c);
}

void Form::setChecked(std::string_view name, bool checked) {
    Control& c = mut(name);
    if (c.checked == checked) return;
    if (c.kind == ControlKind::Radio) {
        if (checked) {
            for (auto& [otherName, other] : controls_) {
                if (other.kind == ControlKind::Radio && other.group == c.group && other.checked) {
                    other.checked = false;
                    touch(other);
                }
            }
        }
        c.checked = checked;
        touch(c);
        if (checked && c.onClick) c.onClick();
        return;
    }
    c.checked = checked;
    touch(c);
    if (c.kind == ControlKind::Check && c.onClick) c.onClick();
}

// ---- values -----------------------------------------------------------------

long double Form::number(std::string_view edit) const {
    const Control& c = at(edit);
    const auto v = parseNumber(c.text, state.LocaleDecimalSeparator);
    if (!v) throw ConversionError(c.text);
    if (*v == 0.0L && depth_ > 0) zeroReads_.push_back(&c);
    return *v;
}

std::string Form::arithmeticMessage(const ArithmeticError& e) const {
    std::string message = e.what();
    // A division by zero or an invalid operation that follows reading a zero
    // from a field: the user must learn which field to correct. The last zero
    // read is the nearest to the fault.
    const bool zeroCaused =
        message == errtext::kDivisionByZero || message == errtext::kInvalidOperation;
    for (auto it = zeroReads_.rbegin(); zeroCaused && it != zeroReads_.rend(); ++it) {
        const Control& c = **it;
        if (c.caption.empty()) continue;
        message += ": \u201e" + c.caption + "\u201c";
        if (!c.tab.empty()) message += " (" + c.tab + ")";
        message += " ist 0";
        break;
    }
    return message;
}

double Form::value(std::string_view edit) const {
    const FieldSpec* f = fieldOfEdit(edit);
    if (f == nullptr || f->selector.empty()) return asDouble(edit, number(edit));
    return value(edit, f->selector);
}

double Form::value(std::string_view edit, std::string_view selector) const {
    return asDouble(edit, number(edit) * PrefixFactor(index(selector)));
}

double Form::asDouble(std::string_view edit, long double v) const {
    // A typed number may lie beyond a double ("1e4000" parses in extended
    // precision): the computation must not go on with an infinite value, and
    // the user learns which field holds it.
    const double d = static_cast<double>(v);
    if (std::isfinite(d)) return d;
    const Control& c = at(edit);
    std::string message = errtext::kOverflow;
    if (!c.caption.empty()) {
        message += ": \u201e" + c.caption + "\u201c";
        if (!c.tab.empty()) message += " (" + c.tab + ")";
        message += " ist zu gro\u00df";
    }
    throw ArithmeticError(message);
}

std::string Form::fixedText(long double x) const {
    return withOneBlank(
        formatFixed(checkedResult(x), state.DecimalPlaces, state.LocaleDecimalSeparator));
}

void Form::writeRanged(std::string_view edit, std::string_view selector, double v) {
    checkedResult(v);
    setIndex(selector, PrefixIndexOf(v));
    setText(edit, fixedText(PrefixMantissa(v)));
}

void Form::writeRangedUnit(std::string_view edit, std::string_view unitEdit,
                           const std::string& word, double v) {
    checkedResult(v);
    setText(edit, fixedText(PrefixMantissa(v)));
    setText(unitEdit, PrefixText(v) + word);
}

void Form::writeFixed(std::string_view edit, long double v) { setText(edit, fixedText(v)); }

void Form::writeGeneral(std::string_view edit, long double v) {
    setText(edit, withOneBlank(formatGeneral(checkedResult(v), state.LocaleDecimalSeparator)));
}

std::optional<long double> Form::numberToReformat(std::string_view edit) {
    if (!state.LoadingSettings) return number(edit);
    // While settings load, a stored text that is no number stays as it is and
    // the reformat goes on with the other fields; the user is told afterwards.
    const auto v = parseNumber(text(edit), state.LocaleDecimalSeparator);
    if (!v && std::find(unformatted_.begin(), unformatted_.end(), edit) == unformatted_.end())
        unformatted_.emplace_back(edit);
    return v;
}

std::vector<std::string> Form::takeUnformatted() { return std::exchange(unformatted_, {}); }

void Form::restep(std::string_view edit, std::string_view selector) {
    const auto read = numberToReformat(edit);
    if (!read) return;
    const long double x = *read;
    int i = index(selector);
    // A zero shows the same in every unit: it keeps the one it has.
    if (x == 0.0L) {
        setText(edit, fixedText(x));
        return;
    }
    // Without an item the number reads back as the bare unit, so it is ranged
    // from there.
    if (i < 0 || i >= kPrefixCount) i = kNoPrefix;
    const long double magnitude = std::fabs(x);
    // One step at most, and never past the ends of the list: at "Y" and "y" the
    // number is rewritten in the unit it has.
    if (magnitude > 999.999L && i > 0) {
        setText(edit, fixedText(x / 1000.0L));
        setIndex(selector, i - 1);
    } else if (magnitude < 1.0L && i < kPrefixCount - 1) {
        setText(edit, fixedText(x * 1000.0L));
        setIndex(selector, i + 1);
    } else {
        setText(edit, fixedText(x));
        setIndex(selector, i);
    }
}

void Form::reformatPlain(std::string_view edit) {
    if (const auto x = numberToReformat(edit)) setText(edit, fixedText(*x));
}

void Form::reformatFactor(std::string_view edit) {
    const auto read = numberToReformat(edit);
    if (!read) return;
    const long double x = *read;
    if (x >= 100001.0L) {
        setText(edit, withOneBlank(formatExpo(x, state.LocaleDecimalSeparator)));
    } else {
        setText(edit, fixedText(x));
    }
}

// ---- reformat procedures ----------------------------------------------------

const std::vector<std::string>& Form::reformatOrder() {
    static const std::vector<std::string> order = {
        "dB_U_Eingaben_formatieren", "dB_P_Eingaben_formatieren", "dBm_Eingaben_formatieren",
        "dBuV_Eingaben_formatieren", "XLXC_Eingaben_formatieren", "LC_Eingaben_formatieren",
        "RC_Eingaben_formatieren",   "PiT_Eingaben_formatieren",  "PS_Eingaben_formatieren",
        "L_Eingaben_formatieren",    "Pi_Eingaben_formatieren",   "T_Eingaben_formatieren"};
    return order;
}

void Form::reformat(std::string_view procedure) {
    const auto it = reformats_.find(procedure);
    if (it != reformats_.end() && it->second) it->second();
}

void Form::reformatAll() {
    for (const auto& name : reformatOrder()) reformat(name);
}

// ---- user actions -----------------------------------------------------------

void Form::guarded(const std::function<void()>& action) {
    if (depth_ > 0) {  // inside another event: its boundary reports
        action();
        return;
    }
    ++depth_;
    zeroReads_.clear();
    try {
        action();
    } catch (const ConversionError& e) {
        --depth_;
        sink().generalError(errtext::conversion(e.text()) + ".");
        return;
    } catch (const ArithmeticError& e) {
        --depth_;
        sink().generalError(arithmeticMessage(e) + ".");
        return;
    } catch (const ReportedError& e) {
        --depth_;
        sink().generalError(std::string(e.what()) + ".");
        return;
    } catch (...) {
        --depth_;
        throw;
    }
    --depth_;
}

char Form::mapDecimalKey(char key) const {
    const char sep = state.LocaleDecimalSeparator;
    if (sep == ',' && key == '.') return ',';
    if (sep == '.' && key == ',') return '.';
    return key;
}

char Form::keyPress(std::string_view edit, char key) {
    key = mapDecimalKey(key);
    if (key == '\r') pressEnter(edit);
    return key;
}

void Form::userEdit(std::string_view edit, const std::string& text) {
    Control& c = mut(edit);
    if (!c.typing) {
        c.undoText = c.text;
        c.typing = true;
    }
    if (c.text == text) return;
    c.text = text;
    touch(c);
}

void Form::undo(Control& c) {
    c.typing = false;
    if (c.text == c.undoText) return;
    c.text = c.undoText;
    touch(c);
}

bool Form::inRange(const FieldSpec& field, double v) const {
    return !(v < limitValue(field.lower)) && !(v > limitValue(field.upper));
}

void Form::pressEnter(std::string_view edit) {
    guarded([&] {
        const FieldSpec* f = fieldOfEdit(edit);
        if (f == nullptr) return;
        Control& e = mut(edit);
        const int idx = f->selector.empty() ? -1 : index(f->selector);
        const auto parsed = parseNumber(e.text, state.LocaleDecimalSeparator);
        if (!parsed) {
            sink().errorBox(numberMessage(e.text));
            undo(e);
            return;
        }
        // Formed in extended precision, kept as a double, compared as a double.
        const double v = static_cast<double>(*parsed * PrefixFactor(idx) * f->scale);
        if (!inRange(*f, v)) {
            const std::string unit =
                f->selector.empty() ? std::string() : at(f->selector).unitText();
            sink().errorBox(enterRangeMessage(*f, e.text, unit));
            undo(e);
            return;
        }
        // Entered: the run of typing ends here, so a later refusal returns to
        // this text even where the computation below fails.
        e.typing = false;
        e.undoText = e.text;
        if (f->compute) f->compute(v);
        reformat(f->reformat);
        if (f->afterEnter) f->afterEnter();
    });
}

void Form::chooseItem(std::string_view selector, int newIndex) {
    // Picking the item the list already shows is no change of unit.
    if (newIndex == index(selector)) return;
    guarded([&] {
        setIndex(selector, newIndex);
        const Control& sel = at(selector);
        if (sel.onClick) sel.onClick();
        const FieldSpec* f = fieldOfSelector(selector);
        if (f == nullptr) return;
        // Not guarded: a text that is no number raises the conversion error and
        // the selector keeps its new item.
        const double v = static_cast<double>(number(f->edit) * PrefixFactor(sel.index) * f->scale);
        if (!inRange(*f, v)) {
            sink().errorBox(changeRangeMessage(*f, text(f->edit), sel.unitText()));
            setIndex(selector, state.SavedUnitIndex);
            return;
        }
        if (f->compute) f->compute(v);
        reformat(f->reformat);
        sink().focusPrevious(std::string(selector));
    });
}

void Form::enter(std::string_view name) {
    guarded([&] {
        const Control& c = at(name);
        if (c.kind == ControlKind::Selector) state.SavedUnitIndex = c.index;
        if (c.onEnter) c.onEnter();
    });
}

void Form::leave(std::string_view name) {
    guarded([&] {
        const FieldSpec* f = fieldOfEdit(name);
        if (f != nullptr && f->computeOnExit) {
            const long double factor =
                f->selector.empty() ? 1.0L : PrefixFactor(index(f->selector));
            const double v = static_cast<double>(number(f->edit) * factor * f->scale);
            if (f->compute) f->compute(v);
            reformat(f->reformat);
        }
        const Control& c = at(name);
        if (c.onExit) c.onExit();
    });
}

void Form::click(std::string_view name) {
    guarded([&] {
        const Control& c = at(name);
        if (!c.enabled) return;
        switch (c.kind) {
            case ControlKind::Radio: setChecked(name, true); break;
            case ControlKind::Check: setChecked(name, !c.checked); break;
            default:
                if (c.onClick) c.onClick();
                break;
        }
    });
}

void Form::choosePage(std::string_view name, int index) { setPage(name, index); }

}  // namespace velkaro
