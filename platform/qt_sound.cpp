#include "platform/qt_sound.h"

#include <QSoundEffect>
#include <QUrl>
#include <algorithm>

#include "platform/data_files.h"

namespace vx {

QtSound::QtSound(std::function<void()> beep) : beep_(std::move(beep)) {}

QtSound::~QtSound() = default;

void QtSound::Play(std::string_view fileName) {
    const QString path = QString::fromStdString(FindDataFile(fileName));
    if (path.isEmpty()) return;
    auto& effect = effects_[path];
    if (!effect) {
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(path)); // loads in the background; play() waits for it
    }
    effect->setVolume(volume_);
    effect->play();
}

void QtSound::SetWaveVolume(std::uint16_t left, std::uint16_t right) {
    // One volume for both channels: the louder one.
    volume_ = static_cast<float>(std::max(left, right)) / 65535.0f;
    for (auto& [path, effect] : effects_) effect->setVolume(volume_);
}

void QtSound::Beep() {
    if (beep_) beep_();
}

} // namespace vx
