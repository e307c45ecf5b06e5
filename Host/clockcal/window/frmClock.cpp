#include "frmClock.h"

#include "CommandLibrary.h"
#include "ControlPanel.h"
#include "MaskedEdit.h"
#include "NamedWidget.h"
#include "RequestCodes.h"
#include "RequestQueue.h"
#include "SpinButton.h"
#include "frmMessage.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

// The years a logger's clock can hold: one byte counted from the base year,
// the last value meaning "not set".
constexpr qint16 LastYear = 2250;

bool ReadNumber(const MaskedEdit* field, qint16& value) {
    bool ok = false;
    value = field->Text().trimmed().toShort(&ok);
    return ok;
}

// The day of the week as "Set date/time" carries it, Monday = 1 ... Sunday = 7,
// counted as the logger counts: its calendar has 29 February in 2100 and 2200,
// which follows 28 February; -1 for a record that is no date of that calendar.
qint16 DayOfWeekByte(const LoggerDateTime& value) {
    if (!IsLoggerDateTime(value))
        return -1;
    if (IsValidDateTime(value)) {
        const int weekday = Weekday(value); // 0 = Sunday
        return qint16(weekday == 0 ? 7 : weekday);
    }
    LoggerDateTime dayBefore = value;
    dayBefore.day = 28;
    return qint16(Weekday(dayBefore) + 1); // Sunday 0 is followed by Monday 1
}

} // namespace

frmClock::frmClock(ControlPanel* panel)
    : ActivityWindow(panel), mskDay(NamedField("mskDay", "00", "Day", this)),
      mskMonth(NamedField("mskMonth", "00", "Month", this)),
      mskYear(NamedField("mskYear", "0000", "Year", this)),
      mskHour(NamedField("mskHour", "00", "Hour", this)),
      mskMinute(NamedField("mskMinute", "00", "Minute", this)),
      mskSecond(NamedField("mskSecond", "00", "Second", this)),
      spnDate(new SpinButton("Date", this)), spnTime(new SpinButton("Time", this)),
      cmdPC(NamedButton("cmdPC", "Get PC Time", this)), cmdOK(NamedButton("cmdOK", "OK", this)),
      cmdCancel(NamedButton("cmdCancel", "Cancel", this)),
      tmrClock(new QTimer(this)), m_dateFields{mskDay, mskMonth, mskYear}, m_timeFields{mskHour,
                                                                                        mskMinute,
                                                                                        mskSecond},
      m_current(mskDay) {
    setObjectName("frmClock");
    setWindowTitle("Configure Clock...");
    setWindowModality(Qt::ApplicationModal);
    spnDate->setObjectName("spnDate");
    spnTime->setObjectName("spnTime");
    tmrClock->setObjectName("tmrClock");
    tmrClock->setInterval(1000);
    buildControls();

    for (MaskedEdit* field : m_dateFields + m_timeFields) {
        connect(field, &MaskedEdit::entered, this, [this, field] { m_current = field; });
        connect(field, &MaskedEdit::left, this, [this, field] { fieldLeft(field); });
    }
    // The seconds the operator touches are the ones to send, not a running count.
    connect(mskSecond, &QLineEdit::textEdited, this, [this] { runDisplay(false); });
    connect(spnDate, &SpinButton::SpinUp, this, [this] {
        if (m_dateFields.contains(m_current))
            step(m_current, 1);
    });
    connect(spnDate, &SpinButton::SpinDown, this, [this] {
        if (m_dateFields.contains(m_current))
            step(m_current, -1);
    });
    connect(spnTime, &SpinButton::SpinUp, this, [this] {
        if (m_timeFields.contains(m_current))
            step(m_current, 1);
    });
    connect(spnTime, &SpinButton::SpinDown, this, [this] {
        if (m_timeFields.contains(m_current))
            step(m_current, -1);
    });
    connect(tmrClock, &QTimer::timeout, this, &frmClock::tick);
    connect(cmdPC, &QPushButton::clicked, this, [this] {
        const QDateTime now = QDateTime::currentDateTime();
        showDateTime({qint16(now.date().year()), qint16(now.date().month()),
                      qint16(now.date().day()), qint16(now.time().hour()),
                      qint16(now.time().minute()), qint16(now.time().second())});
        runDisplay(true);
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmClock::accept);
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        setEnabled(true);
        PostRequest(Request::CloseClock);
    });
    registerRequest(Request::SetClock, [this](qint16) { SetClock(); });
    registerRequest(Request::CloseClock, [this](qint16) { CloseWindow(); });
    hideOnUnlink();
    cancelWith(cmdCancel);
    disablePanelWhileShown();
}

void frmClock::buildControls() {
    auto* lblDate = new QLabel("Date  :", this);
    lblDate->setObjectName("lblDate");
    lblDate->setBuddy(mskDay);
    auto* lblTime = new QLabel("Time  :", this);
    lblTime->setObjectName("lblTime");
    lblTime->setBuddy(mskHour);
    const auto row = [this](const QList<MaskedEdit*>& fields, const char* separatorName,
                            const QString& separator, SpinButton* spin) {
        auto* layout = new QHBoxLayout;
        for (int i = 0; i < fields.size(); ++i) {
            if (i > 0) {
                auto* label = new QLabel(separator, this);
                label->setObjectName(QString("%1%2").arg(separatorName).arg(i - 1));
                layout->addWidget(label);
            }
            layout->addWidget(fields[i]);
        }
        layout->addWidget(spin);
        layout->addStretch();
        return layout;
    };
    auto* grid = new QGridLayout(this);
    grid->addWidget(lblDate, 0, 0);
    grid->addLayout(row(m_dateFields, "lblDateSeparator", "/", spnDate), 0, 1);
    grid->addWidget(lblTime, 1, 0);
    grid->addLayout(row(m_timeFields, "lblTimeSeparator", ":", spnTime), 1, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {cmdPC, cmdOK, cmdCancel})
        buttons->addWidget(button);
    grid->addLayout(buttons, 2, 0, 1, 2);
    cmdOK->setDefault(true);
}

void frmClock::InitialiseOjects(const LoggerDateTime& value) {
    showDateTime(value);
    m_current = mskDay;
    runDisplay(true);
}

void frmClock::runDisplay(bool running) {
    m_displayRuns = running;
    // The timer itself runs only while the window is shown.
    if (running && isVisible())
        tmrClock->start();
    else if (!running)
        tmrClock->stop();
}

void frmClock::showDateTime(const LoggerDateTime& value) {
    // An unset or damaged clock still gives a date the logger can hold.
    const qint16 year = Clamp(value.year, BaseYear, LastYear);
    const qint16 month = Clamp(value.month, 1, 12);
    setField(mskYear, year);
    setField(mskMonth, month);
    setField(mskDay, Clamp(value.day, 1, DaysInMonth(year, month)));
    setField(mskHour, Clamp(value.hour, 0, 23));
    setField(mskMinute, Clamp(value.minute, 0, 59));
    setField(mskSecond, Clamp(value.second, 0, 59));
}

void frmClock::setField(MaskedEdit* field, qint16 value) {
    const QString text =
        QStringLiteral("%1").arg(value, int(field->pattern().size()), 10, QLatin1Char('0'));
    // Unchanged fields are left alone, so a tick does not disturb an edit.
    if (field->Text() != text)
        field->setText(text);
}

frmClock::Range frmClock::rangeOf(const MaskedEdit* field) const {
    if (field == mskDay) {
        qint16 year = 0, month = 0;
        const bool known =
            ReadNumber(mskYear, year) && ReadNumber(mskMonth, month) && month >= 1 && month <= 12;
        return {1, known ? DaysInMonth(year, month) : qint16(31)};
    }
    if (field == mskMonth)
        return {1, 12};
    if (field == mskYear)
        return {BaseYear, LastYear};
    if (field == mskHour)
        return {0, 23};
    return {0, 59};
}

bool frmClock::inRange(const MaskedEdit* field) const {
    qint16 value = 0;
    const Range range = rangeOf(field);
    return ReadNumber(field, value) && value >= range.lower && value <= range.upper;
}

void frmClock::fieldLeft(MaskedEdit* field) {
    if (!isVisible())
        return;
    if (!inRange(field)) {
        // Out-of-range entries never leave their field.
        QTimer::singleShot(0, field, [field] { field->setFocus(); });
        return;
    }
    qint16 value = 0;
    ReadNumber(field, value);
    setField(field, value);
    field->setCursorPosition(0);
    if (field == mskMonth || field == mskYear)
        fitDayToMonth();
}

void frmClock::fitDayToMonth() {
    qint16 day = 0;
    if (ReadNumber(mskDay, day) && day > rangeOf(mskDay).upper)
        setField(mskDay, rangeOf(mskDay).upper);
}

void frmClock::step(MaskedEdit* field, int by) {
    if (field == mskSecond)
        runDisplay(false);
    const Range range = rangeOf(field);
    qint16 value = 0;
    // A field that does not read as a number wraps like one at its limit.
    if (!ReadNumber(field, value) || value < range.lower || value > range.upper)
        value = by > 0 ? range.upper : range.lower;
    value = qint16(value + by);
    if (value > range.upper)
        value = range.lower;
    else if (value < range.lower)
        value = range.upper;
    setField(field, value);
    if (field == mskMonth || field == mskYear)
        fitDayToMonth();
    field->setFocus();
}

LoggerDateTime frmClock::fieldsValue() const {
    return DateTimeFromFields(mskYear->Text(), mskMonth->Text(), mskDay->Text(), mskHour->Text(),
                              mskMinute->Text(), mskSecond->Text());
}

void frmClock::tick() {
    LoggerDateTime value = fieldsValue();
    // A field held at a value that is not a date yet is left to the operator.
    if (!IsLoggerDateTime(value))
        return;
    AddSeconds(value, 1);
    if (value.year > LastYear)
        value.year = BaseYear;
    showDateTime(value);
}

void frmClock::accept() {
    // Every field again, the day within its month: nothing impossible is sent.
    for (MaskedEdit* field : {mskYear, mskMonth, mskDay, mskHour, mskMinute, mskSecond})
        if (!inRange(field)) {
            field->setFocus();
            return;
        }
    hide();
    PostRequest(Request::SetClock);
}

void frmClock::SetClock() {
    const LoggerDateTime value = fieldsValue();
    Logger::SetDateTime(DayOfWeekByte(value), value);
    hide();
}

void frmClock::CloseWindow() {
    if (do_cancel("Are you sure you want to discard the changes you have made?",
                  "Cancel clock set..."))
        hide();
    setEnabled(true);
}

void frmClock::showEvent(QShowEvent* event) {
    ActivityWindow::showEvent(event);
    if (m_displayRuns)
        tmrClock->start();
}

void frmClock::hideEvent(QHideEvent* event) {
    ActivityWindow::hideEvent(event);
    tmrClock->stop();
}
