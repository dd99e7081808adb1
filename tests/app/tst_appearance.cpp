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
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
using Scheme = AppearanceController::DesktopScheme;
} // namespace

// The desktop portal's settings, on a connection of its own as another
// process would have them. Read answers like the real portal (the value
// wrapped in one more variant).
class FakePortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    QVariant colorScheme = 0u;

public slots:
    QDBusVariant Read(const QString &group, const QString &key)
    {
        if (group != appearanceGroup || key != "color-scheme")
            sendErrorReply("org.freedesktop.portal.Error.NotFound", "not found");
        return QDBusVariant(QVariant::fromValue(QDBusVariant(colorScheme)));
    }
};

class AppearanceTest : public QObject {
    Q_OBJECT

    QDBusConnection m_portalBus{QString()};
    std::unique_ptr<FakePortal> m_portal;

    void startPortal()
    {
        QVERIFY(m_portalBus.registerObject(portalPath, m_portal.get(), QDBusConnection::ExportAllSlots));
        QVERIFY(m_portalBus.registerService("org.freedesktop.portal.Desktop"));
    }

    void signalChange(const QString &group, const QString &key, const QVariant &value)
    {
        QDBusMessage change =
            QDBusMessage::createSignal(portalPath, "org.freedesktop.portal.Settings", "SettingChanged");
        change << group << key << QVariant::fromValue(QDBusVariant(value));
        QVERIFY(m_portalBus.send(change));
    }

private slots:
    void initTestCase()
    {
        m_portalBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal"));
        QVERIFY2(m_portalBus.isConnected(), "no session bus: run this test under dbus-run-session");
    }

    void init() { m_portal = std::make_unique<FakePortal>(); }

    void cleanup()
    {
        m_portalBus.unregisterService("org.freedesktop.portal.Desktop");
        m_portalBus.unregisterObject(portalPath);
        QGuiApplication::setPalette(QPalette());
    }

    // "system" follows the portal's answer; until it comes, and without one, the palette decides.
    void systemFollowsThePortal_data()
    {
        QTest::addColumn<bool>("portalRuns");
        QTest::addColumn<QVariant>("answer");
        QTest::addColumn<bool>("paletteDark");
        QTest::addColumn<Scheme>("scheme");
        QTest::addColumn<bool>("dark");
        QTest::newRow("prefers dark") << true << QVariant(1u) << false << Scheme::dark << true;
        QTest::newRow("prefers light") << true << QVariant(2u) << true << Scheme::light << false;
        QTest::newRow("no preference") << true << QVariant(0u) << true << Scheme::noPreference << true;
        QTest::newRow("unknown value") << true << QVariant(7u) << false << Scheme::noPreference << false;
        QTest::newRow("not a number") << true << QVariant("dark") << false << Scheme::unavailable << false;
        QTest::newRow("no portal") << false << QVariant() << true << Scheme::unavailable << true;
    }

    void systemFollowsThePortal()
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
        QCOMPARE(controller.desktopScheme(), Scheme::pending);
        QCOMPARE(controller.isDark(), paletteDark);
        QTRY_COMPARE(controller.desktopScheme(), scheme);
        QCOMPARE(controller.isDark(), dark);
    }

    // A chosen appearance shows from the start; "system" then follows the desktop's changes.
    void chosenAppearanceWinsThenSystemFollowsChanges()
    {
        m_portal->colorScheme = 2u;
        startPortal();
        AppearanceController controller(QDBusConnection::sessionBus(), [] { return false; });
        controller.setMode(AppearanceMode::dark);
        QVERIFY(controller.isDark());
        QTRY_COMPARE(controller.desktopScheme(), Scheme::light);
        QVERIFY(controller.isDark());
        QSignalSpy darkChanged(&controller, &AppearanceController::darkChanged);
        controller.setMode(AppearanceMode::system);
        controller.setMode(AppearanceMode::system);
        QVERIFY(!controller.isDark());
        QCOMPARE(darkChanged.count(), 1);

        signalChange(appearanceGroup, "color-scheme", 1u);
        QTRY_VERIFY(controller.isDark());
        // Other settings are not the colour scheme.
        signalChange(appearanceGroup, "accent-color", 2u);
        signalChange("org.gnome.desktop.interface", "color-scheme", 2u);
        signalChange(appearanceGroup, "color-scheme", 0u);
        QTRY_COMPARE(controller.desktopScheme(), Scheme::noPreference);
        QCOMPARE(darkChanged.count(), 3);
    }

    void followsThePaletteWithoutAPortal()
    {
        const std::unique_ptr<AppearanceController> controller = AppearanceController::forApplication();
        QPalette palette = QGuiApplication::palette();
        for (const QColor &window : {QColor(245, 245, 245), QColor(30, 32, 38)}) {
            palette.setColor(QPalette::Window, window);
            QGuiApplication::setPalette(palette);
            QCOMPARE(controller->isDark(), window.lightness() < 128);
        }
    }
};

QTEST_MAIN(AppearanceTest)
#include "tst_appearance.moc"
