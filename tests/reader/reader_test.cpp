// The reader on label pictures drawn by draw_labels.sh (its folder in QUENLIO_LABELS), with the
// core's label rule over what it reads: every face reads labels through these two.
#include "core/label.hpp"
#include "reader/reader.hpp"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace quenlio;

reader::GreyPicture ReadFile(const char* name, QImage::Format format) {
    const QImage image =
        QImage(QString::fromUtf8(std::getenv("QUENLIO_LABELS")) + "/" + name).convertToFormat(format);
    EXPECT_FALSE(image.isNull()) << name;
    const auto pixels = format == QImage::Format_Grayscale8 ? reader::Pixels::Grey : reader::Pixels::Rgba;
    return reader::GreyPicture(
        {image.constBits(), image.width(), image.height(), pixels, static_cast<int>(image.bytesPerLine())});
}

std::vector<std::string> Texts(const std::vector<LabelCode>& codes) {
    std::vector<std::string> texts;
    for (const LabelCode& code : codes)
        texts.push_back(code.Text);
    return texts;
}

class LabelPicture : public testing::TestWithParam<const char*> {};

TEST_P(LabelPicture, GivesTheSerialAndThePartNumberBesideAnImeiAndAUpc) {
    for (const QImage::Format format : {QImage::Format_Grayscale8, QImage::Format_RGBA8888}) {
        const LabelReading read = reader::ReadLabelPicture(ReadFile(GetParam(), format), 12);
        EXPECT_EQ(read.Result, LabelReading::Outcome::Read) << GetParam();
        EXPECT_EQ(read.Serial, "F1RJP3XYDTWF") << GetParam();
        EXPECT_EQ(read.PartNumber, "MD297CH") << GetParam();
    }
}

INSTANTIATE_TEST_SUITE_P(Reader, LabelPicture,
                         testing::Values("label.png", "label-turned.png", "label-upside-down.png",
                                         "label-slanted.png", "label-blurred.png", "label-small.jpg"));

TEST(Reader, ReadsTheLabelsCodesAndNothingFromNothing) {
    const std::vector<LabelCode> old =
        reader::ReadCodes(ReadFile("old-label.png", QImage::Format_Grayscale8));
    EXPECT_EQ(Texts(old), (std::vector<std::string>{"S88923ABC3NP", "1PMB716CH/A", "013425001234567"}));
    EXPECT_EQ(ReadLabel(old, 12).Result, LabelReading::Outcome::OtherScreen);
    EXPECT_TRUE(reader::ReadCodes(ReadFile("blank.png", QImage::Format_Grayscale8)).empty());
    EXPECT_TRUE(reader::ReadCodes(reader::GreyPicture(reader::Picture{})).empty());
    EXPECT_TRUE(reader::GreyPicture(9000, 8000).Empty()); // over the most pixels read
}

} // namespace
