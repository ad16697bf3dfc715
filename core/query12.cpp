#include "core/query12.hpp"

#include "core/catalogue.hpp"
#include "core/checks.hpp"
#include "core/text.hpp"
#include "core/week_calendar.hpp"

#include <array>

namespace quenlio {

namespace {

struct AutofillRow {
    std::string_view ModelCode; // the serial's last four characters
    std::string_view PartNumber;
};

// Eight model codes whose part number is known from the serial alone, in the order
// they are tested.
constexpr std::array<AutofillRow, 8> AutofillTable{{
    {"DTF9", "MD276LL"},
    {"DTFC", "MD277LL"},
    {"DTFD", "MD278LL"},
    {"DTFF", "MD279LL"},
    {"DTFG", "MD280LL"},
    {"DTFH", "MD281LL"},
    {"DTDK", "MD269LL"},
    {"DTDR", "MD271LL"},
}};
static_assert(AutofillTable.size() == 8);

constexpr std::array<std::string_view, 5> HalfYearCodes{"F", "G", "H", "J", "K"};

} // namespace

std::string NormalizeSerial(std::string_view text) {
    std::string out = UpperAscii(text);
    for (char& c : out)
        if (c == 'O')
            c = '0';
    return out;
}

std::optional<std::string_view> AutofillPartNumber(std::string_view serial) {
    const std::size_t length = CharCount(serial);
    const std::string_view lastFour = length >= 4 ? CharSlice(serial, length - 3, 4) : serial;
    for (const AutofillRow& row : AutofillTable)
        if (lastFour == row.ModelCode)
            return row.PartNumber;
    return std::nullopt;
}

bool CheckHalfYearCode(std::string_view serial) {
    const std::string code = UpperAscii(CharSlice(serial, 4, 1));
    for (std::string_view known : HalfYearCodes)
        if (code == known)
            return true;
    return false;
}

QueryResult SerialQuery12(std::string_view serial, std::string_view partNumber) {
    QueryResult result; // every field starts empty
    result.ProductionDate = DecodeProductionDate(serial);
    if (const std::optional<CatalogueEntry> entry = LookupPartNumber(partNumber)) {
        result.DeviceModel = entry->DeviceModel;
        result.SalesRegion = entry->SalesRegion;
        result.Carrier = entry->Carrier;
    }
    result.Factory = FactoryForSerial(serial);
    result.AfterSalesReplacement = IsReplacementSerial(serial) ? "是" : "否(供参考)";
    return result;
}

} // namespace quenlio
