// Any bytes at all are valid input to the 12-character decoding: nothing may crash or throw, and
// every answer must still follow the rules.
#include "core/catalogue.hpp"
#include "core/checks.hpp"
#include "core/query12.hpp"
#include "core/text.hpp"
#include "core/week_calendar.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace quenlio;

namespace {

// Pieces that make the random texts likely to hit the interesting paths: codes, keys, Chinese
// characters, broken UTF-8 and control bytes.
const std::vector<std::string> Pieces = {
    "DN",
    "F1",
    "C7G",
    "c3k",
    "F",
    "g",
    "H",
    "J",
    "k",
    "1",
    "Y",
    "x",
    "T",
    "0",
    "o",
    "O",
    "MD",
    "md2",
    "39",
    "CH",
    "LL",
    "ZP",
    "J",
    "中",
    "国",
    "黑色",
    "\x80",
    "\xE4\xB8",
    "\xFF",
    "\xF0\x9F\x98\x80",
    " ",
    "/A",
    "DTDK",
    std::string("\0", 1),
    "iPhone 5 16GB ",
    "白色",
    "iPhone 4S",
};

std::string RandomText(std::mt19937& random) {
    std::string text;
    const int parts = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < parts; ++i) {
        if (random() % 3 == 0)
            text += static_cast<char>(random() % 256);
        else
            text += Pieces[random() % Pieces.size()];
    }
    return text;
}

// A catalogue key, sometimes lower-cased in places and followed by anything.
std::string NearlyAKey(std::mt19937& random) {
    const auto catalogue = PartNumberCatalogue();
    std::string text(catalogue[random() % catalogue.size()].Key);
    for (char& c : text)
        if (random() % 4 == 0 && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (random() % 2 == 0)
        text += RandomText(random);
    return text;
}

// The key the rules derive: the first seven characters, upper-cased; looked for by a plain scan.
std::optional<std::string_view> KeyByScan(std::string_view partNumber) {
    const std::string key = UpperAscii(CharSlice(partNumber, 1, 7));
    for (const CatalogueEntry& entry : PartNumberCatalogue())
        if (entry.Key == key)
            return entry.Key;
    return std::nullopt;
}

void CheckSerialRules(const std::string& serial) {
    SCOPED_TRACE(testing::PrintToString(serial));
    const std::string normal = NormalizeSerial(serial);
    EXPECT_EQ(normal.size(), serial.size());
    EXPECT_EQ(CharCount(normal), CharCount(serial));
    EXPECT_EQ(normal.find_first_of("abcdefghijklmnopqrstuvwxyzO"), std::string::npos);
    EXPECT_EQ(NormalizeSerial(normal), normal);

    const std::string date = DecodeProductionDate(serial);
    EXPECT_EQ(date.empty(), !CheckHalfYearCode(serial));
    if (!date.empty()) {
        EXPECT_TRUE(date.size() == 7 || date.size() == 28) << date;
        EXPECT_EQ(CharCount(date), date.size() == 7 ? 5u : 18u);
    }
    EXPECT_EQ(DecodeProductionDate(normal), DecodeProductionDate(UpperAscii(serial)));

    const std::string_view factory = FactoryForSerial(serial);
    const std::string firstTwo = UpperAscii(CharSlice(serial, 1, 2));
    EXPECT_EQ(factory, firstTwo == "DN"   ? "中国-成都富士康"
                       : firstTwo == "F1" ? "中国-郑州富士康"
                                          : "中国-富士康");

    const auto part = AutofillPartNumber(serial);
    if (part) {
        EXPECT_TRUE(LookupPartNumber(*part).has_value());
        EXPECT_EQ(CharSlice(serial, CharCount(serial) - 3, 4).substr(0, 2), "DT");
    }
}

void CheckPartNumberRules(const std::string& partNumber) {
    SCOPED_TRACE(testing::PrintToString(partNumber));
    const auto entry = LookupPartNumber(partNumber);
    const auto expected = KeyByScan(partNumber);
    ASSERT_EQ(entry.has_value(), expected.has_value());
    if (entry) {
        EXPECT_EQ(entry->Key, *expected);
    }
}

} // namespace

TEST(Robustness12, RandomTextsFollowTheRules) {
    std::mt19937 random(20121215);
    int found = 0;
    for (int i = 0; i < 4000; ++i) {
        const std::string serial = RandomText(random);
        const std::string partNumber = i % 2 ? NearlyAKey(random) : RandomText(random);
        CheckSerialRules(serial);
        CheckPartNumberRules(partNumber);
        CheckPartNumberRules(serial);
        found += LookupPartNumber(partNumber).has_value();

        // Every step upper-cases the piece it reads, so the case of the input never matters.
        QueryResult result;
        ASSERT_NO_THROW(result = SerialQuery12(serial, partNumber));
        EXPECT_EQ(result, SerialQuery12(UpperAscii(serial), UpperAscii(partNumber)));
        if (HasFailure())
            break;
    }
    // The generator must reach both outcomes, or the checks above prove little.
    EXPECT_GT(found, 1000);
    EXPECT_LT(found, 4000);
}

TEST(Robustness12, RandomModelTextsChooseAPhotoOnlyByTheRule) {
    std::mt19937 random(375);
    for (int i = 0; i < 3000; ++i) {
        const std::string model = RandomText(random);
        const ModelPhoto photo = PhotoForModel(model);
        if (photo == ModelPhoto::None)
            continue;
        const bool five = photo == ModelPhoto::BlackIPhone5 || photo == ModelPhoto::WhiteIPhone5;
        EXPECT_EQ(CharSlice(model, 1, 8), five ? "iPhone 5" : "iPhone 4") << testing::PrintToString(model);
    }
}

TEST(Robustness12, VeryLongTextsAreHandled) {
    const std::string longSerial = "F1GH" + std::string(1 << 20, 'o') + "DTDK";
    EXPECT_EQ(NormalizeSerial(longSerial).size(), longSerial.size());
    EXPECT_EQ(DecodeProductionDate(longSerial), "2012年");
    EXPECT_EQ(AutofillPartNumber(longSerial), "MD269LL");
    EXPECT_EQ(FactoryForSerial(longSerial), "中国-郑州富士康");
    const std::string longPart = "md239ch" + std::string(1 << 20, '\xE4');
    ASSERT_TRUE(LookupPartNumber(longPart).has_value());
    EXPECT_EQ(LookupPartNumber(longPart)->Key, "MD239CH");
    EXPECT_EQ(PhotoForModel("iPhone 5 16GB 黑色" + std::string(1 << 20, '!')), ModelPhoto::BlackIPhone5);
    const QueryResult result = SerialQuery12(longSerial, longPart);
    EXPECT_EQ(result.DeviceModel, "iPhone 4S 16GB 白色(GSM)");
}
