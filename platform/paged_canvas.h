// A canvas of several pages (a document) on which whole pictures of the
// program are placed: page coordinates are 1/96 inch from the page's top
// left corner; between BeginPicture and EndPicture the drawing calls take a
// picture's own pixel coordinates, scaled and moved onto the page and
// clipped to the picture's box, so every scene drawing lands on a page
// unchanged.
#pragma once

#include "platform/canvas.h"

namespace vx {

// Page units per inch.
constexpr int kPageUnitsPerInch = 96;

class PagedCanvas : public Canvas {
public:
    // Ends the current page and starts an empty one (the first page exists
    // from the start).
    virtual void NewPage() = 0;
    // From now on picture pixel (x, y) of the source box (srcLeft, srcTop,
    // srcWidth x srcHeight) is drawn at page point (left + (x - srcLeft) *
    // scale, top + (y - srcTop) * scale), clipped to that box. Width() and
    // Height() give the picture's right and bottom edge (srcLeft + srcWidth,
    // srcTop + srcHeight) meanwhile; Clear fills the box.
    virtual void BeginPicture(int left, int top, double scale, int srcLeft, int srcTop, int srcWidth,
                              int srcHeight) = 0;
    // Back to page coordinates.
    virtual void EndPicture() = 0;
};

} // namespace vx
