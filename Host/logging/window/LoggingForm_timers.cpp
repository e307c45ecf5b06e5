// The logging window's timer controls: the panels of each kind, their
// defaults and ranges, the check made when a field is left, and the timers
// they describe.
#include "LoggingForm.h"

#include "DateTime.h"
#include "MaskedEdit.h"
#include "NamedWidget.h"
#include "NumericEntry.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>

namespace {

constexpr qint16 LastYear = 2250;
const QStringList WeekDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                              "Thursday", "Friday", "Saturday"};

QString ItemName(const char* name, int item) {
    return QStringLiteral("%1%2").arg(QLatin1String(name)).arg(item);
}

// Read out by the caption beside the field, as the screen shows it.
MaskedEdit* TimerField(const char* name, int item, const char* pattern, const QString& spoken,
                       QWidget* parent) {
    return NamedField(ItemName(name, item), QLatin1String(pattern), spoken, parent);
}

// "hh : mm" with the two fields side by side.
QHBoxLayout* TimeRow(MaskedEdit* hour, MaskedEdit* minute) {
    auto* row = new QHBoxLayout;
    row->addWidget(hour);
    row->addWidget(new QLabel(":", hour->parentWidget()));
    row->addWidget(minute);
    row->addStretch();
    return row;
}

void SetNumber(MaskedEdit* field, qint16 value) {
    field->setText(FormatNumberField(value, field->pattern()));
}

} // namespace

void LoggingForm::buildRepeatPanels(int item, QStackedWidget* panels) {
    panels->addWidget(
        Named(new QWidget(panels), ItemName(item == 0 ? "MasterTimerPanel" : "SubTimerPanel", 0)));

    auto* hourly = new QWidget(panels);
    HourlyStartMinuteMask << TimerField("HourlyStartMinuteMask", item, "00", "Start Minute",
                                        hourly);
    HourlyEndMinuteMask << TimerField("HourlyEndMinuteMask", item, "00", "End Minute", hourly);
    auto* hourlyGrid = new QGridLayout(hourly);
    hourlyGrid->addWidget(BuddyLabel("Start Minute :", HourlyStartMinuteMask[item], hourly), 0, 0);
    hourlyGrid->addWidget(HourlyStartMinuteMask[item], 0, 1);
    hourlyGrid->addWidget(BuddyLabel("End Minute :", HourlyEndMinuteMask[item], hourly), 1, 0);
    hourlyGrid->addWidget(HourlyEndMinuteMask[item], 1, 1);
    hourlyGrid->setColumnStretch(2, 1);

    auto* daily = new QWidget(panels);
    DailyStartHourMask << TimerField("DailyStartHourMask", item, "#0", "Start Time", daily);
    DailyStartMinuteMask << TimerField("DailyStartMinuteMask", item, "00", "Start Time minutes",
                                       daily);
    DailyEndHourMask << TimerField("DailyEndHourMask", item, "#0", "End Time", daily);
    DailyEndMinuteMask << TimerField("DailyEndMinuteMask", item, "00", "End Time minutes", daily);
    auto* dailyGrid = new QGridLayout(daily);
    dailyGrid->addWidget(BuddyLabel("Start Time :", DailyStartHourMask[item], daily), 0, 0);
    dailyGrid->addLayout(TimeRow(DailyStartHourMask[item], DailyStartMinuteMask[item]), 0, 1);
    dailyGrid->addWidget(BuddyLabel("End Time :", DailyEndHourMask[item], daily), 1, 0);
    dailyGrid->addLayout(TimeRow(DailyEndHourMask[item], DailyEndMinuteMask[item]), 1, 1);

    auto* weekly = new QWidget(panels);
    WeeklyStartDayCombo << Named(new QComboBox(weekly), ItemName("WeeklyStartDayCombo", item));
    WeeklyEndDayCombo << Named(new QComboBox(weekly), ItemName("WeeklyEndDayCombo", item));
    WeeklyStartHourMask << TimerField("WeeklyStartHourMask", item, "#0", "Start Time", weekly);
    WeeklyStartMinuteMask << TimerField("WeeklyStartMinuteMask", item, "00", "Start Time minutes",
                                        weekly);
    WeeklyEndHourMask << TimerField("WeeklyEndHourMask", item, "#0", "End Time", weekly);
    WeeklyEndMinuteMask << TimerField("WeeklyEndMinuteMask", item, "00", "End Time minutes",
                                      weekly);
    for (QComboBox* days : {WeeklyStartDayCombo[item], WeeklyEndDayCombo[item]}) {
        days->addItems(WeekDays);
        connect(days, &QComboBox::currentIndexChanged, this, [this, item] { showValidity(item); });
    }
    auto* weeklyGrid = new QGridLayout(weekly);
    weeklyGrid->addWidget(BuddyLabel("Start Day :", WeeklyStartDayCombo[item], weekly), 0, 0);
    weeklyGrid->addWidget(WeeklyStartDayCombo[item], 0, 1);
    weeklyGrid->addWidget(BuddyLabel("Start Time :", WeeklyStartHourMask[item], weekly), 0, 2);
    weeklyGrid->addLayout(TimeRow(WeeklyStartHourMask[item], WeeklyStartMinuteMask[item]), 0, 3);
    weeklyGrid->addWidget(BuddyLabel("End Day :", WeeklyEndDayCombo[item], weekly), 1, 0);
    weeklyGrid->addWidget(WeeklyEndDayCombo[item], 1, 1);
    weeklyGrid->addWidget(BuddyLabel("End Time :", WeeklyEndHourMask[item], weekly), 1, 2);
    weeklyGrid->addLayout(TimeRow(WeeklyEndHourMask[item], WeeklyEndMinuteMask[item]), 1, 3);

    const char* panelName = item == 0 ? "MasterTimerPanel" : "SubTimerPanel";
    int kind = 1;
    for (QWidget* panel : {hourly, daily, weekly})
        panels->addWidget(Named(panel, ItemName(panelName, kind++)));

    for (MaskedEdit* minute :
         {HourlyStartMinuteMask[item], HourlyEndMinuteMask[item], DailyStartMinuteMask[item],
          DailyEndMinuteMask[item], WeeklyStartMinuteMask[item], WeeklyEndMinuteMask[item]})
        addEntry(minute, item, 0, 59);
    for (MaskedEdit* hour : {DailyStartHourMask[item], DailyEndHourMask[item],
                             WeeklyStartHourMask[item], WeeklyEndHourMask[item]})
        addEntry(hour, item, 0, 23);
}

void LoggingForm::buildOneShotPanel() {
    auto* panel = Named(new QWidget(MasterTimerPanels), "MasterTimerPanel4");
    auto* grid = new QGridLayout(panel);
    for (int item = 0; item < 2; ++item) {
        const QString which = item == 0 ? "Start" : "End";
        OneDayMask << TimerField("OneDayMask", item, "#0", which + " Date", panel);
        OneMonthMask << TimerField("OneMonthMask", item, "#0", which + " Date month", panel);
        OneYearMask << TimerField("OneYearMask", item, "0000", which + " Date year", panel);
        OneHourMask << TimerField("OneHourMask", item, "00", which + " Time", panel);
        OneMinuteMask << TimerField("OneMinuteMask", item, "00", which + " Time minutes", panel);
        auto* date = new QHBoxLayout;
        date->addWidget(OneDayMask[item]);
        date->addWidget(new QLabel("/", panel));
        date->addWidget(OneMonthMask[item]);
        date->addWidget(new QLabel("/", panel));
        date->addWidget(OneYearMask[item]);
        date->addStretch();
        const int row = item * 2;
        grid->addWidget(
            BuddyLabel(item == 0 ? "Start Date :" : "End Date :", OneDayMask[item], panel), row, 0);
        grid->addLayout(date, row, 1);
        grid->addWidget(
            BuddyLabel(item == 0 ? "Start Time :" : "End Time :", OneHourMask[item], panel),
            row + 1, 0);
        grid->addLayout(TimeRow(OneHourMask[item], OneMinuteMask[item]), row + 1, 1);
        addEntry(OneDayMask[item], 0, 1, 31); // the month's length, see upperOf
        addEntry(OneMonthMask[item], 0, 1, 12);
        addEntry(OneYearMask[item], 0, BaseYear, LastYear);
        addEntry(OneHourMask[item], 0, 0, 23);
        addEntry(OneMinuteMask[item], 0, 0, 59);
    }
    MasterTimerPanels->addWidget(panel);
}

void LoggingForm::addEntry(MaskedEdit* field, int timer, qint16 lower, qint16 upper) {
    m_entries.append({field, timer, lower, upper});
    const int index = int(m_entries.size()) - 1;
    connect(field, &MaskedEdit::left, this, [this, index] { fieldLeft(m_entries.at(index)); });
}

void LoggingForm::loadTimerDefaults() {
    MasterTimerCombo->setCurrentIndex(0);
    SubTimerCombo->setCurrentIndex(0);
    for (int item = 0; item < 2; ++item) {
        SetNumber(HourlyStartMinuteMask[item], 15);
        SetNumber(HourlyEndMinuteMask[item], 45);
        for (const QList<MaskedEdit*>* hours : {&DailyStartHourMask, &WeeklyStartHourMask})
            SetNumber(hours->at(item), 9);
        for (const QList<MaskedEdit*>* hours : {&DailyEndHourMask, &WeeklyEndHourMask})
            SetNumber(hours->at(item), 17);
        for (const QList<MaskedEdit*>* minutes : {&DailyStartMinuteMask, &DailyEndMinuteMask,
                                                  &WeeklyStartMinuteMask, &WeeklyEndMinuteMask})
            SetNumber(minutes->at(item), 0);
        WeeklyStartDayCombo[item]->setCurrentIndex(1); // Monday
        WeeklyEndDayCombo[item]->setCurrentIndex(5);   // Friday
        SetNumber(OneMonthMask[item], item == 0 ? 1 : 12);
        SetNumber(OneDayMask[item], item == 0 ? 1 : 31);
        SetNumber(OneYearMask[item], 1996);
        OneHourMask[item]->setPattern("00");
        SetNumber(OneHourMask[item], item == 0 ? 0 : 23);
        SetNumber(OneMinuteMask[item], item == 0 ? 0 : 59);
    }
}

qint16 LoggingForm::upperOf(const Entry& entry) const {
    const int item = int(OneDayMask.indexOf(entry.field));
    if (item < 0)
        return entry.upper;
    const qint16 month = value(OneMonthMask[item], item);
    return DaysInMonth(value(OneYearMask[item], item), month);
}

// A field's number as the window would correct it, so a field emptied and
// never left still gives a value in its range.
qint16 LoggingForm::value(const MaskedEdit* field, int item) const {
    for (const Entry& entry : m_entries)
        if (entry.field == field)
            return FieldValue(*field, entry.lower,
                              OneDayMask.value(item) == field ? upperOf(entry) : entry.upper);
    return 0;
}

void LoggingForm::fieldLeft(const Entry& entry) {
    if (m_validating || !isVisible())
        return;
    m_validating = true;
    const int oneShotHour = int(OneHourMask.indexOf(entry.field));
    const bool acceptable = ValidateNumberField(*entry.field, entry.lower, upperOf(entry));
    if (!acceptable && oneShotHour >= 0) {
        entry.field->setPattern("#0");
        SetNumber(entry.field, value(entry.field, oneShotHour));
    }
    if (acceptable) {
        // A month or year changed under the day: the day follows, so no
        // impossible date is ever sent.
        const int dateItem =
            int(std::max(OneMonthMask.indexOf(entry.field), OneYearMask.indexOf(entry.field)));
        if (dateItem >= 0)
            SetNumber(OneDayMask[dateItem],
                      ClampOneShotDay(value(OneDayMask[dateItem], dateItem),
                                      value(OneMonthMask[dateItem], dateItem),
                                      value(OneYearMask[dateItem], dateItem)));
        showValidity(entry.timer);
    }
    m_validating = false;
}

QList<QWidget*> LoggingForm::timerFields(int timer) const {
    QList<QWidget*> fields;
    for (const Entry& entry : m_entries)
        if (entry.timer == timer)
            fields << entry.field;
    fields << WeeklyStartDayCombo[timer] << WeeklyEndDayCombo[timer];
    return fields;
}

void LoggingForm::showValidity(int timer) {
    const QComboBox* kinds = timer == 0 ? MasterTimerCombo : SubTimerCombo;
    const bool valid = TimerIsValid(TimerKind(kinds->currentIndex()), timer);
    for (QWidget* field : timerFields(timer)) {
        QPalette colours = field->palette();
        colours.setColor(QPalette::Text,
                         valid ? palette().color(QPalette::Text) : QColor(255, 0, 0));
        field->setPalette(colours);
    }
}

TimerSpec LoggingForm::BuildTimer(TimerKind kind, int timer) const {
    const int i = timer;
    switch (kind) {
    case TimerKind::Hourly:
        return HourlyTimer(value(HourlyStartMinuteMask[i], i), value(HourlyEndMinuteMask[i], i));
    case TimerKind::Daily:
        return DailyTimer(value(DailyStartHourMask[i], i), value(DailyStartMinuteMask[i], i),
                          value(DailyEndHourMask[i], i), value(DailyEndMinuteMask[i], i));
    case TimerKind::Weekly:
        return WeeklyTimer(WeeklyStartDayCombo[i]->currentIndex(), value(WeeklyStartHourMask[i], i),
                           value(WeeklyStartMinuteMask[i], i), WeeklyEndDayCombo[i]->currentIndex(),
                           value(WeeklyEndHourMask[i], i), value(WeeklyEndMinuteMask[i], i));
    case TimerKind::OneShot: {
        // Always the master's fields: item 0 the start, item 1 the end.
        LoggerDateTime ends[2];
        for (int item = 0; item < 2; ++item) {
            const qint16 year = value(OneYearMask[item], item);
            const qint16 month = value(OneMonthMask[item], item);
            ends[item] = {year,
                          month,
                          ClampOneShotDay(value(OneDayMask[item], item), month, year),
                          value(OneHourMask[item], item),
                          value(OneMinuteMask[item], item),
                          0};
        }
        return OneShotTimer(ends[0], ends[1]);
    }
    case TimerKind::None:
        break;
    }
    return NoTimer();
}

bool LoggingForm::TimerIsValid(TimerKind kind, int timer) const {
    return ::TimerIsValid(BuildTimer(kind, timer));
}

void LoggingForm::masterKindChanged(int kind) {
    const bool sub = kind != int(TimerKind::None);
    SubTimerFrame->setEnabled(sub);
    SubTimerCombo->setEnabled(sub);
    SubTimerLabel->setEnabled(sub);
    if (!sub)
        SubTimerCombo->setCurrentIndex(0);
    MasterTimerPanels->setCurrentIndex(qMax(kind, 0));
    showValidity(0);
}

void LoggingForm::subKindChanged(int kind) {
    SubTimerPanels->setCurrentIndex(qMax(kind, 0));
    showValidity(1);
}
