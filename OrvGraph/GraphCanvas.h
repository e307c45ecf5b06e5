#pragma once

#include <QPixmap>
#include <QWidget>

// The viewer's drawing surface: a persistent picture that the graph is drawn
// into and that repaints the widget. Each resize gives a new, cleared picture
// and tells the window, which lays out and redraws.
class GraphCanvas : public QWidget {
    Q_OBJECT
public:
    explicit GraphCanvas(QWidget* parent = nullptr);

    QPixmap& picture() { return m_picture; }
    const QPixmap& picture() const { return m_picture; }
    QColor background() const;
    // Persistent drawing cleared to the background.
    void clear();

signals:
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap m_picture;
};
