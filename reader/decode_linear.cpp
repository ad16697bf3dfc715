#include "reader/decode.hpp"

// zxing's own headers (scripts/zxing installs them beside the public ones).
#include <HybridBinarizer.h>
#include <oned/ODReader.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quenlio::reader {

// What ReadBarcodes does for one picture read at its own size with the 1-D formats alone: the
// picture in grey as zxing makes it (RGBToLum), binarised by its default (hybrid) binarizer, read
// by its 1-D reader, only the valid results kept.
ZXing::Results Decode(const ZXing::ImageView& picture, const ZXing::DecodeHints& hints) {
    const int width = picture.width();
    const int height = picture.height();
    std::vector<std::uint8_t> grey(std::size_t(width) * std::size_t(height));
    const bool lum = picture.format() == ZXing::ImageFormat::Lum;
    const int red = ZXing::RedIndex(picture.format());
    const int green = ZXing::GreenIndex(picture.format());
    const int blue = ZXing::BlueIndex(picture.format());
    auto out = grey.begin();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* pixel = picture.data(x, y);
            *out++ = lum ? pixel[0] : ZXing::RGBToLum(pixel[red], pixel[green], pixel[blue]);
        }
    const ZXing::HybridBinarizer bitmap(ZXing::ImageView(grey.data(), width, height, ZXing::ImageFormat::Lum));
    ZXing::Results results = ZXing::OneD::Reader(hints).decode(bitmap, hints.maxNumberOfSymbols());
    std::erase_if(results, [](const ZXing::Result& result) { return !result.isValid(); });
    return results;
}

} // namespace quenlio::reader
