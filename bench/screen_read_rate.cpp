// How many of tests/ocr/draw_about_screens.sh's pictures the desktop's recognizer reads right:
// each picture as the screens read one (its grey pixels through ocr::ReadScreenPicture), on the
// screen of its serial's length (a negative on both, where nothing may be offered). Prints a line
// a picture and, a kind a line, the pictures offered right, offered wrong and not offered, with the
// milliseconds a picture; then the first load of the trained data and the peak memory.
// Usage: quenlio_screen_read_rate PICTURES.TXT [TRAINEDDATA]   (the built-in model by default)
#include "core/lengths.hpp"
#include "ocr/recognizer.hpp"
#include "ocr/trained_data.hpp"

#include <QFile>
#include <QImage>
#include <QString>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

using namespace quenlio;

namespace {

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

long PeakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Tally {
    int Right = 0, Wrong = 0, None = 0;
    double Ms = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: quenlio_screen_read_rate PICTURES.TXT [TRAINEDDATA]\n");
        return 2;
    }
    const QString list = QString::fromLocal8Bit(argv[1]);
    const QString folder = list.left(list.lastIndexOf('/') + 1);
    std::string model;
    if (argc > 2) {
        std::ifstream file(argv[2], std::ios::binary);
        model.assign(std::istreambuf_iterator<char>(file), {});
    }
    const long idle = PeakKiB();
    const auto loading = std::chrono::steady_clock::now();
    ocr::Recognizer recognizer(argc > 2 ? std::string_view(model) : ocr::TrainedData());
    const double loadMs = MsSince(loading);
    if (!recognizer.Ready()) {
        std::fprintf(stderr, "the trained data does not load\n");
        return 1;
    }
    std::ifstream pictures(argv[1]);
    std::map<std::string, Tally> kinds;
    std::string line;
    long bigPeak = 0;
    while (std::getline(pictures, line)) {
        std::istringstream fields(line);
        std::string name, serial, part, kind;
        if (!(fields >> name >> serial >> part >> kind))
            continue;
        const long before = PeakKiB();
        const auto started = std::chrono::steady_clock::now();
        const QImage image = QImage(folder + QString::fromStdString(name)).convertToFormat(QImage::Format_Grayscale8);
        const reader::GreyPicture grey(
            {image.constBits(), image.width(), image.height(), reader::Pixels::Grey, int(image.bytesPerLine())});
        std::string got;
        for (const std::size_t length : {Serial12Length, Serial11Length}) {
            if (serial != "-" && serial.size() != length)
                continue;
            const ScreenReading read = ocr::ReadScreenPicture(recognizer, grey, length);
            if (read.Result == ScreenReading::Outcome::Read)
                got += read.Serial + " " + (read.PartNumber.empty() ? "-" : read.PartNumber);
        }
        const double ms = MsSince(started);
        const std::string expected = serial == "-" ? "" : serial + " " + part.substr(0, part.find('/'));
        Tally& tally = kinds[kind];
        const char* verdict = got.empty() ? "none" : got == expected ? "right" : "wrong";
        // A serial read right with its part number left out is right: the 核对 box fills what it has.
        if (!got.empty() && got != expected && got == serial + " -")
            verdict = "right";
        ++(verdict[0] == 'r' ? tally.Right : verdict[0] == 'w' ? tally.Wrong : tally.None);
        tally.Ms += ms;
        if (image.width() * image.height() > 40'000'000)
            bigPeak = PeakKiB() - before;
        std::printf("%-36s %-6s %-22s %6.0f ms\n", name.c_str(), verdict, got.c_str(), ms);
    }
    std::printf("\n%-12s %6s %6s %6s %8s\n", "kind", "right", "wrong", "none", "ms each");
    for (const auto& [kind, tally] : kinds) {
        const int all = tally.Right + tally.Wrong + tally.None;
        std::printf("%-12s %6d %6d %6d %8.0f\n", kind.c_str(), tally.Right, tally.Wrong, tally.None, tally.Ms / all);
    }
    std::printf("\nfirst load of the trained data: %.0f ms\n", loadMs);
    std::printf("peak memory: %ld KiB, %ld KiB above idle\n", PeakKiB(), PeakKiB() - idle);
    if (bigPeak)
        std::printf("peak rise during the 48-megapixel photo: %ld KiB\n", bigPeak);
    return 0;
}
