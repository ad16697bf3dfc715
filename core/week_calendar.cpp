#include "core/week_calendar.hpp"
namespace quenlio {
std::string DecodeProductionDate(std::string_view) { return {}; } // placeholder until the calendar lands
} // namespace quenlio
