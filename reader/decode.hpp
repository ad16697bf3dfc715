#pragma once
// How the reader runs zxing-cpp over a grey picture. Where zxing is a library of its own (the
// static one of the Linux and Windows builds) that is its ReadBarcodes (decode_barcodes.cpp). The
// web edition links zxing into the module the phone downloads, and there ReadBarcodes would bring
// the readers of every other symbology; decode_linear.cpp runs only its 1-D reader.
#include <ZXing/ReadBarcode.h>

namespace quenlio::reader {

ZXing::Barcodes Decode(const ZXing::ImageView& picture, const ZXing::ReaderOptions& options);

} // namespace quenlio::reader
