#pragma once

#include "IndicatorsReport.h"

#include <QLocale>
#include <QWidget>

#include <optional>

class QLabel;
class QTableWidget;

// "Noise Indicators": the figures a survey report quotes for the stretch of
// the open file that the viewer shows: Leq, Lmax, Lmin, the percentile means,
// the records behind them, the day, evening and night levels and Lden of each
// day, the calibration check and whether the file is still what was
// downloaded. "Copy" puts the same figures on the clipboard as text. The
// figures are computed when asked for, never while the graph is drawn.
class frmIndicators : public QWidget {
    Q_OBJECT
public:
    explicit frmIndicators(const QLocale& locale = QLocale::system(), QWidget* parent = nullptr);

    // Computes the figures of the file read from path over the range and fills
    // the window with them. The file's origin is checked once per file, since it reads the
    // whole file: forgetFile() makes the next call check it again.
    void setRange(const QString& path, const GraphData& data, SerialRange range);
    void forgetFile();

    const IndicatorsReport& report() const { return m_report; }
    // Puts the readable text of the figures on the clipboard.
    void copyReport() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill();

    QLocale m_locale;
    IndicatorsReport m_report;
    std::optional<OriginCheck> m_origin;

    QLabel* lblRange;
    QTableWidget* grdLevels;
    QTableWidget* grdDays;
    QTableWidget* grdCalibration;
    QTableWidget* grdOrigin;
};
