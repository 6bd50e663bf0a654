// SPDX-License-Identifier: GPL-3.0-or-later
// The application's history database: opened and brought up to date from the station log
// off the user-interface thread at start, then filled with every line the intake applies.
#include <cmath>
#include <system_error>

#include "app/history_rebuild.h"
#include "app/plovane_app.h"

namespace plovane {

void CPlovaneApp::StartHistory(const std::filesystem::path& path) {
    historySettings_.Load(profile_);
    historyPath_ = path.empty() ? DefaultHistoryPath() : path;
    if (!historySettings_.bHistory || historyPath_.empty())
        return;
    const auto notice = [this](const std::string& text) { host_.ShowNotice(text); };
    historyStore_ = std::make_unique<HistoryStore>();
    historyWriter_ = std::make_unique<HistoryWriter>(
        *historyStore_, HistoryLimits{logSettings_.LogRetentionDays, historySettings_.maxBytes()},
        notice);
    const std::string myCall = stations_.OwnCall();
    const std::filesystem::path logFolder = logFolder_;
    // A damaged file the writer set aside is made again from the whole log.
    historyWriter_->SetRefill([logFolder, myCall](HistoryStore& store) {
        HistoryFill fill;
        RebuildHistory(store, logFolder, myCall, fill);
    });
    // Lines heard from now on queue for the writer while the log fills in what came before.
    constexpr double kUnixEpochDays = 25569.0;  // OLE date of 1 January 1970
    const int64_t startUtc = std::llround((clock_.UtcNow().value() - kUnixEpochDays) * 86400.0);
    activeHistory_ = historyWriter_.get();
    const auto bringUp = [this, notice, logFolder, myCall, startUtc](std::stop_token stop) {
        HistoryStore& store = *historyStore_;
        const HistoryStore::OpenState state = store.Open(historyPath_, notice);
        HistoryFill fill;
        if (state == HistoryStore::OpenState::kFailed || logFolder.empty() ||
            !BringHistoryUpToDate(store, state, logFolder, myCall, fill, startUtc, stop)) {
            if (!store.IsOpen()) {
                activeHistory_ = nullptr;  // no database: the log alone keeps what is heard
                return;
            }
        }
        // Stopped short, the database must not seem filled any further: the writer would
        // mark the lines of this run, and the next start goes on from the log instead.
        if (stop.stop_requested()) {
            activeHistory_ = nullptr;
            return;
        }
        historyWriter_->Start();
    };
    try {
        historyThread_ = std::jthread(bringUp);
    } catch (const std::system_error&) {
        bringUp({});
    }
}

void CPlovaneApp::WaitForHistory() {
    if (historyThread_.joinable())
        historyThread_.join();
}

void CPlovaneApp::StopHistory() {
    historyThread_.request_stop();  // filling from the log ends at its next second
    WaitForHistory();
    activeHistory_ = nullptr;
    if (historyWriter_)
        historyWriter_->Stop();
    historyWriter_.reset();
    historyStore_.reset();
}

}  // namespace plovane
