// The web's decoding (reader/decode_linear.cpp) against zxing's own ReadBarcodes on the label
// pictures, with the options a label is read with: the same codes, in the same order and places.
#include "reader/decode.hpp"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(DecodeLinear, ReadsWhatReadBarcodesReads) {
    const auto options = ZXing::ReaderOptions()
                             .setFormats(ZXing::BarcodeFormat::Code128 | ZXing::BarcodeFormat::EAN13 |
                                         ZXing::BarcodeFormat::UPCA)
                             .setTryHarder(true)
                             .setTryRotate(true)
                             .setTryInvert(false)
                             .setTryDownscale(false);
    for (const char* name : {"label.png", "label-turned.png", "label-upside-down.png", "label-slanted.png",
                             "label-blurred.png", "old-label.png"}) {
        const QImage image = QImage(QString::fromUtf8(std::getenv("QUENLIO_LABELS")) + "/" + name)
                                 .convertToFormat(QImage::Format_Grayscale8);
        ASSERT_FALSE(image.isNull()) << name;
        const ZXing::ImageView picture(image.constBits(), image.width(), image.height(),
                                       ZXing::ImageFormat::Lum, static_cast<int>(image.bytesPerLine()));
        const ZXing::Barcodes expected = ZXing::ReadBarcodes(picture, options);
        const ZXing::Barcodes read = quenlio::reader::Decode(picture, options);
        // Every picture shows three codes at least (the old label has no UPC).
        EXPECT_GE(expected.size(), 3u) << name;
        ASSERT_EQ(read.size(), expected.size()) << name;
        for (std::size_t i = 0; i < read.size(); ++i) {
            EXPECT_EQ(read[i].format(), expected[i].format()) << name << " #" << i;
            EXPECT_EQ(read[i].bytes(), expected[i].bytes()) << name << " #" << i;
            EXPECT_EQ(read[i].position(), expected[i].position()) << name << " #" << i;
        }
    }
}

} // namespace
