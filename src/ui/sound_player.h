// SPDX-License-Identifier: GPL-3.0-or-later
// The alert sounds: WAV files played without waiting, through Qt Multimedia. One effect per
// file is kept loaded, so a burst of new stations does not reload the file every time.
#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <memory>

class QSoundEffect;

namespace plovane {

// Thread-affine: lives on the user-interface thread; the host queues calls from elsewhere.
class SoundPlayer : public QObject {
    Q_OBJECT
  public:
    // Kept loaded at once; more distinct files than this evict the oldest.
    static constexpr size_t kMaxLoaded = 8;

    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    // Starts the file from its beginning. Nothing for an empty path, "None" (the setting's
    // value for no sound) or a file that does not exist. False when nothing was started.
    bool Play(const QString& path);
    size_t loadedCount() const { return effects_.size(); }

  private:
    struct Loaded {
        QSoundEffect* effect = nullptr;
        unsigned long long lastUse = 0;
    };
    std::map<QString, Loaded> effects_;
    unsigned long long uses_ = 0;
};

}  // namespace plovane
