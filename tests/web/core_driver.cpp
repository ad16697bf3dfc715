// The native side of the web edition's comparison test: the core operations the page calls,
// over the same functions the wasm bindings call. One request a line on standard input, an
// operation and its texts, tab-separated, each text hex-encoded (so any byte can pass); one
// answer a line, in the same form. "-" stands for no text (a date that cannot be read).
//   K                    every catalogue key, one answer line each
//   S text first count   CharSlice (the numbers in decimal)
//   N|U|C|H|A|O  text    NormalizeSerial, UpperAscii, CharCount, CheckHalfYearCode,
//                        AutofillPartNumber, CheckOldSerial
//   Q12 serial part      the six fields, the red flag (0/1) and the photo (ModelPhoto's number)
//   Q11 serial part six-shown-fields
//   E text               EstimateActivationDate
//   V activation purchase serial
#include "core/catalogue.hpp"
#include "core/dates.hpp"
#include "core/query11.hpp"
#include "core/query12.hpp"
#include "core/text.hpp"

#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace quenlio;

std::string Hex(std::string_view bytes) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += Digits[byte >> 4];
        out += Digits[byte & 15];
    }
    return out;
}

std::string Unhex(std::string_view hex) {
    const auto value = [](char c) {
        return c <= '9' ? c - '0' : c - 'a' + 10;
    };
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(value(hex[i]) * 16 + value(hex[i + 1]));
    return out;
}

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

std::string Fields(const QueryResult& r) {
    return Hex(r.DeviceModel) + '\t' + Hex(r.ProductionDate) + '\t' + Hex(r.SalesRegion) + '\t' +
           Hex(r.Carrier) + '\t' + Hex(r.Factory) + '\t' + Hex(r.AfterSalesReplacement);
}

std::string TextOrNone(const std::optional<std::string>& text) {
    return text ? Hex(*text) : "-";
}

std::string Answer(const std::vector<std::string_view>& request) {
    const std::string_view op = request[0];
    std::vector<std::string> arg;
    for (std::size_t i = 1; i < request.size(); ++i)
        arg.push_back(Unhex(request[i]));
    const auto need = [&](std::size_t count) {
        return arg.size() == count;
    };
    if (op == "N" && need(1))
        return Hex(NormalizeSerial(arg[0]));
    if (op == "U" && need(1))
        return Hex(UpperAscii(arg[0]));
    if (op == "C" && need(1))
        return std::to_string(CharCount(arg[0]));
    if (op == "S" && need(3))
        return Hex(CharSlice(arg[0], std::stoul(arg[1]), std::stoul(arg[2])));
    if (op == "H" && need(1))
        return CheckHalfYearCode(arg[0]) ? "1" : "0";
    if (op == "A" && need(1))
        return Hex(AutofillPartNumber(arg[0]).value_or(std::string_view()));
    if (op == "O" && need(1))
        return CheckOldSerial(arg[0]) ? "1" : "0";
    if (op == "Q12" && need(2)) {
        const QueryDisplay12 shown = DisplayQuery12(arg[0], arg[1]);
        return Fields(shown.Result) + '\t' + (shown.FlagRed ? "1" : "0") + '\t' +
               std::to_string(static_cast<int>(shown.Photo));
    }
    if (op == "Q11" && need(8)) {
        const QueryResult shown{arg[2], arg[3], arg[4], arg[5], arg[6], arg[7]};
        return Fields(SerialQuery11(arg[0], arg[1], shown));
    }
    if (op == "E" && need(1))
        return TextOrNone(EstimateActivationDate(arg[0]));
    if (op == "V" && need(3))
        return TextOrNone(RefurbishmentVerdict(arg[0], arg[1], arg[2]));
    return "?";
}

} // namespace

int main() {
    std::ios::sync_with_stdio(false);
    std::string line;
    std::string out;
    while (std::getline(std::cin, line)) {
        if (line == "K") {
            for (const CatalogueEntry& entry : PartNumberCatalogue())
                out.append(Hex(entry.Key)).append("\n");
            continue;
        }
        out.append(Answer(Split(line))).append("\n");
    }
    std::cout << out;
    return 0;
}
