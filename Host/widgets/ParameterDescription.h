#pragma once

// The label set that shows a buffer's parameters in words, in every window
// that describes a buffer (download, details, summary before logging).

#include "BufferRecord.h"

class QFrame;
class QWidget;

// The panel `pnlSummary` with its heading labels and their empty data labels.
QFrame* BuildSummaryPanel(QWidget* parent);

// Fills the data labels found by name under `window` from `record`, and greys
// out the headings and data of what the buffer does not use.
void DescribeParameters(const BufferRecord& record, QWidget* window);
