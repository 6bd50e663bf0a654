// SPDX-License-Identifier: GPL-3.0-or-later
// Profile on an INI file, read and written as bytes. Files written by QSettings read back as
// they were meant: quoted values, backslash escapes, "@ByteArray(...)" and "@@"; a text that
// QSettings stored one character per byte (as older versions of this program did) comes back
// as the bytes it was made of.
#include "app/qsettings_profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <sstream>
#include <tuple>
#include <vector>

#include "core/utf8.h"

namespace plovane {
namespace {

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void PutUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | ((code >> 12) & 0x0F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Text QSettings stored from Latin-1 characters each standing for a byte: the UTF-8 of
// characters up to U+00FF whose bytes form UTF-8 themselves ("GrÃ¼ÃŸe"). Those bytes, or
// nothing for any other text ("Grüße" stays as written).
std::optional<std::string> ByteCharacters(const std::string& text) {
    if (!IsValidUtf8(text))
        return std::nullopt;
    std::string bytes;
    bool high = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<uint8_t>(text[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
        } else if (lead == 0xC2 || lead == 0xC3) {
            bytes += static_cast<char>(((lead & 0x03) << 6) | (text[++i] & 0x3F));
            high = true;
        } else {
            return std::nullopt;
        }
    }
    if (!high || !IsValidUtf8(bytes))
        return std::nullopt;
    return bytes;
}

// A value as written after "=": quotes removed, escapes resolved, commas kept as written.
std::string DecodeValue(std::string_view raw, bool& binary) {
    while (!raw.empty() && (raw.front() == ' ' || raw.front() == '\t'))
        raw.remove_prefix(1);
    while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t'))
        raw.remove_suffix(1);
    const bool quotedByteArray = raw.starts_with("\"@ByteArray(");
    binary = raw.starts_with("@ByteArray(") || quotedByteArray;
    std::string out;
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '"')
            continue;
        if (c != '\\' || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        const char e = raw[++i];
        uint32_t code = 0;
        switch (e) {
            case 'a':
                out += '\a';
                continue;
            case 'b':
                out += '\b';
                continue;
            case 'f':
                out += '\f';
                continue;
            case 'n':
                out += '\n';
                continue;
            case 'r':
                out += '\r';
                continue;
            case 't':
                out += '\t';
                continue;
            case 'v':
                out += '\v';
                continue;
            case 'x':
                while (i + 1 < raw.size() && IsHex(raw[i + 1]) && code < 0x1000)
                    code = code * 16 +
                           static_cast<uint32_t>(std::stoi(std::string(1, raw[++i]), nullptr, 16));
                break;
            default:
                if (e >= '0' && e <= '7') {
                    code = static_cast<uint32_t>(e - '0');
                    while (i + 1 < raw.size() && raw[i + 1] >= '0' && raw[i + 1] <= '7' &&
                           code < 0x1000)
                        code = code * 8 + static_cast<uint32_t>(raw[++i] - '0');
                    break;
                }
                out += e;  // \" \\ \; \, \= \' \?
                continue;
        }
        if (binary && code <= 0xFF) {
            out += static_cast<char>(code);
        } else {
            PutUtf8(out, code);
        }
    }
    if (binary) {
        out = out.substr(
            11, out.size() > 11 && out.back() == ')' ? out.size() - 12 : std::string::npos);
    } else if (out.starts_with("@@")) {
        out.erase(0, 1);
    } else if (const auto bytes = ByteCharacters(out)) {
        out = *bytes;
    }
    return out;
}

// The text after "=" that reads back as `bytes`.
std::string EncodeValue(std::string_view bytes, bool binary) {
    std::string out = binary ? "@ByteArray(" : (bytes.starts_with('@') ? "@" : "");
    bool needsQuotes = false;
    bool escapeNextIfHex = false;
    for (const char c : bytes) {
        const auto byte = static_cast<uint8_t>(c);
        needsQuotes = needsQuotes || c == ';' || c == ',' || c == '=';
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
            escapeNextIfHex = false;
        } else if (byte < 0x20 || byte == 0x7F || (binary && byte >= 0x80) ||
                   (escapeNextIfHex && IsHex(c))) {
            constexpr char kDigits[] = "0123456789abcdef";
            out += "\\x";
            if (byte >= 0x10)
                out += kDigits[byte >> 4];
            out += kDigits[byte & 0x0F];
            escapeNextIfHex = true;
        } else {
            out += c;
            escapeNextIfHex = false;
        }
    }
    if (binary)
        out += ')';
    if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' ')))
        out = '"' + out + '"';
    return out;
}

// QSettings writes key characters other than letters, digits, "-", "_" and "." as %XX.
std::string EncodeKey(const std::string& key) {
    std::string out;
    for (const char c : key) {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.') {
            out += c;
        } else {
            constexpr char kDigits[] = "0123456789ABCDEF";
            out += '%';
            out += kDigits[static_cast<uint8_t>(c) >> 4];
            out += kDigits[static_cast<uint8_t>(c) & 0x0F];
        }
    }
    return out;
}

std::string DecodeKey(std::string_view key) {
    while (!key.empty() && (key.back() == ' ' || key.back() == '\t'))
        key.remove_suffix(1);
    while (!key.empty() && (key.front() == ' ' || key.front() == '\t'))
        key.remove_prefix(1);
    std::string out;
    for (size_t i = 0; i < key.size(); ++i) {
        if (key[i] == '%' && i + 2 < key.size() && IsHex(key[i + 1]) && IsHex(key[i + 2])) {
            out += static_cast<char>(std::stoi(std::string(key.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += key[i];
        }
    }
    return out;
}

std::filesystem::path XdgFolder(const char* variable, const char* fallback) {
    if (const char* base = std::getenv(variable); base != nullptr && base[0] == '/')
        return base;
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return std::filesystem::path(home) / fallback;
    return {};
}

// One INI file as its lines, kept byte for byte; a changed value replaces its own line only.
// Thread-safe: every operation takes the mutex.
class IniFile final : public Profile {
  public:
    IniFile(std::filesystem::path path, const IniFile* fallback)
        : path_(std::move(path)), fallback_(fallback) {}

    std::optional<std::string> Find(const std::string& section, const std::string& key,
                                    bool& binary) const {
        std::lock_guard lock(mutex_);
        Refresh();
        const auto at = Locate(section, key);
        if (!at) {
            return fallback_ != nullptr ? fallback_->Find(section, key, binary) : std::nullopt;
        }
        const std::string& line = lines_[*at];
        std::string_view raw(line);
        raw.remove_prefix(raw.find('=') + 1);
        if (raw.ends_with('\r'))
            raw.remove_suffix(1);
        return DecodeValue(raw, binary);
    }

    int32_t GetInt(const std::string& section, const std::string& key,
                   int32_t defaultValue) const override {
        bool binary = false;
        const auto text = Find(section, key, binary);
        return text ? ParseInt32(*text).value_or(defaultValue) : defaultValue;
    }
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const override {
        bool binary = false;
        return Find(section, key, binary).value_or(defaultValue);
    }
    bool GetBinary(const std::string& section, const std::string& key,
                   std::vector<uint8_t>& value) const override {
        bool binary = false;
        const auto text = Find(section, key, binary);
        value.assign(text ? text->begin() : std::string::const_iterator{},
                     text ? text->end() : std::string::const_iterator{});
        return text.has_value();
    }
    bool WriteInt(const std::string& section, const std::string& key, int32_t value) override {
        return Write(section, key, std::to_string(value), false);
    }
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override {
        return Write(section, key, value, false);
    }
    bool WriteBinary(const std::string& section, const std::string& key,
                     const std::vector<uint8_t>& value) override {
        return Write(section, key, std::string(value.begin(), value.end()), true);
    }

    // Every change is on disk at once; kept for callers that want to be sure.
    bool Sync() {
        std::lock_guard lock(mutex_);
        return !dirty_ || Save();
    }

    const std::filesystem::path& path() const { return path_; }

  private:
    // Reads the file again when another writer (another window, another run) changed it.
    void Refresh() const {
        struct stat info {};
        const bool exists = ::stat(path_.c_str(), &info) == 0;
        const auto stamp = exists
                               ? std::make_tuple(static_cast<int64_t>(info.st_ino),
                                                 static_cast<int64_t>(info.st_size),
                                                 static_cast<int64_t>(info.st_mtim.tv_sec),
                                                 static_cast<int64_t>(info.st_mtim.tv_nsec))
                               : std::make_tuple(int64_t{-1}, int64_t{0}, int64_t{0}, int64_t{0});
        if (loaded_ && stamp == stamp_)
            return;
        loaded_ = true;
        stamp_ = stamp;
        lines_.clear();
        std::ifstream in(path_, std::ios::binary);
        for (std::string line; std::getline(in, line);)
            lines_.push_back(line);
    }

    // Writes the lines to a new file that then takes the old one's place.
    bool Save() {
        std::error_code error;
        if (path_.has_parent_path())
            std::filesystem::create_directories(path_.parent_path(), error);
        const std::filesystem::path temporary = path_.string() + ".new";
        struct stat info {};
        const mode_t mode = ::stat(path_.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
        if (fd < 0)
            return false;
        std::string bytes;
        for (const std::string& line : lines_)
            bytes.append(line).append("\n");
        bool ok = true;
        for (std::string_view rest = bytes; ok && !rest.empty();) {
            const ssize_t done = ::write(fd, rest.data(), rest.size());
            ok = done > 0;
            rest.remove_prefix(ok ? static_cast<size_t>(done) : 0);
        }
        ok = ::close(fd) == 0 && ok;
        if (!ok || ::rename(temporary.c_str(), path_.c_str()) != 0) {
            ::unlink(temporary.c_str());
            dirty_ = true;
            return false;
        }
        dirty_ = false;
        loaded_ = false;  // the next read takes the new file's stamp
        return true;
    }

    // The section a line opens, or nothing for any other line; a header without its "]"
    // opens a section no key can name. Reading and writing must agree on it.
    static std::optional<std::string> SectionName(std::string_view line) {
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (!line.starts_with('['))
            return std::nullopt;
        const size_t close = line.find(']');
        if (close == std::string_view::npos)
            return std::string(1, '\0');  // decoded names never hold a NUL
        return DecodeKey(line.substr(1, close - 1));
    }

    // The line of the key's last entry in the section.
    std::optional<size_t> Locate(const std::string& section, const std::string& key) const {
        std::optional<size_t> found;
        bool inSection = false;
        for (size_t i = 0; i < lines_.size(); ++i) {
            std::string_view line(lines_[i]);
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
                line.remove_prefix(1);
            if (const auto name = SectionName(line)) {
                inSection = *name == section;
                continue;
            }
            if (!inSection || line.starts_with(';') || line.starts_with('#'))
                continue;
            const size_t equals = line.find('=');
            if (equals != std::string_view::npos && DecodeKey(line.substr(0, equals)) == key)
                found = i;
        }
        return found;
    }

    bool Write(const std::string& section, const std::string& key, const std::string& value,
               bool binary) {
        {
            bool wasBinary = false;
            const auto now = Find(section, key, wasBinary);
            if (now && *now == value && wasBinary == binary)
                return true;  // unchanged: the file keeps the user's text
        }
        std::lock_guard lock(mutex_);
        Refresh();
        const std::string encoded = EncodeValue(value, binary);
        if (const auto at = Locate(section, key)) {
            std::string& line = lines_[*at];
            line = line.substr(0, line.find('=') + 1) + encoded;
        } else {
            // After the section's last entry, or in a new section at the end.
            std::optional<size_t> end;
            bool inSection = false;
            for (size_t i = 0; i < lines_.size(); ++i) {
                const std::string& line = lines_[i];
                if (const auto name = SectionName(line)) {
                    inSection = *name == section;
                } else if (inSection && line.find('=') != std::string::npos) {
                    end = i + 1;
                } else if (inSection && !end) {
                    end = i;
                }
            }
            if (!end) {
                if (!lines_.empty() && !lines_.back().empty())
                    lines_.emplace_back();
                lines_.push_back('[' + EncodeKey(section) + ']');
                end = lines_.size();
            }
            lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*end),
                          EncodeKey(key) + '=' + encoded);
        }
        return Save();
    }

    const std::filesystem::path path_;
    const IniFile* const fallback_;  // read when a key is missing here
    mutable std::mutex mutex_;       // guards the fields below
    mutable std::vector<std::string> lines_;
    mutable bool loaded_ = false;
    mutable std::tuple<int64_t, int64_t, int64_t, int64_t> stamp_;  // inode, size, mtime
    bool dirty_ = false;  // a change the disk did not take
};

std::filesystem::path DefaultSettingsPath() {
    const std::filesystem::path base = XdgFolder("XDG_CONFIG_HOME", ".config");
    return base.empty() ? std::filesystem::path("Plovane.conf") : base / "Drennic" / "Plovane.conf";
}

// The state file of a settings file: "state.conf" for the user's settings, otherwise named
// after the settings file ("station-3f2a....conf").
std::filesystem::path StatePath(const std::filesystem::path& settings, bool userSettings) {
    std::filesystem::path folder = XdgFolder("XDG_STATE_HOME", ".local/state");
    folder = folder.empty() ? settings.parent_path() : folder / "plovane";
    if (userSettings)
        return folder / "state.conf";
    std::error_code error;
    const std::string absolute =
        std::filesystem::absolute(settings, error).lexically_normal().string();
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : absolute)
        hash = (hash ^ static_cast<uint8_t>(c)) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return folder / (settings.stem().string() + "-" + hex + ".conf");
}

}  // namespace

struct QSettingsProfile::Impl {
    Impl(const std::filesystem::path& settingsPath, bool userSettings)
        : settings(settingsPath, nullptr),
          state(StatePath(settingsPath, userSettings), &settings) {}
    IniFile settings;
    IniFile state;  // falls back on the settings, where older versions kept the state
};

QSettingsProfile::QSettingsProfile() : impl_(std::make_unique<Impl>(DefaultSettingsPath(), true)) {}

QSettingsProfile::QSettingsProfile(const std::string& iniPath)
    : impl_(std::make_unique<Impl>(iniPath, false)) {}

QSettingsProfile::~QSettingsProfile() {
    Sync();
}

int32_t QSettingsProfile::GetInt(const std::string& section, const std::string& key,
                                 int32_t defaultValue) const {
    return impl_->settings.GetInt(section, key, defaultValue);
}

std::string QSettingsProfile::GetString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) const {
    return impl_->settings.GetString(section, key, defaultValue);
}

bool QSettingsProfile::GetBinary(const std::string& section, const std::string& key,
                                 std::vector<uint8_t>& value) const {
    return impl_->settings.GetBinary(section, key, value);
}

bool QSettingsProfile::WriteInt(const std::string& section, const std::string& key, int32_t value) {
    return impl_->settings.WriteInt(section, key, value);
}

bool QSettingsProfile::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value) {
    return impl_->settings.WriteString(section, key, value);
}

bool QSettingsProfile::WriteBinary(const std::string& section, const std::string& key,
                                   const std::vector<uint8_t>& value) {
    return impl_->settings.WriteBinary(section, key, value);
}

Profile& QSettingsProfile::State() {
    return impl_->state;
}

bool QSettingsProfile::Sync() {
    const bool settings = impl_->settings.Sync();
    return impl_->state.Sync() && settings;
}

const std::filesystem::path& QSettingsProfile::statePath() const {
    return impl_->state.path();
}

}  // namespace plovane
