// Loads and saves a large state file and sets the figures beside Python's
// json.load of the same file and a bare atomic write of the same bytes.
// Prints one "name value unit" line per figure; medians over kRuns runs.

#include "persistence/AtomicFile.h"
#include "persistence/FileAccountRepository.h"
#include "persistence/StateFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

constexpr int kRuns = 9;
constexpr int kServices = 20;
constexpr int kAccounts = 1000;
constexpr int kEvents = 100000;

class Generator {
public:
    explicit Generator(quint32 seed) : m_random(seed) {}

    int below(int bound) { return int(m_random() % quint32(bound)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, size_t N>
    const T &pick(const T (&items)[N]) { return items[below(int(N))]; }

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

const char *const kServiceNames[] = {
    "ChatGPT", "Claude", "Gemini", "Perplexity", "Copilot", "Mistral", "DeepSeek", "Grok",
    "Midjourney", "Poe", "Рабочие", "Личные", "Команда дизайна", "Учёба", "Kimi", "Qwen",
    "Suno", "Runway", "ElevenLabs", "Cursor"};
const char *const kFirstNames[] = {"ivan", "maria", "alexey", "olga", "dmitry", "anna", "sergey", "elena",
                                   "john", "emily", "michael", "sarah", "nikita", "daria", "pavel"};
const char *const kLastNames[] = {"petrov", "ivanova", "smirnov", "kuznetsova", "popov", "sokolova",
                                  "smith", "johnson", "brown", "volkov", "lebedeva", "morozov"};
const char *const kDomains[] = {"gmail.com", "yandex.ru", "mail.ru", "outlook.com", "proton.me", "company.ru"};
const char *const kLabels[] = {"Рабочий аккаунт", "Личный", "Запасной", "Для тестов", "Team seat",
                               "Основной", "Студенческий", "Pro trial"};
const char *const kNotes[] = {
    "",
    "",
    "Plus, продлён до конца месяца",
    "Лимит 40 сообщений на модель, сбрасывается в понедельник",
    "Shared with the design team; do not change the password",
    "Вход через Google, двухфакторка на телефоне Ани",
    "Pro plan, billing on the 5th. Backup codes in 1Password",
    "Использовать только для длинных документов (контекст 200k)",
    "Old account, recovery email outdated",
    "Оплачен картой компании до 2026-09, вопросы к бухгалтерии",
};
const char *const kEventTexts[] = {
    "Запущен недельный отсчет", "Запущен недельный отсчет", "Запущен недельный отсчет",
    "Таймер сброшен", "Пароль скопирован в буфер обмена", "Пароль скопирован в буфер обмена",
    "Включен статус: лимитов нет", "Выключен статус: лимитов нет", "Перемещен в архив",
    "Восстановлен из архива"};

AccountsState generateState()
{
    Generator random(20260302);
    const qint64 start = QDateTime(QDate(2025, 1, 6), QTime(9, 0), Qt::UTC).toSecsSinceEpoch();
    const qint64 now = start + 400LL * 86400;
    auto date = [](qint64 seconds) { return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC); };

    AccountsState state;
    state.services.append(Service::systemService());
    for (int i = 1; i < kServices; ++i)
        state.services.append(Service{random.uuid(), QString::fromUtf8(kServiceNames[i]),
                                      date(start + random.below(30 * 86400)), false});

    for (int i = 0; i < kAccounts; ++i) {
        Account account;
        account.id = random.uuid();
        account.serviceId = state.services[random.below(kServices)].id;
        account.name = random.chance(70)
            ? QStringLiteral("%1.%2%3@%4").arg(QString::fromLatin1(random.pick(kFirstNames)),
                                               QString::fromLatin1(random.pick(kLastNames)))
                  .arg(random.below(100)).arg(QString::fromLatin1(random.pick(kDomains)))
            : QStringLiteral("%1 %2").arg(QString::fromUtf8(random.pick(kLabels))).arg(i);
        account.note = QString::fromUtf8(random.pick(kNotes));
        account.password = random.password();
        account.createdAt = date(start + random.below(300 * 86400));
        if (random.chance(55)) {
            const qint64 started = now - random.below(10 * 86400);
            account.startedAt = date(started);
            account.resetAt = date(started + 604800);
        }
        account.isArchived = random.chance(8);
        if (account.isArchived)
            account.archivedAt = date(account.createdAt.toSecsSinceEpoch() + random.below(60 * 86400));
        account.hasNoLimits = random.chance(5);
        state.accounts.append(account);
    }

    state.events.reserve(kEvents);
    for (int i = 0; i < kEvents; ++i) {
        const Account &account = state.accounts[random.below(kAccounts)];
        const qint64 when = start + qint64(i) * (400LL * 86400 / kEvents);
        AccountEvent event{random.uuid(), account.id, AccountEventType::used, date(when), {}};
        switch (random.below(8)) {
        case 0:
            event.type = AccountEventType::created;
            event.details = QStringLiteral("Создан аккаунт ") + account.name;
            break;
        case 1:
            event.type = AccountEventType::edited;
            event.details = QStringLiteral("Изменен аккаунт ") + account.name;
            break;
        case 2:
            event.type = AccountEventType::manualResetAtSet;
            event.details = QStringLiteral("Время восстановления установлено вручную: ")
                + date(when + 86400).toString(QStringLiteral("dd.MM.yyyy, HH:mm"));
            break;
        case 3:
            event.type = AccountEventType::edited;
            event.details = QStringLiteral("Сервис изменен: %1 → %2")
                                .arg(state.services[random.below(kServices)].name,
                                     state.services[random.below(kServices)].name);
            break;
        default: {
            const int text = random.below(int(std::size(kEventTexts)));
            event.details = QString::fromUtf8(kEventTexts[text]);
            event.type = text < 3 ? AccountEventType::used
                : text == 3       ? AccountEventType::timerReset
                : text < 8        ? AccountEventType::edited
                : text == 8       ? AccountEventType::archived
                                  : AccountEventType::restoredFromArchive;
        }
        }
        state.events.append(event);
    }
    return state;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double elapsedMs(const QElapsedTimer &timer) { return double(timer.nsecsElapsed()) / 1e6; }

// Python's own loop, so that interpreter start-up is not counted.
double pythonJsonLoadMs(const QString &path)
{
    const QString script = QStringLiteral(
        "import json, statistics, sys, time\n"
        "times = []\n"
        "for _ in range(int(sys.argv[2])):\n"
        "    start = time.perf_counter()\n"
        "    with open(sys.argv[1], encoding='utf-8') as f:\n"
        "        json.load(f)\n"
        "    times.append((time.perf_counter() - start) * 1000)\n"
        "print(statistics.median(times))\n");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), script, path, QString::number(kRuns)});
    if (!python.waitForFinished(600000) || python.exitCode() != 0) {
        std::fprintf(stderr, "python3 failed: %s\n", python.readAllStandardError().constData());
        return -1;
    }
    return python.readAllStandardOutput().trimmed().toDouble();
}

void print(const char *name, double value, const char *unit) { std::printf("%s %.2f %s\n", name, value, unit); }

}

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const AccountsState state = generateState();

    QTemporaryDir folder;
    auto created = FileAccountRepository::create(folder.path());
    if (!folder.isValid() || !created) {
        std::fprintf(stderr, "cannot set up the repository\n");
        return 1;
    }
    FileAccountRepository &repository = *created.value();
    if (!repository.saveState(state)) {
        std::fprintf(stderr, "first save failed\n");
        return 1;
    }
    const QByteArray bytes = StateFile::encode(state);

    std::vector<double> load, save, rawWrite;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        auto loaded = repository.loadState();
        load.push_back(elapsedMs(timer));
        if (!loaded || loaded.value() != state) {
            std::fprintf(stderr, "the loaded state differs from the saved one\n");
            return 1;
        }

        timer.restart();
        const bool saved = repository.saveState(state).ok();
        save.push_back(elapsedMs(timer));

        timer.restart();
        const bool written = writeFileAtomically(repository.filePath(), bytes).ok();
        rawWrite.push_back(elapsedMs(timer));
        if (!saved || !written) {
            std::fprintf(stderr, "a write failed\n");
            return 1;
        }
    }
    const double python = pythonJsonLoadMs(repository.filePath());
    if (python <= 0)
        return 1;

    std::printf("file_bytes %lld bytes\n", static_cast<long long>(bytes.size()));
    print("load_ms", median(load), "ms");
    print("python_json_load_ms", python, "ms");
    print("save_ms", median(save), "ms");
    print("raw_write_ms", median(rawWrite), "ms");
    print("load_vs_python_json_load", median(load) / python, "ratio");
    print("save_vs_raw_write", median(save) / median(rawWrite), "ratio");
    return 0;
}
