#include "common/gridexport.h"

#include "platform/base/clock.h"
#include "platform/base/formats.h"
#include "platform/dataset/smpdataset.h"
#include "platform/spreadsheet/workbookwriter.h"
#include "platform/ui/uiservice.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <cmath>

using Status = SpreadsheetExportResult::Status;

QString GridExport::generalNumberText(double v)
{
    if (!std::isfinite(v)) return {};
    if (v == 0.0) return QStringLiteral("0");
    // Most values read back from their shortest text in 15 significant digits or fewer.
    const QString shortest = Formats::numberToText(v);
    int significant = 0;
    bool leading = true;
    for (const QChar c : std::as_const(shortest)) {
        if (!c.isDigit() || (leading && c == u'0')) continue;
        leading = false;
        ++significant;
    }
    // Trailing zeros of a whole number are no precision.
    if (!shortest.contains(u'.'))
        for (qsizetype i = shortest.size() - 1; i >= 0 && shortest[i] == u'0'; --i) --significant;
    if (significant <= 15) return shortest;
    // 15 significant digits: a sum like 0.1 + 0.2 is written 0.3, as a person would write it.
    const int intDigits = int(std::floor(std::log10(std::fabs(v)))) + 1;
    QString text = Formats::numberToText(v, std::clamp(15 - intDigits, 0, 20));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0'))) text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString GridExport::cellText(const QVariant& value, SmpField::Type type)
{
    if (!value.isValid() || value.isNull()) return {};
    switch (type) {
    case SmpField::Type::Integer: return QString::number(value.toLongLong());
    case SmpField::Type::Float: return generalNumberText(value.toDouble());
    default: return SmpField::formatValue(value, type, QString());  // dates "dd.MM.yyyy", texts as they are
    }
}

namespace {

QString safeFileStem(QString stem)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : stem)
        if (forbidden.contains(c) || c.unicode() < 0x20) c = QLatin1Char('_');
    stem = stem.trimmed();
    return stem.isEmpty() ? QStringLiteral("Списък") : stem;
}

// The first name in the folder that no file has yet.
QString freshPath(const QDir& folder, const QString& stem)
{
    const QString base = stem + QLatin1Char(' ') + Formats::formatDateTime(Clock::now(), QStringLiteral("yyyy-mm-dd hh-nn-ss"));
    QString path = folder.filePath(base + QStringLiteral(".xlsx"));
    for (int n = 2; QFileInfo::exists(path); ++n) path = folder.filePath(QStringLiteral("%1 (%2).xlsx").arg(base).arg(n));
    return path;
}

QList<SmpField*> exportedFields(const SmpDataset& ds, const QStringList& hidden = {})
{
    QList<SmpField*> out;
    for (SmpField* f : ds.fields())
        if (f->visible && f->kind() != SmpField::Kind::Aggregate && !hidden.contains(f->fieldName(), Qt::CaseInsensitive))
            out << f;
    return out;
}

// One value by its field's type: numbers as number cells, dates as date cells, the rest as text; an
// empty value as one blank. True when a text was too long for its cell and was cut.
bool writeCell(WorkbookWriter& book, int row, int column, const QVariant& value, SmpField::Type type,
               WorkbookWriter::Style style)
{
    if (value.isValid() && !value.isNull()) {
        switch (type) {
        case SmpField::Type::Integer: book.writeNumber(row, column, double(value.toLongLong()), style); return false;
        case SmpField::Type::Float: {
            // The value as a person would have typed it, 0.1 + 0.2 as 0.3.
            const QString text = GridExport::generalNumberText(value.toDouble());
            if (text.isEmpty()) break;
            book.writeNumber(row, column, text.toDouble(), style);
            return false;
        }
        case SmpField::Type::DateTime: {
            const QDateTime dt = value.typeId() == QMetaType::QDate ? QDateTime(value.toDate(), QTime(0, 0), Qt::UTC)
                                                                    : value.toDateTime();
            if (!dt.isValid()) break;
            book.writeDateTime(row, column, dt, style);
            return false;
        }
        default: break;
        }
    }
    const QString text = GridExport::cellText(value, type);
    return book.writeText(row, column, text.isEmpty() ? QStringLiteral(" ") : text, style);
}

QString label(const SmpField* f) { return f->displayLabel.isEmpty() ? f->fieldName() : f->displayLabel; }

// Removes the unfinished workbook whatever way the export is left.
struct TempFileGuard
{
    QString path;
    ~TempFileGuard()
    {
        if (!path.isEmpty()) QFile::remove(path);
    }
};

class Progress
{
public:
    Progress(int rows, const SpreadsheetExport& how)
        : dialog_(QStringLiteral("Прехвърляне на списъка в работна книга ..."), QStringLiteral("Отказ"), 0,
                  std::max(rows, 1), how.parentWindow),
          step_(std::max(GridExport::kProgressStep, rows / 200))
    {
        dialog_.setObjectName(QStringLiteral("ExportProgress"));
        dialog_.setWindowTitle(QStringLiteral("Експорт"));
        dialog_.setWindowModality(Qt::ApplicationModal);
        dialog_.setMinimumDuration(std::max(how.progressDelayMs, 0));
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setValue(0);
    }
    // False once the user has cancelled.
    bool step(int done)
    {
        if (done % step_ != 0) return true;
        dialog_.setValue(std::min(done, dialog_.maximum()));
        return !dialog_.wasCanceled();
    }
    bool cancelled() const { return dialog_.wasCanceled(); }

private:
    QProgressDialog dialog_;
    // Repainting the bar costs more than writing the rows: a long list moves it in 1/200 steps.
    const int step_;
};

} // namespace

SpreadsheetExportResult ExportDatasetToSpreadsheet(SmpDataset& ds, const SpreadsheetExport& how)
{
    UiService& ui = UiService::current();
    SpreadsheetExportResult result;
    const int rows = ds.isActive() ? ds.recordCount() : 0;
    if (rows == 0) {
        switch (how.emptyList) {
        case SpreadsheetExport::EmptyList::Nothing: result.status = Status::Empty; return result;
        case SpreadsheetExport::EmptyList::Message:
            ui.showMessage(how.emptyMessage);
            result.status = Status::Empty;
            return result;
        case SpreadsheetExport::EmptyList::HeaderOnly: break;
        }
    }

    const QList<SmpField*> fields = exportedFields(ds, how.hiddenFields);
    const QList<SmpField*> detailFields = how.detail ? exportedFields(*how.detail) : QList<SmpField*>();
    const int columns = int(std::max(fields.size(), detailFields.size()));
    if (columns > WorkbookWriter::kMaxColumns || (!how.detail && rows + 1 > WorkbookWriter::kMaxRows)) {
        ui.showMessage(QStringLiteral("Списъкът е по-голям, отколкото побира един работен лист (%1 реда, %2 колони) !")
                           .arg(WorkbookWriter::kMaxRows)
                           .arg(WorkbookWriter::kMaxColumns));
        return result;
    }

    const QString folderPath =
        how.folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : how.folder;
    const auto refuse = [&](const QString& why) {
        ui.showMessage(QStringLiteral("Работната книга не може да бъде записана в папка \"%1\" !\r%2")
                           .arg(QDir::toNativeSeparators(folderPath), why));
        return result;
    };
    if (folderPath.isEmpty() || !QDir().mkpath(folderPath)) return refuse(QStringLiteral("Папката не може да бъде създадена."));
    const QDir folder(folderPath);
    const QString name = ds.objectName().startsWith(QLatin1String("Smp")) ? ds.objectName().mid(3) : ds.objectName();
    const QString stem = safeFileStem(how.title.isEmpty() ? name : how.title);
    QString target = freshPath(folder, stem);
    // The workbook is made under a hidden name and takes its own name only when it is whole.
    TempFileGuard temp{folder.filePath(QStringLiteral(".~") + QFileInfo(target).fileName() + QStringLiteral(".part"))};
    QFile::remove(temp.path);
    {
        QFile probe(temp.path);
        if (!probe.open(QIODevice::WriteOnly)) return refuse(probe.errorString());
    }
    QFile::remove(temp.path);

    WorkbookWriter book(temp.path);
    for (int c = 0; c < columns; ++c) {
        const QString text = c < fields.size() ? label(fields[c]) : QString();
        book.setColumnWidth(c, std::clamp(double(text.size()) + 3, 10.0, 40.0));
    }
    int row = 0;
    for (int c = 0; c < fields.size(); ++c) book.writeText(row, c, label(fields[c]), WorkbookWriter::Style::Header);
    ++row;

    Progress progress(rows, how);
    bool textsCut = false;
    const auto writeRow = [&](const SmpDataset& source, const QList<SmpField*>& cells, int position, bool last) {
        const auto style = last ? WorkbookWriter::Style::LastRow : WorkbookWriter::Style::Plain;
        for (int c = 0; c < cells.size(); ++c) textsCut |= writeCell(book, row, c, source.valueAt(position, cells[c]), cells[c]->type(), style);
        ++row;
    };
    for (int p = 0; p < rows && book.ok(); ++p) {
        if (!progress.step(p)) break;
        if (!how.detail) {
            writeRow(ds, fields, p, p == rows - 1);
            continue;
        }
        // The detail follows the cursor of the list it belongs to.
        ds.moveTo(p);
        writeRow(ds, fields, p, false);
        const SmpDataset& detail = *how.detail;
        for (int q = std::max(detail.recNo(), 0); detail.isActive() && q < detail.recordCount() && book.ok(); ++q)
            writeRow(detail, detailFields, q, false);
        ++row;  // one empty row after each member
        if (row > WorkbookWriter::kMaxRows) break;
    }
    if (progress.cancelled()) {
        result.status = Status::Cancelled;
        return result;
    }
    if (row > WorkbookWriter::kMaxRows) {
        ui.showMessage(QStringLiteral("Списъкът е по-голям, отколкото побира един работен лист (%1 реда) !").arg(WorkbookWriter::kMaxRows));
        return result;
    }
    if (fields.size() > 0) book.markTable(0, 0, std::max(row - 1, 0), int(std::max(fields.size(), detailFields.size())) - 1);
    if (!book.close()) return refuse(book.errorText());
    // Another export may have taken the name meanwhile: then the next free one.
    while (!QFile::rename(temp.path, target)) {
        if (!QFileInfo::exists(target)) return refuse(QStringLiteral("Файлът не може да бъде преименуван."));
        target = freshPath(folder, stem);
    }
    temp.path.clear();
    if (rows > 0) ds.last();  // as after walking the list to its end
    if (textsCut)
        ui.showMessage(QStringLiteral("Някои текстове са по-дълги от %1 знака, колкото побира една клетка, "
                                      "и в работната книга са съкратени !")
                           .arg(WorkbookWriter::kMaxTextLength));

    result.status = Status::Written;
    result.path = target;
    result.opened = QDesktopServices::openUrl(QUrl::fromLocalFile(target));
    if (!result.opened)
        ui.showMessage(QStringLiteral("Работната книга е записана във файла\r%1\rНяма програма, с която да бъде отворена !")
                           .arg(QDir::toNativeSeparators(target)));
    return result;
}
