#pragma once
// The text recognizer: a picture of the handset's 关于本机 screen in, the words on it out, each
// with its box in the picture's pixels; and what they give a query screen, by core's rule
// (core/about_screen.hpp). Beside the bar-code reader, and the one part of Quenlio that uses
// tesseract. The preparing of a picture (the lit screen found in a photo, the scale, the
// contrast) is plain C++ that every face shares, the web's recognizer included, so a picture
// is read alike everywhere; the recognizing itself is tesseract's, linked on the desktop and
// tesseract.js on the web, both with the one trained-data file in third_party/tessdata.
#include "core/about_screen.hpp"
#include "reader/reader.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace quenlio::ocr {

// A grey picture ready to be recognized, and where it came from in the picture it was prepared
// from: a point (x, y) here is (Left + x / Scale, Top + y / Scale) there.
struct Prepared {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels; // one byte a pixel, row after row
    double Scale = 1;
    int Left = 0;
    int Top = 0;
};

// The pictures one picture is recognized as: the screen's part of it (all of a screenshot, the
// lit screen of a photo), at two scales, its contrast stretched. None for an empty picture.
std::vector<Prepared> Prepare(const reader::GreyPicture& picture);

// `words`, recognized in `prepared`, with their boxes moved into the picture it was prepared from.
std::vector<ScreenWord> InPicture(std::vector<ScreenWord> words, const Prepared& prepared);

// Tesseract with the trained data, set up once for reading serials and part numbers (its
// dictionaries off, the characters limited to theirs). Not for two threads at once.
class Recognizer {
public:
    // `trainedData`: the contents of the trained-data file, which must outlive the recognizer.
    explicit Recognizer(std::string_view trainedData);
    ~Recognizer();
    bool Ready() const;

    // The words of `picture`, in its pixels; `progress` hears the percentage done, from any thread.
    std::vector<ScreenWord> Read(const Prepared& picture, const std::function<void(int)>& progress = {});

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// What a picture's text gives the screen of `serialLength`-character serials: each prepared
// picture read, and only what the readings agree on (core's AgreedReading), the words' boxes in
// `picture`'s pixels.
ScreenReading ReadScreenPicture(Recognizer& recognizer, const reader::GreyPicture& picture,
                                std::size_t serialLength, const std::function<void(int)>& progress = {});

} // namespace quenlio::ocr
