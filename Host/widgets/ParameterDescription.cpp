#include "ParameterDescription.h"

#include "HeaderBlock.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>

#include <array>

namespace {

struct Line {
    const char* name; // lbl<name>Heading and lbl<name>Data
    const char* caption;
};

constexpr std::array<Line, 16> Lines = {{
    {"Title", "Measurement Title :"},
    {"Frequency", "Frequency Weighting :"},
    {"Time", "Time Averaging :"},
    {"Interval", "Statistical Interval :"},
    {"Auxiliary", "Auxiliary Power :"},
    {"Tape", "Tape Recorder Power :"},
    {"TapeType", "Tape Recorder Type :"},
    {"Leq", "Short Term Leq Recording :"},
    {"LeqLength", "Short Term Leq Length :"},
    {"Indices", "Percentile Indices :"},
    {"StartTrigger", "Start Trigger :"},
    {"StopTrigger", "Stop Trigger :"},
    {"MasterTimer", "Master Timer :"},
    {"SubTimer", "Sub Timer :"},
    {"LoggingStarted", "Logging Started :"},
    {"LoggingStopped", "Logging Stopped :"},
}};

QString HeadingName(const char* line) {
    return QStringLiteral("lbl%1Heading").arg(QLatin1String(line));
}
QString DataName(const char* line) {
    return QStringLiteral("lbl%1Data").arg(QLatin1String(line));
}

class Describer {
public:
    explicit Describer(QWidget* window) : m_window(window) {}

    // Sets the data text, and greys out heading and data when the part is not used.
    void set(const char* line, const QString& text, bool used = true) const {
        if (QLabel* data = m_window->findChild<QLabel*>(DataName(line))) {
            data->setText(text);
            data->setEnabled(used);
        }
        if (QLabel* heading = m_window->findChild<QLabel*>(HeadingName(line)))
            heading->setEnabled(used);
    }

private:
    QWidget* m_window;
};

QString TapeTypeText(const BufferRecord& record) {
    QString voltage;
    switch (record.tapePower) {
    case 1:
        voltage = QStringLiteral("4.5V ");
        break;
    case 2:
        voltage = QStringLiteral("6V ");
        break;
    case 3:
        voltage = QStringLiteral("9V ");
        break;
    default:
        voltage = QStringLiteral("3V ");
    }
    return voltage +
           (record.tapeType == 1 ? QStringLiteral("DAT Recorder") : QStringLiteral("Analogue"));
}

QString IndicesText(const BufferRecord& record) {
    QString text = QStringLiteral("Leq, Lmax, ");
    for (int i = 0; i < PercentileCount; ++i) {
        const int index =
            i < record.percentileIndices.size() ? quint8(record.percentileIndices.at(i)) : 0;
        text += QStringLiteral("L") + QString::number(index) + QStringLiteral(", ");
    }
    return text + QStringLiteral("Lmin, Battery and Temp.");
}

QString TriggerText(const QString& text) {
    return text == QStringLiteral("N/A") ? QStringLiteral("Not used.") : text;
}

void DescribeTimer(const Describer& describe, const char* line, const TimerRecord& timer) {
    const std::optional<QString> text =
        timer.type == 0 ? std::nullopt : TimerText(timer, QLocale::system());
    describe.set(line, text.value_or(QStringLiteral("Not used.")), text.has_value());
}

// A stamp that is not a real date (an erased record, a failed read) counts as
// not set: it never reaches the calendar.
void DescribeStamp(const Describer& describe, const char* line, const LoggerDateTime& stamp,
                   const QString& notSetText) {
    const bool set = IsValidDateTime(stamp);
    describe.set(line, set ? LongDateTimeText(stamp) : notSetText, set);
}

} // namespace

QFrame* BuildSummaryPanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("pnlSummary"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panel);
    int row = 0;
    for (const Line& line : Lines) {
        auto* heading = new QLabel(QString::fromLatin1(line.caption), panel);
        heading->setObjectName(HeadingName(line.name));
        heading->setAlignment(Qt::AlignRight | Qt::AlignTop);
        auto* data = new QLabel(panel);
        data->setObjectName(DataName(line.name));
        data->setWordWrap(true);
        data->setMinimumWidth(320); // long trigger and timer texts wrap less
        data->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(heading, row, 0);
        grid->addWidget(data, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return panel;
}

void DescribeParameters(const BufferRecord& record, QWidget* window) {
    const Describer describe(window);
    describe.set("Title", TitleText(record.title));
    describe.set("Frequency", record.aWeighting ? QStringLiteral("A") : QStringLiteral("C"));
    describe.set("Time", record.slow ? QStringLiteral("Slow") : QStringLiteral("Fast"));
    describe.set("Interval", IntervalText(record.interval));
    describe.set("Auxiliary", OutputModeText(record.auxiliaryMode).value_or(QString()),
                 record.auxiliaryMode != 0);
    describe.set("Tape",
                 record.tapeEnabled ? QStringLiteral("Enabled on trigger")
                                    : QStringLiteral("Disabled"),
                 record.tapeEnabled);
    describe.set("TapeType", record.tapeEnabled ? TapeTypeText(record) : QStringLiteral("Not used"),
                 record.tapeEnabled);
    const bool leq = record.leqMode == 1 || record.leqMode == 2;
    describe.set("Leq", OutputModeText(leq ? record.leqMode : 0).value_or(QString()), leq);
    describe.set("LeqLength", leq ? LeqLengthText(record.leqLength) : QStringLiteral("n/a"), leq);
    describe.set("Indices", IndicesText(record));
    const bool triggered = AnythingOnTrigger(record);
    describe.set("StartTrigger",
                 triggered ? TriggerText(StartTriggerText(record)) : QStringLiteral("Not used"),
                 triggered);
    describe.set("StopTrigger",
                 triggered ? TriggerText(StopTriggerText(record)) : QStringLiteral("Not used"),
                 triggered);
    DescribeTimer(describe, "MasterTimer", record.master);
    DescribeTimer(describe, "SubTimer", record.sub);
    DescribeStamp(describe, "LoggingStarted", record.start,
                  QStringLiteral("Logging not yet commenced."));
    DescribeStamp(describe, "LoggingStopped", record.stop,
                  QStringLiteral("Logging not yet completed."));
}
