#pragma once

// The program's log on standard error: one line for each error or note.

#include <QString>

// An error; the first of the run is what the JSON summary gives as its error.
void FetchError(const QString& text);
// A remark that is no error (a retry to come, the date format in force).
void FetchNote(const QString& text);
QString FirstFetchError();
// From here on the next error is the first: a new try begins.
void ForgetFetchErrors();
