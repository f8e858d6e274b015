#pragma once
// How a tab plugs into the window: its module builds its controls, fields,
// handlers and reformat procedure into the model, names its settings sections
// and applies its factory texts. The modules are listed once, in page order.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/form.h"
#include "settings/sections.h"

namespace velkaro {

struct TabModule {
    const char* name;
    void (*build)(Form& form);                   // controls, fields, handlers, reformat
    std::vector<SettingsSection> (*sections)();  // its sections of the settings file
    void (*factoryDefaults)(Form& form);         // its step of the factory defaults
};

// All tab modules in the order of the page control.
const std::vector<TabModule>& tabModules();

// A factory or default text "20,000" as shown: commas become the current
// separator and one blank goes in front.
std::string localText(const Form& form, std::string_view commaText);

// An edit's text of a first start, written with a comma as for localText. One
// marked `asIs` is shown exactly as it stands (a level " 0" without decimals).
struct FactoryText {
    const char* edit;
    const char* text;
    bool asIs = false;
};

std::string factoryText(const Form& form, const FactoryText& f);

// What the user reads beside a field, for the messages that name it.
struct FieldCaption {
    const char* edit;
    const char* caption;
};
void setCaptions(Form& form, std::span<const FieldCaption> captions);

// The usual field of a tab: a value with its unit list, checked against its
// limits with a form-B message, computed by `compute` and then reformatted.
struct RangedField {
    const char* edit;
    const char* selector;
    const char* lower;
    const char* upper;
    const char* word;
    void (*compute)(Form&, double);
    const char* label = "";
};
void addRangedField(Form& form, const RangedField& field, const std::string& reformat);
// Adds each edit, showing its factory text.
void addFactoryEdits(Form& form, std::span<const FactoryText> texts);
// Puts the factory texts back; nothing is computed.
void applyFactoryTexts(Form& form, std::span<const FactoryText> texts);

}  // namespace velkaro
