#include "reader/reader.hpp"

#include "reader/decode.hpp"

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
    for (const ZXing::Result& result : Decode(view, hints)) {
        // The code's own bytes: a label's codes are ASCII, and the rule takes nothing else. Their
        // UTF-8 text would bring zxing's tables of every character set into the web's reader.
        const ZXing::ByteArray& bytes = result.bytes();
        std::string text(bytes.begin(), bytes.end());
        if (result.isValid() && std::find(texts.begin(), texts.end(), text) == texts.end())
            texts.push_back(std::move(text));
    }
    return texts;
}

} // namespace quenlio::reader
