// SPDX-License-Identifier: GPL-3.0-or-later
// TNC control: settings and the command sequences.
#include "comm/tnc_port.h"

#include "core/latin1.h"

namespace plovane {

void CTncSettings::Load(const Profile& p) {
    enabled = p.GetInt(kSection, "TNCEnabled", 0) != 0;
    baudRate = p.GetInt(kSection, "TNCBaudRate", 9600);
    port = p.GetString(kSection, "TNCCommPort", "COM1:");
    dataBits = p.GetInt(kSection, "TNCDataBits", 8);
    parity = p.GetString(kSection, "TNCParity", "N");
    stopBits = p.GetString(kSection, "TNCStopBits", "1");
    tncCommandFile = p.GetString(kSection, "TNCType", "");
    mode = p.GetInt(kSection, "TNCMode", kTncText);
    if (mode < kTncText || mode > kTncKissTcp)
        mode = kTncText;
    kissHost = p.GetString(kSection, "KISSHost", "localhost");
    kissPort = p.GetString(kSection, "KISSPort", "8001");
    kissChannel = p.GetInt(kSection, "KISSChannel", 0);
    kissTxDelay = p.GetInt(kSection, "KISSTxDelay", -1);
    kissPersistence = p.GetInt(kSection, "KISSPersistence", -1);
    kissSlotTime = p.GetInt(kSection, "KISSSlotTime", -1);
    kissFullDuplex = p.GetInt(kSection, "KISSFullDuplex", -1);
}

void CTncSettings::Save(Profile& p) const {
    p.WriteInt(kSection, "TNCEnabled", enabled ? 1 : 0);
    p.WriteInt(kSection, "TNCBaudRate", baudRate);
    p.WriteString(kSection, "TNCCommPort", port);
    p.WriteInt(kSection, "TNCDataBits", dataBits);
    p.WriteString(kSection, "TNCParity", parity);
    p.WriteString(kSection, "TNCStopBits", stopBits);
    p.WriteString(kSection, "TNCType", tncCommandFile);
    p.WriteInt(kSection, "TNCMode", mode);
    p.WriteString(kSection, "KISSHost", kissHost);
    p.WriteString(kSection, "KISSPort", kissPort);
    p.WriteInt(kSection, "KISSChannel", kissChannel);
    p.WriteInt(kSection, "KISSTxDelay", kissTxDelay);
    p.WriteInt(kSection, "KISSPersistence", kissPersistence);
    p.WriteInt(kSection, "KISSSlotTime", kissSlotTime);
    p.WriteInt(kSection, "KISSFullDuplex", kissFullDuplex);
}

CTncPort::CTncPort(ThreadPoster& poster, NoticeSink& notices)
    : CSerialPort(poster, notices, "TNC", "PLOVANE_TNC_MUTEX", "PLOVANE_TNC_EVENT") {}

void CTncPort::LoadSettings(const Profile& profile) {
    if (settings_ != nullptr) {
        settings_->Load(profile);
        // A KISS TNC is driven by the KISS port; this one stays closed.
        SetParameters(
            SerialParametersOf(*settings_, settings_->enabled && settings_->mode == kTncText));
        commandFile_ = settings_->tncCommandFile;
    }
}

void CTncPort::SendWakeUp() {
    QueueText("\xC0\xFF", 500, 500);  // KISS FEND + "return": leave KISS mode if it was on
    QueueText("\x03\x03\x03", 1000, 2000);
    QueueText("\x03\r\r", 500, 500);
}

void CTncPort::SendInitFile() {
    ExecuteCommandFile(commandFile_, "INIT");
}

void CTncPort::SendInitCommands() {
    if (!stationSettings_)
        return;
    const CStationSettings& s = *stationSettings_;
    QueueText("MON ON\r", 500, 0);
    QueueText("MYCALL " + s.MyCall + "\r", 500, 0);
    QueueText("MYALIAS " + s.Alias + "\r", 500, 0);
    // "UNPROTO APQ102 VIA" with nothing after it is a syntax error on the TNC, which would
    // keep its old destination; without a path the destination goes alone.
    std::string unproto = "UNPROTO " + s.destination;
    if (!latin1::Trim(s.UIDigiPath).empty())
        unproto += " VIA " + s.UIDigiPath;
    QueueText(unproto + "\r", 500, 0);
    QueueText("CONV\r", 500, 0);
}

void CTncPort::SendBreak() {
    QueueText("\x03\r", 200, 300);
    QueueText("\r\r", 200, 300);
}

void CTncPort::SendRestoreFile() {
    ExecuteCommandFile(commandFile_, "RESTORE");
}

void CTncPort::SendMonitorOff() {
    QueueText("MON OFF\r", 250, 0);
}

void CTncPort::SendStationSetup() {
    if (!IsOpen())
        return;
    SendBreak();
    SendInitCommands();
}

void CTncPort::SendGpsRequest() {
    QueueText("\x05", 0, 0);
}

}  // namespace plovane
