#include "FillPanel.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {
constexpr int WhiteTextFrom = 51;
const QColor DefaultFill(0, 0, 128);
} // namespace

FillPanel::FillPanel(QWidget* parent)
    : QWidget(parent), m_fillColor(DefaultFill),
      m_backgroundColor(palette().color(QPalette::Button)) {}

void FillPanel::setFillPercent(int percent) {
    const int clamped = qBound(0, percent, 100);
    if (clamped == m_percent)
        return;
    m_percent = clamped;
    update();
    emit fillPercentChanged(m_percent);
}

void FillPanel::setFillColor(const QColor& color) {
    m_fillColor = color;
    update();
}

void FillPanel::setBackgroundColor(const QColor& color) {
    m_backgroundColor = color;
    update();
}

QColor FillPanel::textColor() const {
    return m_percent >= WhiteTextFrom ? QColor(Qt::white) : QColor(Qt::black);
}

void FillPanel::setShowPercentage(bool show) {
    m_showPercentage = show;
    update();
}

QString FillPanel::text() const {
    return m_showPercentage ? QString::number(m_percent) + '%' : QString();
}

QSize FillPanel::sizeHint() const {
    return {fontMetrics().horizontalAdvance("100%") * 3, fontMetrics().height() + 8};
}

void FillPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = 1;
    frame.state |= QStyle::State_Sunken;
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    painter.fillRect(inside, m_backgroundColor);
    QRect filled = inside;
    filled.setWidth(inside.width() * m_percent / 100);
    painter.fillRect(filled, m_fillColor);
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
    if (m_showPercentage) {
        painter.setPen(textColor());
        painter.drawText(inside, Qt::AlignCenter, text());
    }
}
