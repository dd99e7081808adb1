#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <cstdio>

// The window benchmarks measure on a display and session bus of their own,
// never the developer's: the program runs itself again under xvfb-run and
// dbus-run-session with `marker` set, so that second run knows where it is.
// Returns the second run's exit code.
inline int rerunOnPrivateDisplay(const char *marker,
                                 QProcessEnvironment environment = QProcessEnvironment::systemEnvironment())
{
    environment.insert(QString::fromLatin1(marker), QStringLiteral("1"));
    QProcess wrapper;
    wrapper.setProcessEnvironment(environment);
    wrapper.setProcessChannelMode(QProcess::ForwardedChannels);
    wrapper.start(QStringLiteral("xvfb-run"),
                  {QStringLiteral("--auto-servernum"),
                   QStringLiteral("--server-args=-screen 0 1280x800x24 -nolisten tcp"),
                   QStringLiteral("dbus-run-session"), QStringLiteral("--"), QCoreApplication::applicationFilePath()});
    if (!wrapper.waitForFinished(-1) || wrapper.exitStatus() != QProcess::NormalExit) {
        std::fprintf(stderr, "%s: xvfb-run did not run (see scripts/packages.txt): %s\n",
                     qPrintable(QCoreApplication::applicationName()), qPrintable(wrapper.errorString()));
        return 1;
    }
    return wrapper.exitCode();
}
