// SPDX-License-Identifier: GPL-3.0-or-later
// Settings storage: integer, string and binary values per section, read with a default.
// The GUI and the headless station keep them in an INI file through QSettings; tests use
// the in-memory profile below.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace plovane {

// Thread-safe: implementations guard their storage.
class Profile {
public:
    virtual ~Profile() = default;
    virtual int32_t GetInt(const std::string& section, const std::string& key,
                           int32_t defaultValue) const = 0;
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const = 0;
    // Empty result and false when the value is missing.
    virtual bool GetBinary(const std::string& section, const std::string& key,
                           std::vector<uint8_t>& value) const = 0;
    virtual bool WriteInt(const std::string& section, const std::string& key, int32_t value) = 0;
    virtual bool WriteString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    virtual bool WriteBinary(const std::string& section, const std::string& key,
                             const std::vector<uint8_t>& value) = 0;
    // Where the program keeps what it notes while running (when it stopped, what the user
    // had seen), apart from the settings the user chose; the profile itself when it has no
    // such store.
    virtual Profile& State() { return *this; }
};

// Keeps values in memory. A value stored as one kind and read as another converts the way
// an INI file would: integers read back from their decimal text, and text that is not a
// whole number reads as the default.
class MemoryProfile final : public Profile {
public:
    int32_t GetInt(const std::string& section, const std::string& key,
                   int32_t defaultValue) const override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const override;
    bool GetBinary(const std::string& section, const std::string& key,
                   std::vector<uint8_t>& value) const override;
    bool WriteInt(const std::string& section, const std::string& key, int32_t value) override;
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool WriteBinary(const std::string& section, const std::string& key,
                     const std::vector<uint8_t>& value) override;

    bool Contains(const std::string& section, const std::string& key) const;

private:
    std::optional<std::string> Find(const std::string& section, const std::string& key) const;

    mutable std::mutex mutex_;
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

// Parses a whole decimal integer that fits 32 bits (an optional sign, then digits).
std::optional<int32_t> ParseInt32(const std::string& text);

}  // namespace plovane
