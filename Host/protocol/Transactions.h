#pragma once

#include <QByteArray>
#include <QString>

// The shapes of a whole transaction with the logger. Each returns what the
// command's caller gets; the named ones report a failure themselves.

// Letter, then one reply character whose value is not examined.
bool ActionTransaction(const QByteArray& letter);
// Letter, then one reply byte: its code, or -1 after a report.
qint16 ByteQuery(const QByteArray& letter, const QString& name);
// Letter, then a 15-bit word: the word, or -1 after a report.
qint16 WordQuery(const QByteArray& letter, const QString& name);
// Letter, one data byte, and the letter itself as echo.
bool ByteSettingWithEcho(const QByteArray& letter, const QString& name, qint16 value);
// Letter and reply of the record's length; true when a reply came (it is in
// Session().ReplyBuffer), false after a report.
bool RecordQuery(const QByteArray& letter, const QString& name, qint16 length);
// Letter, a data block (whether it went out is not examined), and a reply.
bool SettingTransaction(const QByteArray& letter, const QByteArray& data, qint16 replyLength);
// Letter only; nothing is read.
void CommandOnly(const QByteArray& letter);
