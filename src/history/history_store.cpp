// SPDX-License-Identifier: GPL-3.0-or-later
// The history database's tables, writing and queries.
//
// Each table holds a station id (the stations table maps calls to small ids, so the large
// tables stay narrow) and the time heard. The three big tables (positions, weather, telemetry)
// are kept in (station, utc, seq) order (WITHOUT ROWID): a station's graph or track for a week
// is then a few hundred neighbouring pages, not one scattered page per report, which is what
// makes it fast from a cold disk. `seq` tells apart reports of one station in one second, in
// the order heard. An index on utc serves retention, and positions carry a one-degree cell
// with an index on (cell, utc) for "who was here then".
#include "history/history_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <system_error>
#include <utility>

#include "core/data_home.h"
#include "core/geo.h"

namespace plovane {
namespace {

constexpr int kBusyTimeoutMs = 2000;
// An area spanning more cells than this is searched by time alone.
constexpr int64_t kMaxAreaCells = 4096;
constexpr int32_t kCellsPerRow = 361;  // longitude cells, 0..360

const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value INTEGER) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS stations(id INTEGER PRIMARY KEY, call TEXT NOT NULL UNIQUE);
CREATE TABLE IF NOT EXISTS positions(station INTEGER NOT NULL, utc INTEGER NOT NULL,
    seq INTEGER NOT NULL, colatitude INTEGER NOT NULL, longitude INTEGER NOT NULL,
    cell INTEGER NOT NULL, altitude_dm INTEGER NOT NULL, course INTEGER NOT NULL,
    speed INTEGER NOT NULL, symbol INTEGER NOT NULL,
    PRIMARY KEY(station, utc, seq)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS positions_cell ON positions(cell, utc);
CREATE INDEX IF NOT EXISTS positions_utc ON positions(utc);
CREATE TABLE IF NOT EXISTS weather(station INTEGER NOT NULL, utc INTEGER NOT NULL,
    seq INTEGER NOT NULL, wind_direction INTEGER, wind_speed INTEGER, wind_gust INTEGER,
    temperature INTEGER, humidity INTEGER, barometer INTEGER, rain_hour INTEGER,
    rain_24h INTEGER, rain_midnight INTEGER, snow INTEGER, luminosity INTEGER,
    PRIMARY KEY(station, utc, seq)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS weather_utc ON weather(utc);
CREATE TABLE IF NOT EXISTS telemetry(station INTEGER NOT NULL, utc INTEGER NOT NULL,
    seq INTEGER NOT NULL, sequence INTEGER, a1 REAL, a2 REAL, a3 REAL, a4 REAL, a5 REAL,
    present INTEGER, bits INTEGER, PRIMARY KEY(station, utc, seq)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS telemetry_utc ON telemetry(utc);
CREATE TABLE IF NOT EXISTS definitions(station INTEGER NOT NULL, utc INTEGER NOT NULL,
    text TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS definitions_station ON definitions(station, utc);
CREATE TABLE IF NOT EXISTS texts(station INTEGER NOT NULL, utc INTEGER NOT NULL,
    kind INTEGER NOT NULL, addressee TEXT NOT NULL, text TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS texts_station ON texts(station, utc);
CREATE INDEX IF NOT EXISTS texts_addressee ON texts(addressee, utc);
CREATE INDEX IF NOT EXISTS texts_utc ON texts(utc);
)sql";

// One prepared statement, reset when it goes out of use.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) {
        if (db != nullptr && sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            stmt_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }

    Statement& Bind(int i, int64_t v) {
        sqlite3_bind_int64(stmt_, i, v);
        return *this;
    }
    Statement& Bind(int i, double v) {
        sqlite3_bind_double(stmt_, i, v);
        return *this;
    }
    Statement& Bind(int i, std::string_view v) {
        sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int Step() { return stmt_ != nullptr ? sqlite3_step(stmt_) : SQLITE_MISUSE; }
    // Runs it to the end and makes it ready again; true when it ran.
    bool Run() {
        const int rc = Step();
        Reset();
        return rc == SQLITE_DONE || rc == SQLITE_ROW;
    }
    void Reset() {
        if (stmt_ != nullptr) {
            sqlite3_reset(stmt_);
            sqlite3_clear_bindings(stmt_);
        }
    }
    int64_t Int(int col) const { return sqlite3_column_int64(stmt_, col); }
    int32_t Int32(int col) const { return static_cast<int32_t>(sqlite3_column_int64(stmt_, col)); }
    double Real(int col) const { return sqlite3_column_double(stmt_, col); }
    std::string Text(int col) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
        return text != nullptr
                   ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, col)))
                   : std::string();
    }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

int32_t CellOf(int32_t colatitude, int32_t longitude) {
    return (colatitude / kUnitsPerDegree) * kCellsPerRow + longitude / kUnitsPerDegree;
}

int64_t PackSymbol(const std::array<char, 2>& symbol) {
    return (static_cast<unsigned char>(symbol[0]) << 8) | static_cast<unsigned char>(symbol[1]);
}

std::array<char, 2> UnpackSymbol(int64_t packed) {
    return {static_cast<char>((packed >> 8) & 0xFF), static_cast<char>(packed & 0xFF)};
}

// "*" and "?" as in GLOB; the other GLOB characters stand for themselves.
std::string GlobPattern(std::string_view pattern) {
    std::string glob;
    for (const char c : pattern) {
        if (c == '[') {
            glob += "[[]";
        } else {
            glob += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
    }
    return glob.empty() ? "*" : glob;
}

std::string StampNow() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &tm);
    return text;
}

bool IsDamage(int rc) {
    const int primary = rc & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_BUSY ||
           primary == SQLITE_LOCKED || primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR;
}

// The weather table's value columns and the report's fields they hold, in the same order.
constexpr int kWeatherFields = 11;
const char* const kWeatherColumns =
    "wind_direction, wind_speed, wind_gust, temperature, humidity, barometer, rain_hour, "
    "rain_24h, rain_midnight, snow, luminosity";
std::array<int32_t*, kWeatherFields> WeatherFields(WeatherValues& v) {
    return {&v.windDirection, &v.windSpeed,       &v.windGust,
            &v.temperature,   &v.humidity,        &v.barometer,
            &v.rainLastHour,  &v.rainLast24Hours, &v.rainSinceMidnight,
            &v.snow[0],       &v.luminosity};
}

PositionSample ReadPosition(const Statement& s, int first) {
    PositionSample p;
    p.utc = s.Int(first);
    p.colatitude = s.Int32(first + 1);
    p.longitude = s.Int32(first + 2);
    p.altitudeDm = s.Int32(first + 3);
    p.courseDegrees = s.Int32(first + 4);
    p.speedKnots = s.Int32(first + 5);
    p.symbol = UnpackSymbol(s.Int(first + 6));
    return p;
}

// Inserts a row of (station ?1, utc ?2, the next seq of that station and second, `values`
// more values ?3..).
std::string AddRow(const char* table, int values) {
    std::string sql = std::string("INSERT INTO ") + table + " VALUES(?1, ?2, (SELECT ifnull(max(seq) + 1, 0) FROM " +
                      table + " WHERE station = ?1 AND utc = ?2)";
    for (int i = 0; i < values; ++i)
        sql += ", ?" + std::to_string(3 + i);
    return sql + ")";
}

}  // namespace

struct HistoryStore::Statements {
    explicit Statements(sqlite3* db)
        : begin(db, "BEGIN"),
          commit(db, "COMMIT"),
          rollback(db, "ROLLBACK"),
          findStation(db, "SELECT id FROM stations WHERE call = ?"),
          addStation(db, "INSERT INTO stations(call) VALUES(?)"),
          addPosition(db, AddRow("positions", 7).c_str()),
          addWeather(db, AddRow("weather", kWeatherFields).c_str()),
          addTelemetry(db, AddRow("telemetry", 8).c_str()),
          addDefinition(db, "INSERT INTO definitions VALUES(?, ?, ?)"),
          addText(db, "INSERT INTO texts VALUES(?, ?, ?, ?, ?)") {}
    Statement begin, commit, rollback;
    Statement findStation, addStation;
    Statement addPosition, addWeather, addTelemetry, addDefinition, addText;
    // Calls seen in this session and their ids.
    std::map<std::string, int64_t, std::less<>> ids;
};

std::filesystem::path DefaultHistoryPath() {
    const std::filesystem::path base = XdgDataHome();
    return base.empty() ? base : base / "plovane" / "history.sqlite";
}

HistoryStore::HistoryStore() = default;
HistoryStore::~HistoryStore() {
    Close();
}

void HistoryStore::Close() {
    statements_.reset();
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

HistoryStore::OpenState HistoryStore::Open(const std::filesystem::path& path,
                                           const NoticeSink& notice, bool readOnly) {
    Close();
    damaged_ = false;
    path_ = path;
    const auto say = [&](const std::string& text) {
        if (notice)
            notice(text);
    };
    std::error_code ec;
    const bool existed = std::filesystem::exists(path, ec);
    if (readOnly) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            say("History database " + path.string() +
                " cannot be opened: " + (db_ != nullptr ? sqlite3_errmsg(db_) : "no memory"));
            Close();
            return OpenState::kFailed;
        }
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        Statement version(db_, "PRAGMA user_version");
        if (version.Step() != SQLITE_ROW || version.Int(0) != kSchemaVersion) {
            say("History database " + path.string() + " is not readable; rebuild it");
            Close();
            return OpenState::kFailed;
        }
        return OpenState::kOpened;
    }
    std::filesystem::create_directories(path.parent_path(), ec);

    // Opens the file and checks it is ours and whole; the SQLite code of what failed.
    bool earlier = false;  // made by an earlier version of the program
    const auto tryOpen = [&]() -> int {
        int rc = sqlite3_open_v2(path.c_str(), &db_,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
        if (rc != SQLITE_OK)
            return rc;
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        Statement version(db_, "PRAGMA user_version");
        if (!version)
            return sqlite3_errcode(db_);
        rc = version.Step();
        if (rc != SQLITE_ROW)
            return rc;
        const int64_t found = version.Int(0);
        version.Reset();
        earlier = found > 0 && found < kSchemaVersion;
        if (found != 0 && found != kSchemaVersion)
            return SQLITE_NOTADB;  // another version: set it aside as well
        if (existed && found != 0) {
            // Only the small tables are read in full; the big ones are checked as they are used.
            Statement probe(db_, "SELECT count(*) FROM stations");
            rc = probe.Step();
            if (rc != SQLITE_ROW)
                return rc;
        }
        if (!Exec(db_, "PRAGMA journal_mode=WAL") || !Exec(db_, "PRAGMA synchronous=NORMAL"))
            return sqlite3_errcode(db_);
        if (!MakeSchema())
            return sqlite3_errcode(db_);
        return SQLITE_OK;
    };

    int rc = tryOpen();
    if (rc == SQLITE_OK) {
        statements_ = std::make_unique<Statements>(db_);
        return existed ? OpenState::kOpened : OpenState::kCreated;
    }
    Close();
    if (!existed) {
        say("History database " + path.string() + " cannot be made: " + sqlite3_errstr(rc));
        return OpenState::kFailed;
    }
    if (earlier) {
        // Only an index of the log in an older layout: nothing to keep, and it may be large.
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::path file = path;
            file += suffix;
            std::filesystem::remove(file, ec);
        }
        say("History database " + path.string() +
            " was made by an earlier version of Plovane; it is rebuilt from the station log");
        rc = tryOpen();
        if (rc == SQLITE_OK) {
            statements_ = std::make_unique<Statements>(db_);
            return OpenState::kCreated;
        }
        Close();
        say("History database " + path.string() + " cannot be made: " + sqlite3_errstr(rc));
        return OpenState::kFailed;
    }
    // Damaged, locked or foreign: move it and its journal aside and start a new one.
    if (!SetAside(sqlite3_errstr(rc), notice))
        return OpenState::kFailed;
    rc = tryOpen();
    if (rc != SQLITE_OK) {
        Close();
        say("History database " + path.string() + " cannot be made: " + sqlite3_errstr(rc));
        return OpenState::kFailed;
    }
    statements_ = std::make_unique<Statements>(db_);
    return OpenState::kSetAside;
}

bool HistoryStore::SetAside(const std::string& reason, const NoticeSink& notice) {
    Close();
    std::filesystem::path aside = path_;
    aside += ".damaged-" + StampNow();
    std::error_code ec;
    std::filesystem::rename(path_, aside, ec);
    if (ec) {
        if (notice) {
            notice("History database " + path_.string() + " is damaged (" + reason +
                   ") and cannot be set aside: " + ec.message());
        }
        return false;
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        std::filesystem::path journal = path_;
        journal += suffix;
        std::filesystem::path journalAside = aside;
        journalAside += suffix;
        std::filesystem::rename(journal, journalAside, ec);
    }
    if (notice) {
        notice("History database " + path_.string() + " could not be used (" + reason +
               "); it was set aside as " + aside.filename().string() +
               " and is rebuilt from the station log");
    }
    return true;
}

bool HistoryStore::MakeSchema() {
    if (!Exec(db_, kSchema))
        return false;
    return Exec(db_, ("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str());
}

void HistoryStore::SetBulkMode(bool bulk) {
    if (db_ == nullptr)
        return;
    Exec(db_, bulk ? "PRAGMA synchronous=OFF" : "PRAGMA synchronous=NORMAL");
    Exec(db_, bulk ? "PRAGMA cache_size=-262144" : "PRAGMA cache_size=-16384");
}

int64_t HistoryStore::StationId(std::string_view call, bool add) {
    Statements& s = *statements_;
    if (const auto it = s.ids.find(call); it != s.ids.end())
        return it->second;
    int64_t id = -1;
    s.findStation.Bind(1, call);
    if (s.findStation.Step() == SQLITE_ROW)
        id = s.findStation.Int(0);
    s.findStation.Reset();
    if (id < 0 && add) {
        s.addStation.Bind(1, call);
        if (!s.addStation.Run())
            return -1;
        id = sqlite3_last_insert_rowid(db_);
    }
    if (id >= 0)
        s.ids.emplace(std::string(call), id);
    return id;
}

namespace {

// Rows of one clustered table with their station ids, put in key order before they are
// written: a batch then sweeps the table's B-tree once instead of jumping about it (a
// rebuild's batch holds thousands of stations). The sort is stable, so reports of one station
// in one second keep the order they were heard in.
template <class Row>
class KeyedRows {
  public:
    void Add(int64_t id, const Row& row) { rows_.push_back({id, &row}); }
    const std::vector<std::pair<int64_t, const Row*>>& Sorted() {
        std::stable_sort(rows_.begin(), rows_.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first < b.first : a.second->utc < b.second->utc;
        });
        return rows_;
    }

  private:
    std::vector<std::pair<int64_t, const Row*>> rows_;
};

}  // namespace

bool HistoryStore::Insert(const std::vector<HistoryRows>& batch) {
    if (db_ == nullptr)
        return false;
    Statements& s = *statements_;
    if (!s.begin.Run())
        return false;
    bool ok = true;
    KeyedRows<PositionSample> positions;
    KeyedRows<WeatherSample> weather;
    KeyedRows<TelemetrySample> telemetry;
    for (const HistoryRows& rows : batch) {
        for (const auto& [call, p] : rows.positions) {
            const int64_t id = StationId(call, true);
            ok = ok && id >= 0;
            positions.Add(id, p);
        }
        for (const auto& [call, w] : rows.weather) {
            const int64_t id = StationId(call, true);
            ok = ok && id >= 0;
            weather.Add(id, w);
        }
        for (const auto& [call, t] : rows.telemetry) {
            const int64_t id = StationId(call, true);
            ok = ok && id >= 0;
            telemetry.Add(id, t);
        }
        for (const HistoryRows::Definition& d : rows.definitions) {
            const int64_t id = StationId(d.call, true);
            ok = ok && id >= 0 && s.addDefinition.Bind(1, id).Bind(2, d.utc).Bind(3, d.text).Run();
        }
        for (const TextSample& t : rows.texts) {
            const int64_t id = StationId(t.from, true);
            ok = ok && id >= 0 &&
                 s.addText.Bind(1, id)
                     .Bind(2, t.utc)
                     .Bind(3, int64_t{static_cast<int>(t.kind)})
                     .Bind(4, t.addressee)
                     .Bind(5, t.text)
                     .Run();
        }
        if (!ok)
            break;
    }
    for (const auto& [id, p] : positions.Sorted()) {
        if (!ok)
            break;
        ok = s.addPosition.Bind(1, id)
                 .Bind(2, p->utc)
                 .Bind(3, int64_t{p->colatitude})
                 .Bind(4, int64_t{p->longitude})
                 .Bind(5, int64_t{CellOf(p->colatitude, p->longitude)})
                 .Bind(6, int64_t{p->altitudeDm})
                 .Bind(7, int64_t{p->courseDegrees})
                 .Bind(8, int64_t{p->speedKnots})
                 .Bind(9, PackSymbol(p->symbol))
                 .Run();
    }
    for (const auto& [id, w] : weather.Sorted()) {
        if (!ok)
            break;
        WeatherValues v = w->values;
        Statement& st = s.addWeather;
        st.Bind(1, id).Bind(2, w->utc);
        const auto fields = WeatherFields(v);
        for (size_t i = 0; i < fields.size(); ++i)
            st.Bind(3 + static_cast<int>(i), int64_t{*fields[i]});
        ok = st.Run();
    }
    for (const auto& [id, t] : telemetry.Sorted()) {
        if (!ok)
            break;
        Statement& st = s.addTelemetry;
        st.Bind(1, id).Bind(2, t->utc).Bind(3, int64_t{t->values.sequence});
        for (int i = 0; i < 5; ++i)
            st.Bind(4 + i, t->values.analog[static_cast<size_t>(i)]);
        st.Bind(9, int64_t{t->values.analogPresent}).Bind(10, int64_t{t->values.bits});
        ok = st.Run();
    }
    if (!ok) {
        damaged_ = IsDamage(sqlite3_errcode(db_));
        s.rollback.Run();
        s.ids.clear();  // ids added in the rolled-back transaction are gone
        return false;
    }
    if (!s.commit.Run()) {
        damaged_ = IsDamage(sqlite3_errcode(db_));
        s.rollback.Run();
        s.ids.clear();
        return false;
    }
    return true;
}

size_t HistoryStore::PurgeBefore(int64_t utc) {
    if (db_ == nullptr)
        return 0;
    size_t removed = 0;
    Exec(db_, "BEGIN");
    for (const char* table : {"positions", "weather", "telemetry", "texts"}) {
        Statement st(db_, (std::string("DELETE FROM ") + table + " WHERE utc < ?").c_str());
        st.Bind(1, utc).Run();
        removed += static_cast<size_t>(sqlite3_changes(db_));
    }
    // Definitions name values to come: keep each station's newest of each kind.
    Statement defs(db_,
                   "DELETE FROM definitions WHERE utc < ?1 AND rowid NOT IN (SELECT max(rowid) "
                   "FROM definitions GROUP BY station, substr(text, 1, 5))");
    defs.Bind(1, utc).Run();
    removed += static_cast<size_t>(sqlite3_changes(db_));
    Exec(db_, "COMMIT");
    return removed;
}

void HistoryStore::BoundSize(int64_t maxBytes) {
    if (db_ == nullptr || maxBytes <= 0)
        return;
    const auto fileBytes = [&] {
        Statement pages(db_,
                        "SELECT page_count - freelist_count, page_size "
                        "FROM pragma_page_count, pragma_freelist_count, pragma_page_size");
        return pages.Step() == SQLITE_ROW ? pages.Int(0) * pages.Int(1) : 0;
    };
    // Freed pages are used again by new rows, so the file stops growing at the bound.
    for (int rounds = 0; rounds < 400 && fileBytes() > maxBytes; ++rounds) {
        Statement oldest(db_, "SELECT min(utc) FROM positions");
        if (oldest.Step() != SQLITE_ROW || sqlite3_column_type(oldest.get(), 0) == SQLITE_NULL)
            return;
        const int64_t cut = oldest.Int(0) - oldest.Int(0) % 86400 + 86400;
        if (PurgeBefore(cut) == 0)
            return;
    }
}

bool HistoryStore::Clear() {
    if (db_ == nullptr)
        return false;
    if (statements_)
        statements_->ids.clear();
    return Exec(db_,
                "BEGIN; DELETE FROM positions; DELETE FROM weather; DELETE FROM telemetry; "
                "DELETE FROM definitions; DELETE FROM texts; DELETE FROM stations; "
                "DELETE FROM meta; COMMIT");
}

int64_t HistoryStore::FilledUntil() const {
    Statement st(db_, "SELECT value FROM meta WHERE key = 'filled_until'");
    return st.Step() == SQLITE_ROW ? st.Int(0) : INT64_MIN;
}

void HistoryStore::SetFilledUntil(int64_t utc) {
    Statement st(db_, "INSERT OR REPLACE INTO meta VALUES('filled_until', ?)");
    st.Bind(1, utc).Run();
}

namespace {

// A station's rows of one clustered table over a period, in the order heard: `columns` after
// utc, each row read by `read` (the statement, its utc in column 0).
template <typename Sample, typename Read>
std::vector<Sample> StationRows(sqlite3* db, const char* table, const char* columns,
                                std::string_view call, HistoryPeriod period, Read read) {
    std::vector<Sample> out;
    const std::string sql = std::string("SELECT utc, ") + columns + " FROM " + table +
                            " WHERE station = (SELECT id FROM stations WHERE call = ?) "
                            "AND utc BETWEEN ? AND ? ORDER BY utc, seq";
    Statement st(db, sql.c_str());
    st.Bind(1, call).Bind(2, period.fromUtc).Bind(3, period.toUtc);
    while (st.Step() == SQLITE_ROW)
        out.push_back(read(st));
    return out;
}

}  // namespace

std::vector<PositionSample> HistoryStore::Positions(std::string_view call,
                                                    HistoryPeriod period) const {
    return StationRows<PositionSample>(
        db_, "positions", "colatitude, longitude, altitude_dm, course, speed, symbol", call,
        period, [](const Statement& st) { return ReadPosition(st, 0); });
}

std::vector<WeatherSample> HistoryStore::Weather(std::string_view call,
                                                 HistoryPeriod period) const {
    return StationRows<WeatherSample>(
        db_, "weather", kWeatherColumns, call, period, [](const Statement& st) {
            WeatherSample w;
            w.utc = st.Int(0);
            const auto fields = WeatherFields(w.values);
            for (size_t i = 0; i < fields.size(); ++i)
                *fields[i] = st.Int32(1 + static_cast<int>(i));
            return w;
        });
}

std::vector<TelemetrySample> HistoryStore::Telemetry(std::string_view call,
                                                     HistoryPeriod period) const {
    return StationRows<TelemetrySample>(
        db_, "telemetry", "sequence, a1, a2, a3, a4, a5, present, bits", call, period,
        [](const Statement& st) {
            TelemetrySample t;
            t.utc = st.Int(0);
            t.values.sequence = st.Int32(1);
            for (size_t i = 0; i < TelemetryValues::kAnalogChannels; ++i)
                t.values.analog[i] = st.Real(2 + static_cast<int>(i));
            t.values.analogPresent = static_cast<uint8_t>(st.Int(7));
            t.values.bits = static_cast<int16_t>(st.Int(8));
            return t;
        });
}

CTelemetry HistoryStore::TelemetryDefinitions(std::string_view call, int64_t utc) const {
    CTelemetry telemetry;
    Statement st(db_,
                 "SELECT text FROM definitions WHERE station = "
                 "(SELECT id FROM stations WHERE call = ?) AND utc <= ? ORDER BY utc, rowid");
    st.Bind(1, call).Bind(2, utc);
    while (st.Step() == SQLITE_ROW)
        telemetry.ApplyDefinition(st.Text(0));
    return telemetry;
}

std::vector<TextSample> HistoryStore::Texts(std::string_view call, HistoryPeriod period) const {
    std::vector<TextSample> out;
    Statement st(db_,
                 "SELECT t.utc, t.kind, s.call, t.addressee, t.text FROM texts t "
                 "JOIN stations s ON s.id = t.station WHERE (s.call = ?1 OR t.addressee = ?1) "
                 "AND t.utc BETWEEN ?2 AND ?3 ORDER BY t.utc, t.rowid");
    st.Bind(1, call).Bind(2, period.fromUtc).Bind(3, period.toUtc);
    while (st.Step() == SQLITE_ROW) {
        TextSample t;
        t.utc = st.Int(0);
        t.kind = st.Int(1) == 1 ? HistoryTextKind::kMessage : HistoryTextKind::kStatus;
        t.from = st.Text(2);
        t.addressee = st.Text(3);
        t.text = st.Text(4);
        out.push_back(std::move(t));
    }
    return out;
}

std::vector<HistoryHit> HistoryStore::Find(std::string_view pattern, HistoryPeriod period,
                                           const std::optional<HistoryArea>& area,
                                           size_t limit) const {
    std::string sql =
        "SELECT p.station, p.utc, p.colatitude, p.longitude, p.altitude_dm, p.course, "
        "p.speed, p.symbol FROM positions p WHERE p.utc BETWEEN ?2 AND ?3";
    const bool anyCall = pattern.empty() || pattern == "*";
    if (!anyCall)
        sql += " AND p.station IN (SELECT id FROM stations WHERE upper(call) GLOB ?1)";
    std::vector<int32_t> cells;
    bool wraps = false;
    if (area) {
        const HistoryArea& a = *area;
        wraps = a.westLongitude > a.eastLongitude;
        sql += " AND p.colatitude BETWEEN ?4 AND ?5";
        sql += wraps ? " AND (p.longitude >= ?6 OR p.longitude <= ?7)"
                     : " AND p.longitude BETWEEN ?6 AND ?7";
        const int32_t rows =
            a.southColatitude / kUnitsPerDegree - a.northColatitude / kUnitsPerDegree + 1;
        const int32_t west = a.westLongitude / kUnitsPerDegree;
        const int32_t east = a.eastLongitude / kUnitsPerDegree;
        const int32_t columns = wraps ? (kCellsPerRow - west) + east + 1 : east - west + 1;
        if (rows > 0 && columns > 0 && int64_t{rows} * columns <= kMaxAreaCells) {
            for (int32_t r = 0; r < rows; ++r) {
                const int32_t row = a.northColatitude / kUnitsPerDegree + r;
                for (int32_t c = 0; c < columns; ++c)
                    cells.push_back(row * kCellsPerRow + (west + c) % kCellsPerRow);
            }
            sql += " AND p.cell IN (";
            for (size_t i = 0; i < cells.size(); ++i) {
                if (i > 0)
                    sql += ',';
                sql += std::to_string(cells[i]);
            }
            sql += ")";
        }
    }
    sql += " ORDER BY p.utc, p.seq";
    Statement st(db_, sql.c_str());
    if (!anyCall)
        st.Bind(1, GlobPattern(pattern));
    st.Bind(2, period.fromUtc).Bind(3, period.toUtc);
    if (area) {
        st.Bind(4, int64_t{area->northColatitude})
            .Bind(5, int64_t{area->southColatitude})
            .Bind(6, int64_t{area->westLongitude})
            .Bind(7, int64_t{area->eastLongitude});
    }
    std::map<int64_t, HistoryHit> byStation;
    while (st.Step() == SQLITE_ROW) {
        const int64_t id = st.Int(0);
        auto it = byStation.find(id);
        if (it == byStation.end()) {
            if (byStation.size() >= limit)
                continue;
            it = byStation.emplace(id, HistoryHit{}).first;
            it->second.firstUtc = st.Int(1);
        }
        it->second.last = ReadPosition(st, 1);
        ++it->second.positions;
    }
    std::vector<HistoryHit> out;
    Statement name(db_, "SELECT call FROM stations WHERE id = ?");
    for (auto& [id, hit] : byStation) {
        name.Bind(1, id);
        if (name.Step() == SQLITE_ROW)
            hit.call = name.Text(0);
        name.Reset();
        out.push_back(std::move(hit));
    }
    std::sort(out.begin(), out.end(),
              [](const HistoryHit& a, const HistoryHit& b) { return a.call < b.call; });
    return out;
}

HistoryStore::Counts HistoryStore::Count() const {
    Counts counts;
    const auto count = [&](const char* table) -> size_t {
        Statement st(db_, (std::string("SELECT count(*) FROM ") + table).c_str());
        return st.Step() == SQLITE_ROW ? static_cast<size_t>(st.Int(0)) : 0;
    };
    counts.positions = count("positions");
    counts.weather = count("weather");
    counts.telemetry = count("telemetry");
    counts.definitions = count("definitions");
    counts.texts = count("texts");
    return counts;
}

}  // namespace plovane
