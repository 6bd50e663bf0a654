// SPDX-License-Identifier: GPL-3.0-or-later
// The communications setup pages without their widgets.
#include "ui/logic/setup_comm.h"

namespace plovane {
namespace {

template <typename Settings>
SerialValues SerialValuesOf(const Settings& settings) {
    return {settings.port, settings.baudRate, settings.dataBits, settings.parity,
            settings.stopBits};
}

template <typename Settings>
void StoreSerial(const SerialForm& form, Settings& settings) {
    SerialValues values = SerialValuesOf(settings);
    StoreSerialForm(form, values);
    settings.port = values.port;
    settings.baudRate = values.baudRate;
    settings.dataBits = values.dataBits;
    settings.parity = values.parity;
    settings.stopBits = values.stopBits;
}

}  // namespace

std::vector<std::string> TncTypeTexts(const std::vector<TncTypeChoice>& files) {
    std::vector<std::string> texts{kNoTncTypeText};
    for (const TncTypeChoice& file : files) {
        texts.push_back(file.name);
    }
    return texts;
}

int TncTypeIndexOf(const std::vector<TncTypeChoice>& files, const std::string& path) {
    if (path.empty())
        return 0;
    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i].path == path)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

std::string TncTypePathAt(const std::vector<TncTypeChoice>& files, int index) {
    if (index < 1 || index > static_cast<int>(files.size()))
        return {};
    return files[static_cast<size_t>(index - 1)].path;
}

int TncTypeIndexAfterRefresh(const std::vector<TncTypeChoice>& old, int index,
                             const std::vector<TncTypeChoice>& fresh) {
    return TncTypeIndexOf(fresh, TncTypePathAt(old, index));
}

TncForm TncFormFrom(const CTncSettings& settings, const std::vector<TncTypeChoice>& files) {
    TncForm form;
    form.enabled = settings.enabled;
    form.serial = SerialFormFrom(SerialValuesOf(settings));
    form.type = TncTypeIndexOf(files, settings.tncCommandFile);
    form.mode = settings.mode;
    form.kissHost = settings.kissHost;
    form.kissPort = settings.kissPort;
    form.txDelay = KissParameterText(settings.kissTxDelay);
    form.persistence = KissParameterText(settings.kissPersistence);
    form.slotTime = KissParameterText(settings.kissSlotTime);
    form.fullDuplex = settings.kissFullDuplex == 1;
    return form;
}

int32_t KissParameterFromText(const std::string& text) {
    const size_t begin = text.find_first_not_of(' ');
    const size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos || end - begin >= 3)
        return -1;
    int32_t value = 0;
    for (size_t i = begin; i <= end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value <= 255 ? value : -1;
}

std::string KissParameterText(int32_t value) {
    return value >= 0 && value <= 255 ? std::to_string(value) : std::string();
}

void StoreTncForm(const TncForm& form, const std::vector<TncTypeChoice>& files,
                  CTncSettings& settings) {
    settings.enabled = form.enabled;
    StoreSerial(form.serial, settings);
    settings.tncCommandFile = TncTypePathAt(files, form.type);
    if (form.mode >= kTncText && form.mode <= kTncKissTcp)
        settings.mode = form.mode;
    settings.kissHost = form.kissHost;
    settings.kissPort = form.kissPort;
    settings.kissTxDelay = KissParameterFromText(form.txDelay);
    settings.kissPersistence = KissParameterFromText(form.persistence);
    settings.kissSlotTime = KissParameterFromText(form.slotTime);
    // Full duplex is sent only when asked for; half duplex is every TNC's default.
    settings.kissFullDuplex = form.fullDuplex ? 1 : -1;
}

GpsForm GpsFormFrom(const CGpsSettings& settings) {
    GpsForm form;
    form.enabled = settings.enabled;
    form.source = settings.source;
    form.serial = SerialFormFrom(SerialValuesOf(settings));
    form.gpsdHost = settings.gpsdHost;
    form.gpsdPort = settings.gpsdPort;
    return form;
}

void StoreGpsForm(const GpsForm& form, CGpsSettings& settings) {
    settings.enabled = form.enabled;
    if (form.source >= kGpsFromTncMonitor && form.source <= kGpsGpsd)
        settings.source = form.source;
    StoreSerial(form.serial, settings);
    settings.gpsdHost = form.gpsdHost;
    settings.gpsdPort = form.gpsdPort;
}

NetForm NetFormFrom(const CNetSettings& settings) {
    return {settings.enabled, settings.autoReconnect, settings.hostAddress, settings.hostPort,
            settings.netFilter};
}

void StoreNetForm(const NetForm& form, CNetSettings& settings) {
    settings.enabled = form.enabled;
    settings.autoReconnect = form.autoReconnect;
    settings.hostAddress = form.hostAddress;
    settings.hostPort = form.hostPort;
    settings.netFilter = form.netFilter;
}

}  // namespace plovane
