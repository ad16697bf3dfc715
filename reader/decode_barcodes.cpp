#include "reader/decode.hpp"

namespace quenlio::reader {

ZXing::Barcodes Decode(const ZXing::ImageView& picture, const ZXing::ReaderOptions& options) {
    return ZXing::ReadBarcodes(picture, options);
}

} // namespace quenlio::reader
