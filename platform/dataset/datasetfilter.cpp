#include "platform/dataset/datasetfilter.h"

#include "platform/dataset/fieldvalues.h"
#include "platform/db/dberror.h"

struct DatasetFilter::Node
{
    enum class Kind { And, Or, Not, Compare, IsNull };
    Kind kind = Kind::Compare;
    std::shared_ptr<const Node> left, right;
    QString op;                         // = <> < > <= >=
    const SmpField* field = nullptr;    // the left side of a comparison
    const SmpField* other = nullptr;    // a field on the right, or
    QVariant value;                     // a value of field's type
    bool negate = false;                // is not null
};

namespace {

using Node = DatasetFilter::Node;

class Parser
{
public:
    Parser(const QString& text, const DatasetFilter::FieldResolver& resolve) : text_(text), resolve_(resolve) {}

    std::shared_ptr<const Node> parse()
    {
        auto n = orExpr();
        skipBlanks();
        if (pos_ < text_.size()) fail();
        return n;
    }

private:
    [[noreturn]] void fail() const { throw DbError(QStringLiteral("Невалиден филтър: %1").arg(text_)); }

    void skipBlanks()
    {
        while (pos_ < text_.size() && text_[pos_].isSpace()) ++pos_;
    }

    static bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

    // A keyword as a whole word, case-insensitive.
    bool keyword(QLatin1String word)
    {
        skipBlanks();
        const qsizetype end = pos_ + word.size();
        if (end > text_.size() || QStringView(text_).mid(pos_, word.size()).compare(word, Qt::CaseInsensitive) != 0) return false;
        if (end < text_.size() && isWordChar(text_[end])) return false;
        pos_ = end;
        return true;
    }

    bool symbol(QChar c)
    {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    std::shared_ptr<const Node> join(Node::Kind kind, std::shared_ptr<const Node> a, std::shared_ptr<const Node> b)
    {
        auto n = std::make_shared<Node>();
        n->kind = kind;
        n->left = std::move(a);
        n->right = std::move(b);
        return n;
    }

    std::shared_ptr<const Node> orExpr()
    {
        auto n = andExpr();
        while (keyword(QLatin1String("or"))) n = join(Node::Kind::Or, n, andExpr());
        return n;
    }

    std::shared_ptr<const Node> andExpr()
    {
        auto n = unary();
        while (keyword(QLatin1String("and"))) n = join(Node::Kind::And, n, unary());
        return n;
    }

    std::shared_ptr<const Node> unary()
    {
        if (keyword(QLatin1String("not"))) return join(Node::Kind::Not, unary(), nullptr);
        if (symbol(u'(')) {
            auto n = orExpr();
            if (!symbol(u')')) fail();
            return n;
        }
        return comparison();
    }

    struct Operand
    {
        const SmpField* field = nullptr;
        QVariant literal;  // text (quoted or a number as written)
    };

    Operand operand()
    {
        skipBlanks();
        if (pos_ >= text_.size()) fail();
        const QChar c = text_[pos_];
        if (c == u'\'') {
            QString v;
            for (++pos_;; ++pos_) {
                if (pos_ >= text_.size()) fail();
                if (text_[pos_] == u'\'') {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\'') {
                        v += u'\'';
                        ++pos_;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                v += text_[pos_];
            }
            return {nullptr, v};
        }
        if (c.isDigit() || c == u'-' || c == u'+' || c == u'.') {
            const qsizetype start = pos_++;
            while (pos_ < text_.size() && (text_[pos_].isDigit() || text_[pos_] == u'.')) ++pos_;
            return {nullptr, text_.mid(start, pos_ - start)};
        }
        if (c.isLetter() || c == u'_') {
            const qsizetype start = pos_;
            while (pos_ < text_.size() && isWordChar(text_[pos_])) ++pos_;
            const SmpField* f = resolve_(text_.mid(start, pos_ - start));
            if (!f) fail();
            return {f, {}};
        }
        fail();
    }

    QString comparisonOperator()
    {
        skipBlanks();
        for (const char* op : {"<>", "!=", ">=", "<=", "=", ">", "<"}) {
            const QLatin1String o(op);
            if (QStringView(text_).mid(pos_).startsWith(o)) {
                pos_ += o.size();
                return o == QLatin1String("!=") ? QStringLiteral("<>") : QString(o);
            }
        }
        fail();
    }

    std::shared_ptr<const Node> comparison()
    {
        Operand a = operand();
        auto n = std::make_shared<Node>();
        if (keyword(QLatin1String("is"))) {
            if (!a.field) fail();
            n->kind = Node::Kind::IsNull;
            n->field = a.field;
            n->negate = keyword(QLatin1String("not"));
            if (!keyword(QLatin1String("null"))) fail();
            return n;
        }
        QString op = comparisonOperator();
        Operand b = operand();
        if (!a.field && !b.field) fail();
        if (!a.field) {  // value op field: turn it round
            std::swap(a, b);
            static const QHash<QString, QString> mirror{{QStringLiteral("<"), QStringLiteral(">")}, {QStringLiteral(">"), QStringLiteral("<")},
                                                        {QStringLiteral("<="), QStringLiteral(">=")}, {QStringLiteral(">="), QStringLiteral("<=")}};
            op = mirror.value(op, op);
        }
        n->op = op;
        n->field = a.field;
        n->other = b.field;
        if (!b.field) {
            bool ok = false;
            n->value = FieldValues::tryToStored(b.literal, a.field->type(), &ok);
            if (!ok) fail();
        }
        return n;
    }

    const QString& text_;
    const DatasetFilter::FieldResolver& resolve_;
    qsizetype pos_ = 0;
};

bool evaluate(const Node& n, const DatasetFilter::ValueReader& value)
{
    switch (n.kind) {
    case Node::Kind::And: return evaluate(*n.left, value) && evaluate(*n.right, value);
    case Node::Kind::Or: return evaluate(*n.left, value) || evaluate(*n.right, value);
    case Node::Kind::Not: return !evaluate(*n.left, value);
    case Node::Kind::IsNull: return FieldValues::isNull(value(n.field)) != n.negate;
    case Node::Kind::Compare: {
        const QVariant a = value(n.field);
        QVariant b = n.value;
        if (n.other) {
            bool ok = false;
            b = FieldValues::tryToStored(value(n.other), n.field->type(), &ok);
            if (!ok) return false;
        }
        if (FieldValues::isNull(a) || FieldValues::isNull(b)) return false;
        if (n.op == u"=") return FieldValues::equal(a, b, n.field->type());
        if (n.op == u"<>") return !FieldValues::equal(a, b, n.field->type());
        const int c = FieldValues::compare(a, b, n.field->type());
        return n.op == u">" ? c > 0 : n.op == u"<" ? c < 0 : n.op == u">=" ? c >= 0 : c <= 0;
    }
    }
    return false;
}

} // namespace

DatasetFilter::DatasetFilter() = default;
DatasetFilter::~DatasetFilter() = default;
DatasetFilter::DatasetFilter(const DatasetFilter&) = default;
DatasetFilter& DatasetFilter::operator=(const DatasetFilter&) = default;

DatasetFilter DatasetFilter::parse(const QString& text, const FieldResolver& resolve)
{
    DatasetFilter f;
    if (!text.trimmed().isEmpty()) f.root_ = Parser(text, resolve).parse();
    return f;
}

bool DatasetFilter::matches(const ValueReader& value) const { return !root_ || evaluate(*root_, value); }
