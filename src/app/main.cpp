#include "AppConfig.h"
#include "DisplayCheck.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QUrl>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (!hasUsableDisplay()) {
        std::fputs("tallyport: нет графического дисплея (не заданы DISPLAY и WAYLAND_DISPLAY), "
                   "окно открыть нельзя.\n",
                   stderr);
        return 1;
    }

    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(AppConfig::appDisplayName);
    QGuiApplication::setApplicationVersion(AppConfig::appVersion);
    QGuiApplication::setOrganizationDomain(QStringLiteral("tallyport.org"));
    QGuiApplication::setDesktopFileName(AppConfig::appBundleIdentifier);

    QQmlApplicationEngine engine;
    engine.setInitialProperties({
        {QStringLiteral("appName"), AppConfig::appDisplayName},
        {QStringLiteral("appVersion"), AppConfig::appVersion},
    });
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreationFailed, &app,
                     [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/qml/main/Main.qml")));
    return app.exec();
}
