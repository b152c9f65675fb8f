#include "data/dmproizv.h"

#include "data/dmns.h"

namespace {
using T = SmpField::Type;

struct Col
{
    const char* field;
    T type;
    const char* label;
    const char* format = "";
    bool shown = true;
    int size = 0;
};

void addFields(SmpDataset& ds, std::initializer_list<Col> cols)
{
    for (const Col& c : cols) {
        SmpField* f = ds.addDataField(QString::fromLatin1(c.field), c.type, c.size);
        f->displayLabel = QString::fromUtf8(c.label);
        f->displayFormat = QString::fromLatin1(c.format);
        f->visible = c.shown;
    }
}

SmpField* internal(SmpDataset& ds, const char* name, const char* label, const char* format, bool shown = true)
{
    SmpField* f = ds.addInternalCalcField(QString::fromLatin1(name), T::Float);
    f->displayLabel = QString::fromUtf8(label);
    f->displayFormat = QString::fromLatin1(format);
    f->visible = shown;
    return f;
}

// "Да"/"Не" of a 0/1 flag.
void yesNo(SmpDataset& ds, TDMNS& dm, const char* name, const char* flag, const char* label)
{
    SmpField* f = ds.addLookupField(QString::fromLatin1(name), &dm.SmpDaNe, QString::fromLatin1(flag),
                                    QStringLiteral("NUM_DA_NE"), QStringLiteral("TEXT_DA_NE"));
    f->displayLabel = QString::fromUtf8(label);
}

double num(const SmpDataset& ds, const char* field) { return ds.fieldByName(QString::fromLatin1(field))->asFloat(); }

const char* kQty = "# ### ##0.000";
const char* kSum = "# ### ##0.00";
} // namespace

TDMProizv::TDMProizv(TDMNS& dm, QObject* parent)
    : QObject(parent),
      SmpProizvMatNalich(QStringLiteral("SmpProizvMatNalich"), &dm.SQLConnectNS, this),
      SmpIzdelieCehPart(QStringLiteral("SmpIzdelieCehPart"), &dm.SQLConnectNS, this),
      SmpIzdPart(QStringLiteral("SmpIzdPart"), &dm.SQLConnectNS, this),
      SmpSklIskTEMP(QStringLiteral("SmpSklIskTEMP"), &dm.SQLConnectNS, this),
      SmpRecepIzdISK(QStringLiteral("SmpRecepIzdISK"), &dm.SQLConnectNS, this),
      SmpIzbRecepIzd(QStringLiteral("SmpIzbRecepIzd"), &dm.SQLConnectNS, this),
      SmpSeria(QStringLiteral("SmpSeria"), &dm.SQLConnectNS, this),
      SmpMatIskane(QStringLiteral("SmpMatIskane"), &dm.SQLConnectNS, this),
      SmpSprIskPeriod(QStringLiteral("SmpSprIskPeriod"), &dm.SQLConnectNS, this),
      SmpSklIskPRN(QStringLiteral("SmpSklIskPRN"), &dm.SQLConnectNS, this)
{
    setObjectName(QStringLiteral("DMProizv"));
    defineWorkshopLists();
    defineRequisitionLists(dm);
    defineBatchRecipe(dm);
    defineInquiry();
}

void TDMProizv::defineWorkshopLists()
{
    SmpDataset& stock = SmpProizvMatNalich;
    stock.setCommandText(QStringLiteral(
        "SELECT * FROM CEHMATNALICH(:NPROIZVODSTVOOT,:NPROIZVODSTVODO,:NMATERIALOT,:NMATERIALDO) order by imematerial"));
    stock.setReadOnly(true);
    stock.setKeyFields(QStringLiteral("NPROIZVODSTVO;NUMMATERIAL"));
    for (const char* p : {"NPROIZVODSTVOOT", "NPROIZVODSTVODO", "NMATERIALOT", "NMATERIALDO"})
        stock.setParam(QString::fromLatin1(p), 0);
    addFields(stock, {
        {"IMEPROIZVODSTVO", T::String, "Производство", "", true, 35},
        {"IMESKLAD", T::String, "Склад", "", true, 35},
        {"NUMMATERIAL", T::Integer, "№"},
        {"IMEMATERIAL", T::String, "Изделие,материал,комплект . . .", "", true, 65},
        {"IMEMKA", T::String, "Мка", "", true, 5},
        {"NALICHNOST", T::Float, "Налично", "# ### ##0.00"},
        {"DOSTAVENO", T::Float, "Доставено", "# ### ##0.00"},
        {"VLOGENO", T::Float, "Вложено", "# ### ##0.00"},
        {"ED_CENA_LV", T::Float, "Ед.ц.лв.", "# ### ##0.000"},
        {"NPROIZVODSTVO", T::Integer, "", "", false},
    });

    SmpDataset& batches = SmpIzdelieCehPart;
    batches.setCommandText(QStringLiteral(
        "select * from IZDELIECEHPARTIDA(:NPROIZVODSTVOOT,:NPROIZVODSTVODO,:NTIPIZDELIEOT,:NTIPIZDELIEDO,"
        ":DATEIZDELIEOT,:DATEIZDELIEDO)"));
    batches.setReadOnly(true);
    batches.setKeyFields(QStringLiteral("PART_NUM_IZDELIE"));
    for (const char* p : {"NPROIZVODSTVOOT", "NPROIZVODSTVODO", "NTIPIZDELIEOT", "NTIPIZDELIEDO"})
        batches.setParam(QString::fromLatin1(p), 0);
    batches.setParam(QStringLiteral("DATEIZDELIEOT"), QDate());
    batches.setParam(QStringLiteral("DATEIZDELIEDO"), QDate());
    addFields(batches, {
        {"PROIZVODSTVO", T::String, "Производство", "", true, 35},
        {"PART_NUM_IZDELIE", T::String, "Партиден №", "", true, 11},
        {"IMEIZDELIE", T::String, "Изделие /комплект/", "", true, 65},
        {"IMEMIARKA", T::String, "Мка", "", true, 5},
        {"PROIZVEDENO", T::Float, "Количество", "# ### ##0.00"},
        {"DATEIZDELIE", T::DateTime, "Дата", "dd.mm.yy"},
        {"NUMTIPIZDELIE", T::Integer, "", "", false},
        {"KOLICH_SERII", T::Integer, "Бр.серии", "# ###"},
    });

    SmpIzdPart.setCommandText(QStringLiteral("select * from ViewTipIzdelie order by IMEMATIZD"));
    SmpIzdPart.setReadOnly(true);
    SmpIzdPart.setKeyFields(QStringLiteral("NTIP_IZDELIE"));
}

void TDMProizv::defineRequisitionLists(TDMNS& dm)
{
    SmpDataset& lines = SmpSklIskTEMP;
    lines.setTableName(QStringLiteral("SKL_ISK_TEMP"));
    lines.setScratch(true);
    lines.setKeyFields(QStringLiteral("NMATERIAL"));
    addFields(lines, {
        {"NMATERIAL", T::Integer, "", "", false},
        {"NSKLAD", T::Integer, "", "", false},
        {"IMESKLAD", T::String, "Склад", "", true, 35},
        {"IMEMATERIAL", T::String, "Наименование", "", true, 65},
        {"IMEMIARKA", T::String, "Мка", "", true, 5},
        {"KOLICHOBSTO", T::Float, "Количество", kQty},
        {"CENA_KALK", T::Float, "Цена калк.", "# ##0.00"},
        {"SKL_NALICH", T::Float, "Налично-склад", kQty},
        {"IZCH_DA_NE", T::Integer, "", "", false},
        {"SUM_DA_NE", T::Integer, "", "", false},
    });
    yesNo(lines, dm, "IzchDaNe", "IZCH_DA_NE", "Изч.");
    SmpField* value = lines.addCalculatedField(QStringLiteral("ObstoLV"), T::Float);
    value->displayLabel = QStringLiteral("Общо ЛВ");
    value->displayFormat = QString::fromLatin1(kSum);
    lines.onCalcFields = [](SmpDataset& d) {
        d.setValue(QStringLiteral("ObstoLV"), num(d, "CENA_KALK") * num(d, "KOLICHOBSTO"));
    };

    SmpDataset& recipe = SmpRecepIzdISK;
    recipe.setCommandText(QStringLiteral("SELECT * FROM Recepta_Mat_SUM_Sklad(:INUMIzdelie) order by IMEMATERIAL"));
    recipe.setReadOnly(true);
    recipe.setKeyFields(QStringLiteral("NMATERIAL"));
    recipe.setParam(QStringLiteral("INUMIzdelie"), 0);
    addFields(recipe, {
        {"NSKLAD", T::Integer, "№ склад"},
        {"NMATERIAL", T::Integer, "№ мат."},
        {"IMESKLAD", T::String, "Склад", "", true, 30},
        {"IMEMATERIAL", T::String, "Наименование", "", true, 65},
        {"IMEMIARKA", T::String, "Мка", "", true, 5},
        {"KOLICHESTVO_MAT", T::Float, "Количество", "# ##0.000"},
    });
    SmpField* perCount = recipe.addCalculatedField(QStringLiteral("KolichBroi"), T::Integer);
    perCount->displayLabel = QStringLiteral("За брой");
    perCount->visible = false;
    internal(recipe, "KolichObsto", "Общо", kQty);
    addFields(recipe, {
        {"CENA_KALK", T::Float, "Цена калк.", "# ##0.00"},
        {"NALICH_SKLAD_MAT", T::Float, "Налично", kQty},
        {"IZCH_DA_NE", T::Integer, "", "", false},
    });
    SmpField* recipeValue = recipe.addCalculatedField(QStringLiteral("ObstoLV"), T::Float);
    recipeValue->displayLabel = QStringLiteral("Общо ЛВ");
    recipeValue->displayFormat = QString::fromLatin1(kSum);
    yesNo(recipe, dm, "IzchDaNe", "IZCH_DA_NE", "Изч.");
    addFields(recipe, {{"SUM_DA_NE", T::Integer, "Сумарно"}});
    recipe.onCalcFields = [this](SmpDataset& d) {
        const double total = RequisitionCount * num(d, "KOLICHESTVO_MAT");
        d.setValue(QStringLiteral("KolichBroi"), RequisitionCount);
        d.setValue(QStringLiteral("KolichObsto"), total);
        d.setValue(QStringLiteral("ObstoLV"), num(d, "CENA_KALK") * total);
    };

    SmpSeria.setTableName(QStringLiteral("SERIA"));
    SmpSeria.setKeyFields(QStringLiteral("AUTONUM"));
    addFields(SmpSeria, {{"AUTONUM", T::Integer, "", "", false}});
    for (int size = 35; size <= 45; ++size) {
        SmpField* f = SmpSeria.addDataField(QStringLiteral("N_%1").arg(size), T::Integer);
        f->displayLabel = QString::number(size);
    }
    SmpField* pairs = SmpSeria.addCalculatedField(QStringLiteral("Obsto"), T::Integer);
    pairs->displayLabel = QStringLiteral("Общо");
    SmpSeria.onCalcFields = [](SmpDataset& d) {
        int sum = 0;
        bool any = false;
        for (int size = 35; size <= 45; ++size) {
            const int n = d.fieldByName(QStringLiteral("N_%1").arg(size))->asInt();
            sum += n;
            any = any || n > 0;
        }
        d.setValue(QStringLiteral("Obsto"), any ? QVariant(sum) : QVariant());
    };

    SmpMatIskane.setCommandText(QStringLiteral(
        "select NMATERIAL, IMEMATERIAL, NSKLAD from MATERIALI where NSKLAD = :NSKLAD order by IMEMATERIAL"));
    SmpMatIskane.setReadOnly(true);
    SmpMatIskane.setKeyFields(QStringLiteral("NMATERIAL"));
    SmpMatIskane.setMaster(&dm.SmpTipSklad, QStringLiteral("NSKLAD"), QStringLiteral("NSKLAD"));
}

void TDMProizv::defineBatchRecipe(TDMNS& dm)
{
    SmpDataset& recipe = SmpIzbRecepIzd;
    recipe.setCommandText(
        QStringLiteral("SELECT * FROM Recepta_Mat_SUM_Ceh(:INumIzdelie,:Num_Proizvodstvo) order by IMEMATERIAL"));
    recipe.setReadOnly(true);
    recipe.setKeyFields(QStringLiteral("NMATERIAL"));
    recipe.setParam(QStringLiteral("INumIzdelie"), 0);
    recipe.setParam(QStringLiteral("Num_Proizvodstvo"), 0);
    addFields(recipe, {
        {"NMATERIAL", T::Integer, "№мат."},
        {"IMEMATERIAL", T::String, "Наименование", "", true, 65},
        {"IMEMIARKA", T::String, "Мка", "", true, 5},
        {"KOLICHESTVO_MAT", T::Float, "Колич.", kQty},
        {"NALICH_CEH_MAT", T::Float, "Налич. колич.", kQty},
        {"ED_CENA_CEH_MAT", T::Float, "Ед.цена", "# ##0.000"},
        {"IZCH_DA_NE", T::Integer, "", "", false},
        {"SUM_DA_NE", T::Integer, "", "", false},
    });
    yesNo(recipe, dm, "IzchDaNe", "IZCH_DA_NE", "Изч.");
    yesNo(recipe, dm, "SumDaNe", "SUM_DA_NE", "Сумарно");
    internal(recipe, "SumKolichMatRecep", "Об.колич.", kQty);
    internal(recipe, "CenaMatKolich", "Общо лв.", kSum);
    internal(recipe, "EdCenaIzd", "Ед.цена рец.", "# ##0.000");
    // The batch quantity of a row is set by the batch dialog (the count times the recipe
    // quantity, or typed); the values follow it.
    recipe.onCalcFields = [this, &dm](SmpDataset& d) {
        const double price = num(d, "ED_CENA_CEH_MAT");
        const double batch = num(d, "SumKolichMatRecep");
        d.setValue(QStringLiteral("CenaMatKolich"), price * batch);
        const bool series = dm.SmpProizIzdISK.isActive() && !dm.SmpProizIzdISK.isEmpty()
                            && dm.SmpProizIzdISK.fieldByName(QStringLiteral("SERIA_DA_NE"))->asInt() == 1;
        if (!series)
            d.setValue(QStringLiteral("EdCenaIzd"), price * num(d, "KOLICHESTVO_MAT"));
        else if (BatchCount > 0)
            d.setValue(QStringLiteral("EdCenaIzd"), price * batch / BatchCount);
    };
}

void TDMProizv::defineInquiry()
{
    SmpDataset& inquiry = SmpSprIskPeriod;
    inquiry.setCommandText(QStringLiteral(
        "select * from ISKANIA_MAT_SPRAVKA(:NPROIZVOT,:NPROIZVDO,:NMATERIALOT,:NMATERIALDO,:DATEISKANEOT,:DATEISKANEDO)"));
    inquiry.setReadOnly(true);
    inquiry.setKeyFields(QStringLiteral("IMEPROIZVIDSTVO;IMESKLAD;IMEMATERIAL"));
    for (const char* p : {"NPROIZVOT", "NPROIZVDO", "NMATERIALOT", "NMATERIALDO"}) inquiry.setParam(QString::fromLatin1(p), 0);
    inquiry.setParam(QStringLiteral("DATEISKANEOT"), QDate());
    inquiry.setParam(QStringLiteral("DATEISKANEDO"), QDate());
    addFields(inquiry, {
        {"IMEPROIZVIDSTVO", T::String, "Производство", "", true, 35},
        {"IMESKLAD", T::String, "Склад", "", true, 35},
        {"IMEMATERIAL", T::String, "Наименование", "", true, 45},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"SUMMAT_ISKANE", T::Float, "Изписано", kQty},
        {"CENA_KALK", T::Float, "Цена калк.", "# ##0.00"},
        {"OBSTA_CENA_LV_KALK", T::Float, "Об.калк.ЛВ", kSum},
        {"SREDNA_CENA_LV", T::Float, "Ср.ц.лв.", kSum},
        {"OBSTA_CENA_LV", T::Float, "Об.лв.", kSum},
        {"PRODAGNA_CENA", T::Float, "Прод.ц.лв.", kSum},
        {"OBSTA_CENA_PROD_LV", T::Float, "Об.прод.ц.лв.", kSum},
        {"OBSTO_PROD_MINUS_ISK_LV", T::Float, "Разлика", kSum},
    });

    SmpDataset& saved = SmpSklIskPRN;
    saved.setCommandText(QStringLiteral(
        "SELECT TIP_SKLAD.SKLAD, MATERIALI.IMEMATERIAL, MIARKA.MIARKA_BG, ISKANIA.KOLICHESTVO, ISKANIA.DATEISKANE, "
        "ISKANIA.NISKANE FROM ISKANIA LEFT OUTER JOIN MATERIALI ON (ISKANIA.NMATERIAL = MATERIALI.NMATERIAL) "
        "LEFT OUTER JOIN MIARKA ON (MATERIALI.NMIARKA = MIARKA.NMIARKA) LEFT OUTER JOIN TIP_SKLAD ON "
        "(ISKANIA.NSKLAD = TIP_SKLAD.NSKLAD) where ISKANIA.NISKANE=:INIskane order by MATERIALI.IMEMATERIAL"));
    saved.setReadOnly(true);
    saved.setKeyFields(QStringLiteral("IMEMATERIAL"));
    saved.setParam(QStringLiteral("INIskane"), QString());
    addFields(saved, {
        {"SKLAD", T::String, "Склад", "", true, 35},
        {"IMEMATERIAL", T::String, "Наименование на материал", "", true, 65},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"KOLICHESTVO", T::Float, "Количество", kQty},
        {"DATEISKANE", T::DateTime, "Дата", "dd.mm.yyyy"},
        {"NISKANE", T::String, "№", "", true, 11},
    });
}
