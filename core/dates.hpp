#pragma once
// Warranty, activation and purchase dates.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace quenlio {

// The calendar date written in `text`: "yyyy-mm-dd", "yyyy/mm/dd", "yyyy.mm.dd" or
// "yyyy年mm月dd日", months and days with one or two digits, the year 0001 to 9999, blanks
// around it and a time of day after it allowed (the time is ignored). None for anything
// else: an impossible date such as 2013-02-30, digits without separators ("20131111").
std::optional<std::chrono::year_month_day> ReadDate(std::string_view text);

// The warranty end date read as a calendar date, minus 364 days, as "yyyy-mm-dd";
// none when it is no date (or the estimate would fall before the year 0001, which could
// not be read back).
std::optional<std::string> EstimateActivationDate(std::string_view warrantyEnd);

// The verdict text for the two dates and the serial; none when either date cannot be
// read.
std::optional<std::string> RefurbishmentVerdict(std::string_view activationDate,
                                                std::string_view purchaseDate, std::string_view serial);

} // namespace quenlio
