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
#include "persistence/LocalFileName.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace {

const QString passwordNote = QStringLiteral("Пароль архива читается из первой строки стандартного ввода,\n"
                                            "а в терминале запрашивается без отображения.\n");

const QString helpText =
    QStringLiteral("Использование: tallyport [--background | КОМАНДА]\n"
                   "Без команды открывается окно Tallyport. С --background окно не показывается:\n"
                   "Tallyport работает в фоне со значком в области уведомлений.\n"
                   "\n"
                   "Команды:\n"
                   "  status [--json]                      состояние всех аккаунтов (только чтение)\n"
                   "  export ФАЙЛ                          зашифрованная резервная копия всех данных\n"
                   "  import --mode replace|merge ФАЙЛ     загрузить резервную копию: заменить текущие\n"
                   "                                       данные (replace) или объединить с ними (merge)\n"
                   "\n")
    + passwordNote
    + QStringLiteral("\n"
                     "Параметры:\n"
                     "  --background                         запустить в фоне, без окна\n"
                     "  -h, --help                           эта справка\n"
                     "  -v, --version                        версия\n"
                     "\n"
                     "Справка по команде: tallyport КОМАНДА --help. После -- параметров больше нет:\n"
                     "tallyport export -- -файл.json\n");

const QString statusHelp = QStringLiteral("Использование: tallyport status [--json]\n"
                                          "Состояние всех аккаунтов, по строке на аккаунт: имя, сервис, состояние,\n"
                                          "момент восстановления и отметки. Данные только читаются.\n"
                                          "\n"
                                          "Параметры:\n"
                                          "  --json        массив JSON, по объекту на аккаунт\n"
                                          "  -h, --help    эта справка\n");

const QString exportHelp = QStringLiteral("Использование: tallyport export ФАЙЛ\n"
                                          "Сохраняет в ФАЙЛ зашифрованную резервную копию всех данных.\n"
                                          "\n")
    + passwordNote
    + QStringLiteral("\n"
                     "Параметры:\n"
                     "  -h, --help    эта справка\n");

const QString importHelp = QStringLiteral("Использование: tallyport import --mode replace|merge ФАЙЛ\n"
                                          "Загружает резервную копию из ФАЙЛа: заменяет текущие данные (replace)\n"
                                          "или объединяет с ними (merge). Пока открыто окно Tallyport, не работает.\n"
                                          "\n")
    + passwordNote
    + QStringLiteral("\n"
                     "Параметры:\n"
                     "  --mode replace|merge    что сделать с текущими данными\n"
                     "  -h, --help              эта справка\n");

const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
const QCommandLineOption versionOption(QStringList{QStringLiteral("v"), QStringLiteral("version")});
const QCommandLineOption backgroundOption(QStringLiteral("background"));
const QCommandLineOption jsonOption(QStringLiteral("json"));
const QCommandLineOption modeOption(QStringLiteral("mode"), QString(), QStringLiteral("replace|merge"));

const QString passwordPrompt = QStringLiteral("Пароль архива: ");
const QString emptyPasswordMessage = QStringLiteral("Пароль архива не может быть пустым.");
const QString heldByWindowMessage =
    QStringLiteral("Данные открыты в запущенном окне Tallyport (процесс %1): закройте окно и повторите.");
const QString heldByImportMessage =
    QStringLiteral("Данные сейчас изменяет другая команда tallyport import (процесс %1): дождитесь её конца "
                   "и повторите.");

// File names in the text come out as the very bytes they were given as.
void print(FILE *stream, const QString &text)
{
    std::fputs(LocalFileName::encode(text).constData(), stream);
    std::fflush(stream);
}

// The path from the working folder, with every byte of the name kept (what
// QFileInfo gives has been through a lossy conversion).
QString absolutePath(const QString &path)
{
    if (path.startsWith(u'/'))
        return path;
    std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    return folder ? LocalFileName::decode(QByteArray(folder.get())) + u'/' + path : path;
}

int usageError(const QString &problem, const QString &help)
{
    print(stderr, QStringLiteral("tallyport: ") + problem + QStringLiteral("\n\n") + help);
    return CommandLine::usage;
}

int fail(const QString &message)
{
    print(stderr, message + QLatin1Char('\n'));
    return CommandLine::failure;
}

// Parses the arguments of one level, the whole line or what follows a
// command's name, with -h/--help besides the given options. Returns the exit
// code when that is all there is to do: the help printed, or a usage error,
// told as `misuse` unless an option is unknown.
std::optional<int> parse(QCommandLineParser &parser, const QStringList &arguments,
                         const QList<QCommandLineOption> &options, const QString &help, const QString &misuse)
{
    parser.addOption(helpOption);
    parser.addOptions(options);
    if (!parser.parse(QStringList{QStringLiteral("tallyport")} + arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty())
            return usageError(misuse, help);
        const QString dashes = unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
        return usageError(QStringLiteral("неизвестный параметр %1").arg(dashes + unknown.first()), help);
    }
    if (!parser.isSet(helpOption))
        return std::nullopt;
    print(stdout, help);
    return CommandLine::success;
}

std::optional<QString> askPassword()
{
    const std::optional<QString> password = readPassword(passwordPrompt);
    if (!password || password->isEmpty())
        return std::nullopt;
    return password;
}

// A store over a copy of the state on disk: read-only commands derive what
// the window would show without writing anything, not even the migration of
// the previous edition's files.
struct ReadOnlyStore {
    std::unique_ptr<AccountsStore> store;
    QString error;
};

ReadOnlyStore openReadOnly()
{
    Result<AccountsState> state = FileAccountRepository::readInPlace();
    if (!state)
        return {nullptr, QStringLiteral("Не удалось загрузить данные: ") + state.error().localizedDescription()};
    auto store = AppBootstrap::makeStore(
        AppBootstrap::makeServices(std::make_shared<InMemoryAccountRepository>(std::move(state).value()),
                                   SettingsPreferencesRepository::Access::readOnly));
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
    const QString file = absolutePath(path);
    if (!opened.store->exportBackup(file, *password))
        return fail(opened.store->lastErrorMessageText());
    print(stdout, QStringLiteral("Резервная копия сохранена: %1\n").arg(file));
    return CommandLine::success;
}

int importBackup(const QString &path, BackupImportMode mode)
{
    const std::optional<QString> password = askPassword();
    if (!password)
        return fail(emptyPasswordMessage);

    FileAccountRepository::Created created = FileAccountRepository::create();
    if (!created)
        return fail(QStringLiteral("Не удалось выполнить импорт: ") + created.error().localizedDescription());
    std::shared_ptr<FileAccountRepository> repository = std::move(created).value();

    DataFolderLock lock(repository->filePath(), DataFolderLock::Role::import);
    const DataFolderLock::Outcome locked = lock.tryLock();
    switch (locked.kind) {
    case DataFolderLock::Outcome::Kind::acquired: break;
    case DataFolderLock::Outcome::Kind::heldByWindow: return fail(heldByWindowMessage.arg(locked.holderPid));
    case DataFolderLock::Outcome::Kind::heldByImport: return fail(heldByImportMessage.arg(locked.holderPid));
    case DataFolderLock::Outcome::Kind::failed:
        return fail(QStringLiteral("Не удалось выполнить импорт: ") + locked.error->localizedDescription());
    }

    auto store = AppBootstrap::makeStore(AppBootstrap::makeServices(repository));
    store->load();
    // Data that could not be read is kept under the name the message gives,
    // so the import goes on; the user learns where the file went.
    if (store->hasError())
        print(stderr, store->lastErrorMessageText() + QLatin1Char('\n'));
    if (!store->importBackup(absolutePath(path), *password, mode))
        return fail(store->lastErrorMessageText());
    print(stdout, QStringLiteral("Импорт выполнен.\n"));
    return CommandLine::success;
}

int statusCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QString misuse = QStringLiteral("status принимает только --json");
    if (const std::optional<int> done = parse(parser, arguments, {jsonOption}, statusHelp, misuse))
        return *done;
    if (!parser.positionalArguments().isEmpty())
        return usageError(misuse, statusHelp);
    return status(parser.isSet(jsonOption));
}

int exportCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QString misuse = QStringLiteral("export ожидает один файл");
    if (const std::optional<int> done = parse(parser, arguments, {}, exportHelp, misuse))
        return *done;
    if (parser.positionalArguments().size() != 1)
        return usageError(misuse, exportHelp);
    return exportBackup(parser.positionalArguments().constFirst());
}

int importCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QString misuse = QStringLiteral("после --mode нужен режим replace или merge");
    if (const std::optional<int> done = parse(parser, arguments, {modeOption}, importHelp, misuse))
        return *done;
    if (parser.positionalArguments().size() != 1)
        return usageError(QStringLiteral("import ожидает один файл"), importHelp);
    const auto mode =
        parser.isSet(modeOption) ? BackupImportModes::fromRawValue(parser.value(modeOption)) : std::nullopt;
    if (!mode)
        return usageError(QStringLiteral("import ожидает --mode replace или --mode merge"), importHelp);
    return importBackup(parser.positionalArguments().constFirst(), *mode);
}

} // namespace

std::optional<CommandLine::WindowOptions> CommandLine::windowOptions(const QStringList &arguments)
{
    // "--" announces a command's operands, which the window has none of.
    if (arguments.contains(QStringLiteral("--")))
        return std::nullopt;
    QCommandLineParser parser;
    parser.addOption(backgroundOption);
    if (!parser.parse(QStringList{QStringLiteral("tallyport")} + arguments) || !parser.positionalArguments().isEmpty())
        return std::nullopt;
    return WindowOptions{parser.isSet(backgroundOption)};
}

int CommandLine::run(const QStringList &arguments)
{
    // Options before the command belong to tallyport itself; the rest is the
    // command's own, so `export -v` names no version.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QString misuse = QStringLiteral("--help и --version не принимают значений");
    if (const std::optional<int> done = parse(parser, arguments, {versionOption, backgroundOption}, helpText, misuse))
        return *done;
    if (parser.isSet(backgroundOption))
        return usageError(QStringLiteral("--background только для окна, не для команд"), helpText);
    if (parser.isSet(versionOption)) {
        print(stdout, AppConfig::appDisplayName + QLatin1Char(' ') + AppConfig::appVersion + QLatin1Char('\n'));
        return success;
    }
    QStringList rest = parser.positionalArguments();
    if (rest.isEmpty())
        return usageError(QStringLiteral("не указана команда"), helpText);
    const QString command = rest.takeFirst();
    if (command == QLatin1String("status"))
        return statusCommand(rest);
    if (command == QLatin1String("export"))
        return exportCommand(rest);
    if (command == QLatin1String("import"))
        return importCommand(rest);
    return usageError(QStringLiteral("неизвестная команда %1").arg(command), helpText);
}
