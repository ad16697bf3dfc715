#pragma once
// Warranty, activation and purchase dates.
#include <optional>
#include <string>
#include <string_view>

namespace quenlio {

// The warranty end date read as a calendar date, minus 364 days, as "yyyy-mm-dd";
// none when it is no date.
std::optional<std::string> EstimateActivationDate(std::string_view warrantyEnd);

// The verdict text for the two dates and the serial; none when either date cannot be
// read.
std::optional<std::string> RefurbishmentVerdict(std::string_view activationDate, std::string_view purchaseDate,
                                                std::string_view serial);

} // namespace quenlio
