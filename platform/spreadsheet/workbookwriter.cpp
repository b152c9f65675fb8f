#include "platform/spreadsheet/workbookwriter.h"

#include <QDateTime>
#include <QFile>

#include <xlsxwriter.h>

struct WorkbookWriter::Impl
{
    lxw_workbook* workbook = nullptr;
    lxw_worksheet* sheet = nullptr;
    lxw_format* header = nullptr;
    lxw_format* lastRow = nullptr;
    // [with time of day][style]
    lxw_format* dates[2][3] = {};

    lxw_format* plain(Style style) const
    {
        return style == Style::Header ? header : style == Style::LastRow ? lastRow : nullptr;
    }
};

WorkbookWriter::WorkbookWriter(const QString& path) : path_(path), d(std::make_unique<Impl>())
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray file = QFile::encodeName(path);
    d->workbook = workbook_new_opt(file.constData(), &options);
    if (!d->workbook) {
        error_ = QStringLiteral("няма памет за нова работна книга");
        return;
    }
    d->sheet = workbook_add_worksheet(d->workbook, nullptr);
    d->header = workbook_add_format(d->workbook);
    d->lastRow = workbook_add_format(d->workbook);
    bool made = d->sheet && d->header && d->lastRow;
    for (auto& withTime : d->dates)
        for (lxw_format*& f : withTime) made = made && (f = workbook_add_format(d->workbook)) != nullptr;
    if (!made) {
        error_ = QStringLiteral("работният лист не може да бъде създаден");
        return;
    }
    for (int t = 0; t < 2; ++t) {
        lxw_format* const* f = d->dates[t];
        for (int s = 0; s < 3; ++s) format_set_num_format(f[s], t ? "dd.mm.yyyy hh:mm:ss" : "dd.mm.yyyy");
        format_set_bold(f[int(Style::Header)]);
        format_set_top(f[int(Style::Header)], LXW_BORDER_THIN);
        format_set_bottom(f[int(Style::Header)], LXW_BORDER_THIN);
        format_set_bottom(f[int(Style::LastRow)], LXW_BORDER_THIN);
    }
    format_set_bold(d->header);
    format_set_top(d->header, LXW_BORDER_THIN);
    format_set_bottom(d->header, LXW_BORDER_THIN);
    format_set_bottom(d->lastRow, LXW_BORDER_THIN);
}

WorkbookWriter::~WorkbookWriter()
{
    // Dropped without close(): the rows written so far (in temporary files) are discarded.
    if (d->workbook) lxw_workbook_free(d->workbook);
}

void WorkbookWriter::fail(int code, const char* what)
{
    if (!ok()) return;
    error_ = QStringLiteral("%1: %2").arg(QString::fromUtf8(what), QString::fromUtf8(lxw_strerror(lxw_error(code))));
}

void WorkbookWriter::setColumnWidth(int column, double width)
{
    if (!ok()) return;
    const lxw_error e = worksheet_set_column(d->sheet, lxw_col_t(column), lxw_col_t(column), width, nullptr);
    if (e != LXW_NO_ERROR) fail(e, "ширина на колона");
}

bool WorkbookWriter::writeText(int row, int column, const QString& text, Style style)
{
    const bool cut = text.size() > kMaxTextLength;
    // A cut between the halves of a surrogate pair would leave half a character.
    const qsizetype keep = cut && text.at(kMaxTextLength - 1).isHighSurrogate() ? kMaxTextLength - 1 : kMaxTextLength;
    const QByteArray utf8 = cut ? text.left(keep).toUtf8() : text.toUtf8();
    writeUtf8(row, column, utf8.constData(), style);
    return cut;
}

void WorkbookWriter::writeUtf8(int row, int column, const char* text, Style style)
{
    if (!ok()) return;
    const lxw_error e = worksheet_write_string(d->sheet, lxw_row_t(row), lxw_col_t(column), text, d->plain(style));
    if (e != LXW_NO_ERROR) fail(e, "клетка");
}

void WorkbookWriter::writeNumber(int row, int column, double value, Style style)
{
    if (!ok()) return;
    const lxw_error e = worksheet_write_number(d->sheet, lxw_row_t(row), lxw_col_t(column), value, d->plain(style));
    if (e != LXW_NO_ERROR) fail(e, "клетка");
}

void WorkbookWriter::writeDateTime(int row, int column, const QDateTime& value, Style style)
{
    if (!ok()) return;
    const QDate day = value.date();
    const QTime time = value.time();
    lxw_datetime dt{day.year(), day.month(), day.day(), time.hour(), time.minute(),
                    time.second() + time.msec() / 1000.0};
    const bool withTime = time.isValid() && time != QTime(0, 0);
    const lxw_error e = worksheet_write_datetime(d->sheet, lxw_row_t(row), lxw_col_t(column), &dt,
                                                 d->dates[withTime][int(style)]);
    if (e != LXW_NO_ERROR) fail(e, "клетка");
}

void WorkbookWriter::markTable(int firstRow, int firstColumn, int lastRow, int lastColumn)
{
    if (!ok() || lastColumn < firstColumn) return;
    const lxw_error e = worksheet_autofilter(d->sheet, lxw_row_t(firstRow), lxw_col_t(firstColumn), lxw_row_t(lastRow),
                                             lxw_col_t(lastColumn));
    if (e != LXW_NO_ERROR) fail(e, "филтър");
    worksheet_freeze_panes(d->sheet, lxw_row_t(firstRow + 1), 0);
}

bool WorkbookWriter::close()
{
    if (!d->workbook) return false;
    if (!ok()) return false;
    const lxw_error e = workbook_close(d->workbook);  // frees the workbook whatever the outcome
    d->workbook = nullptr;
    if (e != LXW_NO_ERROR) {
        fail(e, "запис на файла");
        QFile::remove(path_);  // a partly written file is no workbook
        return false;
    }
    return true;
}
