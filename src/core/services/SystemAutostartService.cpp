#include "SystemAutostartService.h"

#include "AppConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <optional>

namespace {

// Marks an entry as written by Tallyport, so that a file of the same name
// from elsewhere is never mistaken for ours.
const QString markerKey = QStringLiteral("X-Tallyport-Autostart");

// Characters that desktop entries reserve in Exec: an argument holding one
// of them must be quoted.
bool needsQuoting(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return argument.isEmpty()
        || std::any_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); });
}

// One argument as the Exec key's value spells it: quoted if needed (with ",
// `, $ and \ escaped inside the quotes), % doubled, and then escaped once
// more as a desktop-file string value.
QString execValue(const QString &argument)
{
    QString arg = argument;
    arg.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (needsQuoting(argument)) {
        QString quoted = QStringLiteral("\"");
        for (QChar c : std::as_const(arg)) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        arg = quoted + QLatin1Char('"');
    }
    QString value;
    for (QChar c : std::as_const(arg)) {
        switch (c.unicode()) {
        case '\\': value += QStringLiteral("\\\\"); break;
        case '\n': value += QStringLiteral("\\n"); break;
        case '\t': value += QStringLiteral("\\t"); break;
        case '\r': value += QStringLiteral("\\r"); break;
        default: value += c;
        }
    }
    return value;
}

// Undoes the desktop-file string escapes of a value.
QString unescapeValue(const QString &raw)
{
    QString value;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw.at(i) != u'\\' || i + 1 == raw.size()) {
            value += raw.at(i);
            continue;
        }
        const QChar next = raw.at(++i);
        switch (next.unicode()) {
        case 's': value += QLatin1Char(' '); break;
        case 'n': value += QLatin1Char('\n'); break;
        case 't': value += QLatin1Char('\t'); break;
        case 'r': value += QLatin1Char('\r'); break;
        default: value += next;
        }
    }
    return value;
}

// The program of an unescaped Exec value: its first argument, unquoted.
QString execProgram(const QString &exec)
{
    QString program;
    qsizetype i = 0;
    while (i < exec.size() && exec.at(i).isSpace())
        ++i;
    if (i < exec.size() && exec.at(i) == u'"') {
        for (++i; i < exec.size() && exec.at(i) != u'"'; ++i) {
            if (exec.at(i) == u'\\' && i + 1 < exec.size())
                ++i;
            program += exec.at(i);
        }
    } else {
        for (; i < exec.size() && !exec.at(i).isSpace(); ++i)
            program += exec.at(i);
    }
    return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

// The keys of the [Desktop Entry] group, unescaped; nothing when the file
// cannot be read or has no such group.
std::optional<QHash<QString, QString>> readDesktopEntry(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QHash<QString, QString> keys;
    bool inGroup = false;
    bool sawGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            sawGroup = sawGroup || inGroup;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (inGroup && eq > 0)
            keys.insert(line.left(eq).trimmed(), unescapeValue(line.mid(eq + 1).trimmed()));
    }
    if (file.error() != QFileDevice::NoError || !sawGroup)
        return std::nullopt;
    return keys;
}

bool isTrue(const QString &value)
{
    return value == QLatin1String("true");
}

bool isRunnable(const QString &program)
{
    if (QFileInfo(program).isAbsolute())
        return QFileInfo(program).isFile() && QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
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

Result<void> SystemAutostartService::setEnabled(bool enabled)
{
    const QString path = entryFilePath();
    if (!enabled) {
        QFile file(path);
        if (!file.exists() || file.remove())
            return {};
        return Error::make(Error::Kind::OperationFailed, file.errorString());
    }

    // A failure to create the folder shows up in open() below, with the
    // system's reason.
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString entry =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=%1\n"
                       "Comment=Учёт недельных лимитов аккаунтов\n"
                       "Exec=%2\n"
                       "Icon=%3\n"
                       "Terminal=false\n"
                       "X-GNOME-Autostart-enabled=true\n"
                       "%4=true\n")
            .arg(AppConfig::appDisplayName, execValue(m_executablePath), AppConfig::applicationId, markerKey);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(entry.toUtf8()) < 0 || !file.commit())
        return Error::make(Error::Kind::OperationFailed, file.errorString());
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

    // Ours when we wrote it, or when it starts this very program (an entry
    // the user copied from the applications menu).
    const QString program = execProgram(keys->value(QStringLiteral("Exec")));
    const bool ours = isTrue(keys->value(markerKey)) || program == m_executablePath
        || (!program.isEmpty() && program == QFileInfo(m_executablePath).fileName());
    if (!ours)
        return AutostartStatus::unavailable;

    // The session skips hidden entries, and GNOME those switched off in its
    // own settings.
    if (isTrue(keys->value(QStringLiteral("Hidden")))
        || keys->value(QStringLiteral("X-GNOME-Autostart-enabled")) == QLatin1String("false"))
        return AutostartStatus::disabled;

    // An entry left behind by a moved or removed program starts nothing.
    return isRunnable(program) ? AutostartStatus::enabled : AutostartStatus::unavailable;
}
