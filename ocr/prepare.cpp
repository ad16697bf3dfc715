// The preparing of a picture of the 关于本机 screen for recognition: plain C++, no threads, no
// files, so that the web's recognizer prepares a picture as the desktop's does.
#include "ocr/recognizer.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace quenlio::ocr {

namespace {

// A picture's screen is read at about the height of a tall screenshot, where the values'
// capitals stand some twenty pixels high.
constexpr int ScreenHeight = 1136;
// The lit screen is looked for in a copy of the picture at most this many pixels a side.
constexpr int FindingSide = 400;
// The values stand right of this share of the screen's width, their labels left of it.
constexpr double ValueColumn = 0.4;

struct Area {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// The grey level that parts the picture's pixels into a dark and a light class best (Otsu's).
int Parting(const std::uint8_t* pixels, std::size_t count) {
    std::array<double, 256> counts{};
    for (std::size_t i = 0; i < count; ++i)
        ++counts[pixels[i]];
    double total = 0, sum = 0;
    for (int i = 0; i < 256; ++i) {
        total += counts[std::size_t(i)];
        sum += i * counts[std::size_t(i)];
    }
    double darkCount = 0, darkSum = 0, best = -1;
    int parting = 128;
    for (int i = 0; i < 255; ++i) {
        darkCount += counts[std::size_t(i)];
        darkSum += i * counts[std::size_t(i)];
        const double lightCount = total - darkCount;
        if (darkCount == 0 || lightCount == 0)
            continue;
        const double between = darkCount * lightCount *
                               std::pow(darkSum / darkCount - (sum - darkSum) / lightCount, 2);
        if (between > best) {
            best = between;
            parting = i;
        }
    }
    return parting;
}

// The longest run of `counts` at or over `least`, a gap of up to `gap` allowed in it: [first, end).
std::pair<int, int> LongestRun(const std::vector<int>& counts, int least, int gap) {
    std::pair<int, int> best{0, 0};
    int start = -1, last = -1;
    for (int i = 0; i <= int(counts.size()); ++i) {
        const bool in = i < int(counts.size()) && counts[std::size_t(i)] >= least;
        if (in) {
            if (start < 0 || i - last > gap + 1)
                start = i;
            last = i;
        }
        if (start >= 0 && (i == int(counts.size()) || (!in && i - last > gap))) {
            if (last + 1 - start > best.second - best.first)
                best = {start, last + 1};
            if (!in)
                start = -1;
        }
    }
    return best;
}

// The lit screen in `small`: the rows and columns where most pixels are light, light being
// over the level that parts the picture's dark (a desk, the handset's glass) from its light. A
// screenshot is lit all over but for its status bar.
Area LitScreen(const reader::GreyPicture& small) {
    const std::size_t width = std::size_t(small.Width());
    const int parting = Parting(small.Data(), width * std::size_t(small.Height()));
    std::vector<int> rows(std::size_t(small.Height())), columns(width);
    for (int y = 0; y < small.Height(); ++y)
        for (int x = 0; x < small.Width(); ++x)
            if (small.Data()[std::size_t(y) * width + std::size_t(x)] > parting)
                ++rows[std::size_t(y)];
    const int widest = *std::max_element(rows.begin(), rows.end());
    const auto [top, bottom] = LongestRun(rows, widest / 2, small.Height() / 50);
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < small.Width(); ++x)
            if (small.Data()[std::size_t(y) * width + std::size_t(x)] > parting)
                ++columns[std::size_t(x)];
    const int tallest = *std::max_element(columns.begin(), columns.end());
    const auto [left, right] = LongestRun(columns, tallest / 2, small.Width() / 50);
    return {left, top, right - left, bottom - top};
}

// `area` of the picture at `scale`: each pixel the mean of those it stands for when shrinking,
// between its four nearest when growing.
Prepared Scaled(const reader::GreyPicture& picture, const Area& area, double scale) {
    Prepared out;
    out.Scale = scale;
    out.Left = area.Left;
    out.Top = area.Top;
    out.Width = std::max(1, int(area.Width * scale));
    out.Height = std::max(1, int(area.Height * scale));
    out.Pixels.resize(std::size_t(out.Width) * std::size_t(out.Height));
    const std::uint8_t* in = picture.Data();
    const std::size_t stride = std::size_t(picture.Width());
    auto at = [&](int x, int y) {
        return in[std::size_t(std::clamp(y, 0, picture.Height() - 1)) * stride +
                  std::size_t(std::clamp(x, 0, picture.Width() - 1))];
    };
    for (int y = 0; y < out.Height; ++y) {
        std::uint8_t* row = out.Pixels.data() + std::size_t(y) * std::size_t(out.Width);
        if (scale >= 1) {
            const double sy = area.Top + (y + 0.5) / scale - 0.5;
            const int y0 = int(std::floor(sy));
            const double fy = sy - y0;
            for (int x = 0; x < out.Width; ++x) {
                const double sx = area.Left + (x + 0.5) / scale - 0.5;
                const int x0 = int(std::floor(sx));
                const double fx = sx - x0;
                const double top = at(x0, y0) * (1 - fx) + at(x0 + 1, y0) * fx;
                const double bottom = at(x0, y0 + 1) * (1 - fx) + at(x0 + 1, y0 + 1) * fx;
                row[x] = std::uint8_t(std::lround(top * (1 - fy) + bottom * fy));
            }
            continue;
        }
        const int y0 = area.Top + int(y / scale), y1 = std::max(y0 + 1, area.Top + int((y + 1) / scale));
        for (int x = 0; x < out.Width; ++x) {
            const int x0 = area.Left + int(x / scale), x1 = std::max(x0 + 1, area.Left + int((x + 1) / scale));
            int sum = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx)
                    sum += at(sx, sy);
            row[x] = std::uint8_t(sum / ((y1 - y0) * (x1 - x0)));
        }
    }
    return out;
}

// The picture's grey levels stretched so that its darkest hundredth is black and its lightest
// is white.
void Stretch(Prepared& picture) {
    std::array<std::size_t, 256> counts{};
    for (const std::uint8_t p : picture.Pixels)
        ++counts[p];
    const std::size_t share = picture.Pixels.size() / 100;
    int dark = 0, light = 255;
    for (std::size_t seen = 0; dark < 255 && (seen += counts[std::size_t(dark)]) <= share;)
        ++dark;
    for (std::size_t seen = 0; light > 0 && (seen += counts[std::size_t(light)]) <= share;)
        --light;
    if (light <= dark)
        return;
    for (std::uint8_t& p : picture.Pixels)
        p = std::uint8_t(std::clamp((p - dark) * 255 / (light - dark), 0, 255));
}

} // namespace

std::vector<Prepared> Prepare(const reader::GreyPicture& picture) {
    if (picture.Empty())
        return {};
    const int factor = std::max(1, (std::max(picture.Width(), picture.Height()) + FindingSide - 1) / FindingSide);
    const Area lit = LitScreen(reader::Shrunk(picture, factor));
    Area screen{lit.Left * factor, lit.Top * factor, lit.Width * factor, lit.Height * factor};
    if (screen.Width < 8 || screen.Height < 8)
        screen = {0, 0, picture.Width(), picture.Height()};
    const int valueLeft = int(screen.Width * ValueColumn);
    const Area values{screen.Left + valueLeft, screen.Top, screen.Width - valueLeft, screen.Height};
    std::vector<Prepared> prepared;
    for (const double height : {ScreenHeight, ScreenHeight * 3 / 2}) {
        prepared.push_back(Scaled(picture, values, height / screen.Height));
        Stretch(prepared.back());
    }
    return prepared;
}

std::vector<ScreenWord> InPicture(std::vector<ScreenWord> words, const Prepared& prepared) {
    for (ScreenWord& word : words) {
        const int right = prepared.Left + int(std::lround((word.Left + word.Width) / prepared.Scale));
        const int bottom = prepared.Top + int(std::lround((word.Top + word.Height) / prepared.Scale));
        word.Left = prepared.Left + int(std::lround(word.Left / prepared.Scale));
        word.Top = prepared.Top + int(std::lround(word.Top / prepared.Scale));
        word.Width = right - word.Left;
        word.Height = bottom - word.Top;
    }
    return words;
}

} // namespace quenlio::ocr
