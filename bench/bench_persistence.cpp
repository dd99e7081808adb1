// Loads and saves a large state file and sets the figures beside Python's
// json.load of the same file and a bare atomic write of the same bytes.
// Prints one "name value unit" line per figure; medians over kRuns runs.

#include "BenchOutput.h"
#include "StateGenerator.h"

#include "persistence/AtomicFile.h"
#include "persistence/FileAccountRepository.h"
#include "persistence/StateFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

using namespace BenchOutput;

namespace {

constexpr int kRuns = 9;

// Python's own loop, so that interpreter start-up is not counted.
double pythonJsonLoadMs(const QString &path)
{
    const QString script = QStringLiteral("import json, statistics, sys, time\n"
                                          "times = []\n"
                                          "for _ in range(int(sys.argv[2])):\n"
                                          "    start = time.perf_counter()\n"
                                          "    with open(sys.argv[1], encoding='utf-8') as f:\n"
                                          "        json.load(f)\n"
                                          "    times.append((time.perf_counter() - start) * 1000)\n"
                                          "print(statistics.median(times))\n");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path, QString::number(kRuns)});
    if (!python.waitForFinished(600000) || python.exitCode() != 0) {
        std::fprintf(stderr, "python3 failed: %s\n", python.readAllStandardError().constData());
        return -1;
    }
    return python.readAllStandardOutput().trimmed().toDouble();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    // A fixed moment, so that every run saves the same bytes.
    const AccountsState state =
        generateState(QDateTime::fromString(QStringLiteral("2026-03-02T14:05:09Z"), Qt::ISODate));

    QTemporaryDir folder;
    auto created = FileAccountRepository::create(folder.path());
    if (!folder.isValid() || !created) {
        std::fprintf(stderr, "cannot set up the repository\n");
        return 1;
    }
    FileAccountRepository &repository = *created.value();
    if (!repository.saveState(state)) {
        std::fprintf(stderr, "first save failed\n");
        return 1;
    }
    const QByteArray bytes = StateFile::encode(state);

    std::vector<double> load, save, rawWrite;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        auto loaded = repository.loadState();
        load.push_back(elapsedMs(timer));
        if (!loaded || loaded.value() != state) {
            std::fprintf(stderr, "the loaded state differs from the saved one\n");
            return 1;
        }

        timer.restart();
        const bool saved = repository.saveState(state).ok();
        save.push_back(elapsedMs(timer));

        timer.restart();
        const bool written = writeFileAtomically(repository.filePath(), bytes).ok();
        rawWrite.push_back(elapsedMs(timer));
        if (!saved || !written) {
            std::fprintf(stderr, "a write failed\n");
            return 1;
        }
    }
    const double python = pythonJsonLoadMs(repository.filePath());
    if (python <= 0)
        return 1;

    std::printf("file_bytes %lld bytes\n", static_cast<long long>(bytes.size()));
    print("load_ms", median(load), "ms");
    print("python_json_load_ms", python, "ms");
    print("save_ms", median(save), "ms");
    print("raw_write_ms", median(rawWrite), "ms");
    print("load_vs_python_json_load", median(load) / python, "ratio");
    print("save_vs_raw_write", median(save) / median(rawWrite), "ratio");
    return 0;
}
