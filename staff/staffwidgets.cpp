#include "staff/staffwidgets.h"
#include "staff/staffdata.h"

#include "platform/base/clock.h"
#include "platform/dataset/smpdataset.h"
#include "platform/widgets/dbgrid.h"
#include "platform/widgets/dbtext.h"
#include "platform/widgets/dtsource.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>

DBGrid* StaffWidgets::grid(const char* name, DataSource* source, const QList<QPair<const char*, const char*>>& columns,
                           bool readOnly)
{
    auto* g = new DBGrid;
    g->setObjectName(QString::fromLatin1(name));
    g->setDataSource(source);
    // Each column as wide as its field's text (up to 24 characters) or its title, so names and
    // months are read whole instead of in the header's default width.
    const SmpDataset* ds = source->boundDataset();
    const auto widthOf = [g](const SmpField* f, const QString& title) {
        int chars = 10;
        if (f->type() == SmpField::Type::String) chars = f->size() > 0 ? qBound(4, f->size(), 24) : 20;
        else if (f->type() == SmpField::Type::Integer) chars = 6;
        else if (f->type() == SmpField::Type::DateTime) chars = 8;
        const QFontMetrics fm = g->fontMetrics();
        return qMax(fm.averageCharWidth() * chars, fm.horizontalAdvance(title)) + 16;
    };
    const auto add = [&](const SmpField* f, const QString& caption) {
        g->addColumn(f->fieldName(), caption, widthOf(f, caption.isEmpty() ? f->displayLabel : caption));
    };
    if (columns.isEmpty()) {
        for (const SmpField* f : ds->fields())
            if (f->visible && f->kind() != SmpField::Kind::Aggregate) add(f, {});
    }
    for (const auto& c : columns) add(ds->findField(QString::fromLatin1(c.first)), QString::fromUtf8(c.second));
    g->setReadOnly(readOnly);
    g->setRowSelect(readOnly);
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}

DBText* StaffWidgets::text(const char* name, DataSource* source, const char* field)
{
    auto* t = new DBText;
    t->setObjectName(QString::fromLatin1(name));
    t->setDataSource(source);
    t->setDataField(QString::fromLatin1(field));
    return t;
}

QGroupBox* StaffWidgets::balance(const QString& caption, DataSource* source, const QStringList& rowCaptions)
{
    static const char* prefixes[] = {"AVANS", "DOST", "OTCHET", "RAZLIKA"};
    static const char* currencies[] = {"LV", "USD", "EUR"};
    auto* box = new QGroupBox(caption);
    auto* l = new QGridLayout(box);
    l->setHorizontalSpacing(14);
    const QStringList heads = {QStringLiteral("Валута"), QStringLiteral("Лева"), QStringLiteral("USD"), QStringLiteral("EUR")};
    for (int c = 0; c < heads.size(); ++c) l->addWidget(new QLabel(QStringLiteral("<b>%1</b>").arg(heads[c])), 0, c);
    for (int r = 0; r < 4; ++r) {
        l->addWidget(new QLabel(rowCaptions.value(r)), r + 1, 0);
        for (int c = 0; c < 3; ++c) {
            const QString field = QStringLiteral("%1_%2").arg(QLatin1String(prefixes[r]), QLatin1String(currencies[c]));
            auto* t = new DBText;
            t->setObjectName(QStringLiteral("DBText") + source->objectName() + field);
            t->setDataSource(source);
            t->setDataField(field);
            t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            t->setMinimumWidth(80);
            l->addWidget(t, r + 1, c + 1);
        }
    }
    return box;
}

void StaffWidgets::colourByKind(DBGrid* grid, SmpDataset& dataset)
{
    SmpDataset* ds = &dataset;
    grid->setRowTextColor([ds](int position) -> QColor {
        const SmpField* kind = ds->findField(QStringLiteral("AVANS_OTCHET_DOST"));
        switch (kind ? ds->valueAt(position, kind).toInt() : 0) {
        case 1:
        case 4: return QColor(0x80, 0, 0);
        case 2:
        case 5: return QColor(0, 0x80, 0x80);
        case 3: return QColor(0, 0, 0xff);
        default: return {};
        }
    });
}

QDate StaffWidgets::startBuffer(SmpDataset& buffer, const SmpDataset& movement, bool correction, const QString& ownField)
{
    buffer.close();
    buffer.open();
    buffer.append();
    if (!correction) return Clock::today();
    const auto copy = [&](const QString& to, const QString& from) { buffer.setValue(to, movement.value(from)); };
    copy(QStringLiteral("NUM_ZAPIS"), QStringLiteral("NUM_ZAPIS"));
    copy(QStringLiteral("SUMA_LV"), QStringLiteral("RAZPL_LV"));
    copy(QStringLiteral("SUMA_USD"), QStringLiteral("RAZPL_USD"));
    copy(QStringLiteral("SUMA_EUR"), QStringLiteral("RAZPL_EUR"));
    copy(ownField, ownField);
    copy(QStringLiteral("ZABELEGKA"), QStringLiteral("ZABELEGKA"));
    buffer.post();
    return movement.fieldByName(QStringLiteral("RAZPL_DATE"))->asDate();
}

Staff::Amounts StaffWidgets::typedAmounts(SmpDataset& buffer, const QDate& date)
{
    const auto num = [&](const char* f) { return buffer.fieldByName(QString::fromLatin1(f))->asFloat(); };
    return {date, num("SUMA_LV"), num("SUMA_USD"), num("SUMA_EUR"), buffer.value(QStringLiteral("ZABELEGKA")).toString()};
}
