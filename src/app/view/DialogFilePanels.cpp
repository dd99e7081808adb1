#include "DialogFilePanels.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QStandardPaths>
#include <QUrl>

namespace {

std::optional<QString> testHookPath(const char *variable)
{
    const QString path = qEnvironmentVariable(variable);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

QVariantMap entry(const QFileInfo &info, bool folder)
{
    return {
        {QStringLiteral("name"), info.fileName()},
        {QStringLiteral("path"), info.absoluteFilePath()},
        {QStringLiteral("isFolder"), folder},
    };
}

} // namespace

std::optional<QString> DialogFilePanels::chooseSaveLocation(const QString &suggestedName)
{
    if (auto path = testHookPath("TALLYPORT_TEST_SAVE_PATH"))
        return path;
    return run(true, suggestedName);
}

std::optional<QString> DialogFilePanels::chooseOpenLocation()
{
    if (auto path = testHookPath("TALLYPORT_TEST_OPEN_PATH"))
        return path;
    return run(false, QString());
}

QVariantList DialogFilePanels::folderEntries(const QString &folder) const
{
    const QDir dir(folder);
    const QDir::SortFlags order = QDir::Name | QDir::IgnoreCase | QDir::LocaleAware;
    QVariantList entries;
    for (const QFileInfo &info : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, order))
        entries.append(entry(info, true));
    for (const QFileInfo &info : dir.entryInfoList({QStringLiteral("*.json")}, QDir::Files, order))
        entries.append(entry(info, false));
    return entries;
}

QString DialogFilePanels::parentFolder(const QString &folder) const
{
    QDir dir(folder);
    return dir.cdUp() ? dir.absolutePath() : QDir(folder).absolutePath();
}

QString DialogFilePanels::savePath(const QString &folder, const QString &name) const
{
    QString path = QDir::cleanPath(QDir(folder).absoluteFilePath(name));
    if (!QFileInfo(path).isDir() && !path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive))
        path += QStringLiteral(".json");
    return path;
}

bool DialogFilePanels::isFolder(const QString &path) const
{
    return QFileInfo(path).isDir();
}

bool DialogFilePanels::exists(const QString &path) const
{
    return QFileInfo::exists(path);
}

std::optional<QString> DialogFilePanels::run(bool saving, const QString &suggestedName)
{
    QQmlEngine *engine = m_window ? qmlEngine(m_window) : nullptr;
    if (!engine)
        return std::nullopt;

    QQmlComponent component(engine, QUrl(QStringLiteral("qrc:/Tallyport/sheets/BackupFileDialog.qml")));
    QPointer<QObject> dialog = component.createWithInitialProperties({
        {QStringLiteral("parent"), QVariant::fromValue(m_window->contentItem())},
        {QStringLiteral("panels"), QVariant::fromValue<QObject *>(this)},
        {QStringLiteral("saving"), saving},
        {QStringLiteral("startFolder"), startFolder()},
        {QStringLiteral("homeFolder"), QDir::homePath()},
        {QStringLiteral("suggestedName"), suggestedName},
    });
    if (!dialog) {
        qWarning("%s", qPrintable(component.errorString()));
        return std::nullopt;
    }
    dialog->setParent(m_window);

    QEventLoop loop;
    connect(dialog, SIGNAL(finished()), &loop, SLOT(quit()));
    connect(dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    QMetaObject::invokeMethod(dialog, "open");
    if (dialog->property("visible").toBool())
        loop.exec();

    std::optional<QString> chosen;
    if (dialog) {
        const QString path = dialog->property("chosenPath").toString();
        if (!path.isEmpty())
            chosen = path;
    }
    delete dialog.data();
    return chosen;
}
