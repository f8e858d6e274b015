#pragma once
// The settings file of the window: every tab's fields, modes and units, the pages
// shown, the options, and the decimal separator in force when it was written.

#include <filesystem>
#include <string>
#include <vector>

#include "core/form.h"
#include "settings/ini.h"
#include "settings/sections.h"

namespace velkaro {

// Every section in the order StoreSettings writes them.
std::vector<SettingsSection> allSections();

// Writes every key of every section into `ini` (keys already there keep their
// place), then "Dezimalseparator" / "Dezimals".
void StoreSettings(const Form& form, IniFile& ini);

// Loads every key in load order through the model, so radio buttons and check
// boxes run their handlers. A colour that is neither a name nor an integer stops
// loading there with a reported error.
void LoadSettings(Form& form, const IniFile& ini);

// The same for a given list of sections, taken in the order given (the
// separator key is part of every file).
void StoreSections(const Form& form, IniFile& ini, const std::vector<SettingsSection>& sections);
void LoadSections(Form& form, const IniFile& ini, const std::vector<SettingsSection>& sections);

// The factory state of a first start without a settings file.
void ApplyFactoryDefaults(Form& form);

// The file beside the program, or the user's configuration folder: decided once
// at start-up by the caller.
class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path path) : path_(std::move(path)) {}
    const std::filesystem::path& path() const { return path_; }

    // FormShow: LoadSettings when the file exists, else ApplyFactoryDefaults. A
    // file that exists but cannot be read gives the factory state, and the file
    // is then kept as it is for the whole run.
    void loadOrDefaults(Form& form);
    // What the user must learn once the window shows: a file that could not be
    // read, stored texts that are no numbers (kept, and left unformatted).
    std::vector<std::string> takeNotices();
    // FormClose: StoreSettings into the file. False (after the message) when it
    // could not be written, or must not be; a second failure in a row lets the
    // window close.
    bool store(Form& form);

private:
    std::filesystem::path path_;
    bool failedBefore_ = false;
    bool keepFile_ = false;
    std::vector<std::string> notices_;
};

}  // namespace velkaro
