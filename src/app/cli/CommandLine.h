#pragma once

#include <QStringList>

// The command-line face of the core: `tallyport status [--json]`,
// `tallyport export FILE`, `tallyport import --mode replace|merge FILE`,
// `--help` (also after each command) and `--version`. Returns the process
// exit code.
namespace CommandLine {

enum ExitCode { success = 0, failure = 1, usage = 2 };

int run(const QStringList &arguments);

} // namespace CommandLine
