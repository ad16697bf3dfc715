#include "reader/decode.hpp"

#include <ZXing/ReadBarcode.h>

namespace quenlio::reader {

ZXing::Results Decode(const ZXing::ImageView& picture, const ZXing::DecodeHints& hints) {
    return ZXing::ReadBarcodes(picture, hints);
}

} // namespace quenlio::reader
