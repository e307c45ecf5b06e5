#pragma once

#include "GraphData.h"

#include <QScrollArea>

// The sheet inside the header window: one line per header entry, the name
// flush left and the value flush right.
class HeaderSheet : public QWidget {
    Q_OBJECT
public:
    explicit HeaderSheet(QWidget* parent = nullptr);
    void setEntries(const QList<HeaderEntry>& entries);
    const QList<HeaderEntry>& entries() const { return m_entries; }
    // Where entry i's name and value are drawn (their text's top-left corners).
    QPoint namePosition(qsizetype index) const;
    QPoint valuePosition(qsizetype index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int lineHeight() const;
    int valueWidth(qsizetype index) const;

    QList<HeaderEntry> m_entries;
};

// "Header For This Data File.": the header entries of the open file, sized to
// fit them (scrolling when that is larger than the screen).
class frmHeader : public QScrollArea {
    Q_OBJECT
public:
    explicit frmHeader(QWidget* parent = nullptr);
    // Redraws the window from these entries and shows it modeless.
    void showEntries(const QList<HeaderEntry>& entries);
    HeaderSheet* sheet() const { return m_sheet; }

private:
    HeaderSheet* m_sheet;
};
