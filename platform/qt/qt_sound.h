// Sound through Qt Multimedia. Sound files are looked up by name among the
// program's data files (platform/data_files.h) when played; a missing file
// or audio device is silent.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>

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

    // How many sound files are loaded (each once, whatever the plays).
    std::size_t LoadedCount() const;

private:
    // The file to play for a name; empty when there is none.
    QString Locate(std::string_view fileName) const;

    std::function<void()> beep_;
    float volume_ = 0.5f;
    // The effect of each file name played, found on its first play: one
    // effect per file for the whole process (see qt_sound.cpp).
    std::map<std::string, QSoundEffect*, std::less<>> effects_;
};

} // namespace vx
