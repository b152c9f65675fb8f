#include "common/columnsettings.h"

#include "platform/dataset/smpdataset.h"
#include "platform/ui/uiservice.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>

namespace ColumnSettings {

const std::array<ListSpec, kLists>& lists()
{
    static const std::array<ListSpec, kLists> table = {{
        {"CheckLBSklNalich", "Склад - наличности ", "SmpSklNalich"},
        {"CheckLBSklDvig", "Склад - движение ", "SmpSprSklDvig"},
        {"CheckLBSklNalichObsto", "Склад - общo наличности ", "SmpSprSklMat"},
        {"CheckLBSklNalichKymData", "Склад - към дата ", "SmpSprMatKymData"},
        {"CheckLBSklMatCeni", "Склад - материали цени ", "SmpSklMatCeni"},
        {"CheckLBSklMatSpravka", "Склад-материали справка ", "SmpMat_Spravka"},
        {"CheckLBSklRazp", "Склад - скл.разписки  ", "SmpSklRazp"},
        {"CheckLBRealizacia", "Информация продажби ", "SmpRealizacia"},
        {"CheckLBSprRealizacia", "Инф. продажби - справка ", "SmpSprRealizacia"},
        {"CheckLBViewMat", "Номенкл.- мат.полуф.изд. ", "SmpViewMateriali"},
    }};
    return table;
}

const std::array<DigitSpec, kDigits>& digits()
{
    static const std::array<DigitSpec, kDigits> table = {{
        {"SpinEditArtikul", "Количества на артикули", 2},
        {"SpinEditEdCenaSklad", "Ед. цена при доставка и  складови наличности", 3},
        {"SpinEditProd", "Ед. цена при продажба и информация продажба", 3},
    }};
    return table;
}

const QList<FieldGroup>& digitFields(int digit)
{
    static const std::array<QList<FieldGroup>, kDigits> groups = {{
        {
            {"SmpSklNalich", {"KOLICHESTVO", "NALICHNOST", "SUMISK", "SUMMAT_SKLOB", "SUMMAT_PRODAGBI"}},
            {"SmpDostavka", {"KOLICHESTVO"}},
            {"SmpSprSklDvig", {"KOLICHESTVO", "NALICHNOST", "RAZHOD", "RAZHOD_SKLOB", "RAZHOD_PRODAGBI"}},
            {"SmpSprSklMat", {"SUMADOSTAVKA", "SUMANALICHNOST", "SUMAISKANIA", "SUMAEKSPEDIRANO"}},
            {"SmpSprMatKymData", {"NALICHNOST", "SUMMAT_DOSTAVKA", "SUMISK", "SUMMAT_PRODAGBI", "SUMMAT_SKLOB"}},
            {"SmpSklMatCeni", {"NALICHNOST", "KOLICHESTVO", "SUMISK", "SUMMAT_PRODAGBI", "SUMMAT_SKLOB"}},
            {"SmpMat_Spravka", {"NALICHNOST"}},
            {"SmpSklRazp", {"KOLICHESTVO"}},
            {"SmpRealizacia", {"BROI_MATERIAL_IZDELIE"}},
            {"SmpSprRealizacia", {"BROI_MATERIAL_IZDELIE"}},
            {"SmpProdSkladNalich", {"KOLICHESTVO", "NALICHNOST", "SUMISK", "SUMMAT_SKLOB", "SUMMAT_PRODAGBI"}},
            {"SmpProdagbaTempNew", {"BROI_MATERIAL_IZDELIE"}},
        },
        {
            {"SmpSklNalich", {"ED_CENA_LV", "USD", "EUR"}},
            {"SmpDostavka",
             {"ED_CENA_LV", "LvOtst", "LvOtstDDS", "USD", "UsdOtst", "UsdOtstDDS", "EUR", "EurOtst", "EurOtstDDS"}},
            {"SmpSprSklDvig", {"ED_CENA_LV"}},
            {"SmpSklRazp",
             {"ED_CENA_LV", "ED_CENA_LV_OTST", "ED_CENA_LV_OTST_DDS", "USD", "USD_OTST", "USD_OTST_DDS", "EUR",
              "EUR_OTST", "EUR_OTST_DDS"}},
        },
        {
            {"SmpRealizacia", {"CENA_MAT_IZD_DDS", "CENA_MAT_IZD_USD_DDS", "CENA_MAT_IZD_EUR_DDS"}},
            {"SmpSprRealizacia",
             {"CENA_MATERIAL_IZDELIE", "CENA_MAT_IZD_DDS", "CENA_MAT_IZD_USD_DDS", "CENA_MAT_IZD_EUR_DDS"}},
            {"SmpProdagbaTempNew",
             {"CENA_MATERIAL_IZDELIE", "CenaMatIzdCalc", "CENA_MAT_IZD_USD", "CenaMatIzdCalcUSD", "CENA_MAT_IZD_EUR",
              "CenaMatIzdCalcEUR"}},
            {"SmpProdSkladNalich",
             {"ED_CENA_LV", "PRODAGNA_CENA", "PROD_CENA_LV_DREBNO", "USD", "PRODAGNA_CENA_USD", "PROD_CENA_USD_DREBNO",
              "EUR", "PRODAGNA_CENA_EUR", "PROD_CENA_EUR_DREBNO"}},
        },
    }};
    return groups[size_t(digit)];
}

QString formatFor(int decimals)
{
    QString f = QStringLiteral("# ### ##0");
    if (decimals > 0) f += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
    return f;
}

QString filePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(QStringLiteral("TrxField.txt"));
}

namespace {

QString listName(int i) { return QString::fromUtf8(lists()[size_t(i)].caption).trimmed(); }

int listOf(const SmpDataset& ds)
{
    for (int i = 0; i < kLists; ++i)
        if (ds.objectName() == QLatin1String(lists()[size_t(i)].dataset)) return i;
    return -1;
}

// A dataset that defines no data field gets one per column when it first opens: until then its
// field list is not the one the file's line was written for.
bool hasAllFields(const SmpDataset& ds)
{
    return std::any_of(ds.fields().cbegin(), ds.fields().cend(),
                       [](const SmpField* f) { return f->kind() == SmpField::Kind::Data; });
}

// Visibility from the list's line; fields beyond its end count as ticked. True if anything changed.
bool applyLine(SmpDataset& ds, const QByteArray& line)
{
    if (line.isEmpty()) return false;  // an empty line says nothing: the fields keep their visibility
    bool changed = false;
    const QList<SmpField*>& fields = ds.fields();
    for (int k = 0; k < fields.size(); ++k) {
        const bool on = k >= line.size() || line[k] != '0';
        if (fields[k]->visible != on) {
            fields[k]->visible = on;
            changed = true;
        }
    }
    return changed;
}

// Display formats of the dataset's fields in the decimal groups; the digits that are 0 to 5.
bool applyDigits(SmpDataset& ds, const QByteArray& digitsLine)
{
    bool changed = false;
    for (int k = 0; k < kDigits && k < digitsLine.size(); ++k) {
        const char c = digitsLine[k];
        if (c < '0' || c > char('0' + kMaxDecimals)) continue;
        const QString format = formatFor(c - '0');
        for (const FieldGroup& g : digitFields(k)) {
            if (ds.objectName() != QLatin1String(g.dataset)) continue;
            for (const QString& name : g.fields)
                if (SmpField* f = ds.findField(name); f && f->displayFormat != format) {
                    f->displayFormat = format;
                    changed = true;
                }
        }
    }
    return changed;
}

// More characters than any list has fields: the most a line of the file is read for.
constexpr qint64 kMaxLine = 4096;

} // namespace

SmpDataset* Registry::listDataset(int list) const
{
    SmpDataset* ds = registeredDataset(QString::fromLatin1(lists()[size_t(list)].dataset));
    return ds && hasAllFields(*ds) ? ds : nullptr;
}

bool Registry::applyStored(SmpDataset& ds) const
{
    if (!stored_.fileRead) return false;
    bool changed = false;
    if (const int list = listOf(ds); list >= 0 && hasAllFields(ds)) changed = applyLine(ds, stored_.lines[size_t(list)]);
    return applyDigits(ds, stored_.digitsLine) || changed;
}

// A line longer than its list: told once per reading of the file, as soon as the list has fields.
QString Registry::lengthProblem(int list, const SmpDataset& ds)
{
    if (!stored_.fileRead || lengthChecked_[size_t(list)] || !hasAllFields(ds)) return {};
    lengthChecked_[size_t(list)] = true;
    const QByteArray& line = stored_.lines[size_t(list)];
    if (line.size() <= ds.fields().size()) return {};
    return QStringLiteral("ред %1 (%2) има %3 знака, а списъкът - %4 полета")
        .arg(list + 1)
        .arg(listName(list))
        .arg(line.size())
        .arg(ds.fields().size());
}

// A list that gets its fields after the file was read has its line checked then.
void Registry::checkLateList(const SmpDataset& ds)
{
    const int list = listOf(ds);
    if (list < 0) return;
    if (const QString problem = lengthProblem(list, ds); !problem.isEmpty())
        UiService::current().showMessage(problemsMessage({problem}));
}

void Registry::datasetOpened(SmpDataset& ds)
{
    checkLateList(ds);
    applyStored(ds);  // the grids are reset by the opening itself
    const int list = listOf(ds);
    if (list >= 0 && ds.fields().size() != shownFields_[size_t(list)] && observer_) observer_(list);
}

void Registry::registerDataset(SmpDataset& dataset)
{
    const bool known = datasets_.value(dataset.objectName()).data() == &dataset;
    datasets_.insert(dataset.objectName(), &dataset);
    if (known) return;
    checkLateList(dataset);
    // Whatever the dataset's own after-open does to its fields, the user's settings come last.
    // A dataset that outlives this registry keeps only its own handler's effect.
    dataset.afterOpen = [own = std::move(dataset.afterOpen), self = QPointer<Registry>(this)](SmpDataset& ds) {
        if (own) own(ds);
        if (self) self->datasetOpened(ds);
    };
}

SmpDataset* Registry::registeredDataset(const QString& name) const { return datasets_.value(name).data(); }

void Registry::setListObserver(std::function<void(int)> observer) { observer_ = std::move(observer); }

ListState Registry::listState(int list)
{
    ListState out;
    SmpDataset* ds = listDataset(list);
    shownFields_[size_t(list)] = ds ? ds->fields().size() : 0;
    if (!ds) return out;
    const Stored& st = stored_;
    const QByteArray line = st.fileRead ? st.lines[size_t(list)] : QByteArray();
    for (int k = 0; k < ds->fields().size(); ++k) {
        const SmpField* f = ds->fields()[k];
        out.labels << (f->displayLabel.isEmpty() ? f->fieldName() : f->displayLabel);
        // No file, an empty line, or a field added since the save: ticked.
        out.ticked << (k >= line.size() || line[k] != '0');
    }
    return out;
}

Applied Registry::apply(const std::array<int, kDigits>& currentDigits)
{
    Applied out;
    out.digits = currentDigits;
    Stored& st = stored_;
    st = Stored();
    lengthChecked_ = {};

    QFile file(filePath());
    out.fileFound = file.exists();
    if (out.fileFound) {
        const bool isDir = QFileInfo(file).isDir();
        if (isDir || !file.open(QIODevice::ReadOnly)) {
            // Nothing is known: the lists show every field ticked, as with no file.
            out.problems << QStringLiteral("файлът не може да бъде отворен (%1)")
                                .arg(isDir ? QStringLiteral("на негово място има папка") : file.errorString());
        } else {
            // Never more than eleven lines can hold, whatever the file's size.
            QList<QByteArray> lines = file.read((kLists + 1) * (kMaxLine + 2)).split('\n');
            if (lines.size() > kLists + 1) lines.resize(kLists + 1);
            for (int i = 0; i < lines.size(); ++i) {
                QByteArray& l = lines[i];
                if (l.endsWith('\r')) l.chop(1);
                if (l.size() > kMaxLine) {
                    out.problems << QStringLiteral("ред %1 е по-дълъг от %2 знака").arg(i + 1).arg(kMaxLine);
                    l.clear();
                }
            }
            st.fileRead = true;
            for (int i = 0; i < kLists; ++i) st.lines[size_t(i)] = lines.value(i);
            st.digitsLine = lines.value(kLists);
        }
    }

    // Every line's characters now; its length once its list has fields (now, or when it gets them).
    for (int i = 0; i < kLists && st.fileRead; ++i) {
        const QByteArray& line = st.lines[size_t(i)];
        if (SmpDataset* ds = listDataset(i))
            if (const QString problem = lengthProblem(i, *ds); !problem.isEmpty()) out.problems << problem;
        for (int k = 0; k < line.size(); ++k) {
            if (line[k] == '0' || line[k] == '1') continue;
            out.problems << QStringLiteral("ред %1 (%2): знак %3 не е 0 или 1").arg(i + 1).arg(listName(i)).arg(k + 1);
            break;
        }
    }
    if (st.fileRead) {
        const QByteArray& d = st.digitsLine;
        if (d.size() < kDigits)
            out.problems << (d.isEmpty() ? QStringLiteral("ред 11 (знаци след десетичната точка) липсва")
                                         : QStringLiteral("ред 11 (знаци след десетичната точка) има %1 знака вместо 3")
                                               .arg(d.size()));
        for (int k = 0; k < kDigits && k < d.size(); ++k) {
            if (d[k] < '0' || d[k] > '9') out.problems << QStringLiteral("ред 11: знак %1 не е цифра").arg(k + 1);
            else if (d[k] - '0' <= kMaxDecimals) out.digits[size_t(k)] = d[k] - '0';  // a digit above 5 changes nothing
        }
    }

    // Every registered dataset takes the settings; bound grids then find their columns again
    // and repaint with the new formats.
    for (const QPointer<SmpDataset>& p : std::as_const(datasets_))
        if (p && applyStored(*p)) emit p->dataReset();

    for (int i = 0; i < kLists; ++i) {
        out.lists[size_t(i)] = listState(i);
        if (!listDataset(i) && st.fileRead) out.keptLines[size_t(i)] = st.lines[size_t(i)];
    }
    return out;
}

QByteArray fileContent(const std::array<QList<bool>, kLists>& ticked, const std::array<int, kDigits>& digitValues,
                       const std::array<QByteArray, kLists>& keptLines)
{
    QByteArray out;
    for (int i = 0; i < kLists; ++i) {
        if (ticked[size_t(i)].isEmpty()) {
            out += keptLines[size_t(i)];
        } else {
            for (bool on : ticked[size_t(i)]) out += on ? '1' : '0';
        }
        out += "\r\n";
    }
    for (int v : digitValues) out += char('0' + std::clamp(v, 0, kMaxDecimals));
    out += "\r\n";
    return out;
}

QString save(const QByteArray& content)
{
    const QString path = filePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return QStringLiteral("папката не може да бъде създадена");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    file.write(content);
    if (!file.commit()) return file.errorString();
    return {};
}

QString problemsMessage(const QStringList& problems)
{
    if (problems.isEmpty()) return {};
    return QStringLiteral("Файлът с визуалните настройки\r%1\rне беше прочетен изцяло:\r- %2\rПриложено е прочетеното. "
                          "Запишете настройките отново !")
        .arg(QDir::toNativeSeparators(filePath()), problems.join(QStringLiteral("\r- ")));
}

} // namespace ColumnSettings
