#include "platform/qt/qt_sound.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "platform/data_files.h"

namespace vx {

QtSound::QtSound(std::function<void()> beep) : beep_(std::move(beep)) {}

QtSound::~QtSound() {
    // A sound effect loads its file on Qt Multimedia's loader thread. Ending
    // the program (or a test) while a load is under way leaves the loader's
    // buffers behind, so the effects are stopped and each load is waited for
    // (at most two seconds in all: a load takes milliseconds) before the
    // effects go.
    QElapsedTimer waited;
    waited.start();
    for (auto& [name, effect] : effects_) {
        if (!effect) continue;
        effect->stop();
        while (effect->status() == QSoundEffect::Loading && waited.elapsed() < 2000 &&
               QCoreApplication::instance()) {
            QEventLoop loop;
            QObject::connect(effect.get(), &QSoundEffect::statusChanged, &loop, &QEventLoop::quit);
            QTimer::singleShot(50, &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        effect.reset();
    }
}

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
