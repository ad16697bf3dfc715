// The production week of garbled serials, and the catalogue lookup on part numbers of every shape.
#include "core/catalogue.hpp"
#include "core/week_calendar.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace quenlio;

namespace {

TEST(DecodeProductionDate, CountsCharactersOfGarbledSerials) {
    EXPECT_EQ(DecodeProductionDate("DNPJ1X"), "2012年07月01日-07月07日");
    EXPECT_EQ(DecodeProductionDate("C7Gj1"), "2012年07月01日-07月07日");
    EXPECT_EQ(DecodeProductionDate("中国人K1"), "2013年01月01日-01月05日");
    EXPECT_EQ(DecodeProductionDate("DNPKY"), "2013年");
    EXPECT_EQ(DecodeProductionDate("DNPK中"), "2013年");
    EXPECT_EQ(DecodeProductionDate("DNPK\x80"), "2013年");
    EXPECT_EQ(DecodeProductionDate("DNP"), "");
    // Characters are counted, not bytes: byte 3 of the second serial is the "H".
    EXPECT_EQ(DecodeProductionDate("DN中H1"), "2012年01月01日-01月07日");
    EXPECT_EQ(DecodeProductionDate("中H1x"), "");
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
