#pragma once

#include "model/AccountsState.h"
#include "model/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>

#include <optional>

// The bytes of the state file "accounts.json".
namespace StateFile {

// Pretty-printed with four-space indents and keys in lexicographic order:
// byte for byte what QJsonDocument::Indented writes for JsonCoding::encode.
// Written to `device` piece by piece; false when a write fails.
bool write(QIODevice &device, const AccountsState &state);
// The same bytes in memory.
QByteArray encode(const AccountsState &state);

// The state object, or else the oldest form, a bare array of accounts. When
// both fail the error is the array attempt's. An object with other keys but
// none of "services", "accounts" and "events" is Error::Kind::NotStateFile.
// `readTime` is the createdAt of accounts that have none.
Result<AccountsState> decode(const QByteArray &bytes, const QDateTime &readTime);
// decode's fast path alone: nothing when it gives up on a file and decode
// falls back to QJsonDocument, several times slower on large files.
std::optional<AccountsState> decodePlain(const QByteArray &bytes, const QDateTime &readTime);

} // namespace StateFile
