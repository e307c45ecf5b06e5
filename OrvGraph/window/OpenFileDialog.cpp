#include "OpenFileDialog.h"

#include <QFileDialog>

namespace OpenFileDialog {

QStringList filters() {
    return {QStringLiteral("All Orv Data Files (*.csv *.dat)"),
            QStringLiteral("Statistical Data Files (*_Sta.csv) (*_Sta.csv)"),
            QStringLiteral("Short Term Leq Data Files (*_Leq.csv) (*_Leq.csv)"),
            // "*.*" would miss names without a dot here.
            QStringLiteral("All Files (*.*) (*)")};
}

QString getFileName(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlgOpenFile"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(filters());
    dialog.selectNameFilter(filters().first());
    dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace OpenFileDialog
