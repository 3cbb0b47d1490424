#include "platform/paper_size.h"

#include <langinfo.h>
#include <locale.h>


namespace vx {

PaperSize SizeOf(Paper p) {
    // A4: 210 x 297 mm; Letter: 8.5 x 11 in.
    return p == Paper::Letter ? PaperSize{816, 1056} : PaperSize{794, 1123};
}

Paper PaperOfWidth(int widthMm) { return widthMm == 216 ? Paper::Letter : Paper::A4; }

Paper LocalePaper() {
#if defined(__GLIBC__)
    // A locale of its own: the process locale may be "C" whatever the
    // environment says.
    const locale_t loc = newlocale(LC_PAPER_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return Paper::A4;
    // The C library hands the number over in the first bytes of the
    // pointer's place; the rest of it is undefined.
    union {
        char* text;
        unsigned int number;
    } width{};
    width.text = nl_langinfo_l(_NL_PAPER_WIDTH, loc);
    freelocale(loc);
    return PaperOfWidth(static_cast<int>(width.number));
#else
    return Paper::A4;
#endif
}

} // namespace vx
