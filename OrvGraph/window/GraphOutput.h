#pragma once

#include "Axes.h"
#include "GraphData.h"

#include <QLocale>
#include <QRect>
#include <QString>

#include <functional>

class QFont;
class QPixmap;
class QPrinter;
class QWidget;

// The graph's ways off the screen: printed on paper or to a PDF file, drawn as
// vector lines and real text, and copied to the clipboard as a picture.

// Asks the operator where to print; false when the dialog is cancelled.
using PrintDialogSource = std::function<bool(QPrinter& printer, QWidget* parent)>;
// The system print dialog. Printing to a file stays offered, so that a user
// without a printer gets a PDF.
bool showPrintDialog(QPrinter& printer, QWidget* parent);

// What a printed page holds, in the page's device units: the plot as drawn
// (with the scale and steps chosen for it) and the legend box beside it.
struct PrintedPage {
    PlotArea area;
    QRect legend;
};

struct PrintOutcome {
    enum class Status { Printed, Cancelled, Failed };
    Status status = Status::Cancelled;
    PrintedPage page; // when Printed
    QString message;  // when Failed: the message for the operator
};

// Prints the view of the data (the screen's time window, level scale and grid
// lines) on one landscape page with a legend of the shown data sets, in the
// font given. The printer keeps the operator's choices between prints; its
// orientation is restored afterwards. Nothing is shown here: the caller shows
// the failure message.
PrintOutcome PrintGraph(QWidget* parent, QPrinter& printer, const GraphData& data,
                        const PlotArea& view, const QFont& font, const QLocale& locale,
                        const PrintDialogSource& choosePrinter = showPrintDialog);

// Replaces the clipboard's content with the picture of the graph.
void CopyGraphToClipboard(const QPixmap& picture);
