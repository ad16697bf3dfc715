// The reusing query and the byte-level shortcuts of the decoding steps, checked against the
// value-returning query and against the steps written plainly with characters counted.
#include "core/catalogue.hpp"
#include "core/checks.hpp"
#include "core/query12.hpp"
#include "core/text.hpp"
#include "core/week_calendar.hpp"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

using namespace quenlio;

namespace {

// Serials as typed and as garbled: real prefixes and codes in either case, and now and then a
// multi-byte character, a stray continuation byte, a truncated sequence or a NUL.
std::vector<std::string> SeededSerials(std::size_t count) {
    static const std::vector<std::string> pieces{"D",    "N",
                                                 "F",    "1",
                                                 "C",    "7",
                                                 "G",    "3",
                                                 "K",    "Q",
                                                 "Y",    "J",
                                                 "P",    "H",
                                                 "d",    "n",
                                                 "f",    "g",
                                                 "h",    "j",
                                                 "k",    "y",
                                                 "c",    "q",
                                                 "0",    "9",
                                                 "W",    "中",
                                                 "ö",    "Ｏ",
                                                 "\x80", "\xE4\xB8",
                                                 "\xC3", std::string(1, '\0')};
    std::mt19937 random(20121215);
    std::vector<std::string> serials;
    for (std::size_t i = 0; i < count; ++i) {
        std::string serial;
        const std::size_t length = random() % 14;
        for (std::size_t c = 0; c < length; ++c) {
            // Mostly ASCII, so the common path is well covered too.
            const std::size_t pick = random() % 8 == 0 ? random() % pieces.size() : random() % 27;
            serial += pieces[pick];
        }
        serials.push_back(serial);
    }
    return serials;
}

// A result whose every field held a longer text than any decoding gives.
QueryResult LongTexts() {
    const std::string filler(200, 'x');
    return {filler, filler, filler, filler, filler, filler};
}

TEST(SerialQuery12Reuse, EqualsTheValueQueryForEveryCatalogueKey) {
    const std::vector<std::string> serials{"DNPHX0A1DTF9", "f1qkyabcdefg", "C7GJ1", "", "中国人DTDR"};
    QueryResult reused = LongTexts();
    for (const CatalogueEntry& entry : PartNumberCatalogue()) {
        for (const std::string& serial : serials) {
            SerialQuery12(serial, entry.Key, reused);
            const QueryResult expected = SerialQuery12(serial, entry.Key);
            ASSERT_EQ(reused, expected) << serial << " " << entry.Key;
            EXPECT_EQ(reused.DeviceModel, entry.DeviceModel);
            EXPECT_EQ(reused.SalesRegion, entry.SalesRegion);
            EXPECT_EQ(reused.Carrier, entry.Carrier);
        }
    }
}

TEST(SerialQuery12Reuse, OverwritesEveryFieldOfAResultThatHeldLongerTexts) {
    const std::vector<std::string> parts{"MD239CH",   "md235zp",  "",          "ZZZ",
                                         "MD239CH中", "中D239CH", "MD235ZPXYZ"};
    const std::vector<std::string> serials = SeededSerials(3000);
    for (std::size_t i = 0; i < serials.size(); ++i) {
        const std::string& part = parts[i % parts.size()];
        QueryResult reused = LongTexts();
        SerialQuery12(serials[i], part, reused);
        ASSERT_EQ(reused, SerialQuery12(serials[i], part)) << i;
        // Kept across queries: an unknown part number must empty the catalogue fields again.
        SerialQuery12(serials[i], "ZZZ", reused);
        ASSERT_EQ(reused, SerialQuery12(serials[i], "ZZZ")) << i;
        EXPECT_TRUE(reused.DeviceModel.empty());
    }
}

TEST(SerialQuery12Reuse, AllocatesNothingOnceTheFieldsHaveGrown) {
    QueryResult reused = LongTexts();
    const std::vector<const char*> before{reused.DeviceModel.data(), reused.ProductionDate.data(),
                                          reused.SalesRegion.data(), reused.Carrier.data(),
                                          reused.Factory.data(),     reused.AfterSalesReplacement.data()};
    for (const std::string& serial : SeededSerials(200))
        SerialQuery12(serial, "MD235ZP", reused);
    const std::vector<const char*> after{reused.DeviceModel.data(), reused.ProductionDate.data(),
                                         reused.SalesRegion.data(), reused.Carrier.data(),
                                         reused.Factory.data(),     reused.AfterSalesReplacement.data()};
    EXPECT_EQ(after, before);
}

// The steps as plainly defined: characters counted, pieces upper-cased, then compared.
std::string PlainFactory(std::string_view serial) {
    const std::string prefix = UpperAscii(CharSlice(serial, 1, 2));
    return prefix == "DN" ? "中国-成都富士康" : prefix == "F1" ? "中国-郑州富士康" : "中国-富士康";
}

bool PlainReplacement(std::string_view serial) {
    const std::string prefix = UpperAscii(CharSlice(serial, 1, 3));
    return prefix == "C7G" || prefix == "C3K" || prefix == "DQG" || prefix == "DYJ" || prefix == "CCP";
}

bool PlainHalfYear(std::string_view serial) {
    const std::string code = UpperAscii(CharSlice(serial, 4, 1));
    return code == "F" || code == "G" || code == "H" || code == "J" || code == "K";
}

TEST(SerialSteps, ByteShortcutsAgreeWithCountedCharacters) {
    for (const std::string& serial : SeededSerials(20000)) {
        ASSERT_EQ(FactoryForSerial(serial), PlainFactory(serial)) << serial;
        ASSERT_EQ(IsReplacementSerial(serial), PlainReplacement(serial)) << serial;
        ASSERT_EQ(CheckHalfYearCode(serial), PlainHalfYear(serial)) << serial;
        // A known half-year gives a date; the date text is the year label, perhaps with a week.
        const std::string_view date = ProductionDateText(serial);
        ASSERT_EQ(date.empty(), !PlainHalfYear(serial)) << serial;
        ASSERT_EQ(DecodeProductionDate(serial), date) << serial;
    }
}

TEST(ProductionDateText, ViewsOneTableThatOutlivesTheCall) {
    const std::string_view first = ProductionDateText(std::string("DNPJ1X"));
    EXPECT_EQ(first, "2012年07月01日-07月07日");
    // The same week from another serial, in lower case, is the very same text.
    EXPECT_EQ(ProductionDateText(std::string("C7Gj1")).data(), first.data());
    EXPECT_EQ(ProductionDateText("中国人K1"), "2013年01月01日-01月05日");
    EXPECT_EQ(ProductionDateText("DNPKY"), "2013年");
    EXPECT_EQ(ProductionDateText("DNPK中"), "2013年");
    EXPECT_EQ(ProductionDateText("DNPK\x80"), "2013年");
    EXPECT_EQ(ProductionDateText("DNP"), "");
    // Characters are counted, not bytes: byte 3 of the second serial is the "H".
    EXPECT_EQ(ProductionDateText("DN中H1"), "2012年01月01日-01月07日");
    EXPECT_EQ(ProductionDateText("中H1x"), "");
}

TEST(LookupBytes, FindsEveryKeyInAnyCaseAndIgnoresWhatFollowsTheSeventhCharacter) {
    std::set<std::string, std::less<>> keys;
    for (const CatalogueEntry& entry : PartNumberCatalogue())
        keys.emplace(entry.Key);
    for (const CatalogueEntry& entry : PartNumberCatalogue()) {
        std::string lower(entry.Key), mixed(entry.Key);
        for (std::size_t i = 0; i < lower.size(); ++i) {
            if (lower[i] >= 'A' && lower[i] <= 'Z')
                lower[i] = static_cast<char>(lower[i] - 'A' + 'a');
            if (i % 2 == 1)
                mixed[i] = lower[i];
        }
        for (const std::string& part : {lower, mixed}) {
            const auto found = LookupPartNumber(part);
            ASSERT_TRUE(found.has_value()) << part;
            EXPECT_EQ(found->Key, entry.Key);
        }
        // Anything after a seven-character key is ignored; a shorter or longer text is found only
        // when it is itself a key. "@" and "[" border the letters and never match.
        const std::string shorter(entry.Key.substr(0, entry.Key.size() - 1));
        const auto cut = LookupPartNumber(shorter);
        EXPECT_EQ(cut.has_value(), keys.count(shorter) == 1) << shorter;
        const auto longer = LookupPartNumber(lower + "x");
        ASSERT_EQ(longer.has_value(), entry.Key.size() == 7 || keys.count(std::string(entry.Key) + "X") == 1);
        if (entry.Key.size() == 7) {
            EXPECT_EQ(longer->Key, entry.Key);
        }
        std::string shifted(entry.Key);
        shifted[0] = shifted[0] == 'M' ? '@' : '[';
        EXPECT_FALSE(LookupPartNumber(shifted).has_value()) << shifted;
    }
}

struct LookupCase {
    std::string PartNumber;
    std::string_view Key; // empty when nothing matches
};

class LookupBytes : public testing::TestWithParam<LookupCase> {};

TEST_P(LookupBytes, MatchesOnTheFirstSevenCharactersOnly) {
    const auto entry = LookupPartNumber(GetParam().PartNumber);
    if (GetParam().Key.empty()) {
        EXPECT_FALSE(entry.has_value());
    } else {
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(entry->Key, GetParam().Key);
    }
}

INSTANTIATE_TEST_SUITE_P(PartNumbers, LookupBytes,
                         testing::Values(LookupCase{"md239ch", "MD239CH"}, LookupCase{"MD239CH中", "MD239CH"},
                                         LookupCase{"MD239CHZZZ", "MD239CH"}, LookupCase{"MD128J", "MD128J"},
                                         LookupCase{"MD128J中", ""}, LookupCase{"MD128J\x80", ""},
                                         LookupCase{"中D239CH", ""}, LookupCase{"MD239C\xC3", ""},
                                         LookupCase{std::string("MD128J\0", 7), ""}, LookupCase{"", ""}));

} // namespace
