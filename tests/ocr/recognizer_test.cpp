// The recognizer on the About screens drawn by draw_about_screens.sh (its folder in
// QUENLIO_SCREENS), each picture on the screen of its serial's length, as pictures.txt says.
#include "ocr/recognizer.hpp"
#include "ocr/trained_data.hpp"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using namespace quenlio;

TEST(Recognizer, ReadsTheScreenshotsAndThePhotoAndNothingOfAnotherScreen) {
    const std::string folder = std::getenv("QUENLIO_SCREENS");
    std::ifstream list(folder + "/pictures.txt");
    ocr::Recognizer recognizer(ocr::TrainedData());
    ASSERT_TRUE(recognizer.Ready());
    std::string file, serial, part, kind;
    int pictures = 0;
    while (list >> file >> serial >> part >> kind) {
        ++pictures;
        const QImage image = QImage(QString::fromStdString(folder + "/" + file)).convertToFormat(QImage::Format_Grayscale8);
        ASSERT_FALSE(image.isNull()) << file;
        const reader::GreyPicture grey({image.constBits(), image.width(), image.height(), reader::Pixels::Grey,
                                        static_cast<int>(image.bytesPerLine())});
        if (kind == "negative") {
            for (const std::size_t length : {11u, 12u})
                EXPECT_NE(ocr::ReadScreenPicture(recognizer, grey, length).Result, ScreenReading::Outcome::Read) << file;
            continue;
        }
        int percent = -1;
        const ScreenReading read = ocr::ReadScreenPicture(recognizer, grey, serial.size(), [&](int p) { percent = p; });
        EXPECT_EQ(read.Result, ScreenReading::Outcome::Read) << file;
        EXPECT_EQ(read.Serial, serial) << file;
        EXPECT_EQ(read.PartNumber, part.substr(0, part.find('/'))) << file;
        EXPECT_EQ(percent, 100) << file;
        EXPECT_LE(read.SerialFrom.Left + read.SerialFrom.Width, image.width()) << file; // in the picture's pixels
    }
    EXPECT_EQ(pictures, 5);
}

} // namespace
