// SPDX-License-Identifier: GPL-3.0-or-later
// The communications setup pages without their widgets.
#include "ui/logic/setup_comm.h"

namespace plovane {

std::vector<std::string> TncTypeTexts(const std::vector<TncTypeChoice>& files) {
    std::vector<std::string> texts{kNoTncTypeText};
    for (const TncTypeChoice& file : files) {
        texts.push_back(file.name);
    }
    return texts;
}

int TncTypeIndexOf(const std::vector<TncTypeChoice>& files, const std::string& path) {
    if (path.empty())
        return 0;
    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i].path == path)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

std::string TncTypePathAt(const std::vector<TncTypeChoice>& files, int index) {
    if (index < 1 || index > static_cast<int>(files.size()))
        return {};
    return files[static_cast<size_t>(index - 1)].path;
}

int TncTypeIndexAfterRefresh(const std::vector<TncTypeChoice>& old, int index,
                             const std::vector<TncTypeChoice>& fresh) {
    return TncTypeIndexOf(fresh, TncTypePathAt(old, index));
}

int32_t KissParameterFromText(const std::string& text) {
    const size_t begin = text.find_first_not_of(' ');
    const size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos || end - begin >= 3)
        return -1;
    int32_t value = 0;
    for (size_t i = begin; i <= end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value <= 255 ? value : -1;
}

std::string KissParameterText(int32_t value) {
    return value >= 0 && value <= 255 ? std::to_string(value) : std::string();
}

namespace {

// The gates every page shares.
bool CommonGate(bool on, FieldGate gate) {
    return gate == FieldGate::kAlways || (on && gate == FieldGate::kOn);
}

}  // namespace

bool TncFieldEnabled(const CTncSettings& shown, FieldGate gate) {
    const bool on = shown.enabled;
    switch (gate) {
        case FieldGate::kSerial:
            return on && shown.mode != kTncKissTcp;
        case FieldGate::kTcp:
            return on && shown.mode == kTncKissTcp;
        case FieldGate::kKiss:
            return on && shown.mode != kTncText;
        default:
            return CommonGate(on, gate);
    }
}

bool GpsFieldEnabled(const CGpsSettings& shown, FieldGate gate) {
    const bool on = shown.enabled;
    switch (gate) {
        case FieldGate::kSerial:
            return on && shown.source == kGpsSerialPort;
        case FieldGate::kGpsd:
            return on && shown.source == kGpsGpsd;
        default:
            return CommonGate(on, gate);
    }
}

bool NetFieldEnabled(const CNetSettings& shown, FieldGate gate) {
    return CommonGate(shown.enabled, gate);
}

}  // namespace plovane
