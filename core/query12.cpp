#include "core/query12.hpp"

#include "core/catalogue.hpp"
#include "core/checks.hpp"
#include "core/text.hpp"
#include "core/week_calendar.hpp"

#include <algorithm>
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

constexpr std::string_view Replaced = "是";
constexpr std::string_view NotReplaced = "否(供参考)";

} // namespace

std::string NormalizeSerial(std::string_view text) {
    std::string serial = UpperAscii(text);
    std::replace(serial.begin(), serial.end(), 'O', '0');
    return serial;
}

std::optional<std::string_view> AutofillPartNumber(std::string_view serial) {
    const std::size_t length = CharCount(serial);
    const std::string_view lastFour = length >= 4 ? CharSlice(serial, length - 3, 4) : serial;
    const auto row = std::find_if(AutofillTable.begin(), AutofillTable.end(),
                                  [&](const AutofillRow& r) { return r.ModelCode == lastFour; });
    if (row == AutofillTable.end())
        return std::nullopt;
    return row->PartNumber;
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
    result.AfterSalesReplacement = IsReplacementSerial(serial) ? Replaced : NotReplaced;
    return result;
}

QueryDisplay12 DisplayQuery12(std::string_view serial, std::string_view partNumber) {
    QueryDisplay12 shown;
    shown.Result = SerialQuery12(serial, partNumber);
    shown.FlagRed = IsReplacementSerial(serial);
    // The photo follows the model text the query wrote, as the screen's step after the lookup.
    shown.Photo = PhotoForModel(shown.Result.DeviceModel);
    return shown;
}

} // namespace quenlio
