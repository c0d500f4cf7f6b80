#include "LangCheck.h"

#include <QFile>
#include <QSettings>

namespace langcheck {

QString checkValue(qint64 sum)
{
    const qint64 parts[] = {sum + 74, sum - 69, sum * 70, sum / 70};
    QString value;
    for (qint64 part : parts)
        value += QString::number(part & 0xFF);
    return value;
}

FileReport inspect(const QString& path)
{
    FileReport report;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return report;
    file.close();
    report.readable = true;

    QSettings ini(path, QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    report.stored = ini.value("font/cs").toString();
    const int total = ini.value("font/total", 0).toInt();
    if (total < 0 || total > maxStrings) {
        report.problems << QString("font/total is %1, outside 0..%2").arg(total).arg(maxStrings);
        report.computed = checkValue(0);
        return report;
    }
    report.total = total;
    for (int i = 1; i <= total; ++i) {
        const QString key = QString("strings/%1").arg(i);
        const QVariant v = ini.value(key);
        if (!v.isValid())
            report.problems << key + " is missing";
        else if (v.type() == QVariant::StringList)
            report.problems << key + " reads as a list (quote texts that contain commas)";
        report.sum += v.toString().length();
    }
    report.computed = checkValue(report.sum);
    return report;
}

namespace {

struct Line {
    QByteArray text;  // without the line ending
    QByteArray end;   // "\n", "\r\n", "\r" or empty for the last line
};

QList<Line> splitLines(const QByteArray& data)
{
    QList<Line> lines;
    int start = 0;
    while (start < data.size()) {
        int i = start;
        while (i < data.size() && data[i] != '\n' && data[i] != '\r')
            ++i;
        Line line{data.mid(start, i - start), {}};
        if (i < data.size()) {
            const int endLength = (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ? 2 : 1;
            line.end = data.mid(i, endLength);
            i += endLength;
        }
        lines << line;
        start = i;
    }
    return lines;
}

// The group name of a "[name]" line, or a null array for other lines.
QByteArray groupOf(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    if (t.size() >= 2 && t.startsWith('[') && t.endsWith(']'))
        return t.mid(1, t.size() - 2).trimmed();
    return QByteArray();
}

bool isKey(const QByteArray& line, const QByteArray& key)
{
    const int eq = line.indexOf('=');
    return eq > 0 && line.left(eq).trimmed() == key;
}

// Replaces the value of a "key=value" line, keeping the spacing around it
// and a trailing "; comment" outside quotes.
QByteArray replaceValue(const QByteArray& line, const QByteArray& value)
{
    const int eq = line.indexOf('=');
    int begin = eq + 1;
    while (begin < line.size() && (line[begin] == ' ' || line[begin] == '\t'))
        ++begin;
    bool quoted = false;
    int end = begin;
    for (; end < line.size(); ++end) {
        if (line[end] == '"')
            quoted = !quoted;
        else if (line[end] == '\\')
            ++end;
        else if (line[end] == ';' && !quoted)
            break;
    }
    end = qMin(end, int(line.size()));
    int valueEnd = end;
    while (valueEnd > begin && (line[valueEnd - 1] == ' ' || line[valueEnd - 1] == '\t'))
        --valueEnd;
    return line.left(begin) + value + line.mid(valueEnd);
}

} // namespace

QByteArray withCheckValue(const QByteArray& ini, const QString& value)
{
    const QByteArray v = value.toUtf8();
    QList<Line> lines = splitLines(ini);
    const QByteArray eol = lines.isEmpty() || lines.first().end.isEmpty() ? QByteArray("\n") : lines.first().end;

    int fontHeader = -1;
    bool inFont = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray group = groupOf(lines[i].text);
        if (!group.isNull()) {
            inFont = group == "font";
            if (inFont && fontHeader < 0)
                fontHeader = i;
            continue;
        }
        if (inFont && isKey(lines[i].text, "cs")) {
            lines[i].text = replaceValue(lines[i].text, v);
            fontHeader = -2;
            break;
        }
    }
    if (fontHeader >= 0) {
        if (lines[fontHeader].end.isEmpty())
            lines[fontHeader].end = eol;
        lines.insert(fontHeader + 1, Line{"cs=" + v, eol});
    } else if (fontHeader == -1) {
        if (!lines.isEmpty() && lines.last().end.isEmpty())
            lines.last().end = eol;
        lines << Line{"[font]", eol} << Line{"cs=" + v, eol};
    }

    QByteArray out;
    for (const Line& line : lines)
        out += line.text + line.end;
    return out;
}

} // namespace langcheck
