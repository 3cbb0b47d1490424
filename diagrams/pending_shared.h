// Stand-ins for the parts every diagram shares, until the shared diagram
// helpers are in: number format, text style, header, dynamic-variable block.
#pragma once

#include <cstddef>

#include "model/gear_state.h"
#include "platform/canvas.h"

namespace vx::pending {

// Str(v:w:d) into buf (at most n-1 characters); returns buf.
const char* StrFixed(char* buf, std::size_t n, double v, int w, int d);
// Str(n:w).
const char* StrInt(char* buf, std::size_t n, int v, int w);

TextStyle DiagramText(Rgb color = colors::kBlack, bool bold = false);

void DrawHeaderTop(const GearState& g, Canvas& c);
void DrawHeaderRow(const GearState& g, Canvas& c, int i, float position);
void DrawDynVarBlock(GearState& g, Canvas& c);

} // namespace vx::pending
