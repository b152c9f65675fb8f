#include "data/dmporychki.h"

#include "data/fieldlist.h"

using FieldList::addFields;
using T = SmpField::Type;

namespace {
const char* kCount = "# ### ###";

SmpDataset& list(SmpDataset& ds, const char* sql, const char* key)
{
    ds.setCommandText(QString::fromUtf8(sql));
    ds.setReadOnly(true);
    ds.setKeyFields(QString::fromLatin1(key));
    return ds;
}
} // namespace

TDMPorychki::TDMPorychki(SQLConnection& connection, QObject* parent)
    : QObject(parent),
      SQLZapDanniPorychki(connection),
      SmpPorychkiArh(QStringLiteral("SmpPorychkiArh"), &connection, this),
      SmpViewIzdPorych(QStringLiteral("SmpViewIzdPorych"), &connection, this),
      SmpPorychki_Dvigenie(QStringLiteral("SmpPorychki_Dvigenie"), &connection, this),
      SmpPorychkaTipKontr(QStringLiteral("SmpPorychkaTipKontr"), &connection, this),
      SmpPorychkaKontr(QStringLiteral("SmpPorychkaKontr"), &connection, this),
      SmpPorychkaKontrMOL(QStringLiteral("SmpPorychkaKontrMOL"), &connection, this),
      SmpPorychkaProizv(QStringLiteral("SmpPorychkaProizv"), &connection, this),
      SmpPorychkaIzdelie(QStringLiteral("SmpPorychkaIzdelie"), &connection, this),
      SmpPorychTipKontDost(QStringLiteral("SmpPorychTipKontDost"), &connection, this),
      SmpPorychKontrDost(QStringLiteral("SmpPorychKontrDost"), &connection, this),
      SmpPorychka_Materiali(QStringLiteral("SmpPorychka_Materiali"), &connection, this),
      SmpPorychDvigMat(QStringLiteral("SmpPorychDvigMat"), &connection, this),
      SmpPorychDvigKontrSum(QStringLiteral("SmpPorychDvigKontrSum"), &connection, this),
      SmpPorychDvigKontrFull(QStringLiteral("SmpPorychDvigKontrFull"), &connection, this),
      SmpPorychProdSvobodno(QStringLiteral("SmpPorychProdSvobodno"), &connection, this),
      connection_(connection)
{
    setObjectName(QStringLiteral("DMPorychki"));
    defineOrders();
    defineChoices();
    list(SmpPorychka_Materiali,
         "SELECT NMATERIAL,IMEMATERIAL,IMEMIARKA,Ed_Cena,NEOBHODIMO,Stoinost,NALICHNO FROM "
         "PORYCHKA_MATERIALI_SUM(:Numporychka) order by IMEMATERIAL",
         "NMATERIAL");
    SmpPorychka_Materiali.setParam(QStringLiteral("Numporychka"), 0);
    defineNeeds(SmpPorychka_Materiali);
    list(SmpPorychDvigMat,
         "SELECT NMATERIAL,IMEMATERIAL,IMEMIARKA,Ed_Cena,NEOBHODIMO,Stoinost,NALICHNO FROM "
         "PORYCHKA_Dvigenie_MAT_SUM(:NtipIzdelieOt,:NtipIzdelieDo) order by IMEMATERIAL",
         "NMATERIAL");
    SmpPorychDvigMat.setParam(QStringLiteral("NtipIzdelieOt"), 1);
    SmpPorychDvigMat.setParam(QStringLiteral("NtipIzdelieDo"), 10000);
    defineNeeds(SmpPorychDvigMat);
    defineByClient();
}

void TDMPorychki::reopen(SmpDataset& ds, const QString& param, const QVariant& value)
{
    ds.close();
    ds.setParam(param, value);
    ds.open();
}

void TDMPorychki::defineOrders()
{
    // In number order, so the last row is the newest order.
    addFields(list(SmpPorychkiArh, "select * from porychki_Arhiv order by AUTONUM_NPORYCHKA", "AUTONUM_NPORYCHKA"), {
        {"AUTONUM_NPORYCHKA", T::Integer, "№ по ред", "# ###"},
        {"DATEPORYCHKA", T::DateTime, "Дата", "dd.mm.yy"},
        {"DATESROK", T::DateTime, "Срок", "dd.mm.yy"},
        {"INFO_PORYCHKA", T::Text, "", "", false},
        {"NUMKONTRAGENT", T::Integer, "№ контр.", "# ###"},
        {"IMEKONTRAGENT", T::String, "Клиент", "", true, 40},
        {"GRAD", T::String, "Населено място", "", true, 15},
        {"ADRES", T::String, "Адрес", "", false, 40},
        {"IMEMOL", T::String, "М О Л", "", false, 45},
    });

    SmpDataset& lines = list(SmpViewIzdPorych,
                             "select * from VIEWIZDELIE_porychka where NPORYCHKA = :AUTONUM_NPORYCHKA "
                             "and NKONTRAGENT = :NUMKONTRAGENT order by ImeMaterial",
                             "NPORYCHKA;NTIP_IZDELIE");
    lines.setMaster(&SmpPorychkiArh, QStringLiteral("AUTONUM_NPORYCHKA;NUMKONTRAGENT"),
                    QStringLiteral("NPORYCHKA;NKONTRAGENT"));
    addFields(lines, {
        {"NPORYCHKA", T::Integer, "№ по ред", "# ###"},
        {"NKONTRAGENT", T::Integer, "", "", false},
        {"NTIP_IZDELIE", T::Integer, "", "", false},
        {"IMEMATERIAL", T::String, "Изделие", "", true, 65},
        {"IMEMIARKA", T::String, "Мка", "", true, 5},
        {"BROI_IZDELIE", T::Float, "Брой", "# ##.00"},
        {"DATESROK_IZD", T::DateTime, "Срок", "dd.mm.yy"},
        {"DNIPREDI_DATESROK_IZD", T::Integer, "Бр.дни", "# ###"},
        {"NKONTR_IZD", T::Integer, "№ контр."},
        {"OPISANIE", T::String, "Описание", "", true, 30},
    });

    addFields(list(SmpPorychki_Dvigenie, "select * from Porychki_Dvigenie order by Ime_Izdelie", "NTIP_IZDELIE"), {
        {"NTIP_IZDELIE", T::Integer, "", "", false},
        {"IME_IZDELIE", T::String, "Изделие", "", true, 65},
        {"MIARKA_BG", T::String, "Мка", "", true, 5},
        {"BROI_IZDELIA_PORYCHKA", T::Integer, "По поръч.", kCount},
        {"BROI_IZDELIA_PREDSTOIASTI", T::Integer, "За изр.", kCount},
        {"BROI_IZDELIA_ISKANIA", T::Integer, "Изпис.", kCount},
        {"BROI_IZDELIA_VPROCES", T::Integer, "В проц.", kCount},
        {"BROI_IZDELIA_PROIZVEDENI", T::Integer, "Произв.", kCount},
        {"BROI_IZDELIA_NASKLAD", T::Integer, "На скл.", kCount},
        {"BROI_IZD_PRODADENI_PORYCHKA", T::Integer, "Прод.поръч.", kCount},
        {"BROI_IZD_PRODADENI_SVOBODNO", T::Integer, "Прод.своб.", kCount},
        {"BROI_IZDELIA_PRODADENI", T::Integer, "Прод.общо", kCount},
    });
}

void TDMPorychki::defineChoices()
{
    for (SmpDataset* types : {&SmpPorychkaTipKontr, &SmpPorychTipKontDost})
        list(*types, "select * from TIP_KONTRAGENT order by NTIP_KONTRAGENT", "NTIP_KONTRAGENT");
    for (SmpDataset* clients : {&SmpPorychkaKontr, &SmpPorychKontrDost}) {
        list(*clients, "select * from KONTRAGENTI where NTIP_KONTRAGENT = :NTIP_KONTRAGENT order by IMEKONTRAGENT",
             "NKONTRAGENT");
        clients->setParam(QStringLiteral("NTIP_KONTRAGENT"), 0);
    }
    list(SmpPorychkaKontrMOL, "select * from MOL where NKONTRAGENT = :NKONTRAGENT order by IMEMOL", "NMOL");
    SmpPorychkaKontrMOL.setParam(QStringLiteral("NKONTRAGENT"), 0);
    list(SmpPorychkaProizv, "select * from TIP_PROIZVODSTVO order by NPROIZVODSTVO", "NPROIZVODSTVO");
    list(SmpPorychkaIzdelie, "select * from SELECTIZDELIE where NPROIZVODSTVO = :NPROIZVODSTVO order by IMEMATERIAL",
         "NTIP_IZDELIE");
    SmpPorychkaIzdelie.setParam(QStringLiteral("NPROIZVODSTVO"), 0);
}

void TDMPorychki::defineNeeds(SmpDataset& needs)
{
    const char* qty = "# ### ##0.000";
    addFields(needs, {
        {"NMATERIAL", T::Integer, "№", "# ###"},
        {"IMEMATERIAL", T::String, "Материал", "", true, 65},
        {"IMEMIARKA", T::String, "Мка", "", true, 5},
        {"ED_CENA", T::Float, "Ед.цена", "# ##0.000"},
        {"NEOBHODIMO", T::Float, "Необхомо", qty},
        {"STOINOST", T::Float, "Стойност", &needs == &SmpPorychDvigMat ? qty : "# ##0.000"},
        {"NALICHNO", T::Float, "Наличност", qty},
    });
    SmpField* shortage = needs.addCalculatedField(QStringLiteral("Nedostig"), T::Float);
    shortage->displayLabel = QStringLiteral("Недостиг");
    shortage->displayFormat = QString::fromLatin1(qty);
    SmpField* copy = needs.addCalculatedField(QStringLiteral("AggObstaStoinost"), T::Float);
    copy->displayFormat = QString::fromLatin1(qty);
    copy->visible = false;
    FieldList::addSum(needs, "ObstaStoinost", "sum(Stoinost)")->displayLabel = QStringLiteral("Обща стойност");
    needs.onCalcFields = [](SmpDataset& d) {
        const double need = d.fieldByName(QStringLiteral("NEOBHODIMO"))->asFloat();
        const double stock = d.fieldByName(QStringLiteral("NALICHNO"))->asFloat();
        // Enough stock leaves the shortage empty.
        d.setValue(QStringLiteral("Nedostig"), stock < need ? QVariant(need - stock) : QVariant());
        d.setValue(QStringLiteral("AggObstaStoinost"), d.value(QStringLiteral("ObstaStoinost")));
    };
}

void TDMPorychki::defineByClient()
{
    const char* amount = "# ##0.00";
    addFields(list(SmpPorychDvigKontrSum, "select * from Porychki_Dvigenie_Kontr_Sum(:Ntip_Izdelie) order by ImeKontragent",
                   "NUMKONTRAGENT"), {
        {"NUMKONTRAGENT", T::Integer, "", "", false},
        {"IMEKONTRAGENT", T::String, "Контрагент", "", true, 40},
        {"BROI_IZDELIA_PORYCHKA", T::Float, "Поръчано", amount},
        {"BROI_IZDELIA_OSTATYK", T::Float, "Остатък", amount},
        {"BROI_IZDELIA_PRODADENI", T::Float, "Продадено", amount},
    });
    addFields(list(SmpPorychDvigKontrFull,
                   "select * from Porychki_Dvigenie_Kontr_Full(:Ntip_Izdelie) order by ImeKontragent, DatePorychka",
                   "NPORYCHKA"), {
        {"IMEKONTRAGENT", T::String, "Контрагент", "", true, 40},
        {"DATEPORYCHKA", T::DateTime, "Поръчано", "dd.mm.yy"},
        {"DATESROK", T::DateTime, "Срок", "dd.mm.yy"},
        {"BROI_IZDELIA_PORYCHKA", T::Float, "Брой", "# ###0.00"},
        {"BROI_IZDELIA_PRODADENI", T::Float, "", "", false},
        {"NPORYCHKA", T::Integer, "", "", false},
    });
    addFields(list(SmpPorychProdSvobodno,
                   "select * from Prodagbi_Svobodno(:NTip_Izdelie) order by ImeKontragent,datefaktura",
                   "NUMPRODAGBA"), {
        {"IMEKONTRAGENT", T::String, "Контрагент", "", true, 45},
        {"DATEFAKTURA", T::DateTime, "Дата", "dd.mm.yy"},
        {"BROI_IZD_PRODADENI_SVOBODNO", T::Float, "Колич.", "# ##0.00 "},
        {"NUMPRODAGBA", T::String, "", "", false, 11},
    });
    for (SmpDataset* ds : {&SmpPorychDvigKontrSum, &SmpPorychDvigKontrFull, &SmpPorychProdSvobodno})
        ds->setParam(QStringLiteral("Ntip_Izdelie"), 0);
}
