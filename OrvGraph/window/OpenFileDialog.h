#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The viewer's file-open dialog: the data file filters, the first one chosen,
// the file must exist; cancelling gives an empty name.
namespace OpenFileDialog {

// "All Orv Data Files|*.csv;*.dat|Statistical Data Files (*_Sta.csv)|*_Sta.csv|
// Short Term Leq Data Files (*_Leq.csv)|*_Leq.csv|All Files (*.*)|*.*" in the
// form QFileDialog takes; the dialog hides the patterns after each caption, so
// the captions read as written.
QStringList filters();

QString getFileName(QWidget* parent, const QString& folder);

} // namespace OpenFileDialog
