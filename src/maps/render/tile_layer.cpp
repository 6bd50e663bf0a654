// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the tile background.
#include "maps/render/tile_layer.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cmath>

#include "maps/web_mercator.h"

namespace plovane {
namespace {

// Larger pictures are refused before decoding: a tile is 256 or 512 pixels square.
constexpr int kMaxTilePixels = 1024;
// Lower zooms searched for a stand-in tile.
constexpr int kPlaceholderLevels = 8;
// Higher zooms whose tiles in memory are drawn over a stand-in.
constexpr int kFinerLevels = 2;

std::string TileName(const TileId& t) {
    return std::to_string(t.z) + "/" + std::to_string(t.x) + "/" + std::to_string(t.y);
}

}  // namespace

CTileLayer::CTileLayer(TileLayerSetup setup, const Clock& clock, NoticeSink notice)
    : setup_(std::move(setup)), clock_(clock), notice_(std::move(notice)) {
    if (setup_.local)
        setup_.maxZoom = std::min(setup_.maxZoom, setup_.local->MaxZoom());
    if (setup_.base)
        baseMaxZoom_ = setup_.base->MaxZoom();
    // From here on only the reader touches the stores.
    if (setup_.local || setup_.base)
        reader_ = std::thread([this] { RunReader(); });
}

CTileLayer::~CTileLayer() {
    if (!reader_.joinable())
        return;
    {
        std::lock_guard lock(readMutex_);
        readStop_ = true;
    }
    readWake_.notify_all();
    reader_.join();
}

void CTileLayer::SetTilesRead(std::function<void()> tilesRead) {
    std::lock_guard lock(readMutex_);
    tilesRead_ = std::move(tilesRead);
}

bool CTileLayer::Reading() const {
    std::lock_guard lock(readMutex_);
    return !readQueue_.empty() || reading_ > 0;
}

void CTileLayer::WaitRead() {
    std::unique_lock lock(readMutex_);
    readIdle_.wait(lock, [this] { return readStop_ || (readQueue_.empty() && reading_ == 0); });
}

void CTileLayer::Request(uint64_t key, const TileId& tile, bool base) {
    if (!asked_.insert(key).second)
        return;  // on its way
    {
        std::lock_guard lock(readMutex_);
        readQueue_.push_back({key, tile, base});
    }
    readWake_.notify_one();
}

void CTileLayer::RunReader() {
    std::unique_lock lock(readMutex_);
    while (true) {
        readWake_.wait(lock, [this] { return readStop_ || !readQueue_.empty(); });
        if (readStop_)
            break;
        const ReadJob job = readQueue_.front();
        readQueue_.pop_front();
        ++reading_;
        lock.unlock();
        ReadDone done{job.key, job.tile, TileRead::kMissing, {}, {}};
        std::string bytes;
        TileStore* store = job.base ? setup_.base.get() : setup_.local.get();
        if (store)
            done.read = store->Read(job.tile, bytes, done.error);
        if (done.read == TileRead::kFound)
            done.image = DecodeBytes(bytes);
        lock.lock();
        readDone_.push_back(std::move(done));
        // The last read of a batch tells the drawing; the layer counts as reading until that
        // call returns, so WaitRead never ends between the two.
        const bool last = readQueue_.empty() && reading_ == 1;
        const std::function<void()> tilesRead = last ? tilesRead_ : nullptr;
        if (tilesRead) {
            lock.unlock();
            tilesRead();
            lock.lock();
        }
        --reading_;
        if (readQueue_.empty() && reading_ == 0)
            readIdle_.notify_all();
    }
    readIdle_.notify_all();
}

void CTileLayer::TakeRead(bool dropQueued) {
    std::vector<ReadDone> done;
    {
        std::lock_guard lock(readMutex_);
        done.swap(readDone_);
        if (dropQueued) {
            for (const ReadJob& job : readQueue_)
                asked_.erase(job.key);
            readQueue_.clear();
        }
    }
    for (ReadDone& d : done) {
        asked_.erase(d.key);
        State state = State::kImage;
        if (d.read == TileRead::kMissing) {
            state = State::kMissing;
        } else if (d.read == TileRead::kError || d.image.isNull()) {
            state = State::kBlank;
            if (!noticed_ && notice_) {
                notice_(d.read == TileRead::kError
                            ? d.error
                            : "Map tile " + TileName(d.tile) + " cannot be read: not a picture.");
                noticed_ = true;
            }
        }
        Put(d.key, state, std::move(d.image));
    }
}

int64_t CTileLayer::NowUtc() const {
    return (clock_.UtcNow() - CDateTime(1970, 1, 1, 0, 0, 0)).TotalSeconds();
}

int CTileLayer::TileZoom(const MapProjection& projection) const {
    return TileZoomFor(projection.ux(), setup_.maxZoom);
}

QImage CTileLayer::DecodeBytes(const std::string& bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    QImage image;
    if (size.isValid() && size.width() <= kMaxTilePixels && size.height() <= kMaxTilePixels)
        image = reader.read();
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage CTileLayer::Decode(const std::string& bytes, const TileId& tile) {
    QImage image = DecodeBytes(bytes);
    if (image.isNull() && !noticed_ && notice_) {
        notice_("Map tile " + TileName(tile) + " cannot be read: not a picture.");
        noticed_ = true;
    }
    return image;
}

CTileLayer::Slot& CTileLayer::Put(uint64_t key, State state, QImage image,
                                  const TileValidators& validators) {
    auto it = memory_.find(key);
    if (it != memory_.end()) {
        use_.erase(it->second.use);
        memory_.erase(it);
    }
    while (memory_.size() >= kMemoryTiles && !use_.empty()) {
        memory_.erase(use_.back());
        use_.pop_back();
    }
    use_.push_front(key);
    Slot& slot = memory_[key];
    slot = Slot{state, std::move(image), validators, use_.begin()};
    return slot;
}

const CTileLayer::Slot* CTileLayer::Find(const TileId& tile,
                                         std::vector<TileFetcher::Wish>* wishes) {
    const uint64_t key = tile.Key();
    if (auto it = memory_.find(key); it != memory_.end()) {
        use_.splice(use_.begin(), use_, it->second.use);
        Slot& slot = it->second;
        if (online() && wishes &&
            (slot.state == State::kMissing || slot.validators.expiresUtc < NowUtc())) {
            wishes->push_back({tile, slot.validators});
        }
        return slot.state == State::kMissing ? nullptr : &slot;
    }
    if (setup_.local) {
        Request(key, tile, false);
        return nullptr;  // drawn once the reader has it
    }
    std::string bytes;
    if (!setup_.cache)
        return nullptr;
    TileValidators validators;
    if (!setup_.cache->Lookup(tile, bytes, validators, NowUtc())) {
        if (wishes)
            wishes->push_back({tile, {}});
        return nullptr;  // not remembered: the disk cache is asked again once it arrives
    }
    if (wishes && validators.expiresUtc < NowUtc())
        wishes->push_back({tile, validators});
    QImage image = Decode(bytes, tile);
    const State state = image.isNull() ? State::kBlank : State::kImage;
    return &Put(key, state, std::move(image), validators);
}

const CTileLayer::Slot* CTileLayer::FindBase(const TileId& tile) {
    const uint64_t key = tile.Key() | kBaseKey;
    if (auto it = memory_.find(key); it != memory_.end()) {
        use_.splice(use_.begin(), use_, it->second.use);
        return it->second.state == State::kImage ? &it->second : nullptr;
    }
    Request(key, tile, true);
    return nullptr;
}

void CTileLayer::DrawTile(QPainter& painter, const QRectF& target, const QImage& image) {
    // Within 2 % of the tile's own size a plain copy is a tenth of the cost of scaling,
    // and the fraction of a pixel it overlaps the next tile by does not show.
    if (std::abs(target.width() / image.width() - 1) < 0.02 &&
        std::abs(target.height() / image.height() - 1) < 0.02) {
        const QPoint at = target.topLeft().toPoint();
        painter.drawImage(at, image);
        // A target a pixel or two larger would leave a white seam before the next tile:
        // the tile's last column and row are stretched over it.
        const int w = image.width(), h = image.height();
        const int extraX = qRound(target.right()) - (at.x() + w);
        const int extraY = qRound(target.bottom()) - (at.y() + h);
        if (extraX > 0)
            painter.drawImage(QRect(at.x() + w, at.y(), extraX, h), image, QRect(w - 1, 0, 1, h));
        if (extraY > 0) {
            painter.drawImage(QRect(at.x(), at.y() + h, w + std::max(extraX, 0), extraY), image,
                              QRect(0, h - 1, w, 1));
        }
        return;
    }
    painter.drawImage(target, image);
}

void CTileLayer::Dim(QPainter& painter, const QRectF& target) const {
    if (!night_)
        return;
    // Multiplied rather than inverted: the tiles keep their own colours, only darker.
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.fillRect(target, QColor(84, 88, 104));
    painter.restore();
}

bool CTileLayer::DrawPlaceholder(QPainter& painter, const TileId& tile, const QRectF& target,
                                 bool withBase) {
    const auto drawPart = [&](const QImage& image, int levels) {
        const int n = 1 << levels;
        const double part = double(image.width()) / n;
        const QRectF source((tile.x & (n - 1)) * part, (tile.y & (n - 1)) * part, part, part);
        painter.drawImage(target, image, source);
        Dim(painter, target);
    };
    const bool searchStores = !online();  // online: only what is in memory, no disk reads
    for (int d = 1; d <= std::min(tile.z, kPlaceholderLevels); ++d) {
        const TileId up{tile.z - d, tile.x >> d, tile.y >> d};
        const Slot* slot = nullptr;
        if (auto it = memory_.find(up.Key()); it != memory_.end())
            slot = it->second.state == State::kImage ? &it->second : nullptr;
        else if (searchStores)
            slot = Find(up, nullptr);
        if (slot && slot->state == State::kImage) {
            drawPart(slot->image, d);
            return true;
        }
    }
    if (!setup_.base || !withBase)
        return false;
    const int baseZoom = std::min(tile.z, baseMaxZoom_);
    for (int z = baseZoom; z >= 0; --z) {
        const int d = tile.z - z;
        if (d > 20)
            break;
        if (const Slot* slot = FindBase({z, tile.x >> d, tile.y >> d})) {
            drawPart(slot->image, d);
            return true;
        }
    }
    return false;
}

void CTileLayer::DrawStandIns(QPainter& painter, const TileId& tile, const QRectF& target,
                              bool withBase) {
    DrawPlaceholder(painter, tile, target, withBase);
    // Over the coarse stand-in, the finer tiles still in memory from a closer view: zooming
    // out keeps what was on screen instead of a blank or coarser map.
    for (int d = 1; d <= kFinerLevels && tile.z + d <= kMaxTileZoom; ++d) {
        const int n = 1 << d;
        const double w = target.width() / n, h = target.height() / n;
        for (int j = 0; j < n; ++j) {
            for (int i = 0; i < n; ++i) {
                const TileId finer{tile.z + d, tile.x * n + i, tile.y * n + j};
                const auto it = memory_.find(finer.Key());
                if (it == memory_.end() || it->second.state != State::kImage)
                    continue;
                const QRectF part(target.left() + i * w, target.top() + j * h, w, h);
                painter.drawImage(part, it->second.image);
                Dim(painter, part);
            }
        }
    }
}

void CTileLayer::Draw(QPainter& painter, const MapProjection& projection) {
    TakeRead(true);
    const int z = TileZoom(projection);
    const MapBox& view = projection.viewUnits();
    const double ux = projection.ux();
    const double uy = projection.viewUy();
    // What the map area shows, which may reach past the view box by the truncated pixel.
    const MapBox shown{
        view.left, ClampToInt32(view.left + int64_t(projection.areaWidth()) * projection.ux()),
        view.top, ClampToInt32(view.top + int64_t(projection.areaHeight()) * projection.viewUy())};
    const TileRange range = TilesCovering(shown, z);
    const double span = TileSpanUnits(z);
    const auto edgeX = [&](int x) { return std::floor((x * span - view.left) / ux); };
    const auto edgeY = [&](int y) {
        return kHeaderStripHeight + std::floor((y * span + kMercatorTop - view.top) / uy);
    };

    painter.save();
    painter.setClipRect(0, kHeaderStripHeight, projection.areaWidth(), projection.areaHeight());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    std::vector<TileFetcher::Wish> wishes;
    // What each tile has (its picture shared, not copied: a later find may drop the slot).
    std::vector<std::pair<State, QImage>> have;
    for (int y = range.y0; y <= range.y1; ++y) {
        for (int x = range.x0; x <= range.x1; ++x) {
            const Slot* got = Find({z, x, y}, online() ? &wishes : nullptr);
            have.emplace_back(got ? got->state : State::kMissing, got ? got->image : QImage());
        }
    }
    // Where a tile is missing, the land vectors rather than the base layer scaled up (or, at
    // night, at all): one drawing for the whole area, so no tile edge shows in it.
    const bool vectors = setup_.land && (night_ || !setup_.base || z > baseMaxZoom_);
    if (vectors && std::any_of(have.begin(), have.end(),
                               [](const auto& s) { return s.first == State::kMissing; }))
        setup_.land->Draw(painter, projection, night_ ? kNightLand : kDayLand);
    auto slot = have.begin();
    for (int y = range.y0; y <= range.y1; ++y) {
        for (int x = range.x0; x <= range.x1; ++x, ++slot) {
            const TileId tile{z, x, y};
            const QRectF target(QPointF(edgeX(x), edgeY(y)), QPointF(edgeX(x + 1), edgeY(y + 1)));
            if (slot->first == State::kImage) {
                DrawTile(painter, target, slot->second);
                Dim(painter, target);
            } else if (slot->first == State::kMissing) {
                DrawStandIns(painter, tile, target, !vectors);
            }
            // A blank tile stays white.
        }
    }
    painter.restore();

    if (!setup_.fetcher)
        return;
    // Centre tiles first: the fetcher takes the wishes in order.
    const double cx = (range.x0 + range.x1) / 2.0, cy = (range.y0 + range.y1) / 2.0;
    std::stable_sort(wishes.begin(), wishes.end(), [&](const auto& a, const auto& b) {
        return std::hypot(a.tile.x - cx, a.tile.y - cy) < std::hypot(b.tile.x - cx, b.tile.y - cy);
    });
    // Then the ring around the view, for panning; only what is not on disk already.
    const TileRange ring = TilesCovering(shown, z, 1);
    for (int y = ring.y0; y <= ring.y1; ++y) {
        for (int x = ring.x0; x <= ring.x1; ++x) {
            const TileId tile{z, x, y};
            if (range.Contains(tile) || memory_.count(tile.Key()) ||
                (setup_.cache && setup_.cache->Contains(tile)))
                continue;
            wishes.push_back({tile, {}});
        }
    }
    setup_.fetcher->Want(wishes);
}

void CTileLayer::DrawAttribution(QPainter& painter, int clientWidth, int clientHeight) const {
    if (setup_.attribution.empty())
        return;
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    const QString text = QString::fromStdString(setup_.attribution);
    const QFontMetrics metrics(font);
    const int w = metrics.horizontalAdvance(text) + 8;
    const int h = metrics.height() + 2;
    const QRect box(clientWidth - w, clientHeight - h, w, h);
    painter.fillRect(box, QColor(255, 255, 255, 200));
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.restore();
}

bool CTileLayer::Deliver(const TileId& tile, const std::string& bytes,
                         const TileValidators& validators) {
    // Only a picture is kept: anything else would stand for the tile until it expired.
    QImage image = Decode(bytes, tile);
    if (image.isNull())
        return false;
    if (setup_.cache)
        setup_.cache->Store(tile, bytes, validators, NowUtc());
    Put(tile.Key(), State::kImage, std::move(image), validators);
    unavailableSaid_ = false;
    return true;
}

void CTileLayer::Unavailable(const std::string& reason) {
    if (unavailableSaid_ || !notice_)
        return;
    unavailableSaid_ = true;
    notice_("Map tiles unavailable: " + reason + ", showing " +
            (setup_.base ? "the base layer" : "the tiles cached before") + ".");
}

void CTileLayer::Confirm(const TileId& tile, const TileValidators& validators) {
    if (setup_.cache)
        setup_.cache->Revalidate(tile, validators, NowUtc());
    if (auto it = memory_.find(tile.Key()); it != memory_.end())
        it->second.validators = validators;
}

}  // namespace plovane
