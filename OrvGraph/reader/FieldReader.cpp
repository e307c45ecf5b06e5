#include "FieldReader.h"

int FieldReader::lineAt(qsizetype position) const {
    int line = 1;
    const qsizetype end = qMin(position, m_data.size());
    for (qsizetype i = 0; i < end; ++i) {
        const char c = m_data[i];
        if (c == '\n' || (c == '\r' && (i + 1 >= m_data.size() || m_data[i + 1] != '\n')))
            ++line;
    }
    return line;
}

int FieldReader::lastLine() const {
    qsizetype last = m_data.size() - 1;
    while (last > 0 && isLineEnd(last))
        --last;
    return lineAt(qMax<qsizetype>(0, last));
}

bool FieldReader::isLineEnd(qsizetype pos) const {
    return m_data[pos] == '\r' || m_data[pos] == '\n';
}

QByteArrayView FieldReader::readLine() {
    const qsizetype start = m_pos;
    while (m_pos < m_data.size() && !isLineEnd(m_pos))
        ++m_pos;
    const QByteArrayView line = m_data.sliced(start, m_pos - start);
    consumeDelimiter();
    m_fieldEndedLine = true;
    return line;
}

QByteArrayView FieldReader::readField() {
    while (m_pos < m_data.size() && (m_data[m_pos] == ' ' || m_data[m_pos] == '\t'))
        ++m_pos;
    if (atEnd()) {
        m_fieldEndedLine = true;
        return {};
    }
    QByteArrayView field;
    if (m_data[m_pos] == '"') {
        // A missing closing quote ends the field at the line end, so one stray
        // quote cannot swallow the rest of the file.
        const qsizetype start = ++m_pos;
        while (m_pos < m_data.size() && m_data[m_pos] != '"' && !isLineEnd(m_pos))
            ++m_pos;
        field = m_data.sliced(start, m_pos - start);
        if (m_pos < m_data.size() && m_data[m_pos] == '"')
            ++m_pos;
        // Anything between the closing quote and the delimiter is ignored.
        while (m_pos < m_data.size() && m_data[m_pos] != ',' && !isLineEnd(m_pos))
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < m_data.size() && m_data[m_pos] != ',' && !isLineEnd(m_pos))
            ++m_pos;
        qsizetype end = m_pos;
        while (end > start && (m_data[end - 1] == ' ' || m_data[end - 1] == '\t'))
            --end;
        field = m_data.sliced(start, end - start);
    }
    m_fieldEndedLine = m_pos >= m_data.size() || isLineEnd(m_pos);
    consumeDelimiter();
    return field;
}

void FieldReader::consumeDelimiter() {
    if (m_pos >= m_data.size())
        return;
    if (m_data[m_pos] == ',') {
        ++m_pos;
    } else if (m_data[m_pos] == '\r') {
        ++m_pos;
        if (m_pos < m_data.size() && m_data[m_pos] == '\n')
            ++m_pos;
    } else if (m_data[m_pos] == '\n') {
        ++m_pos;
    }
}
