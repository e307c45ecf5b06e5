#include "frmIndicators.h"

#include "DateSerial.h"
#include "TimeFormats.h"
#include "WaitCursor.h"

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

using Pairs = QList<std::pair<QString, QString>>;

QString checkText(const CalibrationCheck& calibration, double limit) {
    const QString drift = QStringLiteral("%1 dB").arg(limit);
    if (!calibration.flagged)
        return QStringLiteral("within ") + drift;
    if (!calibration.drift)
        return QStringLiteral("FLAGGED: a reference was not taken");
    return QStringLiteral("FLAGGED: drift over ") + drift;
}

// A read-only table of the figures; screen readers name it by its frame's caption.
QTableWidget* newGrid(const QString& name, const QString& spokenName, const QStringList& headings,
                      QWidget* parent) {
    auto* grid = new QTableWidget(0, int(headings.size()), parent);
    grid->setObjectName(name);
    grid->setAccessibleName(spokenName);
    grid->setHorizontalHeaderLabels(headings);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    // Arrows move between cells; Tab goes on to the next control.
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return grid;
}

void fillRows(QTableWidget* grid, const QList<QStringList>& rows) {
    grid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(rows[r][c]));
}

void fillPairs(QTableWidget* grid, const Pairs& pairs) {
    QList<QStringList> rows;
    for (const auto& [name, value] : pairs)
        rows << QStringList{name, value};
    fillRows(grid, rows);
}

// The grid inside a frame whose caption's key takes the focus to it.
QGroupBox* framed(const QString& name, const QString& caption, QTableWidget* grid,
                  QWidget* parent) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(grid);
    return frame;
}

} // namespace

frmIndicators::frmIndicators(const QLocale& locale, QWidget* parent)
    : QWidget(parent, Qt::Window), m_locale(locale) {
    setObjectName(QStringLiteral("frmIndicators"));
    setWindowTitle(QStringLiteral("Noise Indicators"));
    lblRange = new QLabel(this);
    lblRange->setObjectName(QStringLiteral("lblRange"));
    lblRange->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    const QStringList figureHeadings{QStringLiteral("Figure"), QStringLiteral("Value")};
    grdLevels =
        newGrid(QStringLiteral("grdLevels"), QStringLiteral("Levels"), figureHeadings, this);
    grdDays = newGrid(QStringLiteral("grdDays"), QStringLiteral("Days"),
                      {QStringLiteral("Date"), QStringLiteral("Lday"), QStringLiteral("Levening"),
                       QStringLiteral("Lnight"), QStringLiteral("Lden")},
                      this);
    grdCalibration = newGrid(QStringLiteral("grdCalibration"), QStringLiteral("Calibration"),
                             figureHeadings, this);
    grdOrigin =
        newGrid(QStringLiteral("grdOrigin"), QStringLiteral("Origin"), figureHeadings, this);
    auto* cmdCopy = new QPushButton(QStringLiteral("&Copy"), this);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    auto* cmdClose = new QPushButton(QStringLiteral("Clo&se"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdCopy, &QPushButton::clicked, this, &frmIndicators::copyReport);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    // The levels down the left; the days, and the two checks under them, on the right.
    auto* checks = new QHBoxLayout;
    checks->addWidget(framed(QStringLiteral("fraCalibration"), QStringLiteral("C&alibration"),
                             grdCalibration, this));
    checks->addWidget(
        framed(QStringLiteral("fraOrigin"), QStringLiteral("O&rigin"), grdOrigin, this));
    auto* right = new QVBoxLayout;
    right->addWidget(framed(QStringLiteral("fraDays"), QStringLiteral("&Days"), grdDays, this), 1);
    right->addLayout(checks);
    auto* figures = new QHBoxLayout;
    figures->addWidget(
        framed(QStringLiteral("fraLevels"), QStringLiteral("&Levels"), grdLevels, this));
    figures->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblRange);
    layout->addLayout(figures, 1);
    layout->addLayout(buttons);
    // Tab goes through the figures as they read, left to right and down.
    const QList<QWidget*> order{lblRange,  grdLevels, grdDays, grdCalibration,
                                grdOrigin, cmdCopy,   cmdClose};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    resize(980, 600);
}

void frmIndicators::setRange(const QString& path, const GraphData& data, SerialRange range) {
    {
        WaitCursor hourglass;
        if (!m_origin)
            m_origin = checkOrigin(path);
        m_report = makeReport(path, data, range, IndicatorOptions(), *m_origin);
    }
    fill();
}

void frmIndicators::forgetFile() {
    m_origin.reset();
}

void frmIndicators::copyReport() const {
    QGuiApplication::clipboard()->setText(reportText(m_report));
}

void frmIndicators::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmIndicators::fill() {
    const NoiseIndicators& figures = m_report.indicators;
    const auto when = [this](double serial) {
        const QDateTime stamp = DateSerial::toDateTime(serial);
        return m_locale.toString(stamp.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
               m_locale.toString(stamp.time(), secondsTimeFormat(m_locale));
    };
    lblRange->setText(QStringLiteral("%1: from %2 to %3")
                          .arg(m_report.file, when(m_report.range.from), when(m_report.range.to)));

    Pairs levels{{QStringLiteral("Leq"), levelText(figures.leq)},
                 {QStringLiteral("Lmax"), levelText(figures.lmax)},
                 {QStringLiteral("Lmin"), levelText(figures.lmin)}};
    for (const PercentileMean& percentile : figures.percentiles)
        levels.append({percentile.name + QStringLiteral(" (mean of interval values)"),
                       levelText(percentile.mean)});
    levels.append({{QStringLiteral("Records"), QString::number(figures.records)},
                   {QStringLiteral("Missing"), QString::number(figures.missing)},
                   {QStringLiteral("Overloads"), QString::number(figures.overloads)},
                   {QStringLiteral("Coverage"), coverageText(figures.coverage)}});
    fillPairs(grdLevels, levels);
    // The names and values in full, never cut off.
    grdLevels->setMinimumWidth(grdLevels->horizontalHeader()->length() +
                               2 * grdLevels->frameWidth() +
                               grdLevels->verticalScrollBar()->sizeHint().width());

    const IndicatorOptions& options = m_report.options;
    grdDays->setHorizontalHeaderLabels(
        {QStringLiteral("Date"), QStringLiteral("Lday ") + hoursText(options.day),
         QStringLiteral("Levening ") + hoursText(options.evening),
         QStringLiteral("Lnight ") + hoursText(options.night), QStringLiteral("Lden")});
    QList<QStringList> days;
    for (const DayIndicators& day : figures.days)
        days << QStringList{m_locale.toString(day.date, QLocale::ShortFormat), levelText(day.day),
                            levelText(day.evening), levelText(day.night), levelText(day.den)};
    fillRows(grdDays, days);

    const CalibrationCheck& calibration = figures.calibration;
    fillPairs(grdCalibration,
              {{QStringLiteral("Pre-measurement reference"), referenceText(calibration.pre)},
               {QStringLiteral("Post-measurement reference"), referenceText(calibration.post)},
               {QStringLiteral("Drift"), levelText(calibration.drift)},
               {QStringLiteral("Check"), checkText(calibration, m_report.options.driftLimit)}});

    const OriginCheck& origin = m_report.origin;
    Pairs originRows{{QStringLiteral("File"), originText(origin.state)}};
    if (origin.state != OriginCheck::State::None)
        originRows.append({{QStringLiteral("Logger"), origin.serial},
                           {QStringLiteral("Buffer"), origin.buffer},
                           {QStringLiteral("Downloaded"), origin.downloaded}});
    fillPairs(grdOrigin, originRows);
}
