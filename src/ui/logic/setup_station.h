// SPDX-License-Identifier: GPL-3.0-or-later
// The pages of the "Setup Station" sheet without their widgets: the lists they offer, what
// they show for the stored own-station settings, the check of the typed position and what
// OK stores. List positions are -1 when nothing is selected; a list left without a
// selection keeps its stored value.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/station_settings.h"

namespace plovane {

// --- Station page ---

// UTF-8.
inline constexpr std::array<const char*, 3> kUnitsTexts = {
    "Statute (mi/mph/\u00B0F)", "Nautical (nmi/knots/\u00B0F)", "Metric (km/kph/\u00B0C)"};

// "%ld watts" for n x n, n = 0..9.
std::vector<std::string> PowerTexts();
// "%ld %s" for 10 x 2^n feet, n = 0..9: in "feet" for statute and nautical units, in
// "meters" (feet x 0.304801, truncated) for metric.
std::vector<std::string> HeightTexts(int unitsOfMeasure);
// "%ld dB" for 0..9.
std::vector<std::string> GainTexts();
// "Omni", then "45°" to "360°" in steps of 45 (UTF-8).
std::vector<std::string> DirectivityTexts();

struct StationForm {
    std::string myCall;
    int units = -1;
    bool sendPhg = false;
    int power = -1;  // the list positions are the PHG digits
    int height = -1;
    int gain = -1;
    int directivity = -1;
};

StationForm StationFormFrom(const CStationSettings& settings);
// A call sign that may be sent (blanks at either end aside): on the radio 1 to 6 letters and
// digits with an optional SSID "-0" to "-15"; over the APRS-IS alone up to 9 characters,
// letters and digits with an optional "-" and one or two letters or digits after it.
bool IsCallSign(std::string_view call, bool radio);
// The names of the Station page's fields that need to be corrected (the call sign).
std::vector<std::string> StationFormProblems(const StationForm& form, bool radio);
// The message box text for the fields named; empty when there are none.
std::string FieldsNeedCorrection(const std::vector<std::string>& names);
// The call is stored without blanks at either end.
void StoreStationForm(const StationForm& form, CStationSettings& settings);

// --- Icon page ---

inline constexpr std::array<const char*, 2> kIconListTexts = {"Primary (/)",
                                                              "Secondary (\\ or overlay)"};
inline constexpr char kNoOverlayText[] = "No Overlay (\\)";

// kNoOverlayText, the digits 0 to 9, the letters A to Z.
std::vector<std::string> OverlayTexts();
// The 96 entries of the chosen table (0 primary, 1 secondary), UTF-8.
std::vector<std::string> IconTexts(int table);

struct IconForm {
    int table = 0;    // 0 primary "/", 1 secondary "\" or an overlay
    int overlay = 0;  // position in OverlayTexts
    int icon = -1;    // symbol code - 32

    // An overlay belongs to the secondary table only.
    bool overlayEnabled() const { return table == 1; }
};

// From the stored two-character symbol: table "/" is the primary list; anything else the
// secondary one, with the overlay when the table character is a digit or a capital letter.
IconForm IconFormFrom(const std::string& symbol);
// Table character ("/", "\" or the overlay) and code; no icon chosen keeps the stored code.
void StoreIconForm(const IconForm& form, std::string& symbol);

// --- Position page ---

inline constexpr std::array<const char*, 8> kRateTexts = {"0.5", "1",  "2",  "3",
                                                          "5",   "10", "15", "30"};
inline constexpr std::array<float, 8> kRateMinutes = {0.5f, 1.0f,  2.0f,  3.0f,
                                                      5.0f, 10.0f, 15.0f, 30.0f};
inline constexpr std::array<const char*, 6> kAmbiguityTexts = {"None",     "1 Digit",  "2 Digits",
                                                               "3 Digits", "4 Digits", "5 Digits"};
inline constexpr std::array<const char*, 2> kLatitudeHemispheres = {"N", "S"};
inline constexpr std::array<const char*, 2> kLongitudeHemispheres = {"E", "W"};

inline constexpr char kFieldsNeedCorrectionText[] =
    "The following fields need to be corrected:\r\n\r\n";

// Degrees, minutes and thousandths of a minute as the page shows them.
struct TypedAngle {
    std::string degrees;
    std::string minutes;
    std::string fraction;
    int hemisphere = 0;  // 0 "N" or "E", 1 "S" or "W"
};

struct PositForm {
    bool transmit = false;
    bool mobile = false;
    int rate = -1;
    int ambiguity = 0;
    TypedAngle latitude;
    TypedAngle longitude;

    // The minutes list belongs to the mobile rate, the position to the fixed one.
    bool rateEnabled() const { return mobile; }
    bool positionEnabled() const { return !mobile; }
};

// The rate list position for a stored interval: "0.5" above 0 and below 1, else the entry
// equal to its whole minutes, else -1.
int RateIndexOf(float minutes);
// The page's fields for a stored coordinate (empty when it is off the globe).
TypedAngle LatitudeFields(int32_t colatitude);
TypedAngle LongitudeFields(int32_t longitude);
// A typed fraction of a minute as it is stored: its first three digits, padded with "0"
// on the right to three.
std::string ThreeDigitFraction(std::string_view typed);

PositForm PositFormFrom(const CStationSettings& settings);
// The names of the position fields that hold something other than decimal digits, or an
// angle out of range (latitude up to 90 degrees, longitude up to 180, minutes below 60).
std::vector<std::string> PositFormProblems(const PositForm& form);
// The message box text for PositFormProblems; empty when the page may be accepted.
std::string PositFormErrors(const PositForm& form);
// Stores the page; false (nothing stored) while PositFormErrors has something to say.
// The fixed rate reports the typed position (HasInitPosit), the mobile one does not.
bool StorePositForm(const PositForm& form, CStationSettings& settings);

// --- Ops page ---

struct OpsForm {
    std::string alias;
    std::string digipeaterPath;
    std::string comments;
    std::string status;
    bool transmitStatus = false;
    bool autoReply = false;
    std::string autoReplyText;

    bool autoReplyTextEnabled() const { return autoReply; }
};

OpsForm OpsFormFrom(const CStationSettings& settings);
void StoreOpsForm(const OpsForm& form, CStationSettings& settings);

// --- Track page ---

inline constexpr std::array<const char*, 9> kTrackTimeTexts = {
    " 5 seconds", "10 seconds", "30 seconds", " 1 minute", " 2 minutes",
    " 5 minutes", "10 minutes", "15 minutes", "30 minutes"};
inline constexpr int kMaxOwnTrackPoints = 8000;
inline constexpr int kMaxOtherTrackPoints = 250;

// " 0.01" ... "10.00", each followed by a blank and "mi", "nmi" or "km" ("???" for a units
// value outside 0..2).
std::vector<std::string> TrackDistanceTexts(int unitsOfMeasure);

struct TrackRuleForm {
    bool on = false;
    int maxPoints = 1;  // the spin field, within 1 and the table's limit
    bool timeOn = false;
    int time = -1;  // position in kTrackTimeTexts
    bool distanceOn = false;
    int distance = -1;  // position in TrackDistanceTexts
};

struct TrackForm {
    TrackRuleForm mine;
    TrackRuleForm others;
};

TrackForm TrackFormFrom(const CStationSettings& settings);
void StoreTrackForm(const TrackForm& form, CStationSettings& settings);

// --- Limits page ---

inline constexpr std::array<int32_t, 9> kDeletedAfterHours = {1, 2, 4, 8, 12, 24, 48, 72, 168};
inline constexpr int kMaxStoredRecords = 9999;  // stations or messages

std::vector<std::string> DeletedAfterTexts();

struct LimitsForm {
    bool limitStations = false;
    int stations = 1;  // 1..9999
    bool deletedAfter = false;
    int hours = -1;  // position in kDeletedAfterHours
    bool limitMessages = false;
    int messages = 1;  // 1..9999
    bool myMessagesOnly = false;
};

LimitsForm LimitsFormFrom(const CStationSettings& settings);
void StoreLimitsForm(const LimitsForm& form, CStationSettings& settings);

}  // namespace plovane
