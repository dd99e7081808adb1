#include "StateGenerator.h"

#include "formatting/DateText.h"

#include <algorithm>
#include <random>

namespace {

class Generator {
public:
    explicit Generator(quint32 seed)
        : m_random(seed)
    {}

    int below(int bound) { return int(m_random() % quint32(bound)); }
    bool chance(int percent) { return below(100) < percent; }
    template<typename T, size_t N>
    const T &pick(const T (&items)[N])
    {
        return items[below(int(N))];
    }

    QUuid uuid()
    {
        QUuid id;
        id.data1 = m_random();
        id.data2 = ushort(m_random());
        id.data3 = ushort((m_random() & 0x0fff) | 0x4000);
        for (uchar &byte : id.data4)
            byte = uchar(m_random());
        id.data4[0] = uchar((id.data4[0] & 0x3f) | 0x80);
        return id;
    }

    QString password()
    {
        static const char alphabet[] = "abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789!@#$%^&*-_";
        QString text;
        const int length = 12 + below(9);
        for (int i = 0; i < length; ++i)
            text.append(QLatin1Char(alphabet[below(int(sizeof alphabet) - 1)]));
        return text;
    }

private:
    std::mt19937 m_random;
};

constexpr qint64 kDay = 86400;
constexpr qint64 kWeek = 604800;
constexpr qint64 kHistoryDays = 400;

const char *const kServiceNames[] = {"ChatGPT",         "Claude", "Gemini",     "Perplexity", "Copilot", "Mistral",
                                     "DeepSeek",        "Grok",   "Midjourney", "Poe",        "Рабочие", "Личные",
                                     "Команда дизайна", "Учёба",  "Kimi",       "Qwen",       "Suno",    "Runway",
                                     "ElevenLabs",      "Cursor"};
const char *const kLatinFirstNames[] = {"ivan", "maria", "alexey",  "olga",  "dmitry", "anna",  "sergey", "elena",
                                        "john", "emily", "michael", "sarah", "nikita", "daria", "pavel"};
const char *const kLatinLastNames[] = {"petrov", "ivanova", "smirnov", "kuznetsova", "popov",    "sokolova",
                                       "smith",  "johnson", "brown",   "volkov",     "lebedeva", "morozov"};
const char *const kDomains[] = {"gmail.com", "yandex.ru", "mail.ru", "outlook.com", "proton.me", "company.ru"};
const char *const kRussianNames[] = {"Мария",    "Анна", "Ольга",  "Елена", "Дарья", "Ирина",  "Наталья", "Татьяна",
                                     "Светлана", "Юлия", "Ксения", "Алина", "Вера",  "Полина", "Софья"};
const char *const kRussianSurnames[] = {"Соколова", "Иванова",  "Петрова",  "Смирнова", "Кузнецова", "Попова",
                                        "Волкова",  "Лебедева", "Морозова", "Новикова", "Козлова",   "Егорова"};
const char *const kLabels[] = {"рабочий", "личный", "запасной", "для тестов", "team seat", "основной", "учёба"};
const char *const kNotes[] = {
    "",
    "",
    "",
    "Plus, продлён до конца месяца",
    "Лимит 40 сообщений на модель, сбрасывается в понедельник",
    "Shared with the design team; do not change the password",
    "Вход через Google, двухфакторка на телефоне Ани",
    "Pro plan, billing on the 5th. Backup codes in the vault",
    "Использовать только для длинных документов (контекст 200k)",
    "Old account, recovery email outdated",
    "Оплачен картой компании до сентября, вопросы к бухгалтерии",
};

QDateTime atSecond(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
}

// The first twenty names, then the same names numbered, so that service names
// stay unique at any count.
QString serviceName(int index)
{
    const QString name = QString::fromUtf8(kServiceNames[index % int(std::size(kServiceNames))]);
    const int round = index / int(std::size(kServiceNames));
    return round == 0 ? name : QStringLiteral("%1 %2").arg(name).arg(round + 1);
}

QString accountName(Generator &random, int index)
{
    if (random.chance(60))
        return QStringLiteral("%1.%2%3@%4")
            .arg(QString::fromLatin1(random.pick(kLatinFirstNames)), QString::fromLatin1(random.pick(kLatinLastNames)))
            .arg(index % 97)
            .arg(QString::fromLatin1(random.pick(kDomains)));
    return QStringLiteral("%1 %2 (%3)")
        .arg(QString::fromUtf8(random.pick(kRussianNames)), QString::fromUtf8(random.pick(kRussianSurnames)),
             QString::fromUtf8(random.pick(kLabels)));
}

// The details texts the store writes, in roughly the mix a long-used log has:
// mostly starts and copied passwords, then edits, resets and moves.
AccountEvent makeEvent(Generator &random, const AccountsState &state, const Account &account, qint64 when)
{
    AccountEvent event{random.uuid(), account.id, AccountEventType::used, atSecond(when), {}};
    const int kind = random.below(100);
    if (kind < 40) {
        event.details = QStringLiteral("Запущен недельный отсчет");
    } else if (kind < 60) {
        event.type = AccountEventType::edited;
        event.details = QStringLiteral("Пароль скопирован в буфер обмена");
    } else if (kind < 70) {
        event.type = AccountEventType::timerReset;
        event.details = QStringLiteral("Таймер сброшен");
    } else if (kind < 78) {
        event.type = AccountEventType::edited;
        event.details = QStringLiteral("Изменен аккаунт ") + account.name;
    } else if (kind < 84) {
        event.type = AccountEventType::edited;
        event.details = random.chance(50) ? QStringLiteral("Включен статус: лимитов нет")
                                          : QStringLiteral("Выключен статус: лимитов нет");
    } else if (kind < 89) {
        event.type = AccountEventType::manualResetAtSet;
        event.details = QStringLiteral("Время восстановления установлено вручную: ")
            + DateText::dateTime(atSecond(when + 3600 + random.below(6 * kDay)), Preferences{});
    } else if (kind < 94) {
        event.type = AccountEventType::edited;
        event.details = QStringLiteral("Сервис изменен: ")
            + state.services[random.below(int(state.services.size()))].name + QStringLiteral(" → ")
            + state.services[random.below(int(state.services.size()))].name;
    } else if (kind < 97) {
        event.type = AccountEventType::archived;
        event.details = QStringLiteral("Перемещен в архив");
    } else {
        event.type = AccountEventType::restoredFromArchive;
        event.details = QStringLiteral("Восстановлен из архива");
    }
    return event;
}

} // namespace

AccountsState generateState(const QDateTime &now, const StateShape &shape)
{
    Generator random(shape.seed);
    const qint64 nowSeconds = now.toSecsSinceEpoch();
    const qint64 start = nowSeconds - kHistoryDays * kDay;

    AccountsState state;
    state.services.append(Service::systemService());
    for (int i = 0; i < shape.userServices; ++i)
        state.services.append(Service{random.uuid(), serviceName(i), atSecond(start + random.below(30 * kDay)), false});

    const int accountCount = shape.liveAccounts + shape.archivedAccounts;
    for (int i = 0; i < accountCount; ++i) {
        Account account;
        account.id = random.uuid();
        account.serviceId = state.services[random.below(int(state.services.size()))].id;
        account.name = accountName(random, i);
        account.note = QString::fromUtf8(random.pick(kNotes));
        account.password = random.password();
        account.createdAt = atSecond(start + random.below(300 * kDay));
        const int mix = random.below(100);
        if (mix < 33) {
            const qint64 reset = nowSeconds + 1 + random.below(kWeek);
            account.startedAt = atSecond(reset - kWeek);
            account.resetAt = atSecond(reset);
        } else if (mix < 50) {
            const qint64 reset = nowSeconds - random.below(30 * kDay);
            account.startedAt = atSecond(reset - kWeek);
            account.resetAt = atSecond(reset);
        }
        account.hasNoLimits = random.chance(5);
        if (i >= shape.liveAccounts) {
            account.isArchived = true;
            account.archivedAt = atSecond(account.createdAt.toSecsSinceEpoch() + random.below(60 * kDay));
        }
        state.accounts.append(account);
    }

    // A few accounts, one in ten and at most ten, were deleted; their history stays.
    QList<Account> deleted;
    for (int i = 0; i < std::min(10, accountCount / 10); ++i) {
        Account account;
        account.id = random.uuid();
        account.name = accountName(random, i);
        deleted.append(account);
    }

    state.events.reserve(std::max<qsizetype>(shape.events, accountCount + 2 * deleted.size()));
    for (const Account &account : std::as_const(state.accounts))
        state.events.append(AccountEvent{random.uuid(), account.id, AccountEventType::created, account.createdAt,
                                         QStringLiteral("Создан аккаунт ") + account.name});
    for (const Account &account : std::as_const(deleted))
        state.events.append(AccountEvent{random.uuid(), account.id, AccountEventType::created, atSecond(start),
                                         QStringLiteral("Создан аккаунт ") + account.name});
    const qsizetype created = state.events.size();
    const qsizetype logged = accountCount > 0 ? shape.events - deleted.size() : 0;
    for (qsizetype i = created; i < logged; ++i) {
        // Log order is time order; about one event in five shares its second
        // with the one before (a start right after an edit, say).
        const qint64 when = start + qint64(i) * (kHistoryDays * kDay) / shape.events;
        const bool ofDeleted = !deleted.isEmpty() && random.chance(1);
        const Account &account = ofDeleted ? deleted[random.below(int(deleted.size()))]
                                           : state.accounts[random.below(int(state.accounts.size()))];
        state.events.append(makeEvent(random, state, account, random.chance(20) ? when - when % 60 : when));
    }
    std::stable_sort(state.events.begin(), state.events.end(),
                     [](const AccountEvent &a, const AccountEvent &b) { return a.timestamp < b.timestamp; });
    for (const Account &account : std::as_const(deleted))
        state.events.append(AccountEvent{random.uuid(), account.id, AccountEventType::deleted, atSecond(nowSeconds),
                                         QStringLiteral("Удален аккаунт ") + account.name});
    return state;
}
