// Profile on QSettings. Text values hold received bytes, so they are stored as Latin-1
// (one character per byte) and come back unchanged.
#include "app/qsettings_profile.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <mutex>

namespace plovane {
namespace {

QString Key(const std::string& section, const std::string& key) {
    return QString::fromLatin1(section.data(), static_cast<qsizetype>(section.size())) + "/" +
           QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
}

}  // namespace

struct QSettingsProfile::Impl {
    std::unique_ptr<QSettings> settings;
    mutable std::mutex mutex;
};

QSettingsProfile::QSettingsProfile() : impl_(std::make_unique<Impl>()) {
    impl_->settings = std::make_unique<QSettings>("Drennic", "Plovane");
}

QSettingsProfile::QSettingsProfile(const std::string& iniPath) : impl_(std::make_unique<Impl>()) {
    impl_->settings =
        std::make_unique<QSettings>(QString::fromLocal8Bit(iniPath.c_str()), QSettings::IniFormat);
}

QSettingsProfile::~QSettingsProfile() { Sync(); }

int32_t QSettingsProfile::GetInt(const std::string& section, const std::string& key,
                                 int32_t defaultValue) const {
    std::lock_guard lock(impl_->mutex);
    const QVariant value = impl_->settings->value(Key(section, key));
    if (!value.isValid()) return defaultValue;
    bool ok = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&ok);
    if (!ok || number < INT32_MIN || number > INT32_MAX) return defaultValue;
    return static_cast<int32_t>(number);
}

std::string QSettingsProfile::GetString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) const {
    std::lock_guard lock(impl_->mutex);
    const QVariant value = impl_->settings->value(Key(section, key));
    if (!value.isValid()) return defaultValue;
    const QByteArray bytes = value.toString().toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool QSettingsProfile::GetBinary(const std::string& section, const std::string& key,
                                 std::vector<uint8_t>& value) const {
    std::lock_guard lock(impl_->mutex);
    value.clear();
    const QVariant stored = impl_->settings->value(Key(section, key));
    if (!stored.isValid()) return false;
    const QByteArray bytes = stored.toByteArray();
    value.assign(bytes.begin(), bytes.end());
    return true;
}

bool QSettingsProfile::WriteInt(const std::string& section, const std::string& key,
                                int32_t value) {
    std::lock_guard lock(impl_->mutex);
    impl_->settings->setValue(Key(section, key), value);
    return impl_->settings->status() == QSettings::NoError;
}

bool QSettingsProfile::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value) {
    std::lock_guard lock(impl_->mutex);
    impl_->settings->setValue(
        Key(section, key), QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size())));
    return impl_->settings->status() == QSettings::NoError;
}

bool QSettingsProfile::WriteBinary(const std::string& section, const std::string& key,
                                   const std::vector<uint8_t>& value) {
    std::lock_guard lock(impl_->mutex);
    impl_->settings->setValue(
        Key(section, key),
        QByteArray(reinterpret_cast<const char*>(value.data()), static_cast<qsizetype>(value.size())));
    return impl_->settings->status() == QSettings::NoError;
}

void QSettingsProfile::Sync() {
    std::lock_guard lock(impl_->mutex);
    impl_->settings->sync();
}

}  // namespace plovane
