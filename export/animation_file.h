// One revolution of the running gear as a file: an animated GIF that
// loops, or numbered PNG frames (frame-0000.png, frame-0001.png, ...) in a
// folder. Drawn on a copy-free image canvas from the state given, silent,
// the steam dots from a fixed seed, and written through the one safe file
// writer. The window's "Export Animation" and the command line's "render
// animation" both write here.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string_view>

#include "model/state/gear_state.h"
#include "scene/frame/animation_frames.h"

namespace vx {

enum class AnimationKind { Gif, Frames };

// The kind a path asks for: a folder of frames when it ends in "/" or names
// an existing folder; else a GIF when its file name has no suffix or ".gif"
// in any case; none for another suffix.
std::optional<AnimationKind> AnimationKindOf(const QString& path);

// The kinds, for messages.
std::string_view AnimationKindNames();

// How a write ended. `message` names the file and the reason of a failure.
struct AnimationOutcome {
    bool written = false;
    bool cancelled = false;
    QString message;
    // Frames: the frame files in the folder that this animation would not
    // have written over, when they made it refuse the folder.
    QStringList otherFrames;
};

// progress(done, total) after each frame; false cancels (nothing written).
using AnimationProgress = std::function<bool(long long done, long long total)>;

// The animation of `g` (run on a copy) as a GIF file at `path`.
AnimationOutcome WriteAnimationGif(const GearState& g, const AnimationSettings& a, const QString& path,
                                   const AnimationProgress& progress = {});

// What to do with frame files of an earlier animation in the folder (names
// of the form frame-NNNN.png) that this one does not write over: refuse the
// folder before drawing anything, or remove them once every new frame is
// written. Other files in the folder are never touched.
enum class OtherFrames { Refuse, Remove };

// The animation of `g` (run on a copy) as PNG frames in `folder`, which is
// made when missing. Frame k is frame-K.png, K at least four digits.
AnimationOutcome WriteAnimationFrames(const GearState& g, const AnimationSettings& a, const QString& folder,
                                      OtherFrames others);

// The name of frame k of an animation of `total` frames.
QString FrameFileName(long long k, long long total);

} // namespace vx
