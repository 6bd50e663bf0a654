// SPDX-License-Identifier: GPL-3.0-or-later
// Locating the bundled data folder.
#include "ui/data_paths.h"

#include <QFile>
#include <QFileInfo>

#include "app/data_dir.h"

namespace plovane {
namespace {

QString Existing(const QString& path) {
    return QFileInfo::exists(path) ? path : QString();
}

}  // namespace

QString BundledDataDir() {
    return QFile::decodeName(BundledDataPath().c_str());
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
