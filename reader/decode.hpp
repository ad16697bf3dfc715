#pragma once
// How the reader runs zxing-cpp over a picture for its bar codes. Where zxing is linked into a
// program (Linux, Windows) that is its ReadBarcodes (decode_barcodes.cpp). The web edition links
// zxing into the module the phone downloads, and there ReadBarcodes would bring the readers of
// every other symbology and their character-set tables; decode_linear.cpp runs only what
// ReadBarcodes runs for the linear formats, its 1-D reader over the same binarised picture.
#include <ZXing/ReadBarcode.h>

namespace quenlio::reader {

// `picture` is grey (ImageFormat::Lum); `options` ask for linear formats only, read at the
// picture's own size (no tryDownscale).
ZXing::Barcodes Decode(const ZXing::ImageView& picture, const ZXing::ReaderOptions& options);

} // namespace quenlio::reader
