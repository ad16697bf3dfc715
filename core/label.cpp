#include "core/label.hpp"

#include "core/lengths.hpp"
#include "core/query11.hpp"
#include "core/text.hpp"
#include "core/week_calendar.hpp"

#include <algorithm>
#include <cmath>

namespace quenlio {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

bool IsCode(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c) || IsLetter(c); });
}

bool PassesScreenCheck(std::string_view serial, std::size_t serialLength) {
    return serialLength == Serial12Length ? CheckHalfYearCode(serial) : CheckOldSerial(serial);
}

// The kinds of code a label carries, by what their texts are.
enum Kind { Serial, OtherSerial, Part, Imei, Retail, Kinds };
struct CodeKinds {
    std::string As[Kinds]; // the text as each kind takes it, or empty
};

CodeKinds KindsOf(const std::string& text, std::size_t serialLength) {
    const std::size_t otherLength = serialLength == Serial12Length ? Serial11Length : Serial12Length;
    const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
    return {{LabelSerial(text, serialLength), LabelSerial(text, otherLength), LabelPartNumber(text),
             digits && text.size() == 15 ? text : std::string(),
             digits && (text.size() == 12 || text.size() == 13) ? text : std::string()}};
}

// Adds `text` to `found` unless it is empty or there already.
void Collect(std::vector<std::string>& found, std::string text) {
    if (!text.empty() && std::find(found.begin(), found.end(), text) == found.end())
        found.push_back(std::move(text));
}

// Whether the codes stand together as one label's: each within one and a half code lengths of
// another, and so on from any of them to every other.
bool StandTogether(const std::vector<const LabelCode*>& codes) {
    if (codes.empty())
        return true;
    const auto near = [](const LabelCode& a, const LabelCode& b) {
        const double reach = 1.5 * std::max(a.Length, b.Length);
        return a.Length <= 0 || b.Length <= 0 || std::hypot(a.X - b.X, a.Y - b.Y) <= reach;
    };
    std::vector<bool> reached(codes.size(), false);
    std::vector<std::size_t> next{0};
    reached[0] = true;
    while (!next.empty()) {
        const LabelCode& from = *codes[next.back()];
        next.pop_back();
        for (std::size_t i = 0; i < codes.size(); ++i)
            if (!reached[i] && near(from, *codes[i])) {
                reached[i] = true;
                next.push_back(i);
            }
    }
    return std::all_of(reached.begin(), reached.end(), [](bool r) { return r; });
}

} // namespace

std::string LabelSerial(std::string_view text, std::size_t serialLength) {
    if (text.size() == serialLength + 1 && text.front() == 'S')
        text.remove_prefix(1);
    if (text.size() != serialLength || !IsCode(text) || std::all_of(text.begin(), text.end(), IsDigit) ||
        !PassesScreenCheck(text, serialLength))
        return {};
    return std::string(text);
}

std::string LabelPartNumber(std::string_view text) {
    if (text.starts_with("1P"))
        text.remove_prefix(2);
    text = text.substr(0, text.find('/'));
    const auto letters = [&](std::size_t from, std::size_t count) {
        return std::all_of(text.begin() + from, text.begin() + from + count, IsLetter);
    };
    if (text.size() < ShortestPartNumber || text.size() > PartNumberLength || !letters(0, 2) ||
        !std::all_of(text.begin() + 2, text.begin() + 5, IsDigit) || !letters(5, text.size() - 5))
        return {};
    return std::string(text);
}

std::string_view LabelMessage(const LabelReading& reading, std::size_t serialLength) {
    const bool twelve = serialLength == Serial12Length;
    switch (reading.Result) {
    case LabelReading::Outcome::NoSerial:
        return twelve ? "图片中没有找到12位序列号的条码" : "图片中没有找到11位序列号的条码";
    case LabelReading::Outcome::OtherScreen:
        return twelve ? "这是11位序列号，请到11位序列号查询中扫描"
                      : "这是12位序列号，请到12位序列号查询中扫描";
    case LabelReading::Outcome::TwoSerials:
        return "图片中有两个不同的序列号，请只拍一个标签";
    case LabelReading::Outcome::TwoLabels:
        return "图片中有两个标签的条码，请只拍一个标签";
    case LabelReading::Outcome::Read:
        break;
    }
    return reading.PartNumber.empty() ? std::string_view("标签上没有找到型号") : std::string_view();
}

LabelReading ReadLabel(const std::vector<LabelCode>& codes, std::size_t serialLength) {
    // What each code is, by kind; a code of none of them (a carton's own code) is left out.
    std::vector<std::string> found[Kinds];
    std::vector<const LabelCode*> known;
    for (const LabelCode& code : codes) {
        CodeKinds kinds = KindsOf(code.Text, serialLength);
        bool isKnown = false;
        for (int kind = 0; kind < Kinds; ++kind) {
            isKnown = isKnown || !kinds.As[kind].empty();
            Collect(found[kind], std::move(kinds.As[kind]));
        }
        if (isKnown)
            known.push_back(&code);
    }
    LabelReading reading;
    if (found[Serial].size() > 1) {
        reading.Result = LabelReading::Outcome::TwoSerials;
    } else if (std::any_of(std::begin(found), std::end(found), [](const auto& f) { return f.size() > 1; }) ||
               !StandTogether(known)) {
        reading.Result = LabelReading::Outcome::TwoLabels;
    } else if (found[Serial].empty()) {
        reading.Result =
            found[OtherSerial].empty() ? LabelReading::Outcome::NoSerial : LabelReading::Outcome::OtherScreen;
    } else {
        reading.Result = LabelReading::Outcome::Read;
        reading.Serial = found[Serial].front();
        if (!found[Part].empty())
            reading.PartNumber = found[Part].front();
    }
    return reading;
}

ScannedCode ReadScannedCode(std::string_view text, std::size_t serialLength) {
    const CodeKinds kinds = KindsOf(UpperAscii(text), serialLength);
    if (!kinds.As[Serial].empty())
        return {kinds.As[Serial], {}, {}};
    if (!kinds.As[Part].empty())
        return {{}, kinds.As[Part], {}};
    if (!kinds.As[OtherSerial].empty()) {
        LabelReading otherScreen;
        otherScreen.Result = LabelReading::Outcome::OtherScreen;
        return {{}, {}, LabelMessage(otherScreen, serialLength)};
    }
    if (!kinds.As[Imei].empty())
        return {{}, {}, "这是IMEI码，请扫描序列号或型号的条码"};
    if (!kinds.As[Retail].empty())
        return {{}, {}, "这是商品条码，请扫描序列号或型号的条码"};
    return {{}, {}, "这不是序列号或型号的条码"};
}

} // namespace quenlio
