#include "AppBootstrap.h"
#include "AppConfig.h"
#include "DataFolderLock.h"
#include "DisplayCheck.h"
#include "SingleInstance.h"
#include "cli/CommandLine.h"
#include "persistence/FileAccountRepository.h"
#include "platform/SystemClipboardService.h"
#include "view/StoreBridge.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QTimer>
#include <QUrl>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(TallyportPlugin)

namespace {

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(AppConfig::appDisplayName);
    QCoreApplication::setApplicationVersion(AppConfig::appVersion);
    QCoreApplication::setOrganizationDomain(QStringLiteral("tallyport.org"));
}

void printError(const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

int runWindow(int argc, char *argv[])
{
    if (!hasUsableDisplay()) {
        printError(QStringLiteral("tallyport: нет графического дисплея (не заданы DISPLAY и "
                                  "WAYLAND_DISPLAY), окно открыть нельзя."));
        return 1;
    }

    QGuiApplication app(argc, argv);
    setApplicationIdentity();
    QGuiApplication::setDesktopFileName(AppConfig::appBundleIdentifier);

    // One window per data folder: a later start hands over to the running one.
    std::shared_ptr<AccountRepository> repository;
    std::unique_ptr<DataFolderLock> lock;
    SingleInstance instance;
    FileAccountRepository::Created file = FileAccountRepository::create();
    if (file) {
        lock = std::make_unique<DataFolderLock>(file.value()->filePath());
        if (lock->tryLock() == DataFolderLock::Outcome::heldByLiveProcess) {
            if (SingleInstance::askRunningInstanceToShow())
                return 0;
            // A command-line import holds the lock only briefly.
            if (lock->tryLock(3000) == DataFolderLock::Outcome::heldByLiveProcess) {
                printError(QStringLiteral("tallyport: данные заняты другим процессом (%1).")
                               .arg(lock->holderPid()));
                return 1;
            }
        }
        instance.listen();
        repository = std::move(file).value();
    } else {
        repository = AppBootstrap::makeAccountRepository();
    }

    AccountsStoreServices services = AppBootstrap::makeServices(std::move(repository));
    services.clipboard = std::make_shared<SystemClipboardService>();
    std::unique_ptr<AccountsStore> store = AppBootstrap::makeStore(std::move(services));

    StoreBridge bridge(*store);
    QQmlApplicationEngine engine;
    // The Tallyport module's qmldir is compiled in at qrc:/Tallyport/qmldir.
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.rootContext()->setContextProperty(QStringLiteral("store"), &bridge);
    engine.setInitialProperties({
        {QStringLiteral("appName"), AppConfig::appDisplayName},
        {QStringLiteral("appVersion"), AppConfig::appVersion},
    });
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreationFailed, &app,
                     [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/Tallyport/main/Main.qml")));

    auto *window = engine.rootObjects().isEmpty()
        ? nullptr
        : qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    if (window) {
        QObject::connect(&instance, &SingleInstance::showRequested, window, [window] {
            window->show();
            window->raise();
            window->requestActivate();
        });
    }
    // The data are loaded once the window is up, so the first frame is not delayed.
    QTimer::singleShot(0, store.get(), [&store] { store->load(); });
    return app.exec();
}

}

int main(int argc, char *argv[])
{
    if (argc > 1) {
        QCoreApplication app(argc, argv);
        setApplicationIdentity();
        return CommandLine::run(app.arguments().mid(1));
    }
    return runWindow(argc, argv);
}
