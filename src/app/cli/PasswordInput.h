#pragma once

#include <QString>

#include <optional>

// Reads a backup password: the first line of standard input without its line
// break, or, on a terminal, typed at a prompt without echo. Absent when the
// input ended before a line was read.
std::optional<QString> readPassword(const QString &prompt);
