// The state file reader on any bytes: it fails or gives a state, and a state
// it gives is written and read back unchanged.
#include "persistence/StateFile.h"

#include <QTimeZone>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QDateTime readTime = QDateTime::fromSecsSinceEpoch(1772460309, QTimeZone::utc());
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const Result<AccountsState> state = StateFile::decode(bytes, readTime);
    if (!state)
        return 0;
    const Result<AccountsState> again = StateFile::decode(StateFile::encode(state.value()), readTime);
    if (!again || !(again.value() == state.value()))
        std::abort();
    return 0;
}
