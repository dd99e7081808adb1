// The yardstick for the window's start-up: the smallest Qt Quick window of the
// main window's opening size, reporting its first frame the way the
// application does when TALLYPORT_REPORT_FIRST_FRAME is set.

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    QQmlApplicationEngine engine;
    engine.loadData(QByteArrayLiteral("import QtQuick\n"
                                      "Window { width: 1180; height: 760; visible: true; color: \"white\" }\n"));
    auto *window =
        engine.rootObjects().isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    if (!window)
        return 1;
    if (qEnvironmentVariableIsSet("TALLYPORT_REPORT_FIRST_FRAME")) {
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = QObject::connect(
            window, &QQuickWindow::frameSwapped, window,
            [once] {
                QObject::disconnect(*once);
                std::fputs("first-frame\n", stderr);
            },
            Qt::DirectConnection);
    }
    return application.exec();
}
