#pragma once
// The bar-code reader: a picture's pixels in, the texts of the Code 128 bar codes it shows out,
// the picture turned any way. The one part of Quenlio that uses zxing-cpp; the screens and the
// web bindings hand it pixels, and the texts to the core's label rule (core/label.hpp).
#include <cstdint>
#include <string>
#include <vector>

namespace quenlio::reader {

enum class Pixels {
    Grey, // one byte a pixel
    Rgba, // four bytes a pixel, red first, as a canvas gives them; the alpha is not read
};

// A picture that `data` holds row after row, `rowStride` bytes a row (0: no padding).
struct Picture {
    const std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    Pixels pixels = Pixels::Grey;
    int rowStride = 0;
};

// The longest side worth reading: a bigger picture reads no better and takes longer, so the
// faces scale one down to this before they hand it over.
inline constexpr int LongestSide = 2048;

// The texts of every Code 128 bar code in the picture, in the order found, each once; none
// for an empty picture or one with no such code.
std::vector<std::string> ReadCodes(const Picture& picture);

} // namespace quenlio::reader
