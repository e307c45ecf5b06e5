#include "frmData.h"

#include "DateSerial.h"
#include "Messages.h"
#include "TimeFormats.h"
#include "Twips.h"
#include "ViewerSettings.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

#include <charconv>

DataTableLayout DataTableLayout::of(qsizetype points, qsizetype sets) {
    DataTableLayout layout;
    layout.sets = sets;
    layout.groups = points / kRowsPerGroup + 1;
    layout.rows = layout.groups == 1 ? points + 1 : kRowsPerGroup + 1;
    layout.columns = (sets + 2) * layout.groups - 1;
    return layout;
}

qsizetype DataTableLayout::dateColumnOf(qsizetype point) const {
    return (sets + 2) * (point / kRowsPerGroup);
}

void DataTableModel::setSource(const GraphData* data, const DataTableLayout& layout,
                               const QLocale& locale) {
    beginResetModel();
    m_data = data;
    m_layout = data ? layout : DataTableLayout();
    m_locale = locale;
    // The general date format: the short date and the time to the second.
    m_timeFormat = secondsTimeFormat(locale);
    endResetModel();
}

int DataTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(qMax<qsizetype>(0, m_layout.rows - 1));
}

int DataTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_layout.columns);
}

DataTableModel::Cell DataTableModel::cellAt(int row, int column) const {
    const qsizetype width = m_layout.sets + 2;
    const qsizetype offset = column % width;
    Cell cell;
    cell.point = qsizetype(column / width) * DataTableLayout::kRowsPerGroup + row;
    cell.set = offset - 1;
    cell.kind = offset == 0 ? Kind::Date : offset <= m_layout.sets ? Kind::Value : Kind::Gap;
    return cell;
}

QVariant DataTableModel::data(const QModelIndex& index, int role) const {
    if (!m_data || !index.isValid())
        return {};
    const Cell cell = cellAt(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && cell.kind == Kind::Value)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    // The last group's rows past the end of the data stay empty.
    if (role != Qt::DisplayRole || cell.kind == Kind::Gap || cell.point >= m_data->pointCount())
        return {};
    if (cell.kind == Kind::Date)
        return dateText(m_data->times[size_t(cell.point)]);
    if (cell.set >= m_data->setCount())
        return {};
    const std::vector<float>& values = m_data->sets[cell.set].values;
    if (cell.point >= qsizetype(values.size()))
        return {};
    return valueText(values[size_t(cell.point)]);
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || !m_data)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    const Cell cell = cellAt(0, section);
    if (cell.kind == Kind::Date)
        return QStringLiteral("Date");
    if (cell.kind == Kind::Value && cell.set < m_data->setCount())
        return m_data->sets[cell.set].name;
    return QString();
}

QString DataTableModel::dateText(double serial) const {
    const QDateTime stamp = DateSerial::toDateTime(serial);
    const QString date = m_locale.toString(stamp.date(), QLocale::ShortFormat);
    // As the general format writes it: midnight is the date alone.
    if (stamp.time() == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ') + m_locale.toString(stamp.time(), m_timeFormat);
}

QString DataTableModel::valueText(float value) const {
    // The shortest text that reads back as the same single-precision level.
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return QString::fromLatin1(text, end - text).replace(QLatin1Char('.'), m_locale.decimalPoint());
}

frmData::frmData(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmData"));
    setWindowTitle(QStringLiteral("Orv Graphing Utility - View Data"));
    grdData = new QTableView(this);
    grdData->setObjectName(QStringLiteral("grdData"));
    grdData->setAccessibleName(QStringLiteral("Data"));
    m_model = new DataTableModel(this);
    grdData->setModel(m_model);
    grdData->verticalHeader()->hide();
    // Every row alike: the view never measures a row's contents.
    grdData->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdData->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grdData);
    resize(Twips::toPixels(QSize(ViewerSettings::kDefaultWidth, ViewerSettings::kDefaultHeight)));
}

void frmData::ShowData(const GraphData& data, const QLocale& locale) {
    if (!m_built) {
        emit ModalStart();
        m_built = build(data, locale);
        emit ModalStop();
        if (!m_built)
            return;
    }
    show();
    raise();
    activateWindow();
}

bool frmData::build(const GraphData& data, const QLocale& locale) {
    const DataTableLayout layout = DataTableLayout::of(data.pointCount(), data.setCount());
    if (!layout.fits()) {
        Messages::show(parentWidget(), Messages::kTitle, Messages::kTooMuchData,
                       QMessageBox::NoIcon);
        return false;
    }
    m_model->setSource(&data, layout, locale);
    const int dateWidth = Twips::toPixels(DataTableLayout::kDateWidth);
    const int valueWidth = Twips::toPixels(DataTableLayout::kValueWidth);
    for (qsizetype column = 0; column < layout.columns; ++column) {
        const qsizetype offset = column % (layout.sets + 2);
        if (offset == 0)
            grdData->setColumnWidth(int(column), dateWidth);
        else if (offset <= layout.sets)
            grdData->setColumnWidth(int(column), valueWidth);
    }
    return true;
}

void frmData::discard() {
    m_model->setSource(nullptr, {}, QLocale());
    m_built = false;
    hide();
}
