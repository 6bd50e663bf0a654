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
    return form;
}

void StoreTncForm(const TncForm& form, const std::vector<TncTypeChoice>& files,
                  CTncSettings& settings) {
    settings.enabled = form.enabled;
    StoreSerial(form.serial, settings);
    settings.tncCommandFile = TncTypePathAt(files, form.type);
}

GpsForm GpsFormFrom(const CGpsSettings& settings) {
    GpsForm form;
    form.enabled = settings.enabled;
    form.source = settings.source;
    form.serial = SerialFormFrom(SerialValuesOf(settings));
    return form;
}

void StoreGpsForm(const GpsForm& form, CGpsSettings& settings) {
    settings.enabled = form.enabled;
    if (form.source >= kGpsFromTncMonitor && form.source <= kGpsSerialPort)
        settings.source = form.source;
    StoreSerial(form.serial, settings);
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
