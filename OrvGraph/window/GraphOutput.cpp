#include "GraphOutput.h"

#include "GraphPainter.h"
#include "LinePen.h"

#include <QClipboard>
#include <QCursor>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>

#include <cmath>

// After QCursor, which it needs whole.
#include "WaitCursor.h"

namespace {

// A one-unit line at this resolution is a fine line that every printer shows,
// and the long views' one line per device column stays a small file.
constexpr int kPageResolution = 300;
// Page layout in twips (1/1440 inch): the tick margin, and in screen pixels
// (1/96 inch): the legend's sample line, inner margin and gap before the names.
constexpr double kMarginTwips = 100.0;
constexpr double kSampleLength = 90.0;
constexpr double kLegendInset = 5.0;
constexpr double kLegendGap = 30.0;
// Label room below and above the plot, in text lines.
constexpr double kLineFactor = 2.0;

const QString kFailure = QStringLiteral("Print graph detects an error!\rCode %1 %2");
constexpr int kFileAccessError = 75;
constexpr int kPrinterError = 482;

int deviceUnits(double amount, double perInch, int dpi) {
    return int(std::lround(amount * dpi / perInch));
}

// The window's font at the same size on paper: a size in pixels would shrink
// to the page's much smaller dots.
QFont pageFont(QFont font) {
    if (font.pixelSize() > 0)
        font.setPointSizeF(font.pixelSize() * 72.0 / 96.0);
    return font;
}

QString failureMessage(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return kFailure.arg(kFileAccessError)
            .arg(QStringLiteral("The file %1 cannot be written.").arg(printer.outputFileName()));
    return kFailure.arg(kPrinterError)
        .arg(QStringLiteral("The printer %1 cannot print.").arg(printer.printerName()));
}

// The graph with its legend at the top right, the plot narrowed to make room.
PrintedPage drawGraphPage(QPainter& painter, const GraphData& data, const PlotArea& view,
                          const QLocale& locale) {
    QPaintDevice* device = painter.device();
    const int dpi = device->logicalDpiX();
    const QFontMetricsF metrics(painter.font(), device);
    PrintedPage page;
    page.area = initPlotArea(QSizeF(device->width(), device->height()), metrics,
                             deviceUnits(kMarginTwips, 1440.0, dpi), kLineFactor);
    page.area.timeAxis = view.timeAxis;
    page.area.levelAxis = view.levelAxis;

    const int sample = deviceUnits(kSampleLength, 96.0, dpi);
    const int inset = deviceUnits(kLegendInset, 96.0, dpi);
    const int gap = deviceUnits(kLegendGap, 96.0, dpi);
    const int lineHeight = int(std::ceil(metrics.height()));
    QList<const DataSet*> shown;
    int widest = 0;
    for (const DataSet& set : data.sets) {
        if (!set.shown)
            continue;
        shown << &set;
        widest = qMax(widest, int(std::ceil(metrics.horizontalAdvance(set.name))));
    }
    const int width = sample + widest + gap + 2 * inset;
    const int height = int(shown.size()) * lineHeight + 2 * inset;
    page.legend = QRect(int(std::lround(page.area.left + page.area.width)) - width,
                        int(std::lround(page.area.top)), width, height);
    page.area.width -= width;

    GraphPainter(painter, locale).redraw(page.area, data, Qt::white);

    painter.setPen(linePen(Qt::black));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(page.legend.adjusted(0, 0, -1, -1));
    const int sampleLeft = page.legend.left() + inset;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const int top = page.legend.top() + inset + int(i) * lineHeight;
        const int middle = top + lineHeight / 2;
        painter.setPen(dataSetPen(*shown[i]));
        painter.drawLine(sampleLeft, middle, sampleLeft + sample - 1, middle);
        painter.setPen(linePen(Qt::black));
        painter.drawText(QPointF(sampleLeft + sample + gap, top + metrics.ascent()),
                         shown[i]->name);
    }
    return page;
}

} // namespace

bool showPrintDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

PrintOutcome PrintGraph(QWidget* parent, QPrinter& printer, const GraphData& data,
                        const PlotArea& view, const QFont& font, const QLocale& locale,
                        const PrintDialogSource& choosePrinter) {
    PrintOutcome outcome;
    if (!choosePrinter(printer, parent))
        return outcome;
    WaitCursor hourglass;
    const QPageLayout::Orientation chosen = printer.pageLayout().orientation();
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setResolution(kPageResolution);
    QPainter painter;
    if (painter.begin(&printer)) {
        painter.setFont(pageFont(font));
        outcome.page = drawGraphPage(painter, data, view, locale);
        const bool sent = painter.end() && printer.printerState() != QPrinter::Error;
        outcome.status = sent ? PrintOutcome::Status::Printed : PrintOutcome::Status::Failed;
    } else {
        outcome.status = PrintOutcome::Status::Failed;
    }
    if (outcome.status == PrintOutcome::Status::Failed)
        outcome.message = failureMessage(printer);
    printer.setPageOrientation(chosen);
    return outcome;
}

void CopyGraphToClipboard(const QPixmap& picture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setPixmap(picture);
}
