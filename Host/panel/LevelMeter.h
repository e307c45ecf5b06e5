#pragma once

#include <QWidget>

// The level scale and bar: the bar starts at the scale's 27 dB mark and spans
// 115 dB over the scale's width.
class LevelMeter : public QWidget {
    Q_OBJECT
public:
    explicit LevelMeter(QWidget* parent = nullptr);

    // Shows the bar for a level in tenths of a dB (clamped to 28.0 … 142.0 dB).
    void showLevel(qint16 tenths);
    void hideBar();
    bool barVisible() const { return m_barVisible; }
    // The bar's length in pixels as drawn.
    int barLength() const;

    static constexpr int ScaleStartTenths = 270;
    static constexpr int ScaleSpanTenths = 1150;

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override { return {360, 46}; }

private:
    int scaleLeft() const { return 8; }
    int scaleWidth() const { return width() - 16; }

    qint16 m_level = 0;
    bool m_barVisible = false;
};
