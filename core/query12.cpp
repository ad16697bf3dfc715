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

void NormalizeSerial(std::string_view text, std::string& out) {
    out.assign(text);
    for (char& c : out) {
        c = UpperAsciiByte(c);
        c = c == 'O' ? '0' : c;
    }
}

std::string NormalizeSerial(std::string_view text) {
    std::string out;
    NormalizeSerial(text, out);
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
    // The 4th character is byte 3 when the first three are ASCII; a code is one ASCII byte, so a
    // longer 4th character never matches.
    std::string_view code;
    if (serial.size() >= 4 && static_cast<unsigned char>(serial[0] | serial[1] | serial[2]) < 0x80)
        code = serial.substr(3, static_cast<unsigned char>(serial[3]) < 0x80 ? 1 : 0);
    else
        code = CharSlice(serial, 4, 1);
    if (code.size() != 1)
        return false;
    const char upper = UpperAsciiByte(code[0]);
    for (std::string_view known : HalfYearCodes)
        if (upper == known[0])
            return true;
    return false;
}

void SerialQuery12(std::string_view serial, std::string_view partNumber, QueryResult& out) {
    // assign() keeps the capacity each field already has, so a result used again allocates nothing.
    out.ProductionDate.assign(ProductionDateText(serial));
    if (const std::optional<CatalogueEntry> entry = LookupPartNumber(partNumber)) {
        out.DeviceModel.assign(entry->DeviceModel);
        out.SalesRegion.assign(entry->SalesRegion);
        out.Carrier.assign(entry->Carrier);
    } else {
        out.DeviceModel.clear();
        out.SalesRegion.clear();
        out.Carrier.clear();
    }
    out.Factory.assign(FactoryForSerial(serial));
    out.AfterSalesReplacement.assign(IsReplacementSerial(serial) ? std::string_view("是")
                                                                 : std::string_view("否(供参考)"));
}

QueryResult SerialQuery12(std::string_view serial, std::string_view partNumber) {
    QueryResult result; // every field starts empty
    SerialQuery12(serial, partNumber, result);
    return result;
}

} // namespace quenlio
