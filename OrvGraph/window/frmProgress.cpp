#include "frmProgress.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QColor kBarColour(0, 0, 128);
}

ProgressBox::ProgressBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ProgressBox::setPercent(int percent) {
    m_percent = std::clamp(percent, 0, 100);
    repaint();
}

void ProgressBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.fillRect(QRect(0, 0, m_percent * width() / 100, height()), kBarColour);
}

frmProgress::frmProgress(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Downloading data..."));
    setAttribute(Qt::WA_ShowWithoutActivating);
    lblDone = new QLabel(this);
    lblDone->setObjectName(QStringLiteral("lblDone"));
    pbxDone = new ProgressBox(this);
    pbxDone->setObjectName(QStringLiteral("pbxDone"));
    cmdOK = new QPushButton(QStringLiteral("O.K."), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblDone);
    layout->addWidget(pbxDone);
    layout->addWidget(cmdOK, 0, Qt::AlignHCenter);
}

void frmProgress::start(const QString& caption, const QString& message) {
    setWindowTitle(caption);
    lblDone->setText(message);
    show();
    pbxDone->setPercent(0);
    repaint();
}

void frmProgress::SetValue(int percent) {
    if (percent != pbxDone->percent())
        pbxDone->setPercent(percent);
}

int frmProgress::value() const {
    return pbxDone->percent();
}
