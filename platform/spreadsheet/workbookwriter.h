#pragma once

#include <QString>
#include <QStringList>

class QDateTime;

#include <memory>

// A new .xlsx workbook of one sheet, written row by row in constant memory: each row goes to a
// temporary file as soon as the next one starts, so the memory used does not grow with the
// number of rows. Rows must therefore be written in ascending order. Nothing appears at the
// target path before close() succeeds; a writer dropped without close() leaves no file behind.
class WorkbookWriter
{
public:
    static constexpr int kMaxRows = 1048576;
    static constexpr int kMaxColumns = 16384;
    static constexpr int kMaxTextLength = 32767;  // characters in one cell

    explicit WorkbookWriter(const QString& path);
    ~WorkbookWriter();
    WorkbookWriter(const WorkbookWriter&) = delete;
    WorkbookWriter& operator=(const WorkbookWriter&) = delete;

    const QString& path() const { return path_; }
    // False after the first failure; errorText() then says what failed.
    bool ok() const { return error_.isEmpty(); }
    const QString& errorText() const { return error_; }

    // Column widths in characters; only before the first row is written.
    void setColumnWidth(int column, double width);

    enum class Style { Plain, Header, LastRow };
    // A cell as text. Longer texts are cut at kMaxTextLength characters; the return is true then.
    bool writeText(int row, int column, const QString& text, Style style = Style::Plain);
    void writeUtf8(int row, int column, const char* text, Style style = Style::Plain);
    // A number cell in the general format.
    void writeNumber(int row, int column, double value, Style style = Style::Plain);
    // A date cell shown "dd.mm.yyyy", or "dd.mm.yyyy hh:mm:ss" when the value has a time of day.
    void writeDateTime(int row, int column, const QDateTime& value, Style style = Style::Plain);

    // The plain table look over a region whose first row is its header: the header row in bold
    // between thin rules, a rule under the last row, a filter on the header and the header kept
    // in view while scrolling. Call after the last row.
    void markTable(int firstRow, int firstColumn, int lastRow, int lastColumn);

    // Writes the workbook to path(); false (and no file) on failure.
    bool close();

private:
    struct Impl;
    void fail(int code, const char* what);

    QString path_;
    QString error_;
    std::unique_ptr<Impl> d;
};
