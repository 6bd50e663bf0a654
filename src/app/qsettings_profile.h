// The settings store of the GUI and the headless station: QSettings under the organisation
// "Drennic" and the application "Plovane" (~/.config/Drennic/Plovane.conf), or an INI file
// named on the command line so tests never touch the user's settings.
#pragma once

#include <memory>
#include <string>

#include "core/profile.h"

class QSettings;

namespace plovane {

// Thread-safe: QSettings is reentrant; one object here is shared under a mutex.
class QSettingsProfile final : public Profile {
public:
    // The user's settings.
    QSettingsProfile();
    // An INI file instead (created when missing).
    explicit QSettingsProfile(const std::string& iniPath);
    ~QSettingsProfile() override;

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
    // Writes pending changes to disk.
    void Sync();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace plovane
