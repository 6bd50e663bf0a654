// SPDX-License-Identifier: GPL-3.0-or-later
// Reads map files on a thread of its own, so that the window keeps panning, zooming and
// drawing the feed while a large map loads; the read map is handed back on the GUI thread,
// where the document takes it. A newer request makes an older one's map unwanted: only the
// latest is handed back.
#pragma once

#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/app_host.h"
#include "ui/logic/plovane_doc.h"

namespace plovane {

// Thread-affine: created and called on the GUI thread; the reads run on its worker, which
// reports progress through the (thread-safe) host.
class MapLoader final : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(CPlovaneDoc::FileRead read)>;

    explicit MapLoader(AppHost& host, QObject* parent = nullptr);
    // Waits for a read in progress to end.
    ~MapLoader() override;

    // Starts reading `path`; `done` runs on this thread with what was read, unless another
    // Load came first.
    void Load(const std::string& path, Done done);
    // A read is running or waiting.
    bool Busy() const { return busy_; }

  private:
    struct Request {
        uint64_t id = 0;
        std::string path;
    };
    void Run();
    void Deliver(uint64_t id, CPlovaneDoc::FileRead read);

    AppHost& host_;
    uint64_t latest_ = 0;  // GUI thread only
    bool busy_ = false;    // GUI thread only
    Done done_;            // GUI thread only
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Request> next_;  // guarded by mutex_
    bool stop_ = false;            // guarded by mutex_
    std::thread worker_;           // last: starts once the rest is made
};

}  // namespace plovane
