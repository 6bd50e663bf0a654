// SPDX-License-Identifier: GPL-3.0-or-later
// MBTiles reading and writing over the SQLite C library.
#include "maps/mbtiles.h"

#include <sqlite3.h>

#include <charconv>
#include <system_error>

namespace plovane {
namespace {

std::string SqliteError(sqlite3* db, const std::string& what) {
    return what + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
}

// A zoom level written as digits alone, within the pyramid; -1 otherwise.
int ZoomOf(const unsigned char* text) {
    if (!text)
        return -1;
    const std::string_view s(reinterpret_cast<const char*>(text));
    int value = -1;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || value < 0 || value > kMaxTileZoom)
        return -1;
    return value;
}

}  // namespace

MbtilesStore::MbtilesStore(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        error_ = "No such MBTiles file: " + file.string();
        return;
    }
    const std::string name = file.string();
    if (sqlite3_open_v2(name.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
        error_ = SqliteError(db_, "Cannot open " + name);
        return;
    }
    // A damaged file must not hold the drawing up waiting for a lock, and no query may run
    // for ever: a crafted file can make one endless.
    sqlite3_busy_timeout(db_, 200);
    sqlite3_progress_handler(db_, kProgressOps, &MbtilesStore::PastDeadline, this);
    StartQuery();
    // `tiles` is a table, or a view as deduplicating writers make it (over `map` and
    // `images`); the time limit above stops a view that never ends.
    sqlite3_stmt* kind = nullptr;
    bool known = false;
    if (sqlite3_prepare_v2(db_, "SELECT type FROM sqlite_master WHERE name='tiles'", -1, &kind,
                           nullptr) == SQLITE_OK &&
        sqlite3_step(kind) == SQLITE_ROW && sqlite3_column_text(kind, 0)) {
        const std::string_view type(reinterpret_cast<const char*>(sqlite3_column_text(kind, 0)));
        known = type == "table" || type == "view";
    }
    sqlite3_finalize(kind);
    if (!known) {
        error_ = "Not an MBTiles file (no tiles table): " + name;
        return;
    }
    // The length first: a blob larger than any tile is refused without being loaded.
    const char* kLength =
        "SELECT length(tile_data) FROM tiles WHERE zoom_level=?1 AND tile_column=?2 AND "
        "tile_row=?3";
    const char* kQuery =
        "SELECT tile_data FROM tiles WHERE zoom_level=?1 AND tile_column=?2 AND tile_row=?3";
    if (sqlite3_prepare_v2(db_, kLength, -1, &length_, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db_, kQuery, -1, &query_, nullptr) != SQLITE_OK) {
        error_ = SqliteError(db_, "Not an MBTiles file: " + name);
        sqlite3_finalize(query_);
        query_ = nullptr;
        return;
    }
    maxZoom_ = -1;
    sqlite3_stmt* meta = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT value FROM metadata WHERE name='maxzoom'", -1, &meta,
                           nullptr) == SQLITE_OK &&
        sqlite3_step(meta) == SQLITE_ROW) {
        maxZoom_ = ZoomOf(sqlite3_column_text(meta, 0));  // anything but a zoom is ignored
    }
    sqlite3_finalize(meta);
    if (maxZoom_ < 0) {
        maxZoom_ = 0;
        sqlite3_stmt* deepest = nullptr;
        StartQuery();
        if (sqlite3_prepare_v2(db_, "SELECT MAX(zoom_level) FROM tiles", -1, &deepest, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(deepest) == SQLITE_ROW) {
            maxZoom_ = sqlite3_column_int(deepest, 0);
        }
        sqlite3_finalize(deepest);
    }
    if (maxZoom_ < 0 || maxZoom_ > kMaxTileZoom)
        maxZoom_ = 0;
}

MbtilesStore::~MbtilesStore() {
    sqlite3_finalize(length_);
    sqlite3_finalize(query_);
    sqlite3_close(db_);
}

void MbtilesStore::StartQuery() {
    deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(kQueryLimitMs);
}

int MbtilesStore::PastDeadline(void* self) {
    return std::chrono::steady_clock::now() > static_cast<MbtilesStore*>(self)->deadline_ ? 1 : 0;
}

TileRead MbtilesStore::Read(const TileId& tile, std::string& bytes, std::string& error) {
    if (!query_) {
        error = error_;
        return TileRead::kError;
    }
    if (!IsValidTile(tile))
        return TileRead::kMissing;
    const auto bind = [&](sqlite3_stmt* statement) {
        sqlite3_reset(statement);
        sqlite3_bind_int(statement, 1, tile.z);
        sqlite3_bind_int(statement, 2, tile.x);
        sqlite3_bind_int(statement, 3, TmsRow(tile.z, tile.y));
    };
    const auto badTile = [&] {
        return "Bad tile " + std::to_string(tile.z) + "/" + std::to_string(tile.x) + "/" +
               std::to_string(tile.y) + " in the MBTiles file";
    };
    StartQuery();
    bind(length_);
    int step = sqlite3_step(length_);
    const sqlite3_int64 length = step == SQLITE_ROW ? sqlite3_column_int64(length_, 0) : 0;
    sqlite3_reset(length_);
    if (step == SQLITE_DONE)
        return TileRead::kMissing;
    if (step != SQLITE_ROW) {
        error = SqliteError(db_, "Cannot read the MBTiles file");
        return TileRead::kError;
    }
    if (length <= 0 || static_cast<uint64_t>(length) > kMaxTileBytes) {
        error = badTile();
        return TileRead::kError;
    }
    bind(query_);
    step = sqlite3_step(query_);
    TileRead result = TileRead::kMissing;
    if (step == SQLITE_ROW) {
        const int size = sqlite3_column_bytes(query_, 0);
        const void* data = sqlite3_column_blob(query_, 0);
        if (size <= 0 || !data || static_cast<size_t>(size) > kMaxTileBytes) {
            error = badTile();
            result = TileRead::kError;
        } else {
            bytes.assign(static_cast<const char*>(data), static_cast<size_t>(size));
            result = TileRead::kFound;
        }
    } else if (step != SQLITE_DONE) {
        error = SqliteError(db_, "Cannot read the MBTiles file");
        result = TileRead::kError;
    }
    sqlite3_reset(query_);
    return result;
}

MbtilesWriter::~MbtilesWriter() {
    sqlite3_finalize(insert_);
    sqlite3_close(db_);
}

bool MbtilesWriter::Exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error_ = message ? message : "SQLite error";
    sqlite3_free(message);
    return false;
}

bool MbtilesWriter::Create(const std::filesystem::path& file, const std::string& name, int minZoom,
                           int maxZoom, const std::string& attribution) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
    const std::string path = file.string();
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        error_ = SqliteError(db_, "Cannot create " + path);
        return false;
    }
    if (!Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
              "CREATE TABLE metadata (name TEXT, value TEXT);"
              "CREATE TABLE tiles (zoom_level INTEGER, tile_column INTEGER, tile_row INTEGER,"
              " tile_data BLOB);"
              "CREATE UNIQUE INDEX tile_index ON tiles (zoom_level, tile_column, tile_row);"))
        return false;
    sqlite3_stmt* meta = nullptr;
    if (sqlite3_prepare_v2(db_, "INSERT INTO metadata VALUES (?1, ?2)", -1, &meta, nullptr) !=
        SQLITE_OK) {
        error_ = SqliteError(db_, "Cannot write metadata");
        return false;
    }
    const std::pair<const char*, std::string> rows[] = {
        {"name", name},
        {"format", "png"},
        {"minzoom", std::to_string(minZoom)},
        {"maxzoom", std::to_string(maxZoom)},
        {"attribution", attribution},
        {"type", "baselayer"},
    };
    bool ok = true;
    for (const auto& [key, value] : rows) {
        sqlite3_bind_text(meta, 1, key, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(meta, 2, value.c_str(), -1, SQLITE_TRANSIENT);
        ok = ok && sqlite3_step(meta) == SQLITE_DONE;
        sqlite3_reset(meta);
    }
    sqlite3_finalize(meta);
    if (!ok) {
        error_ = SqliteError(db_, "Cannot write metadata");
        return false;
    }
    if (sqlite3_prepare_v2(db_, "INSERT OR REPLACE INTO tiles VALUES (?1, ?2, ?3, ?4)", -1,
                           &insert_, nullptr) != SQLITE_OK) {
        error_ = SqliteError(db_, "Cannot prepare the tile insert");
        return false;
    }
    return true;
}

bool MbtilesWriter::Add(const TileId& tile, const std::string& bytes) {
    if (!insert_ || !IsValidTile(tile))
        return false;
    sqlite3_bind_int(insert_, 1, tile.z);
    sqlite3_bind_int(insert_, 2, tile.x);
    sqlite3_bind_int(insert_, 3, TmsRow(tile.z, tile.y));
    sqlite3_bind_blob(insert_, 4, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    const bool ok = sqlite3_step(insert_) == SQLITE_DONE;
    sqlite3_reset(insert_);
    if (!ok)
        error_ = SqliteError(db_, "Cannot add a tile");
    return ok;
}

bool MbtilesWriter::Finish() {
    if (!db_)
        return false;
    sqlite3_finalize(insert_);
    insert_ = nullptr;
    const bool ok = Exec("COMMIT;");
    sqlite3_close(db_);
    db_ = nullptr;
    return ok;
}

}  // namespace plovane
