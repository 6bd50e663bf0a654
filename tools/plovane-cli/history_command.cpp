// SPDX-License-Identifier: GPL-3.0-or-later
// plovane-cli history: a station's history from the history database as JSON, CSV, GPX or
// KML, and the rebuild of the database from the station log.
#include <chrono>
#include <ostream>
#include <string>

#include "app/history_rebuild.h"
#include "app/station_log.h"
#include "cli.h"
#include "core/geo.h"
#include "history/history_export.h"
#include "history/history_store.h"
#include "history/history_time.h"
#include "record_json.h"

namespace plovane::cli {
namespace {

int64_t NowUtc() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

Json Value(int32_t value, int32_t missing = -1) {
    return value == missing ? Json(nullptr) : Json(value);
}
Json Tenths(int32_t value, int32_t missing = -1) {
    return value == missing ? Json(nullptr) : Json(value / 10.0);
}

Json HistoryJson(const HistoryStore& store, const std::string& call, HistoryPeriod period) {
    Json j;
    j["call"] = Latin1ToUtf8(call);
    Json positions = Json::array();
    for (const PositionSample& p : store.Positions(call, period)) {
        Json row;
        row["time"] = HistoryTimeText(p.utc);
        row["lat"] = LatitudeDegrees(p.colatitude);
        row["lon"] = static_cast<double>(p.longitude) / kUnitsPerDegree - 180.0;
        row["altitude_m"] = Tenths(p.altitudeDm);
        row["course"] = Value(p.courseDegrees);
        row["speed_kn"] = Value(p.speedKnots);
        row["symbol"] = p.symbol[0] != 0 ? Json(Latin1ToUtf8({p.symbol.data(), 2})) : Json(nullptr);
        positions.push_back(std::move(row));
    }
    j["positions"] = std::move(positions);
    Json weather = Json::array();
    for (const WeatherSample& s : store.Weather(call, period)) {
        const WeatherValues& v = s.values;
        Json row;
        row["time"] = HistoryTimeText(s.utc);
        row["wind_direction"] = Value(v.windDirection);
        row["wind_speed_kn"] = Value(v.windSpeed);
        row["wind_gust_kn"] = Value(v.windGust);
        row["temperature_c"] = Tenths(v.temperature, -1000);
        row["humidity_pct"] = Tenths(v.humidity);
        row["pressure_mbar"] = Tenths(v.barometer);
        row["rain_1h_mm"] = Tenths(v.rainLastHour);
        row["rain_24h_mm"] = Tenths(v.rainLast24Hours);
        row["rain_since_midnight_mm"] = Tenths(v.rainSinceMidnight);
        row["luminosity"] = Value(v.luminosity);
        weather.push_back(std::move(row));
    }
    j["weather"] = std::move(weather);
    const CTelemetry definitions = store.TelemetryDefinitions(call, period.toUtc);
    Json telemetry;
    telemetry["names"] = Json::array();
    telemetry["units"] = Json::array();
    for (size_t i = 0; i < CTelemetry::kChannels; ++i) {
        telemetry["names"].push_back(Latin1ToUtf8(definitions.names[i]));
        telemetry["units"].push_back(Latin1ToUtf8(definitions.units[i]));
    }
    telemetry["equations"] = definitions.equations;
    Json samples = Json::array();
    CTelemetry scaled = definitions;
    for (const TelemetrySample& s : store.Telemetry(call, period)) {
        scaled.values = s.values;
        Json row;
        row["time"] = HistoryTimeText(s.utc);
        row["sequence"] = Value(s.values.sequence);
        Json values = Json::array();
        for (size_t i = 0; i < TelemetryValues::kAnalogChannels; ++i)
            values.push_back((s.values.analogPresent >> i) & 1 ? Json(scaled.Scaled(i))
                                                               : Json(nullptr));
        row["scaled"] = std::move(values);
        row["bits"] = s.values.bits >= 0 ? Json(s.values.bits) : Json(nullptr);
        samples.push_back(std::move(row));
    }
    telemetry["samples"] = std::move(samples);
    j["telemetry"] = std::move(telemetry);
    Json texts = Json::array();
    for (const TextSample& t : store.Texts(call, period)) {
        Json row;
        row["time"] = HistoryTimeText(t.utc);
        row["kind"] = t.kind == HistoryTextKind::kMessage ? "message" : "status";
        row["from"] = Latin1ToUtf8(t.from);
        if (t.kind == HistoryTextKind::kMessage)
            row["to"] = Latin1ToUtf8(t.addressee);
        row["text"] = Latin1ToUtf8(t.text);
        texts.push_back(std::move(row));
    }
    j["texts"] = std::move(texts);
    return j;
}

int Rebuild(const std::filesystem::path& db, const std::filesystem::path& log,
            const std::string& myCall, std::ostream& out, std::ostream& err) {
    HistoryStore store;
    const auto notice = [&err](const std::string& text) { err << "plovane-cli: " << text << '\n'; };
    if (store.Open(db, notice) == HistoryStore::OpenState::kFailed)
        return 1;
    const auto start = std::chrono::steady_clock::now();
    HistoryFill fill;
    if (!RebuildHistory(store, log, myCall, fill)) {
        err << "plovane-cli: the history database " << db.string() << " refused the rows\n";
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const HistoryStore::Counts counts = store.Count();
    out << "history: " << fill.lines << " lines read from " << log.string() << " (" << fill.damaged
        << " damaged) in " << std::to_string(seconds).substr(0, 5) << " s: " << counts.positions
        << " positions, " << counts.weather << " weather reports, " << counts.telemetry
        << " telemetry reports, " << counts.texts << " status texts and messages\n";
    return 0;
}

}  // namespace

int History(const Args& args, std::ostream& out, std::ostream& err) {
    std::string call, format = "json", csvTable, myCall;
    std::filesystem::path db = DefaultHistoryPath(), log = DefaultLogFolder();
    bool rebuild = false;
    HistoryPeriod period;
    const int64_t now = NowUtc();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "--from" || arg == "--to" || arg == "--format" ||
                                arg == "--db" || arg == "--log" || arg == "--csv" ||
                                arg == "--mycall";
        if (takesValue && i + 1 == args.size()) {
            err << "plovane-cli history: " << arg << " needs a value\n";
            return 2;
        }
        if (arg == "--from" || arg == "--to") {
            int64_t& utc = arg == "--from" ? period.fromUtc : period.toUtc;
            if (!ParseHistoryTime(args[++i], now, utc)) {
                err << "plovane-cli history: " << arg << " wants a time such as 2026-12-06, "
                    << "2026-12-06T13:58:21Z, -24h, -7d or @UNIXSECONDS, not '" << args[i] << "'\n";
                return 2;
            }
        } else if (arg == "--format") {
            format = args[++i];
            if (format != "json" && format != "csv" && format != "gpx" && format != "kml") {
                err << "plovane-cli history: --format is json, csv, gpx or kml\n";
                return 2;
            }
        } else if (arg == "--csv") {
            csvTable = args[++i];
            if (csvTable != "weather" && csvTable != "telemetry") {
                err << "plovane-cli history: --csv is weather or telemetry\n";
                return 2;
            }
        } else if (arg == "--db") {
            db = args[++i];
        } else if (arg == "--log") {
            log = args[++i];
        } else if (arg == "--mycall") {
            myCall = args[++i];
        } else if (arg == "--rebuild") {
            rebuild = true;
        } else if (!arg.empty() && arg[0] == '-') {
            err << "plovane-cli history: unknown option '" << arg << "'\n";
            return 2;
        } else if (call.empty()) {
            call = arg;
        } else {
            err << "plovane-cli history: only one call\n";
            return 2;
        }
    }
    if (db.empty()) {
        err << "plovane-cli history: no data folder (set XDG_DATA_HOME or HOME, or give --db)\n";
        return 1;
    }
    if (rebuild)
        return Rebuild(db, log, myCall, out, err);
    if (call.empty()) {
        err << "plovane-cli history: which call? (plovane-cli history CALL [--from T] [--to T] "
               "[--format json|csv|gpx|kml])\n";
        return 2;
    }
    HistoryStore store;
    std::error_code ec;
    if (!std::filesystem::exists(db, ec)) {
        // A missing database is made from the log first.
        const HistoryStore::OpenState state = store.Open(
            db, [&err](const std::string& text) { err << "plovane-cli: " << text << '\n'; });
        HistoryFill fill;
        if (!BringHistoryUpToDate(store, state, log, myCall, fill))
            return 1;
    } else if (store.Open(
                   db, [&err](const std::string& text) { err << "plovane-cli: " << text << '\n'; },
                   true) == HistoryStore::OpenState::kFailed) {
        return 1;
    }
    if (format == "json") {
        out << HistoryJson(store, call, period).dump(1) << '\n';
    } else if (format == "gpx") {
        out << TrackGpx(call, store.Positions(call, period));
    } else if (format == "kml") {
        out << TrackKml(call, store.Positions(call, period));
    } else {
        const auto weather = store.Weather(call, period);
        if (csvTable == "weather" || (csvTable.empty() && !weather.empty())) {
            out << WeatherCsv(weather);
        } else {
            out << TelemetryCsv(store.TelemetryDefinitions(call, period.toUtc),
                                store.Telemetry(call, period));
        }
    }
    return 0;
}

}  // namespace plovane::cli
