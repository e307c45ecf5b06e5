#include "frmXAxis.h"

#include "DateSerial.h"
#include "DialogButtons.h"
#include "FieldConversions.h"
#include "LineStyleControls.h"
#include "Messages.h"
#include "ShortDateParser.h"
#include "TimeFormats.h"
#include "ViewWindow.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

frmXAxis::frmXAxis(const QLocale& locale, QWidget* parent) : QDialog(parent), m_locale(locale) {
    setObjectName(QStringLiteral("frmXAxis"));
    setWindowTitle(QStringLiteral("X-Axis Properties"));
    auto* layout = new QGridLayout(this);

    auto* scale = new QGroupBox(QStringLiteral("Time Scale"), this);
    scale->setObjectName(QStringLiteral("fraTimeScale"));
    auto* scaleLayout = new QGridLayout(scale);
    const QString captions[5] = {QStringLiteral("All Data"), QStringLiteral("A Week At A Time"),
                                 QStringLiteral("A Day At A Time"),
                                 QStringLiteral("An Hour At A Time"),
                                 QStringLiteral("Zoom to be between")};
    for (int i = 0; i < 5; ++i) {
        optZoom[i] = new QRadioButton(captions[i], scale);
        optZoom[i]->setObjectName(QStringLiteral("optZoom%1").arg(i));
        scaleLayout->addWidget(optZoom[i], i, 0, 1, 3);
    }
    // Weeks were never offered.
    optZoom[1]->setEnabled(false);
    optZoom[1]->hide();
    const QString names[2] = {QStringLiteral("Start"), QStringLiteral("End")};
    for (int i = 0; i < 2; ++i) {
        txtDate[i] = new QLineEdit(scale);
        txtDate[i]->setObjectName(QStringLiteral("txtDate%1").arg(i));
        txtDate[i]->setAccessibleName(names[i] + QStringLiteral(" date"));
        txtTime[i] = new QLineEdit(scale);
        txtTime[i]->setObjectName(QStringLiteral("txtTime%1").arg(i));
        txtTime[i]->setAccessibleName(names[i] + QStringLiteral(" time"));
        for (QLineEdit* box : {txtDate[i], txtTime[i]})
            connect(box, &QLineEdit::textEdited, this, [this] { optZoom[4]->setChecked(true); });
    }
    scaleLayout->addWidget(txtDate[0], 5, 0);
    scaleLayout->addWidget(txtTime[0], 5, 1);
    scaleLayout->addWidget(new QLabel(QStringLiteral("and"), scale), 6, 0);
    scaleLayout->addWidget(txtDate[1], 7, 0);
    scaleLayout->addWidget(txtTime[1], 7, 1);
    layout->addWidget(scale, 0, 0, 2, 1);

    m_major = new GridGroup(QStringLiteral("Major Gridlines"), QStringLiteral("Major"), this);
    m_minor = new GridGroup(QStringLiteral("Minor Gridlines"), QStringLiteral("Minor"), this);
    layout->addWidget(m_major, 0, 1);
    layout->addWidget(m_minor, 1, 1);

    QDialogButtonBox* buttons = OkCancelButtons(this);
    layout->addWidget(buttons, 2, 0, 1, 2);
}

bool frmXAxis::edit(TimeAxis& axis) {
    m_major->setGridStyle(axis.majorGrid);
    m_minor->setGridStyle(axis.minorGrid);
    // Two-digit years typed in are read near the range shown.
    m_shownYear = DateSerial::toDateTime(axis.start).date().year();
    m_shownStart = axis.start;
    m_shownEnd = axis.end;
    const QDateTime edges[2] = {DateSerial::toDateTime(axis.start),
                                DateSerial::toDateTime(axis.end)};
    // Edges between two minutes (a zoom box gives such) show their seconds.
    const bool seconds = std::any_of(std::begin(edges), std::end(edges), [](const QDateTime& t) {
        return t.time().second() != 0 || t.time().msec() != 0;
    });
    const QString timeFormat =
        seconds ? secondsTimeFormat(m_locale) : m_locale.timeFormat(QLocale::ShortFormat);
    for (int i = 0; i < 2; ++i) {
        txtDate[i]->setText(m_locale.toString(edges[i].date(), QLocale::ShortFormat));
        txtTime[i]->setText(m_locale.toString(edges[i].time(), timeFormat));
        m_filled[2 * i] = txtDate[i]->text();
        m_filled[2 * i + 1] = txtTime[i]->text();
    }
    optZoom[std::clamp(axis.mode, 0, 4)]->setChecked(true);
    if (exec() != QDialog::Accepted)
        return false;

    axis.mode = GetOption();
    axis.majorGrid = m_major->gridStyle();
    axis.minorGrid = m_minor->gridStyle();
    // Outside "Zoom to be between" the boxes are not checked and may hold
    // anything: the range is taken only when both read.
    if (const auto chosen = range()) {
        axis.start = chosen->first;
        axis.end = chosen->second;
    }
    return true;
}

int frmXAxis::GetOption() const {
    for (int i = 0; i < 5; ++i) {
        if (optZoom[i]->isChecked())
            return i;
    }
    return ViewWindow::kAllData;
}

std::optional<double> frmXAxis::timeOfDay(const QString& text) const {
    for (const QString& format :
         {m_locale.timeFormat(QLocale::ShortFormat), secondsTimeFormat(m_locale)}) {
        const QTime time = m_locale.toTime(text.trimmed(), format);
        if (time.isValid())
            return time.msecsSinceStartOfDay() / (DateSerial::kSecondsPerDay * 1000.0);
    }
    return parseTimeOfDay(text.toUtf8(), m_locale);
}

std::optional<double> frmXAxis::entered(int index) const {
    const std::optional<double> date =
        ShortDateParser(m_locale, m_shownYear).parse(txtDate[index]->text().toUtf8());
    const std::optional<double> time = timeOfDay(txtTime[index]->text());
    if (!date || !time)
        return std::nullopt;
    return *date + *time;
}

bool frmXAxis::boxesUnchanged() const {
    const QLineEdit* boxes[4] = {txtDate[0], txtTime[0], txtDate[1], txtTime[1]};
    for (int i = 0; i < 4; ++i) {
        if (boxes[i]->text() != m_filled[i])
            return false;
    }
    return true;
}

std::optional<std::pair<double, double>> frmXAxis::range() const {
    if (boxesUnchanged())
        return std::pair(m_shownStart, m_shownEnd);
    const std::optional<double> start = entered(0);
    const std::optional<double> end = entered(1);
    if (!start || !end)
        return std::nullopt;
    return std::pair(std::min(*start, *end), std::max(*start, *end));
}

void frmXAxis::refuse(QLineEdit* box, const QString& message) {
    Messages::show(this, Messages::kTitle, message, QMessageBox::Warning);
    box->selectAll();
    box->setFocus();
}

void frmXAxis::accept() {
    if (GetOption() == ViewWindow::kBetween) {
        ShortDateParser dates(m_locale, m_shownYear);
        const struct {
            QLineEdit* box;
            bool isDate;
            QString message;
        } checks[] = {
            {txtTime[0], false, QStringLiteral("Start time is invalid.")},
            {txtDate[0], true, QStringLiteral("Start date is invalid.")},
            {txtTime[1], false, QStringLiteral("End time is invalid.")},
            {txtDate[1], true, QStringLiteral("End date is invalid.")},
        };
        for (const auto& check : checks) {
            const QString text = check.box->text();
            const bool reads =
                check.isDate ? dates.parse(text.toUtf8()).has_value() : timeOfDay(text).has_value();
            if (!reads) {
                refuse(check.box, check.message);
                return;
            }
        }
        // A range without extent has nothing to show.
        const auto chosen = range();
        if (!chosen || chosen->first == chosen->second) {
            refuse(txtTime[1], QStringLiteral("End is not valid."));
            return;
        }
    }
    QDialog::accept();
}
