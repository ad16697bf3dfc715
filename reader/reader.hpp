#pragma once
// The bar-code reader: a picture's pixels in, the bar codes it shows out, with their places, the
// picture turned any way; and what they give a query screen, by core's label rule
// (core/label.hpp). The one part of Quenlio that uses zxing-cpp. Every face hands it the
// picture's own pixels: the grey conversion and the scaling are the reader's, so a picture reads
// the same on the desktop and on the web.
#include "core/label.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quenlio::reader {

enum class Pixels {
    Grey, // one byte a pixel
    Rgba, // four bytes a pixel, red first, as a canvas gives them; the alpha is not read
};

// Pixels that `data` holds row after row, `rowStride` bytes a row (0: no padding).
struct Picture {
    const std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    Pixels pixels = Pixels::Grey;
    int rowStride = 0;
};

// The most pixels a picture may have to be read: 64 megapixels, a 48-megapixel phone's photo
// with room to spare. Its grey copy takes a byte a pixel; a face that decodes it into four bytes a
// pixel holds at most five a pixel at once.
inline constexpr std::int64_t MostPixels = 64'000'000;

// A picture is first read at most this many pixels a side (quicker, and enough for a label that
// fills much of it), and at other sizes only when that gives no whole label.
inline constexpr int LongestSide = 2048;

// A picture in grey, as the reader reads it: zxing's own luminance of each pixel.
class GreyPicture {
public:
    GreyPicture() = default;
    // `width` × `height` pixels, black until written; empty when a side is not positive or the
    // picture has more than MostPixels.
    GreyPicture(int width, int height);
    // A whole picture in grey.
    explicit GreyPicture(const Picture& picture);

    // Writes `rows`, as many as it holds, from row `top` down, so that a face can hand a big
    // picture over a band at a time. Rows as wide as this picture; anything else is ignored.
    void Put(const Picture& rows, int top);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Empty() const { return m_pixels.empty(); }
    const std::uint8_t* Data() const { return m_pixels.data(); }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_pixels;
};

// The picture at a `factor`-th of its size a side, each pixel the mean of those it stands for.
GreyPicture Shrunk(const GreyPicture& picture, int factor);

// The Code 128, EAN-13 and UPC-A codes of the picture, read at its own size, each with its place
// in the picture's pixels; none for an empty picture or one with no such code.
std::vector<LabelCode> ReadCodes(const GreyPicture& picture);

// What the picture gives the screen of `serialLength`-character serials: read at most
// LongestSide pixels a side, and while that gives no whole label (a serial with its part number)
// and refuses nothing, at its own size and at a third of it; a serial read alone stands when no
// size gives more.
LabelReading ReadLabelPicture(const GreyPicture& picture, std::size_t serialLength);

} // namespace quenlio::reader
