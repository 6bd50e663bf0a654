// SPDX-License-Identifier: GPL-3.0-or-later
// The own station's settings and the store limits, kept in the "Station" section.
#pragma once

#include <cstdint>
#include <string>

#include "core/geo.h"
#include "core/profile.h"

namespace plovane {

// Thread-compatible: loaded and saved on the user-interface thread; other threads read a
// copy (the stores take one under their lock when they apply settings).
struct CStationSettings {
    static constexpr const char* kSection = "Station";

    bool AutoReply = false;
    bool bDeletedAfter = true;
    bool HasInitPosit = false;
    bool HasPHG = false;
    bool bLimitMessages = true;
    bool bLimitStations = true;
    bool Mobile = false;
    bool bMyMessagesOnly = false;
    bool bMyTrack = true;
    bool bMyTrackTime = true;
    bool bMyTrackDistance = true;
    bool bTrack = true;  // other stations' tracks
    bool bTrackTime = false;
    bool bTrackDistance = false;
    bool TransmitPosits = false;
    bool TransmitStatus = false;
    int32_t UnitsOfMeasure = 0;    // 0 statute miles, 1 nautical miles, 2 kilometres
    float MobilePositRate = 5.0f;  // minutes between mobile beacons
    int16_t Ambiguity = 0;         // 0..5 blanked digits
    int16_t Directivity = 0;       // PHG code; degrees = code x 45
    int32_t DeletedAfter = 8;      // hours
    int32_t Lat = 32400000;        // typed-in position, colatitude units
    int32_t Lon = 64800000;        // typed-in position, longitude units
    int32_t LimitMessages = 1000;
    int32_t LimitStations = 2000;  // own station included
    int32_t MyTrackTime = 5;       // index into the time thresholds
    int32_t MyTrackDistance = 5;   // index into the distance thresholds
    int32_t MyTrackMax = 100;
    int32_t TrackTime = 0;
    int32_t TrackDistance = 0;
    int32_t TrackMax = 10;
    int16_t Power = 0;   // PHG code; watts = code squared
    int16_t Height = 0;  // PHG code; feet = 10 x 2^code
    int16_t Gain = 0;    // PHG code; dB
    std::string AutoReplyText;
    std::string Comments;
    std::string Alias = "RELAY";
    std::string MyCall = "NOCALL";
    std::string Status;
    std::string Symbol = "/-";  // a house
    std::string destination = "APQ000";  // not stored; set to "APQ" + version code on load
    // New installations use the paths the network asks for today; a stored path is kept.
    std::string UIDigiPath = "WIDE1-1,WIDE2-1";

    // Whether a position was typed in. Lat and Lon hold 0 N 0 E until one is, so that point
    // (open sea) stands for none, as in every stored file; the equator or Greenwich alone is a
    // position like any other.
    bool HasTypedPosition() const {
        return IsOnGlobe(Lat, Lon) && !(Lat == kEquatorColatitude && Lon == kGreenwichLongitude);
    }

    // Reads every value with its default; MobilePositRate only when a 4-byte binary value is
    // stored (otherwise the current value stays).
    void Load(const Profile& profile);
    // Writes every stored value (not destination); the symbol is fixed up first.
    void Save(Profile& profile);

    bool operator==(const CStationSettings&) const = default;

    // "NOCALL" means the station is not configured: nothing is transmitted.
    bool IsConfigured() const { return MyCall != "NOCALL"; }

    // Pads a symbol shorter than two characters with blanks, then keeps two characters.
    static std::string FixSymbol(std::string symbol);
};

}  // namespace plovane
