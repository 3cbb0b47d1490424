#include "platform/qt/qt_sound.h"

#include <QSoundEffect>
#include <QUrl>
#include <algorithm>

#include "platform/data_files.h"

namespace vx {

QtSound::QtSound(std::function<void()> beep) : beep_(std::move(beep)) {}

// The effects go with the sound. Qt Multimedia's sample cache waits in an
// effect's destructor for its loader thread while a load is under way;
// waiting for the loads here as well (an event loop inside a destructor)
// can leave that wait with nobody to end the thread, so none is attempted.
QtSound::~QtSound() = default;

QString QtSound::Locate(std::string_view fileName) const {
    return QString::fromStdString(FindDataFile(fileName));
}

void QtSound::Play(std::string_view fileName) {
    // Each file is found and loaded once, on its first play; later plays
    // reuse the loaded effect. A file not found is looked for again at the
    // next play, so one put in place later is heard.
    auto it = effects_.find(fileName);
    if (it == effects_.end()) it = effects_.emplace(std::string(fileName), nullptr).first;
    auto& effect = it->second;
    if (!effect) {
        const QString path = Locate(fileName);
        if (path.isEmpty()) return;
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(path)); // loads in the background; play() waits for it
        effect->setVolume(volume_);
    }
    effect->play();
}

void QtSound::SetWaveVolume(std::uint16_t left, std::uint16_t right) {
    // One volume for both channels: the louder one.
    volume_ = static_cast<float>(std::max(left, right)) / 65535.0f;
    for (auto& [name, effect] : effects_)
        if (effect) effect->setVolume(volume_);
}

std::size_t QtSound::LoadedCount() const {
    return static_cast<std::size_t>(
        std::count_if(effects_.begin(), effects_.end(), [](const auto& e) { return e.second != nullptr; }));
}

void QtSound::Beep() {
    if (beep_) beep_();
}

} // namespace vx
