#pragma once

#include <QByteArrayView>

// Sequential reading of a comma-separated text file held in memory, in the two
// ways the data file reader needs: a whole line, or the next field. A field ends
// at a comma or a line end; a field in double quotes is returned without its
// quotes (commas inside belong to it); blanks around an unquoted field are
// dropped. Line ends are CR LF, CR or LF. Returned views point into the data.
class FieldReader {
public:
    explicit FieldReader(QByteArrayView data) : m_data(data) {}

    bool atEnd() const { return m_pos >= m_data.size(); }
    qsizetype position() const { return m_pos; }
    qsizetype size() const { return m_data.size(); }
    QByteArrayView data() const { return m_data; }
    // True when the last field read was the last one on its line (or of the file).
    bool lastFieldEndedLine() const { return m_fieldEndedLine; }
    // The 1-based line that holds the given byte position (counted on demand,
    // for messages only).
    int lineAt(qsizetype position) const;
    // The 1-based line of the last byte that is not a line end.
    int lastLine() const;

    // The rest of the current line without its line end; the line end is consumed.
    QByteArrayView readLine();
    // The next field; an empty view at the end of the data.
    QByteArrayView readField();

private:
    bool isLineEnd(qsizetype pos) const;
    // Consumes a comma or a line end at the current position.
    void consumeDelimiter();

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    bool m_fieldEndedLine = true;
};
