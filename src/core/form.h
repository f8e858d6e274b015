#pragma once
// The form model: every control of the window exists here once, under its name,
// as plain data. User actions arrive as calls addressed by name (type, Enter,
// choose a unit, enter/leave a control, click); they run the value-field protocol
// and the tabs' computations, which read and write controls through this class.
// The user interface only mirrors the controls and implements MessageSink.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/prefix.h"

namespace velkaro {

// The 17 item texts of a unit selector, in prefix order (index = prefix index).
// Each distinct list is defined once (see calc/units.h) and shared by reference.
struct UnitList {
    std::array<std::string, kPrefixCount> items;
};

// Font colours as the settings file knows them: the two symbolic names are
// negative values (system colours), everything else is 0x00BBGGRR.
namespace colour {
inline constexpr std::int32_t kWindowText = -16777208;  // "clWindowText"
inline constexpr std::int32_t kMedGray = 0xA4A0A0;      // "clMedGray", RGB 160,160,164
inline constexpr std::int32_t kBlack = 0x000000;
inline constexpr std::int32_t kSilver = 0xC0C0C0;  // RGB 192,192,192
}  // namespace colour

enum class ControlKind { Edit, Selector, Radio, Check, Picture, Label, Pages };

struct Control {
    ControlKind kind = ControlKind::Edit;
    std::string name;
    std::string text;  // edit text or label caption
    int index = -1;    // selector item (-1 or 17: none) or page index
    int count = 0;     // number of pages
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    bool readOnly = false;
    std::int32_t fontColour = colour::kWindowText;
    const UnitList* units = nullptr;
    std::string group;  // radio buttons: siblings share a group
    // What the user reads beside an edit ("Güte von L") and the caption of its tab
    // ("XL / XC"): messages about a value name the field by these.
    std::string caption;
    std::string tab;

    // Revision: raised by every change, so a view repaints only what changed.
    std::uint64_t revision = 0;

    // One-level undo of an edit: the text before the user's current run of typing.
    std::string undoText;
    bool typing = false;

    std::function<void()> onClick;  // radio: runs when it becomes checked; check box: on any change
    std::function<void()> onEnter;
    std::function<void()> onExit;

    // Item text at the current index without its leading blanks ("" for none).
    std::string unitText() const;
};

// How a field's range message is worded (see messages.h).
enum class RangeForm {
    A,       // "Die eingegebene Zahl … ist nicht richtig !"
    B,       // "Die Eingabe …  ist ausserhalb"
    BTight,  // form B with "ist ausserhalb" directly after the text
};

// One value field: an edit, optionally its unit selector, its limits and what to
// run when a valid value arrives.
struct FieldSpec {
    std::string edit;
    std::string selector;  // empty: the field has none
    std::string label;     // the field's caption on the form, for messages that name it
    std::string lower;     // limit texts, verbatim in messages; parsed with "."
    std::string upper;
    std::string word;  // unit word at the end of the range message, e.g. " Watt"
    RangeForm form = RangeForm::B;
    bool wordAfterNumber = false;         // level fields: "… 5 dB ist nicht richtig !"
    long double scale = 1.0L;             // typed number × scale (e.g. a "x 0,001" field)
    std::function<void(double)> compute;  // receives the value in base units
    std::string reformat;                 // name of the tab's reformat procedure
    std::function<void()> afterEnter;     // last step of a successful Enter only
    bool computeOnExit = false;           // leaving the edit computes, unguarded
};

// What leaves the model: messages and requests the window carries out.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Modal error box: title "Fehler", error icon, one "OK" button.
    virtual void errorBox(const std::string& text) = 0;
    // Plain information box with the application title.
    virtual void plainMessage(const std::string& text) = 0;
    // The application's general error report: application title, stop icon;
    // `text` already ends with its full stop.
    virtual void generalError(const std::string& text) = 0;
    // Posted: after the current action, move the focus from `control` to the
    // previous control in the window's tab order.
    virtual void focusPrevious(const std::string& control) = 0;
    virtual void showHelp(int context) = 0;
    virtual void openUrl(const std::string& url) = 0;
};

// Window-wide state shared by the tabs.
struct WindowState {
    char LocaleDecimalSeparator = ',';
    int DecimalPlaces = 0;
    int SavedUnitIndex = 0;
    int XLMode = 0;
    int XCMode = 0;
    int LCMode = 0;
    int RCCircuit = 0;
    int RCMode = 0;
    double EnteredOperatingQ = 5.0;
    bool ShowHint = false;         // short hints (tool tips) of the main window
    bool LoadingSettings = false;  // while the settings file is being loaded
};

class Form {
public:
    explicit Form(char decimalSeparator = ',');
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    WindowState state;

    void setSink(MessageSink* sink) { sink_ = sink; }
    MessageSink& sink();

    // ---- building the model -------------------------------------------------
    Control& addEdit(const std::string& name, const std::string& text = " 1,000");
    Control& addSelector(const std::string& name, const UnitList& units, int index);
    Control& addRadio(const std::string& name, const std::string& group,
                      std::function<void()> onClick = {});
    Control& addCheck(const std::string& name, std::function<void()> onClick = {});
    Control& addPicture(const std::string& name, bool visible = true);
    Control& addLabel(const std::string& name, const std::string& caption);
    Control& addPages(const std::string& name, int count, int index);
    void addField(FieldSpec field);
    void addReformat(const std::string& name, std::function<void()> procedure);
    void setHandler(const std::string& name, std::function<void()> onClick);
    void setEnterHandler(const std::string& name, std::function<void()> onEnter);
    void setExitHandler(const std::string& name, std::function<void()> onExit);
    // The caption a message uses for an edit that has no field row (or another one).
    void setCaption(std::string_view name, const std::string& caption);
    // Controls added from now on belong to the tab with this caption.
    void beginTab(const std::string& caption) { currentTab_ = caption; }

    // ---- looking up ---------------------------------------------------------
    bool has(std::string_view name) const;
    const Control& at(std::string_view name) const;  // throws std::out_of_range
    const std::map<std::string, Control, std::less<>>& controls() const { return controls_; }
    const FieldSpec* fieldOfEdit(std::string_view edit) const;
    const FieldSpec* fieldOfSelector(std::string_view selector) const;
    const std::string& text(std::string_view name) const { return at(name).text; }
    int index(std::string_view name) const { return at(name).index; }
    bool checked(std::string_view name) const { return at(name).checked; }

    // ---- program-side changes: they run no handler --------------------------
    void setText(std::string_view name, const std::string& text);
    void setIndex(std::string_view name, int index);  // selector; any index, -1/17 show no item
    void setPage(std::string_view name, int index);   // out of range: unchanged
    void setEnabled(std::string_view name, bool enabled);
    void setVisible(std::string_view name, bool visible);
    void setReadOnly(std::string_view name, bool readOnly);
    void setFontColour(std::string_view name, std::int32_t colour);
    // Radio: checking an unchecked one unchecks its siblings silently and runs its
    // handler; unchecking runs nothing. Check box: any change runs its handler.
    // Setting the state a control already has runs nothing.
    void setChecked(std::string_view name, bool checked);

    // ---- reading and writing values for computations ------------------------
    // The edit's text as a number; throws ConversionError when it is none.
    long double number(std::string_view edit) const;
    // number × PrefixFactor of the field's selector (if any), as a double.
    double value(std::string_view edit) const;
    double value(std::string_view edit, std::string_view selector) const;
    // " " + fixed(x) with the current places and separator (x must be finite).
    std::string fixedText(long double x) const;
    // Full ranging: selector := PrefixIndexOf(v), edit := " " + fixed(mantissa).
    void writeRanged(std::string_view edit, std::string_view selector, double v);
    // Full ranging into a result pair: unit edit := PrefixText(v) + word.
    void writeRangedUnit(std::string_view edit, std::string_view unitEdit, const std::string& word,
                         double v);
    // A result without prefix: " " + fixed(v).
    void writeFixed(std::string_view edit, long double v);
    // " " + general(v): up to 15 significant digits, before a reformat rounds it.
    void writeGeneral(std::string_view edit, long double v);
    // One-step re-ranging of a field with selector (reformat procedures).
    void restep(std::string_view edit, std::string_view selector);
    // Reformat of a plain field: " " + fixed(number).
    void reformatPlain(std::string_view edit);
    // Reformat of a linear factor: expo from 100001 on, else fixed.
    void reformatFactor(std::string_view edit);
    // The three reformats above skip, while settings load, an edit whose text is
    // no number; these are the edits skipped since the last call.
    std::vector<std::string> takeUnformatted();

    // ---- reformat procedures ------------------------------------------------
    void reformat(std::string_view procedure);
    // All tabs in the window's fixed order (Eingaben_neu_formatieren).
    void reformatAll();
    static const std::vector<std::string>& reformatOrder();

    // ---- user actions (event boundary: errors are reported here) -------------
    // A typed character after the decimal-key mapping; '\r' presses Enter.
    char keyPress(std::string_view edit, char key);
    char mapDecimalKey(char key) const;
    void userEdit(std::string_view edit, const std::string& text);
    void pressEnter(std::string_view edit);
    void chooseItem(std::string_view selector, int index);
    void enter(std::string_view name);
    void leave(std::string_view name);
    void click(std::string_view name);
    void choosePage(std::string_view name, int index);

    // Runs `action` as one event: a ConversionError or ArithmeticError that
    // escapes is reported once through the general error report.
    void guarded(const std::function<void()>& action);

    std::uint64_t revision() const { return revision_; }

private:
    Control& add(ControlKind kind, const std::string& name);
    Control& mut(std::string_view name);
    void touch(Control& c);
    void undo(Control& c);
    bool inRange(const FieldSpec& field, double v) const;
    std::optional<long double> numberToReformat(std::string_view edit);
    // v as a double; beyond a double's range an overflow naming the edit.
    double asDouble(std::string_view edit, long double v) const;
    // The text of the general error report for an arithmetic fault, naming the
    // field whose zero caused it where one did.
    std::string arithmeticMessage(const ArithmeticError& e) const;

    std::map<std::string, Control, std::less<>> controls_;
    std::map<std::string, FieldSpec, std::less<>> fieldsByEdit_;
    std::map<std::string, std::string, std::less<>> editBySelector_;
    std::map<std::string, std::function<void()>, std::less<>> reformats_;
    MessageSink* sink_ = nullptr;
    std::unique_ptr<MessageSink> nullSink_;
    std::uint64_t revision_ = 0;
    int depth_ = 0;
    std::string currentTab_;
    // Fields read as zero during the current event, in reading order.
    mutable std::vector<const Control*> zeroReads_;
    std::vector<std::string> unformatted_;
};

}  // namespace velkaro
