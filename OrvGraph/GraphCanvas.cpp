#include "GraphCanvas.h"

#include <QPaintEvent>
#include <QPainter>

GraphCanvas::GraphCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor GraphCanvas::background() const {
    return palette().color(QPalette::Window);
}

void GraphCanvas::clear() {
    m_picture.fill(background());
    update();
}

void GraphCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawPixmap(event->rect(), m_picture, event->rect());
}

void GraphCanvas::resizeEvent(QResizeEvent*) {
    m_picture = QPixmap(size().expandedTo(QSize(1, 1)));
    m_picture.fill(background());
    emit resized();
}
