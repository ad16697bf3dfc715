#pragma once
// How the reader runs zxing-cpp over a picture for its Code 128 codes. Where zxing is a library
// of its own (Debian's libzxing, the static one of the Windows build) that is its ReadBarcodes
// (decode_barcodes.cpp). The web edition links zxing into the module the phone downloads, and
// there ReadBarcodes would bring the readers of every other symbology and their character-set
// tables, 360 KB gzipped; decode_linear.cpp runs only what ReadBarcodes runs for Code 128, its 1-D
// reader over the same binarised picture, in 80 KB.
#define ZX_USE_UTF8 1 // the headers' text() as UTF-8, though only the bytes are read
#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/Result.h>

namespace quenlio::reader {

ZXing::Results Decode(const ZXing::ImageView& picture, const ZXing::DecodeHints& hints);

} // namespace quenlio::reader
