// The recognizing itself: tesseract's LSTM engine over a prepared picture, set up for the
// values of the 关于本机 screen.
#include "ocr/recognizer.hpp"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <memory>
#include <string>

namespace quenlio::ocr {

namespace {

// What serials and part numbers are written with. The I stays (MD128IP/A holds one; core reads
// it as a 1 in a serial), the O goes (no code holds one; it is always a 0).
constexpr const char* Characters = "ABCDEFGHIJKLMNPQRSTUVWXYZ0123456789/";

// Tesseract's progress monitor, with whom to tell.
struct Monitor : tesseract::ETEXT_DESC {
    const std::function<void(int)>* Hear = nullptr;
    int Told = -1;
};

bool Progressed(tesseract::ETEXT_DESC* desc, int, int, int, int) {
    auto* monitor = static_cast<Monitor*>(desc);
    if (*monitor->Hear && monitor->progress != monitor->Told) {
        monitor->Told = monitor->progress;
        (*monitor->Hear)(monitor->progress);
    }
    return true;
}

} // namespace

struct Recognizer::State {
    tesseract::TessBaseAPI Api;
    bool Ready = false;
};

Recognizer::Recognizer(std::string_view trainedData) : m_state(std::make_unique<State>()) {
    // No word lists: codes are no words, and the lists bend them towards some.
    const std::vector<std::string> names{"load_system_dawg", "load_freq_dawg"};
    const std::vector<std::string> values{"0", "0"};
    m_state->Ready = !trainedData.empty() &&
                     m_state->Api.Init(trainedData.data(), int(trainedData.size()), "eng", tesseract::OEM_LSTM_ONLY,
                                       nullptr, 0, &names, &values, false, nullptr) == 0;
    if (!m_state->Ready)
        return;
    m_state->Api.SetVariable("tessedit_char_whitelist", Characters);
    // Words anywhere, in no particular order: the values stand alone, right of their labels.
    m_state->Api.SetPageSegMode(tesseract::PSM_SPARSE_TEXT);
}

Recognizer::~Recognizer() = default;

bool Recognizer::Ready() const {
    return m_state->Ready;
}

std::vector<ScreenWord> Recognizer::Read(const Prepared& picture, const std::function<void(int)>& progress) {
    std::vector<ScreenWord> words;
    if (!m_state->Ready || picture.Width <= 0 || picture.Height <= 0)
        return words;
    tesseract::TessBaseAPI& api = m_state->Api;
    api.SetImage(picture.Pixels.data(), picture.Width, picture.Height, 1, picture.Width);
    api.SetSourceResolution(300);
    Monitor monitor;
    monitor.Hear = &progress;
    monitor.progress_callback2 = &Progressed;
    if (api.Recognize(&monitor) != 0)
        return words;
    const std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (it) {
        do {
            const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
            int left = 0, top = 0, right = 0, bottom = 0;
            if (!text || !it->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom))
                continue;
            words.push_back({text.get(), left, top, right - left, bottom - top});
        } while (it->Next(tesseract::RIL_WORD));
    }
    api.Clear();
    return words;
}

ScreenReading ReadScreenPicture(Recognizer& recognizer, const reader::GreyPicture& picture, std::size_t serialLength,
                                const std::function<void(int)>& progress) {
    const std::vector<Prepared> prepared = Prepare(picture);
    std::vector<ScreenReading> readings;
    for (std::size_t i = 0; i < prepared.size(); ++i) {
        const auto partly = [&](int percent) {
            if (progress)
                progress(int((i * 100 + std::size_t(percent)) / prepared.size()));
        };
        readings.push_back(
            ReadAboutScreen(InPicture(recognizer.Read(prepared[i], partly), prepared[i]), serialLength, true));
    }
    if (readings.empty())
        return {};
    ScreenReading agreed = readings.front();
    for (std::size_t i = 1; i < readings.size(); ++i)
        agreed = AgreedReading(agreed, readings[i]);
    if (progress)
        progress(100);
    return agreed;
}

} // namespace quenlio::ocr
