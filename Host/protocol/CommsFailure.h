#pragma once

#include <QString>

// "<text> failed." in the message window, when the operator has asked for it.
void ReportCommsFailure(const QString& text);

// The communications library could not be loaded: said whenever the operator
// asks for a link, since nothing can reach the logger without it.
void ReportComlaneMissing();
