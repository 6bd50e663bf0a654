// SPDX-License-Identifier: GPL-3.0-or-later
// Own-station settings with every stored value away from its default, each within what the
// setup pages offer, so a value lost or swapped on its way somewhere breaks an equality.
#pragma once

#include "core/station_settings.h"

namespace plovane::testing {

inline CStationSettings EveryStationValueChanged() {
    CStationSettings s;
    s.AutoReply = s.HasInitPosit = s.HasPHG = s.bMyMessagesOnly = s.bTrack = true;
    s.bTrackTime = s.bTrackDistance = s.TransmitPosits = s.TransmitStatus = true;
    s.bDeletedAfter = s.bLimitMessages = s.bLimitStations = false;
    s.bMyTrack = s.bMyTrackTime = s.bMyTrackDistance = false;
    s.UnitsOfMeasure = 2;
    s.MobilePositRate = 15.0f;
    s.Ambiguity = 3;
    s.Directivity = 6;
    s.DeletedAfter = 48;
    s.Lat = 15261000;  // 47 36.500 N
    s.Lon = 20759262;  // 122 20.123 W
    s.LimitMessages = 250;
    s.LimitStations = 9999;
    s.MyTrackTime = 8;
    s.MyTrackDistance = 9;
    s.MyTrackMax = 8000;
    s.TrackTime = 2;
    s.TrackDistance = 1;
    s.TrackMax = 250;
    s.Power = 9;
    s.Height = 3;
    s.Gain = 7;
    s.AutoReplyText = "Gone fishing";
    s.Comments = "Plovane station";
    s.Alias = "WIDE1";
    s.MyCall = "W1AW-9";
    s.Status = "QRV 145.500";
    s.Symbol = "D>";
    s.UIDigiPath = "WIDE1-1,WIDE2-1";
    return s;
}

}  // namespace plovane::testing
