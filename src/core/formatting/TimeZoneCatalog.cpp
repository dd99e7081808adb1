#include "TimeZoneCatalog.h"

#include <QCollator>
#include <QTimeZone>

#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/tzfmt.h>
#include <unicode/tznames.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

struct Entry {
    QString identifier;
    int offset; // seconds east of Greenwich
    QString title;
};

icu::UnicodeString toIcu(const QString &text)
{
    return icu::UnicodeString(reinterpret_cast<const char16_t *>(text.utf16()), int32_t(text.size()));
}

// The names come from ICU directly: Qt 6.4 answers a request for the generic
// name with the standard-time one ("…, стандартное время" in July).
class ZoneNames {
public:
    explicit ZoneNames(const QLocale &locale)
    {
        const icu::Locale icuLocale(locale.name().toLatin1().constData());
        UErrorCode status = U_ZERO_ERROR;
        m_names.reset(icu::TimeZoneNames::createInstance(icuLocale, status));
        if (U_FAILURE(status))
            m_names.reset();
        status = U_ZERO_ERROR;
        m_format.reset(icu::TimeZoneFormat::createInstance(icuLocale, status));
        if (U_FAILURE(status))
            m_format.reset();
    }

    // ICU's canonical form of an IANA identifier; none for the identifiers
    // Qt adds of its own ("UTC+03:00"), which no other program would know.
    static std::optional<icu::UnicodeString> canonicalId(const QString &identifier)
    {
        icu::UnicodeString canonical;
        UBool isSystemId = false;
        UErrorCode status = U_ZERO_ERROR;
        icu::TimeZone::getCanonicalID(toIcu(identifier), canonical, isSystemId, status);
        if (U_FAILURE(status) || !isSystemId)
            return std::nullopt;
        return canonical;
    }

    // The long generic name, which says neither standard nor summer time:
    // the region's ("Восточная Америка"), else the place's ("Великобритания").
    // Failing both, the standard-time name, and then the identifier itself.
    QString name(const icu::UnicodeString &canonical, const QString &identifier, const QDateTime &at) const
    {
        const UDate date = UDate(at.toMSecsSinceEpoch());
        icu::UnicodeString name;
        if (m_names)
            m_names->getDisplayName(canonical, UTZNM_LONG_GENERIC, date, name);
        if (name.isEmpty() && m_format) {
            const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(canonical));
            // Without a place ICU writes the offset ("GMT-05:00") and then
            // reports a standard or summer time type instead of none.
            UTimeZoneFormatTimeType type = UTZFMT_TIME_TYPE_UNKNOWN;
            icu::UnicodeString place;
            m_format->format(UTZFMT_STYLE_GENERIC_LOCATION, *zone, date, place, &type);
            if (type == UTZFMT_TIME_TYPE_UNKNOWN)
                name = place;
        }
        if (name.isEmpty() && m_names)
            m_names->getDisplayName(canonical, UTZNM_LONG_STANDARD, date, name);
        if (name.isEmpty())
            return identifier;
        return QString(reinterpret_cast<const QChar *>(name.getBuffer()), name.length());
    }

private:
    std::unique_ptr<icu::TimeZoneNames> m_names;
    std::unique_ptr<icu::TimeZoneFormat> m_format;
};

void appendTwoDigits(QString &text, int value)
{
    text.append(QChar(u'0' + value / 10));
    text.append(QChar(u'0' + value % 10));
}

// "GMT+05:30 — name (identifier)"; zero offsets take the plus sign.
QString title(int offset, const QString &name, const QString &identifier)
{
    const int magnitude = std::abs(offset);
    QString text;
    text.reserve(16 + name.size() + identifier.size());
    text.append(u"GMT");
    text.append(offset < 0 ? u'-' : u'+');
    appendTwoDigits(text, magnitude / 3600);
    text.append(u':');
    appendTwoDigits(text, magnitude % 3600 / 60);
    text.append(u" — ");
    text.append(name);
    text.append(u" (");
    text.append(identifier);
    text.append(u')');
    return text;
}

} // namespace

TimeZoneOption TimeZoneCatalog::systemOption()
{
    return {systemOptionId.toString(), QStringLiteral("Системный"), std::nullopt};
}

QList<TimeZoneOption> TimeZoneCatalog::allOptions(const QLocale &locale)
{
    // One moment for every zone, so that all offsets agree on "today".
    return allOptions(locale, QTimeZone::availableTimeZoneIds(), QDateTime::currentDateTimeUtc());
}

QList<TimeZoneOption> TimeZoneCatalog::allOptions(const QLocale &locale, const QList<QByteArray> &ids,
                                                  const QDateTime &at)
{
    const ZoneNames names(locale);
    QList<Entry> entries;
    entries.reserve(ids.size());
    for (const QByteArray &id : ids) {
        const QString identifier = QString::fromUtf8(id);
        const std::optional<icu::UnicodeString> canonical = ZoneNames::canonicalId(identifier);
        const QTimeZone zone(id);
        if (!canonical || !zone.isValid())
            continue;
        const int offset = zone.offsetFromUtc(at);
        entries.append({identifier, offset, title(offset, names.name(*canonical, identifier, at), identifier)});
    }

    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entries.begin(), entries.end(), [&collator](const Entry &a, const Entry &b) {
        if (a.offset != b.offset)
            return a.offset < b.offset;
        return collator.compare(a.title, b.title) < 0;
    });

    QList<TimeZoneOption> options;
    options.reserve(entries.size() + 1);
    options.append(systemOption());
    for (Entry &entry : entries)
        options.append({entry.identifier, std::move(entry.title), entry.identifier});
    return options;
}
