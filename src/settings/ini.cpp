#include "settings/ini.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velkaro {

namespace {

// ---------------------------------------------------------------------------
// Character sets

// Windows-1252 0x80..0x9F. The undefined bytes keep their own number as a C1
// control so that reading and writing a file never changes them.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

unsigned char byteAt(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// Decodes the UTF-8 sequence at s[i]. Returns its length, or 0 when the bytes
// there are not well-formed UTF-8 (overlong forms and surrogates included).
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& cp) {
    const unsigned char b0 = byteAt(s, i);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1Fu;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0Fu;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07u;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (s.size() - i < len) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char b = byteAt(s, i + k);
        if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) return 0;
        cp = (cp << 6) | (b & 0x3Fu);
    }
    return len;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// True when the bytes are UTF-8 and need to be, i.e. hold a non-ASCII character.
bool isNonAsciiUtf8(std::string_view s) {
    bool nonAscii = false;
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t len = decodeUtf8(s, i, cp);
        if (len == 0) return false;
        nonAscii = nonAscii || len > 1;
        i += len;
    }
    return nonAscii;
}

// ---------------------------------------------------------------------------
// Names and lines

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Byte i of the UTF-8 text s, case-folded. Latin-1 capitals U+00C0..U+00DE are
// "\xC3\x80".."\xC3\x9E" and their small letters lie 0x20 higher in the second
// byte; 0xC3 is never a continuation byte, so looking one byte back suffices.
// U+00D7 (multiplication sign) has no small letter.
unsigned char foldedAt(std::string_view s, std::size_t i) {
    const unsigned char c = byteAt(s, i);
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
    if (i > 0 && byteAt(s, i - 1) == 0xC3 && c >= 0x80 && c <= 0x9E && c != 0x97)
        return static_cast<unsigned char>(c + 0x20);
    return c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldedAt(a, i) != foldedAt(b, i)) return false;
    return true;
}

struct LineInfo {
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key value, trimmed
};

LineInfo classify(std::string_view text) {
    const std::string_view t = trim(text);
    if (t.empty() || t.front() == ';') return {};
    if (t.front() == '[') {
        const std::size_t close = t.find(']');
        if (close == std::string_view::npos) return {};
        return {LineInfo::Section, trim(t.substr(1, close - 1)), {}};
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return {};
    const std::string_view key = trim(t.substr(0, eq));
    if (key.empty()) return {};
    return {LineInfo::Key, key, trim(t.substr(eq + 1))};
}

// ---------------------------------------------------------------------------
// Files. A thin layer over the POSIX-style descriptor calls, which the Windows
// runtime offers with a leading underscore.

#ifdef _WIN32
int openNew(const std::filesystem::path& p) {
    return _wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int openExisting(const std::filesystem::path& p) {
    return _wopen(p.c_str(), _O_WRONLY | _O_BINARY);
}
bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const unsigned chunk =
            data.size() > (1u << 30) ? (1u << 30) : static_cast<unsigned>(data.size());
        const int n = _write(fd, data.data(), chunk);
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}
bool truncateTo(int fd, std::size_t size) { return _chsize_s(fd, static_cast<__int64>(size)) == 0; }
bool syncToDisk(int fd) { return _commit(fd) == 0; }
bool closeFile(int fd) { return _close(fd) == 0; }
void copyMode(const std::filesystem::path&, int) {}
void syncFolder(const std::filesystem::path&) {}
bool userMayWrite(const std::filesystem::path&) { return true; }  // the rename refuses
#else
int openNew(const std::filesystem::path& p) {
    return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
int openExisting(const std::filesystem::path& p) { return ::open(p.c_str(), O_WRONLY | O_CLOEXEC); }
bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}
bool truncateTo(int fd, std::size_t size) { return ::ftruncate(fd, static_cast<off_t>(size)) == 0; }
bool syncToDisk(int fd) { return ::fsync(fd) == 0; }
bool closeFile(int fd) { return ::close(fd) == 0; }
// The new file replaces the old one, so it should carry the old one's mode
// (a settings file kept private stays private).
void copyMode(const std::filesystem::path& from, int fd) {
    struct stat st {};
    if (::stat(from.c_str(), &st) == 0) (void)::fchmod(fd, st.st_mode & 07777);
}
// Makes the rename itself survive a power cut.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    (void)::close(fd);
}
// A rename would replace a file the user made read-only; Windows refuses to.
bool userMayWrite(const std::filesystem::path& p) { return ::access(p.c_str(), W_OK) == 0; }
#endif

constexpr std::size_t kSuffixLength = 12;

std::string randomSuffix() {
    thread_local std::mt19937_64 rng(
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    static constexpr char kHex[] = "0123456789abcdef";
    std::uint64_t v = rng();
    std::string s(kSuffixLength, '0');
    for (char& c : s) {
        c = kHex[v & 0xF];
        v >>= 4;
    }
    return s;
}

// A save killed between creating its temporary file and the rename leaves
// "<name>.tmp" + 12 hex digits behind; the next save clears them away.
void removeStaleTemporaries(const std::filesystem::path& target) {
    namespace fs = std::filesystem;
    const std::string stem = target.filename().string() + ".tmp";
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != stem.size() + kSuffixLength || name.compare(0, stem.size(), stem) != 0)
            continue;
        const bool hex =
            std::all_of(name.begin() + static_cast<std::ptrdiff_t>(stem.size()), name.end(),
                        [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
        std::error_code ignored;
        if (hex && it->is_regular_file(ignored)) fs::remove(it->path(), ignored);
    }
}

bool writeInPlace(const std::filesystem::path& path, std::string_view bytes) {
    const int fd = openExisting(path);
    if (fd < 0) return false;
    // Overwrite first, cut after: up to the old size this needs no new space on
    // a full disk, whereas truncating first would give the blocks away.
    bool ok = writeAll(fd, bytes) && truncateTo(fd, bytes.size()) && syncToDisk(fd);
    ok = closeFile(fd) && ok;
    return ok;
}

}  // namespace

// ---------------------------------------------------------------------------

std::string utf8FromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            appendUtf8(out, kCp1252High[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::string cp1252FromUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = decodeUtf8(text, i, cp);
        if (len == 0) {
            out += '?';
            ++i;
            continue;
        }
        i += len;
        char byte = '?';
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            byte = static_cast<char>(cp);
        } else {
            for (std::size_t k = 0; k < kCp1252High.size(); ++k)
                if (kCp1252High[k] == cp) byte = static_cast<char>(0x80 + k);
        }
        out += byte;
    }
    return out;
}

IniFile IniFile::parse(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);

    IniFile ini;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        Line line;
        line.raw = std::string(bytes.substr(0, end));
        line.text = isNonAsciiUtf8(line.raw) ? line.raw : utf8FromCp1252(line.raw);
        if (end == std::string_view::npos) {
            ini.lines_.push_back(std::move(line));
            break;
        }
        const std::size_t endLength = bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        line.end = std::string(bytes.substr(end, endLength));
        if (ini.lines_.empty() && line.end == "\n") ini.newline_.assign(1, '\n');
        ini.lines_.push_back(std::move(line));
        bytes.remove_prefix(end + endLength);
    }
    return ini;
}

std::size_t IniFile::findSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const LineInfo info = classify(lines_[i].text);
        if (info.kind == LineInfo::Section && sameName(info.name, section)) return i;
    }
    return lines_.size();
}

std::size_t IniFile::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && classify(lines_[i].text).kind != LineInfo::Section) ++i;
    return i;
}

std::size_t IniFile::findKey(std::size_t header, std::string_view key) const {
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const LineInfo info = classify(lines_[i].text);
        if (info.kind == LineInfo::Key && sameName(info.name, key)) return i;
    }
    return lines_.size();
}

std::optional<std::string> IniFile::read(std::string_view section, std::string_view key) const {
    const std::size_t header = findSection(section);
    if (header == lines_.size()) return std::nullopt;
    const std::size_t line = findKey(header, key);
    if (line == lines_.size()) return std::nullopt;
    return std::string(classify(lines_[line].text).value);
}

std::string IniFile::read(std::string_view section, std::string_view key,
                          std::string_view fallback) const {
    return read(section, key).value_or(std::string(fallback));
}

void IniFile::insertLine(std::size_t at, std::string text) {
    // Only the file's last line can lack a line end; a line after it needs one.
    if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = newline_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  Line{std::move(text), newline_, {}, true});
}

void IniFile::write(std::string_view section, std::string_view key, std::string_view value) {
    std::string v(value);
    for (char& c : v)
        if (c == '\r' || c == '\n') c = ' ';

    const std::size_t header = findSection(section);
    if (header == lines_.size()) {
        std::string opening(1, '[');
        opening.append(section).push_back(']');
        insertLine(lines_.size(), std::move(opening));
        insertLine(lines_.size(), std::string(key) + "=" + v);
        return;
    }
    const std::size_t line = findKey(header, key);
    if (line != lines_.size()) {
        Line& l = lines_[line];
        l.text = std::string(classify(l.text).name) + "=" + v;
        l.written = true;
        return;
    }
    // Blank lines at the end of a section separate it from the next one; the
    // new key goes before them.
    std::size_t at = sectionEnd(header);
    while (at > header + 1 && trim(lines_[at - 1].text).empty()) --at;
    insertLine(at, std::string(key) + "=" + v);
}

std::string IniFile::serialize() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.written ? cp1252FromUtf8(line.text) : line.raw;
        out += line.end;
    }
    return out;
}

IniRead readIni(const std::filesystem::path& path, IniFile& out) {
    out = IniFile{};
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return IniRead::Missing;
    if (!std::filesystem::is_regular_file(status)) return IniRead::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return IniRead::Unreadable;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return IniRead::Unreadable;
    out = IniFile::parse(bytes);
    return IniRead::Read;
}

bool loadIni(const std::filesystem::path& path, IniFile& out) {
    return readIni(path, out) == IniRead::Read;
}

bool saveIniInPlace(const std::filesystem::path& path, const IniFile& ini) {
    return writeInPlace(path, ini.serialize());
}

bool saveIni(const std::filesystem::path& path, const IniFile& ini) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Through a symbolic link, replace the file it points to, not the link.
    fs::path target = path;
    if (fs::is_symlink(path, ec)) {
        fs::path resolved = fs::canonical(path, ec);
        if (!ec) target = std::move(resolved);
    }
    const bool exists = fs::exists(target, ec);
    if (exists && !userMayWrite(target)) return false;

    removeStaleTemporaries(target);
    const std::string bytes = ini.serialize();
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        temp = target;
        temp += ".tmp" + randomSuffix();
        fd = openNew(temp);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return exists && writeInPlace(target, bytes);

    if (exists) copyMode(target, fd);
    bool ok = writeAll(fd, bytes) && syncToDisk(fd);
    ok = closeFile(fd) && ok;
    if (ok) {
        fs::rename(temp, target, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temp, ec);
        return false;
    }
    fs::path folder = target.parent_path();
    syncFolder(folder.empty() ? fs::path(".") : folder);
    return true;
}

}  // namespace velkaro
