#include "SystemAutostartService.h"

#include "AppConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>

#include <optional>

namespace {

// A path as one quoted Exec argument: ", `, $ and \ escaped inside the
// quotes, every \ escaped once more as a string value, and % doubled.
QString quotedExecArgument(const QString &path)
{
    QString quoted;
    for (const QChar c : path) {
        if (QStringView(u"\"`$\\").contains(c))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('%'), QStringLiteral("%%"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The program an Exec value starts: its first word, or its first argument
// unquoted as quotedExecArgument() writes it.
QString programOf(QString exec)
{
    exec.replace(QStringLiteral("\\\\"), QStringLiteral("\\")).replace(QStringLiteral("%%"), QStringLiteral("%"));
    if (!exec.startsWith(QLatin1Char('"')))
        return exec.section(QLatin1Char(' '), 0, 0);
    QString program;
    for (qsizetype i = 1; i < exec.size() && exec.at(i) != u'"'; ++i) {
        if (exec.at(i) == u'\\' && i + 1 < exec.size())
            ++i;
        program += exec.at(i);
    }
    return program;
}

// The keys of the [Desktop Entry] group, or nothing when the file cannot be
// read or has no such group.
std::optional<QHash<QString, QString>> readDesktopEntry(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QHash<QString, QString> keys;
    bool inGroup = false;
    bool sawGroup = false;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const qsizetype eq = line.indexOf(u'=');
        if (line.startsWith(u'[')) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            sawGroup = sawGroup || inGroup;
        } else if (inGroup && eq > 0 && !line.startsWith(u'#')) {
            keys.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
        }
    }
    if (file.error() != QFileDevice::NoError || !sawGroup)
        return std::nullopt;
    return keys;
}

} // namespace

SystemAutostartService::SystemAutostartService(QString executablePath)
    : m_executablePath(std::move(executablePath))
{}

QString SystemAutostartService::entryFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/")
        + AppConfig::applicationId + QStringLiteral(".desktop");
}

QString SystemAutostartService::execValue() const
{
    // An installed program is started by its name, so that the entry outlives
    // upgrades; one run from elsewhere (a build folder) by its path.
    const QString name = QFileInfo(m_executablePath).fileName();
    const QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty() && QFileInfo(found).canonicalFilePath() == QFileInfo(m_executablePath).canonicalFilePath())
        return name;
    return quotedExecArgument(m_executablePath);
}

Result<void> SystemAutostartService::setEnabled(bool enabled)
{
    const QString path = entryFilePath();
    if (!enabled) {
        QFile file(path);
        if (!file.exists() || file.remove())
            return {};
        return Error::make(Error::Kind::OperationFailed, path);
    }

    // A failure to create the folder shows up in open() below, with the
    // system's reason. At login the application starts without its window,
    // behind its status-area icon.
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=%1\n"
                                         "Comment=Учёт недельных лимитов аккаунтов\n"
                                         "Exec=%2 --background\n"
                                         "Icon=%3\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(AppConfig::appDisplayName, execValue(), AppConfig::applicationId);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(entry.toUtf8()) < 0 || !file.commit())
        return Error::make(Error::Kind::OperationFailed, path);
    return {};
}

AutostartStatus SystemAutostartService::status() const
{
    const QString path = entryFilePath();
    if (!QFileInfo::exists(path))
        return AutostartStatus::disabled;
    const auto keys = readDesktopEntry(path);
    if (!keys)
        return AutostartStatus::unavailable;

    // The session skips hidden entries, and GNOME those switched off in its
    // own settings.
    if (keys->value(QStringLiteral("Hidden")) == QLatin1String("true")
        || keys->value(QStringLiteral("X-GNOME-Autostart-enabled")) == QLatin1String("false"))
        return AutostartStatus::disabled;

    // Ours when it starts a program of our name (ours, or the launcher entry
    // copied by a startup-applications tool); one left behind by a moved or
    // removed program starts nothing.
    const QFileInfo program(programOf(keys->value(QStringLiteral("Exec"))));
    if (program.fileName() != QFileInfo(m_executablePath).fileName())
        return AutostartStatus::unavailable;
    const QFileInfo found(program.isAbsolute() ? program.filePath()
                                               : QStandardPaths::findExecutable(program.filePath()));
    return found.isFile() && found.isExecutable() ? AutostartStatus::enabled : AutostartStatus::unavailable;
}
