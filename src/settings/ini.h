#pragma once
// The settings file: an INI file that must stay byte-compatible with the files
// the Windows build of this program writes through the private-profile API.
// Everything in memory is UTF-8; on disk the file is Windows-1252.
//
// The file is kept as its list of lines, so everything the program does not
// touch (comments, unknown keys and sections, blank lines, line endings) is
// written back exactly as it was read.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro {

class IniFile {
public:
    // Decodes the bytes of a settings file. A leading UTF-8 byte order mark is
    // dropped. Lines end with CR LF, LF or a lone CR. A line whose bytes are
    // valid UTF-8 with at least one non-ASCII byte is taken as UTF-8 (a line
    // edited with a Linux editor); every other line is Windows-1252.
    static IniFile parse(std::string_view bytes);

    // The value of `key` in `section`, blanks and tabs around it removed.
    // Section and key names match without regard to case, umlauts included.
    // Only the first section of a name and the first key of a name in it count.
    std::optional<std::string> read(std::string_view section, std::string_view key) const;
    std::string read(std::string_view section, std::string_view key,
                     std::string_view fallback) const;

    // Sets `key` in `section` to `value`: an existing key line becomes
    // "key=value" where it stands, keeping the key as spelled in the file; a new
    // key goes right after the last non-blank line of its section; a new section
    // goes to the end of the file. Line breaks in `value` become blanks, since
    // they would end the line. Section and key names are the program's own and
    // must not contain line breaks, '=' or ']'.
    void write(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes. A line the program did not write comes back exactly as
    // it was read, whatever its bytes; the program's own lines are Windows-1252,
    // where characters the code page cannot hold become '?'. Every line keeps its
    // line end; a line the program adds ends like the file's first line (CR LF
    // where that is a lone CR or there is none).
    std::string serialize() const;

    // True when the file holds no line at all (missing or zero-length file).
    bool empty() const { return lines_.empty(); }

private:
    struct Line {
        std::string text;  // UTF-8, without its line end
        std::string end;   // "\r\n", "\n", "\r", or "" for a last line without one
        std::string raw;   // the bytes as read, while the program has not written the line
        bool written = false;
    };

    // Index of the first header line of `section`, or lines_.size().
    std::size_t findSection(std::string_view section) const;
    // One past the last line of the section whose header is at `header`.
    std::size_t sectionEnd(std::size_t header) const;
    // Index of the first line of `key` in the section at `header`, or lines_.size().
    std::size_t findKey(std::size_t header, std::string_view key) const;
    void insertLine(std::size_t at, std::string text);

    std::vector<Line> lines_;
    // For lines the program adds: LF in a file whose lines end with LF (edited
    // on Linux), else CR LF (a lone CR is no line end a Windows reader knows).
    std::string newline_ = "\r\n";
};

// Reads the settings file. A missing or unreadable file gives an empty IniFile
// and false.
bool loadIni(const std::filesystem::path& path, IniFile& out);

enum class IniRead { Read, Missing, Unreadable };
// The same, telling a file that is not there from one whose content could not
// be read (no permission, an I/O error, a folder of that name).
IniRead readIni(const std::filesystem::path& path, IniFile& out);

// Writes the settings file as a whole: into a temporary file in the same folder
// (temporary files an interrupted earlier save left there are removed first),
// flushed to the disk, then renamed over the old file, so that a crash or a full
// disk leaves either the old or the new file, never a mix. When the folder does
// not allow a new file but the file itself is writable, the file is overwritten
// in place instead. A file the user made read-only is left alone. False when the
// file could not be written; unless the in-place fallback failed halfway, the
// old file is then unchanged.
bool saveIni(const std::filesystem::path& path, const IniFile& ini);

// Overwrites an existing, writable file in place (never creates one). This is
// saveIni's fallback for a folder without write permission; it cannot protect
// the old content against a failure halfway.
bool saveIniInPlace(const std::filesystem::path& path, const IniFile& ini);

// Windows-1252 bytes to UTF-8. Every byte has a character: the five bytes the
// code page leaves undefined become the C1 controls of the same number, so the
// conversion back gives the same bytes.
std::string utf8FromCp1252(std::string_view bytes);

// UTF-8 to Windows-1252. Characters the code page cannot hold, and bytes that
// are not valid UTF-8, become '?'.
std::string cp1252FromUtf8(std::string_view text);

}  // namespace velkaro
