#include "core/dates.hpp"

#include "core/checks.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace quenlio {

namespace {

using namespace std::chrono;

// Blanks allowed around a date and between a date and its time of day; the full-width
// blank comes with texts copied from Chinese web pages.
constexpr std::array<std::string_view, 5> Blanks{" ", "\t", "\r", "\n", "\u3000"};

// The separators of the numeric forms; both places must use the same one.
constexpr std::array<std::string_view, 3> Separators{"-", "/", "."};

constexpr std::string_view YearMark = "年";
constexpr std::string_view MonthMark = "月";
constexpr std::string_view DayMark = "日";

// Reads a text from left to right; every step either consumes what it expects or leaves the
// position where it was.
class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_pos == m_text.size(); }

    bool Take(std::string_view expected) {
        if (m_text.substr(m_pos).substr(0, expected.size()) != expected)
            return false;
        m_pos += expected.size();
        return true;
    }

    // Between `fewest` and `most` (at most 9, so the value fits) ASCII digits as a
    // number; none when there are fewer.
    std::optional<int> Number(std::size_t fewest, std::size_t most) {
        most = std::min<std::size_t>(most, 9);
        std::size_t count = 0;
        int value = 0;
        while (count < most && m_pos + count < m_text.size() && IsDigit(m_text[m_pos + count])) {
            value = value * 10 + (m_text[m_pos + count] - '0');
            ++count;
        }
        if (count < fewest)
            return std::nullopt;
        m_pos += count;
        return value;
    }

    // Any run of at least `fewest` ASCII digits, whose value does not matter.
    bool SkipDigits(std::size_t fewest) {
        std::size_t count = 0;
        while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) {
            ++m_pos;
            ++count;
        }
        return count >= fewest;
    }

    std::size_t SkipBlanks() {
        std::size_t skipped = 0;
        while (TakeAnyOf(Blanks))
            ++skipped;
        return skipped;
    }

    template <std::size_t N>
    std::optional<std::string_view> TakeAnyOf(const std::array<std::string_view, N>& options) {
        for (std::string_view option : options)
            if (Take(option))
                return option;
        return std::nullopt;
    }

    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

std::string_view TrimBlanks(std::string_view text) {
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (std::string_view blank : Blanks) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                trimmed = true;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                trimmed = true;
            }
        }
    }
    return text;
}

// A time of day "h:mm", "hh:mm:ss", optionally with a fraction of a second and, as in
// "2013-11-11T12:00:00+08:00", a zone. It is checked so that trailing garbage is no date,
// and then ignored.
bool ReadTimeOfDay(Reader& reader) {
    const auto hour = reader.Number(1, 2);
    if (!hour || *hour > 23 || !reader.Take(":"))
        return false;
    const auto minute = reader.Number(2, 2);
    if (!minute || *minute > 59)
        return false;
    if (reader.Take(":")) {
        const auto second = reader.Number(2, 2);
        if (!second || *second > 59)
            return false;
        if (reader.Take(".") && !reader.SkipDigits(1))
            return false;
    }
    if (reader.Take("Z"))
        return true;
    if (reader.Take("+") || reader.Take("-")) {
        const auto zoneHours = reader.Number(2, 2);
        if (!zoneHours || *zoneHours > 23)
            return false;
        reader.Take(":");
        const auto zoneMinutes = reader.Number(2, 2);
        return zoneMinutes && *zoneMinutes <= 59;
    }
    return true;
}

std::string TwoDigits(unsigned value) {
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

std::string FormatDate(const year_month_day& date) {
    const int yearNumber = static_cast<int>(date.year());
    return TwoDigits(static_cast<unsigned>(yearNumber / 100)) +
           TwoDigits(static_cast<unsigned>(yearNumber % 100)) + "-" +
           TwoDigits(static_cast<unsigned>(date.month())) + "-" +
           TwoDigits(static_cast<unsigned>(date.day()));
}

// The warranty runs one year from the first activation; the lookup sites count it as 364 days.
constexpr days WarrantySpan{364};

struct VerdictBand {
    std::int64_t From; // the smallest day difference of the band
    std::string_view Verdict;
    bool TellsDays; // the message starts with the day difference
};
constexpr std::array<VerdictBand, 9> VerdictBands{{
    {std::numeric_limits<std::int64_t>::min(), "请重新核对您iPhone的实际激活时间！", false},
    {0, "恭喜，购买时间与激活时间完全符合，全新！", false},
    {1, "新机！", true},
    {5, "您的iPhone是新机！", true},
    {15, "问题不大", true},
    {30, "可能不是全新，但翻新几率也不大", true},
    {45, "有可能是翻新机", true},
    {60, "翻新几率很大", true},
    {180, "翻新机！", true},
}};
static_assert([] {
    for (std::size_t i = 1; i < VerdictBands.size(); ++i)
        if (VerdictBands[i - 1].From >= VerdictBands[i].From)
            return false;
    return true;
}());

constexpr std::string_view DaysLead = "购买时间与激活时间相差";
constexpr std::string_view DaysTail = "天，";
constexpr std::string_view ReplacementVerdict = "您的机子属于苹果售后换机/官翻机，质量没什么问题";

const VerdictBand& BandFor(std::int64_t dayDifference) {
    const VerdictBand* band = &VerdictBands.front();
    for (const VerdictBand& candidate : VerdictBands)
        if (dayDifference >= candidate.From)
            band = &candidate;
    return *band;
}

} // namespace

std::optional<year_month_day> ReadDate(std::string_view text) {
    Reader reader(TrimBlanks(text));
    const auto yearNumber = reader.Number(4, 4);
    if (!yearNumber)
        return std::nullopt;
    const bool chinese = reader.Take(YearMark);
    std::optional<std::string_view> separator;
    if (!chinese && !(separator = reader.TakeAnyOf(Separators)))
        return std::nullopt;
    const auto monthNumber = reader.Number(1, 2);
    if (!monthNumber || !reader.Take(chinese ? MonthMark : *separator))
        return std::nullopt;
    const auto dayNumber = reader.Number(1, 2);
    if (!dayNumber || (chinese && !reader.Take(DayMark)))
        return std::nullopt;
    if (!reader.AtEnd()) {
        if (!reader.Take("T") && reader.SkipBlanks() == 0)
            return std::nullopt;
        if (!ReadTimeOfDay(reader) || !reader.AtEnd())
            return std::nullopt;
    }
    if (*yearNumber == 0)
        return std::nullopt;
    const year_month_day date{year{*yearNumber}, month{static_cast<unsigned>(*monthNumber)},
                              day{static_cast<unsigned>(*dayNumber)}};
    if (!date.ok())
        return std::nullopt;
    return date;
}

std::optional<std::string> EstimateActivationDate(std::string_view warrantyEnd) {
    const auto end = ReadDate(warrantyEnd);
    if (!end)
        return std::nullopt;
    const year_month_day activation{sys_days{*end} - WarrantySpan};
    if (activation.year() < year{1})
        return std::nullopt;
    return FormatDate(activation);
}

std::optional<std::string> RefurbishmentVerdict(std::string_view activationDate,
                                                std::string_view purchaseDate, std::string_view serial) {
    const auto activation = ReadDate(activationDate);
    const auto purchase = ReadDate(purchaseDate);
    if (!activation || !purchase)
        return std::nullopt;
    if (IsReplacementSerial(serial))
        return std::string(ReplacementVerdict);

    // Exact for every pair of readable dates, some three and a half million days apart at most.
    const std::int64_t dayDifference = (sys_days{*purchase} - sys_days{*activation}).count();
    const VerdictBand& band = BandFor(dayDifference);
    if (!band.TellsDays)
        return std::string(band.Verdict);
    return std::string(DaysLead) + std::to_string(dayDifference) + std::string(DaysTail) +
           std::string(band.Verdict);
}

} // namespace quenlio
