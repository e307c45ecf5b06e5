#pragma once

#include "ActivityWindow.h"
#include "ControlPanel.h"

#include <QList>
#include <functional>

class DownloadForm;
class HistogramForm;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SysCalForm;

// The initialisation and debugging window of the factory tools: the logger's
// serial number, measuring range and filter constants, the raw level display,
// and the way to the histogram window.
class InitForm : public ActivityWindow {
    Q_OBJECT
public:
    // download: the window whose stop-at-terminator switch this one sets;
    // calibration: the window that factory calibration opens. A control
    // without its window stays disabled.
    InitForm(ControlPanel* panel, DownloadForm* download = nullptr,
             SysCalForm* calibration = nullptr);

    // What the factory button runs: centred over the main window, not modal.
    void open();
    // The status poll's raw level while the raw display is on.
    void showRawLevel(qint16 level);
    bool rawDisplay() const { return m_rawDisplay; }
    // Told when the raw display is switched, so that the status poll starts
    // or stops reading the raw level.
    std::function<void(bool on)> rawDisplayChanged;

    void set_serial_number(); // request 18
    void get_range();         // request 37
    void getFilter();
    void setFilter();

    HistogramForm* histogram() const { return m_histogram; }

private:
    // Controls; tests and outside checks find them by objectName.
    QCheckBox* const LoggerTerminateCheck;
    QGroupBox* const CalibrationFrame;
    QComboBox* const RangeCombo;
    QPushButton* const FactoryCalibrationButton;
    QGroupBox* const SerialNumberFrame;
    QLineEdit* const SerialNumberText;
    QPushButton* const SerialNumberButton;
    QPushButton* const InitButton;
    QGroupBox* const FilterFrame;
    QLineEdit* const FilterAText;
    QLineEdit* const FilterBText;
    QPushButton* const GetFilterButton;
    QPushButton* const SetFilterButton;
    QGroupBox* const RawFrame;
    QPushButton* const RawButton;
    QLabel* const boxSPL;
    QPushButton* const ManualButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void initPressed();
    void serialNumberPressed();
    void rawPressed();
    void manualPressed();
    void setRawDisplay(bool on);
    // The filter buttons talk to the logger directly, so never into a run.
    static bool exchangeBusy();
    DownloadForm* const m_download;
    SysCalForm* const m_calibration;
    HistogramForm* const m_histogram;
    QList<QWidget*> m_toggled;
    bool m_rawDisplay = false;
};
