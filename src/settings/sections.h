#pragma once
// Declarative tables of the settings file: one section per table, one row per
// key, in the order the keys are written. LoadSettings and StoreSettings read
// these tables; nobody writes a key by hand.

#include <functional>
#include <string>
#include <vector>

#include "core/form.h"

namespace velkaro {

enum class SettingKind {
    NumberText,    // an edit's text; separator converted on loading, one blank in front
    Text,          // a text as shown (unit edits); one blank in front on loading
    Index,         // a selector's item index (-1: no item)
    Page,          // a page control's page; outside its pages: unchanged
    Mode,          // a mode integer of the window, checks radios[0..2] for 1..3
    Marker,        // visibility of the top direction marker `control`, `partner` the bottom one
    Checked,       // a radio button's or check box's checked state
    QualityCheck,  // check box `control` + its quality edit `partner` (colour and enabled)
    Float,         // a double of the window (general format)
    Colour,        // a control's font colour as colour name or integer
};

struct SettingKey {
    std::string key;
    SettingKind kind = SettingKind::NumberText;
    std::string control;        // the control written and loaded (not for Mode and Float)
    std::string fallback;       // load default; number texts: "," stands for the current separator
    bool fallbackAsIs = false;  // a number-text default used exactly as written (e.g. "0")
    std::string partner;        // Marker: bottom marker; QualityCheck: quality edit

    int WindowState::*mode = nullptr;        // Mode
    std::vector<std::string> radios;         // Mode: the radio buttons for 1, 2, 3
    std::function<void(Form&, int)> onMode;  // Mode: what else loading a value does
    double WindowState::*real = nullptr;     // Float
};

struct SettingsSection {
    std::string name;
    std::vector<SettingKey> keys;        // store order
    std::vector<std::string> loadOrder;  // keys in load order where it differs; empty: store order
};

}  // namespace velkaro
