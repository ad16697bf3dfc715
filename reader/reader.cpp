#include "reader/reader.hpp"

#include "reader/decode.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

namespace quenlio::reader {

namespace {

// A third of a picture is read only if it keeps this many pixels a side: below, a label's bars
// would be too few to read.
constexpr int SmallestThird = 500;


double Distance(const ZXing::PointI& a, const ZXing::PointI& b) {
    return std::hypot(double(a.x - b.x), double(a.y - b.y));
}

} // namespace

GreyPicture Shrunk(const GreyPicture& picture, int factor) {
    GreyPicture small(picture.Width() / factor, picture.Height() / factor);
    std::vector<std::uint8_t> row(std::size_t(small.Width()));
    std::vector<int> sums(row.size());
    const int area = factor * factor;
    for (int y = 0; y < small.Height(); ++y) {
        std::fill(sums.begin(), sums.end(), area / 2);
        for (int dy = 0; dy < factor; ++dy) {
            const std::uint8_t* in =
                picture.Data() + std::size_t(y * factor + dy) * std::size_t(picture.Width());
            for (std::size_t x = 0; x < sums.size(); ++x)
                for (int dx = 0; dx < factor; ++dx)
                    sums[x] += in[x * std::size_t(factor) + std::size_t(dx)];
        }
        std::transform(sums.begin(), sums.end(), row.begin(),
                       [&](int sum) { return std::uint8_t(sum / area); });
        small.Put({row.data(), small.Width(), 1, Pixels::Grey, 0}, y);
    }
    return small;
}

GreyPicture::GreyPicture(int width, int height) {
    if (width <= 0 || height <= 0 || std::int64_t(width) * height > MostPixels)
        return;
    m_width = width;
    m_height = height;
    m_pixels.assign(std::size_t(width) * std::size_t(height), 0);
}

GreyPicture::GreyPicture(const Picture& picture) : GreyPicture(picture.width, picture.height) {
    Put(picture, 0);
}

void GreyPicture::Put(const Picture& rows, int top) {
    if (Empty() || !rows.data || rows.width != m_width || rows.height <= 0 || top < 0 || top >= m_height)
        return;
    const bool rgba = rows.pixels == Pixels::Rgba;
    const std::size_t stride =
        rows.rowStride > 0 ? std::size_t(rows.rowStride) : std::size_t(m_width) * (rgba ? 4 : 1);
    std::uint8_t* out = m_pixels.data() + std::size_t(top) * std::size_t(m_width);
    for (int y = 0; y < std::min(rows.height, m_height - top); ++y) {
        const std::uint8_t* in = rows.data + std::size_t(y) * stride;
        if (!rgba) {
            out = std::copy(in, in + m_width, out);
            continue;
        }
        for (int x = 0; x < m_width; ++x, in += 4)
            *out++ = ZXing::RGBToLum(in[0], in[1], in[2]);
    }
}

std::vector<LabelCode> ReadCodes(const GreyPicture& picture) {
    if (picture.Empty())
        return {};
    // A label's codes are Code 128; its UPC or EAN is read too, to tell one label from two. The
    // reader scales a picture itself (ReadLabelPicture); labels are dark on light.
    const auto options = ZXing::ReaderOptions()
                             .setFormats(ZXing::BarcodeFormat::Code128 | ZXing::BarcodeFormat::EAN13 |
                                         ZXing::BarcodeFormat::UPCA)
                             .setTryHarder(true)
                             .setTryRotate(true)
                             .setTryInvert(false)
                             .setTryDownscale(false);
    ZXing::Barcodes barcodes;
    try {
        barcodes = Decode(
            ZXing::ImageView(picture.Data(), picture.Width(), picture.Height(), ZXing::ImageFormat::Lum),
            options);
    } catch (...) {
        return {}; // zxing refuses a picture it cannot take by throwing; nothing can be read then
    }
    std::vector<LabelCode> codes;
    for (const ZXing::Barcode& barcode : barcodes) {
        if (!barcode.isValid())
            continue;
        // The code's own bytes: a label's codes are ASCII, and the rule takes nothing else. Their
        // UTF-8 text would bring zxing's tables of every character set into the web's reader.
        const ZXing::ByteArray& bytes = barcode.bytes();
        const ZXing::Position& place = barcode.position();
        double x = 0, y = 0;
        for (const ZXing::PointI& corner : place) {
            x += corner.x / 4.0;
            y += corner.y / 4.0;
        }
        // A linear code's place runs along its first and last lines read, from its start to its end.
        const double length = (Distance(place[0], place[1]) + Distance(place[3], place[2])) / 2;
        codes.push_back({std::string(bytes.begin(), bytes.end()), x, y, length});
    }
    return codes;
}

LabelReading ReadLabelPicture(const GreyPicture& picture, std::size_t serialLength) {
    // The sizes read, in turn, as the factor each side is divided by: at most LongestSide a side;
    // the picture's own, for a label small in a big photo, whose bars are too fine for that copy;
    // a third of it, where noise, blur or dim light drown the bars at their own size.
    const int side = std::max(picture.Width(), picture.Height());
    std::vector<int> factors{(side + LongestSide - 1) / LongestSide};
    if (factors.front() > 1)
        factors.push_back(1);
    if (factors.front() != 3 && side / 3 >= SmallestThird)
        factors.push_back(3);
    std::optional<LabelReading> serialAlone;
    LabelReading reading;
    for (const int factor : factors) {
        reading = ReadLabel(ReadCodes(factor == 1 ? picture : Shrunk(picture, factor)), serialLength);
        // A whole label, or a reading that refuses the picture, stands.
        if (reading.Result != LabelReading::Outcome::NoSerial &&
            (reading.Result != LabelReading::Outcome::Read || !reading.PartNumber.empty()))
            return reading;
        if (reading.Result == LabelReading::Outcome::Read && !serialAlone)
            serialAlone = reading;
    }
    return serialAlone.value_or(reading);
}

} // namespace quenlio::reader
