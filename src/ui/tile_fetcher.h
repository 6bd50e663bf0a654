// SPDX-License-Identifier: GPL-3.0-or-later
// Fetches map tiles over HTTP for the tile layer, within the tile servers' usage rules: a
// User-Agent naming the program and its version, at most two requests (so two connections)
// at a time, only the tiles the view asks for, conditional requests (If-None-Match,
// If-Modified-Since) for stale cached tiles. A failed tile (404, no network, a time-out) is
// not asked for again for a while. Being offline is an ordinary state, said once on the
// status line. Only a complete picture is taken as a tile: a login page, a cut-short body or
// an endless one is not, and a redirect loop ends after a few hops.
#pragma once

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QObject>
#include <deque>
#include <string>
#include <unordered_map>

#include "core/clock.h"
#include "maps/render/tile_layer.h"

class QNetworkReply;

namespace plovane {

// Thread-affine: the user-interface thread.
class CTileFetcher : public QObject, public TileFetcher {
    Q_OBJECT
  public:
    static constexpr int kMaxConnections = 2;
    // A request that has received nothing for this long is given up.
    static constexpr int kTransferTimeoutMs = 15000;
    // A failed tile is asked for again after this long.
    static constexpr int64_t kRetryAfterMs = 5 * 60 * 1000;
    static constexpr int kMaxRedirects = 3;
    static constexpr qint64 kReadChunkBytes = 64 * 1024;

    CTileFetcher(std::string urlTemplate, const Clock& clock, QObject* parent = nullptr);
    ~CTileFetcher() override;

    // Where the answers go; null stops delivering (the layer is being replaced).
    void SetLayer(CTileLayer* layer) { layer_ = layer; }
    void Want(const std::vector<Wish>& wishes) override;
    bool Busy() const override { return !queue_.empty() || !inFlight_.empty(); }

    static QByteArray UserAgent();
    // A 200 answer's body is a tile: a picture type, within the size limit, as long as
    // announced.
    static bool IsTileBody(const QByteArray& contentType, const QByteArray& contentLength,
                           qsizetype received);

  signals:
    // One or more tiles arrived (or were confirmed): the map should be drawn again.
    void tilesArrived();

  private:
    void Pump();
    void Finished(QNetworkReply* reply, const Wish& wish);
    // The network is out of reach (rather than the server saying no).
    static bool IsOffline(int error);
    struct InFlight {
        QNetworkReply* reply = nullptr;
        QByteArray body;  // what has arrived so far
        bool oversized = false;
    };
    int64_t NowUtc() const;

    std::string urlTemplate_;
    const Clock& clock_;
    CTileLayer* layer_ = nullptr;
    QNetworkAccessManager network_;
    std::deque<Wish> queue_;
    std::unordered_map<uint64_t, InFlight> inFlight_;
    bool offline_ = false;  // said once until a server answers again
    std::unordered_map<uint64_t, int64_t> failedAtMs_;
    QElapsedTimer elapsed_;
};

}  // namespace plovane
