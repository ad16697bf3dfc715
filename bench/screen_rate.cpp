// How many of tests/ocr/draw_about_screens.sh's pictures the text recognizer reads right, by
// kind: offered right, offered wrong (the serial or the part number not what the picture
// shows), not offered; the milliseconds of each, the first (which loads the trained data) apart,
// and the peak memory. Usage: quenlio_screen_rate FOLDER [TRAINEDDATA]   (FOLDER/pictures.txt)
#include "core/about_screen.hpp"
#include "ocr/recognizer.hpp"
#include "ocr/trained_data.hpp"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTextStream>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <map>

using namespace quenlio;

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    QImageReader::setAllocationLimit(512); // a 48-megapixel photo, as the screens allow it
    if (argc < 2) {
        std::fprintf(stderr, "usage: quenlio_screen_rate FOLDER [TRAINEDDATA]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QByteArray other;
    if (argc > 2) {
        QFile file(QString::fromLocal8Bit(argv[2]));
        if (file.open(QIODevice::ReadOnly))
            other = file.readAll();
    }
    using Clock = std::chrono::steady_clock;
    const auto loading = Clock::now();
    ocr::Recognizer recognizer(other.isEmpty() ? ocr::TrainedData() : std::string_view(other.data(), other.size()));
    std::printf("trained data loaded in %.0f ms\n",
                std::chrono::duration<double, std::milli>(Clock::now() - loading).count());
    QFile list(folder + "/pictures.txt");
    if (!recognizer.Ready() || !list.open(QIODevice::ReadOnly | QIODevice::Text))
        return 2;
    struct Tally { int right = 0, wrong = 0, none = 0; double ms = 0; };
    std::map<QString, Tally> kinds;
    QTextStream lines(&list);
    while (!lines.atEnd()) {
        const QStringList f = lines.readLine().split(QLatin1Char(' '));
        if (f.size() != 4)
            continue;
        const auto start = Clock::now();
        const QImage picture = QImage(folder + "/" + f[0]).convertToFormat(QImage::Format_Grayscale8);
        if (picture.isNull())
            continue;
        reader::GreyPicture grey(picture.width(), picture.height());
        grey.Put({picture.constBits(), picture.width(), picture.height(), reader::Pixels::Grey,
                  int(picture.bytesPerLine())}, 0);
        const std::size_t length = f[1] == QLatin1String("-") ? 12 : std::size_t(f[1].size());
        const ScreenReading reading = ocr::ReadScreenPicture(recognizer, grey, length);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        Tally& tally = kinds[f[3]];
        tally.ms += ms;
        const bool offered = reading.Result == ScreenReading::Outcome::Read;
        const QString serial = QString::fromStdString(reading.Serial);
        const QString part = QString::fromStdString(reading.PartNumber);
        const bool right = offered && serial == f[1] && (part.isEmpty() || f[2].startsWith(part + "/"));
        (offered ? (right ? tally.right : tally.wrong) : tally.none)++;
        std::printf("%-36s %-5s %s %s %.0f ms\n", qPrintable(f[0]), offered ? (right ? "right" : "WRONG") : "none",
                    qPrintable(serial), qPrintable(part), ms);
    }
    for (const auto& [kind, t] : kinds)
        std::printf("%-10s right %d wrong %d none %d, %.0f ms each\n", qPrintable(kind), t.right, t.wrong, t.none,
                    t.ms / (t.right + t.wrong + t.none));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory %ld MB\n", usage.ru_maxrss / 1024);
}
