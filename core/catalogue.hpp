#pragma once
#include <optional>
#include <span>
#include <string_view>

namespace quenlio {

// One part number of the catalogue with its three display texts.
struct CatalogueEntry {
    std::string_view Key, DeviceModel, SalesRegion, Carrier;
};

// All 375 entries of the part-number catalogue.
std::span<const CatalogueEntry> PartNumberCatalogue();

// The entry whose key equals the first seven characters of `partNumber`, upper-cased
// (all of it when shorter); none when no key is equal.
std::optional<CatalogueEntry> LookupPartNumber(std::string_view partNumber);

} // namespace quenlio
