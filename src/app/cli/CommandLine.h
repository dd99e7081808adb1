#pragma once

#include <QStringList>

#include <optional>

// The command-line face of the core: `tallyport status [--json]`,
// `tallyport export FILE`, `tallyport import --mode replace|merge FILE`,
// `--help` (also after each command) and `--version`; `--background` alone
// is the window's. Returns the process
// exit code.
namespace CommandLine {

enum ExitCode { success = 0, failure = 1, usage = 2 };

// What the window takes on the command line.
struct WindowOptions {
    bool background = false; // start without showing the window
};

// The window's options when the arguments hold nothing else; otherwise the
// arguments are a command for run().
std::optional<WindowOptions> windowOptions(const QStringList &arguments);

int run(const QStringList &arguments);

} // namespace CommandLine
