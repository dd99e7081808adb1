#include "CommandLine.h"

#include "AppBootstrap.h"
#include "AppConfig.h"
#include "DataFolderLock.h"
#include "PasswordInput.h"
#include "formatting/DateText.h"
#include "formatting/RemainingTimeFormatter.h"
#include "model/JsonCoding.h"
#include "persistence/FileAccountRepository.h"
#include "persistence/InMemoryAccountRepository.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <cstdio>

namespace {

const QString helpText =
    QStringLiteral("Использование: tallyport [КОМАНДА]\n"
                   "Без команды открывается окно Tallyport.\n"
                   "\n"
                   "Команды:\n"
                   "  status [--json]                      состояние всех аккаунтов (только чтение)\n"
                   "  export ФАЙЛ                          зашифрованная резервная копия всех данных\n"
                   "  import --mode replace|merge ФАЙЛ     загрузить резервную копию: заменить текущие\n"
                   "                                       данные (replace) или объединить с ними (merge)\n"
                   "\n"
                   "Пароль архива читается из первой строки стандартного ввода,\n"
                   "а в терминале запрашивается без отображения.\n"
                   "\n"
                   "Параметры:\n"
                   "  -h, --help                           эта справка\n"
                   "  -v, --version                        версия\n");

const QString passwordPrompt = QStringLiteral("Пароль архива: ");
const QString emptyPasswordMessage = QStringLiteral("Пароль архива не может быть пустым.");
const QString lockedMessage =
    QStringLiteral("Данные открыты в запущенном окне Tallyport (процесс %1): закройте окно и повторите.");

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

int usageError(const QString &problem)
{
    print(stderr, QStringLiteral("tallyport: ") + problem + QStringLiteral("\n\n") + helpText);
    return CommandLine::usage;
}

int fail(const QString &message)
{
    print(stderr, message + QLatin1Char('\n'));
    return CommandLine::failure;
}

struct Arguments {
    QString command;
    QStringList positional;
    bool json = false;
    std::optional<QString> mode;
    QString problem;
};

Arguments parse(const QStringList &arguments)
{
    Arguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--json")) {
            parsed.json = true;
        } else if (argument == QLatin1String("--mode")) {
            if (i + 1 >= arguments.size()) {
                parsed.problem = QStringLiteral("после --mode нужен режим replace или merge");
                return parsed;
            }
            parsed.mode = arguments[++i];
        } else if (argument.startsWith(QLatin1String("--mode="))) {
            parsed.mode = argument.mid(7);
        } else if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            parsed.problem = QStringLiteral("неизвестный параметр %1").arg(argument);
            return parsed;
        } else if (parsed.command.isEmpty()) {
            parsed.command = argument;
        } else {
            parsed.positional << argument;
        }
    }
    return parsed;
}

std::optional<QString> askPassword()
{
    const std::optional<QString> password = readPassword(passwordPrompt);
    if (!password || password->isEmpty())
        return std::nullopt;
    return password;
}

// A store over a copy of the state on disk: read-only commands derive what
// the window would show without ever writing the state file.
struct ReadOnlyStore {
    std::unique_ptr<AccountsStore> store;
    QString error;
};

ReadOnlyStore openReadOnly()
{
    FileAccountRepository::Created repository = FileAccountRepository::create();
    if (!repository)
        return {nullptr, QStringLiteral("Не удалось загрузить данные: ") + repository.error().localizedDescription()};
    Result<AccountsState> state = repository.value()->loadState();
    if (!state)
        return {nullptr, QStringLiteral("Не удалось загрузить данные: ") + state.error().localizedDescription()};
    auto store = AppBootstrap::makeStore(
        AppBootstrap::makeServices(std::make_shared<InMemoryAccountRepository>(std::move(state).value())));
    store->load();
    return {std::move(store), {}};
}

QString statusText(const AccountsStore &store, const AccountLimitStatus &status)
{
    switch (status.kind) {
    case AccountLimitStatus::Kind::active:
        return QStringLiteral("активен, осталось ")
            + RemainingTimeFormatter::string(status.remaining, store.preferences().timerFormat,
                                             store.preferences().showSeconds);
    case AccountLimitStatus::Kind::restored: return QStringLiteral("лимит восстановлен");
    case AccountLimitStatus::Kind::idle: break;
    }
    return QStringLiteral("не запущен");
}

int status(bool json)
{
    const ReadOnlyStore opened = openReadOnly();
    if (!opened.store)
        return fail(opened.error);
    const AccountsStore &store = *opened.store;

    QJsonArray array;
    QString table;
    for (const Account &account : store.accounts()) {
        const AccountLimitStatus limit = store.status(account);
        const QString service = store.serviceName(account.serviceId);
        if (json) {
            QJsonObject object{
                {QStringLiteral("id"), JsonCoding::uuidString(account.id)},
                {QStringLiteral("name"), account.name},
                {QStringLiteral("serviceId"), JsonCoding::uuidString(account.serviceId)},
                {QStringLiteral("serviceName"), service},
                {QStringLiteral("status"), LimitPolicy::statusName(limit)},
                {QStringLiteral("isArchived"), account.isArchived},
                {QStringLiteral("hasNoLimits"), account.hasNoLimits},
            };
            if (limit.kind == AccountLimitStatus::Kind::active)
                object.insert(QStringLiteral("remainingSeconds"), qint64(std::floor(limit.remaining)));
            if (account.resetAt)
                object.insert(QStringLiteral("resetAt"), JsonCoding::dateString(*account.resetAt));
            array.append(object);
            continue;
        }
        QStringList flags;
        if (account.isArchived)
            flags << QStringLiteral("в архиве");
        if (account.hasNoLimits)
            flags << QStringLiteral("лимитов нет");
        table += QStringList{account.name, service, statusText(store, limit),
                             account.resetAt ? DateText::dateTime(*account.resetAt, store.preferences())
                                             : QStringLiteral("—"),
                             flags.join(QStringLiteral(", "))}
                     .join(QLatin1Char('\t'))
            + QLatin1Char('\n');
    }
    if (json)
        print(stdout, QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented)));
    else
        print(stdout, table.isEmpty() ? QStringLiteral("Аккаунтов нет.\n") : table);
    return CommandLine::success;
}

int exportBackup(const QString &path)
{
    const std::optional<QString> password = askPassword();
    if (!password)
        return fail(emptyPasswordMessage);
    const ReadOnlyStore opened = openReadOnly();
    if (!opened.store)
        return fail(opened.error);
    if (!opened.store->exportBackup(path, *password))
        return fail(opened.store->lastErrorMessageText());
    print(stdout, QStringLiteral("Резервная копия сохранена: %1\n").arg(QFileInfo(path).absoluteFilePath()));
    return CommandLine::success;
}

int importBackup(const QString &path, BackupImportMode mode)
{
    const std::optional<QString> password = askPassword();
    if (!password)
        return fail(emptyPasswordMessage);

    FileAccountRepository::Created created = FileAccountRepository::create();
    if (!created)
        return fail(QStringLiteral("Не удалось загрузить данные: ") + created.error().localizedDescription());
    std::shared_ptr<FileAccountRepository> repository = std::move(created).value();

    DataFolderLock lock(repository->filePath());
    switch (lock.tryLock()) {
    case DataFolderLock::Outcome::acquired: break;
    case DataFolderLock::Outcome::heldByLiveProcess: return fail(lockedMessage.arg(lock.holderPid()));
    case DataFolderLock::Outcome::unavailable:
        return fail(QStringLiteral("Не удалось выполнить импорт: ")
                    + Error::make(Error::Kind::FileAccess).localizedDescription());
    }

    auto store = AppBootstrap::makeStore(AppBootstrap::makeServices(repository));
    store->load();
    // Importing over data that could not be read would hide it from the user.
    if (store->hasError())
        return fail(store->lastErrorMessageText());
    if (!store->importBackup(path, *password, mode))
        return fail(store->lastErrorMessageText());
    print(stdout, QStringLiteral("Импорт выполнен.\n"));
    return CommandLine::success;
}

} // namespace

int CommandLine::run(const QStringList &arguments)
{
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        print(stdout, helpText);
        return success;
    }
    if (arguments.contains(QLatin1String("--version")) || arguments.contains(QLatin1String("-v"))) {
        print(stdout, AppConfig::appDisplayName + QLatin1Char(' ') + AppConfig::appVersion + QLatin1Char('\n'));
        return success;
    }

    const Arguments parsed = parse(arguments);
    if (!parsed.problem.isEmpty())
        return usageError(parsed.problem);

    if (parsed.command == QLatin1String("status")) {
        if (!parsed.positional.isEmpty() || parsed.mode)
            return usageError(QStringLiteral("status принимает только --json"));
        return status(parsed.json);
    }
    if (parsed.command == QLatin1String("export")) {
        if (parsed.positional.size() != 1 || parsed.json || parsed.mode)
            return usageError(QStringLiteral("export ожидает один файл"));
        return exportBackup(parsed.positional.first());
    }
    if (parsed.command == QLatin1String("import")) {
        if (parsed.positional.size() != 1 || parsed.json)
            return usageError(QStringLiteral("import ожидает один файл"));
        const auto mode = parsed.mode ? BackupImportModes::fromRawValue(*parsed.mode) : std::nullopt;
        if (!mode)
            return usageError(QStringLiteral("import ожидает --mode replace или --mode merge"));
        return importBackup(parsed.positional.first(), *mode);
    }
    return usageError(QStringLiteral("неизвестная команда %1").arg(parsed.command));
}
