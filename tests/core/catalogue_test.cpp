#include "core/catalogue.hpp"
#include "core/checks.hpp"
#include "core/text.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

using namespace quenlio;

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

// The entries per region suffix, as the rows of the entries table give them: a suffix's lines
// times their base codes (4S-D has twelve, 5-D eight, 4-C five, 4-A four, 4-B, 5-C and 5-G two,
// the other lines six).
TEST(CatalogueTable, HoldsTheEntriesOfEverySuffix) {
    std::map<std::string, std::size_t> perSuffix;
    for (const CatalogueEntry& entry : PartNumberCatalogue())
        perSuffix[std::string(entry.Key.substr(5))]++;
    const std::map<std::string, std::size_t> expected{
        {"CH", 28}, {"ZP", 14}, {"TA", 14}, {"KH", 14}, {"J", 26},  {"ZA", 14}, {"X", 14}, {"LL", 75},
        {"C", 14},  {"E", 6},   {"B", 14},  {"F", 14},  {"IP", 14}, {"DN", 12}, {"D", 6},  {"NF", 12},
        {"CS", 12}, {"KN", 12}, {"KS", 12}, {"CM", 12}, {"ER", 12}, {"Y", 12},  {"FD", 12}};
    EXPECT_EQ(perSuffix, expected);
}

TEST(CatalogueTable, EveryTextIsPresentAndWellFormed) {
    for (const CatalogueEntry& entry : PartNumberCatalogue()) {
        SCOPED_TRACE(std::string(entry.Key));
        EXPECT_FALSE(entry.DeviceModel.empty());
        EXPECT_FALSE(entry.SalesRegion.empty());
        EXPECT_FALSE(entry.Carrier.empty());
        EXPECT_TRUE(IsWellFormedUtf8(entry.DeviceModel));
        EXPECT_TRUE(IsWellFormedUtf8(entry.SalesRegion));
        EXPECT_TRUE(IsWellFormedUtf8(entry.Carrier));
    }
}

TEST(CatalogueTable, CountsEntriesPerGeneration) {
    std::map<std::string, std::size_t> perGeneration;
    for (const CatalogueEntry& entry : PartNumberCatalogue()) {
        const std::string_view model = entry.DeviceModel;
        perGeneration[std::string(model.substr(0, model.find(' ', 7)))]++;
    }
    const std::map<std::string, std::size_t> expected{
        {"iPhone 4", 33}, {"iPhone 4S", 180}, {"iPhone 5", 162}};
    EXPECT_EQ(perGeneration, expected);
}

TEST(CatalogueTable, ElevenRegionTextsEndInABlank) {
    std::set<std::string_view> regions;
    std::size_t entries = 0;
    for (const CatalogueEntry& entry : PartNumberCatalogue()) {
        EXPECT_NE(entry.SalesRegion.front(), ' ') << entry.Key;
        if (entry.SalesRegion.back() == ' ') {
            regions.insert(entry.SalesRegion);
            ++entries;
            EXPECT_NE(entry.SalesRegion[entry.SalesRegion.size() - 2], ' ') << "more than one blank";
        }
    }
    const std::set<std::string_view> expected{"新加坡 ", "墨西哥 ",        "意大利 ",    "奥地利/荷兰 ",
                                              "德国 ",   "捷克 ",          "丹麦/挪威 ", "匈牙利 ",
                                              "爱尔兰 ", "比利时/卢森堡 ", "香港 "};
    EXPECT_EQ(regions, expected);
    // Ten suffixes carry the blank on their six iPhone 4S entries, and one Hong Kong part number.
    EXPECT_EQ(entries, 61u);
}

TEST(CatalogueTable, EmDashMarksOneGroupOfSix) {
    std::set<std::string_view> keys;
    for (const CatalogueEntry& entry : PartNumberCatalogue()) {
        if (entry.Carrier == "—")
            keys.insert(entry.Key);
        EXPECT_TRUE(entry.Carrier.find("—") == std::string_view::npos || entry.Carrier == "—") << entry.Key;
    }
    const std::set<std::string_view> expected{"MD236LL", "MD240LL", "MD243LL",
                                              "MD246LL", "MD259LL", "MD262LL"};
    EXPECT_EQ(keys, expected);
}

// The photo choice reads the colour word at a fixed place, so every model text must keep the
// layout name, capacity, colour, tag; and every entry must select the photo of its colour.
TEST(CatalogueTable, ModelTextsKeepTheLayoutThePhotoReliesOn) {
    const std::set<std::string_view> capacities{"8GB", "16GB", "32GB", "64GB"};
    const std::set<std::string_view> tags{"", "(GSM)", "(CDMA)"};
    for (const CatalogueEntry& entry : PartNumberCatalogue()) {
        const std::string_view model = entry.DeviceModel;
        SCOPED_TRACE(std::string(entry.Key) + " " + std::string(model));
        std::string_view name;
        for (std::string_view candidate : {"iPhone 4S ", "iPhone 4 ", "iPhone 5 "})
            if (StartsWith(model, candidate))
                name = candidate;
        ASSERT_FALSE(name.empty());
        const std::string_view rest = model.substr(name.size());
        const std::size_t blank = rest.find(' ');
        ASSERT_NE(blank, std::string_view::npos);
        const std::string_view capacity = rest.substr(0, blank);
        EXPECT_TRUE(capacities.count(capacity));
        EXPECT_TRUE(capacity != "8GB" || name == "iPhone 4 ") << "only the iPhone 4 comes with 8GB";
        const std::string_view colourAndTag = rest.substr(blank + 1);
        const std::string_view colour = CharSlice(colourAndTag, 1, 2);
        ASSERT_TRUE(colour == "黑色" || colour == "白色");
        EXPECT_TRUE(tags.count(colourAndTag.substr(colour.size())));

        const std::size_t colourAt = name == "iPhone 4S " ? 16 : (capacity == "8GB" ? 14 : 15);
        EXPECT_EQ(CharSlice(model, colourAt, 2), colour);

        const bool black = colour == "黑色";
        const ModelPhoto expected = name == "iPhone 5 "
                                        ? (black ? ModelPhoto::BlackIPhone5 : ModelPhoto::WhiteIPhone5)
                                        : (black ? ModelPhoto::BlackIPhone4 : ModelPhoto::WhiteIPhone4);
        EXPECT_EQ(PhotoForModel(model), expected);
    }
}

TEST(CatalogueLookup, FindsEveryEntryByItsKeyInEitherCase) {
    for (const CatalogueEntry& entry : PartNumberCatalogue()) {
        SCOPED_TRACE(std::string(entry.Key));
        const auto found = LookupPartNumber(entry.Key);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->DeviceModel, entry.DeviceModel);
        std::string lower(entry.Key);
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
        const auto foundLower = LookupPartNumber(lower);
        ASSERT_TRUE(foundLower.has_value());
        EXPECT_EQ(foundLower->Key, entry.Key);
        // A seven-character key ignores what follows it; a six-character key does not.
        const std::string longer = std::string(entry.Key) + "/A";
        EXPECT_EQ(LookupPartNumber(longer).has_value(), entry.Key.size() == 7);
        // The first six characters of a seven-character key find a six-character key or nothing:
        // "MD234C" is a Canadian part number of its own, "MD235C" is none.
        if (entry.Key.size() == 7) {
            const auto shorter = LookupPartNumber(entry.Key.substr(0, 6));
            if (shorter) {
                EXPECT_EQ(shorter->Key, entry.Key.substr(0, 6));
            }
        }
    }
}

struct LookupCase {
    std::string_view PartNumber;
    bool Found;
    std::string_view DeviceModel, SalesRegion, Carrier;
};

void PrintTo(const LookupCase& c, std::ostream* os) {
    *os << '"' << c.PartNumber << '"';
}

LookupCase NotFound(std::string_view partNumber) {
    return {partNumber, false, "", "", ""};
}

class CatalogueExamples : public testing::TestWithParam<LookupCase> {};

TEST_P(CatalogueExamples, GiveExactTexts) {
    const LookupCase& c = GetParam();
    const auto entry = LookupPartNumber(c.PartNumber);
    ASSERT_EQ(entry.has_value(), c.Found);
    if (!c.Found)
        return;
    EXPECT_EQ(entry->DeviceModel, c.DeviceModel);
    EXPECT_EQ(entry->SalesRegion, c.SalesRegion);
    EXPECT_EQ(entry->Carrier, c.Carrier);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, CatalogueExamples,
    testing::Values(LookupCase{"MD239CH", true, "iPhone 4S 16GB 白色(GSM)", "中国", "中国联通/移动"},
                    LookupCase{"md239ch", true, "iPhone 4S 16GB 白色(GSM)", "中国", "中国联通/移动"},
                    LookupCase{"MD128J", true, "iPhone 4 8GB 黑色(GSM)", "日本", "-"}, NotFound("MD128J/"),
                    NotFound(std::string_view("MD128J\0", 7)), NotFound("MD235C"), NotFound("MD235X"),
                    NotFound("MD235LL"),
                    LookupCase{"MD234C", true, "iPhone 4S 16GB 黑色(GSM)", "加拿大", "-"},
                    LookupCase{"MD234LL", true, "iPhone 4S 16GB 黑色(GSM)", "美国(无锁)", "-"},
                    LookupCase{"MD235ZP", true, "iPhone 4S 16GB 黑色(GSM)", "香港 ", "-"},
                    LookupCase{"MD239ZP", true, "iPhone 4S 16GB 白色(GSM)", "香港", "-"},
                    LookupCase{"MD235D", true, "iPhone 4S 16GB 黑色(GSM)", "德国 ", "-"},
                    LookupCase{"MD235DN", true, "iPhone 4S 16GB 黑色(GSM)", "奥地利/荷兰 ", "-"},
                    LookupCase{"MD297DN", true, "iPhone 5 16GB 黑色", "德国/荷兰/奥地利", "-"},
                    NotFound("MD297D"), LookupCase{"MD236LL", true, "iPhone 4S 16GB 黑色(CDMA)", "美国", "—"},
                    LookupCase{"ME039LL", true, "iPhone 5 16GB 黑色(CDMA)", "美国", "-"},
                    LookupCase{"MD235J", true, "iPhone 4S 16GB 黑色(GSM)", "日本", "Softbank"},
                    LookupCase{"MD297J", true, "iPhone 5 16GB 黑色(GSM)", "日本", "SoftBank"},
                    LookupCase{"MD297CH", true, "iPhone 5 16GB 黑色(GSM)", "中国", "中国联通/移动"},
                    LookupCase{"MD297TA", true, "iPhone 5 16GB 黑色", "台湾", "-"},
                    LookupCase{"MD669CH", true, "iPhone 5 16GB 黑色", "中国(展示机不作销售)", "-"},
                    LookupCase{"MD638LL", true, "iPhone 5 16GB 黑色(GSM)", "美国", "AT&T"},
                    LookupCase{"MD634LL", true, "iPhone 5 16GB 黑色(GSM)", "美国", "AT&T"},
                    LookupCase{"MD200LL", true, "iPhone 4 8GB 白色(CDMA)", "美国", "-"},
                    LookupCase{"MD440LL", true, "iPhone 4 8GB 白色(CDMA)", "美国", "-"},
                    LookupCase{"MD126LL", true, "iPhone 4 8GB 黑色(GSM)", "美国", "-"},
                    LookupCase{"MC676LL", true, "iPhone 4 16GB 黑色(CDMA)", "美国", "Verizon"},
                    LookupCase{"MC923LL", true, "iPhone 4S 32GB 黑色(GSM)", "美国", "AT&T"},
                    LookupCase{"MC924LL", true, "iPhone 4S 16GB 白色(GSM)", "美国", "AT&T"},
                    LookupCase{"MD639LL", true, "iPhone 5 16GB 白色(GSM)", "美国", "AT&T"},
                    LookupCase{"ND097LL", true, "iPhone 5 16GB 黑色", "美国", "-"}, NotFound("MD097LL"),
                    LookupCase{"MD293C", true, "iPhone 5 16GB 黑色", "加拿大", "-"},
                    LookupCase{"MD242E", true, "iPhone 4S 32GB 黑色(GSM)", "墨西哥 ", "-"},
                    LookupCase{"MD261B", true, "iPhone 4S 64GB 白色(GSM)", "英国", "Vodafone(仅供参考)"},
                    NotFound("MD999CH"), NotFound(" MD239CH"), NotFound("MD239C"), NotFound(""),
                    NotFound("ＭD239CH")));
