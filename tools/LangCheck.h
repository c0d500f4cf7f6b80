// Check value ("font/cs") of a q3config language file.
//
// The program sums the lengths (UTF-16 code units) of strings 1..N of the
// file's [strings] group, N = font/total, and stores the low bytes of
// sum + 74, sum - 69, sum * 70 and sum / 70 as four decimal numbers written
// one after the other. A file whose stored value differs is refused by the
// program, which then stops talking to the keyboard.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace langcheck {

// Largest font/total the tool accepts; larger counts are treated as damage.
constexpr int maxStrings = 10000;

// The check value of a sum of string lengths.
QString checkValue(qint64 sum);

struct FileReport {
    bool readable = false;      // the file exists and can be opened
    int total = 0;              // font/total as the program reads it
    qint64 sum = 0;             // sum of the lengths of strings 1..total
    QString stored;             // font/cs as stored
    QString computed;           // check value of sum
    QStringList problems;       // strings the program would show wrongly

    bool matches() const { return readable && stored == computed; }
};

// Reads a language file the way the program does (INI through QSettings,
// UTF-8 codec) and computes its check value.
FileReport inspect(const QString& path);

// Returns `ini` with the value of the cs key of its [font] group replaced by
// `value`; every other byte stays as it was (line endings, comments, order).
// Without such a key one is added right after the [font] header, and without
// a [font] group one is appended at the end.
QByteArray withCheckValue(const QByteArray& ini, const QString& value);

} // namespace langcheck
