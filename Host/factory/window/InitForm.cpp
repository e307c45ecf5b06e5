#include "InitForm.h"

#include "CommandLibrary.h"
#include "ControlPanel.h"
#include "DownloadForm.h"
#include "ExchangeGuard.h"
#include "FactoryEntry.h"
#include "HistogramForm.h"
#include "NamedWidget.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "SysCalForm.h"
#include "WindowPlacement.h"
#include "frmMessage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QStringList RangeNames{"Low Range", "Mid Range", "High Range", "Auto Ranging"};

QLineEdit* NamedText(const QString& name, const QString& shownAs, QWidget* parent) {
    auto* text = Named(new QLineEdit(parent), name);
    text->setAccessibleName(shownAs);
    return text;
}

} // namespace

InitForm::InitForm(ControlPanel* panel, DownloadForm* download, SysCalForm* calibration)
    : ActivityWindow(panel),
      LoggerTerminateCheck(
          Named(new QCheckBox("Allow downloads to be terminated from the logger.", this),
                "LoggerTerminateCheck")),
      CalibrationFrame(Named(new QGroupBox("Calibration", this), "CalibrationFrame")),
      RangeCombo(Named(new QComboBox(CalibrationFrame), "RangeCombo")),
      FactoryCalibrationButton(
          NamedButton("FactoryCalibrationButton", "Factory Calibration", CalibrationFrame)),
      SerialNumberFrame(Named(new QGroupBox("Serial Number", this), "SerialNumberFrame")),
      SerialNumberText(NamedText("SerialNumberText", "Enter Number", SerialNumberFrame)),
      SerialNumberButton(NamedButton("SerialNumberButton", "Set Number", SerialNumberFrame)),
      InitButton(NamedButton("InitButton", "Init", this)),
      FilterFrame(Named(new QGroupBox("Time Weighting Filter Adjustment", this), "FilterFrame")),
      FilterAText(NamedText("FilterAText", "Filter A", FilterFrame)),
      FilterBText(NamedText("FilterBText", "Filter B", FilterFrame)),
      GetFilterButton(NamedButton("GetFilterButton", "Get Filter", FilterFrame)),
      SetFilterButton(NamedButton("SetFilterButton", "Set Filter", FilterFrame)),
      RawFrame(Named(new QGroupBox("Raw SPL Display", this), "RawFrame")),
      RawButton(NamedButton("RawButton", "Turn on Raw", RawFrame)),
      boxSPL(NamedLabel("boxSPL", " ", RawFrame)),
      ManualButton(NamedButton("ManualButton", "Manual Logging Screen", this)),
      m_download(download), m_calibration(calibration), m_histogram(new HistogramForm(panel)) {
    setObjectName("InitForm");
    setWindowTitle("QN-7x Initialisation and Debugging Form.");
    RangeCombo->addItems(RangeNames);
    RangeCombo->setAccessibleName(CalibrationFrame->title());
    buildLayout();

    m_toggled = {LoggerTerminateCheck, CalibrationFrame, SerialNumberFrame,
                 FilterFrame,          RawFrame,         ManualButton};
    // The controls wait for Init, which also reads the range into the list.
    for (QWidget* control : std::as_const(m_toggled))
        control->setEnabled(false);
    FactoryCalibrationButton->setEnabled(m_calibration != nullptr);

    connect(LoggerTerminateCheck, &QCheckBox::clicked, this,
            [this](bool ticked) { m_download->stopAtTerminator = ticked; });
    connect(RangeCombo, &QComboBox::activated, this,
            [](int position) { PostRequest(Request::SetRange, qint16(position)); });
    connect(FactoryCalibrationButton, &QPushButton::clicked, this,
            [this] { m_calibration->open(SysCalForm::FactoryMode); });
    connect(SerialNumberButton, &QPushButton::clicked, this, &InitForm::serialNumberPressed);
    connect(InitButton, &QPushButton::clicked, this, &InitForm::initPressed);
    connect(GetFilterButton, &QPushButton::clicked, this, &InitForm::getFilter);
    connect(SetFilterButton, &QPushButton::clicked, this, &InitForm::setFilter);
    connect(RawButton, &QPushButton::clicked, this, &InitForm::rawPressed);
    connect(ManualButton, &QPushButton::clicked, this, &InitForm::manualPressed);
    registerRequest(Request::SetSerialNumber, [this](qint16) { set_serial_number(); });
    registerRequest(Request::GetRange, [this](qint16) { get_range(); });
    hideOnUnlink();
}

void InitForm::buildLayout() {
    auto* range = new QVBoxLayout(CalibrationFrame);
    range->addWidget(RangeCombo);
    range->addWidget(FactoryCalibrationButton);

    auto* serial = new QGridLayout(SerialNumberFrame);
    serial->addWidget(BuddyLabel("Enter Number:", SerialNumberText, SerialNumberFrame), 0, 0);
    serial->addWidget(SerialNumberText, 0, 1);
    serial->addWidget(new QLabel("e.g. 12345678", SerialNumberFrame), 1, 1);
    serial->addWidget(SerialNumberButton, 0, 2);

    auto* filters = new QGridLayout(FilterFrame);
    filters->addWidget(BuddyLabel("Filter A :", FilterAText, FilterFrame), 0, 0);
    filters->addWidget(FilterAText, 0, 1);
    filters->addWidget(GetFilterButton, 0, 2);
    filters->addWidget(BuddyLabel("Filter B :", FilterBText, FilterFrame), 1, 0);
    filters->addWidget(FilterBText, 1, 1);
    filters->addWidget(SetFilterButton, 1, 2);

    auto* raw = new QHBoxLayout(RawFrame);
    raw->addWidget(RawButton);
    raw->addWidget(boxSPL, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LoggerTerminateCheck);
    layout->addWidget(CalibrationFrame);
    layout->addWidget(SerialNumberFrame);
    layout->addWidget(FilterFrame);
    layout->addWidget(RawFrame);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(InitButton);
    buttons->addWidget(ManualButton);
    layout->addLayout(buttons);
}

void InitForm::open() {
    adjustSize();
    PlaceCentred(this, controlPanel()->panelWindow());
    show();
}

void InitForm::showEvent(QShowEvent* event) {
    if (m_download)
        LoggerTerminateCheck->setChecked(m_download->stopAtTerminator);
    ActivityWindow::showEvent(event);
}

void InitForm::initPressed() {
    for (QWidget* control : std::as_const(m_toggled))
        control->setEnabled(!control->isEnabled());
    // Controls whose work nobody carries out stay off whatever Init does.
    if (!m_download)
        LoggerTerminateCheck->setEnabled(false);
    if (!RequestIsRegistered(Request::SetRange))
        CalibrationFrame->setEnabled(false);
    RawButton->setText(m_rawDisplay ? "Turn off Raw" : "Turn on Raw");
    PostRequest(Request::GetRange);
}

void InitForm::get_range() {
    const qint16 range = Logger::GetRange();
    if (range >= 0 && range < RangeCombo->count())
        RangeCombo->setCurrentIndex(range);
}

void InitForm::serialNumberPressed() {
    if (!ParseSerialNumber(SerialNumberText->text())) {
        ShowMessage("Invalid serial number!!", 0, "Orv");
        return;
    }
    SerialNumberText->setEnabled(false);
    PostRequest(Request::SetSerialNumber);
}

void InitForm::set_serial_number() {
    if (const auto serial = ParseSerialNumber(SerialNumberText->text()))
        Logger::SetSerialNumber(*serial);
    SerialNumberText->setEnabled(true);
}

bool InitForm::exchangeBusy() {
    return QueueRunInProgress() || ExchangeInProgress();
}

void InitForm::getFilter() {
    if (exchangeBusy())
        return;
    const Logger::FilterConstants filters = Logger::GetFilters();
    const auto shown = [](qint16 value) { return value < 0 ? QString() : QString::number(value); };
    FilterAText->setText(shown(filters.a));
    FilterBText->setText(shown(filters.b));
}

void InitForm::setFilter() {
    if (exchangeBusy())
        return;
    const auto a = ParseFilterConstant(FilterAText->text());
    const auto b = ParseFilterConstant(FilterBText->text());
    if (!a || !b) {
        ShowMessage("Invalid filter value!! Enter a whole number from 0 to 255.", 0, "Orv");
        return;
    }
    Logger::SetFilters(*a, *b);
}

void InitForm::setRawDisplay(bool on) {
    m_rawDisplay = on;
    if (rawDisplayChanged)
        rawDisplayChanged(on);
}

void InitForm::rawPressed() {
    if (m_rawDisplay) {
        setRawDisplay(false);
        boxSPL->setText(" ");
        RawButton->setText("Turn on Raw");
    } else {
        setRawDisplay(true);
        RawButton->setText("Turn off Raw");
    }
}

void InitForm::showRawLevel(qint16 level) {
    if (m_rawDisplay)
        boxSPL->setText(QString::number(level));
}

void InitForm::manualPressed() {
    controlPanel()->statusTimer()->stop();
    m_histogram->adjustSize();
    PlaceCentred(m_histogram, controlPanel()->panelWindow());
    m_histogram->show();
}
