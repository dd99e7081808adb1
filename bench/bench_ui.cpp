// Times the real window, in this process, on a large state (20 services,
// 1,000 accounts, 100,000 events) in a real file saved by the writer thread:
// from an account operation (use, archive, edit, move), a section switch or a
// scroll step to the next frame on screen, which is how long the window does
// not answer. Prints one "name value unit" line per figure (medians), then
// one line per target. Runs itself under xvfb-run and dbus-run-session, as
// bench_window does.

#include "BenchOutput.h"
#include "BenchStore.h"
#include "PrivateDisplay.h"
#include "StateGenerator.h"

#include "Singletons.h"
#include "persistence/BackgroundAccountRepository.h"
#include "persistence/FileAccountRepository.h"
#include "view/AboutData.h"
#include "view/AppearanceController.h"
#include "view/StoreBridge.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>
#include <vector>

Q_IMPORT_QML_PLUGIN(TallyportPlugin)

using namespace BenchOutput;

namespace {

constexpr int kRuns = 9;
constexpr int kFrameTimeoutMs = 20000;
constexpr double kOperationTargetMs = 16.0;
constexpr double kSectionSwitchTargetMs = 50.0;

const char *const kOnPrivateDisplayVariable = "TALLYPORT_BENCH_UI_PRIVATE_DISPLAY";

QProcessEnvironment privateDisplayEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.remove(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"));
    environment.remove(QStringLiteral("AT_SPI_BUS_ADDRESS"));
    return environment;
}

// Milliseconds from `work` to the next frame on screen.
template<typename Work>
double msToFrame(QQuickWindow &window, Work work)
{
    QEventLoop loop;
    const auto swapped = QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    QTimer::singleShot(kFrameTimeoutMs, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    work();
    window.update();
    loop.exec();
    const double ms = elapsedMs(timer);
    QObject::disconnect(swapped);
    return ms;
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QQuickItem *findListView(QObject *root, const char *className)
{
    for (QQuickItem *item : root->findChildren<QQuickItem *>()) {
        if (item->isVisible() && QByteArray(item->metaObject()->className()).startsWith(className)
            && item->property("count").toInt() > 0)
            return item;
    }
    return nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet(kOnPrivateDisplayVariable)) {
        QCoreApplication application(argc, argv);
        return rerunOnPrivateDisplay(kOnPrivateDisplayVariable, privateDisplayEnvironment());
    }
    QGuiApplication application(argc, argv);
    QQuickStyle::setStyle(QStringLiteral("Fusion"));

    QTemporaryDir folder;
    auto created = FileAccountRepository::create(folder.path());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!folder.isValid() || !created || !created.value()->saveState(generateState(now))) {
        std::fprintf(stderr, "bench_ui: cannot write the state\n");
        return 1;
    }
    AccountsStore store(benchStoreServices(
        std::make_shared<BackgroundAccountRepository>(std::shared_ptr<AccountRepository>(std::move(created).value())),
        now));
    StoreBridge bridge(store);
    const std::unique_ptr<AppearanceController> appearance = AppearanceController::forApplication();
    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    const AboutSectionObjects about = installAboutSection(engine);
    Singletons::provide({&bridge, appearance.get(), about.data, about.changelog});
    engine.setInitialProperties({{QStringLiteral("appName"), QStringLiteral("Tallyport")},
                                 {QStringLiteral("appVersion"), QStringLiteral("bench")}});
    engine.load(QUrl(QStringLiteral("qrc:/Tallyport/main/Main.qml")));
    auto *window =
        engine.rootObjects().isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    if (!window) {
        std::fprintf(stderr, "bench_ui: the window did not load\n");
        return 1;
    }
    store.load();
    settle(2000);

    const QList<Service> services = store.sidebarServices();
    std::vector<double> use, archive, edit, move, sectionSwitch, scroll, idleFrame;
    for (int run = 0; run < kRuns; ++run) {
        store.selectSection(DashboardSection::all);
        settle(100);
        // A frame with nothing changed: what drawing alone costs here.
        idleFrame.push_back(msToFrame(*window, [] {}));
        const Account account = store.filteredAccounts().at(run);
        const QUuid id = account.id;
        use.push_back(msToFrame(*window, [&] { bridge.startUsage(JsonCoding::uuidString(id)); }));
        archive.push_back(msToFrame(*window, [&] { bridge.archiveAccount(JsonCoding::uuidString(id)); }));
        store.restoreAccount(id);
        edit.push_back(msToFrame(*window, [&] {
            store.updateAccount(id, account.name + QStringLiteral(" (2)"), account.note, account.password, std::nullopt,
                                false, account.serviceId);
        }));
        const QUuid other = services[1 + run % (services.size() - 1)].id != account.serviceId
            ? services[1 + run % (services.size() - 1)].id
            : services[1 + (run + 1) % (services.size() - 1)].id;
        move.push_back(msToFrame(*window, [&] { store.moveAccountToService(id, other); }));

        if (QQuickItem *list = findListView(window->contentItem(), "QQuickListView")) {
            for (int step = 0; step < 3; ++step)
                scroll.push_back(msToFrame(
                    *window, [&] { list->setProperty("contentY", list->property("contentY").toDouble() + 120); }));
        }
        for (const QString &destination :
             {QStringLiteral("section:active"), QStringLiteral("section:archive"), QStringLiteral("section:history"),
              QStringLiteral("service:") + JsonCoding::uuidString(services[1 + run % (services.size() - 1)].id),
              QStringLiteral("section:history"), QStringLiteral("section:all")})
            sectionSwitch.push_back(msToFrame(*window, [&] { bridge.setSelectedDestinationId(destination); }));
    }
    store.flushSaves();
    if (store.hasError()) {
        std::fprintf(stderr, "bench_ui: %s\n", qPrintable(store.lastErrorMessageText()));
        return 1;
    }

    const double operationMs = std::max({median(use), median(archive), median(edit), median(move)});
    print("window_idle_frame_ms", median(idleFrame), "ms");
    print("window_use_ms", median(use), "ms");
    print("window_archive_ms", median(archive), "ms");
    print("window_edit_ms", median(edit), "ms");
    print("window_move_ms", median(move), "ms");
    print("window_operation_ms", operationMs, "ms");
    print("window_section_switch_ms", median(sectionSwitch), "ms");
    print("window_section_switch_worst_ms", *std::max_element(sectionSwitch.begin(), sectionSwitch.end()), "ms");
    if (!scroll.empty())
        print("window_scroll_step_ms", median(scroll), "ms");
    printTarget("window_operation_ms", operationMs, "<=", kOperationTargetMs);
    printTarget("window_section_switch_ms", median(sectionSwitch), "<=", kSectionSwitchTargetMs);
    return 0;
}
