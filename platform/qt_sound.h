// Sound through Qt Multimedia. Sound files are looked up by name among the
// program's data files (platform/data_files.h) when played; a missing file
// or audio device is silent.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "platform/sound.h"

class QSoundEffect;

namespace vx {

class QtSound final : public Sound {
public:
    // `beep` makes the system beep (QApplication::beep in the program; this
    // library does not link Qt Widgets). Without it Beep() is silent.
    explicit QtSound(std::function<void()> beep = {});
    ~QtSound() override;

    void Play(std::string_view fileName) override;
    void SetWaveVolume(std::uint16_t left, std::uint16_t right) override;
    void Beep() override;

private:
    std::function<void()> beep_;
    float volume_ = 0.5f;
    std::map<QString, std::unique_ptr<QSoundEffect>> effects_; // by absolute path
};

} // namespace vx
