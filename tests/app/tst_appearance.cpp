#include "view/AppearanceController.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

using Scheme = AppearanceController::DesktopScheme;

} // namespace

// The desktop portal's settings, on a connection of its own as another
// process would have them. Read answers like the real portal (the value
// wrapped in one more variant), or is held unanswered while `hold` is set.
class FakePortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    QVariant colorScheme = 0u;
    bool hold = false;
    int reads = 0;
    QList<QDBusMessage> held;

    QDBusMessage reply(const QDBusMessage &call, const QVariant &value) const
    {
        return call.createReply(QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(value)))));
    }

public slots:
    QDBusVariant Read(const QString &group, const QString &key)
    {
        ++reads;
        setDelayedReply(true);
        if (hold)
            held.append(message());
        else if (group != appearanceGroup || key != colorSchemeKey)
            connection().send(message().createErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                                                         QStringLiteral("Requested setting not found")));
        else
            connection().send(reply(message(), colorScheme));
        return {};
    }
};

class AppearanceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void desktopSchemeForSystem_data();
    void desktopSchemeForSystem();
    void chosenAppearanceWinsOverDesktop_data();
    void chosenAppearanceWinsOverDesktop();
    void followsDesktopChanges();
    void unansweredPortalNeverHoldsUpStart();
    void lateAnswerDoesNotUndoNewerChange();
    void followsPaletteWithoutPortal();

private:
    void startPortal();
    void signalChange(const QString &group, const QString &key, const QVariant &value);

    QDBusConnection m_portalBus{QString()};
    std::unique_ptr<FakePortal> m_portal;
};

void AppearanceTest::initTestCase()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QFAIL("no session bus: run this test under dbus-run-session");
    m_portalBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal"));
    QVERIFY(m_portalBus.isConnected());
}

void AppearanceTest::init()
{
    m_portal = std::make_unique<FakePortal>();
}

void AppearanceTest::cleanup()
{
    m_portalBus.unregisterService(portalService);
    m_portalBus.unregisterObject(portalPath);
    m_portal.reset();
    QGuiApplication::setPalette(QPalette());
}

void AppearanceTest::startPortal()
{
    QVERIFY(m_portalBus.registerObject(portalPath, m_portal.get(), QDBusConnection::ExportAllSlots));
    QVERIFY(m_portalBus.registerService(portalService));
}

void AppearanceTest::signalChange(const QString &group, const QString &key, const QVariant &value)
{
    QDBusMessage change = QDBusMessage::createSignal(portalPath, settingsInterface, QStringLiteral("SettingChanged"));
    change << group << key << QVariant::fromValue(QDBusVariant(value));
    QVERIFY(m_portalBus.send(change));
}

void AppearanceTest::desktopSchemeForSystem_data()
{
    QTest::addColumn<bool>("portalRuns");
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<bool>("paletteDark");
    QTest::addColumn<Scheme>("scheme");
    QTest::addColumn<bool>("dark");

    QTest::newRow("prefers dark, light palette") << true << QVariant(1u) << false << Scheme::dark << true;
    QTest::newRow("prefers light, dark palette") << true << QVariant(2u) << true << Scheme::light << false;
    QTest::newRow("no preference, dark palette") << true << QVariant(0u) << true << Scheme::noPreference << true;
    QTest::newRow("unknown value") << true << QVariant(7u) << false << Scheme::noPreference << false;
    QTest::newRow("not a number") << true << QVariant(QStringLiteral("dark")) << false << Scheme::unavailable << false;
    QTest::newRow("no portal, dark palette") << false << QVariant() << true << Scheme::unavailable << true;
}

void AppearanceTest::desktopSchemeForSystem()
{
    QFETCH(bool, portalRuns);
    QFETCH(QVariant, answer);
    QFETCH(bool, paletteDark);
    QFETCH(Scheme, scheme);
    QFETCH(bool, dark);
    m_portal->colorScheme = answer;
    if (portalRuns)
        startPortal();

    AppearanceController controller(QDBusConnection::sessionBus(), [paletteDark] { return paletteDark; });

    // Until the portal has answered, the palette decides.
    QCOMPARE(controller.desktopScheme(), Scheme::pending);
    QCOMPARE(controller.isDark(), paletteDark);
    QTRY_COMPARE(controller.desktopScheme(), scheme);
    QCOMPARE(controller.isDark(), dark);
}

void AppearanceTest::chosenAppearanceWinsOverDesktop_data()
{
    QTest::addColumn<AppearanceMode>("mode");
    QTest::addColumn<uint>("desktop");
    QTest::addColumn<bool>("dark");

    QTest::newRow("light on a dark desktop") << AppearanceMode::light << 1u << false;
    QTest::newRow("dark on a light desktop") << AppearanceMode::dark << 2u << true;
}

void AppearanceTest::chosenAppearanceWinsOverDesktop()
{
    QFETCH(AppearanceMode, mode);
    QFETCH(uint, desktop);
    QFETCH(bool, dark);
    m_portal->colorScheme = desktop;
    startPortal();

    AppearanceController controller(QDBusConnection::sessionBus(), [] { return false; });
    controller.setMode(mode);
    // The stored choice shows from the start, before the desktop answers.
    QCOMPARE(controller.isDark(), dark);
    QTRY_VERIFY(controller.desktopScheme() != Scheme::pending);
    QCOMPARE(controller.isDark(), dark);

    QSignalSpy changed(&controller, &AppearanceController::darkChanged);
    controller.setMode(AppearanceMode::system);
    QCOMPARE(controller.isDark(), desktop == 1u);
    QCOMPARE(changed.count(), 1);
    controller.setMode(AppearanceMode::system);
    QCOMPARE(changed.count(), 1);
}

void AppearanceTest::followsDesktopChanges()
{
    m_portal->colorScheme = 2u;
    startPortal();
    AppearanceController controller(QDBusConnection::sessionBus(), [] { return false; });
    QTRY_COMPARE(controller.desktopScheme(), Scheme::light);
    QSignalSpy schemeChanged(&controller, &AppearanceController::desktopSchemeChanged);
    QSignalSpy darkChanged(&controller, &AppearanceController::darkChanged);

    signalChange(appearanceGroup, colorSchemeKey, 1u);
    QTRY_VERIFY(controller.isDark());
    // Other settings are not the colour scheme.
    signalChange(appearanceGroup, QStringLiteral("accent-color"), 2u);
    signalChange(QStringLiteral("org.gnome.desktop.interface"), colorSchemeKey, 2u);
    signalChange(appearanceGroup, colorSchemeKey, 0u);

    QTRY_COMPARE(controller.desktopScheme(), Scheme::noPreference);
    QCOMPARE(schemeChanged.count(), 2);
    QCOMPARE(darkChanged.count(), 2);
    QVERIFY(!controller.isDark());
}

void AppearanceTest::unansweredPortalNeverHoldsUpStart()
{
    m_portal->hold = true;
    startPortal();

    AppearanceController controller(
        QDBusConnection::sessionBus(), [] { return true; }, 200);
    QCOMPARE(controller.desktopScheme(), Scheme::pending);
    QVERIFY(controller.isDark());
    QTRY_COMPARE(m_portal->reads, 1);

    // No answer in time: the palette keeps deciding.
    QTRY_COMPARE(controller.desktopScheme(), Scheme::unavailable);
    QVERIFY(controller.isDark());
}

void AppearanceTest::lateAnswerDoesNotUndoNewerChange()
{
    m_portal->hold = true;
    startPortal();
    AppearanceController controller(QDBusConnection::sessionBus(), [] { return false; });
    QTRY_COMPARE(m_portal->reads, 1);

    signalChange(appearanceGroup, colorSchemeKey, 1u);
    QTRY_COMPARE(controller.desktopScheme(), Scheme::dark);
    QSignalSpy schemeChanged(&controller, &AppearanceController::desktopSchemeChanged);

    QVERIFY(m_portalBus.send(m_portal->reply(m_portal->held.constFirst(), 2u)));
    // Delivered after the late answer, from the same sender.
    signalChange(appearanceGroup, colorSchemeKey, 0u);
    QTRY_COMPARE(controller.desktopScheme(), Scheme::noPreference);
    QCOMPARE(schemeChanged.count(), 1);
}

void AppearanceTest::followsPaletteWithoutPortal()
{
    const std::unique_ptr<AppearanceController> controller = AppearanceController::forApplication();
    QTRY_COMPARE(controller->desktopScheme(), Scheme::unavailable);
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Window, QColor(245, 245, 245));
    QGuiApplication::setPalette(palette);
    QVERIFY(!controller->isDark());

    QSignalSpy changed(controller.get(), &AppearanceController::darkChanged);
    palette.setColor(QPalette::Window, QColor(30, 32, 38));
    QGuiApplication::setPalette(palette);
    QVERIFY(controller->isDark());
    QCOMPARE(changed.count(), 1);
}

QTEST_MAIN(AppearanceTest)
#include "tst_appearance.moc"
