#include "core/catalogue.hpp"
namespace quenlio {
std::span<const CatalogueEntry> PartNumberCatalogue() { return {}; } // placeholder until the catalogue lands
std::optional<CatalogueEntry> LookupPartNumber(std::string_view) { return std::nullopt; }
} // namespace quenlio
