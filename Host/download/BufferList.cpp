#include "BufferList.h"

#include "CommandLibrary.h"

BufferList ReadBufferList() {
    BufferList list;
    list.count = Logger::GetBuffers();
    // One unanswered "b" is often a logger that was just waking.
    if (list.count == -1)
        list.count = Logger::GetBuffers();
    if (list.count < 1 || list.count > MaxBuffers)
        return list;
    for (qint16 i = 0; i < list.count; ++i)
        list.records << ProgramRead(i);
    return list;
}
