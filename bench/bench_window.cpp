// Times the real window against a minimal Qt Quick window of the same size:
// from process start to the first frame on screen, taking turns, on a data
// folder of 1,000 accounts and 100,000 events. Then keeps one real window
// open on those data and measures the processor time it uses while idle and
// its resident memory. Prints one "name value unit" line per figure (medians
// over kRuns launches of each program), then one line per target.
//
// The windows need a display and a session bus, and must not use the
// developer's: the program runs itself again under xvfb-run and
// dbus-run-session, which give it a throw-away X server and bus.

#include "BenchOutput.h"
#include "PrivateDisplay.h"

#include "AppConfig.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

#include <cstdio>
#include <optional>
#include <vector>

using namespace BenchOutput;

namespace {

constexpr int kRuns = 9;
constexpr int kFirstFrameTimeoutMs = 60000;
// Long enough for the window to load the data after its first frame.
constexpr int kSettleMs = 5000;
constexpr int kIdleMs = 30000;

constexpr double kFirstFrameRatioTarget = 1.5;
constexpr double kIdleCpuTargetPercent = 2.0;
constexpr double kRssTargetMib = 150.0;

const char *const kOnPrivateDisplayVariable = "TALLYPORT_BENCH_WINDOW_PRIVATE_DISPLAY";

void fail(const QString &text)
{
    std::fputs(qPrintable(QStringLiteral("bench_window: ") + text + QLatin1Char('\n')), stderr);
}

void runEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// One launch of a window program, from process start to its first frame.
class Launch {
public:
    // The data folder is shared by every launch; the settings and the runtime
    // folder (single-instance socket) are new each time. The cache (compiled
    // shaders) is kept per program, as a user's is after the first start.
    Launch(const QString &program, const QString &dataHome, const QString &cacheHome)
    {
        const QDir scratch(m_scratch.path());
        scratch.mkdir(QStringLiteral("config"));
        scratch.mkdir(QStringLiteral("run"));
        QFile::setPermissions(scratch.filePath(QStringLiteral("run")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QString::fromLatin1(kOnPrivateDisplayVariable));
        environment.remove(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"));
        environment.remove(QStringLiteral("AT_SPI_BUS_ADDRESS"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), cacheHome);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), scratch.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), scratch.filePath(QStringLiteral("run")));
        environment.insert(QStringLiteral("TALLYPORT_REPORT_FIRST_FRAME"), QStringLiteral("1"));
        m_process.setProcessEnvironment(environment);
        m_process.setStandardOutputFile(QProcess::nullDevice());

        QEventLoop loop;
        QObject::connect(&m_process, &QProcess::readyReadStandardError, &loop, [this, &loop] {
            m_errors += m_process.readAllStandardError();
            if (m_firstFrameMs < 0 && m_errors.contains("first-frame\n")) {
                m_firstFrameMs = elapsedMs(m_timer);
                loop.quit();
            }
        });
        QObject::connect(&m_process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&m_process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        QTimer::singleShot(kFirstFrameTimeoutMs, &loop, &QEventLoop::quit);
        m_timer.start();
        m_process.start(program);
        loop.exec();
    }

    ~Launch()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // Negative when the program ended or hung before its first frame.
    double firstFrameMs() const { return m_firstFrameMs; }
    bool running() const { return m_process.state() == QProcess::Running; }
    qint64 pid() const { return m_process.processId(); }
    QByteArray errors() { return m_errors + m_process.readAllStandardError(); }

private:
    QTemporaryDir m_scratch;
    QProcess m_process;
    QElapsedTimer m_timer;
    QByteArray m_errors;
    double m_firstFrameMs = -1;
};

std::optional<double> firstFrame(const QString &program, const QString &dataHome, const QString &cacheHome)
{
    Launch launch(program, dataHome, cacheHome);
    if (launch.firstFrameMs() < 0) {
        fail(QStringLiteral("%1 showed no first frame: %2").arg(program, QString::fromLocal8Bit(launch.errors())));
        return std::nullopt;
    }
    return launch.firstFrameMs();
}

// User plus system time of every thread, in clock ticks.
std::optional<qint64> cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray line = stat.readAll();
    // The command name may hold blanks and parentheses; the fields after it do not.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return std::nullopt;
    return fields[11].toLongLong() + fields[12].toLongLong();
}

std::optional<double> residentMib(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').constFirst().toDouble() / 1024;
    }
    return std::nullopt;
}

QByteArray fileDigest(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    // Not under tests/e2e/session: its accessibility bus is forced on (the bus
    // launcher runs with --a11y=1 and publishes its address on the X root window,
    // which Qt follows whatever QT_LINUX_ACCESSIBILITY_ALWAYS_ON says, and Qt 6
    // ignores QT_ACCESSIBILITY), so every window there carries Qt's AT-SPI bridge.
    // Here no accessibility bus exists, as on a desktop where no assistive
    // technology runs.
    if (!qEnvironmentVariableIsSet(kOnPrivateDisplayVariable))
        return rerunOnPrivateDisplay(kOnPrivateDisplayVariable);

    const QString tallyport = QStringLiteral(TALLYPORT_EXECUTABLE);
    const QString minimal = QStringLiteral(MINIMAL_WINDOW_EXECUTABLE);
    QTemporaryDir scratch;
    const QDir base(scratch.path());
    const QString dataHome = base.filePath(QStringLiteral("data"));
    const QString tallyportCache = base.filePath(QStringLiteral("cache-tallyport"));
    const QString minimalCache = base.filePath(QStringLiteral("cache-minimal"));

    // The generated state is already normal (system service first, no
    // orphans), so the window loads it without saving: every launch sees the
    // same file, which is checked at the end.
    const QString stateFolder = QDir(dataHome).filePath(AppConfig::applicationId);
    QProcess makeState;
    makeState.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    makeState.start(QStringLiteral(MAKE_STATE_EXECUTABLE),
                    {QStringLiteral("--services"), QStringLiteral("20"), QStringLiteral("--accounts"),
                     QStringLiteral("1000"), QStringLiteral("--archived"), QStringLiteral("25"),
                     QStringLiteral("--events"), QStringLiteral("100000"), stateFolder});
    if (!makeState.waitForFinished(120000) || makeState.exitStatus() != QProcess::NormalExit
        || makeState.exitCode() != 0) {
        fail(QStringLiteral("the state was not generated"));
        return 1;
    }
    const QString stateFile = QDir(stateFolder).filePath(AppConfig::accountsFileName);
    const QByteArray digest = fileDigest(stateFile);

    // One launch of each, untimed, fills the caches: the shader cache and the
    // system's file cache, as a user's second start finds them.
    if (!firstFrame(tallyport, dataHome, tallyportCache) || !firstFrame(minimal, dataHome, minimalCache))
        return 1;

    // Taking turns, each program in turn first, so that neither always runs
    // right after the other.
    std::vector<double> real, bare;
    for (int run = 0; run < kRuns; ++run) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool realTurn = (turn == 0) == (run % 2 == 0);
            const auto ms = realTurn ? firstFrame(tallyport, dataHome, tallyportCache)
                                     : firstFrame(minimal, dataHome, minimalCache);
            if (!ms)
                return 1;
            (realTurn ? real : bare).push_back(*ms);
        }
    }

    Launch idle(tallyport, dataHome, tallyportCache);
    if (idle.firstFrameMs() < 0) {
        fail(QStringLiteral("the window showed no first frame: ") + QString::fromLocal8Bit(idle.errors()));
        return 1;
    }
    runEventsFor(kSettleMs);
    const auto ticksBefore = cpuTicks(idle.pid());
    QElapsedTimer span;
    span.start();
    runEventsFor(kIdleMs);
    const auto ticksAfter = cpuTicks(idle.pid());
    const double spanSeconds = elapsedMs(span) / 1000;
    const auto rss = residentMib(idle.pid());
    if (!idle.running() || !ticksBefore || !ticksAfter || !rss) {
        fail(QStringLiteral("the window ended while idle: ") + QString::fromLocal8Bit(idle.errors()));
        return 1;
    }
    const double idleCpuPercent = double(*ticksAfter - *ticksBefore) / double(sysconf(_SC_CLK_TCK)) / spanSeconds * 100;

    if (fileDigest(stateFile) != digest) {
        fail(QStringLiteral("the window rewrote the state file; the launches did not see the same data"));
        return 1;
    }

    const double realMs = median(real);
    const double bareMs = median(bare);
    std::printf("launches %d count\n", kRuns);
    print("first_frame_ms", realMs, "ms");
    print("minimal_first_frame_ms", bareMs, "ms");
    print("first_frame_vs_minimal", realMs / bareMs, "ratio");
    print("idle_cpu_percent", idleCpuPercent, "percent");
    print("rss_mib", *rss, "MiB");
    printTarget("first_frame_vs_minimal", realMs / bareMs, "<=", kFirstFrameRatioTarget);
    printTarget("idle_cpu_percent", idleCpuPercent, "<=", kIdleCpuTargetPercent);
    printTarget("rss_mib", *rss, "<=", kRssTargetMib);
    return 0;
}
