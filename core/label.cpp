#include "core/label.hpp"

#include "core/lengths.hpp"
#include "core/query11.hpp"
#include "core/week_calendar.hpp"

#include <algorithm>

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

// Adds `text` to `found` unless it is empty or there already.
void Collect(std::vector<std::string>& found, std::string text) {
    if (!text.empty() && std::find(found.begin(), found.end(), text) == found.end())
        found.push_back(std::move(text));
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
    if (text.size() < 5 || text.size() > PartNumberLength || !IsCode(text) || !IsLetter(text.front()) ||
        std::none_of(text.begin(), text.end(), IsDigit))
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
    case LabelReading::Outcome::Read:
        break;
    }
    return reading.PartNumber.empty() ? std::string_view("标签上没有找到唯一的型号") : std::string_view();
}

LabelReading ReadLabel(const std::vector<std::string>& texts, std::size_t serialLength) {
    const std::size_t otherLength = serialLength == Serial12Length ? Serial11Length : Serial12Length;
    std::vector<std::string> serials, others, parts;
    for (const std::string& text : texts) {
        Collect(serials, LabelSerial(text, serialLength));
        Collect(others, LabelSerial(text, otherLength));
        Collect(parts, LabelPartNumber(text));
    }
    LabelReading reading;
    if (serials.size() > 1) {
        reading.Result = LabelReading::Outcome::TwoSerials;
    } else if (serials.empty()) {
        reading.Result =
            others.empty() ? LabelReading::Outcome::NoSerial : LabelReading::Outcome::OtherScreen;
    } else {
        reading.Result = LabelReading::Outcome::Read;
        reading.Serial = serials.front();
        reading.TwoPartNumbers = parts.size() > 1;
        if (parts.size() == 1)
            reading.PartNumber = parts.front();
    }
    return reading;
}

} // namespace quenlio
