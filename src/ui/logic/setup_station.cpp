// SPDX-License-Identifier: GPL-3.0-or-later
// The station setup pages without their widgets.
#include "ui/logic/setup_station.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "core/geo.h"
#include "core/latin1.h"
#include "stations/position_text.h"
#include "ui/logic/setup_symbol_names.h"

namespace plovane {
namespace {

constexpr double kMetresPerFoot = 0.304801;

// A list position for a stored value, -1 when the value is outside the list.
int PositionOf(int value, int count) {
    return value >= 0 && value < count ? value : -1;
}

template <typename Field>
void StoreIfSelected(int position, int count, Field& field) {
    if (position >= 0 && position < count)
        field = static_cast<Field>(position);
}

template <typename Array>
int IndexOfValue(const Array& values, typename Array::value_type value) {
    const auto it = std::find(values.begin(), values.end(), value);
    return it == values.end() ? -1 : static_cast<int>(it - values.begin());
}

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whole degrees, two-digit minutes and three-digit thousandths of a minute of an angle
// given in units from 0 up (a thousandth of a minute is exactly 6 units).
TypedAngle SplitUnits(int32_t units, int hemisphere) {
    const int64_t thousandths = (static_cast<int64_t>(units) + 3) / 6;
    char minutes[8];
    char fraction[8];
    std::snprintf(minutes, sizeof minutes, "%02d", static_cast<int>(thousandths / 1000 % 60));
    std::snprintf(fraction, sizeof fraction, "%03d", static_cast<int>(thousandths % 1000));
    return {std::to_string(thousandths / 60000), minutes, fraction, hemisphere};
}

TrackRuleForm TrackRuleFrom(bool on, int32_t maxPoints, int limit, bool timeOn, int32_t time,
                            bool distanceOn, int32_t distance) {
    TrackRuleForm rule;
    rule.on = on;
    rule.maxPoints = std::clamp<int32_t>(maxPoints, 1, limit);
    rule.timeOn = timeOn;
    rule.time = PositionOf(time, static_cast<int>(kTrackTimeTexts.size()));
    rule.distanceOn = distanceOn;
    rule.distance = PositionOf(distance, 10);
    return rule;
}

void StoreTrackRule(const TrackRuleForm& rule, int limit, bool& on, int32_t& maxPoints,
                    bool& timeOn, int32_t& time, bool& distanceOn, int32_t& distance) {
    on = rule.on;
    maxPoints = std::clamp(rule.maxPoints, 1, limit);
    timeOn = rule.timeOn;
    StoreIfSelected(rule.time, static_cast<int>(kTrackTimeTexts.size()), time);
    distanceOn = rule.distanceOn;
    StoreIfSelected(rule.distance, 10, distance);
}

}  // namespace

// --- Station page ---

std::vector<std::string> PowerTexts() {
    std::vector<std::string> texts;
    for (int n = 0; n <= 9; ++n) {
        texts.push_back(std::to_string(n * n) + " watts");
    }
    return texts;
}

std::vector<std::string> HeightTexts(int unitsOfMeasure) {
    const bool metric = unitsOfMeasure == 2;
    std::vector<std::string> texts;
    for (int n = 0; n <= 9; ++n) {
        const long feet = 10L << n;
        const long shown = metric ? static_cast<long>(feet * kMetresPerFoot) : feet;
        texts.push_back(std::to_string(shown) + (metric ? " meters" : " feet"));
    }
    return texts;
}

std::vector<std::string> GainTexts() {
    std::vector<std::string> texts;
    for (int n = 0; n <= 9; ++n) {
        texts.push_back(std::to_string(n) + " dB");
    }
    return texts;
}

std::vector<std::string> DirectivityTexts() {
    std::vector<std::string> texts{"Omni"};
    for (int degrees = 45; degrees <= 360; degrees += 45) {
        texts.push_back(std::to_string(degrees) + "\u00B0");
    }
    return texts;
}

StationForm StationFormFrom(const CStationSettings& s) {
    StationForm form;
    form.myCall = s.MyCall;
    form.units = PositionOf(s.UnitsOfMeasure, static_cast<int>(kUnitsTexts.size()));
    form.sendPhg = s.HasPHG;
    form.power = PositionOf(s.Power, 10);
    form.height = PositionOf(s.Height, 10);
    form.gain = PositionOf(s.Gain, 10);
    form.directivity = PositionOf(s.Directivity, 9);
    return form;
}

bool IsCallSign(std::string_view typed, bool radio) {
    const std::string_view call = latin1::Trim(typed);
    const auto alnum = [](std::string_view text) {
        return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        });
    };
    const size_t dash = call.find('-');
    const std::string_view base = call.substr(0, dash);
    const std::string_view ssid =
        dash == std::string_view::npos ? std::string_view() : call.substr(dash + 1);
    if (!alnum(base) || (dash != std::string_view::npos && !alnum(ssid)) || ssid.size() > 2)
        return false;
    if (!radio)
        return call.size() <= 9;
    if (base.size() > 6)
        return false;
    if (ssid.empty())
        return true;
    if (!AllDigits(ssid) || (ssid.size() == 2 && ssid[0] == '0'))
        return false;
    return std::stoi(std::string(ssid)) <= 15;
}

std::vector<std::string> StationFormProblems(const StationForm& form, bool radio) {
    if (IsCallSign(form.myCall, radio))
        return {};
    return {"call sign"};
}

std::string FieldsNeedCorrection(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        if (!text.empty())
            text += ",\r\n";
        text += name;
    }
    return text.empty() ? std::string() : kFieldsNeedCorrectionText + text + ".";
}

void StoreStationForm(const StationForm& form, CStationSettings& s) {
    s.MyCall = latin1::Trim(form.myCall);
    StoreIfSelected(form.units, static_cast<int>(kUnitsTexts.size()), s.UnitsOfMeasure);
    s.HasPHG = form.sendPhg;
    StoreIfSelected(form.power, 10, s.Power);
    StoreIfSelected(form.height, 10, s.Height);
    StoreIfSelected(form.gain, 10, s.Gain);
    StoreIfSelected(form.directivity, 9, s.Directivity);
}

// --- Icon page ---

std::vector<std::string> OverlayTexts() {
    std::vector<std::string> texts{kNoOverlayText};
    for (char c = '0'; c <= '9'; ++c)
        texts.emplace_back(1, c);
    for (char c = 'A'; c <= 'Z'; ++c)
        texts.emplace_back(1, c);
    return texts;
}

std::vector<std::string> IconTexts(int table) {
    const SymbolTable which = table == 1 ? SymbolTable::kAlternate : SymbolTable::kPrimary;
    std::vector<std::string> texts;
    for (int n = 0; n < kSymbolCount; ++n) {
        texts.push_back(SymbolEntryText(which, n));
    }
    return texts;
}

IconForm IconFormFrom(const std::string& symbol) {
    const std::string fixed = CStationSettings::FixSymbol(symbol);
    IconForm form;
    const char table = fixed[0];
    form.table = table == '/' ? 0 : 1;
    if (table >= '0' && table <= '9') {
        form.overlay = 1 + (table - '0');
    } else if (table >= 'A' && table <= 'Z') {
        form.overlay = 11 + (table - 'A');
    }
    const int code = static_cast<unsigned char>(fixed[1]) - 32;
    form.icon = PositionOf(code, kSymbolCount);
    return form;
}

void StoreIconForm(const IconForm& form, std::string& symbol) {
    std::string fixed = CStationSettings::FixSymbol(symbol);
    if (form.table == 0) {
        fixed[0] = '/';
    } else {
        const std::vector<std::string> overlays = OverlayTexts();
        fixed[0] = form.overlay > 0 && form.overlay < static_cast<int>(overlays.size())
                       ? overlays[static_cast<size_t>(form.overlay)][0]
                       : '\\';
    }
    if (form.icon >= 0 && form.icon < kSymbolCount)
        fixed[1] = static_cast<char>(form.icon + 32);
    symbol = fixed;
}

// --- Position page ---

int RateIndexOf(float minutes) {
    if (minutes > 0.0f && minutes < 1.0f)
        return 0;
    if (!(minutes >= 1.0f && minutes <= kRateMinutes.back()))
        return -1;  // also NaN
    return IndexOfValue(kRateMinutes, static_cast<float>(static_cast<int>(minutes)));
}

TypedAngle LatitudeFields(int32_t colatitude) {
    if (colatitude < 0 || colatitude > kMaxColatitude)
        return {};
    return colatitude < kEquatorColatitude ? SplitUnits(kEquatorColatitude - colatitude, 0)
                                           : SplitUnits(colatitude - kEquatorColatitude, 1);
}

TypedAngle LongitudeFields(int32_t longitude) {
    if (longitude < 0 || longitude > kMaxLongitude)
        return {};
    return longitude > kGreenwichLongitude ? SplitUnits(longitude - kGreenwichLongitude, 0)
                                           : SplitUnits(kGreenwichLongitude - longitude, 1);
}

std::string ThreeDigitFraction(std::string_view typed) {
    std::string digits(typed.substr(0, 3));
    digits.resize(3, '0');
    return digits;
}

PositForm PositFormFrom(const CStationSettings& s) {
    PositForm form;
    form.transmit = s.TransmitPosits;
    form.mobile = s.Mobile;
    form.rate = RateIndexOf(s.MobilePositRate);
    form.ambiguity = s.Ambiguity >= 0 && s.Ambiguity <= 5 ? s.Ambiguity : 0;
    if (s.HasTypedPosition()) {
        form.latitude = LatitudeFields(s.Lat);
        form.longitude = LongitudeFields(s.Lon);
    }
    return form;
}

std::vector<std::string> PositFormProblems(const PositForm& form) {
    // A typed number, or -1 when it is too long to be in any range here.
    const auto value = [](const std::string& text) {
        const size_t digits = text.find_first_not_of('0');
        if (digits == std::string::npos)
            return 0L;
        return text.size() - digits > 4 ? -1L : std::stol(text.substr(digits));
    };
    std::vector<std::string> names;
    for (const auto& [angle, limit, degreesName, minutesName, fractionName] :
         {std::tuple{&form.latitude, 90L, "degrees of latitude", "minutes of latitude",
                     "fractional minutes of latitude"},
          std::tuple{&form.longitude, 180L, "degrees of longitude", "minutes of longitude",
                     "fractional minutes of longitude"}}) {
        const bool digits[] = {AllDigits(angle->degrees), AllDigits(angle->minutes),
                               AllDigits(angle->fraction)};
        const long degrees = digits[0] ? value(angle->degrees) : -1;
        const long minutes = digits[1] ? value(angle->minutes) : -1;
        const bool beyondLimit =
            degrees == limit &&
            (minutes != 0 || angle->fraction.find_first_not_of('0') != std::string::npos);
        if (degrees < 0 || degrees > limit || beyondLimit)
            names.push_back(degreesName);
        if (minutes < 0 || minutes > 59)
            names.push_back(minutesName);
        if (!digits[2])
            names.push_back(fractionName);
    }
    return names;
}

std::string PositFormErrors(const PositForm& form) {
    return FieldsNeedCorrection(PositFormProblems(form));
}

bool StorePositForm(const PositForm& form, CStationSettings& s) {
    if (!PositFormErrors(form).empty())
        return false;
    s.TransmitPosits = form.transmit;
    s.Mobile = form.mobile;
    s.HasInitPosit = !form.mobile;
    // No minutes chosen keeps the stored interval (an unlisted value such as 0, which means
    // the default of ten minutes, is not turned into the list's first entry).
    if (form.rate >= 0 && form.rate < static_cast<int>(kRateMinutes.size()))
        s.MobilePositRate = kRateMinutes[static_cast<size_t>(form.rate)];
    s.Ambiguity = static_cast<int16_t>(std::clamp(form.ambiguity, 0, 5));
    const TypedAngle& lat = form.latitude;
    const TypedAngle& lon = form.longitude;
    s.Lat = ColatitudeFromText(lat.degrees, lat.minutes, ThreeDigitFraction(lat.fraction),
                               kLatitudeHemispheres[lat.hemisphere == 1 ? 1 : 0]);
    s.Lon = LongitudeFromText(lon.degrees, lon.minutes, ThreeDigitFraction(lon.fraction),
                              kLongitudeHemispheres[lon.hemisphere == 1 ? 1 : 0]);
    return true;
}

// --- Ops page ---

OpsForm OpsFormFrom(const CStationSettings& s) {
    return {s.Alias,          s.UIDigiPath, s.Comments,     s.Status,
            s.TransmitStatus, s.AutoReply,  s.AutoReplyText};
}

void StoreOpsForm(const OpsForm& form, CStationSettings& s) {
    s.Alias = form.alias;
    s.UIDigiPath = form.digipeaterPath;
    s.Comments = form.comments;
    s.Status = form.status;
    s.TransmitStatus = form.transmitStatus;
    s.AutoReply = form.autoReply;
    s.AutoReplyText = form.autoReplyText;
}

// --- Track page ---

std::vector<std::string> TrackDistanceTexts(int unitsOfMeasure) {
    static constexpr const char* kDistances[] = {" 0.01", " 0.02", " 0.05", " 0.10", " 0.25",
                                                 " 0.50", " 1.00", " 2.50", " 5.00", "10.00"};
    static constexpr const char* kUnitNames[] = {"mi", "nmi", "km"};
    const char* unit =
        unitsOfMeasure >= 0 && unitsOfMeasure <= 2 ? kUnitNames[unitsOfMeasure] : "???";
    std::vector<std::string> texts;
    for (const char* distance : kDistances) {
        texts.push_back(std::string(distance) + " " + unit);
    }
    return texts;
}

TrackForm TrackFormFrom(const CStationSettings& s) {
    return {TrackRuleFrom(s.bMyTrack, s.MyTrackMax, kMaxOwnTrackPoints, s.bMyTrackTime,
                          s.MyTrackTime, s.bMyTrackDistance, s.MyTrackDistance),
            TrackRuleFrom(s.bTrack, s.TrackMax, kMaxOtherTrackPoints, s.bTrackTime, s.TrackTime,
                          s.bTrackDistance, s.TrackDistance)};
}

void StoreTrackForm(const TrackForm& form, CStationSettings& s) {
    StoreTrackRule(form.mine, kMaxOwnTrackPoints, s.bMyTrack, s.MyTrackMax, s.bMyTrackTime,
                   s.MyTrackTime, s.bMyTrackDistance, s.MyTrackDistance);
    StoreTrackRule(form.others, kMaxOtherTrackPoints, s.bTrack, s.TrackMax, s.bTrackTime,
                   s.TrackTime, s.bTrackDistance, s.TrackDistance);
}

// --- Limits page ---

std::vector<std::string> DeletedAfterTexts() {
    std::vector<std::string> texts;
    for (const int32_t hours : kDeletedAfterHours) {
        texts.push_back(std::to_string(hours));
    }
    return texts;
}

LimitsForm LimitsFormFrom(const CStationSettings& s) {
    LimitsForm form;
    form.limitStations = s.bLimitStations;
    form.stations = std::clamp<int32_t>(s.LimitStations, 1, kMaxStoredRecords);
    form.deletedAfter = s.bDeletedAfter;
    form.hours = IndexOfValue(kDeletedAfterHours, s.DeletedAfter);
    form.limitMessages = s.bLimitMessages;
    form.messages = std::clamp<int32_t>(s.LimitMessages, 1, kMaxStoredRecords);
    form.myMessagesOnly = s.bMyMessagesOnly;
    return form;
}

void StoreLimitsForm(const LimitsForm& form, CStationSettings& s) {
    s.bLimitStations = form.limitStations;
    s.LimitStations = std::clamp(form.stations, 1, kMaxStoredRecords);
    s.bDeletedAfter = form.deletedAfter;
    if (form.hours >= 0 && form.hours < static_cast<int>(kDeletedAfterHours.size()))
        s.DeletedAfter = kDeletedAfterHours[static_cast<size_t>(form.hours)];
    s.bLimitMessages = form.limitMessages;
    s.LimitMessages = std::clamp(form.messages, 1, kMaxStoredRecords);
    s.bMyMessagesOnly = form.myMessagesOnly;
}

}  // namespace plovane
