// The 12-character query and each of its steps, on an arbitrary serial and part number.
#include "core/catalogue.hpp"
#include "core/checks.hpp"
#include "core/query12.hpp"
#include "core/text.hpp"
#include "core/week_calendar.hpp"
#include "fuzz/check.hpp"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

using namespace quenlio;

namespace {

bool IsFactory(std::string_view text) {
    return text == "中国-成都富士康" || text == "中国-郑州富士康" || text == "中国-富士康";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string serial = provider.ConsumeRandomLengthString(64);
    const std::string partNumber = provider.ConsumeRemainingBytesAsString();

    const bool halfYearKnown = CheckHalfYearCode(serial);
    const std::string halfYear = UpperAscii(CharSlice(serial, 4, 1));
    FUZZ_CHECK(halfYearKnown ==
               (halfYear.size() == 1 && std::string_view("FGHJK").find(halfYear) != std::string_view::npos));

    const std::string date = DecodeProductionDate(serial);
    FUZZ_CHECK(date.empty() != halfYearKnown);
    if (halfYearKnown) {
        // The year label, then nothing or a range such as "01月02日-01月08日".
        FUZZ_CHECK(date.starts_with("2011年") || date.starts_with("2012年") || date.starts_with("2013年"));
        FUZZ_CHECK(CharCount(date) == 5 || CharCount(date) == 18);
    }

    if (const auto autofill = AutofillPartNumber(serial)) {
        FUZZ_CHECK(autofill->size() == 7);
        FUZZ_CHECK(LookupPartNumber(*autofill).has_value());
        // Every model code of the autofill table is four characters starting "DT".
        const std::size_t count = CharCount(serial);
        FUZZ_CHECK(count >= 4 && CharSlice(serial, count - 3, 2) == "DT");
    }

    const auto entry = LookupPartNumber(partNumber);
    if (entry) {
        FUZZ_CHECK(entry->Key == UpperAscii(CharSlice(partNumber, 1, 7)));
        FUZZ_CHECK(!entry->DeviceModel.empty() && !entry->SalesRegion.empty() && !entry->Carrier.empty());
    }

    const std::string_view factory = FactoryForSerial(serial);
    FUZZ_CHECK(IsFactory(factory));
    const bool replacement = IsReplacementSerial(serial);
    const ModelPhoto photo = PhotoForModel(partNumber);
    if (photo != ModelPhoto::None)
        FUZZ_CHECK(partNumber.starts_with("iPhone "));

    const QueryResult result = SerialQuery12(serial, partNumber);
    FUZZ_CHECK(IsFactory(result.Factory) && result.Factory == factory);
    FUZZ_CHECK(result.AfterSalesReplacement == (replacement ? "是" : "否(供参考)"));
    FUZZ_CHECK(result.ProductionDate == date);
    FUZZ_CHECK(result.DeviceModel == (entry ? entry->DeviceModel : ""));
    FUZZ_CHECK(result.SalesRegion == (entry ? entry->SalesRegion : ""));
    FUZZ_CHECK(result.Carrier == (entry ? entry->Carrier : ""));
    if (entry) {
        // Every catalogue model names a colour at the place the photo rule reads it.
        const ModelPhoto modelPhoto = PhotoForModel(result.DeviceModel);
        const bool black = result.DeviceModel.find("黑色") != std::string::npos;
        FUZZ_CHECK(black
                       ? (modelPhoto == ModelPhoto::BlackIPhone5 || modelPhoto == ModelPhoto::BlackIPhone4)
                       : (modelPhoto == ModelPhoto::WhiteIPhone5 || modelPhoto == ModelPhoto::WhiteIPhone4));
    }

    // Every step upper-cases what it reads, so the case of the input does not matter.
    FUZZ_CHECK(SerialQuery12(UpperAscii(serial), UpperAscii(partNumber)) == result);
    // Positions 6 and beyond of the serial are never read by the query.
    const std::string_view head = CharSlice(serial, 1, 5);
    if (CharCount(serial) >= 5)
        FUZZ_CHECK(SerialQuery12(std::string(head) + "XYZW123", partNumber) == result);
    return 0;
}
