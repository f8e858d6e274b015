#include "settings/ini.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>
#include <csignal>
#define VELKARO_POSIX 1
#endif

namespace fs = std::filesystem;
using velkaro::IniFile;

namespace {

std::string roundTrip(std::string_view bytes) { return IniFile::parse(bytes).serialize(); }

// ---------------------------------------------------------------------------

TEST(IniRead, NamesMatchWithoutCaseIncludingUmlauts) {
    const IniFile ini = IniFile::parse("[Spule]\r\nGüte_L=120\r\n[Maße]\r\nÄÖÜ=1\r\n");
    EXPECT_EQ(ini.read("SPULE", "GÜTE_L"), "120");
    EXPECT_EQ(ini.read("spule", "güte_l"), "120");
    EXPECT_EQ(ini.read("MASSE", "äöü"), std::nullopt);  // ß is no SS
    EXPECT_EQ(ini.read("maße", "äöü"), "1");
    // × and ÷ sit 0x20 apart like a letter pair but are no pair.
    const IniFile signs = IniFile::parse("[A]\n\xD7=1\n");  // Windows-1252 ×
    EXPECT_EQ(signs.read("a", "×"), "1");
    EXPECT_EQ(signs.read("a", "÷"), std::nullopt);
}

TEST(IniRead, ValuesAndNamesAreTrimmedOfBlanksAndTabs) {
    const IniFile ini = IniFile::parse("  [ Spule ]\t\n \tL \t=  \t4,7 µH \t\nLeer=\n");
    EXPECT_EQ(ini.read("Spule", "L"), "4,7 µH");
    EXPECT_EQ(ini.read("Spule", "Leer"), "");
}

TEST(IniRead, MissingOrForeignEntriesGiveNothing) {
    const IniFile ini = IniFile::parse("Vorne=1\n[A]\n;Kommentar=2\nx=3\n[B]\ny=4\n");
    EXPECT_EQ(ini.read("A", "Vorne"), std::nullopt);  // before any section
    EXPECT_EQ(ini.read("A", ";Kommentar"), std::nullopt);
    EXPECT_EQ(ini.read("A", "Kommentar"), std::nullopt);
    EXPECT_EQ(ini.read("A", "y"), std::nullopt);  // belongs to B
    EXPECT_EQ(ini.read("C", "x"), std::nullopt);
    EXPECT_EQ(ini.read("C", "x", "7"), "7");
    EXPECT_EQ(ini.read("A", "x", "7"), "3");
    EXPECT_TRUE(IniFile::parse("").empty());
    EXPECT_FALSE(ini.empty());
}

TEST(IniRead, FirstSectionAndFirstKeyWin) {
    IniFile ini = IniFile::parse("[A]\nx=1\nx=2\n[B]\n[a]\nx=3\ny=4\n");
    EXPECT_EQ(ini.read("A", "x"), "1");
    EXPECT_EQ(ini.read("A", "y"), std::nullopt);
    ini.write("A", "x", "5");
    ini.write("A", "y", "6");
    EXPECT_EQ(ini.serialize(), "[A]\nx=5\nx=2\ny=6\n[B]\n[a]\nx=3\ny=4\n");
}

// ---------------------------------------------------------------------------

TEST(IniWrite, ReplacesValueWhereItStandsKeepingKeySpelling) {
    IniFile ini = IniFile::parse("[Spule]\r\n  güte_l = 5 \r\nX=1\r\n");
    ini.write("SPULE", "GÜTE_L", "7");
    EXPECT_EQ(ini.serialize(), "[Spule]\r\ng\xFCte_l=7\r\nX=1\r\n");
}

TEST(IniWrite, AppendsNewKeyAfterLastLineOfSection) {
    IniFile ini = IniFile::parse("[A]\nx=1\n\n[B]\ny=2\n");
    ini.write("a", "Neu", "3");
    EXPECT_EQ(ini.serialize(), "[A]\nx=1\nNeu=3\n\n[B]\ny=2\n");

    // A comment closing the section stays above the new key.
    IniFile commented = IniFile::parse("[A]\nx=1\n; Ende A\n\n\n[B]\n");
    commented.write("A", "z", "");
    EXPECT_EQ(commented.serialize(), "[A]\nx=1\n; Ende A\nz=\n\n\n[B]\n");

    IniFile headerOnly = IniFile::parse("[A]\n\n[B]\n");
    headerOnly.write("A", "k", "v");
    EXPECT_EQ(headerOnly.serialize(), "[A]\nk=v\n\n[B]\n");
}

TEST(IniWrite, AppendsMissingSectionAtEnd) {
    IniFile ini = IniFile::parse("[A]\r\nx=1\r\n");
    ini.write("Kondensator", "C", "100");
    EXPECT_EQ(ini.serialize(), "[A]\r\nx=1\r\n[Kondensator]\r\nC=100\r\n");
}

TEST(IniWrite, LineBreaksInValueCannotSplitTheLine) {
    IniFile ini;
    ini.write("A", "x", "eins\r\nzwei\nd");
    EXPECT_EQ(ini.read("A", "x"), "eins  zwei d");
    EXPECT_EQ(ini.serialize(), "[A]\r\nx=eins  zwei d\r\n");
}

TEST(IniWrite, EveryOtherLineSurvivesByteForByte) {
    const std::string original =
        "; Kopf \xE4\r\n"
        "lose Zeile ohne Abschnitt\r\n"
        "[Fremd]\r\n"
        "Unbekannt =  \xDC\x80\x81\x8D\x8F\x90\x9D\xFF \t\r\n"
        "\r\n"
        "[Spule]\r\n"
        "  ; x=9\r\n"
        "Wert=1\r\n"
        "kein Gleichheitszeichen\r\n"
        "=ohne Name\r\n"
        "[halb offen\r\n"
        "\t\r\n"
        "Ende=\xB5";  // no final line end
    EXPECT_EQ(roundTrip(original), original);

    IniFile ini = IniFile::parse(original);
    ini.write("Spule", "Wert", "2");
    std::string expected = original;
    expected.replace(expected.find("Wert=1"), 6, "Wert=2");
    EXPECT_EQ(ini.serialize(), expected);
}

// A comment written in UTF-8 by a Linux editor holds characters Windows-1252
// has not; writing the program's keys must not turn them into '?'.
TEST(IniWrite, ForeignUtf8LinesSurviveByteForByte) {
    const std::string comment = "; Messbereich 50 \xCE\xA9 \xE2\x86\x92 notiert";
    const std::string original = "[dBm]\r\n" + comment + "\r\nPegel= 0,000\r\nEinheit=\xB5Watt\r\n";
    IniFile ini = IniFile::parse(original);
    EXPECT_EQ(ini.read("dBm", "Einheit"), "\u00b5Watt");
    ini.write("dBm", "Pegel", " 3,000");
    ini.write("dBm", "Einheit", "\u00b5Watt");
    EXPECT_EQ(ini.serialize(), "[dBm]\r\n" + comment + "\r\nPegel= 3,000\r\nEinheit=\xB5Watt\r\n");
}

// ---------------------------------------------------------------------------

TEST(IniEncoding, EveryCp1252ByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(velkaro::cp1252FromUtf8(velkaro::utf8FromCp1252(all)), all);
    EXPECT_EQ(velkaro::utf8FromCp1252("\x80\x81\x8A\x9F\xA0\xFF"), "€\u0081Š\u0178\u00A0ÿ");
}

TEST(IniEncoding, GermanTextIsWrittenAsSingleBytes) {
    IniFile ini;
    ini.write("Spule", "Güte-L", "Induktivität");
    ini.write("Spule", "Leistung", "µWatt");
    EXPECT_EQ(ini.serialize(),
              "[Spule]\r\nG\xFC"
              "te-L=Induktivit\xE4t\r\nLeistung=\xB5Watt\r\n");
    EXPECT_EQ(velkaro::cp1252FromUtf8("ÄÖÜäöüß€"), "\xC4\xD6\xDC\xE4\xF6\xFC\xDF\x80");
}

TEST(IniEncoding, UnrepresentableCharactersBecomeQuestionMarks) {
    // Ω, →, an emoji, the C1 control U+0080 (0x80 is €), a stray byte, a
    // truncated sequence.
    EXPECT_EQ(velkaro::cp1252FromUtf8("Ω→😀\u0080|\xFF|\xC3"), "????|?|?");
}

TEST(IniEncoding, Utf8FileIsReadAsUtf8AndWrittenAsCp1252) {
    IniFile ini = IniFile::parse("\xEF\xBB\xBF[Spule]\nGüte=Induktivität µH\n");
    EXPECT_EQ(ini.read("SPULE", "GÜTE"), "Induktivität µH");
    ini.write("Spule", "Güte", "ä");
    EXPECT_EQ(ini.serialize(), "[Spule]\nG\xFCte=\xE4\n");
}

TEST(IniEncoding, AnythingNotCleanUtf8IsCp1252) {
    EXPECT_EQ(IniFile::parse("[A]\nx=\xE4\xB5\n").read("A", "x"), "äµ");
    // Valid UTF-8 except for one byte: the whole file is Windows-1252.
    EXPECT_EQ(IniFile::parse("[A]\nx=\xC3\xA4\xE4\n").read("A", "x"), "Ã¤ä");
    // Overlong form and encoded surrogate are not UTF-8.
    EXPECT_EQ(IniFile::parse("[A]\nx=\xC1\xA1\n").read("A", "x"), "Á¡");
    EXPECT_EQ(IniFile::parse("[A]\nx=\xED\xA0\x80\n").read("A", "x"), "í\u00A0€");
    // A byte order mark alone does not make the rest UTF-8, and is not kept.
    EXPECT_EQ(roundTrip("\xEF\xBB\xBF[A]\nx=\xE4\n"), "[A]\nx=\xE4\n");
}

// ---------------------------------------------------------------------------

TEST(IniLineEnds, NewFileGetsCrLf) {
    IniFile ini;
    ini.write("A", "x", "1");
    ini.write("B", "y", "2");
    EXPECT_EQ(ini.serialize(), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
}

TEST(IniLineEnds, ExistingFileKeepsItsLineEnds) {
    IniFile lf = IniFile::parse("[A]\nx=1\n");
    lf.write("A", "y", "2");
    lf.write("B", "z", "3");
    EXPECT_EQ(lf.serialize(), "[A]\nx=1\ny=2\n[B]\nz=3\n");

    // Mixed ends stay per line; added lines follow the first.
    IniFile mixed = IniFile::parse("[A]\r\nx=1\ny=2\r\n");
    mixed.write("A", "z", "3");
    EXPECT_EQ(mixed.serialize(), "[A]\r\nx=1\ny=2\r\nz=3\r\n");
}

// Files saved by old Mac editors end their lines with a lone CR: every key must
// still be found, and writing must not append a second set of sections.
TEST(IniLineEnds, LoneCrEndsALine) {
    IniFile ini = IniFile::parse("[A]\rx=1\r[B]\ry=2\r");
    EXPECT_EQ(ini.read("A", "x"), "1");
    EXPECT_EQ(ini.read("B", "y"), "2");
    ini.write("A", "x", "3");
    ini.write("B", "z", "4");
    EXPECT_EQ(ini.serialize(), "[A]\rx=3\r[B]\ry=2\rz=4\r\n");
    // Mixed ends, as a file passed between systems may have.
    IniFile mixed = IniFile::parse("[A]\r\nx=1\ry=2\nz=3");
    EXPECT_EQ(mixed.read("A", "y"), "2");
    EXPECT_EQ(mixed.read("A", "z"), "3");
}

TEST(IniLineEnds, MissingFinalLineEndStaysUnlessLinesAreAdded) {
    IniFile ini = IniFile::parse("[A]\nx=1");
    ini.write("A", "x", "2");
    EXPECT_EQ(ini.serialize(), "[A]\nx=2");
    ini.write("A", "y", "3");
    EXPECT_EQ(ini.serialize(), "[A]\nx=2\ny=3\n");

    IniFile single = IniFile::parse("[A]");  // no line end to copy
    single.write("B", "k", "v");
    EXPECT_EQ(single.serialize(), "[A]\r\n[B]\r\nk=v\r\n");
}

// ---------------------------------------------------------------------------

class IniFileIo : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("velkaro_ini_test_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
        file_ = dir_ / "velkaro.ini";
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }

    static std::string slurp(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void spit(const fs::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    std::vector<std::string> folderContents() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        return names;
    }
    // Makes the folder read-only. False when that does not stop new files
    // (running as root), so the test can only be skipped.
    bool lockFolder() {
        fs::permissions(dir_,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        const fs::path probe = dir_ / "probe";
        if (!std::ofstream(probe)) return true;
        fs::remove(probe);
        return false;
    }

    static IniFile sample() {
        IniFile ini;
        ini.write("Spule", "Güte-L", "Induktivität");
        return ini;
    }
    static constexpr const char* kSampleBytes = "[Spule]\r\nG\xFCte-L=Induktivit\xE4t\r\n";

    fs::path dir_;
    fs::path file_;
};

TEST_F(IniFileIo, MissingFileLoadsEmpty) {
    IniFile ini = IniFile::parse("[A]\nx=1\n");
    EXPECT_FALSE(velkaro::loadIni(file_, ini));
    EXPECT_TRUE(ini.empty());
    EXPECT_FALSE(velkaro::loadIni(dir_, ini));  // a folder is no file
}

TEST_F(IniFileIo, ReadTellsAMissingFileFromAnUnreadableOne) {
    IniFile ini;
    EXPECT_EQ(velkaro::readIni(file_, ini), velkaro::IniRead::Missing);
    fs::create_directory(file_);  // something of that name that cannot be read as a file
    EXPECT_EQ(velkaro::readIni(file_, ini), velkaro::IniRead::Unreadable);
    fs::remove(file_);
    spit(file_, "[A]\r\nx=1\r\n");
    EXPECT_EQ(velkaro::readIni(file_, ini), velkaro::IniRead::Read);
    EXPECT_EQ(ini.read("A", "x"), "1");
}

// A save killed between writing its temporary file and the rename leaves the
// temporary file behind; the next save removes it, and nothing else.
TEST_F(IniFileIo, SaveRemovesTemporaryFilesAnInterruptedSaveLeft) {
    spit(dir_ / "velkaro.ini.tmp0123456789ab", "halb");
    spit(dir_ / "velkaro.ini.tmpfedcba987654", "");
    spit(dir_ / "velkaro.ini.tmp0123", "fremd");         // not of the pattern
    spit(dir_ / "andere.ini.tmp0123456789ab", "fremd");  // another file's
    spit(dir_ / "velkaro.ini.tmpABCDEF012345", "fremd");
    ASSERT_TRUE(velkaro::saveIni(file_, sample()));
    auto names = folderContents();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"andere.ini.tmp0123456789ab", "velkaro.ini",
                                        "velkaro.ini.tmp0123", "velkaro.ini.tmpABCDEF012345"}));
}

TEST_F(IniFileIo, SaveReplacesFileAndLeavesNoTemporaryFile) {
    spit(file_, std::string(500, 'x'));
    ASSERT_TRUE(velkaro::saveIni(file_, sample()));
    EXPECT_EQ(slurp(file_), kSampleBytes);
    EXPECT_EQ(folderContents(), std::vector<std::string>{"velkaro.ini"});

    IniFile loaded;
    ASSERT_TRUE(velkaro::loadIni(file_, loaded));
    EXPECT_EQ(loaded.read("spule", "GÜTE-L"), "Induktivität");
}

TEST_F(IniFileIo, SaveFailsWhenFolderIsMissing) {
    EXPECT_FALSE(velkaro::saveIni(dir_ / "fehlt" / "velkaro.ini", sample()));
}

TEST_F(IniFileIo, FailedRenameRemovesTemporaryFile) {
    fs::create_directory(file_);  // nothing can replace a folder
    EXPECT_FALSE(velkaro::saveIni(file_, sample()));
    EXPECT_EQ(folderContents(), std::vector<std::string>{"velkaro.ini"});
    EXPECT_TRUE(fs::is_directory(file_));
}

TEST_F(IniFileIo, InPlaceSaveOverwritesAndCutsButNeverCreates) {
    EXPECT_FALSE(velkaro::saveIniInPlace(file_, sample()));
    EXPECT_FALSE(fs::exists(file_));

    spit(file_, std::string(500, 'x'));
    ASSERT_TRUE(velkaro::saveIniInPlace(file_, sample()));
    EXPECT_EQ(slurp(file_), kSampleBytes);
}

TEST_F(IniFileIo, SaveFallsBackToInPlaceInReadOnlyFolder) {
    spit(file_, "[Alt]\r\n");
    if (!lockFolder()) GTEST_SKIP() << "folder permissions are not enforced (root)";
    ASSERT_TRUE(velkaro::saveIni(file_, sample()));
    EXPECT_EQ(slurp(file_), kSampleBytes);
}

TEST_F(IniFileIo, SaveFailsWhenNeitherFolderNorFileIsWritable) {
    spit(file_, "[Alt]\r\n");
    fs::permissions(file_, fs::perms::owner_read);
    if (!lockFolder()) GTEST_SKIP() << "file permissions are not enforced (root)";
    EXPECT_FALSE(velkaro::saveIni(file_, sample()));
    EXPECT_EQ(slurp(file_), "[Alt]\r\n");
}

#ifdef VELKARO_POSIX
TEST_F(IniFileIo, ReadOnlyFileIsNotReplaced) {
    spit(file_, "[Alt]\r\n");
    fs::permissions(file_, fs::perms::owner_read);
    if (std::ofstream(file_, std::ios::app))
        GTEST_SKIP() << "file permissions are not enforced (root)";
    EXPECT_FALSE(velkaro::saveIni(file_, sample()));
    EXPECT_EQ(slurp(file_), "[Alt]\r\n");
}

TEST_F(IniFileIo, SaveKeepsFileModeAndSymbolicLink) {
    const fs::path real = dir_ / "echt.ini";
    spit(real, "[Alt]\r\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real.filename(), file_);

    ASSERT_TRUE(velkaro::saveIni(file_, sample()));
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(slurp(real), kSampleBytes);
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(folderContents().size(), 2u);
}

// A file size limit makes writes fail like a full disk does, even for root.
TEST_F(IniFileIo, FullDiskKeepsOldFileAndRemovesTemporaryFile) {
    spit(file_, "[Alt]\r\n");
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 10;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = velkaro::saveIni(file_, sample());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(slurp(file_), "[Alt]\r\n");
    EXPECT_EQ(folderContents(), std::vector<std::string>{"velkaro.ini"});
}

TEST_F(IniFileIo, InPlaceSaveReportsFailedWrite) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    EXPECT_FALSE(velkaro::saveIniInPlace("/dev/full", sample()));
}
#endif

}  // namespace
