#pragma once

#include <QColor>
#include <QDate>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class SmpDataset;
class SmpField;

// Band report layouts. A layout is a set of bands holding items positioned in millimetres
// within their band; Report::build() turns it into pages (reportdocument.h).
namespace Report {

enum class Paper { A4, A5 };
enum class Orientation { Portrait, Landscape };

struct Margins
{
    double left = 10, top = 10, right = 10, bottom = 10;  // mm
};

// The paper size in millimetres, turned by the orientation.
QSizeF paperSize(Paper paper, Orientation orientation);

struct Font
{
    static QString defaultFamily() { return QStringLiteral("DejaVu Sans"); }
    QString family = defaultFamily();
    QString fallback = defaultFamily();  // used when family is not installed
    double size = 9;                      // points
    bool bold = false, italic = false, underline = false;

    static Font sized(double points, bool bold = false);
    Font withFamily(const QString& family, const QString& fallback) const;
    Font withSize(double points) const;
    Font withBold(bool on = true) const;
    Font withItalic(bool on = true) const;
    Font withUnderline(bool on = true) const;
    // The family printed: family if installed, otherwise fallback.
    QString resolvedFamily() const;
};

// Lines along the sides of an item or band.
struct Frame
{
    bool left = false, top = false, right = false, bottom = false;
    double width = 0.2;  // mm
    QColor color = Qt::black;

    static Frame box(double width = 0.2) { return Frame{true, true, true, true, width}; }
    static Frame sides(bool left, bool top, bool right, bool bottom, double width = 0.2)
    {
        return Frame{left, top, right, bottom, width};
    }
    bool any() const { return left || top || right || bottom; }
    bool all() const { return left && top && right && bottom; }
};

enum class ItemKind { Label, Field, SystemData, Expression, Image, Box, HLine, VLine };

enum class SystemData {
    PageNumber,   // "%1" = page number within the copy
    PageCount,    // "%1" = pages of the copy
    PageOfPages,  // "%1" = page number, "%2" = page count
    PrintDate,    // "%1" = dd.MM.yyyy
    LineNumber,   // "%1" = the running number of the band's row
};

// What an item sees while its band is filled.
struct RowContext
{
    const SmpDataset* dataset = nullptr;  // the dataset of the band being filled, if any
    int position = -1;                    // its visible row
    int lineNumber = 0;                   // running number of the detail row (1-based)
    int pageNumber = 0;
    const SmpDataset* masterDataset = nullptr;  // in a sub-detail: the detail band's dataset
    int masterPosition = -1;

    // Values of the row being filled, by field name (case-insensitive); null/"" if no such field.
    QVariant value(const QString& field) const;
    QString text(const QString& field) const;  // through the field's display format
};

using TextFunction = std::function<QString(const RowContext&)>;
using KeyFunction = std::function<QVariant(const RowContext&)>;

// One item of a band. Public members are the item's properties; the setters return the item so
// a layout can be written as a chain.
class Item
{
public:
    Item(ItemKind kind, const QString& name, const QRectF& rect);

    ItemKind kind;
    QString name;
    QRectF rect;  // mm, relative to the band's top-left corner
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    Font font;
    QColor color = Qt::black;
    QColor background;  // invalid: transparent
    Frame frame;
    double padding = 0.6;  // mm between the box's sides and its text
    // Text breaks into lines at the box width; the box and its band grow to fit the text.
    bool wordWrap = false;
    // The box's bottom follows the band's stretched height (frames, vertical rules).
    bool growWithBand = false;

    QString caption;  // labels: the text; system data: a template with %1 (and %2)

    // Field items: the field of the band's row when dataset is the band's dataset (or the
    // master of a sub-detail), otherwise of that dataset's current row.
    SmpDataset* dataset = nullptr;
    QString fieldName;
    QString displayFormat;  // overrides the field's own format when not empty

    SystemData system = SystemData::PageNumber;
    TextFunction expression;

    QImage picture;            // an image item with no field shows this picture
    bool keepAspect = true;    // images are scaled into the box keeping their proportions
    double lineWidth = 0.2;    // rules and boxes, mm

    Item& align(Qt::Alignment a);
    Item& withFont(const Font& f);
    Item& framed(const Frame& f = Frame::box());
    Item& wrap(bool on = true);
    Item& grow(bool on = true);
    Item& filled(const QColor& c);
    Item& format(const QString& displayFormat);

    bool isText() const;
};

enum class BandType { Title, PageHeader, ColumnHeader, GroupHeader, Detail, SubDetail, GroupFooter, Summary, PageFooter };

class Band
{
public:
    Band(BandType type, double height);
    Band(const Band&) = delete;
    Band& operator=(const Band&) = delete;

    BandType type;
    double height;  // mm; the least height, a band with wrapped text grows
    Frame frame;    // drawn around the band at its stretched height, across the page body
    bool enabled = true;

    // Detail and sub-detail bands.
    SmpDataset* dataset = nullptr;
    // Sub-detail: the rows whose detailFields equal masterFields of the master row. With none given,
    // a dataset linked to the master through SmpDataset::setMaster follows the master row.
    QStringList masterFields, detailFields;

    Item& addLabel(const QString& name, const QRectF& rect, const QString& text);
    Item& addField(const QString& name, const QRectF& rect, SmpDataset* dataset, const QString& field);
    Item& addSystem(const QString& name, const QRectF& rect, SystemData data, const QString& caption = QStringLiteral("%1"));
    Item& addExpression(const QString& name, const QRectF& rect, TextFunction fn);
    // An image from a Bytes field (dataset/field), or a fixed picture when dataset is null.
    Item& addImage(const QString& name, const QRectF& rect, SmpDataset* dataset, const QString& field);
    Item& addBox(const QString& name, const QRectF& rect);
    Item& addHLine(const QString& name, double x1, double x2, double y);
    // A vertical rule from y to the band's bottom, which it follows when the band stretches.
    Item& addVLine(const QString& name, double x, double y = 0);

    const std::vector<std::unique_ptr<Item>>& items() const { return items_; }
    Item* findItem(const QString& name) const;

private:
    Item& add(std::unique_ptr<Item> item);
    std::vector<std::unique_ptr<Item>> items_;
};

// A group over the detail rows: its header prints before the first row of each run of equal
// keys, its footer after the last.
struct Group
{
    KeyFunction key;
    std::unique_ptr<Band> header, footer;
};

class Layout
{
public:
    explicit Layout(const QString& name = {});
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;
    ~Layout();

    QString name;
    Paper paper = Paper::A4;
    Orientation orientation = Orientation::Portrait;
    Margins margins;
    // Print the bands around the detail (title, headers, summary) even when the detail dataset has
    // no rows; otherwise such a layout has no pages.
    bool printIfEmpty = false;
    QDate printDate;  // the date printed by PrintDate items; today when null

    void setPage(Paper p, Orientation o) { paper = p, orientation = o; }
    QSizeF pageSize() const { return paperSize(paper, orientation); }
    double bodyWidth() const { return pageSize().width() - margins.left - margins.right; }

    // Title (first page), page header, column header, summary (one or more), page footer.
    Band& addBand(BandType type, double height);
    Band& setDetail(SmpDataset* dataset, double height);
    Band& addSubDetail(SmpDataset* dataset, double height, const QString& masterFields = {},
                       const QString& detailFields = {});
    // Groups nest in the order they are added, the first outermost.
    Group& addGroup(const QString& field, double headerHeight, double footerHeight = 0);
    Group& addGroup(KeyFunction key, double headerHeight, double footerHeight = 0);

    const std::vector<std::unique_ptr<Band>>& bands() const { return bands_; }
    const std::vector<std::unique_ptr<Group>>& groups() const { return groups_; }
    Band* detail() const { return detail_; }
    std::vector<Band*> bandsOf(BandType type) const;

    Item* findItem(const QString& name) const;
    Item& item(const QString& name) const;  // throws std::out_of_range when there is none
    void setCaption(const QString& itemName, const QString& text) { item(itemName).caption = text; }
    QString caption(const QString& itemName) const { return item(itemName).caption; }

private:
    std::vector<std::unique_ptr<Band>> bands_;
    std::vector<std::unique_ptr<Group>> groups_;
    Band* detail_ = nullptr;
};

// Changes a field's display format for one preview or print and restores it when left.
class ScopedDisplayFormat
{
public:
    ScopedDisplayFormat(SmpField* field, const QString& format);
    ~ScopedDisplayFormat();
    ScopedDisplayFormat(const ScopedDisplayFormat&) = delete;
    ScopedDisplayFormat& operator=(const ScopedDisplayFormat&) = delete;

private:
    SmpField* field_;
    QString saved_;
};

// Sets a label's caption and restores the previous one when left.
class ScopedCaption
{
public:
    ScopedCaption(Layout& layout, const QString& itemName, const QString& text);
    ~ScopedCaption();
    ScopedCaption(const ScopedCaption&) = delete;
    ScopedCaption& operator=(const ScopedCaption&) = delete;

private:
    Item& item_;
    QString saved_;
};

} // namespace Report
