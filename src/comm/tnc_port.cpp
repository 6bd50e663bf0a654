// SPDX-License-Identifier: GPL-3.0-or-later
// TNC control: settings and the command sequences.
#include "comm/tnc_port.h"

#include "core/latin1.h"

namespace plovane {

CTncPort::CTncPort(ThreadPoster& poster, NoticeSink& notices)
    : CSerialPort(poster, notices, "TNC", "PLOVANE_TNC_MUTEX", "PLOVANE_TNC_EVENT") {}

void CTncPort::SetSettings(const CTncSettings& settings) {
    SetParameters(SerialParametersOf(settings, settings.enabled && settings.mode == kTncText));
    commandFile_ = settings.tncCommandFile;
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
