// The text recognizer on the About screens draw_about_screens.sh draws (its folder in
// QUENLIO_SCREENS), through core's rule: what every desktop face offers in its 核对 box.
#include "core/about_screen.hpp"
#include "ocr/recognizer.hpp"
#include "ocr/trained_data.hpp"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace quenlio;

ScreenReading Read(const char* name, std::size_t serialLength) {
    static ocr::Recognizer recognizer(ocr::TrainedData());
    EXPECT_TRUE(recognizer.Ready());
    const QImage image = QImage(QString::fromUtf8(std::getenv("QUENLIO_SCREENS")) + "/" + name)
                             .convertToFormat(QImage::Format_Grayscale8);
    EXPECT_FALSE(image.isNull()) << name;
    const reader::GreyPicture grey(
        {image.constBits(), image.width(), image.height(), reader::Pixels::Grey, int(image.bytesPerLine())});
    return ocr::ReadScreenPicture(recognizer, grey, serialLength);
}

TEST(ReadScreenPicture, ReadsScreenshotsAndPhotosOfTheAboutScreen) {
    struct Case {
        const char* name;
        std::size_t length;
        const char* serial;
        const char* part;
    };
    for (const Case& c : {Case{"zh-ios6-1136.png", 12, "F1RJP3XYDTWF", "MD297CH"},
                          Case{"old-zh-ios6-960.png", 11, "88923ABC3NP", "MC605CH"},
                          Case{"photo-zh-ios6.jpg", 12, "F1RJP3XYDTWF", "MD297CH"}}) {
        const ScreenReading reading = Read(c.name, c.length);
        EXPECT_EQ(reading.Serial, c.serial) << c.name;
        EXPECT_EQ(reading.PartNumber, c.part) << c.name;
        // The serial's box, in the picture's own pixels, is where the screen shows it: the right
        // half of its row.
        EXPECT_GT(reading.SerialFrom.Left + reading.SerialFrom.Width / 2, 320) << c.name;
        EXPECT_GT(reading.SerialFrom.Height, 10) << c.name;
    }
    // Only what fits the screen, and nothing from a screen without a serial.
    EXPECT_EQ(Read("old-zh-ios6-960.png", 12).Result, ScreenReading::Outcome::OtherScreen);
    EXPECT_EQ(Read("general-zh-ios7-1136.png", 12).Result, ScreenReading::Outcome::NoSerial);
}

} // namespace
