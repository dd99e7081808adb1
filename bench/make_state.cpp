// Writes an accounts.json of a chosen size into a folder, for demonstrations,
// screenshots and the window benchmark. Every date is placed relative to the
// current time, so the countdowns are live when the window opens the file.
//
//   tallyport-make-state [--services N] [--accounts N] [--archived N]
//                        [--events N] [--seed N] [--force] DIR

#include "StateGenerator.h"

#include "AppConfig.h"
#include "persistence/FileAccountRepository.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {

void fail(const QString &text)
{
    std::fputs(qPrintable(QStringLiteral("tallyport-make-state: ") + text + QLatin1Char('\n')), stderr);
}

std::optional<qint64> count(const QCommandLineParser &parser, const QString &option, qint64 maximum)
{
    bool ok = false;
    const qint64 value = parser.value(option).toLongLong(&ok);
    if (!ok || value < 0 || value > maximum) {
        fail(QStringLiteral("--%1 needs a whole number from 0 to %2").arg(option).arg(maximum));
        return std::nullopt;
    }
    return value;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const StateShape defaults;
    const auto number = [](qint64 value) { return QString::number(value); };

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a generated Tallyport state file, DIR/%1.").arg(AppConfig::accountsFileName));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("services"), QStringLiteral("User services besides the system one."), QStringLiteral("N"),
         number(defaults.userServices)},
        {QStringLiteral("accounts"), QStringLiteral("Live accounts."), QStringLiteral("N"),
         number(defaults.liveAccounts)},
        {QStringLiteral("archived"), QStringLiteral("Archived accounts."), QStringLiteral("N"),
         number(defaults.archivedAccounts)},
        {QStringLiteral("events"), QStringLiteral("History events in all."), QStringLiteral("N"),
         number(defaults.events)},
        {QStringLiteral("seed"), QStringLiteral("Seed of the generator."), QStringLiteral("N"), number(defaults.seed)},
        {QStringLiteral("force"), QStringLiteral("Replace an existing state file.")},
    });
    parser.addPositionalArgument(QStringLiteral("DIR"),
                                 QStringLiteral("Folder of the state file; created when missing."));
    parser.process(application);

    if (parser.positionalArguments().size() != 1) {
        fail(QStringLiteral("give exactly one folder (see --help)"));
        return 64;
    }
    const auto services = count(parser, QStringLiteral("services"), 10000);
    const auto accounts = count(parser, QStringLiteral("accounts"), 1000000);
    const auto archived = count(parser, QStringLiteral("archived"), 1000000);
    const auto events = count(parser, QStringLiteral("events"), 10000000);
    const auto seed = count(parser, QStringLiteral("seed"), 0xffffffff);
    if (!services || !accounts || !archived || !events || !seed)
        return 64;

    const QString folder = QDir(parser.positionalArguments().constFirst()).absolutePath();
    // The tool must never overwrite someone's real data by a slip of the folder.
    if (!parser.isSet(QStringLiteral("force"))
        && QFileInfo::exists(QDir(folder).filePath(AppConfig::accountsFileName))) {
        fail(QStringLiteral("%1 already holds %2; use --force to replace it").arg(folder, AppConfig::accountsFileName));
        return 1;
    }

    auto created = FileAccountRepository::create(folder);
    if (!created) {
        fail(QStringLiteral("cannot use %1: %2").arg(folder, created.error().localizedDescription()));
        return 1;
    }
    const StateShape shape{int(*services), int(*accounts), int(*archived), int(*events), quint32(*seed)};
    const QDateTime now = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), Qt::UTC);
    const AccountsState state = generateState(now, shape);
    if (auto saved = created.value()->saveState(state); !saved) {
        fail(QStringLiteral("cannot write the state: %1").arg(saved.error().localizedDescription()));
        return 1;
    }
    std::printf("%s: %lld services, %lld accounts, %lld events\n", qPrintable(created.value()->filePath()),
                static_cast<long long>(state.services.size()), static_cast<long long>(state.accounts.size()),
                static_cast<long long>(state.events.size()));
    return 0;
}
