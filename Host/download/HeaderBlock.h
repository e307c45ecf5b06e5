#pragma once

// The header block that describes one buffer's measurement at the top of the
// data files, and the column heading lines. All texts are the ones the viewer,
// the operator's spreadsheets and the help pages expect, word for word.

#include "BufferRecord.h"

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

// The first line; readers recognise a data file by it.
inline const QString HeaderBanner =
    QStringLiteral("Orvane Instruments -  Type 1 Environmental Noise Logger");

// What the header needs besides the buffer's record.
struct HeaderContext {
    QString serialNumberText; // as the control panel shows it
    QLocale locale = QLocale::system();
};

// The auxiliary power and short-term Leq modes: "Disabled", "Enabled whilst
// logging", "Enabled on trigger"; nothing for a mode that has no text.
std::optional<QString> OutputModeText(int mode);
QString IntervalText(int minutes);  // "1 minute", "15 minutes"
QString LeqLengthText(int seconds); // "1 second", "10 seconds"
// The auxiliary power, the short-term Leq or the tape works on trigger.
bool AnythingOnTrigger(const BufferRecord& record);

// "N/A" for both when nothing works on trigger.
QString StartTriggerText(const BufferRecord& record);
QString StopTriggerText(const BufferRecord& record);
// Nothing for a timer type that has no text (no header line then).
std::optional<QString> TimerText(const TimerRecord& timer, const QLocale& locale);

// Lines 1 to 19 (fewer when a mode has no text), each ended by CR LF.
QList<QByteArray> HeaderLines(const BufferRecord& record, const HeaderContext& context);
QByteArray HeaderBlock(const BufferRecord& record, const HeaderContext& context);

// "Date", "Time", "Leq", "Lmax", "L" + each of the buffer's percentile indices,
// "Lmin", "Temp", "Battery", "Overload".
QByteArray StatisticalHeadingLine(const BufferRecord& record);
QByteArray EventHeadingLine();
QByteArray LeqHeadingLine();
