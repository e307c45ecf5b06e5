#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The program's version, the maker, and the linked logger's details. Shown
// without being modal; the link fills the logger fields.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // Every logger field back to "Not Linked".
    void ResetData();
    void showProgramVersion(const QString& version);
    // The linked logger's serial number and its two processors' versions.
    void showLoggerIdentity(const QString& serial, const QString& processor,
                            const QString& measurement);
    void showBattery(const QString& volts);
    void showFreeMemory(const QString& kilobytes);

private:
    // Controls; tests and outside checks find them by objectName.
    QLabel* const lblProduct;
    QLabel* const lblMaker;
    QLabel* const lblVersionCaption;
    QLabel* const lblVersion;
    QLabel* const lblMpVersionCaption;
    QLabel* const lblMpVersion;
    QLabel* const lblDapVersionCaption;
    QLabel* const lblDapVersion;
    QLabel* const lblSerialNumberCaption;
    QLabel* const lblSerialNumber;
    QLabel* const lblBatteryCaption;
    QLabel* const lblBattery;
    QLabel* const lblMemoryCaption;
    QLabel* const lblMemory;
    QPushButton* const cmdClose;
};
