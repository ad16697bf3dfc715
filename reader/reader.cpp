#include "reader/reader.hpp"

#define ZX_USE_UTF8 1 // Result::text() as UTF-8
#include <ZXing/ReadBarcode.h>

#include <algorithm>

namespace quenlio::reader {

std::vector<std::string> ReadCodes(const Picture& picture) {
    if (!picture.data || picture.width <= 0 || picture.height <= 0)
        return {};
    const auto format = picture.pixels == Pixels::Grey ? ZXing::ImageFormat::Lum : ZXing::ImageFormat::RGBX;
    const ZXing::ImageView view(picture.data, picture.width, picture.height, format, picture.rowStride);
    // A label's codes are Code 128; the UPC and EAN beside them are no business of the rule. The
    // picture is read at the size it comes in (the faces scale a big one down first): zxing-cpp
    // 1.4.0 merges what it finds in its own smaller copies through a comparison that aborts on an
    // assertion, and Debian's build keeps assertions.
    const auto hints = ZXing::DecodeHints()
                           .setFormats(ZXing::BarcodeFormat::Code128)
                           .setTryHarder(true)
                           .setTryRotate(true)
                           .setTryDownscale(false);
    std::vector<std::string> texts;
    for (const ZXing::Result& result : ZXing::ReadBarcodes(view, hints)) {
        std::string text = result.text();
        if (result.isValid() && std::find(texts.begin(), texts.end(), text) == texts.end())
            texts.push_back(std::move(text));
    }
    return texts;
}

} // namespace quenlio::reader
