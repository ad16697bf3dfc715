#include "ocr/recognizer.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace quenlio::ocr {

namespace {

// A picture is looked over at most this many pixels a side to find the screen in it.
constexpr int SurveySide = 1200;
// The widths a handset's screen is read at: twice and one and a half times a screenshot's 640
// pixels, where recognition reads the screen's letters best; two, to be read twice.
constexpr std::array<int, 2> ReadWidths = {960, 800};
// A pixel at least this bright, after the survey's own stretch, is of the lit screen.
constexpr int Lit = 150;
// After the stretch, what is darker than this is ink.
constexpr int Ink = 180;

// The pixel of `picture` at (x, y) of a `width` × `height` copy of it, each the mean of the
// picture's pixels it covers.
class Scaled {
public:
    Scaled(const reader::GreyPicture& picture, int left, int top, int width, int height)
        : m_picture(picture), m_left(left), m_top(top), m_width(width), m_height(height) {}

    // A `to` × `toHeight` picture of the region, each pixel the mean (or, enlarged, the nearest
    // neighbours' blend) of what it covers.
    std::vector<std::uint8_t> To(int to, int toHeight) const {
        std::vector<std::uint8_t> out(std::size_t(to) * toHeight);
        const double sx = double(m_width) / to, sy = double(m_height) / toHeight;
        const int stride = m_picture.Width();
        const std::uint8_t* data = m_picture.Data();
        for (int y = 0; y < toHeight; ++y) {
            const int y0 = m_top + int(y * sy), y1 = std::max(y0 + 1, m_top + int((y + 1) * sy));
            for (int x = 0; x < to; ++x) {
                const int x0 = m_left + int(x * sx), x1 = std::max(x0 + 1, m_left + int((x + 1) * sx));
                if (sx <= 1 && sy <= 1) { // enlarged: blend the four neighbours
                    const double fx = std::max(0.0, (x + 0.5) * sx - 0.5), fy = std::max(0.0, (y + 0.5) * sy - 0.5);
                    const int ix = std::min(int(fx), m_width - 1), iy = std::min(int(fy), m_height - 1);
                    const int jx = std::min(ix + 1, m_width - 1), jy = std::min(iy + 1, m_height - 1);
                    const double ax = fx - ix, ay = fy - iy;
                    const auto at = [&](int px, int py) { return double(data[std::size_t(m_top + py) * stride + m_left + px]); };
                    const double v = (1 - ay) * ((1 - ax) * at(ix, iy) + ax * at(jx, iy)) +
                                     ay * ((1 - ax) * at(ix, jy) + ax * at(jx, jy));
                    out[std::size_t(y) * to + x] = std::uint8_t(v + 0.5);
                    continue;
                }
                unsigned sum = 0;
                for (int yy = y0; yy < y1; ++yy)
                    for (int xx = x0; xx < x1; ++xx)
                        sum += data[std::size_t(yy) * stride + xx];
                out[std::size_t(y) * to + x] = std::uint8_t(sum / unsigned((y1 - y0) * (x1 - x0)));
            }
        }
        return out;
    }

private:
    const reader::GreyPicture& m_picture;
    int m_left, m_top, m_width, m_height;
};

// The grey levels below which `low` and above which `high` of `pixels` lie.
std::pair<int, int> Percentiles(const std::vector<std::uint8_t>& pixels, double low, double high) {
    std::array<std::size_t, 256> counts{};
    for (std::uint8_t p : pixels)
        ++counts[p];
    int from = 0, to = 255;
    for (std::size_t seen = 0; from < 255 && (seen += counts[from]) < low * pixels.size();)
        ++from;
    for (std::size_t seen = 0; to > 0 && (seen += counts[to]) < (1 - high) * pixels.size();)
        --to;
    return {from, std::max(to, from + 1)};
}

// Stretches `pixels` so that the darkest 1 % is black and the brightest 2 % white.
void Stretch(std::vector<std::uint8_t>& pixels) {
    const auto [black, white] = Percentiles(pixels, 0.01, 0.98);
    for (std::uint8_t& p : pixels)
        p = std::uint8_t(std::clamp((p - black) * 255 / (white - black), 0, 255));
}

// The first and last of `count` lines whose share of lit pixels reaches a fifth, or -1.
std::pair<int, int> LitSpan(const std::vector<int>& litPerLine, int lineLength) {
    int first = -1, last = -1;
    for (int i = 0; i < int(litPerLine.size()); ++i)
        if (litPerLine[i] * 5 >= lineLength) {
            first = first < 0 ? i : first;
            last = i;
        }
    return {first, last};
}

} // namespace

std::vector<Prepared> Prepare(const reader::GreyPicture& picture) {
    if (picture.Empty())
        return {};
    // The lit screen: where a small copy of the picture, stretched, is bright (the whole of a
    // screenshot; in a photo, the screen inside the handset's black glass on a darker ground).
    const double survey = std::min(1.0, double(SurveySide) / std::max(picture.Width(), picture.Height()));
    const int sw = std::max(1, int(picture.Width() * survey)), sh = std::max(1, int(picture.Height() * survey));
    std::vector<std::uint8_t> small = Scaled(picture, 0, 0, picture.Width(), picture.Height()).To(sw, sh);
    Stretch(small);
    std::vector<int> litRows(sh), litColumns(sw);
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x)
            if (small[std::size_t(y) * sw + x] >= Lit) {
                ++litRows[y];
                ++litColumns[x];
            }
    auto [top, bottom] = LitSpan(litRows, sw);
    auto [left, right] = LitSpan(litColumns, sh);
    if (top < 0 || left < 0)
        top = 0, bottom = sh - 1, left = 0, right = sw - 1;
    const int x0 = int(left / survey), y0 = int(top / survey);
    const int width = std::min(picture.Width() - x0, int((right - left + 1) / survey));
    const int height = std::min(picture.Height() - y0, int((bottom - top + 1) / survey));

    std::vector<Prepared> prepared;
    for (int readWidth : ReadWidths) {
        Prepared p;
        p.Scale = double(readWidth) / width;
        p.Width = readWidth;
        p.Height = std::max(1, int(height * p.Scale));
        p.Left = x0;
        p.Top = y0;
        p.Pixels = Scaled(picture, x0, y0, width, height).To(p.Width, p.Height);
        Stretch(p.Pixels);
        // In black and white: grey values (the flat look's) turn black, the stripes
        // behind the grouped look's rows white.
        for (std::uint8_t& pixel : p.Pixels)
                pixel = pixel < Ink ? 0 : 255;
        prepared.push_back(std::move(p));
    }
    return prepared;
}

std::vector<ScreenWord> InPicture(std::vector<ScreenWord> words, const Prepared& prepared) {
    for (ScreenWord& word : words) {
        word.Left = prepared.Left + int(word.Left / prepared.Scale);
        word.Top = prepared.Top + int(word.Top / prepared.Scale);
        word.Width = int(std::ceil(word.Width / prepared.Scale));
        word.Height = int(std::ceil(word.Height / prepared.Scale));
    }
    return words;
}

} // namespace quenlio::ocr
