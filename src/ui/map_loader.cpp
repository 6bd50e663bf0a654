// SPDX-License-Identifier: GPL-3.0-or-later
// The map reading thread.
#include "ui/map_loader.h"

#include <memory>
#include <utility>

#include "ui/host_render_report.h"

namespace plovane {

MapLoader::MapLoader(AppHost& host, QObject* parent)
    : QObject(parent), host_(host), worker_([this] { Run(); }) {}

MapLoader::~MapLoader() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        next_.reset();
    }
    wake_.notify_one();
    worker_.join();
}

void MapLoader::Load(const std::string& path, Done done) {
    done_ = std::move(done);
    busy_ = true;
    {
        std::lock_guard lock(mutex_);
        next_ = Request{++latest_, path};
    }
    wake_.notify_one();
}

void MapLoader::Run() {
    HostRenderReport progress(host_);
    for (;;) {
        Request request;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || next_.has_value(); });
            if (stop_)
                return;
            request = std::move(*next_);
            next_.reset();
        }
        // Shared, as a queued call copies what it carries.
        auto read =
            std::make_shared<CPlovaneDoc::FileRead>(CPlovaneDoc::Read(request.path, progress));
        QMetaObject::invokeMethod(
            this, [this, id = request.id, read] { Deliver(id, std::move(*read)); },
            Qt::QueuedConnection);
    }
}

void MapLoader::Deliver(uint64_t id, CPlovaneDoc::FileRead read) {
    if (id != latest_)
        return;  // a newer request is being read
    busy_ = false;
    const Done done = std::move(done_);
    done_ = nullptr;
    if (done)
        done(std::move(read));
}

}  // namespace plovane
