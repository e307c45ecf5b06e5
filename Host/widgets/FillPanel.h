#pragma once

#include <QColor>
#include <QWidget>

// A sunken panel that fills from the left by a percentage and shows it. The
// percentage is drawn white once the fill reaches 51 %, black below, so that it
// stays readable over the filled part.
class FillPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int fillPercent READ fillPercent WRITE setFillPercent NOTIFY fillPercentChanged)

public:
    explicit FillPanel(QWidget* parent = nullptr);

    int fillPercent() const { return m_percent; }
    // Clamped to 0 … 100.
    void setFillPercent(int percent);

    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor& color);
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color);
    QColor textColor() const;

    bool showsPercentage() const { return m_showPercentage; }
    void setShowPercentage(bool show);
    // What the panel shows: "37%", or nothing when the percentage is hidden.
    QString text() const;

    QSize sizeHint() const override;

signals:
    void fillPercentChanged(int percent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_percent = 0;
    QColor m_fillColor;
    QColor m_backgroundColor;
    bool m_showPercentage = true;
};
