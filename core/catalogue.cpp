#include "core/catalogue.hpp"

#include "core/text.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace quenlio {

namespace {

// Every part number the program knows, as of 15 December 2012: key (base code + region suffix),
// device model, sales region, carrier. Grouped by region suffix and model line (see core/FORMAT.md).
// The texts are shown as they stand: the trailing blanks of some regions, "-" against "—", and
// "Softbank" against "SoftBank" are deliberate.
constexpr std::array<CatalogueEntry, 375> Catalogue{{
    // suffix CH, line 4-B
    {"MD128CH", "iPhone 4 8GB 黑色(GSM)", "中国", "中国联通/移动"},
    {"MD198CH", "iPhone 4 8GB 白色(GSM)", "中国", "中国联通/移动"},
    // suffix CH, line 4S-A
    {"MD235CH", "iPhone 4S 16GB 黑色(GSM)", "中国", "中国联通/移动"},
    {"MD239CH", "iPhone 4S 16GB 白色(GSM)", "中国", "中国联通/移动"},
    {"MD242CH", "iPhone 4S 32GB 黑色(GSM)", "中国", "中国联通/移动"},
    {"MD245CH", "iPhone 4S 32GB 白色(GSM)", "中国", "中国联通/移动"},
    {"MD258CH", "iPhone 4S 64GB 黑色(GSM)", "中国", "中国联通/移动"},
    {"MD261CH", "iPhone 4S 64GB 白色(GSM)", "中国", "中国联通/移动"},
    // suffix CH, line 4S-B
    {"MD236CH", "iPhone 4S 16GB 黑色(CDMA)", "中国", "中国电信"},
    {"MD240CH", "iPhone 4S 16GB 白色(CDMA)", "中国", "中国电信"},
    {"MD243CH", "iPhone 4S 32GB 黑色(CDMA)", "中国", "中国电信"},
    {"MD246CH", "iPhone 4S 32GB 白色(CDMA)", "中国", "中国电信"},
    {"MD259CH", "iPhone 4S 64GB 黑色(CDMA)", "中国", "中国电信"},
    {"MD262CH", "iPhone 4S 64GB 白色(CDMA)", "中国", "中国电信"},
    // suffix CH, line 5-A
    {"MD297CH", "iPhone 5 16GB 黑色(GSM)", "中国", "中国联通/移动"},
    {"MD298CH", "iPhone 5 16GB 白色(GSM)", "中国", "中国联通/移动"},
    {"MD299CH", "iPhone 5 32GB 黑色(GSM)", "中国", "中国联通/移动"},
    {"MD300CH", "iPhone 5 32GB 白色(GSM)", "中国", "中国联通/移动"},
    {"MD662CH", "iPhone 5 64GB 黑色(GSM)", "中国", "中国联通/移动"},
    {"MD663CH", "iPhone 5 64GB 白色(GSM)", "中国", "中国联通/移动"},
    // suffix CH, line 5-B
    {"ME039CH", "iPhone 5 16GB 黑色(CDMA)", "中国", "中国电信"},
    {"ME040CH", "iPhone 5 16GB 白色(CDMA)", "中国", "中国电信"},
    {"ME041CH", "iPhone 5 32GB 黑色(CDMA)", "中国", "中国电信"},
    {"ME042CH", "iPhone 5 32GB 白色(CDMA)", "中国", "中国电信"},
    {"ME043CH", "iPhone 5 64GB 黑色(CDMA)", "中国", "中国电信"},
    {"ME044CH", "iPhone 5 64GB 白色(CDMA)", "中国", "中国电信"},
    // suffix CH, line 5-C
    {"MD669CH", "iPhone 5 16GB 黑色", "中国(展示机不作销售)", "-"},
    {"MD670CH", "iPhone 5 16GB 白色", "中国(展示机不作销售)", "-"},
    // suffix ZP, line 4-B
    {"MD128ZP", "iPhone 4 8GB 黑色(GSM)", "香港", "-"},
    {"MD198ZP", "iPhone 4 8GB 白色(GSM)", "香港", "-"},
    // suffix ZP, line 4S-A
    {"MD235ZP", "iPhone 4S 16GB 黑色(GSM)", "香港 ", "-"}, // the only Hong Kong entry with a blank
    {"MD239ZP", "iPhone 4S 16GB 白色(GSM)", "香港", "-"},
    {"MD242ZP", "iPhone 4S 32GB 黑色(GSM)", "香港", "-"},
    {"MD245ZP", "iPhone 4S 32GB 白色(GSM)", "香港", "-"},
    {"MD258ZP", "iPhone 4S 64GB 黑色(GSM)", "香港", "-"},
    {"MD261ZP", "iPhone 4S 64GB 白色(GSM)", "香港", "-"},
    // suffix ZP, line 5-A
    {"MD297ZP", "iPhone 5 16GB 黑色(GSM)", "香港", "-"},
    {"MD298ZP", "iPhone 5 16GB 白色(GSM)", "香港", "-"},
    {"MD299ZP", "iPhone 5 32GB 黑色(GSM)", "香港", "-"},
    {"MD300ZP", "iPhone 5 32GB 白色(GSM)", "香港", "-"},
    {"MD662ZP", "iPhone 5 64GB 黑色(GSM)", "香港", "-"},
    {"MD663ZP", "iPhone 5 64GB 白色(GSM)", "香港", "-"},
    // suffix TA, line 4-B
    {"MD128TA", "iPhone 4 8GB 黑色(GSM)", "台湾", "-"},
    {"MD198TA", "iPhone 4 8GB 白色(GSM)", "台湾", "-"},
    // suffix TA, line 4S-A
    {"MD235TA", "iPhone 4S 16GB 黑色(GSM)", "台湾", "-"},
    {"MD239TA", "iPhone 4S 16GB 白色(GSM)", "台湾", "-"},
    {"MD242TA", "iPhone 4S 32GB 黑色(GSM)", "台湾", "-"},
    {"MD245TA", "iPhone 4S 32GB 白色(GSM)", "台湾", "-"},
    {"MD258TA", "iPhone 4S 64GB 黑色(GSM)", "台湾", "-"},
    {"MD261TA", "iPhone 4S 64GB 白色(GSM)", "台湾", "-"},
    // suffix TA, line 5-A
    {"MD297TA", "iPhone 5 16GB 黑色", "台湾", "-"},
    {"MD298TA", "iPhone 5 16GB 白色", "台湾", "-"},
    {"MD299TA", "iPhone 5 32GB 黑色", "台湾", "-"},
    {"MD300TA", "iPhone 5 32GB 白色", "台湾", "-"},
    {"MD662TA", "iPhone 5 64GB 黑色", "台湾", "-"},
    {"MD663TA", "iPhone 5 64GB 白色", "台湾", "-"},
    // suffix KH, line 4-B
    {"MD128KH", "iPhone 4 8GB 黑色(GSM)", "韩国", "-"},
    {"MD198KH", "iPhone 4 8GB 白色(GSM)", "韩国", "-"},
    // suffix KH, line 4S-A
    {"MD235KH", "iPhone 4S 16GB 黑色(GSM)", "韩国", "-"},
    {"MD239KH", "iPhone 4S 16GB 白色(GSM)", "韩国", "-"},
    {"MD242KH", "iPhone 4S 32GB 黑色(GSM)", "韩国", "-"},
    {"MD245KH", "iPhone 4S 32GB 白色(GSM)", "韩国", "-"},
    {"MD258KH", "iPhone 4S 64GB 黑色(GSM)", "韩国", "-"},
    {"MD261KH", "iPhone 4S 64GB 白色(GSM)", "韩国", "-"},
    // suffix KH, line 5-A
    {"MD297KH", "iPhone 5 16GB 黑色", "韩国", "-"},
    {"MD298KH", "iPhone 5 16GB 白色", "韩国", "-"},
    {"MD299KH", "iPhone 5 32GB 黑色", "韩国", "-"},
    {"MD300KH", "iPhone 5 32GB 白色", "韩国", "-"},
    {"MD662KH", "iPhone 5 64GB 黑色", "韩国", "-"},
    {"MD663KH", "iPhone 5 64GB 白色", "韩国", "-"},
    // suffix J, line 4-B
    {"MD128J", "iPhone 4 8GB 黑色(GSM)", "日本", "-"},
    {"MD198J", "iPhone 4 8GB 白色(GSM)", "日本", "-"},
    // suffix J, line 4S-A
    {"MD235J", "iPhone 4S 16GB 黑色(GSM)", "日本", "Softbank"},
    {"MD239J", "iPhone 4S 16GB 白色(GSM)", "日本", "Softbank"},
    {"MD242J", "iPhone 4S 32GB 黑色(GSM)", "日本", "Softbank"},
    {"MD245J", "iPhone 4S 32GB 白色(GSM)", "日本", "Softbank"},
    {"MD258J", "iPhone 4S 64GB 黑色(GSM)", "日本", "Softbank"},
    {"MD261J", "iPhone 4S 64GB 白色(GSM)", "日本", "Softbank"},
    // suffix J, line 4S-B
    {"MD236J", "iPhone 4S 16GB 黑色(CDMA)", "日本", "au by KDDI"},
    {"MD240J", "iPhone 4S 16GB 白色(CDMA)", "日本", "au by KDDI"},
    {"MD243J", "iPhone 4S 32GB 黑色(CDMA)", "日本", "au by KDDI"},
    {"MD246J", "iPhone 4S 32GB 白色(CDMA)", "日本", "au by KDDI"},
    {"MD259J", "iPhone 4S 64GB 黑色(CDMA)", "日本", "au by KDDI"},
    {"MD262J", "iPhone 4S 64GB 白色(CDMA)", "日本", "au by KDDI"},
    // suffix J, line 5-A
    {"MD297J", "iPhone 5 16GB 黑色(GSM)", "日本", "SoftBank"},
    {"MD298J", "iPhone 5 16GB 白色(GSM)", "日本", "SoftBank"},
    {"MD299J", "iPhone 5 32GB 黑色(GSM)", "日本", "SoftBank"},
    {"MD300J", "iPhone 5 32GB 白色(GSM)", "日本", "SoftBank"},
    {"MD662J", "iPhone 5 64GB 黑色(GSM)", "日本", "SoftBank"},
    {"MD663J", "iPhone 5 64GB 白色(GSM)", "日本", "SoftBank"},
    // suffix J, line 5-B
    {"ME039J", "iPhone 5 16GB 黑色(CDMA)", "日本", "au by KDDI"},
    {"ME040J", "iPhone 5 16GB 白色(CDMA)", "日本", "au by KDDI"},
    {"ME041J", "iPhone 5 32GB 黑色(CDMA)", "日本", "au by KDDI"},
    {"ME042J", "iPhone 5 32GB 白色(CDMA)", "日本", "au by KDDI"},
    {"ME043J", "iPhone 5 64GB 黑色(CDMA)", "日本", "au by KDDI"},
    {"ME044J", "iPhone 5 64GB 白色(CDMA)", "日本", "au by KDDI"},
    // suffix ZA, line 4-B
    {"MD128ZA", "iPhone 4 8GB 黑色(GSM)", "新加坡", "-"},
    {"MD198ZA", "iPhone 4 8GB 白色(GSM)", "新加坡", "-"},
    // suffix ZA, line 4S-A
    {"MD235ZA", "iPhone 4S 16GB 黑色(GSM)", "新加坡 ", "-"},
    {"MD239ZA", "iPhone 4S 16GB 白色(GSM)", "新加坡 ", "-"},
    {"MD242ZA", "iPhone 4S 32GB 黑色(GSM)", "新加坡 ", "-"},
    {"MD245ZA", "iPhone 4S 32GB 白色(GSM)", "新加坡 ", "-"},
    {"MD258ZA", "iPhone 4S 64GB 黑色(GSM)", "新加坡 ", "-"},
    {"MD261ZA", "iPhone 4S 64GB 白色(GSM)", "新加坡 ", "-"},
    // suffix ZA, line 5-A
    {"MD297ZA", "iPhone 5 16GB 黑色", "新加坡", "-"},
    {"MD298ZA", "iPhone 5 16GB 白色", "新加坡", "-"},
    {"MD299ZA", "iPhone 5 32GB 黑色", "新加坡", "-"},
    {"MD300ZA", "iPhone 5 32GB 白色", "新加坡", "-"},
    {"MD662ZA", "iPhone 5 64GB 黑色", "新加坡", "-"},
    {"MD663ZA", "iPhone 5 64GB 白色", "新加坡", "-"},
    // suffix X, line 4-B
    {"MD128X", "iPhone 4 8GB 黑色(GSM)", "澳大利亚", "-"},
    {"MD198X", "iPhone 4 8GB 白色(GSM)", "澳大利亚", "-"},
    // suffix X, line 4S-C
    {"MD234X", "iPhone 4S 16GB 黑色(GSM)", "澳大利亚", "-"},
    {"MD237X", "iPhone 4S 16GB 白色(GSM)", "澳大利亚", "-"},
    {"MD241X", "iPhone 4S 32GB 黑色(GSM)", "澳大利亚", "-"},
    {"MD244X", "iPhone 4S 32GB 白色(GSM)", "澳大利亚", "-"},
    {"MD257X", "iPhone 4S 64GB 黑色(GSM)", "澳大利亚", "-"},
    {"MD260X", "iPhone 4S 64GB 白色(GSM)", "澳大利亚", "-"},
    // suffix X, line 5-A
    {"MD297X", "iPhone 5 16GB 黑色", "澳大利亚", "-"},
    {"MD298X", "iPhone 5 16GB 白色", "澳大利亚", "-"},
    {"MD299X", "iPhone 5 32GB 黑色", "澳大利亚", "-"},
    {"MD300X", "iPhone 5 32GB 白色", "澳大利亚", "-"},
    {"MD662X", "iPhone 5 64GB 黑色", "澳大利亚", "-"},
    {"MD663X", "iPhone 5 64GB 白色", "澳大利亚", "-"},
    // suffix LL, line 4-A
    {"MC676LL", "iPhone 4 16GB 黑色(CDMA)", "美国", "Verizon"},
    {"MC677LL", "iPhone 4 16GB 白色(CDMA)", "美国", "Verizon"},
    {"MC678LL", "iPhone 4 32GB 黑色(CDMA)", "美国", "Verizon"},
    {"MC679LL", "iPhone 4 32GB 白色(CDMA)", "美国", "Verizon"},
    // suffix LL, line 4-B
    {"MD128LL", "iPhone 4 8GB 黑色(GSM)", "美国", "-"},
    {"MD198LL", "iPhone 4 8GB 白色(GSM)", "美国", "-"},
    // suffix LL, line 4-C
    {"MD126LL", "iPhone 4 8GB 黑色(GSM)", "美国", "-"},
    {"MD196LL", "iPhone 4 8GB 白色(GSM)", "美国", "-"},
    {"MD146LL", "iPhone 4 8GB 黑色(CDMA)", "美国", "-"},
    {"MD440LL", "iPhone 4 8GB 白色(CDMA)", "美国", "-"},
    {"MD200LL", "iPhone 4 8GB 白色(CDMA)", "美国", "-"},
    // suffix LL, line 4S-B
    {"MD236LL", "iPhone 4S 16GB 黑色(CDMA)", "美国", "—"},
    {"MD240LL", "iPhone 4S 16GB 白色(CDMA)", "美国", "—"},
    {"MD243LL", "iPhone 4S 32GB 黑色(CDMA)", "美国", "—"},
    {"MD246LL", "iPhone 4S 32GB 白色(CDMA)", "美国", "—"},
    {"MD259LL", "iPhone 4S 64GB 黑色(CDMA)", "美国", "—"},
    {"MD262LL", "iPhone 4S 64GB 白色(CDMA)", "美国", "—"},
    // suffix LL, line 4S-C
    {"MD234LL", "iPhone 4S 16GB 黑色(GSM)", "美国(无锁)", "-"},
    {"MD237LL", "iPhone 4S 16GB 白色(GSM)", "美国(无锁)", "-"},
    {"MD241LL", "iPhone 4S 32GB 黑色(GSM)", "美国(无锁)", "-"},
    {"MD244LL", "iPhone 4S 32GB 白色(GSM)", "美国(无锁)", "-"},
    {"MD257LL", "iPhone 4S 64GB 黑色(GSM)", "美国(无锁)", "-"},
    {"MD260LL", "iPhone 4S 64GB 白色(GSM)", "美国(无锁)", "-"},
    // suffix LL, line 4S-D
    {"MC918LL", "iPhone 4S 16GB 黑色(GSM)", "美国", "AT&T"},
    {"MC920LL", "iPhone 4S 16GB 白色(GSM)", "美国", "AT&T"},
    {"MC919LL", "iPhone 4S 32GB 黑色(GSM)", "美国", "AT&T"},
    {"MC921LL", "iPhone 4S 32GB 白色(GSM)", "美国", "AT&T"},
    {"MD269LL", "iPhone 4S 64GB 黑色(GSM)", "美国", "AT&T"},
    {"MD271LL", "iPhone 4S 64GB 白色(GSM)", "美国", "AT&T"},
    {"MC922LL", "iPhone 4S 16GB 黑色(GSM)", "美国", "AT&T"},
    {"MC923LL", "iPhone 4S 32GB 黑色(GSM)", "美国", "AT&T"},
    {"MC924LL", "iPhone 4S 16GB 白色(GSM)", "美国", "AT&T"},
    {"MC925LL", "iPhone 4S 32GB 白色(GSM)", "美国", "AT&T"},
    {"MD270LL", "iPhone 4S 64GB 黑色(GSM)", "美国", "AT&T"},
    {"MD272LL", "iPhone 4S 64GB 白色(GSM)", "美国", "AT&T"},
    // suffix LL, line 4S-E
    {"MD377LL", "iPhone 4S 16GB 黑色(CDMA)", "美国", "Sprint"},
    {"MD378LL", "iPhone 4S 16GB 白色(CDMA)", "美国", "Sprint"},
    {"MD379LL", "iPhone 4S 32GB 黑色(CDMA)", "美国", "Sprint"},
    {"MD380LL", "iPhone 4S 32GB 白色(CDMA)", "美国", "Sprint"},
    {"MD381LL", "iPhone 4S 64GB 黑色(CDMA)", "美国", "Sprint"},
    {"MD382LL", "iPhone 4S 64GB 白色(CDMA)", "美国", "Sprint"},
    // suffix LL, line 4S-F
    {"MD276LL", "iPhone 4S 16GB 黑色(CDMA)", "美国", "Verizon"},
    {"MD277LL", "iPhone 4S 16GB 白色(CDMA)", "美国", "Verizon"},
    {"MD278LL", "iPhone 4S 32GB 黑色(CDMA)", "美国", "Verizon"},
    {"MD279LL", "iPhone 4S 32GB 白色(CDMA)", "美国", "Verizon"},
    {"MD280LL", "iPhone 4S 64GB 黑色(CDMA)", "美国", "Verizon"},
    {"MD281LL", "iPhone 4S 64GB 白色(CDMA)", "美国", "Verizon"},
    // suffix LL, line 5-B
    {"ME039LL", "iPhone 5 16GB 黑色(CDMA)", "美国", "-"},
    {"ME040LL", "iPhone 5 16GB 白色(CDMA)", "美国", "-"},
    {"ME041LL", "iPhone 5 32GB 黑色(CDMA)", "美国", "-"},
    {"ME042LL", "iPhone 5 32GB 白色(CDMA)", "美国", "-"},
    {"ME043LL", "iPhone 5 64GB 黑色(CDMA)", "美国", "-"},
    {"ME044LL", "iPhone 5 64GB 白色(CDMA)", "美国", "-"},
    // suffix LL, line 5-D
    {"MD634LL", "iPhone 5 16GB 黑色(GSM)", "美国", "AT&T"},
    {"MD635LL", "iPhone 5 16GB 白色(GSM)", "美国", "AT&T"},
    {"MD636LL", "iPhone 5 32GB 黑色(GSM)", "美国", "AT&T"},
    {"MD637LL", "iPhone 5 32GB 白色(GSM)", "美国", "AT&T"},
    {"MD638LL", "iPhone 5 16GB 黑色(GSM)", "美国", "AT&T"},
    {"MD639LL", "iPhone 5 16GB 白色(GSM)", "美国", "AT&T"},
    {"MD644LL", "iPhone 5 64GB 黑色(GSM)", "美国", "AT&T"},
    {"MD645LL", "iPhone 5 64GB 白色(GSM)", "美国", "AT&T"},
    // suffix LL, line 5-E
    {"MD654LL", "iPhone 5 16GB 黑色", "美国", "Verizon"},
    {"MD655LL", "iPhone 5 16GB 白色", "美国", "Verizon"},
    {"MD658LL", "iPhone 5 32GB 黑色", "美国", "Verizon"},
    {"MD659LL", "iPhone 5 32GB 白色", "美国", "Verizon"},
    {"MD664LL", "iPhone 5 64GB 黑色", "美国", "Verizon"},
    {"MD665LL", "iPhone 5 64GB 白色", "美国", "Verizon"},
    // suffix LL, line 5-F
    {"MD656LL", "iPhone 5 16GB 黑色", "美国", "Sprint"},
    {"MD657LL", "iPhone 5 16GB 白色", "美国", "Sprint"},
    {"MD660LL", "iPhone 5 32GB 黑色", "美国", "Sprint"},
    {"MD661LL", "iPhone 5 32GB 白色", "美国", "Sprint"},
    {"MD667LL", "iPhone 5 64GB 黑色", "美国", "Sprint"},
    {"MD668LL", "iPhone 5 64GB 白色", "美国", "Sprint"},
    // suffix LL, line 5-G
    {"ND097LL", "iPhone 5 16GB 黑色", "美国", "-"},
    {"ND105LL", "iPhone 5 16GB 白色", "美国", "-"},
    // suffix C, line 4-B
    {"MD128C", "iPhone 4 8GB 黑色(GSM)", "加拿大", "-"},
    {"MD198C", "iPhone 4 8GB 白色(GSM)", "加拿大", "-"},
    // suffix C, line 4S-C
    {"MD234C", "iPhone 4S 16GB 黑色(GSM)", "加拿大", "-"},
    {"MD237C", "iPhone 4S 16GB 白色(GSM)", "加拿大", "-"},
    {"MD241C", "iPhone 4S 32GB 黑色(GSM)", "加拿大", "-"},
    {"MD244C", "iPhone 4S 32GB 白色(GSM)", "加拿大", "-"},
    {"MD257C", "iPhone 4S 64GB 黑色(GSM)", "加拿大", "-"},
    {"MD260C", "iPhone 4S 64GB 白色(GSM)", "加拿大", "-"},
    // suffix C, line 5-H
    {"MD293C", "iPhone 5 16GB 黑色", "加拿大", "-"},
    {"MD294C", "iPhone 5 16GB 白色", "加拿大", "-"},
    {"MD295C", "iPhone 5 32GB 黑色", "加拿大", "-"},
    {"MD296C", "iPhone 5 32GB 白色", "加拿大", "-"},
    {"MD642C", "iPhone 5 64GB 黑色", "加拿大", "-"},
    {"MD643C", "iPhone 5 64GB 白色", "加拿大", "-"},
    // suffix E, line 4S-A
    {"MD235E", "iPhone 4S 16GB 黑色(GSM)", "墨西哥 ", "-"},
    {"MD239E", "iPhone 4S 16GB 白色(GSM)", "墨西哥 ", "-"},
    {"MD242E", "iPhone 4S 32GB 黑色(GSM)", "墨西哥 ", "-"},
    {"MD245E", "iPhone 4S 32GB 白色(GSM)", "墨西哥 ", "-"},
    {"MD258E", "iPhone 4S 64GB 黑色(GSM)", "墨西哥 ", "-"},
    {"MD261E", "iPhone 4S 64GB 白色(GSM)", "墨西哥 ", "-"},
    // suffix B, line 4-B
    {"MD128B", "iPhone 4 8GB 黑色(GSM)", "英国", "-"},
    {"MD198B", "iPhone 4 8GB 白色(GSM)", "英国", "-"},
    // suffix B, line 4S-A
    {"MD235B", "iPhone 4S 16GB 黑色(GSM)", "英国", "Vodafone(仅供参考)"},
    {"MD239B", "iPhone 4S 16GB 白色(GSM)", "英国", "Vodafone(仅供参考)"},
    {"MD242B", "iPhone 4S 32GB 黑色(GSM)", "英国", "Vodafone(仅供参考)"},
    {"MD245B", "iPhone 4S 32GB 白色(GSM)", "英国", "Vodafone(仅供参考)"},
    {"MD258B", "iPhone 4S 64GB 黑色(GSM)", "英国", "Vodafone(仅供参考)"},
    {"MD261B", "iPhone 4S 64GB 白色(GSM)", "英国", "Vodafone(仅供参考)"},
    // suffix B, line 5-A
    {"MD297B", "iPhone 5 16GB 黑色", "英国", "-"},
    {"MD298B", "iPhone 5 16GB 白色", "英国", "-"},
    {"MD299B", "iPhone 5 32GB 黑色", "英国", "-"},
    {"MD300B", "iPhone 5 32GB 白色", "英国", "-"},
    {"MD662B", "iPhone 5 64GB 黑色", "英国", "-"},
    {"MD663B", "iPhone 5 64GB 白色", "英国", "-"},
    // suffix F, line 4-B
    {"MD128F", "iPhone 4 8GB 黑色(GSM)", "法国", "-"},
    {"MD198F", "iPhone 4 8GB 白色(GSM)", "法国", "-"},
    // suffix F, line 4S-A
    {"MD235F", "iPhone 4S 16GB 黑色(GSM)", "法国", "-"},
    {"MD239F", "iPhone 4S 16GB 白色(GSM)", "法国", "-"},
    {"MD242F", "iPhone 4S 32GB 黑色(GSM)", "法国", "-"},
    {"MD245F", "iPhone 4S 32GB 白色(GSM)", "法国", "-"},
    {"MD258F", "iPhone 4S 64GB 黑色(GSM)", "法国", "-"},
    {"MD261F", "iPhone 4S 64GB 白色(GSM)", "法国", "-"},
    // suffix F, line 5-A
    {"MD297F", "iPhone 5 16GB 黑色", "法国", "-"},
    {"MD298F", "iPhone 5 16GB 白色", "法国", "-"},
    {"MD299F", "iPhone 5 32GB 黑色", "法国", "-"},
    {"MD300F", "iPhone 5 32GB 白色", "法国", "-"},
    {"MD662F", "iPhone 5 64GB 黑色", "法国", "-"},
    {"MD663F", "iPhone 5 64GB 白色", "法国", "-"},
    // suffix IP, line 4-B
    {"MD128IP", "iPhone 4 8GB 黑色(GSM)", "意大利", "-"},
    {"MD198IP", "iPhone 4 8GB 白色(GSM)", "意大利", "-"},
    // suffix IP, line 4S-A
    {"MD235IP", "iPhone 4S 16GB 黑色(GSM)", "意大利 ", "-"},
    {"MD239IP", "iPhone 4S 16GB 白色(GSM)", "意大利 ", "-"},
    {"MD242IP", "iPhone 4S 32GB 黑色(GSM)", "意大利 ", "-"},
    {"MD245IP", "iPhone 4S 32GB 白色(GSM)", "意大利 ", "-"},
    {"MD258IP", "iPhone 4S 64GB 黑色(GSM)", "意大利 ", "-"},
    {"MD261IP", "iPhone 4S 64GB 白色(GSM)", "意大利 ", "-"},
    // suffix IP, line 5-A
    {"MD297IP", "iPhone 5 16GB 黑色", "意大利", "-"},
    {"MD298IP", "iPhone 5 16GB 白色", "意大利", "-"},
    {"MD299IP", "iPhone 5 32GB 黑色", "意大利", "-"},
    {"MD300IP", "iPhone 5 32GB 白色", "意大利", "-"},
    {"MD662IP", "iPhone 5 64GB 黑色", "意大利", "-"},
    {"MD663IP", "iPhone 5 64GB 白色", "意大利", "-"},
    // suffix DN, line 4S-A
    {"MD235DN", "iPhone 4S 16GB 黑色(GSM)", "奥地利/荷兰 ", "-"},
    {"MD239DN", "iPhone 4S 16GB 白色(GSM)", "奥地利/荷兰 ", "-"},
    {"MD242DN", "iPhone 4S 32GB 黑色(GSM)", "奥地利/荷兰 ", "-"},
    {"MD245DN", "iPhone 4S 32GB 白色(GSM)", "奥地利/荷兰 ", "-"},
    {"MD258DN", "iPhone 4S 64GB 黑色(GSM)", "奥地利/荷兰 ", "-"},
    {"MD261DN", "iPhone 4S 64GB 白色(GSM)", "奥地利/荷兰 ", "-"},
    // suffix DN, line 5-A
    {"MD297DN", "iPhone 5 16GB 黑色", "德国/荷兰/奥地利", "-"},
    {"MD298DN", "iPhone 5 16GB 白色", "德国/荷兰/奥地利", "-"},
    {"MD299DN", "iPhone 5 32GB 黑色", "德国/荷兰/奥地利", "-"},
    {"MD300DN", "iPhone 5 32GB 白色", "德国/荷兰/奥地利", "-"},
    {"MD662DN", "iPhone 5 64GB 黑色", "德国/荷兰/奥地利", "-"},
    {"MD663DN", "iPhone 5 64GB 白色", "德国/荷兰/奥地利", "-"},
    // suffix D, line 4S-A
    {"MD235D", "iPhone 4S 16GB 黑色(GSM)", "德国 ", "-"},
    {"MD239D", "iPhone 4S 16GB 白色(GSM)", "德国 ", "-"},
    {"MD242D", "iPhone 4S 32GB 黑色(GSM)", "德国 ", "-"},
    {"MD245D", "iPhone 4S 32GB 白色(GSM)", "德国 ", "-"},
    {"MD258D", "iPhone 4S 64GB 黑色(GSM)", "德国 ", "-"},
    {"MD261D", "iPhone 4S 64GB 白色(GSM)", "德国 ", "-"},
    // suffix NF, line 4S-A
    {"MD235NF", "iPhone 4S 16GB 黑色(GSM)", "比利时/卢森堡 ", "-"},
    {"MD239NF", "iPhone 4S 16GB 白色(GSM)", "比利时/卢森堡 ", "-"},
    {"MD242NF", "iPhone 4S 32GB 黑色(GSM)", "比利时/卢森堡 ", "-"},
    {"MD245NF", "iPhone 4S 32GB 白色(GSM)", "比利时/卢森堡 ", "-"},
    {"MD258NF", "iPhone 4S 64GB 黑色(GSM)", "比利时/卢森堡 ", "-"},
    {"MD261NF", "iPhone 4S 64GB 白色(GSM)", "比利时/卢森堡 ", "-"},
    // suffix NF, line 5-A
    {"MD297NF", "iPhone 5 16GB 黑色", "卢森堡/比利时", "-"},
    {"MD298NF", "iPhone 5 16GB 白色", "卢森堡/比利时", "-"},
    {"MD299NF", "iPhone 5 32GB 黑色", "卢森堡/比利时", "-"},
    {"MD300NF", "iPhone 5 32GB 白色", "卢森堡/比利时", "-"},
    {"MD662NF", "iPhone 5 64GB 黑色", "卢森堡/比利时", "-"},
    {"MD663NF", "iPhone 5 64GB 白色", "卢森堡/比利时", "-"},
    // suffix CS, line 4S-A
    {"MD235CS", "iPhone 4S 16GB 黑色(GSM)", "捷克 ", "-"},
    {"MD239CS", "iPhone 4S 16GB 白色(GSM)", "捷克 ", "-"},
    {"MD242CS", "iPhone 4S 32GB 黑色(GSM)", "捷克 ", "-"},
    {"MD245CS", "iPhone 4S 32GB 白色(GSM)", "捷克 ", "-"},
    {"MD258CS", "iPhone 4S 64GB 黑色(GSM)", "捷克 ", "-"},
    {"MD261CS", "iPhone 4S 64GB 白色(GSM)", "捷克 ", "-"},
    // suffix CS, line 5-A
    {"MD297CS", "iPhone 5 16GB 黑色", "捷克", "-"},
    {"MD298CS", "iPhone 5 16GB 白色", "捷克", "-"},
    {"MD299CS", "iPhone 5 32GB 黑色", "捷克", "-"},
    {"MD300CS", "iPhone 5 32GB 白色", "捷克", "-"},
    {"MD662CS", "iPhone 5 64GB 黑色", "捷克", "-"},
    {"MD663CS", "iPhone 5 64GB 白色", "捷克", "-"},
    // suffix KN, line 4S-A
    {"MD235KN", "iPhone 4S 16GB 黑色(GSM)", "丹麦/挪威 ", "-"},
    {"MD239KN", "iPhone 4S 16GB 白色(GSM)", "丹麦/挪威 ", "-"},
    {"MD242KN", "iPhone 4S 32GB 黑色(GSM)", "丹麦/挪威 ", "-"},
    {"MD245KN", "iPhone 4S 32GB 白色(GSM)", "丹麦/挪威 ", "-"},
    {"MD258KN", "iPhone 4S 64GB 黑色(GSM)", "丹麦/挪威 ", "-"},
    {"MD261KN", "iPhone 4S 64GB 白色(GSM)", "丹麦/挪威 ", "-"},
    // suffix KN, line 5-A
    {"MD297KN", "iPhone 5 16GB 黑色", "挪威/丹麦", "-"},
    {"MD298KN", "iPhone 5 16GB 白色", "挪威/丹麦", "-"},
    {"MD299KN", "iPhone 5 32GB 黑色", "挪威/丹麦", "-"},
    {"MD300KN", "iPhone 5 32GB 白色", "挪威/丹麦", "-"},
    {"MD662KN", "iPhone 5 64GB 黑色", "挪威/丹麦", "-"},
    {"MD663KN", "iPhone 5 64GB 白色", "挪威/丹麦", "-"},
    // suffix KS, line 4S-A
    {"MD235KS", "iPhone 4S 16GB 黑色(GSM)", "芬兰/瑞典", "-"},
    {"MD239KS", "iPhone 4S 16GB 白色(GSM)", "芬兰/瑞典", "-"},
    {"MD242KS", "iPhone 4S 32GB 黑色(GSM)", "芬兰/瑞典", "-"},
    {"MD245KS", "iPhone 4S 32GB 白色(GSM)", "芬兰/瑞典", "-"},
    {"MD258KS", "iPhone 4S 64GB 黑色(GSM)", "芬兰/瑞典", "-"},
    {"MD261KS", "iPhone 4S 64GB 白色(GSM)", "芬兰/瑞典", "-"},
    // suffix KS, line 5-A
    {"MD297KS", "iPhone 5 16GB 黑色", "瑞典/芬兰", "-"},
    {"MD298KS", "iPhone 5 16GB 白色", "瑞典/芬兰", "-"},
    {"MD299KS", "iPhone 5 32GB 黑色", "瑞典/芬兰", "-"},
    {"MD300KS", "iPhone 5 32GB 白色", "瑞典/芬兰", "-"},
    {"MD662KS", "iPhone 5 64GB 黑色", "瑞典/芬兰", "-"},
    {"MD663KS", "iPhone 5 64GB 白色", "瑞典/芬兰", "-"},
    // suffix CM, line 4S-A
    {"MD235CM", "iPhone 4S 16GB 黑色(GSM)", "匈牙利 ", "-"},
    {"MD239CM", "iPhone 4S 16GB 白色(GSM)", "匈牙利 ", "-"},
    {"MD242CM", "iPhone 4S 32GB 黑色(GSM)", "匈牙利 ", "-"},
    {"MD245CM", "iPhone 4S 32GB 白色(GSM)", "匈牙利 ", "-"},
    {"MD258CM", "iPhone 4S 64GB 黑色(GSM)", "匈牙利 ", "-"},
    {"MD261CM", "iPhone 4S 64GB 白色(GSM)", "匈牙利 ", "-"},
    // suffix CM, line 5-A
    {"MD297CM", "iPhone 5 16GB 黑色", "匈牙利", "-"},
    {"MD298CM", "iPhone 5 16GB 白色", "匈牙利", "-"},
    {"MD299CM", "iPhone 5 32GB 黑色", "匈牙利", "-"},
    {"MD300CM", "iPhone 5 32GB 白色", "匈牙利", "-"},
    {"MD662CM", "iPhone 5 64GB 黑色", "匈牙利", "-"},
    {"MD663CM", "iPhone 5 64GB 白色", "匈牙利", "-"},
    // suffix ER, line 4S-A
    {"MD235ER", "iPhone 4S 16GB 黑色(GSM)", "爱尔兰 ", "-"},
    {"MD239ER", "iPhone 4S 16GB 白色(GSM)", "爱尔兰 ", "-"},
    {"MD242ER", "iPhone 4S 32GB 黑色(GSM)", "爱尔兰 ", "-"},
    {"MD245ER", "iPhone 4S 32GB 白色(GSM)", "爱尔兰 ", "-"},
    {"MD258ER", "iPhone 4S 64GB 黑色(GSM)", "爱尔兰 ", "-"},
    {"MD261ER", "iPhone 4S 64GB 白色(GSM)", "爱尔兰 ", "-"},
    // suffix ER, line 5-A
    {"MD297ER", "iPhone 5 16GB 黑色", "爱尔兰", "-"},
    {"MD298ER", "iPhone 5 16GB 白色", "爱尔兰", "-"},
    {"MD299ER", "iPhone 5 32GB 黑色", "爱尔兰", "-"},
    {"MD300ER", "iPhone 5 32GB 白色", "爱尔兰", "-"},
    {"MD662ER", "iPhone 5 64GB 黑色", "爱尔兰", "-"},
    {"MD663ER", "iPhone 5 64GB 白色", "爱尔兰", "-"},
    // suffix Y, line 4S-A
    {"MD235Y", "iPhone 4S 16GB 黑色(GSM)", "西班牙", "-"},
    {"MD239Y", "iPhone 4S 16GB 白色(GSM)", "西班牙", "-"},
    {"MD242Y", "iPhone 4S 32GB 黑色(GSM)", "西班牙", "-"},
    {"MD245Y", "iPhone 4S 32GB 白色(GSM)", "西班牙", "-"},
    {"MD258Y", "iPhone 4S 64GB 黑色(GSM)", "西班牙", "-"},
    {"MD261Y", "iPhone 4S 64GB 白色(GSM)", "西班牙", "-"},
    // suffix Y, line 5-A
    {"MD297Y", "iPhone 5 16GB 黑色", "西班牙", "-"},
    {"MD298Y", "iPhone 5 16GB 白色", "西班牙", "-"},
    {"MD299Y", "iPhone 5 32GB 黑色", "西班牙", "-"},
    {"MD300Y", "iPhone 5 32GB 白色", "西班牙", "-"},
    {"MD662Y", "iPhone 5 64GB 黑色", "西班牙", "-"},
    {"MD663Y", "iPhone 5 64GB 白色", "西班牙", "-"},
    // suffix FD, line 4S-A
    {"MD235FD", "iPhone 4S 16GB 黑色(GSM)", "瑞士", "-"},
    {"MD239FD", "iPhone 4S 16GB 白色(GSM)", "瑞士", "-"},
    {"MD242FD", "iPhone 4S 32GB 黑色(GSM)", "瑞士", "-"},
    {"MD245FD", "iPhone 4S 32GB 白色(GSM)", "瑞士", "-"},
    {"MD258FD", "iPhone 4S 64GB 黑色(GSM)", "瑞士", "-"},
    {"MD261FD", "iPhone 4S 64GB 白色(GSM)", "瑞士", "-"},
    // suffix FD, line 5-A
    {"MD297FD", "iPhone 5 16GB 黑色", "瑞士", "-"},
    {"MD298FD", "iPhone 5 16GB 白色", "瑞士", "-"},
    {"MD299FD", "iPhone 5 32GB 黑色", "瑞士", "-"},
    {"MD300FD", "iPhone 5 32GB 白色", "瑞士", "-"},
    {"MD662FD", "iPhone 5 64GB 黑色", "瑞士", "-"},
    {"MD663FD", "iPhone 5 64GB 白色", "瑞士", "-"},
}};
static_assert(Catalogue.size() == 375);

// Every key is a base code of two letters and three digits and a suffix of one or two letters, so
// upper-case letters and digits only: the lookup upper-cases what it is given.
static_assert(std::all_of(Catalogue.begin(), Catalogue.end(), [](const CatalogueEntry& entry) {
    return (entry.Key.size() == 6 || entry.Key.size() == 7) &&
           std::all_of(entry.Key.begin(), entry.Key.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}));

constexpr std::size_t LongestKey = 7;

struct KeyIndex {
    std::string_view Key;
    std::uint16_t Row; // position in Catalogue
};

// Keys compared character by character: a key of at most seven characters differs from most
// others within its first few, where a call to memcmp would cost more than the comparison.
constexpr bool KeyLess(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
}

// The keys in order, sorted by the compiler, so a lookup is a binary search over them while the
// rows stay grouped by suffix and line.
constexpr std::array<KeyIndex, Catalogue.size()> ByKey = [] {
    std::array<KeyIndex, Catalogue.size()> index{};
    for (std::size_t i = 0; i < Catalogue.size(); ++i)
        index[i] = {Catalogue[i].Key, static_cast<std::uint16_t>(i)};
    std::sort(index.begin(), index.end(),
              [](const KeyIndex& a, const KeyIndex& b) { return KeyLess(a.Key, b.Key); });
    return index;
}();
// A key equal to another would hide one of the two.
static_assert(std::adjacent_find(ByKey.begin(), ByKey.end(),
                                 [](const KeyIndex& a, const KeyIndex& b) { return a.Key == b.Key; }) ==
                  ByKey.end(),
              "catalogue keys must be unique");

} // namespace

std::span<const CatalogueEntry> PartNumberCatalogue() {
    return Catalogue;
}

std::optional<CatalogueEntry> LookupPartNumber(std::string_view partNumber) {
    const std::string key = UpperAscii(CharSlice(partNumber, 1, LongestKey));
    const auto found =
        std::lower_bound(ByKey.begin(), ByKey.end(), key,
                         [](const KeyIndex& index, std::string_view k) { return KeyLess(index.Key, k); });
    if (found == ByKey.end() || found->Key != key)
        return std::nullopt;
    return Catalogue[found->Row];
}

} // namespace quenlio
