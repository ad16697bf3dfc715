#include "ocr/recognizer.hpp"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace quenlio::ocr {

namespace {

// What serials and part numbers are written with, and the part number's "/": no O, which no
// serial holds (the serial's normalising reads it as 0), and no lower case. The I stays, as some
// part numbers hold it; core mends an I read in a serial.
constexpr const char* Characters = "ABCDEFGHIJKLMNPQRSTUVWXYZ0123456789/";

} // namespace

struct Recognizer::State {
    tesseract::TessBaseAPI api;
    bool ready = false;
};

Recognizer::Recognizer(std::string_view trainedData) : m_state(std::make_unique<State>()) {
    // One thread: Debian's tesseract is built with OpenMP, whose threads spin on a busy machine
    // and take four times as long for a screen's few words.
    static char oneThread[] = "OMP_THREAD_LIMIT=1";
    if (!std::getenv("OMP_THREAD_LIMIT"))
        putenv(oneThread);
    // Codes are no words: with tesseract's dictionaries on, it bends them towards English ones
    // (a serial's F9R read as FOR). The dictionaries are only loaded at start.
    const std::vector<std::string> names = {"load_system_dawg", "load_freq_dawg"};
    const std::vector<std::string> values = {"0", "0"};
    m_state->ready = !trainedData.empty() &&
                     m_state->api.Init(trainedData.data(), int(trainedData.size()), "eng", tesseract::OEM_LSTM_ONLY,
                                       nullptr, 0, &names, &values, false, nullptr) == 0;
    if (!m_state->ready)
        return;
    m_state->api.SetVariable("tessedit_char_whitelist", Characters);
    // The screen's rows are short texts apart from one another: sparse text finds them all.
    m_state->api.SetPageSegMode(tesseract::PSM_SPARSE_TEXT);
    m_state->api.SetVariable("debug_file", "/dev/null");
}

Recognizer::~Recognizer() = default;

bool Recognizer::Ready() const {
    return m_state->ready;
}

std::vector<ScreenWord> Recognizer::Read(const Prepared& picture, const std::function<void(int)>& progress) {
    std::vector<ScreenWord> words;
    if (!m_state->ready || picture.Pixels.empty())
        return words;
    tesseract::TessBaseAPI& api = m_state->api;
    api.SetImage(picture.Pixels.data(), picture.Width, picture.Height, 1, picture.Width);
    tesseract::ETEXT_DESC monitor;
    monitor.cancel_this = const_cast<std::function<void(int)>*>(&progress);
    monitor.progress_callback2 = [](tesseract::ETEXT_DESC* self, int, int, int, int) {
        if (const auto* hear = static_cast<const std::function<void(int)>*>(self->cancel_this); *hear)
            (*hear)(self->progress);
        return true;
    };
    if (api.Recognize(&monitor) != 0)
        return words;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (it)
        do {
            const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
            int left = 0, top = 0, right = 0, bottom = 0;
            if (text && it->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom))
                words.push_back({text.get(), left, top, right - left, bottom - top});
        } while (it->Next(tesseract::RIL_WORD));
    api.Clear();
    return words;
}

ScreenReading ReadScreenPicture(Recognizer& recognizer, const reader::GreyPicture& picture, std::size_t serialLength,
                                const std::function<void(int)>& progress) {
    const std::vector<Prepared> prepared = Prepare(picture);
    std::vector<ScreenReading> readings;
    for (std::size_t i = 0; i < prepared.size(); ++i) {
        const auto part = [&](int percent) {
            if (progress)
                progress(int((i * 100 + percent) / prepared.size()));
        };
        readings.push_back(
            ReadAboutScreen(InPicture(recognizer.Read(prepared[i], part), prepared[i]), serialLength));
        // A first reading that finds nothing is not read again.
        if (readings.back().Result != ScreenReading::Outcome::Read)
            return readings.back();
    }
    ScreenReading agreed = readings.front();
    for (const ScreenReading& reading : readings)
        agreed = AgreedReading(agreed, reading);
    return agreed;
}

} // namespace quenlio::ocr
