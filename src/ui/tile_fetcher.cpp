// HTTP tile fetching.
#include "ui/tile_fetcher.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include "core/version.h"
#include "maps/tile_disk_cache.h"
#include "maps/tile_source.h"

namespace plovane {

CTileFetcher::CTileFetcher(std::string urlTemplate, const Clock& clock, QObject* parent)
    : QObject(parent), urlTemplate_(std::move(urlTemplate)), clock_(clock) {
    elapsed_.start();
    // Tiles are cached by the tile layer's disk cache, under its own rules.
    network_.setCache(nullptr);
}

CTileFetcher::~CTileFetcher() {
    layer_ = nullptr;
    for (auto& [key, reply] : inFlight_) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

QByteArray CTileFetcher::UserAgent() {
    return QByteArray(kProgramName) + "/" + kVersionText + " (APRS station map)";
}

int64_t CTileFetcher::NowUtc() const {
    return (clock_.UtcNow() - CDateTime(1970, 1, 1, 0, 0, 0)).TotalSeconds();
}

void CTileFetcher::Want(const std::vector<Wish>& wishes) {
    // Only what the view wants now: tiles of an earlier view that never started are dropped.
    queue_.clear();
    const int64_t now = elapsed_.elapsed();
    for (const Wish& wish : wishes) {
        const uint64_t key = wish.tile.Key();
        if (inFlight_.count(key))
            continue;
        if (auto failed = failedAtMs_.find(key); failed != failedAtMs_.end()) {
            if (now - failed->second < kRetryAfterMs)
                continue;
            failedAtMs_.erase(failed);
        }
        bool queued = false;
        for (const Wish& q : queue_)
            queued = queued || q.tile == wish.tile;
        if (!queued)
            queue_.push_back(wish);
    }
    Pump();
}

void CTileFetcher::Pump() {
    while (static_cast<int>(inFlight_.size()) < kMaxConnections && !queue_.empty()) {
        const Wish wish = queue_.front();
        queue_.pop_front();
        QNetworkRequest request(
            QUrl(QString::fromStdString(ExpandTileUrl(urlTemplate_, wish.tile))));
        request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
        request.setTransferTimeout(kTransferTimeoutMs);
        request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
        if (!wish.validators.etag.empty())
            request.setRawHeader("If-None-Match", QByteArray::fromStdString(wish.validators.etag));
        if (!wish.validators.lastModified.empty()) {
            request.setRawHeader("If-Modified-Since",
                                 QByteArray::fromStdString(wish.validators.lastModified));
        }
        QNetworkReply* reply = network_.get(request);
        inFlight_[wish.tile.Key()] = reply;
        // A tile larger than any real one is cut off rather than held in memory.
        connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
            if (received > static_cast<qint64>(kMaxTileBytes))
                reply->abort();
        });
        connect(reply, &QNetworkReply::finished, this,
                [this, reply, wish] { Finished(reply, wish); });
    }
}

void CTileFetcher::Finished(QNetworkReply* reply, const Wish& wish) {
    reply->deleteLater();
    inFlight_.erase(wish.tile.Key());
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const auto header = [reply](const char* name) { return reply->rawHeader(name).toStdString(); };
    TileValidators validators;
    validators.etag = header("ETag");
    validators.lastModified = header("Last-Modified");
    validators.expiresUtc = TileExpiry(NowUtc(), header("Cache-Control"), header("Expires"));
    bool arrived = false;
    if (reply->error() == QNetworkReply::NoError && status == 200) {
        const QByteArray body = reply->readAll();
        if (!body.isEmpty() && body.size() <= static_cast<qsizetype>(kMaxTileBytes) && layer_) {
            layer_->Deliver(wish.tile, body.toStdString(), validators);
            arrived = true;
        }
    } else if (status == 304 && layer_) {
        if (validators.etag.empty())
            validators.etag = wish.validators.etag;
        if (validators.lastModified.empty())
            validators.lastModified = wish.validators.lastModified;
        layer_->Confirm(wish.tile, validators);
        arrived = true;
    }
    if (!arrived)
        failedAtMs_[wish.tile.Key()] = elapsed_.elapsed();
    Pump();
    if (arrived)
        emit tilesArrived();
}

}  // namespace plovane
