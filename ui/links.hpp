#pragma once
// The web pages the program hands to the browser. The shop, the warranty site and the
// forum are placeholders under the reserved ".example" domain: a distributor puts the
// real addresses here, and nowhere else.
#include <string_view>

namespace quenlio::links {

inline constexpr char ShopPage[] = "http://shop.quenlio.example/";
inline constexpr char SecureShopPage[] = "https://shop.quenlio.example/";
inline constexpr char WarrantyLookupPage[] = "http://warranty.quenlio.example/";
inline constexpr char ReleaseThreadPage[] = "http://forum.quenlio.example/thread-3000-1-1.html";

// On Windows an address reaches the browser inside double quotes on the command
// interpreter's line: quoted, "&" and "^" of a query string are plain characters, but a
// quote would end the quoting, "%" would expand a variable, and a control character
// would end the line. Such an address is refused here, before it can be built in.
consteval bool IsSafeOnCommandLine(std::string_view address) {
    if (!address.starts_with("http://") && !address.starts_with("https://"))
        return false;
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '%' || byte < 0x20 || byte == 0x7f)
            return false;
    }
    return true;
}

static_assert(IsSafeOnCommandLine(ShopPage));
static_assert(IsSafeOnCommandLine(SecureShopPage));
static_assert(IsSafeOnCommandLine(WarrantyLookupPage));
static_assert(IsSafeOnCommandLine(ReleaseThreadPage));
// What the check is for: a query string passes, a quote or a variable does not.
static_assert(IsSafeOnCommandLine("http://shop.quenlio.example/item?id=1&spm=a^b"));
static_assert(!IsSafeOnCommandLine("http://shop.quenlio.example/\" & calc"));
static_assert(!IsSafeOnCommandLine("http://shop.quenlio.example/%PATH%"));

} // namespace quenlio::links
