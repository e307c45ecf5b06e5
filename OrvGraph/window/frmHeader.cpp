#include "frmHeader.h"

#include "Twips.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {
// Layout in twips: margins round the entries, room between name and value.
constexpr int kTextInset = 120;
constexpr int kValueInset = 100;
constexpr int kExtraWidth = 800;
constexpr int kExtraHeight = 240;
} // namespace

HeaderSheet::HeaderSheet(QWidget* parent) : QWidget(parent) {}

int HeaderSheet::lineHeight() const {
    return fontMetrics().boundingRect(QStringLiteral("XX")).height();
}

int HeaderSheet::valueWidth(qsizetype index) const {
    return fontMetrics().horizontalAdvance(m_entries[index].value.trimmed());
}

void HeaderSheet::setEntries(const QList<HeaderEntry>& entries) {
    m_entries = entries;
    int widest = 0;
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        widest = qMax(widest, valueWidth(i) + fontMetrics().horizontalAdvance(m_entries[i].name));
    resize(Twips::toPixels(kExtraWidth) + widest,
           int(m_entries.size()) * lineHeight() + Twips::toPixels(kExtraHeight));
    update();
}

QPoint HeaderSheet::namePosition(qsizetype index) const {
    return {Twips::toPixels(kTextInset), int(index) * lineHeight() + Twips::toPixels(kTextInset)};
}

QPoint HeaderSheet::valuePosition(qsizetype index) const {
    return {width() - valueWidth(index) - Twips::toPixels(kValueInset),
            int(index) * lineHeight() + Twips::toPixels(kTextInset)};
}

void HeaderSheet::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int ascent = fontMetrics().ascent();
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        painter.drawText(namePosition(i) + QPoint(0, ascent), m_entries[i].name);
        painter.drawText(valuePosition(i) + QPoint(0, ascent), m_entries[i].value.trimmed());
    }
}

frmHeader::frmHeader(QWidget* parent) : QScrollArea(parent) {
    setWindowFlags(Qt::Window);
    setObjectName(QStringLiteral("frmHeader"));
    setWindowTitle(QStringLiteral("Header For This Data File."));
    setFrameShape(QFrame::NoFrame);
    m_sheet = new HeaderSheet;
    setWidget(m_sheet);
}

void frmHeader::showEntries(const QList<HeaderEntry>& entries) {
    m_sheet->setEntries(entries);
    // The window fits the sheet, but no more than the screen it opens on.
    QSize size = m_sheet->size();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
    show();
    raise();
}
