#include "BaseName.h"

#include <QStringList>

namespace {

QString StartText(const LoggerDateTime& start) {
    if (!IsLoggerDateTime(start))
        return QStringLiteral("unstarted");
    return QString::asprintf("%04d%02d%02d-%02d%02d%02d", start.year, start.month, start.day,
                             start.hour, start.minute, start.second);
}

// Safe as one path component whatever the logger holds: no separator, and
// no leading "." that would make "." or ".." or a hidden file.
QString TitleField(const QString& title) {
    QString safe = title.trimmed();
    for (QChar& c : safe)
        if (!c.isLetterOrNumber() && c != u'.' && c != u'-' && c != u'_')
            c = u'_';
    for (qsizetype i = 0; i < safe.size() && safe.at(i) == u'.'; ++i)
        safe[i] = u'_';
    return safe.isEmpty() ? QStringLiteral("untitled") : safe;
}

} // namespace

ExpandedBase ExpandBase(const QString& pattern, const BaseFields& fields) {
    const QString buffer =
        fields.buffer > 0 ? QString::number(fields.buffer) : QStringLiteral("memory");
    ExpandedBase expanded;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if ((c == u'{' || c == u'}') && pattern.mid(i, 2) == QString(2, c)) {
            expanded.base += c;
            ++i;
            continue;
        }
        if (c == u'}')
            return {{},
                    QStringLiteral("a \"}\" without its \"{\" in --base (write \"}}\" for one)")};
        if (c != u'{') {
            expanded.base += c;
            continue;
        }
        const qsizetype close = pattern.indexOf(u'}', i);
        const QString name = close < 0 ? QString() : pattern.mid(i + 1, close - i - 1);
        if (name == QStringLiteral("serial"))
            expanded.base += fields.serial;
        else if (name == QStringLiteral("buffer"))
            expanded.base += buffer;
        else if (name == QStringLiteral("start"))
            expanded.base += StartText(fields.start);
        else if (name == QStringLiteral("title"))
            expanded.base += TitleField(fields.title);
        else
            return {{},
                    QStringLiteral("no field %1 in --base: {serial}, {buffer}, {start} and {title} "
                                   "are filled in (write \"{{\" for a brace)")
                        .arg(close < 0 ? pattern.mid(i) : pattern.mid(i, close - i + 1))};
        i = close;
    }
    return expanded;
}

bool BaseNamesEachBuffer(const QString& pattern) {
    // Escaped braces are no fields.
    QString fields = pattern;
    fields.replace(QStringLiteral("{{"), QString()).replace(QStringLiteral("}}"), QString());
    return fields.contains(QStringLiteral("{buffer}")) ||
           fields.contains(QStringLiteral("{start}"));
}
