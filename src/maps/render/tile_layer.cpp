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

std::string TileName(const TileId& t) {
    return std::to_string(t.z) + "/" + std::to_string(t.x) + "/" + std::to_string(t.y);
}

}  // namespace

CTileLayer::CTileLayer(TileLayerSetup setup, const Clock& clock, NoticeSink notice)
    : setup_(std::move(setup)), clock_(clock), notice_(std::move(notice)) {
    if (setup_.local)
        setup_.maxZoom = std::min(setup_.maxZoom, setup_.local->MaxZoom());
}

int64_t CTileLayer::NowUtc() const {
    return (clock_.UtcNow() - CDateTime(1970, 1, 1, 0, 0, 0)).TotalSeconds();
}

int CTileLayer::TileZoom(const MapProjection& projection) const {
    return TileZoomFor(projection.ux(), setup_.maxZoom);
}

QImage CTileLayer::Decode(const std::string& bytes, const TileId& tile) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    QImage image;
    if (size.isValid() && size.width() <= kMaxTilePixels && size.height() <= kMaxTilePixels)
        image = reader.read();
    if (image.isNull()) {
        if (!noticed_ && notice_) {
            notice_("Map tile " + TileName(tile) + " cannot be read: not a picture.");
            noticed_ = true;
        }
        return {};
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
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
    std::string bytes, error;
    if (setup_.local) {
        const TileRead read = setup_.local->Read(tile, bytes, error);
        if (read == TileRead::kError) {
            if (!noticed_ && notice_) {
                notice_(error);
                noticed_ = true;
            }
            return &Put(key, State::kBlank, {});
        }
        if (read == TileRead::kMissing)
            return Put(key, State::kMissing, {}), nullptr;
        QImage image = Decode(bytes, tile);
        const State state = image.isNull() ? State::kBlank : State::kImage;
        return &Put(key, state, std::move(image));
    }
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
    std::string bytes, error;
    if (setup_.base->Read(tile, bytes, error) != TileRead::kFound)
        return Put(key, State::kMissing, {}), nullptr;
    QImage image = Decode(bytes, tile);
    const bool ok = !image.isNull();
    const State state = ok ? State::kImage : State::kBlank;
    Slot& slot = Put(key, state, std::move(image));
    return ok ? &slot : nullptr;
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

bool CTileLayer::DrawPlaceholder(QPainter& painter, const TileId& tile, const QRectF& target) {
    const auto drawPart = [&](const QImage& image, int levels) {
        const int n = 1 << levels;
        const double part = double(image.width()) / n;
        const QRectF source((tile.x & (n - 1)) * part, (tile.y & (n - 1)) * part, part, part);
        painter.drawImage(target, image, source);
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
    if (!setup_.base)
        return false;
    const int baseZoom = std::min(tile.z, setup_.base->MaxZoom());
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

void CTileLayer::Draw(QPainter& painter, const MapProjection& projection) {
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
    for (int y = range.y0; y <= range.y1; ++y) {
        for (int x = range.x0; x <= range.x1; ++x) {
            const TileId tile{z, x, y};
            const QRectF target(QPointF(edgeX(x), edgeY(y)), QPointF(edgeX(x + 1), edgeY(y + 1)));
            const Slot* slot = Find(tile, online() ? &wishes : nullptr);
            if (slot && slot->state == State::kImage)
                DrawTile(painter, target, slot->image);
            else if (!slot)
                DrawPlaceholder(painter, tile, target);
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

void CTileLayer::Deliver(const TileId& tile, const std::string& bytes,
                         const TileValidators& validators) {
    if (setup_.cache)
        setup_.cache->Store(tile, bytes, validators, NowUtc());
    QImage image = Decode(bytes, tile);
    const State state = image.isNull() ? State::kBlank : State::kImage;
    Put(tile.Key(), state, std::move(image), validators);
}

void CTileLayer::Confirm(const TileId& tile, const TileValidators& validators) {
    if (setup_.cache)
        setup_.cache->Revalidate(tile, validators, NowUtc());
    if (auto it = memory_.find(tile.Key()); it != memory_.end())
        it->second.validators = validators;
}

}  // namespace plovane
