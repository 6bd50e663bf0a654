// SPDX-License-Identifier: GPL-3.0-or-later
// A host that shows nothing and answers every message box with its first button: for
// command-line tools, benchmarks and fuzz targets. Derive from it to catch the calls you need.
#pragma once

#include "core/app_host.h"

namespace plovane {

class NullHost : public AppHost {
public:
    void Post(ThreadMessage, std::string) override {}
    void ShowNotice(std::string_view) override {}
    MessageBoxResult MessageBox(std::string_view, MessageBoxIcon, MessageBoxButtons buttons,
                                std::string_view) override {
        return buttons == MessageBoxButtons::kYesNo || buttons == MessageBoxButtons::kYesNoCancel
                   ? MessageBoxResult::kYes
                   : MessageBoxResult::kOk;
    }
    void StationChanged(const std::string&) override {}
    void MessageChanged(uint64_t) override {}
    void ShowProgress(std::string_view) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
    void PlaySound(const std::string&) override {}
};

}  // namespace plovane
