// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving the own-station settings.
#include "core/station_settings.h"

#include <cstring>
#include <vector>

#include "core/version.h"

namespace plovane {
namespace {

constexpr const char* S = CStationSettings::kSection;

bool ReadBool(const Profile& p, const char* key, bool def) {
    return p.GetInt(S, key, def) != 0;
}

int16_t ReadShort(const Profile& p, const char* key, int16_t def) {
    return static_cast<int16_t>(p.GetInt(S, key, def));
}

}  // namespace

std::string CStationSettings::FixSymbol(std::string symbol) {
    if (symbol.size() < 2)
        symbol += "  ";
    return symbol.substr(0, 2);
}

void CStationSettings::Load(const Profile& p) {
    AutoReply = ReadBool(p, "AutoReply", false);
    bDeletedAfter = ReadBool(p, "bDeletedAfter", true);
    HasInitPosit = ReadBool(p, "HasInitPosit", false);
    HasPHG = ReadBool(p, "HasPHG", false);
    bLimitMessages = ReadBool(p, "bLimitMessages", true);
    bLimitStations = ReadBool(p, "bLimitStations", true);
    Mobile = ReadBool(p, "Mobile", false);
    bMyMessagesOnly = ReadBool(p, "bMyMessagesOnly", false);
    bMyTrack = ReadBool(p, "bMyTrack", true);
    bMyTrackTime = ReadBool(p, "bMyTrackTime", true);
    bMyTrackDistance = ReadBool(p, "bMyTrackDistance", true);
    bTrack = ReadBool(p, "bTrack", true);
    bTrackTime = ReadBool(p, "bTrackTime", false);
    bTrackDistance = ReadBool(p, "bTrackDistance", false);
    TransmitPosits = ReadBool(p, "TransmitPosits", false);
    TransmitStatus = ReadBool(p, "TransmitStatus", false);
    UnitsOfMeasure = p.GetInt(S, "UnitsOfMeasure", 0);

    std::vector<uint8_t> rate;
    if (p.GetBinary(S, "MobilePositRate", rate) && rate.size() == sizeof(float)) {
        std::memcpy(&MobilePositRate, rate.data(), sizeof(float));
    }

    Ambiguity = ReadShort(p, "Ambiguity", 0);
    Directivity = ReadShort(p, "Directivity", 0);
    DeletedAfter = p.GetInt(S, "DeletedAfter", 8);
    Lat = p.GetInt(S, "Lat", 32400000);
    Lon = p.GetInt(S, "Lon", 64800000);
    LimitMessages = p.GetInt(S, "LimitMessages", 1000);
    LimitStations = p.GetInt(S, "LimitStations", 2000);
    MyTrackTime = p.GetInt(S, "MyTrackTime", 5);
    MyTrackDistance = p.GetInt(S, "MyTrackDistance", 5);
    MyTrackMax = p.GetInt(S, "MyTrackMax", 100);
    TrackTime = p.GetInt(S, "TrackTime", 0);
    TrackDistance = p.GetInt(S, "TrackDistance", 0);
    TrackMax = p.GetInt(S, "TrackMax", 10);
    Power = ReadShort(p, "Power", 0);
    Height = ReadShort(p, "Height", 0);
    Gain = ReadShort(p, "Gain", 0);
    AutoReplyText = p.GetString(S, "AutoReplyText", "");
    Comments = p.GetString(S, "Comments", "");
    Alias = p.GetString(S, "Alias", "RELAY");
    MyCall = p.GetString(S, "MyCall", "NOCALL");
    Status = p.GetString(S, "Status", "");
    Symbol = FixSymbol(p.GetString(S, "Symbol", "/-"));
    UIDigiPath = p.GetString(S, "UIDigiPath", "WIDE1-1,WIDE2-1");
    destination = std::string("APQ") + kVersionCode;
}

void CStationSettings::Save(Profile& p) {
    Symbol = FixSymbol(Symbol);
    p.WriteInt(S, "AutoReply", AutoReply);
    p.WriteInt(S, "bDeletedAfter", bDeletedAfter);
    p.WriteInt(S, "HasInitPosit", HasInitPosit);
    p.WriteInt(S, "HasPHG", HasPHG);
    p.WriteInt(S, "bLimitMessages", bLimitMessages);
    p.WriteInt(S, "bLimitStations", bLimitStations);
    p.WriteInt(S, "Mobile", Mobile);
    p.WriteInt(S, "bMyMessagesOnly", bMyMessagesOnly);
    p.WriteInt(S, "bMyTrack", bMyTrack);
    p.WriteInt(S, "bMyTrackTime", bMyTrackTime);
    p.WriteInt(S, "bMyTrackDistance", bMyTrackDistance);
    p.WriteInt(S, "bTrack", bTrack);
    p.WriteInt(S, "bTrackTime", bTrackTime);
    p.WriteInt(S, "bTrackDistance", bTrackDistance);
    p.WriteInt(S, "TransmitPosits", TransmitPosits);
    p.WriteInt(S, "TransmitStatus", TransmitStatus);
    p.WriteInt(S, "UnitsOfMeasure", UnitsOfMeasure);
    std::vector<uint8_t> rate(sizeof(float));
    std::memcpy(rate.data(), &MobilePositRate, sizeof(float));
    p.WriteBinary(S, "MobilePositRate", rate);
    p.WriteInt(S, "Ambiguity", Ambiguity);
    p.WriteInt(S, "Directivity", Directivity);
    p.WriteInt(S, "DeletedAfter", DeletedAfter);
    p.WriteInt(S, "Lat", Lat);
    p.WriteInt(S, "Lon", Lon);
    p.WriteInt(S, "LimitMessages", LimitMessages);
    p.WriteInt(S, "LimitStations", LimitStations);
    p.WriteInt(S, "MyTrackTime", MyTrackTime);
    p.WriteInt(S, "MyTrackDistance", MyTrackDistance);
    p.WriteInt(S, "MyTrackMax", MyTrackMax);
    p.WriteInt(S, "TrackTime", TrackTime);
    p.WriteInt(S, "TrackDistance", TrackDistance);
    p.WriteInt(S, "TrackMax", TrackMax);
    p.WriteInt(S, "Power", Power);
    p.WriteInt(S, "Height", Height);
    p.WriteInt(S, "Gain", Gain);
    p.WriteString(S, "AutoReplyText", AutoReplyText);
    p.WriteString(S, "Comments", Comments);
    p.WriteString(S, "Alias", Alias);
    p.WriteString(S, "MyCall", MyCall);
    p.WriteString(S, "Status", Status);
    p.WriteString(S, "Symbol", Symbol);
    p.WriteString(S, "UIDigiPath", UIDigiPath);
}

}  // namespace plovane
