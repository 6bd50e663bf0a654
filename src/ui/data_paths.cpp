// Locating the bundled data folder.
#include "ui/data_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace plovane {
namespace {

QString Existing(const QString& path) {
    return QFileInfo::exists(path) ? path : QString();
}

}  // namespace

QString BundledDataDir() {
    QStringList candidates;
#ifdef PLOVANE_DATA_DIR
    candidates << QString::fromUtf8(PLOVANE_DATA_DIR);
#endif
    if (QCoreApplication::instance() != nullptr) {
        candidates << QCoreApplication::applicationDirPath() + "/../share/plovane/data";
    }
    for (const QString& dir : candidates) {
        if (QFileInfo(dir).isDir())
            return QDir(dir).absolutePath();
    }
    return {};
}

QString HelpPagePath() {
    const QString dir = BundledDataDir();
    return dir.isEmpty() ? QString() : Existing(dir + "/help/index.html");
}

QString WorldMapPath() {
    const QString dir = BundledDataDir();
    return dir.isEmpty() ? QString() : Existing(dir + "/maps/world.map");
}

}  // namespace plovane
