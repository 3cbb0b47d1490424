#include "platform/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace vx {
namespace {

constexpr std::array<Rgb, 16> kClassic = {{
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},     {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
}};

constexpr std::uint32_t kRgbMask = 0xFFFFFFu;

std::uint32_t Word(Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

int Write(GifFileType* f, const GifByteType* data, int n) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(f->UserData);
    if (n > 0) out->insert(out->end(), data, data + n);
    return n;
}

std::string GifError(const char* what, int code) {
    const char* text = GifErrorString(code);
    return std::string(what) + ": " + (text != nullptr ? text : "GIF encoder error");
}

} // namespace

std::span<const Rgb> ClassicPalette() { return kClassic; }

struct GifWriter::Impl {
    int width = 0, height = 0;
    std::vector<std::uint32_t> palette; // as 0x00RRGGBB
    int transparent = 0;                // the index after the palette
    int delayCs = 4;
    GifFileType* gif = nullptr;
    std::vector<std::uint8_t> out;
    std::vector<std::uint32_t> previous; // the last frame, 0x00RRGGBB
    std::vector<GifPixelType> line;
    std::uint32_t lastWord = ~0u; // one-entry cache of IndexOf
    GifPixelType lastIndex = 0;

    GifPixelType IndexOf(std::uint32_t word) {
        if (word == lastWord) return lastIndex;
        int best = 0;
        long long bestDistance = -1;
        for (std::size_t i = 0; i < palette.size(); ++i) {
            const std::uint32_t p = palette[i];
            if (p == word) {
                best = static_cast<int>(i);
                break;
            }
            const auto channel = [](std::uint32_t a, std::uint32_t b, int shift) {
                const long long d = static_cast<long long>((a >> shift) & 0xFF) - static_cast<long long>((b >> shift) & 0xFF);
                return d * d;
            };
            const long long d = channel(p, word, 16) + channel(p, word, 8) + channel(p, word, 0);
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(i);
            }
        }
        lastWord = word;
        lastIndex = static_cast<GifPixelType>(best);
        return lastIndex;
    }
};

GifWriter::GifWriter(int width, int height, std::span<const Rgb> palette, int delayCs) : d_(std::make_unique<Impl>()) {
    Impl& d = *d_;
    d.width = std::clamp(width, 1, 65535);
    d.height = std::clamp(height, 1, 65535);
    d.delayCs = std::clamp(delayCs, 0, 65535);
    const std::size_t colours = std::clamp<std::size_t>(palette.size(), 1, 255);
    for (std::size_t i = 0; i < colours; ++i) d.palette.push_back(i < palette.size() ? Word(palette[i]) : 0);
    d.transparent = static_cast<int>(colours);

    // The colour table holds the palette and the transparent entry, in a
    // power of two of at least 2 entries.
    int bits = 1;
    while ((1 << bits) < static_cast<int>(colours) + 1) ++bits;
    std::vector<GifColorType> table(static_cast<std::size_t>(1) << bits);
    for (std::size_t i = 0; i < colours; ++i) {
        const std::uint32_t w = d.palette[i];
        table[i] = {static_cast<GifByteType>(w >> 16), static_cast<GifByteType>(w >> 8), static_cast<GifByteType>(w)};
    }

    int code = 0;
    d.gif = EGifOpen(&d.out, Write, &code);
    if (d.gif == nullptr) {
        error_ = GifError("cannot start the GIF encoder", code);
        return;
    }
    EGifSetGifVersion(d.gif, true);
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(table.size()), table.data());
    const bool screen = map != nullptr && EGifPutScreenDesc(d.gif, d.width, d.height, bits, 0, map) == GIF_OK;
    GifFreeMapObject(map);
    // Loop for ever: the application extension every viewer honours.
    static const GifByteType kNetscape[] = "NETSCAPE2.0";
    static const GifByteType kLoop[] = {1, 0, 0};
    const bool loop = screen && EGifPutExtensionLeader(d.gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
                      EGifPutExtensionBlock(d.gif, 11, kNetscape) == GIF_OK &&
                      EGifPutExtensionBlock(d.gif, 3, kLoop) == GIF_OK &&
                      EGifPutExtensionTrailer(d.gif) == GIF_OK;
    if (!loop) error_ = GifError("cannot write the GIF header", d.gif->Error);
}

GifWriter::~GifWriter() {
    if (d_->gif != nullptr) EGifCloseFile(d_->gif, nullptr);
}

bool GifWriter::AddFrame(const std::uint32_t* pixels, std::ptrdiff_t stride) {
    Impl& d = *d_;
    if (!error_.empty() || d.gif == nullptr) return false;
    const auto w = static_cast<std::size_t>(d.width);
    const auto h = static_cast<std::size_t>(d.height);
    const bool first = d.previous.empty();
    if (first) d.previous.assign(w * h, 0);

    // The rectangle that changed (all of the first frame).
    std::size_t left = w, right = 0, top = h, bottom = 0; // right, bottom exclusive
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        const std::uint32_t* old = d.previous.data() + y * w;
        std::size_t x0 = 0;
        if (!first) {
            while (x0 < w && (row[x0] & kRgbMask) == old[x0]) ++x0;
            if (x0 == w) continue;
        }
        std::size_t x1 = w;
        if (!first)
            while (x1 > x0 && (row[x1 - 1] & kRgbMask) == old[x1 - 1]) --x1;
        left = std::min(left, x0);
        right = std::max(right, x1);
        top = std::min(top, y);
        bottom = y + 1;
    }
    const bool unchanged = top >= bottom;
    if (unchanged) left = 0, right = 1, top = 0, bottom = 1; // one transparent pixel

    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSE_DO_NOT;
    gcb.UserInputFlag = false;
    gcb.DelayTime = d.delayCs;
    gcb.TransparentColor = first ? NO_TRANSPARENT_COLOR : d.transparent;
    GifByteType ext[4];
    const auto extLength = static_cast<int>(EGifGCBToExtension(&gcb, ext));
    if (EGifPutExtension(d.gif, GRAPHICS_EXT_FUNC_CODE, extLength, ext) != GIF_OK ||
        EGifPutImageDesc(d.gif, static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                         static_cast<int>(bottom - top), false, nullptr) != GIF_OK) {
        error_ = GifError("cannot write a GIF frame", d.gif->Error);
        return false;
    }
    d.line.resize(right - left);
    for (std::size_t y = top; y < bottom; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        std::uint32_t* old = d.previous.data() + y * w;
        for (std::size_t x = left; x < right; ++x) {
            const std::uint32_t word = row[x] & kRgbMask;
            if (!first && (unchanged || word == old[x])) {
                d.line[x - left] = static_cast<GifPixelType>(d.transparent);
            } else {
                d.line[x - left] = d.IndexOf(word);
                old[x] = word;
            }
        }
        if (EGifPutLine(d.gif, d.line.data(), static_cast<int>(d.line.size())) != GIF_OK) {
            error_ = GifError("cannot write a GIF frame", d.gif->Error);
            return false;
        }
    }
    ++frames_;
    return true;
}

bool GifWriter::Finish(std::vector<std::uint8_t>& bytes) {
    Impl& d = *d_;
    if (error_.empty() && frames_ == 0) error_ = "no frames to write";
    if (d.gif != nullptr) {
        int code = 0;
        const bool closed = EGifCloseFile(d.gif, &code) == GIF_OK;
        d.gif = nullptr;
        if (!closed && error_.empty()) error_ = GifError("cannot end the GIF file", code);
    }
    if (!error_.empty()) return false;
    bytes = std::move(d.out);
    d.out.clear();
    return true;
}

} // namespace vx
