#include "reader/decode.hpp"

// zxing's own headers (scripts/zxing installs them beside the public ones).
#include <HybridBinarizer.h>
#include <oned/ODReader.h>

#include <ZXing/ZXAlgorithms.h>

#include <algorithm>
#include <climits>

namespace quenlio::reader {

// What ReadBarcodes does for a grey picture at its own size with the linear formats alone: the
// picture binarised by its default binarizer (LocalAverage, which is the HybridBinarizer), read by
// the 1-D reader, the valid codes kept in the order of their place in the picture, each once.
ZXing::Barcodes Decode(const ZXing::ImageView& picture, const ZXing::ReaderOptions& options) {
    ZXing::HybridBinarizer bitmap(picture);
    const ZXing::OneD::Reader reader(options);
    const int most = options.maxNumberOfSymbols() ? options.maxNumberOfSymbols() : INT_MAX;
    // ReadBarcodes reads the picture inverted too when tryInvert asks, with the readers that read
    // inverted codes; zxing's 1-D reader says it does not, so there it reads the picture once.
    const int passes = options.tryInvert() && reader.supportsInversion ? 2 : 1;
    ZXing::Barcodes barcodes;
    for (int pass = 0; pass < passes && ZXing::Size(barcodes) < most; ++pass) {
        if (pass == 1)
            bitmap.invert();
        ZXing::Barcodes found = reader.decode(bitmap, most - ZXing::Size(barcodes));
        std::erase_if(found, [](const ZXing::Barcode& barcode) { return !barcode.isValid(); });
        std::sort(found.begin(), found.end(), [](const ZXing::Barcode& a, const ZXing::Barcode& b) {
            const auto p = a.position().topLeft();
            const auto q = b.position().topLeft();
            return p.y < q.y || (p.y == q.y && p.x < q.x);
        });
        for (ZXing::Barcode& barcode : found)
            if (!ZXing::Contains(barcodes, barcode))
                barcodes.push_back(std::move(barcode));
    }
    return barcodes;
}

} // namespace quenlio::reader
