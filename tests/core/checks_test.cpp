#include "core/checks.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace quenlio;

struct SerialCase {
    std::string_view Serial;
    std::string_view Factory;
    bool Replacement;
};

void PrintTo(const SerialCase& c, std::ostream* os) {
    *os << '"' << c.Serial << '"';
}

class SerialChecks : public testing::TestWithParam<SerialCase> {};

TEST_P(SerialChecks, GiveFactoryAndReplacementFlag) {
    EXPECT_EQ(FactoryForSerial(GetParam().Serial), GetParam().Factory);
    EXPECT_EQ(IsReplacementSerial(GetParam().Serial), GetParam().Replacement);
}

INSTANTIATE_TEST_SUITE_P(
    Prefixes, SerialChecks,
    testing::Values(
        SerialCase{"DNPHX0A1DTF9", "中国-成都富士康", false},
        SerialCase{"dnphx0a1dtf9", "中国-成都富士康", false}, SerialCase{"Dn", "中国-成都富士康", false},
        SerialCase{"F1PHX0A1DTF9", "中国-郑州富士康", false}, SerialCase{"f1", "中国-郑州富士康", false},
        SerialCase{"F2PHX0A1DTF9", "中国-富士康", false}, SerialCase{"C7GHX0A1DTF9", "中国-富士康", true},
        SerialCase{"c3khx0a1dtf9", "中国-富士康", true}, SerialCase{"DQGHX0A1DTF9", "中国-富士康", true},
        SerialCase{"DYJ", "中国-富士康", true}, SerialCase{"CcP", "中国-富士康", true},
        SerialCase{"DQ", "中国-富士康", false}, SerialCase{"DNG", "中国-成都富士康", false},
        SerialCase{"DNC7G", "中国-成都富士康", false}, SerialCase{"C7", "中国-富士康", false},
        SerialCase{"D", "中国-富士康", false}, SerialCase{"", "中国-富士康", false},
        SerialCase{" DN", "中国-富士康", false}, SerialCase{"F１", "中国-富士康", false},
        SerialCase{"中DN", "中国-富士康", false}, SerialCase{"C7\xE4", "中国-富士康", false},
        SerialCase{"\x80"
                   "C7G",
                   "中国-富士康", false},
        // Characters are counted, so a broken or multi-byte one takes one place.
        SerialCase{"C7G\xFF", "中国-富士康", true}, SerialCase{"dYj中国", "中国-富士康", true},
        SerialCase{"D\x80N", "中国-富士康", false}, SerialCase{"öDQG", "中国-富士康", false},
        SerialCase{"F1\xE4\xB8", "中国-郑州富士康", false}));

struct PhotoCase {
    std::string_view Model;
    ModelPhoto Photo;
};

void PrintTo(const PhotoCase& c, std::ostream* os) {
    *os << '"' << c.Model << '"';
}

class Photos : public testing::TestWithParam<PhotoCase> {};

TEST_P(Photos, FollowTheColourWordAtItsPlace) {
    EXPECT_EQ(PhotoForModel(GetParam().Model), GetParam().Photo);
}

INSTANTIATE_TEST_SUITE_P(
    Models, Photos,
    testing::Values(PhotoCase{"iPhone 5 64GB 白色", ModelPhoto::WhiteIPhone5},
                    PhotoCase{"iPhone 5 16GB 黑色(CDMA)", ModelPhoto::BlackIPhone5},
                    PhotoCase{"iPhone 4S 64GB 黑色(GSM)", ModelPhoto::BlackIPhone4},
                    PhotoCase{"iPhone 4 8GB 黑色(GSM)", ModelPhoto::BlackIPhone4},
                    PhotoCase{"iPhone 4 32GB 黑色(CDMA)", ModelPhoto::BlackIPhone4},
                    PhotoCase{"iPhone 4S 64GB 白色(GSM)", ModelPhoto::WhiteIPhone4},
                    PhotoCase{"iPhone 4 8GB 白色(GSM)", ModelPhoto::WhiteIPhone4},
                    PhotoCase{"iPhone 4 32GB 白色(CDMA)", ModelPhoto::WhiteIPhone4},
                    // Any other shape shows nothing: no text, a three-digit capacity, a colour out of place.
                    PhotoCase{"", ModelPhoto::None}, PhotoCase{"iPhone 5 128GB 黑色", ModelPhoto::None},
                    PhotoCase{"iPhone 5 8GB 黑色", ModelPhoto::None},
                    PhotoCase{"iPhone 4S 128GB 白色", ModelPhoto::None},
                    PhotoCase{"iPhone 3GS 16GB 黑色", ModelPhoto::None},
                    PhotoCase{"iphone 5 16GB 黑色", ModelPhoto::None},
                    PhotoCase{"iPhone 5 16GB 红色", ModelPhoto::None},
                    PhotoCase{"iPhone 5 16GB 黑", ModelPhoto::None}, PhotoCase{"iPhone 5", ModelPhoto::None},
                    PhotoCase{"iPhone 5 16GB \xE9\xBB", ModelPhoto::None}));
