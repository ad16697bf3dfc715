#include "core/query11.hpp"
namespace quenlio {
bool CheckOldSerial(std::string_view) { return true; } // placeholder until the old-format tables land
QueryResult SerialQuery11(std::string_view, std::string_view, const QueryResult& shown) { return shown; }
} // namespace quenlio
