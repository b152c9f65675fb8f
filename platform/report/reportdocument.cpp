#include "platform/report/reportdocument.h"

#include "platform/dataset/smpdataset.h"
#include "platform/report/reporttext.h"

#include <QFont>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace Report {

namespace {

constexpr double kEps = 1e-6;
constexpr double kTextVPad = 0.5;  // mm between the box and top- or bottom-aligned or wrapped text

int shownRows(const SmpDataset* ds)
{
    if (!ds || !ds->isActive()) return 0;
    return ds->recordCount() + (ds->insertPosition() >= 0 ? 1 : 0);
}

QString fill(QString text, const QString& a, const QString& b = {})
{
    text.replace(QLatin1String("%1"), a);
    text.replace(QLatin1String("%2"), b);
    return text;
}

bool hasPageCountItems(const Layout& layout)
{
    auto scan = [](const Band& band) {
        for (const auto& it : band.items())
            if (it->kind == ItemKind::SystemData &&
                (it->system == SystemData::PageCount || it->system == SystemData::PageOfPages))
                return true;
        return false;
    };
    for (const auto& b : layout.bands())
        if (scan(*b)) return true;
    for (const auto& g : layout.groups())
        if (scan(*g->header) || scan(*g->footer)) return true;
    return false;
}

bool isBlank(const Band& band) { return band.height <= kEps && band.items().empty() && !band.frame.any(); }

// Puts the cursors of a master and its setMaster-linked detail back, with their controls
// disabled meanwhile, when the sub-detail walk is over.
class CursorKeeper
{
public:
    CursorKeeper() = default;
    CursorKeeper(const CursorKeeper&) = delete;
    CursorKeeper& operator=(const CursorKeeper&) = delete;
    ~CursorKeeper()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            try {
                if (it->position >= 0) it->dataset->moveTo(it->position);
            } catch (...) {
                // A failing re-read must not escape a destructor; the controls are enabled anyway.
            }
            it->dataset->enableControls();
        }
    }
    void keep(SmpDataset* ds)
    {
        for (const Saved& s : saved_)
            if (s.dataset == ds) return;
        if (ds->state() != SmpDataset::State::Browse || ds->changeCount() > 0)
            throw std::logic_error(("Report: " + ds->objectName() +
                                    " is being edited; a sub-detail linked to it cannot follow its rows")
                                       .toStdString());
        ds->disableControls();
        saved_.push_back({ds, ds->recNo()});
    }

private:
    struct Saved
    {
        SmpDataset* dataset;
        int position;
    };
    std::vector<Saved> saved_;
};

struct Rendered
{
    double height = 0;
    QList<Primitive> items;  // relative to the band's top-left corner
};

void translate(Primitive& p, const QPointF& d)
{
    std::visit(
        [&](auto& run) {
            using T = std::decay_t<decltype(run)>;
            if constexpr (std::is_same_v<T, LineRun>) {
                run.from += d;
                run.to += d;
            } else {
                run.rect.translate(d);
            }
        },
        p);
}

void addFrame(QList<Primitive>& out, const QRectF& r, const Frame& f)
{
    if (!f.any()) return;
    if (f.all()) {
        out << RectRun{r, f.width, f.color, {}};
        return;
    }
    if (f.top) out << LineRun{r.topLeft(), r.topRight(), f.width, f.color};
    if (f.bottom) out << LineRun{r.bottomLeft(), r.bottomRight(), f.width, f.color};
    if (f.left) out << LineRun{r.topLeft(), r.bottomLeft(), f.width, f.color};
    if (f.right) out << LineRun{r.topRight(), r.bottomRight(), f.width, f.color};
}

class Builder
{
public:
    Builder(const Layout& layout, int pageCount) : L_(layout), pageCount_(pageCount) {}

    Document run();

private:
    struct Prepared
    {
        const Item* item;
        QStringList lines;
        Font font;
        double lineHeight = 0;
        double boxHeight = 0;
        QImage image;
    };

    QString itemText(const Item& it, const RowContext& ctx, const Band& band) const;
    const SmpDataset* itemDataset(const Item& it, const Band& band) const;
    int itemPosition(const Item& it, const SmpDataset* ds, const RowContext& ctx) const;
    Rendered render(const Band& band, const RowContext& ctx);
    void startPage();
    void finishPage();
    void place(const Band& band, RowContext ctx, bool detailArea, double keepWithNext = 0);
    void placeColumnHeader();
    void subDetails(int masterRow, CursorKeeper& keeper);

    const Layout& L_;
    int pageCount_;
    Document doc_;
    double y_ = 0, limit_ = 0, contentTop_ = 0, footerTop_ = 0;
    int pageNumber_ = 0;
    bool pageOpen_ = false;
    SmpDataset* detailDs_ = nullptr;
    int lastRow_ = -1, lastLine_ = 0;
    TextMeasure measure_;
};

const SmpDataset* Builder::itemDataset(const Item& it, const Band& band) const
{
    return it.dataset ? it.dataset : band.dataset;
}

int Builder::itemPosition(const Item&, const SmpDataset* ds, const RowContext& ctx) const
{
    if (ds == ctx.dataset && ctx.dataset) return ctx.position;
    if (ds == ctx.masterDataset && ctx.masterDataset) return ctx.masterPosition;
    return ds->recNo();  // another dataset: its current row (the company record, a header row)
}

QString Builder::itemText(const Item& it, const RowContext& ctx, const Band& band) const
{
    switch (it.kind) {
    case ItemKind::Label: return it.caption;
    case ItemKind::Field: {
        const SmpDataset* ds = itemDataset(it, band);
        if (!ds) throw std::invalid_argument(("Report item " + it.name + " has no dataset").toStdString());
        const SmpField* f = ds->findField(it.fieldName);
        if (!f)
            throw std::invalid_argument(
                ("Report item " + it.name + ": " + ds->objectName() + " has no field " + it.fieldName).toStdString());
        if (!ds->isActive()) return {};
        const QVariant v = ds->valueAt(itemPosition(it, ds, ctx), f);
        return SmpField::formatValue(v, f->type(), it.displayFormat.isEmpty() ? f->displayFormat : it.displayFormat);
    }
    case ItemKind::SystemData:
        switch (it.system) {
        case SystemData::PageNumber: return fill(it.caption, QString::number(ctx.pageNumber));
        case SystemData::PageCount: return fill(it.caption, QString::number(pageCount_));
        case SystemData::PageOfPages:
            return fill(it.caption, QString::number(ctx.pageNumber), QString::number(pageCount_));
        case SystemData::PrintDate: {
            const QDate d = L_.printDate.isValid() ? L_.printDate : QDate::currentDate();
            return fill(it.caption, d.toString(QStringLiteral("dd.MM.yyyy")));
        }
        case SystemData::LineNumber: return fill(it.caption, QString::number(ctx.lineNumber));
        }
        return {};
    case ItemKind::Expression: return it.expression ? it.expression(ctx) : QString();
    default: return {};
    }
}

Rendered Builder::render(const Band& band, const RowContext& ctx)
{
    std::vector<Prepared> prepared;
    prepared.reserve(band.items().size());
    double height = band.height;
    for (const auto& owned : band.items()) {
        const Item& it = *owned;
        Prepared p{&it, {}, it.font, 0, it.rect.height(), {}};
        if (it.isText()) {
            const QString text = itemText(it, ctx, band);
            p.font.family = measure_.family(it.font);
            p.lineHeight = measure_.lineHeight(p.font);
            const double width = std::max(0.0, it.rect.width() - 2 * it.padding);
            p.lines = it.wordWrap ? measure_.wrap(text, p.font, width) : splitLines(text);
            if (it.wordWrap && !text.isEmpty())
                p.boxHeight = std::max(it.rect.height(), p.lines.size() * p.lineHeight + 2 * kTextVPad);
            height = std::max(height, it.rect.top() + p.boxHeight);
        } else if (it.kind == ItemKind::Image) {
            if (it.dataset || !it.fieldName.isEmpty()) {
                const SmpDataset* ds = itemDataset(it, band);
                const SmpField* f = ds ? ds->findField(it.fieldName) : nullptr;
                if (!f)
                    throw std::invalid_argument(("Report image " + it.name + " has no field " + it.fieldName).toStdString());
                if (ds->isActive()) p.image = QImage::fromData(ds->valueAt(itemPosition(it, ds, ctx), f).toByteArray());
            } else {
                p.image = it.picture;
            }
        }
        prepared.push_back(std::move(p));
    }

    Rendered out;
    out.height = height;
    const double grow = height - band.height;
    for (Prepared& p : prepared) {
        const Item& it = *p.item;
        QRectF box(it.rect.left(), it.rect.top(), it.rect.width(), p.boxHeight);
        if (it.growWithBand) {
            if (it.kind == ItemKind::HLine) box.translate(0, grow);
            else box.setBottom(it.rect.bottom() + grow);
        }
        switch (it.kind) {
        case ItemKind::HLine: out.items << LineRun{box.topLeft(), box.topRight(), it.lineWidth, it.color}; break;
        case ItemKind::VLine: out.items << LineRun{box.topLeft(), box.bottomLeft(), it.lineWidth, it.color}; break;
        case ItemKind::Box:
            if (it.frame.all() || it.background.isValid())
                out.items << RectRun{box, it.frame.all() ? it.frame.width : 0.0, it.frame.color, it.background};
            if (!it.frame.all()) addFrame(out.items, box, it.frame);
            break;
        case ItemKind::Image:
            if (it.background.isValid()) out.items << RectRun{box, 0, {}, it.background};
            if (!p.image.isNull() && box.width() > kEps && box.height() > kEps) {
                QSizeF size = box.size();
                if (it.keepAspect) size = QSizeF(p.image.size()).scaled(box.size(), Qt::KeepAspectRatio);
                double x = box.left() + (box.width() - size.width()) / 2;
                if (it.alignment & Qt::AlignLeft) x = box.left();
                else if (it.alignment & Qt::AlignRight) x = box.right() - size.width();
                double y = box.top() + (box.height() - size.height()) / 2;
                if (it.alignment & Qt::AlignTop) y = box.top();
                else if (it.alignment & Qt::AlignBottom) y = box.bottom() - size.height();
                out.items << ImageRun{QRectF(QPointF(x, y), size), p.image};
            }
            addFrame(out.items, box, it.frame);
            break;
        default: {  // text
            if (it.background.isValid()) out.items << RectRun{box, 0, {}, it.background};
            const double blockHeight = p.lines.size() * p.lineHeight;
            double top = box.top() + (box.height() - blockHeight) / 2;
            if (it.alignment & Qt::AlignTop) top = box.top() + kTextVPad;
            else if (it.alignment & Qt::AlignBottom) top = box.bottom() - blockHeight - kTextVPad;
            const double left = box.left() + it.padding;
            const double width = std::max(0.0, box.width() - 2 * it.padding);
            const Qt::Alignment horizontal = (it.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
            for (int i = 0; i < p.lines.size(); ++i) {
                if (p.lines[i].isEmpty()) continue;
                out.items << TextRun{QRectF(left, top + i * p.lineHeight, width, p.lineHeight), p.lines[i], p.font,
                                     horizontal, it.color};
            }
            addFrame(out.items, box, it.frame);
        }
        }
    }
    addFrame(out.items, QRectF(0, 0, L_.bodyWidth(), height), band.frame);
    return out;
}

void Builder::startPage()
{
    const QSizeF size = L_.pageSize();
    doc_.pages.append(Page{++pageNumber_, 0, {}});
    pageOpen_ = true;
    y_ = L_.margins.top;
    footerTop_ = size.height() - L_.margins.bottom;
    for (Band* f : L_.bandsOf(BandType::PageFooter))
        if (f->enabled) {
            RowContext ctx;
            ctx.pageNumber = pageNumber_;
            footerTop_ -= render(*f, ctx).height;
        }
    limit_ = footerTop_;
    contentTop_ = -1;  // the page headers always fit
    for (Band* b : L_.bandsOf(BandType::PageHeader)) place(*b, RowContext{}, false);
    if (pageNumber_ == 1)
        for (Band* b : L_.bandsOf(BandType::Title)) place(*b, RowContext{}, false);
    contentTop_ = y_;
}

void Builder::finishPage()
{
    if (!pageOpen_) return;
    pageOpen_ = false;
    double y = footerTop_;
    for (Band* f : L_.bandsOf(BandType::PageFooter)) {
        if (!f->enabled) continue;
        RowContext ctx;
        ctx.pageNumber = pageNumber_;
        Rendered r = render(*f, ctx);
        for (Primitive& p : r.items) {
            translate(p, QPointF(L_.margins.left, y));
            doc_.pages.last().items << p;
        }
        y += r.height;
    }
}

void Builder::placeColumnHeader()
{
    for (Band* b : L_.bandsOf(BandType::ColumnHeader)) place(*b, RowContext{}, false);
    contentTop_ = y_;
}

void Builder::place(const Band& band, RowContext ctx, bool detailArea, double keepWithNext)
{
    if (!band.enabled || isBlank(band)) return;
    ctx.pageNumber = pageNumber_;
    Rendered r = render(band, ctx);
    // A band that does not fit goes to the next page, unless nothing but headers is on this one:
    // then it would not fit anywhere and is printed here, overflowing.
    if (contentTop_ >= 0 && y_ + r.height + keepWithNext > limit_ + kEps && y_ > contentTop_ + kEps) {
        finishPage();
        startPage();
        if (detailArea) placeColumnHeader();
        ctx.pageNumber = pageNumber_;
        r = render(band, ctx);
    }
    for (Primitive& p : r.items) {
        translate(p, QPointF(L_.margins.left, y_));
        doc_.pages.last().items << p;
    }
    y_ += r.height;
}

void Builder::subDetails(int masterRow, CursorKeeper& keeper)
{
    for (Band* sub : L_.bandsOf(BandType::SubDetail)) {
        if (!sub->enabled || !sub->dataset) continue;
        SmpDataset* ds = sub->dataset;
        const bool followsMaster = sub->masterFields.isEmpty() && detailDs_ && ds->master() == detailDs_;
        if (followsMaster && shownRows(detailDs_) > 0) {
            keeper.keep(ds);
            keeper.keep(detailDs_);
            detailDs_->moveTo(masterRow);  // the detail re-reads its rows for this master row
        }
        const int rows = shownRows(ds);
        std::vector<const SmpField*> masterF, detailF;
        for (int k = 0; k < sub->masterFields.size(); ++k) {
            masterF.push_back(detailDs_ ? detailDs_->fieldByName(sub->masterFields[k]) : nullptr);
            detailF.push_back(ds->fieldByName(sub->detailFields[k]));
        }
        int line = 0;
        for (int j = 0; j < rows; ++j) {
            bool match = true;
            for (size_t k = 0; k < masterF.size() && match; ++k) {
                const QVariant m = masterF[k] ? detailDs_->valueAt(masterRow, masterF[k]) : QVariant();
                const QVariant v = ds->valueAt(j, detailF[k]);
                match = m.isValid() && !m.isNull() && m == v;
            }
            if (!match) continue;
            RowContext ctx;
            ctx.dataset = ds;
            ctx.position = j;
            ctx.lineNumber = ++line;
            ctx.masterDataset = detailDs_;
            ctx.masterPosition = masterRow;
            place(*sub, ctx, true);
        }
    }
}

Document Builder::run()
{
    doc_.name = L_.name;
    doc_.paper = L_.paper;
    doc_.orientation = L_.orientation;
    doc_.pageSize = L_.pageSize();

    Band* detail = L_.detail() && L_.detail()->enabled ? L_.detail() : nullptr;
    detailDs_ = detail ? detail->dataset : nullptr;
    const int rows = shownRows(detailDs_);
    if (detail && rows == 0 && !L_.printIfEmpty) return doc_;

    startPage();
    placeColumnHeader();

    CursorKeeper keeper;
    const auto& groups = L_.groups();
    const size_t G = groups.size();
    std::vector<QVariant> keys(G), previous(G);
    auto rowContext = [&](int row, int line) {
        RowContext ctx;
        ctx.dataset = detailDs_;
        ctx.position = row;
        ctx.lineNumber = line;
        return ctx;
    };
    const double detailHeight = detail ? detail->height : 0;
    for (int row = 0; row < rows; ++row) {
        const RowContext ctx = rowContext(row, row + 1);
        size_t changed = row == 0 ? 0 : G;
        for (size_t g = 0; g < G; ++g) {
            keys[g] = groups[g]->key ? groups[g]->key(ctx) : QVariant();
            if (changed == G && row > 0 && !(keys[g] == previous[g])) changed = g;
        }
        if (row > 0)
            for (size_t g = G; g-- > changed;) place(*groups[g]->footer, rowContext(row - 1, row), true);
        for (size_t g = changed; g < G; ++g) place(*groups[g]->header, ctx, true, detailHeight);
        previous = keys;
        place(*detail, ctx, true);
        subDetails(row, keeper);
        lastRow_ = row;
        lastLine_ = row + 1;
    }
    if (rows > 0)
        for (size_t g = G; g-- > 0;) place(*groups[g]->footer, rowContext(lastRow_, lastLine_), true);

    for (Band* s : L_.bandsOf(BandType::Summary)) place(*s, rowContext(lastRow_, lastLine_), false);
    finishPage();
    return doc_;
}

} // namespace

Document build(const Layout& layout)
{
    if (!hasPageCountItems(layout)) return Builder(layout, 0).run();
    // Page counts are known only once the pages are laid out; the numbers do not change the layout.
    const int pages = int(Builder(layout, 0).run().pages.size());
    return Builder(layout, pages).run();
}

Document buildCopies(Layout& layout, int copies, const QString& labelName,
                     const std::function<QString(int copy)>& captionForCopy)
{
    Item& label = layout.item(labelName);
    const QString saved = label.caption;
    Document doc;
    doc.name = layout.name;
    doc.paper = layout.paper;
    doc.orientation = layout.orientation;
    doc.pageSize = layout.pageSize();
    try {
        for (int c = 0; c < copies; ++c) {
            label.caption = captionForCopy ? captionForCopy(c) : saved;
            Document one = build(layout);
            for (Page& p : one.pages) {
                p.copy = c;
                doc.pages << std::move(p);
            }
        }
    } catch (...) {
        label.caption = saved;
        throw;
    }
    label.caption = saved;
    return doc;
}

QString pageText(const Page& page)
{
    std::vector<const TextRun*> runs;
    for (const Primitive& p : page.items)
        if (const TextRun* t = std::get_if<TextRun>(&p)) runs.push_back(t);
    std::stable_sort(runs.begin(), runs.end(), [](const TextRun* a, const TextRun* b) {
        if (std::abs(a->rect.top() - b->rect.top()) > kEps) return a->rect.top() < b->rect.top();
        return a->rect.left() < b->rect.left();
    });
    // A run belongs to the row whose first run's height holds the run's vertical centre.
    QStringList lines;
    size_t i = 0;
    while (i < runs.size()) {
        const QRectF first = runs[i]->rect;
        std::vector<const TextRun*> row;
        while (i < runs.size() && runs[i]->rect.center().y() <= first.bottom() + kEps) row.push_back(runs[i++]);
        std::stable_sort(row.begin(), row.end(),
                         [](const TextRun* a, const TextRun* b) { return a->rect.left() < b->rect.left(); });
        QStringList cells;
        for (const TextRun* t : row) cells << t->text;
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n');
}

QString documentText(const Document& doc)
{
    QStringList pages;
    for (const Page& p : doc.pages) pages << pageText(p);
    return pages.join(u'\f');
}

} // namespace Report
