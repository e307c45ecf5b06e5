#pragma once

#include <QColor>
#include <QGroupBox>
#include <QList>
#include <QWidget>

class QRadioButton;

// The line samples and option groups the axis and line style dialogs share.

// The names of line styles 0 to 4, as the options read to a screen reader.
QString lineStyleName(int style);

// A horizontal line across the middle in a style, width and colour. A click (or
// Space) sends clicked, a double-click (or Enter) activated.
class LineSample : public QWidget {
    Q_OBJECT
public:
    explicit LineSample(QWidget* parent = nullptr);

    void setLine(int style, int weight, QColor colour);
    int style() const { return m_style; }
    int weight() const { return m_weight; }
    QColor colour() const { return m_colour; }

signals:
    void clicked();
    void activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_style = 0;
    int m_weight = 1;
    QColor m_colour = Qt::black;
};

// "Major Gridlines" or "Minor Gridlines": "None" and the five line styles, each
// beside its sample, which selects it when clicked. The chosen grid style is
// the option's index - 1 (-1 for none).
class GridGroup : public QGroupBox {
    Q_OBJECT
public:
    // prefix names the controls: optMajor0..5 and lblMajorLine1..5 for "Major".
    GridGroup(const QString& title, const QString& prefix, QWidget* parent = nullptr);

    int gridStyle() const;
    void setGridStyle(int style);

private:
    QList<QRadioButton*> m_options;
};
