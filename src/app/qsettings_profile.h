// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store of the GUI and the headless station: an INI file in the layout QSettings
// uses for the organisation "Drennic" and the application "Plovane"
// (~/.config/Drennic/Plovane.conf), or a file named on the command line so tests never touch
// the user's settings. The file is read and written as bytes: a value comes back as the text
// written after its "=" (commas included), and only a changed setting rewrites the file,
// leaving every other line as it was. What the program notes while running goes to a state
// file of its own under $XDG_STATE_HOME/plovane.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "core/profile.h"

namespace plovane {

// Thread-safe: each file's lines are guarded by a mutex.
class QSettingsProfile final : public Profile {
  public:
    // The user's settings; their state in $XDG_STATE_HOME/plovane/state.conf.
    QSettingsProfile();
    // An INI file instead (created when a setting is written); its state in a file of its own
    // named after the settings file's absolute path, so that two settings files never share one.
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
    Profile& State() override;
    // Writes changed settings to disk; false when the file could not be written.
    bool Sync();

    const std::filesystem::path& statePath() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace plovane
