// SPDX-License-Identifier: GPL-3.0-or-later
// Map reads' and drawings' reports shown through the host: notices on the status line, the
// progress indicator, and a failed drawing check as a message box.
#pragma once

#include <string_view>

#include "core/app_host.h"
#include "maps/render/map_renderer.h"

namespace plovane {

// Thread-compatible: the user-interface thread, as the host's own calls.
class HostRenderReport final : public RenderReport {
  public:
    explicit HostRenderReport(AppHost& host) : host_(host) {}

    void Notice(std::string_view text) override { host_.ShowNotice(text); }
    void Begin(std::string_view title) override { host_.ShowProgress(title); }
    void Step(int percent) override { host_.SetProgress(percent); }
    void End() override { host_.HideProgress(); }
    void CheckFailed(std::string_view text) override {
        host_.MessageBox(text, MessageBoxIcon::kExclamation);
    }

  private:
    AppHost& host_;
};

}  // namespace plovane
