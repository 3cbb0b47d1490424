// The window plays what each frame asks for, in order, and nothing else: a
// running main window with the steam display and the error beep on, against
// the same frames advanced without a window.
#include <gtest/gtest.h>

#include <QTimer>

#include <memory>
#include <vector>

#include "gui/main/main_form.h"
#include "model/gear/dimensions.h"
#include "model/gear/midgear.h"
#include "model/workspace/frame_advance.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/recording_sound.h"
#include "platform/sound.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

TEST(WindowSounds, EveryTickPlaysItsFramesSoundsInOrder) {
    for (const bool faulty : {false, true}) {
        SCOPED_TRACE(faulty ? "a forward rod too short" : "the default design");
        auto recording = std::make_unique<RecordingSound>();
        RecordingSound* heard = recording.get();
        TMainForm form(TMainForm::kDefaultTickMs, nullptr, std::make_unique<FixedClock>("1 Jan 2000", "12:00:00"),
                       std::make_unique<LcgRandom>(1), std::move(recording));
        test::Child<QTimer>(form, QStringLiteral("Timer1"))->stop();
        GearState& g = form.Model();
        g.steamDisplayOn = true;
        g.errorBeepOn = true;
        if (faulty) {
            CommitDimension(g, 8, 1.0f);
            FindMidGear(g);
        }
        // The same frames without a window, from the same start.
        auto twin = std::make_unique<GearState>(g);
        RecordingSound expected;
        heard->Reset();
        for (int k = 0; k < 720; ++k) {
            form.Tick();
            PlayFrameSounds(AdvanceFrame(*twin).Items(), expected);
        }
        EXPECT_GT(expected.Calls().size(), 30u);
        EXPECT_EQ(heard->Calls(), expected.Calls());
    }
}

} // namespace
} // namespace vx
