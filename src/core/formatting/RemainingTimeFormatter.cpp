#include "RemainingTimeFormatter.h"

#include <QStringView>

#include <cmath>
#include <string_view>

namespace {

struct Units {
    std::u16string_view days;
    std::u16string_view hours;
    std::u16string_view minutes;
    std::u16string_view seconds;
};

// Each unit's text follows its number; seconds, when shown, are set off
// from the minutes by one space.
constexpr Units compactUnits{u"д ", u"ч ", u"м", u"с"};
constexpr Units fullUnits{u" дней ", u" часов ", u" минут", u" секунд"};

// Writes into a stack buffer so that only the final QString is allocated.
// The longest possible text, a 15-digit day count in the full format, fits
// with room to spare.
class TextBuffer {
public:
    void appendNumber(qint64 value)
    {
        char16_t digits[20];
        int count = 0;
        do {
            digits[count++] = char16_t(u'0' + value % 10);
            value /= 10;
        } while (value > 0);
        while (count > 0)
            m_text[m_size++] = digits[--count];
    }

    void append(std::u16string_view text)
    {
        for (char16_t c : text)
            m_text[m_size++] = c;
    }

    QString toString() const { return QStringView(m_text, m_size).toString(); }

private:
    char16_t m_text[128];
    qsizetype m_size = 0;
};

qint64 wholeSeconds(double seconds)
{
    // Past this the cast to qint64 would overflow; such durations never
    // come from the differences of two real dates.
    constexpr double largest = 9.2e18;
    const double floored = std::floor(seconds);
    if (!(floored > 0)) // negative, zero or NaN
        return 0;
    return floored < largest ? qint64(floored) : qint64(largest);
}

} // namespace

QString RemainingTimeFormatter::string(double seconds, TimerFormat format, bool showSeconds)
{
    const qint64 total = wholeSeconds(seconds);
    const Units &units = format == TimerFormat::full ? fullUnits : compactUnits;

    TextBuffer text;
    text.appendNumber(total / 86400);
    text.append(units.days);
    text.appendNumber(total % 86400 / 3600);
    text.append(units.hours);
    text.appendNumber(total % 3600 / 60);
    text.append(units.minutes);
    if (showSeconds) {
        text.append(u" ");
        text.appendNumber(total % 60);
        text.append(units.seconds);
    }
    return text.toString();
}
