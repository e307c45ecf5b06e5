#pragma once

#include <QList>
#include <QPixmap>
#include <QWidget>

// The viewer's drawing surface: a persistent picture that the graph is drawn
// into and that repaints the widget, with a temporary layer over it for the
// zoom box and the marks of a click. The picture has the screen's device pixel
// ratio, so lines and text stay sharp on a high-density screen; drawing uses
// the widget's own units. Each resize gives a new, cleared picture and tells
// the window, which lays out and redraws.
class GraphCanvas : public QWidget {
    Q_OBJECT
public:
    explicit GraphCanvas(QWidget* parent = nullptr);

    QPixmap& picture() { return m_picture; }
    const QPixmap& picture() const { return m_picture; }
    QColor background() const;
    // Persistent drawing cleared to the background.
    void clear();

    // The temporary layer: a box outline in a colour, and small squares drawn
    // by exclusive-or over the picture.
    void showBox(const QRect& box, const QColor& colour);
    void addMarks(const QList<QRect>& marks);
    void clearTemporary();

signals:
    void resized();
    void pressed(QPoint point, Qt::MouseButton button);
    void moved(QPoint point);
    void released(QPoint point, Qt::MouseButton button);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void newPicture();

    QPixmap m_picture;
    QRect m_box;
    QColor m_boxColour;
    QList<QRect> m_marks;
};
