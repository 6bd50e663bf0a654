// SPDX-License-Identifier: GPL-3.0-or-later
// The history database: an index beside the station log of what stations said over time
// (positions with course, speed and altitude, weather reports, telemetry values and the
// definitions that name them, status texts and messages), in one SQLite file,
// $XDG_DATA_HOME/plovane/history.sqlite. The log stays the source of truth: the database
// can always be rebuilt from the day files, and a damaged one is set aside and rebuilt.
//
// Times are Unix seconds (UTC) of when the line was heard; positions are in the angle
// units of core/geo.h; weather and telemetry in the units of core/station_report.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/station_report.h"
#include "stations/telemetry.h"

struct sqlite3;

namespace plovane {

// A closed period [fromUtc, toUtc] in Unix seconds; the default is all time.
struct HistoryPeriod {
    int64_t fromUtc = INT64_MIN;
    int64_t toUtc = INT64_MAX;
};

// A box on the globe in angle units (core/geo.h). A west edge east of the east edge
// crosses the date line.
struct HistoryArea {
    int32_t northColatitude = 0;
    int32_t southColatitude = 0;
    int32_t westLongitude = 0;
    int32_t eastLongitude = 0;
};

struct PositionSample {
    int64_t utc = 0;
    int32_t colatitude = 0;
    int32_t longitude = 0;
    int32_t altitudeDm = -1;       // decimetres, -1 unknown
    int32_t courseDegrees = -1;    // -1 unknown
    int32_t speedKnots = -1;       // -1 unknown
    std::array<char, 2> symbol{};  // table and code, zeros when none was sent
    bool operator==(const PositionSample&) const = default;
};

struct WeatherSample {
    int64_t utc = 0;
    WeatherValues values;
};

struct TelemetrySample {
    int64_t utc = 0;
    TelemetryValues values;
};

enum class HistoryTextKind : uint8_t { kStatus = 0, kMessage = 1 };

struct TextSample {
    int64_t utc = 0;
    HistoryTextKind kind = HistoryTextKind::kStatus;
    std::string from;       // the station
    std::string addressee;  // messages only
    std::string text;
    bool operator==(const TextSample&) const = default;
};

// A station found by a search: when it was first and last seen in the period (and area).
struct HistoryHit {
    std::string call;
    int64_t firstUtc = 0;
    PositionSample last;  // its last position in the period (and area)
    size_t positions = 0;
};

// What one heard line adds to the history, copied out of the decoded packet so that it
// outlives the line. Filled by HistoryRowsFrom (history_rows.h).
struct HistoryRows {
    struct Position {
        std::string call;
        PositionSample sample;
    };
    struct Weather {
        std::string call;
        WeatherSample sample;
    };
    struct Telemetry {
        std::string call;
        TelemetrySample sample;
    };
    struct Definition {  // "PARM.", "UNIT.", "EQNS." or "BITS." with its list
        std::string call;
        int64_t utc = 0;
        std::string text;
    };
    std::vector<Position> positions;
    std::vector<Weather> weather;
    std::vector<Telemetry> telemetry;
    std::vector<Definition> definitions;
    std::vector<TextSample> texts;
    bool empty() const {
        return positions.empty() && weather.empty() && telemetry.empty() && definitions.empty() &&
               texts.empty();
    }
};

// "$XDG_DATA_HOME/plovane/history.sqlite", else under "$HOME/.local/share"; empty when
// neither is set.
std::filesystem::path DefaultHistoryPath();

// Thread-compatible: one thread at a time (the writer's thread writes; a reader opens a
// store of its own on the same file: WAL lets readers and the one writer run at once).
class HistoryStore {
  public:
    using NoticeSink = std::function<void(const std::string&)>;
    // The version of the tables. A file of an earlier version is replaced (it is only an index
    // of the log), one of a later version set aside; either way it is rebuilt.
    static constexpr int kSchemaVersion = 2;

    HistoryStore();
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    enum class OpenState {
        kOpened,    // an existing database, up to date
        kCreated,   // a new, empty database (perhaps replacing an earlier version's): fill it
                    // from the log
        kSetAside,  // the file was damaged, locked or of a later version: renamed with a
                    // stamp and a new one made (fill it from the log); `notice` said so
        kFailed,    // no database could be had; `notice` said why
    };
    // Opens or makes the database at `path` for reading and writing. `readOnly` opens an
    // existing file for queries only (never sets anything aside).
    OpenState Open(const std::filesystem::path& path, const NoticeSink& notice = {},
                   bool readOnly = false);
    // Closes the database and renames its file (and journal) with a stamp, saying so; false
    // when it cannot be moved.
    bool SetAside(const std::string& reason, const NoticeSink& notice = {});
    bool IsOpen() const { return db_ != nullptr; }
    // A write failed because the file is damaged or taken by another program: the owner
    // closes the store and opens it again, which sets the file aside.
    bool damaged() const { return damaged_; }
    void Close();
    const std::filesystem::path& path() const { return path_; }

    // --- Writing (one transaction per call) ---
    // False when the database refused the rows (full disk...).
    bool Insert(const std::vector<HistoryRows>& batch);
    // Removes every row heard before `utc`; the number of rows removed.
    size_t PurgeBefore(int64_t utc);
    // Removes the oldest rows, a day at a time, until the file is at most `maxBytes`.
    void BoundSize(int64_t maxBytes);
    // Removes every row (before a rebuild).
    bool Clear();
    // The log's day the database was last filled up to (UTC seconds of the last line
    // added), kept for deciding whether a rebuild is due; INT64_MIN when never.
    int64_t FilledUntil() const;
    void SetFilledUntil(int64_t utc);
    // Faster, less durable writing for a rebuild (the log can always fill it again).
    void SetBulkMode(bool bulk);

    // --- Queries (rows in time order) ---
    std::vector<PositionSample> Positions(std::string_view call, HistoryPeriod period) const;
    std::vector<WeatherSample> Weather(std::string_view call, HistoryPeriod period) const;
    std::vector<TelemetrySample> Telemetry(std::string_view call, HistoryPeriod period) const;
    // The names, units, equations and bit senses the station had defined by `utc` (all
    // its definitions up to then, applied in order); values unset.
    CTelemetry TelemetryDefinitions(std::string_view call, int64_t utc = INT64_MAX) const;
    // Status texts the station sent and messages from or to it.
    std::vector<TextSample> Texts(std::string_view call, HistoryPeriod period) const;
    // Stations with a position in the period (and area) whose call matches `pattern`
    // ("*" any run, "?" one character; case does not matter; empty matches all), by call.
    // At most `limit` stations.
    std::vector<HistoryHit> Find(std::string_view pattern, HistoryPeriod period,
                                 const std::optional<HistoryArea>& area = std::nullopt,
                                 size_t limit = 10000) const;
    // Rows of each table (tests, the rebuild's report).
    struct Counts {
        size_t positions = 0, weather = 0, telemetry = 0, definitions = 0, texts = 0;
        size_t total() const { return positions + weather + telemetry + definitions + texts; }
    };
    Counts Count() const;

  private:
    struct Statements;
    bool MakeSchema();
    int64_t StationId(std::string_view call, bool add);

    sqlite3* db_ = nullptr;
    std::filesystem::path path_;
    std::unique_ptr<Statements> statements_;
    bool damaged_ = false;
};

}  // namespace plovane
