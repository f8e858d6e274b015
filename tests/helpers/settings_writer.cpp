// Stores the window's settings over and over, as closing the program does, with
// the generation number in the state: settings_writer FILE FIRST COUNT (COUNT 0:
// until killed). The settings-never-lost test kills it at random moments.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "calc/window.h"
#include "core/form.h"
#include "settings/settings.h"
#include "settings_generation.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FILE FIRST COUNT\n", argv[0]);
        return 2;
    }
    const long long first = std::atoll(argv[2]);
    const long long count = std::atoll(argv[3]);
    velkaro::Form form(',');
    velkaro::BuildModel(form);
    velkaro::ApplyFactoryDefaults(form);
    velkaro::SettingsFile file(argv[1]);
    for (long long g = first; count == 0 || g < first + count; ++g) {
        velkaro::testing::applyGeneration(form, g);
        if (!file.store(form)) return 1;
        // Tells the test how far it got (the file itself must say the same).
        std::printf("%lld\n", g);
        std::fflush(stdout);
    }
    return 0;
}
