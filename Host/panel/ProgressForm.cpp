#include "ProgressForm.h"

#include "FillPanel.h"

#include <QLabel>
#include <QVBoxLayout>

ProgressForm::ProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      lblProgress(new QLabel(this)), pnlProgress(new FillPanel(this)) {
    setObjectName("ProgressForm");
    lblProgress->setObjectName("lblProgress");
    pnlProgress->setObjectName("pnlProgress");
    pnlProgress->setMinimumWidth(pnlProgress->sizeHint().width() * 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblProgress);
    layout->addWidget(pnlProgress);
}

void ProgressForm::set_value(int percent) {
    if (percent == pnlProgress->fillPercent())
        return;
    pnlProgress->setFillPercent(percent);
    // Shown while start-up holds the event loop: paint now, not later.
    pnlProgress->repaint();
}

int ProgressForm::value() const {
    return pnlProgress->fillPercent();
}

void ProgressForm::setStepText(const QString& text) {
    lblProgress->setText(text);
    lblProgress->repaint();
}
