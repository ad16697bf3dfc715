#include "core/dates.hpp"
namespace quenlio {
std::optional<std::string> EstimateActivationDate(std::string_view) { return std::nullopt; } // placeholder
std::optional<std::string> RefurbishmentVerdict(std::string_view, std::string_view, std::string_view) {
    return std::nullopt;
}
} // namespace quenlio
