#pragma once

#include <QList>
#include <QRgb>
#include <QString>

#include <vector>

// The content of one data file as the viewer holds it: the header entries, one
// time stamp per data row and one column of levels per data set. Counts are the
// sizes of the containers; they are not limited to 16 bits, so long surveys are
// read whole.

struct HeaderEntry {
    QString name;
    QString value;
};

struct DataSet {
    bool shown = true;
    QString name;
    std::vector<float> values; // dB, one per time point
    int style = 0;             // line style 0 solid .. 4 dash-dot-dot
    int weight = 1;            // line width 1 .. 5
    QRgb colour = qRgb(0, 0, 0);
};

struct GraphData {
    QList<HeaderEntry> headers;
    std::vector<double> times; // day serials (see DateSerial.h), in file order
    QList<DataSet> sets;

    qsizetype setCount() const { return sets.size(); }
    qsizetype pointCount() const { return qsizetype(times.size()); }
    qsizetype headerCount() const { return headers.size(); }
    bool hasData() const { return setCount() > 0 && pointCount() > 0; }
};

// Entry i of the standard 16-colour palette that data sets take in turn.
QRgb paletteColour(qsizetype index);

// What opening a file gives every data set: shown, palette colour by position,
// solid, one unit wide.
void applyDefaultStyles(GraphData& data);
