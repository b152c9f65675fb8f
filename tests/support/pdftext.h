#pragma once

#include "platform/report/reportdocument.h"
#include "platform/report/reportpainter.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// Writes the document as PDF into the folder and reads its text back with pdftotext (layout kept).
// With TRX_KEEP_PDF set to a folder, a copy of the PDF is left there to be looked at.
inline QString pdfText(const Report::Document& doc, const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name + QStringLiteral(".pdf"));
    if (!Report::writePdf(doc, path)) return QStringLiteral("<no pdf>");
    if (const QString keep = qEnvironmentVariable("TRX_KEEP_PDF"); !keep.isEmpty()) {
        QFile::remove(keep + u'/' + name + QStringLiteral(".pdf"));
        QFile::copy(path, keep + u'/' + name + QStringLiteral(".pdf"));
    }
    QProcess proc;
    proc.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                                             QStringLiteral("-")});
    if (!proc.waitForFinished(30000) || proc.exitCode() != 0) return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(proc.readAllStandardOutput());
}
