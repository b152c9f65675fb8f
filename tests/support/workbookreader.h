#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

// Reads a workbook back with a real reader (Debian's python3-openpyxl): the first sheet's cells
// as text (null for none), with each cell's type and boldness.
struct Sheet
{
    int sheets = 0;
    QList<QStringList> texts;  // row by row; a missing cell reads as a null QString
    QList<QList<bool>> bold;
    QList<QStringList> kinds;  // each cell's type: "s" text, "n" number, "d" date; null for none
    QStringList types;         // distinct cell types
    QStringList dateFormats;   // distinct number formats of the date cells
    QString filter;
};

inline const char* kReader = R"(
import datetime, json, sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
def text(v):
    if isinstance(v, datetime.datetime):
        return v.strftime('%d.%m.%Y' if v.time() == datetime.time() else '%d.%m.%Y %H:%M:%S')
    return repr(v) if isinstance(v, float) else str(v)
rows = []
if not (ws.max_row == 1 and ws.max_column == 1 and ws['A1'].value is None):
    for r in ws.iter_rows():
        rows.append([None if c.value is None else [text(c.value), c.data_type, bool(c.font.b), c.number_format]
                     for c in r])
print(json.dumps({"sheets": len(wb.worksheets), "rows": rows, "filter": ws.auto_filter.ref}))
)";

// The system's python3, the one Debian's python3-openpyxl belongs to.
inline QString systemPython()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    if (python.isEmpty()) qFatal("python3 is missing");
    return python;
}

inline Sheet readWorkbook(const QString& path)
{
    Sheet s;
    const QString python = systemPython();
    QProcess p;
    p.start(python, {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        qFatal("reading the workbook failed (is python3-openpyxl installed?): %s", p.readAllStandardError().constData());
    const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    s.sheets = o.value(QStringLiteral("sheets")).toInt();
    s.filter = o.value(QStringLiteral("filter")).toString();
    for (const QJsonValue& row : o.value(QStringLiteral("rows")).toArray()) {
        QStringList texts, kinds;
        QList<bool> bold;
        for (const QJsonValue& cell : row.toArray()) {
            const QJsonArray c = cell.toArray();
            texts << (cell.isNull() ? QString() : c.at(0).toString());
            kinds << (cell.isNull() ? QString() : c.at(1).toString());
            bold << (!cell.isNull() && c.at(2).toBool());
            if (!cell.isNull() && !s.types.contains(c.at(1).toString())) s.types << c.at(1).toString();
            if (c.at(1).toString() == QLatin1String("d") && !s.dateFormats.contains(c.at(3).toString()))
                s.dateFormats << c.at(3).toString();
        }
        s.texts << texts;
        s.kinds << kinds;
        s.bold << bold;
    }
    return s;
}

