// The sound seams: the recording one for tests and the Qt one, which must
// stay quiet and quick when files or the audio device are missing.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include <gtest/gtest.h>

#include "platform/qt/qt_sound.h"
#include "platform/recording_sound.h"

namespace vx {
namespace {

TEST(RecordingSound, KeepsTheCallsInOrder) {
    RecordingSound sound;
    Sound& s = sound;
    s.SetWaveVolume(0x8000, 0x8000);
    s.Play("Exhaust.wav");
    s.Beep();
    s.Play("Error.wav");
    using K = RecordingSound::Kind;
    const std::vector<RecordingSound::Call> expected = {
        {K::Volume, {}, 0x8000, 0x8000}, {K::Play, "Exhaust.wav"}, {K::Beep, {}}, {K::Play, "Error.wav"}};
    EXPECT_EQ(sound.Calls(), expected);
    EXPECT_EQ(sound.Count(K::Play), 2);
    sound.Reset();
    EXPECT_TRUE(sound.Calls().empty());
}

// A short silent mono 8-bit WAV file.
QByteArray SilentWav() {
    const quint32 rate = 8000, samples = 800;
    QByteArray b;
    auto u32 = [&](quint32 v) { for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF)); };
    auto u16 = [&](quint16 v) { b.append(char(v & 0xFF)); b.append(char(v >> 8)); };
    b.append("RIFF");
    u32(36 + samples);
    b.append("WAVEfmt ");
    u32(16);
    u16(1);    // PCM
    u16(1);    // mono
    u32(rate);
    u32(rate); // bytes per second
    u16(1);    // block align
    u16(8);    // bits per sample
    b.append("data");
    u32(samples);
    b.append(QByteArray(samples, char(0x80)));
    return b;
}

class QtSoundTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        old_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
    }
    void TearDown() override { QDir::setCurrent(old_); }
    QTemporaryDir dir_;
    QString old_;
};

TEST_F(QtSoundTest, MissingAndPresentFilesNeverFail) {
    QFile wav(dir_.filePath("Exhaust.wav"));
    ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
    wav.write(SilentWav());
    wav.close();
    QFile junk(dir_.filePath("Error.wav"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a sound");
    junk.close();

    QtSound sound;
    for (const char* name : {"Exhaust.wav", "Error.wav", "Missing.wav", "", "../nowhere/x.wav"}) {
        SCOPED_TRACE(name);
        sound.SetWaveVolume(0x0700, 0x0700);
        sound.Play(name);
        sound.Play(name); // again while it may still play
        sound.SetWaveVolume(0xFFFF, 0);
    }
    sound.Beep(); // no beep given: silent
}

TEST_F(QtSoundTest, BeepUsesTheGivenBeep) {
    int beeps = 0;
    QtSound sound([&] { ++beeps; });
    sound.Beep();
    sound.Beep();
    EXPECT_EQ(beeps, 2);
}

// Each file is loaded once, on its first play; a file missing at first is
// found once it is there.
TEST_F(QtSoundTest, EachFileLoadedOnce) {
    QtSound sound;
    for (int i = 0; i < 50; ++i) sound.Play("Chuff.wav");
    EXPECT_EQ(sound.LoadedCount(), 0u);
    QFile wav(dir_.filePath("Chuff.wav"));
    ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
    wav.write(SilentWav());
    wav.close();
    for (int i = 0; i < 50; ++i) sound.Play("Chuff.wav");
    EXPECT_EQ(sound.LoadedCount(), 1u);
}

} // namespace
} // namespace vx
