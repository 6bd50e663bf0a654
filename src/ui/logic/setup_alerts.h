// SPDX-License-Identifier: GPL-3.0-or-later
// The alerts dialog without its widgets: three rows (new message, new acknowledgement, new
// station), each a switch and a WAV file, with the texts of its file chooser and its clear
// question.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace plovane {

inline constexpr char kNoSoundFile[] = "None";

struct AlertRowTexts {
    const char* label;
    const char* chooserTitle;
    const char* clearQuestion;
};

inline constexpr std::array<AlertRowTexts, 3> kAlertRows = {{
    {"&New Message:", "Select new message sound file...",
     "Do you wish clear the sound for new messages?"},
    {"New &Ack:", "Select new ACK sound file...", "Do you wish clear the sound for new ACKs?"},
    {"New &Station:", "Select new station sound file...",
     "Do you wish clear the sound for new stations?"},
}};

struct AlertRow {
    bool enabled = false;
    std::string file = kNoSoundFile;

    // A row that is off has its name and its clear button disabled.
    bool nameEnabled() const { return enabled; }
    // The part of the path after its last "/" (or "\" of a path written elsewhere), or
    // "None" for an empty path.
    std::string shownName() const;

    // A file was chosen: it is kept with its full path and the row is switched on.
    void Choose(std::string path);
    // The clear question was answered Yes.
    void Clear();
};

// The name shown for a stored path (see AlertRow::shownName).
std::string SoundFileName(std::string_view path);

}  // namespace plovane
