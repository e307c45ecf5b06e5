#include "GraphCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

GraphCanvas::GraphCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

QColor GraphCanvas::background() const {
    return palette().color(QPalette::Window);
}

void GraphCanvas::clear() {
    m_picture.fill(background());
    update();
}

void GraphCanvas::showBox(const QRect& box, const QColor& colour) {
    m_box = box;
    m_boxColour = colour;
    update();
}

void GraphCanvas::addMarks(const QList<QRect>& marks) {
    m_marks += marks;
    update();
}

void GraphCanvas::clearTemporary() {
    if (m_box.isNull() && m_marks.isEmpty())
        return;
    m_box = QRect();
    m_marks.clear();
    update();
}

void GraphCanvas::paintEvent(QPaintEvent* event) {
    // Moved to a screen of another density: redraw at its resolution first.
    if (!qFuzzyCompare(m_picture.devicePixelRatio(), devicePixelRatioF()))
        newPicture();
    QPainter painter(this);
    painter.setClipRect(event->rect());
    painter.drawPixmap(QPointF(0, 0), m_picture);
    if (!m_box.isNull()) {
        QPen pen(m_boxColour);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_box);
    }
    if (!m_marks.isEmpty()) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        for (const QRect& mark : std::as_const(m_marks))
            painter.fillRect(mark, Qt::white);
    }
}

void GraphCanvas::newPicture() {
    const qreal ratio = devicePixelRatioF();
    m_picture = QPixmap(size().expandedTo(QSize(1, 1)) * ratio);
    m_picture.setDevicePixelRatio(ratio);
    m_picture.fill(background());
    m_box = QRect();
    m_marks.clear();
    emit resized();
}

void GraphCanvas::resizeEvent(QResizeEvent*) {
    newPicture();
}

void GraphCanvas::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->position().toPoint(), event->button());
}

void GraphCanvas::mouseMoveEvent(QMouseEvent* event) {
    emit moved(event->position().toPoint());
}

void GraphCanvas::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->position().toPoint(), event->button());
}

void GraphCanvas::mouseDoubleClickEvent(QMouseEvent*) {
    emit doubleClicked();
}
