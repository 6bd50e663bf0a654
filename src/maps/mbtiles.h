// SPDX-License-Identifier: GPL-3.0-or-later
// MBTiles files: an SQLite database with a `tiles` table (zoom_level, tile_column, tile_row,
// tile_data) whose rows count bottom-up (TMS), and a `metadata` table of name/value pairs.
// The reader opens the file read-only; the writer makes the bundled base layer and test files.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "maps/tile_source.h"

struct sqlite3;
struct sqlite3_stmt;

namespace plovane {

// Thread-compatible: one thread at a time (the connection is opened without a mutex). A `tiles`
// that is not a table is refused, and every query is stopped after a time limit.
class MbtilesStore : public TileStore {
  public:
    explicit MbtilesStore(const std::filesystem::path& file);
    ~MbtilesStore() override;
    MbtilesStore(const MbtilesStore&) = delete;
    MbtilesStore& operator=(const MbtilesStore&) = delete;

    // False, with the reason in error(), when the file is not a readable MBTiles file.
    bool IsOpen() const { return query_ != nullptr; }
    const std::string& error() const { return error_; }

    TileRead Read(const TileId& tile, std::string& bytes, std::string& error) override;
    // metadata "maxzoom", else the deepest zoom_level in the tiles table.
    int MaxZoom() const override { return maxZoom_; }

    // A query running longer than this is stopped (a crafted file could make one endless).
    static constexpr int kQueryLimitMs = 2000;

  private:
    static constexpr int kProgressOps = 10000;  // virtual machine steps between deadline checks
    void StartQuery();
    static int PastDeadline(void* self);

    sqlite3* db_ = nullptr;
    sqlite3_stmt* length_ = nullptr;
    sqlite3_stmt* query_ = nullptr;
    std::string error_;
    int maxZoom_ = 0;
    std::chrono::steady_clock::time_point deadline_;
};

// Thread-compatible. Writes tiles in one transaction, committed by Finish().
class MbtilesWriter {
  public:
    MbtilesWriter() = default;
    ~MbtilesWriter();
    MbtilesWriter(const MbtilesWriter&) = delete;
    MbtilesWriter& operator=(const MbtilesWriter&) = delete;

    // Creates (replacing) the file with its tables and the given metadata.
    bool Create(const std::filesystem::path& file, const std::string& name, int minZoom,
                int maxZoom, const std::string& attribution);
    // The tile at XYZ numbering; the row is flipped to TMS here.
    bool Add(const TileId& tile, const std::string& bytes);
    bool Finish();
    const std::string& error() const { return error_; }

  private:
    bool Exec(const char* sql);
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    std::string error_;
};

}  // namespace plovane
