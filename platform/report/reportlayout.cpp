#include "platform/report/reportlayout.h"

#include "platform/dataset/smpdataset.h"

#include <QFontDatabase>

#include <stdexcept>

namespace Report {

QSizeF paperSize(Paper paper, Orientation orientation)
{
    const QSizeF portrait = paper == Paper::A4 ? QSizeF(210, 297) : QSizeF(148, 210);
    return orientation == Orientation::Portrait ? portrait : portrait.transposed();
}

// ---- Font -------------------------------------------------------------------------------------

Font Font::sized(double points, bool bold)
{
    Font f;
    f.size = points;
    f.bold = bold;
    return f;
}

Font Font::withFamily(const QString& fam, const QString& fb) const
{
    Font f = *this;
    f.family = fam;
    f.fallback = fb;
    return f;
}

Font Font::withSize(double points) const
{
    Font f = *this;
    f.size = points;
    return f;
}

Font Font::withBold(bool on) const
{
    Font f = *this;
    f.bold = on;
    return f;
}

Font Font::withItalic(bool on) const
{
    Font f = *this;
    f.italic = on;
    return f;
}

Font Font::withUnderline(bool on) const
{
    Font f = *this;
    f.underline = on;
    return f;
}

QString Font::resolvedFamily() const
{
    if (!family.isEmpty() && QFontDatabase::hasFamily(family)) return family;
    if (!fallback.isEmpty() && QFontDatabase::hasFamily(fallback)) return fallback;
    return defaultFamily();
}

// ---- RowContext -------------------------------------------------------------------------------

namespace {
const SmpField* fieldOf(const SmpDataset* ds, const QString& name) { return ds ? ds->findField(name) : nullptr; }
}

QVariant RowContext::value(const QString& field) const
{
    if (const SmpField* f = fieldOf(dataset, field)) return dataset->valueAt(position, f);
    if (const SmpField* f = fieldOf(masterDataset, field)) return masterDataset->valueAt(masterPosition, f);
    return {};
}

QString RowContext::text(const QString& field) const
{
    if (const SmpField* f = fieldOf(dataset, field)) return dataset->displayTextAt(position, f);
    if (const SmpField* f = fieldOf(masterDataset, field)) return masterDataset->displayTextAt(masterPosition, f);
    return {};
}

// ---- Item -------------------------------------------------------------------------------------

Item::Item(ItemKind k, const QString& n, const QRectF& r) : kind(k), name(n), rect(r) {}

Item& Item::align(Qt::Alignment a)
{
    // A horizontal alignment alone keeps the vertical centring.
    alignment = (a & Qt::AlignVertical_Mask) ? a : (a | Qt::AlignVCenter);
    return *this;
}

Item& Item::withFont(const Font& f)
{
    font = f;
    return *this;
}

Item& Item::framed(const Frame& f)
{
    frame = f;
    return *this;
}

Item& Item::wrap(bool on)
{
    wordWrap = on;
    return *this;
}

Item& Item::grow(bool on)
{
    growWithBand = on;
    return *this;
}

Item& Item::filled(const QColor& c)
{
    background = c;
    return *this;
}

Item& Item::format(const QString& f)
{
    displayFormat = f;
    return *this;
}

bool Item::isText() const
{
    return kind == ItemKind::Label || kind == ItemKind::Field || kind == ItemKind::SystemData ||
           kind == ItemKind::Expression;
}

// ---- Band -------------------------------------------------------------------------------------

Band::Band(BandType t, double h) : type(t), height(h) {}

Item& Band::add(std::unique_ptr<Item> item)
{
    items_.push_back(std::move(item));
    return *items_.back();
}

Item& Band::addLabel(const QString& name, const QRectF& rect, const QString& text)
{
    Item& it = add(std::make_unique<Item>(ItemKind::Label, name, rect));
    it.caption = text;
    return it;
}

Item& Band::addField(const QString& name, const QRectF& rect, SmpDataset* ds, const QString& field)
{
    Item& it = add(std::make_unique<Item>(ItemKind::Field, name, rect));
    it.dataset = ds;
    it.fieldName = field;
    return it;
}

Item& Band::addSystem(const QString& name, const QRectF& rect, SystemData data, const QString& caption)
{
    Item& it = add(std::make_unique<Item>(ItemKind::SystemData, name, rect));
    it.system = data;
    it.caption = caption;
    return it;
}

Item& Band::addExpression(const QString& name, const QRectF& rect, TextFunction fn)
{
    Item& it = add(std::make_unique<Item>(ItemKind::Expression, name, rect));
    it.expression = std::move(fn);
    return it;
}

Item& Band::addImage(const QString& name, const QRectF& rect, SmpDataset* ds, const QString& field)
{
    Item& it = add(std::make_unique<Item>(ItemKind::Image, name, rect));
    it.dataset = ds;
    it.fieldName = field;
    it.alignment = Qt::AlignCenter;
    return it;
}

Item& Band::addBox(const QString& name, const QRectF& rect)
{
    Item& it = add(std::make_unique<Item>(ItemKind::Box, name, rect));
    it.frame = Frame::box();
    return it;
}

Item& Band::addHLine(const QString& name, double x1, double x2, double y)
{
    return add(std::make_unique<Item>(ItemKind::HLine, name, QRectF(x1, y, x2 - x1, 0)));
}

Item& Band::addVLine(const QString& name, double x, double y)
{
    Item& it = add(std::make_unique<Item>(ItemKind::VLine, name, QRectF(x, y, 0, height - y)));
    it.growWithBand = true;
    return it;
}

Item* Band::findItem(const QString& name) const
{
    for (const auto& it : items_)
        if (it->name.compare(name, Qt::CaseInsensitive) == 0) return it.get();
    return nullptr;
}

// ---- Layout -----------------------------------------------------------------------------------

Layout::Layout(const QString& n) : name(n) {}

Layout::~Layout() = default;

Band& Layout::addBand(BandType type, double height)
{
    if (type == BandType::Detail || type == BandType::SubDetail || type == BandType::GroupHeader ||
        type == BandType::GroupFooter)
        throw std::invalid_argument("Report::Layout::addBand: use setDetail, addSubDetail or addGroup");
    if (type != BandType::Summary)
        for (const auto& b : bands_)
            if (b->type == type) throw std::invalid_argument("Report::Layout::addBand: band type already present");
    bands_.push_back(std::make_unique<Band>(type, height));
    return *bands_.back();
}

Band& Layout::setDetail(SmpDataset* dataset, double height)
{
    if (detail_) throw std::invalid_argument("Report::Layout::setDetail: the layout has a detail band");
    bands_.push_back(std::make_unique<Band>(BandType::Detail, height));
    detail_ = bands_.back().get();
    detail_->dataset = dataset;
    return *detail_;
}

Band& Layout::addSubDetail(SmpDataset* dataset, double height, const QString& masterFields,
                           const QString& detailFields)
{
    auto split = [](const QString& s) {
        QStringList out;
        for (const QString& p : s.split(u';', Qt::SkipEmptyParts)) out << p.trimmed();
        return out;
    };
    auto band = std::make_unique<Band>(BandType::SubDetail, height);
    band->dataset = dataset;
    band->masterFields = split(masterFields);
    band->detailFields = split(detailFields);
    if (band->masterFields.size() != band->detailFields.size())
        throw std::invalid_argument("Report::Layout::addSubDetail: link field lists differ in length");
    bands_.push_back(std::move(band));
    return *bands_.back();
}

Group& Layout::addGroup(const QString& field, double headerHeight, double footerHeight)
{
    return addGroup([field](const RowContext& ctx) { return ctx.value(field); }, headerHeight, footerHeight);
}

Group& Layout::addGroup(KeyFunction key, double headerHeight, double footerHeight)
{
    auto g = std::make_unique<Group>();
    g->key = std::move(key);
    g->header = std::make_unique<Band>(BandType::GroupHeader, headerHeight);
    g->footer = std::make_unique<Band>(BandType::GroupFooter, footerHeight);
    // Bands without height and items print nothing; a group may have only a header or a footer.
    groups_.push_back(std::move(g));
    return *groups_.back();
}

std::vector<Band*> Layout::bandsOf(BandType type) const
{
    std::vector<Band*> out;
    for (const auto& b : bands_)
        if (b->type == type) out.push_back(b.get());
    return out;
}

Item* Layout::findItem(const QString& itemName) const
{
    for (const auto& b : bands_)
        if (Item* it = b->findItem(itemName)) return it;
    for (const auto& g : groups_) {
        if (Item* it = g->header->findItem(itemName)) return it;
        if (Item* it = g->footer->findItem(itemName)) return it;
    }
    return nullptr;
}

Item& Layout::item(const QString& itemName) const
{
    if (Item* it = findItem(itemName)) return *it;
    throw std::out_of_range(("Report layout " + name + " has no item " + itemName).toStdString());
}

// ---- scoped changes ---------------------------------------------------------------------------

ScopedDisplayFormat::ScopedDisplayFormat(SmpField* field, const QString& format)
    : field_(field), saved_(field->displayFormat)
{
    field_->displayFormat = format;
}

ScopedDisplayFormat::~ScopedDisplayFormat() { field_->displayFormat = saved_; }

ScopedCaption::ScopedCaption(Layout& layout, const QString& itemName, const QString& text)
    : item_(layout.item(itemName)), saved_(item_.caption)
{
    item_.caption = text;
}

ScopedCaption::~ScopedCaption() { item_.caption = saved_; }

} // namespace Report
