// The old-format check and query, on an arbitrary serial, part number and shown result.
#include "core/query11.hpp"
#include "core/text.hpp"
#include "fuzz/check.hpp"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

using namespace quenlio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string serial = provider.ConsumeRandomLengthString(40);
    const std::string partNumber = provider.ConsumeRandomLengthString(20);
    QueryResult shown;
    shown.DeviceModel = provider.ConsumeRandomLengthString(8);
    shown.ProductionDate = provider.ConsumeRandomLengthString(8);
    shown.SalesRegion = provider.ConsumeRandomLengthString(8);
    shown.Carrier = provider.ConsumeRandomLengthString(8);
    shown.Factory = provider.ConsumeRandomLengthString(8);
    shown.AfterSalesReplacement = provider.ConsumeRemainingBytesAsString();

    const bool passes = CheckOldSerial(serial);
    if (CharCount(serial) < 5)
        FUZZ_CHECK(passes);
    if (passes && CharCount(serial) >= 5) {
        const std::string_view digit = CharSlice(serial, 5, 1);
        FUZZ_CHECK(digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9');
        FUZZ_CHECK(std::string_view("012789").find(CharSlice(serial, 3, 1)) != std::string_view::npos);
    }

    const QueryResult result = SerialQuery11(serial, partNumber, shown);
    FUZZ_CHECK(result.AfterSalesReplacement == "是" || result.AfterSalesReplacement == "否");
    FUZZ_CHECK(result.Carrier == "AT&T" || result.Carrier == "-");
    FUZZ_CHECK(result.Factory == shown.Factory || result.Factory == "中国");
    // The date is always rewritten: year (possibly empty), "第", two characters, "周".
    FUZZ_CHECK(result.ProductionDate.ends_with("周"));
    FUZZ_CHECK(result.ProductionDate.find("第") != std::string::npos);
    if (result.Factory == "中国" && shown.Factory != "中国")
        FUZZ_CHECK(!result.DeviceModel.empty() && !result.SalesRegion.empty());
    if (passes && CharCount(serial) == 11) {
        const std::string expected = "第" + std::string(CharSlice(serial, 4, 2)) + "周";
        FUZZ_CHECK(result.ProductionDate.ends_with(expected));
        FUZZ_CHECK(CharCount(result.ProductionDate) == 9);
    }
    // Fields without a match keep what was shown.
    const QueryResult again = SerialQuery11(serial, partNumber, result);
    FUZZ_CHECK(again == result);
    return 0;
}
