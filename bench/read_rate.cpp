// How many of a set of label photos the desktop's 扫描条码 reads right: each picture as the
// screens read a picture file, on the screen its answer belongs to (or on both, where nothing may
// be filled). The set is bench/label_photos.sh's: a folder and its answers.csv (file,serial,part).
// Prints a line a picture (what it gave, right or wrong, the milliseconds) and the totals.
// Usage: quenlio_read_rate FOLDER
#include "core/label.hpp"
#include "core/lengths.hpp"
#include "ui/label_scan.hpp"

#include <QFile>
#include <QGuiApplication>
#include <QString>

#include <chrono>
#include <cstdio>

using namespace quenlio;

namespace {

// "SERIAL PART" that a reading fills, or "" for none.
std::string Filled(const std::optional<LabelReading>& reading) {
    if (!reading || reading->Result != LabelReading::Outcome::Read)
        return {};
    return reading->Serial + " " + reading->PartNumber;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quenlio_read_rate FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QFile answers(folder + "/answers.csv");
    if (!answers.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "no answers.csv in %s\n", argv[1]);
        return 2;
    }
    // Right, the serial alone (its part number unread), nothing, or wrong.
    int right = 0, alone = 0, missed = 0, wrong = 0;
    answers.readLine(); // the heading
    while (!answers.atEnd()) {
        const QStringList fields = QString::fromUtf8(answers.readLine()).trimmed().split(',');
        if (fields.size() != 3)
            continue;
        const std::string serial = fields[1].toStdString();
        const std::string expected = serial.empty() ? "" : serial + " " + fields[2].toStdString();
        const auto started = std::chrono::steady_clock::now();
        std::string got;
        for (const std::size_t length : {Serial12Length, Serial11Length})
            if (serial.empty() || serial.size() == length)
                got += Filled(ReadLabelFile(folder + "/" + fields[0], length));
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
        const bool serialAlone = !serial.empty() && got == serial + " ";
        const char* verdict = got == expected ? "right"
                              : serialAlone   ? "serial"
                              : got.empty()   ? "missed"
                                              : "WRONG";
        ++(got == expected ? right : serialAlone ? alone : got.empty() ? missed : wrong);
        std::printf("%-28s %-22s %-7s %6.0f ms\n", qPrintable(fields[0]), got.empty() ? "-" : got.c_str(),
                    verdict, ms);
    }
    std::printf("right %d, serial alone %d, missed %d, wrong %d of %d\n", right, alone, missed, wrong,
                right + alone + missed + wrong);
    return wrong > 0 ? 1 : 0;
}
