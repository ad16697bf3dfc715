#pragma once
// The web pages the program hands to the browser. The shop, the warranty site and the
// forum are placeholders under the reserved ".example" domain: a distributor puts the
// real addresses here, and nowhere else.
namespace quenlio::links {

inline constexpr char ShopPage[] = "http://shop.quenlio.example/";
inline constexpr char SecureShopPage[] = "https://shop.quenlio.example/";
inline constexpr char WarrantyLookupPage[] = "http://warranty.quenlio.example/";
inline constexpr char ReleaseThreadPage[] = "http://forum.quenlio.example/thread-3000-1-1.html";

} // namespace quenlio::links
