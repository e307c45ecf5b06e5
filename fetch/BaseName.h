#pragma once

// The data files' base from --base, whose fields are filled in per download,
// so that a nightly job's files land in stable, named places:
//   {serial}  the serial number as the control panel shows it, "16-498-400"
//   {buffer}  1 to 8, or "memory" for the whole memory
//   {start}   the buffer's start in logger time, "20041103-080000", or "unstarted"
//   {title}   the title trimmed, every character but letters, digits, ".", "-"
//             and "_" made "_" ("untitled" when empty), no leading "."
//   {{ }}     a brace
// The whole memory's {start} and {title} are those of its oldest buffer.

#include "DateTime.h"

#include <QString>

struct BaseFields {
    QString serial;
    qint16 buffer = 0; // 1 to 8; 0 for the whole memory
    LoggerDateTime start = UnsetDateTime();
    QString title; // as the logger stores it
};

struct ExpandedBase {
    QString base;
    QString error; // empty when the pattern is good
};

ExpandedBase ExpandBase(const QString& pattern, const BaseFields& fields);

// The pattern tells buffers apart by itself ({buffer} or {start}); otherwise
// several buffers each get "_B" and their number after the base.
bool BaseNamesEachBuffer(const QString& pattern);
