// The paper a printout is made for: the size named by the user's locale
// (LC_PAPER), A4 or US Letter.
#pragma once

namespace vx {

enum class Paper { A4, Letter };

struct PaperSize {
    int width, height; // page units, 1/96 inch
};

PaperSize SizeOf(Paper p);

// Letter for a paper 216 mm wide (8.5 inches), A4 for anything else.
Paper PaperOfWidth(int widthMm);

// The locale's paper: LC_PAPER of the environment (LC_ALL, LC_PAPER, LANG,
// as the C library reads them); A4 where the C library does not say.
Paper LocalePaper();

} // namespace vx
