// Reads an animated GIF back with giflib's decoder, frame by frame as a
// viewer shows it, for tests that compare the frames with other pictures.
#pragma once

#include <gif_lib.h>

#include <QImage>
#include <QString>

#include <string>
#include <vector>

namespace vx::test {

struct DecodedGif {
    std::string error; // empty when read
    int width = 0, height = 0;
    int colorCount = 0;           // entries of the global colour table
    bool loops = false;           // the NETSCAPE2.0 loop extension is there
    std::vector<int> delays;      // per frame, 1/100 s
    std::vector<QImage> frames;   // RGB32, each the whole picture as shown
};

inline DecodedGif DecodeGif(const QString& path) {
    DecodedGif d;
    int code = 0;
    GifFileType* gif = DGifOpenFileName(path.toLocal8Bit().constData(), &code);
    if (gif == nullptr) {
        d.error = GifErrorString(code);
        return d;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        d.error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &code);
        return d;
    }
    d.width = gif->SWidth;
    d.height = gif->SHeight;
    const ColorMapObject* global = gif->SColorMap;
    d.colorCount = global != nullptr ? global->ColorCount : 0;
    QImage shown(d.width, d.height, QImage::Format_RGB32);
    shown.fill(Qt::black);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        for (int e = 0; e < image.ExtensionBlockCount; ++e) {
            const ExtensionBlock& b = image.ExtensionBlocks[e];
            if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
                std::string(reinterpret_cast<const char*>(b.Bytes), 11) == "NETSCAPE2.0")
                d.loops = true;
        }
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, i, &gcb);
        d.delays.push_back(gcb.DelayTime);
        const GifImageDesc& desc = image.ImageDesc;
        const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : global;
        for (int y = 0; y < desc.Height; ++y) {
            const int row = desc.Top + y;
            if (row < 0 || row >= d.height) continue;
            auto* line = reinterpret_cast<QRgb*>(shown.scanLine(row));
            for (int x = 0; x < desc.Width; ++x) {
                const int index = image.RasterBits[y * desc.Width + x];
                const int col = desc.Left + x;
                if (index == gcb.TransparentColor || map == nullptr || index >= map->ColorCount || col >= d.width)
                    continue;
                const GifColorType c = map->Colors[index];
                line[col] = qRgb(c.Red, c.Green, c.Blue);
            }
        }
        d.frames.push_back(shown.copy());
    }
    DGifCloseFile(gif, &code);
    return d;
}

} // namespace vx::test
