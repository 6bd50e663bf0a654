// SPDX-License-Identifier: GPL-3.0-or-later
// Alert sounds through QSoundEffect.
#include "ui/sound_player.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>
#include <algorithm>

namespace plovane {

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer() = default;  // the effects are children

bool SoundPlayer::Play(const QString& path) {
    if (path.isEmpty() || path.compare("None", Qt::CaseInsensitive) == 0)
        return false;
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    const QString key = info.absoluteFilePath();
    auto found = effects_.find(key);
    if (found == effects_.end()) {
        if (effects_.size() >= kMaxLoaded) {
            const auto oldest = std::min_element(
                effects_.begin(), effects_.end(),
                [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; });
            oldest->second.effect->stop();
            oldest->second.effect->deleteLater();
            effects_.erase(oldest);
        }
        auto* effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(key));
        found = effects_.emplace(key, Loaded{effect, 0}).first;
    }
    found->second.lastUse = ++uses_;
    QSoundEffect* effect = found->second.effect;
    if (effect->isPlaying())
        effect->stop();
    effect->play();  // plays once the file has loaded
    return true;
}

}  // namespace plovane
