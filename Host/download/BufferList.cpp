#include "BufferList.h"

#include "CommandLibrary.h"

BufferList ReadBufferList(const BufferListReading& reading) {
    const auto stop = [&reading] { return reading.stopRequested && reading.stopRequested(); };
    BufferList list;
    list.count = Logger::GetBuffers();
    // One unanswered "b" is often a logger that was just waking.
    if (list.count == -1 && !stop())
        list.count = Logger::GetBuffers();
    if (list.count < 1 || list.count > MaxBuffers)
        return list;
    for (qint16 i = 0; i < list.count && !stop(); ++i) {
        std::optional<BufferRecord> record;
        for (int attempt = 0; attempt < reading.recordAttempts && !record && !stop(); ++attempt)
            record = TryProgramRead(i);
        if (!record)
            list.unread << i;
        list.records << record.value_or(EmptyBufferRecord());
    }
    return list;
}
