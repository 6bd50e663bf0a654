// SPDX-License-Identifier: GPL-3.0-or-later
// HTTP tile fetching.
#include "ui/tile_fetcher.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include "core/version.h"
#include "maps/tile_disk_cache.h"
#include "maps/tile_source.h"

namespace plovane {
namespace {

// One byte more than a tile may have: reading that far shows the body is too large.
constexpr qint64 kBodyLimit = static_cast<qint64>(kMaxTileBytes) + 1;

}  // namespace

CTileFetcher::CTileFetcher(std::string urlTemplate, const Clock& clock, QObject* parent)
    : QObject(parent), urlTemplate_(std::move(urlTemplate)), clock_(clock) {
    elapsed_.start();
    // Tiles are cached by the tile layer's disk cache, under its own rules.
    network_.setCache(nullptr);
}

CTileFetcher::~CTileFetcher() {
    layer_ = nullptr;
    for (auto& [key, flight] : inFlight_) {
        QNetworkReply* reply = flight.reply;
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
        // A redirect loop ends after a few hops instead of running up the server's count.
        request.setMaximumRedirectsAllowed(kMaxRedirects);
        QNetworkReply* reply = network_.get(request);
        // The body is taken as it arrives and cut off past the size of any real tile, so an
        // endless answer costs no more than that.
        reply->setReadBufferSize(kReadChunkBytes);
        InFlight& flight = inFlight_[wish.tile.Key()];
        flight.reply = reply;
        const uint64_t key = wish.tile.Key();
        connect(reply, &QNetworkReply::readyRead, this, [this, reply, key] {
            const auto it = inFlight_.find(key);
            if (it == inFlight_.end() || it->second.reply != reply)
                return;
            it->second.body += reply->read(kBodyLimit - it->second.body.size());
            if (it->second.body.size() >= kBodyLimit) {
                it->second.oversized = true;
                reply->abort();
            }
        });
        connect(reply, &QNetworkReply::finished, this,
                [this, reply, wish] { Finished(reply, wish); });
    }
}

bool CTileFetcher::IsOffline(int error) {
    switch (static_cast<QNetworkReply::NetworkError>(error)) {
        case QNetworkReply::ConnectionRefusedError:
        case QNetworkReply::HostNotFoundError:
        case QNetworkReply::TimeoutError:
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::NetworkSessionFailedError:
        case QNetworkReply::UnknownNetworkError:
        case QNetworkReply::ProxyConnectionRefusedError:
        case QNetworkReply::ProxyNotFoundError:
            return true;
        default:
            return false;
    }
}

bool CTileFetcher::IsTileBody(const QByteArray& contentType, const QByteArray& contentLength,
                              qsizetype received) {
    // A captive portal's login page comes with 200 too: only a picture is a tile.
    if (!contentType.trimmed().toLower().startsWith("image/"))
        return false;
    if (received <= 0 || received > static_cast<qsizetype>(kMaxTileBytes))
        return false;
    // A body cut short of what the server announced is a broken tile.
    if (!contentLength.isEmpty()) {
        bool ok = false;
        const qlonglong announced = contentLength.trimmed().toLongLong(&ok);
        if (!ok || announced != received)
            return false;
    }
    return true;
}

void CTileFetcher::Finished(QNetworkReply* reply, const Wish& wish) {
    reply->deleteLater();
    QByteArray body;
    bool oversized = false;
    if (const auto it = inFlight_.find(wish.tile.Key()); it != inFlight_.end()) {
        body = std::move(it->second.body);
        oversized = it->second.oversized;
        inFlight_.erase(it);
    }
    if (!oversized)
        body += reply->read(kBodyLimit - body.size());
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const auto header = [reply](const char* name) { return reply->rawHeader(name).toStdString(); };
    TileValidators validators;
    validators.etag = header("ETag");
    validators.lastModified = header("Last-Modified");
    validators.expiresUtc = TileExpiry(NowUtc(), header("Cache-Control"), header("Expires"));
    bool arrived = false;
    if (reply->error() == QNetworkReply::NoError && status == 200 && !oversized) {
        if (IsTileBody(reply->rawHeader("Content-Type"), reply->rawHeader("Content-Length"),
                       body.size()) &&
            layer_) {
            arrived = layer_->Deliver(wish.tile, body.toStdString(), validators);
        }
    } else if (status == 304 && layer_) {
        if (validators.etag.empty())
            validators.etag = wish.validators.etag;
        if (validators.lastModified.empty())
            validators.lastModified = wish.validators.lastModified;
        layer_->Confirm(wish.tile, validators);
        arrived = true;
    }
    if (status > 0 || arrived) {
        offline_ = false;  // the server answered
    } else if (IsOffline(reply->error()) && !offline_) {
        offline_ = true;
        if (layer_)
            layer_->Unavailable("offline");
    }
    if (!arrived)
        failedAtMs_[wish.tile.Key()] = elapsed_.elapsed();
    Pump();
    if (arrived)
        emit tilesArrived();
}

}  // namespace plovane
