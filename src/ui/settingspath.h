#pragma once

#include <filesystem>

namespace velkaro {

// The settings file: beside the program with the extension ".INI" (a portable
// install), or, where that file is missing and its folder is not writable (an
// install under /usr), velkaro.INI in the user's configuration folder.
std::filesystem::path chooseSettingsFile();

}  // namespace velkaro
