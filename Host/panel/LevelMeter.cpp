#include "LevelMeter.h"

#include <QPainter>

LevelMeter::LevelMeter(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 40);
    setAccessibleName("Level bar");
}

void LevelMeter::showLevel(qint16 tenths) {
    const qint16 level = qint16(qBound(280, int(tenths), 1420));
    if (m_barVisible && level == m_level)
        return;
    m_level = level;
    m_barVisible = true;
    update();
}

void LevelMeter::hideBar() {
    if (!m_barVisible)
        return;
    m_barVisible = false;
    update();
}

int LevelMeter::barLength() const {
    if (!m_barVisible)
        return 0;
    return (m_level - ScaleStartTenths) * scaleWidth() / ScaleSpanTenths;
}

void LevelMeter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const int barTop = 4;
    const int barHeight = height() / 2 - 4;
    if (m_barVisible)
        painter.fillRect(scaleLeft(), barTop, barLength(), barHeight, QColor(0, 160, 0));
    // The scale: a tick every 5 dB, labelled every 10 dB from 30 to 140.
    painter.setPen(palette().color(QPalette::Text));
    const int tickTop = barTop + barHeight + 2;
    for (int dB = 30; dB <= 140; dB += 5) {
        const int x = scaleLeft() + (dB * 10 - ScaleStartTenths) * scaleWidth() / ScaleSpanTenths;
        const bool major = dB % 10 == 0;
        painter.drawLine(x, tickTop, x, tickTop + (major ? 6 : 3));
        if (major && dB % 20 == 10) {
            const QString label = QString::number(dB);
            const int w = painter.fontMetrics().horizontalAdvance(label);
            painter.drawText(x - w / 2, height() - 2, label);
        }
    }
}
