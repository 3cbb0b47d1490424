#include "platform/qt/qt_sound.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>
#include <algorithm>
#include <map>

#include "platform/data_files.h"

namespace vx {
namespace {

// One effect per sound file for the whole process, made on its first play
// and never destroyed. Qt Multimedia's QSoundEffect destructor waits for the
// sample cache's loader thread; destroyed while its sample is still loading
// (a sound played just before a window or a test ends), that wait can block
// for ever. Effects that are never destroyed never wait; they stay reachable
// from here, and the sample cache releases their samples when the program
// ends.
QSoundEffect* SharedEffect(const QString& found) {
    static auto* const effects = new std::map<QString, QSoundEffect*>();
    const QString path = QFileInfo(found).absoluteFilePath();
    QSoundEffect*& effect = (*effects)[path];
    if (effect == nullptr) {
        effect = new QSoundEffect();
        effect->setSource(QUrl::fromLocalFile(path)); // loads in the background; play() waits for it
    }
    return effect;
}

} // namespace

QtSound::QtSound(std::function<void()> beep) : beep_(std::move(beep)) {}

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
    QSoundEffect*& effect = it->second;
    if (!effect) {
        const QString path = Locate(fileName);
        if (path.isEmpty()) return;
        effect = SharedEffect(path);
    }
    effect->setVolume(volume_); // this sound's volume; the effect may be another's too
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
