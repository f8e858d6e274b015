// Settings are never lost: a program storing its settings is killed (SIGKILL)
// at random moments, again and again. After every kill the file is one complete
// file that the program wrote, the previous or the next one, never a mix or a
// stump, the lines of others in it survive, and the temporary file a killed save
// leaves behind is gone after the next save.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "calc/window.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "settings_generation.h"

using namespace velkaro;
namespace fs = std::filesystem;

namespace {

// Lines of others that every save must keep.
const std::string kForeign =
    "; von Hand eingetragen\r\n[Fremd]\r\nSchluessel=Wert \xe4\xf6\xfc\r\n\r\n";

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Starts the writer; `first`, `count` as it takes them. Returns its process id;
// `progress` (when given) receives the read end of its progress lines.
pid_t startWriter(const fs::path& file, long long first, long long count, int* progress = nullptr) {
    int fds[2] = {-1, -1};
    if (progress != nullptr && pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        const std::string a = file.string(), b = std::to_string(first), c = std::to_string(count);
        if (progress != nullptr) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            close(fds[1]);
        } else if (!freopen("/dev/null", "w", stdout)) {
            _exit(3);
        }
        execl(VELKARO_SETTINGS_WRITER, VELKARO_SETTINGS_WRITER, a.c_str(), b.c_str(), c.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    if (progress != nullptr) {
        close(fds[1]);
        *progress = fds[0];
    }
    return pid;
}

// Waits until the writer has finished its first save in this run: from then
// on it is saving all the time.
bool waitForFirstSave(int progress) {
    char c = 0;
    while (read(progress, &c, 1) == 1) {
        if (c == '\n') return true;
    }
    return false;
}

int waitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

int temporaries(const fs::path& folder) {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".tmp") != std::string::npos) ++n;
    }
    return n;
}

class SettingsKill : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("velkaro-kill-" + std::to_string(getpid()) + "-" +
                  std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(folder);
        file = folder / "velkaro.INI";
        std::ofstream(file, std::ios::binary) << kForeign;
        BuildModel(model);
        ApplyFactoryDefaults(model);
    }
    void TearDown() override { fs::remove_all(folder); }

    // The file generation g is: the file of others with the window stored into it.
    std::string expected(long long g) {
        velkaro::testing::applyGeneration(model, g);
        IniFile ini = IniFile::parse(kForeign);
        StoreSettings(model, ini);
        return ini.serialize();
    }

    // The generation the file holds, read through the program's own loading.
    long long generationOf(const std::string& bytes) {
        Form form(',');
        BuildModel(form);
        LoadSettings(form, IniFile::parse(bytes));
        return std::stoll(form.text("PS_E_F"));
    }

    fs::path folder, file;
    Form model{','};
};

}  // namespace

TEST_F(SettingsKill, AKilledSaveLeavesTheOldOrTheNewCompleteFile) {
    // A first complete save, then kills at random moments.
    ASSERT_EQ(waitFor(startWriter(file, 0, 1)), 0);
    long long last = 0;
    ASSERT_EQ(readFile(file), expected(0));
    std::mt19937 random(static_cast<unsigned>(getpid()));
    std::uniform_int_distribution<int> delay(0, 3000);  // microseconds
    int advanced = 0;
    int midSave = 0;  // kills that left a temporary file: during a save's write
    for (int round = 0; round < 40; ++round) {
        int progress = -1;
        const pid_t pid = startWriter(file, last + 1, 0, &progress);
        ASSERT_GT(pid, 0);
        // Half the kills while the program starts (and reads the file), half
        // while it saves.
        const bool started = round % 2 == 1 && waitForFirstSave(progress);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(pid, SIGKILL);
        const int status = waitFor(pid);
        close(progress);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the writer ended by itself, status " << status;

        const std::string bytes = readFile(file);
        const long long g = generationOf(bytes);
        ASSERT_GE(g, last) << "round " << round << ": an older file came back";
        ASSERT_EQ(bytes, expected(g)) << "round " << round << ": generation " << g
                                      << " is not the complete file";
        if (started) {
            ++advanced;
            EXPECT_GT(g, last) << "round " << round << ": a save was lost";
        }
        last = g;
        // A killed save leaves at most its one temporary file.
        const int left = temporaries(folder);
        EXPECT_LE(left, 1) << "round " << round;
        midSave += left;
    }
    // The kills did hit running saves, not only a starting program.
    EXPECT_EQ(advanced, 20);
    RecordProperty("kills_during_a_write", midSave);
    std::printf("%d of 40 kills hit a save between its temporary file and the rename\n", midSave);
    std::fflush(stdout);  // before the next fork, or the child writes it again
    // The next complete save clears what killed ones left behind.
    ASSERT_EQ(waitFor(startWriter(file, last + 1, 1)), 0);
    EXPECT_EQ(readFile(file), expected(last + 1));
    EXPECT_EQ(temporaries(folder), 0);
}
