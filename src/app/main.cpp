#include "AppBootstrap.h"
#include "AppConfig.h"
#include "DataFolderLock.h"
#include "DisplayCheck.h"
#include "QuitSignals.h"
#include "SingleInstance.h"
#include "Singletons.h"
#include "cli/CommandLine.h"
#include "persistence/BackgroundAccountRepository.h"
#include "persistence/FileAccountRepository.h"
#include "persistence/LocalFileName.h"
#include "platform/AccessibleButton.h"
#include "platform/SystemClipboardService.h"
#include "platform/SystemNotificationsService.h"
#include "tray/StatusAreaIcon.h"
#include "tray/WindowPresence.h"
#include "view/AboutData.h"
#include "view/AppearanceController.h"
#include "view/DialogFilePanels.h"
#include "view/StoreBridge.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTranslator>
#include <QUrl>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>
#include <malloc.h>

Q_IMPORT_QML_PLUGIN(TallyportPlugin)

namespace {

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(AppConfig::appDisplayName);
    QCoreApplication::setApplicationVersion(AppConfig::appVersion);
    QCoreApplication::setOrganizationDomain(QStringLiteral("tallyport.org"));
}

// Icons come from the desktop's icon theme by their freedesktop names; Adwaita
// stands in when the theme (or the desktop) has none of them.
void setUpIcons(QGuiApplication &app)
{
    const QString fallback = QStringLiteral("Adwaita");
    QIcon::setFallbackThemeName(fallback);
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(fallback);
    app.setWindowIcon(QIcon(QStringLiteral(":/Tallyport/icons/org.tallyport.Tallyport.svg")));
}

// Without a GPU (no DRM render node), OpenGL is emulated on the processor by
// Mesa's llvmpipe, which keeps a compiler and its code in memory and compiles
// shaders at start-up. The window uses no shader effects, so Qt Quick's own
// software renderer draws it the same, in less memory and sooner. A renderer
// the user chose (QT_QUICK_BACKEND, QSG_RHI_BACKEND) still wins.
void chooseRenderer()
{
    if (qEnvironmentVariableIsSet("QT_QUICK_BACKEND") || qEnvironmentVariableIsSet("QSG_RHI_BACKEND"))
        return;
    const QDir drm(QStringLiteral("/dev/dri"));
    if (drm.entryList({QStringLiteral("renderD*")}, QDir::System | QDir::Files).isEmpty())
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

// The interface is Russian whatever the system language: Qt's own texts
// (standard dialog buttons, text field menus) and the default QML locale too.
void setUpRussian(QGuiApplication &app, QTranslator &qtTranslator)
{
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QLocale::setDefault(russian);
    if (qtTranslator.load(russian, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);
}

void printError(const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

// How long a window started during a command-line import waits for it.
constexpr int importWaitMs = 15000;

// A window of its own for a message that keeps the main window from opening:
// one started from the desktop has no terminal to print to.
int showStartupMessage(const QString &message)
{
    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.setInitialProperties({{QStringLiteral("message"), message}});
    engine.load(QUrl(QStringLiteral("qrc:/Tallyport/main/StartupMessage.qml")));
    if (engine.rootObjects().isEmpty()) {
        printError(QStringLiteral("tallyport: ") + message);
        return 1;
    }
    QCoreApplication::exec();
    return 1;
}

int runWindow(int argc, char *argv[], const CommandLine::WindowOptions &options)
{
    if (!hasUsableDisplay()) {
        printError(QStringLiteral("tallyport: нет графического дисплея (не заданы DISPLAY и "
                                  "WAYLAND_DISPLAY), окно открыть нельзя."));
        return 1;
    }

    // QApplication for the status-area icon's menu, a widget.
    QApplication app(argc, argv);
    setApplicationIdentity();
    QGuiApplication::setDesktopFileName(AppConfig::applicationId);
    QTranslator qtTranslator;
    setUpRussian(app, qtTranslator);
    setUpIcons(app);
    chooseRenderer();
    // Fusion is a desktop style that draws from the palette, which the window
    // sets from its own colours, so menus, fields and dialogs follow the light
    // and dark appearance; the custom controls draw their own backgrounds.
    QQuickStyle::setStyle(QStringLiteral("Fusion"));

    // One window per data folder: a later start hands over to the running one.
    std::shared_ptr<AccountRepository> repository;
    std::unique_ptr<DataFolderLock> lock;
    SingleInstance instance;
    FileAccountRepository::Created file = FileAccountRepository::create();
    if (file) {
        lock = std::make_unique<DataFolderLock>(file.value()->filePath(), DataFolderLock::Role::window);
        DataFolderLock::Outcome locked = lock->tryLock();
        if (locked.kind == DataFolderLock::Outcome::Kind::heldByWindow) {
            // One already runs: in the background that is all there is to do.
            if (options.background || SingleInstance::askRunningInstanceToShow())
                return 0;
            return showStartupMessage(QStringLiteral("Tallyport уже запущен (процесс %1), но его окно не "
                                                     "отвечает. Закройте его и запустите Tallyport снова.")
                                          .arg(locked.holderPid));
        }
        // A command-line import holds the lock only while it writes.
        if (locked.kind == DataFolderLock::Outcome::Kind::heldByImport)
            locked = lock->tryLock(importWaitMs);
        if (locked.kind == DataFolderLock::Outcome::Kind::heldByImport)
            return showStartupMessage(QStringLiteral("Данные изменяет команда tallyport import (процесс %1). "
                                                     "Дождитесь её окончания и запустите Tallyport снова.")
                                          .arg(locked.holderPid));
        // Without a lock (a read-only folder) the window still shows the
        // data; a save then reports why it cannot write.
        instance.listen();
        // The window saves on a writer thread: a large state never freezes it.
        repository =
            std::make_shared<BackgroundAccountRepository>(std::shared_ptr<AccountRepository>(std::move(file).value()));
    } else {
        repository = AppBootstrap::makeAccountRepository();
    }

    AccountsStoreServices services = AppBootstrap::makeServices(std::move(repository));
    services.clipboard = std::make_shared<SystemClipboardService>();
    const auto notifications = std::make_shared<SystemNotificationsService>();
    services.notificationsService = notifications;
    // The backup flow's file panels open over the window, which comes later.
    const auto filePanels = std::make_shared<DialogFilePanels>();
    services.filePanels = filePanels;
    std::unique_ptr<AccountsStore> store = AppBootstrap::makeStore(std::move(services));

    // Every way out waits for the last change to be written: the last
    // window closed or Ctrl+Q (aboutToQuit), SIGTERM or SIGINT (a quit), and
    // the end of the desktop session.
    const QuitSignals quitSignals;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, store.get(), [&store] { store->flushSaves(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, store.get(), [&store] { store->flushSaves(); });

    StoreBridge bridge(*store);
    // The stored appearance is known before the first frame; the desktop's
    // own preference (for `system`) arrives later, without holding it up.
    const std::unique_ptr<AppearanceController> appearance = AppearanceController::forApplication();
    appearance->setMode(store->preferences().appearanceMode);
    QObject::connect(store.get(), &AccountsStore::preferencesChanged, appearance.get(),
                     [&store, &appearance] { appearance->setMode(store->preferences().appearanceMode); });

    QAccessible::installFactory(&AccessibleButton::factory);
    QQmlApplicationEngine engine;
    // The Tallyport module's qmldir is compiled in at qrc:/Tallyport/qmldir.
    engine.addImportPath(QStringLiteral("qrc:/"));
    const AboutSectionObjects about = installAboutSection(engine);
    Singletons::provide({&bridge, appearance.get(), about.data, about.changelog});
    engine.setInitialProperties({
        {QStringLiteral("appName"), AppConfig::appDisplayName},
        {QStringLiteral("appVersion"), AppConfig::appVersion},
        {QStringLiteral("visible"), !options.background},
    });
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app, [] { QCoreApplication::exit(1); },
        Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/Tallyport/main/Main.qml")));

    auto *window =
        engine.rootObjects().isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    StatusAreaIcon statusArea(*store);
    statusArea.setDark(appearance->isDark());
    QObject::connect(appearance.get(), &AppearanceController::darkChanged, &statusArea,
                     [&statusArea, &appearance] { statusArea.setDark(appearance->isDark()); });
    QObject::connect(&statusArea, &StatusAreaIcon::quitRequested, &app, &QCoreApplication::quit);
    std::unique_ptr<WindowPresence> presence;
    if (window) {
        // Closing the window decides itself whether the application quits.
        QApplication::setQuitOnLastWindowClosed(false);
        presence = std::make_unique<WindowPresence>(*window, *store, statusArea,
                                                    SettingsPreferencesRepository::filePaths().constFirst(),
                                                    [&notifications](const QString &summary, const QString &body) {
                                                        notifications->sendNotice(summary, body);
                                                    });
        WindowPresence *shown = presence.get();
        QObject::connect(&instance, &SingleInstance::showRequested, shown, &WindowPresence::show);
        QObject::connect(&statusArea, &StatusAreaIcon::openWindowRequested, shown, &WindowPresence::show);
        QObject::connect(&statusArea, &StatusAreaIcon::toggleWindowRequested, shown, &WindowPresence::toggle);
        QObject::connect(&statusArea, &StatusAreaIcon::accountRequested, shown, &WindowPresence::reveal);
        QObject::connect(notifications.get(), &SystemNotificationsService::restoreNotificationActivated, shown,
                         &WindowPresence::reveal);
    }

    // For the window benchmark: one line on stderr when the first frame is on
    // screen. Written from the thread that swaps the frame, so a main thread
    // busy loading the data does not delay it.
    if (window && qEnvironmentVariableIsSet("TALLYPORT_REPORT_FIRST_FRAME")) {
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = QObject::connect(
            window, &QQuickWindow::frameSwapped, window,
            [once] {
                QObject::disconnect(*once);
                std::fputs("first-frame\n", stderr);
            },
            Qt::DirectConnection);
    }

    filePanels->setWindow(window);

    // The data are loaded once the first frame is on screen, so reading a
    // large state file never delays it; in the background there is no frame.
    if (window && window->isVisible()) {
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = QObject::connect(
            window, &QQuickWindow::frameSwapped, store.get(),
            [once, &store] {
                QObject::disconnect(*once);
                store->load();
                // Reading a large file leaves its buffers with the allocator;
                // hand them back to the system.
                malloc_trim(0);
            },
            Qt::QueuedConnection);
    } else {
        store->load();
    }
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // Taken from argv, not app.arguments(): file names must keep every byte.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(LocalFileName::decode(QByteArray(argv[i])));
    if (const auto window = CommandLine::windowOptions(arguments))
        return runWindow(argc, argv, *window);
    QCoreApplication app(argc, argv);
    setApplicationIdentity();
    return CommandLine::run(arguments);
}
