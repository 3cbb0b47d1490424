// A picture as a file: the main window's picture or a diagram, drawn afresh
// on the canvas of the file's kind (PNG through the image canvas, SVG, PDF
// through the PDF canvas on a page of the picture's size) and written
// through the one safe file writer. The windows' "Export Picture" and the
// command line's "render frame" and "diagram --out" all write here, so the
// same state gives the same file.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string_view>

#include "model/state/gear_state.h"
#include "scene/diagrams/diagram_registry.h"

namespace vx {

class Canvas;

enum class PictureKind { Png, Svg, Pdf };

// The kind a file name asks for by its suffix, in any case: ".png", ".svg",
// ".pdf". A name without a suffix ("-", a device, "picture") is PNG; a
// suffix of another kind (".jpg") gives none.
std::optional<PictureKind> PictureKindOf(std::string_view path);
std::optional<PictureKind> PictureKindOf(const QString& path);

// The kinds, for messages: "PNG (.png), SVG (.svg) and PDF (.pdf)".
std::string_view PictureKindNames();

// The suffix of the file name at the end of a path, with its dot ("" when
// it has none): ".tar" of "a/b.tar", "" of "a.d/b" and of ".profile".
std::string_view FileSuffix(std::string_view path);

// A picture to write: its size and how to draw it on a fresh canvas of
// that size.
struct PictureSource {
    int width = 0, height = 0;
    std::function<void(Canvas&)> draw;
};

// The main window's picture: the frame composed again on a copy of the
// model, silent, the steam dots from a fixed seed (the command line's).
PictureSource MainWindowPicture(const GearState& g);

// A diagram as "vexlin-cli diagram NAME" draws it, on a copy of the model;
// width 0 when there is no diagram of that name.
PictureSource DiagramPicture(const GearState& g, std::string_view name, const DiagramRequest& request);
PictureSource DiagramPicture(const GearState& g, const DiagramEntry& diagram, const DiagramRequest& request);

// Draws the picture on the canvas of `kind` and writes the file. Returns ""
// when done, else "cannot write PATH: REASON"; an existing file is then left
// as it was.
QString WritePicture(const QString& path, PictureKind kind, const PictureSource& picture);

} // namespace vx
