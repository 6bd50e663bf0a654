// SPDX-License-Identifier: GPL-3.0-or-later
// Tiles from a loopback tile server: fetched once, cached, within the usage rules, revalidated.
#include <gtest/gtest.h>
#include <QPainter>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <filesystem>
#include <map>

#include "core/version.h"
#include "gui_rig.h"
#include "maps/web_mercator.h"
#include "support/solid_tile.h"
#include "ui/tile_fetcher.h"

namespace plovane {
namespace {

namespace fs = std::filesystem;

// HTTP/1.1 with keep-alive for tile GETs; tile 2/1/1 is missing (404), 2/2/2 never answered.
class TileServer : public QObject {
  public:
    struct Request {
        QByteArray path, userAgent, ifNoneMatch;
    };
    TileServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                maxOpen = std::max(maxOpen, ++open_);
                connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                    --open_;
                    socket->deleteLater();
                });
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Serve(socket); });
            }
        });
    }
    QString UrlTemplate() const {
        return QString("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(server_.serverPort());
    }
    // The If-None-Match of each request for `path`, in order.
    std::vector<QByteArray> Sent(const QByteArray& path) const {
        std::vector<QByteArray> sent;
        for (const Request& r : requests) {
            if (r.path == path)
                sent.push_back(r.ifNoneMatch);
        }
        return sent;
    }

    std::vector<Request> requests;
    int maxOpen = 0;

  private:
    void Serve(QTcpSocket* socket) {
        QByteArray& pending = buffers_[socket];
        pending += socket->readAll();
        int end;
        while ((end = pending.indexOf("\r\n\r\n")) >= 0) {
            const QList<QByteArray> lines = pending.left(end).split('\n');
            pending.remove(0, end + 4);
            Request r;
            r.path = lines.value(0).split(' ').value(1);
            for (const QByteArray& line : lines) {
                const QByteArray name = line.left(line.indexOf(':')).trimmed().toLower();
                const QByteArray value = line.mid(line.indexOf(':') + 1).trimmed();
                if (name == "user-agent")
                    r.userAgent = value;
                if (name == "if-none-match")
                    r.ifNoneMatch = value;
            }
            requests.push_back(r);
            if (r.path == "/2/2/2.png")
                continue;  // stalled: the fetcher gives up on its own time
            if (r.path.startsWith("/3/")) {
                ServeHostile(socket, r.path);
                continue;
            }
            QByteArray head, body;
            if (r.path == "/2/1/1.png") {
                head = "HTTP/1.1 404 Not Found\r\n";
            } else if (r.ifNoneMatch == "\"v1\"") {
                head = "HTTP/1.1 304 Not Modified\r\nETag: \"v1\"\r\nCache-Control: max-age=60\r\n";
            } else {
                head =
                    "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nETag: \"v1\"\r\n"
                    "Cache-Control: max-age=60\r\n";
                body = testing::SolidTilePng(Qt::darkCyan);
            }
            socket->write(head + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" +
                          body);
        }
    }

    // Zoom 3, row 0: what a hotel network or a broken server answers.
    void ServeHostile(QTcpSocket* socket, const QByteArray& path) {
        const QByteArray png = testing::SolidTilePng(Qt::darkCyan);
        const QByteArray ok = "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n";
        const auto send = [socket](const QByteArray& head, const QByteArray& body) {
            socket->write(head + "Content-Length: " + QByteArray::number(body.size()) +
                          "\r\n\r\n" + body);
        };
        if (path == "/3/0/0.png") {
            send("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n", "<html>Log in</html>");
        } else if (path == "/3/1/0.png") {
            send(ok, png.left(png.size() / 2));  // truncated, announced as such
        } else if (path == "/3/2/0.png") {
            // Shorter than announced, then the connection ends.
            socket->write(ok + "Content-Length: " + QByteArray::number(png.size()) +
                          "\r\nConnection: close\r\n\r\n" + png.left(png.size() / 2));
            socket->disconnectFromHost();
        } else if (path == "/3/3/0.png") {
            // Endless: another block each time the last one has gone out.
            socket->write(ok + "Connection: close\r\n\r\n");
            const QByteArray block(64 * 1024, 'x');
            connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket, block](qint64 n) {
                endlessSent += n;
                if (socket->state() == QAbstractSocket::ConnectedState &&
                    socket->bytesToWrite() < block.size())
                    socket->write(block);
            });
        } else if (path == "/3/4/0.png") {
            socket->write("HTTP/1.1 302 Found\r\nLocation: /3/4/0.png\r\nContent-Length: 0\r\n\r\n");
        } else {
            send(ok, png);
        }
    }

  public:
    qint64 endlessSent = 0;

  private:
    QTcpServer server_;
    int open_ = 0;
    std::map<QTcpSocket*, QByteArray> buffers_;
};

struct FetchRig {
    // A layer and fetcher as the map widget builds them for a URL source.
    void Start() {
        fetcher = std::make_unique<CTileFetcher>(server.UrlTemplate().toStdString(), clock);
        TileLayerSetup setup;
        setup.cache = std::make_unique<TileDiskCache>(cacheDir, 1 << 24);
        setup.fetcher = fetcher.get();
        layer = std::make_unique<CTileLayer>(std::move(setup), clock, nullptr);
        fetcher->SetLayer(layer.get());
    }
    // The world at zoom 2: sixteen tiles on 1024 x 1024 pixels.
    QImage Draw() {
        QImage image(1024, 1024 + kHeaderStripHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        layer->Draw(painter, MapProjection(kMercatorWorldBox, 1024, 1024, true));
        return image;
    }
    static QColor Tile(const QImage& image, int x, int y) {
        return image.pixelColor(x * 256 + 128, kHeaderStripHeight + y * 256 + 128);
    }

    testing::ScratchDir scratch;
    fs::path cacheDir = scratch.path() / "cache";
    FakeClock clock;
    TileServer server;
    std::unique_ptr<CTileFetcher> fetcher;
    std::unique_ptr<CTileLayer> layer;
};

// Then a stale tile is revalidated with its ETag, and a 304 keeps the cached bytes.
TEST(TileFetch, OnceFromTheServerThenFromTheCacheWithinTheUsageRulesAndRevalidated) {
    FetchRig rig;
    rig.Start();
    QElapsedTimer timer;
    timer.start();
    rig.Draw();  // nothing yet: the drawing does not wait
    EXPECT_LT(timer.elapsed(), 1000);
    // Fourteen tiles arrive although one request hangs and one fails.
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.server.requests.size() >= 16; }, 10000));
    QTest::qWait(100);
    const QImage image = rig.Draw();
    EXPECT_EQ(FetchRig::Tile(image, 0, 0), QColor(Qt::darkCyan));
    EXPECT_EQ(FetchRig::Tile(image, 3, 3), QColor(Qt::darkCyan));
    EXPECT_EQ(FetchRig::Tile(image, 1, 1), QColor(Qt::white));  // 404: nothing to show
    EXPECT_EQ(FetchRig::Tile(image, 2, 2), QColor(Qt::white));  // still on its way
    EXPECT_LE(rig.server.maxOpen, CTileFetcher::kMaxConnections);
    const QByteArray agent = QByteArray(kProgramName) + "/" + kVersionText;
    for (const TileServer::Request& r : rig.server.requests)
        EXPECT_TRUE(r.userAgent.startsWith(agent)) << r.userAgent.toStdString();
    // Drawing again asks for nothing more: the 404 is not retried at once, and the stalled
    // tile is still in flight.
    EXPECT_EQ(rig.server.requests.size(), 16u);
    EXPECT_EQ(rig.server.Sent("/2/1/1.png").size(), 1u);

    // A new start on the same cache draws the tiles at once, without the network.
    rig.fetcher->SetLayer(nullptr);
    rig.layer.reset();
    rig.fetcher.reset();
    rig.Start();
    const size_t before = rig.server.requests.size();
    const QImage cached = rig.Draw();
    EXPECT_EQ(FetchRig::Tile(cached, 3, 0), QColor(Qt::darkCyan));
    QTest::qWait(300);
    for (size_t i = before; i < rig.server.requests.size(); ++i) {
        const QByteArray& path = rig.server.requests[i].path;
        EXPECT_TRUE(path == "/2/1/1.png" || path == "/2/2/2.png") << path.toStdString();
    }

    // Fresh for seven days whatever max-age said; a day later still nothing is asked.
    rig.clock.AdvanceSeconds(24 * 3600);
    rig.Draw();
    QTest::qWait(100);
    EXPECT_EQ(rig.server.Sent("/2/0/0.png").size(), 1u);

    rig.clock.AdvanceSeconds(7 * 24 * 3600);
    rig.Draw();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.server.Sent("/2/0/0.png").size() == 2; }, 10000));
    QTest::qWait(100);
    EXPECT_EQ(rig.server.Sent("/2/0/0.png"), (std::vector<QByteArray>{"", "\"v1\""}));
    std::string bytes;
    TileValidators validators;
    ASSERT_TRUE(rig.layer->diskCache()->Lookup({2, 0, 0}, bytes, validators, 0));
    const int64_t now = (rig.clock.UtcNow() - CDateTime(1970, 1, 1, 0, 0, 0)).TotalSeconds();
    EXPECT_GE(validators.expiresUtc, now + kMinTileLifetimeSeconds - 5);
    EXPECT_EQ(validators.etag, "\"v1\"");
    EXPECT_EQ(FetchRig::Tile(rig.Draw(), 0, 0), QColor(Qt::darkCyan));
}

// Only a whole picture is cached: not a login page, a truncated or cut-short tile, an endless
// body (read no further than a tile's size) or a redirect loop (given up after a few hops).
TEST(TileFetch, OnlyACompletePictureIsCached) {
    FetchRig rig;
    rig.Start();
    std::vector<TileFetcher::Wish> wishes;
    for (int x = 0; x <= 5; ++x)
        wishes.push_back({{3, x, 0}, {}});
    rig.fetcher->Want(wishes);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.fetcher->Busy(); }, 20000));
    TileDiskCache& cache = *rig.layer->diskCache();
    for (int x = 0; x < 5; ++x) {
        SCOPED_TRACE(x);
        EXPECT_FALSE(cache.Contains({3, x, 0}));
    }
    EXPECT_TRUE(cache.Contains({3, 5, 0}));
    EXPECT_LT(rig.server.endlessSent, 8 * static_cast<qint64>(kMaxTileBytes));
    EXPECT_LE(rig.server.Sent("/3/4/0.png").size(), 1u + CTileFetcher::kMaxRedirects);
}

// A source out of reach says so, once, instead of leaving a plain map unexplained.
TEST(TileFetch, AnUnreachableSourceSaysSo) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const QString url = QString("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(closed.serverPort());
    closed.close();
    FakeClock clock;
    CTileFetcher fetcher(url.toStdString(), clock);
    std::vector<std::string> notices;
    CTileLayer layer({}, clock, [&](const std::string& text) { notices.push_back(text); });
    fetcher.SetLayer(&layer);
    fetcher.Want({{{1, 0, 0}, {}}, {{1, 1, 0}, {}}, {{1, 0, 1}, {}}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fetcher.Busy(); }, 10000));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "Map tiles unavailable: offline, showing the tiles cached before.");
}

// The program itself: --tiles with the test's server and --screenshot draw the served tiles
// under the world map, with the stations of the sample simulation over them.
TEST(TileFetch, ScreenshotDrawsTheServedTilesUnderTheMap) {
    FetchRig rig;
    // The server answers from this thread's event loop while the program runs.
    const QImage image =
        testing::Screenshot(rig.scratch, {"--tiles", rig.server.UrlTemplate(), "--simulate",
                                          QString(PLOVANE_SOURCE_DIR) + "/data/sim/sample.sim"});
    ASSERT_FALSE(image.isNull());
    int served = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            const QColor c = image.pixelColor(x, y);  // scaled tiles may round by one
            served +=
                c.red() <= 2 && std::abs(c.green() - 128) <= 2 && std::abs(c.blue() - 128) <= 2;
        }
    }
    // The world square, about half the window, is tile under the lines of the world map.
    EXPECT_GT(served, image.width() * image.height() / 16 * 4 / 10);
    EXPECT_GE(rig.server.requests.size(), 4u);
}

}  // namespace
}  // namespace plovane
