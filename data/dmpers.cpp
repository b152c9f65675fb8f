#include "data/dmpers.h"

#include "platform/base/clock.h"
#include "platform/dataset/saveatonce.h"

namespace {

using T = SmpField::Type;

// A data field; without a label it is hidden.
SmpField* data(SmpDataset& ds, const char* name, T type, const char* label = nullptr, const char* format = nullptr,
               int size = 0)
{
    SmpField* f = ds.addDataField(QString::fromLatin1(name), type, size);
    if (label) f->displayLabel = QString::fromUtf8(label);
    else f->visible = false;
    if (format) f->displayFormat = QString::fromLatin1(format);
    return f;
}

SmpField* lookup(SmpDataset& ds, const char* name, SmpDataset& list, const char* key, const char* listKey,
                 const char* result, const char* label = nullptr)
{
    SmpField* f = ds.addLookupField(QString::fromLatin1(name), &list, QString::fromLatin1(key),
                                    QString::fromLatin1(listKey), QString::fromLatin1(result));
    if (label) f->displayLabel = QString::fromUtf8(label);
    else f->visible = false;
    return f;
}

SmpField* sum(SmpDataset& ds, const char* name, const char* of, const char* format)
{
    SmpField* f = ds.addAggregateField(QString::fromLatin1(name), QStringLiteral("SUM(%1)").arg(QString::fromLatin1(of)));
    f->displayFormat = QString::fromLatin1(format);
    return f;
}

const char* kMoney = "# ### ##0.00";

} // namespace

TDMPers::TDMPers(SQLConnection& connection, QObject* parent)
    : QObject(parent), connection_(connection)
{
    setObjectName(QStringLiteral("DMPers"));
    SmpTipSlugOtchet.setTableName(QStringLiteral("TIP_SLUG_OTCHET"));
    SmpTipSlugOtchet.setIndexFieldNames(QStringLiteral("IME_SLUG_OTCHET"));
    SmpTipManip.setTableName(QStringLiteral("TIP_MANIPULACII"));
    SmpTipManip.setIndexFieldNames(QStringLiteral("IME_MANIPULACIA"));
    SmpDlygnosti.setTableName(QStringLiteral("DLYGNOSTI"));
    SmpDlygnosti.setIndexFieldNames(QStringLiteral("IME_DLYGNOST"));
    for (SmpDataset* ds : {&SmpTipSlugOtchet, &SmpTipManip, &SmpDlygnosti}) SaveAtOnce::install(*ds);
    defineStaff();
    definePayments();
    defineEarnings();
}

void TDMPers::defineStaff()
{
    SmpGradRpu.setTableName(QStringLiteral("GRADOVE"));
    SmpGradRpu.setIndexFieldNames(QStringLiteral("GRAD"));
    SmpGradRpu.setReadOnly(true);

    const auto personLookups = [this](SmpDataset& ds) {
        lookup(ds, "Grad", SmpGradRpu, "POST_KOD", "POSTKOD", "GRAD");
        lookup(ds, "Rpu", SmpGradRpu, "POST_KOD_RPU", "POSTKOD", "GRAD");
        lookup(ds, "Dlygnost", SmpDlygnosti, "KOD_DLYGNOST", "KOD_DLYGNOST", "IME_DLYGNOST");
    };

    SmpViewPers.setCommandText(QStringLiteral("select * from ViewPersonal"));
    SmpViewPers.setReadOnly(true);
    SmpViewPers.setKeyFields(QStringLiteral("SHIFYR"));
    data(SmpViewPers, "SHIFYR", T::Integer)->displayLabel = QStringLiteral("Ш-р");
    data(SmpViewPers, "IMEFULL", T::String, "Име презиме фамилия", nullptr, 47);
    data(SmpViewPers, "EGN", T::String, nullptr, nullptr, 10)->displayLabel = QStringLiteral("ЕГН");
    data(SmpViewPers, "POST_KOD", T::Integer);
    data(SmpViewPers, "ADRES_UL_N", T::String, nullptr, nullptr, 30);
    data(SmpViewPers, "LK", T::String, nullptr, nullptr, 9);
    data(SmpViewPers, "LK_DATE", T::DateTime, nullptr, "dd.mm.yy");
    data(SmpViewPers, "POST_KOD_RPU", T::Integer);
    data(SmpViewPers, "TEL", T::String, nullptr, nullptr, 30);
    data(SmpViewPers, "KOD_DLYGNOST", T::Integer);
    data(SmpViewPers, "SNIMKA", T::Bytes);
    personLookups(SmpViewPers);

    SmpPers.setTableName(QStringLiteral("PERSONAL"));
    SmpPers.setKeyFields(QStringLiteral("SHIFYR"));
    SmpPers.setMaster(&SmpViewPers, QStringLiteral("SHIFYR"), QStringLiteral("SHIFYR"));
    personLookups(SmpPers);
    // A new employee gets his staff number from the database, not the one of the list's row.
    SmpPers.onNewRecord.add([](SmpDataset& ds) { ds.setValue(QStringLiteral("SHIFYR"), QVariant()); });

    SmpViewPersMatSkl.setCommandText(QStringLiteral("select * from ViewPers_Mat_Skl(:ImeSklad)"));
    SmpViewPersMatSkl.setReadOnly(true);
    SmpViewPersMatSkl.setKeyFields(QStringLiteral("NMATERIAL"));
    SmpViewPersMatSkl.setParam(QStringLiteral("ImeSklad"), QString());

    SmpViewPersMat.setCommandText(QStringLiteral("select * from ViewPers_Mat order by imematerial"));
    SmpViewPersMat.setReadOnly(true);
    SmpViewPersMat.setKeyFields(QStringLiteral("AUTONUM"));
    SmpViewPersMat.setMaster(&SmpViewPers, QStringLiteral("SHIFYR"), QStringLiteral("SHIFYR"));
    data(SmpViewPersMat, "AUTONUM", T::Integer);
    data(SmpViewPersMat, "SHIFYR", T::Integer);
    data(SmpViewPersMat, "NMATERIAL", T::Integer);
    data(SmpViewPersMat, "IMEMATERIAL", T::String, "Инструмент, съоръжение ...", nullptr, 65);
    data(SmpViewPersMat, "IMEMKA", T::String, "Мка", nullptr, 5);
    data(SmpViewPersMat, "KOLICHESTVO", T::Float, "Колич.", "# ##0.00");
    data(SmpViewPersMat, "DATEOT", T::DateTime, "От дата", "dd.mm.yy");
    data(SmpViewPersMat, "DATEDO", T::DateTime, "До дата", "dd.mm.yy");
    data(SmpViewPersMat, "SUMNALICHNOST", T::Float);

    // One issue is one record: it follows the tool list by the record's key, so two issues of the
    // same tool to one employee stay apart.
    SmpPersMat.setTableName(QStringLiteral("MATERIAL_PERSONAL"));
    SmpPersMat.setKeyFields(QStringLiteral("AUTONUM"));
    SmpPersMat.setMaster(&SmpViewPersMat, QStringLiteral("AUTONUM"), QStringLiteral("AUTONUM"));
    data(SmpPersMat, "AUTONUM", T::Integer);
    data(SmpPersMat, "NMATERIAL", T::Integer);
    data(SmpPersMat, "KOLICHESTVO", T::Float, "Количество", "# ##0.000");
    data(SmpPersMat, "SHIFYR", T::Integer);
    data(SmpPersMat, "DATEOT", T::DateTime, "От дата", "dd.mm.yy");
    data(SmpPersMat, "DATEDO", T::DateTime, "До дата", "dd.mm.yy");
    lookup(SmpPersMat, "ImeMaterial", SmpViewPersMatSkl, "NMATERIAL", "NMATERIAL", "IMEMATERIAL", "Наименование");
    SmpPersMat.onNewRecord.add([this](SmpDataset& ds) {
        ds.setValue(QStringLiteral("AUTONUM"), QVariant());
        ds.setValue(QStringLiteral("SHIFYR"), SmpViewPers.isEmpty() ? QVariant() : SmpViewPers.value(QStringLiteral("SHIFYR")));
    });

    SmpGodMes.setTableName(QStringLiteral("GODMES"));
    SmpGodMes.setIndexFieldNames(QStringLiteral("GGGGMM"));
    SmpGodMes.setReadOnly(true);
}

void TDMPers::definePayments()
{
    const auto movementColumns = [](SmpDataset& ds) {
        data(ds, "NUM_ZAPIS", T::Integer);
        data(ds, "RAZPL_DATE", T::DateTime, "Дата", "dd.mm.yy");
        data(ds, "RAZPL_LV", T::Float, "Лева", kMoney);
        data(ds, "RAZPL_USD", T::Float, nullptr, kMoney)->displayLabel = QStringLiteral("USD");
        data(ds, "RAZPL_EUR", T::Float, nullptr, kMoney)->displayLabel = QStringLiteral("EUR");
        data(ds, "IME_SLUG_OTCHET", T::String, "Основание", nullptr, 20);
        data(ds, "AVANS_OT_IME", T::String, "Аванс от", nullptr, 47);
        data(ds, "AVANS_NA_IME", T::String, "Аванс на", nullptr, 47);
        data(ds, "ZABELEGKA", T::String, "Забележка", nullptr, 30);
        data(ds, "AVANS_OTCHET_DOST", T::Integer);
        data(ds, "NTIP_SLUG_OTCHET", T::Integer);
        data(ds, "AVANS_OT_SHIFYR", T::Integer);
        data(ds, "AVANS_NA_SHIFYR", T::Integer);
        ds.setReadOnly(true);
        // A supplier payment may share its number with an advance or report.
        ds.setKeyFields(QStringLiteral("NUM_ZAPIS;AVANS_OTCHET_DOST"));
    };
    SmpViewRazplPers.setCommandText(QStringLiteral("select * from Razpl_Personal(:Shifyr) order by Razpl_Date"));
    SmpViewRazplPers.setParam(QStringLiteral("Shifyr"), 0);
    movementColumns(SmpViewRazplPers);

    SmpSlugRazplObsto.setCommandText(
        QStringLiteral("select * from VIEWRAZPLPERS order by IMEFULL,RAZPL_DATE,IME_SLUG_OTCHET"));
    data(SmpSlugRazplObsto, "NUMSHIFYR", T::Integer);
    data(SmpSlugRazplObsto, "IMEFULL", T::String, "Име", nullptr, 47);
    movementColumns(SmpSlugRazplObsto);
    SmpSlugRazplObsto.setKeyFields(QStringLiteral("NUMSHIFYR;NUM_ZAPIS;AVANS_OTCHET_DOST"));

    const auto balance = [](SmpDataset& ds, const char* sql) {
        ds.setCommandText(QString::fromLatin1(sql));
        ds.setReadOnly(true);
        for (const char* what : {"AVANS", "OTCHET", "DOST", "RAZLIKA"})
            for (const char* cur : {"LV", "USD", "EUR"})
                data(ds, QStringLiteral("%1_%2").arg(QLatin1String(what), QLatin1String(cur)).toLatin1().constData(),
                     T::Float, cur, kMoney);
    };
    balance(SmpRazplPersSpr, "select * from RAZPL_PERSONAL_spravka(:shifyr_Ot,:shifyr_Do)");
    SmpRazplPersSpr.setParam(QStringLiteral("shifyr_Ot"), 0);
    SmpRazplPersSpr.setParam(QStringLiteral("shifyr_Do"), 0);
    balance(SmpRazplPersSprObsto, "select * from RAZPL_PERSONAL_spravka(1,10000)");

    SmpAvansOtShifPers.setCommandText(QStringLiteral("select SHIFYR, IMEFULL from ViewPersonal order by ImeFull"));
    SmpAvansOtShifPers.setReadOnly(true);
    SmpAvansOtShifPers.setKeyFields(QStringLiteral("SHIFYR"));

    const auto buffer = [](SmpDataset& ds, const char* table) {
        ds.setTableName(QString::fromLatin1(table));
        ds.setScratch(true);
        data(ds, "NUM_ZAPIS", T::Integer);
        data(ds, "SHIFYR", T::Integer);
        data(ds, "SUMA_DATE", T::DateTime, "Дата", "dd.mm.yy");
        for (const char* f : {"SUMA_LV", "SUMA_USD", "SUMA_EUR"}) data(ds, f, T::Float, f, kMoney);
    };
    buffer(SmpSlugAvansTemp, "SLUG_AVANS_TEMP");
    data(SmpSlugAvansTemp, "ZABELEGKA", T::String, "Забележка", nullptr, 30);
    data(SmpSlugAvansTemp, "AVANS_OT_SHIFYR", T::Integer);
    lookup(SmpSlugAvansTemp, "AvansOtIme", SmpAvansOtShifPers, "AVANS_OT_SHIFYR", "SHIFYR", "IMEFULL", "Аванс на");
    buffer(SmpSlugOtchetTemp, "SLUG_OTCHET_TEMP");
    data(SmpSlugOtchetTemp, "NTIP_SLUG_OTCHET", T::Integer);
    data(SmpSlugOtchetTemp, "ZABELEGKA", T::String, "Забележка", nullptr, 30);
    lookup(SmpSlugOtchetTemp, "ImeSlugOtchet", SmpTipSlugOtchet, "NTIP_SLUG_OTCHET", "NTIP_SLUG_OTCHET",
           "IME_SLUG_OTCHET", "Основание");
}

void TDMPers::defineEarnings()
{
    SmpVedManip.setTableName(QStringLiteral("VEDOMOST_MANIPULACII"));
    SmpVedManip.setKeyFields(QStringLiteral("AUTONUM"));
    SmpVedManip.setIndexFieldNames(QStringLiteral("GGGGMM;GGGGMM_DEN"));
    SmpVedManip.setMaster(&SmpViewPers, QStringLiteral("SHIFYR"), QStringLiteral("SHIFYR"));
    data(SmpVedManip, "AUTONUM", T::Integer);
    data(SmpVedManip, "GGGGMM", T::String, "Ггггмм", nullptr, 6);
    data(SmpVedManip, "GGGGMM_DEN", T::Integer, "Ден");
    data(SmpVedManip, "SHIFYR", T::Integer);
    data(SmpVedManip, "NUM_MANIPULACIA", T::Integer);
    lookup(SmpVedManip, "ImeManip", SmpTipManip, "NUM_MANIPULACIA", "NUM_MANIPULACIA", "IME_MANIPULACIA", "Манипулация");
    data(SmpVedManip, "BROI_MANIPULACII", T::Integer, "Брой", "# ###");
    data(SmpVedManip, "RAZCENKA", T::Float, "Разценка", "# ##0.00")->readOnly = true;
    data(SmpVedManip, "STOINOST_MANIPULACII", T::Float, "Общо лв.", "# ##0.00")->readOnly = true;
    lookup(SmpVedManip, "RazcenkaTipManip", SmpTipManip, "NUM_MANIPULACIA", "NUM_MANIPULACIA", "RAZCENKA");
    sum(SmpVedManip, "SumStoinost", "STOINOST_MANIPULACII", "# ##0.00");
    sum(SmpVedManip, "SumBroiManip", "BROI_MANIPULACII", "# ###");
    SmpVedManip.onNewRecord.add([this](SmpDataset& ds) {
        ds.setValue(QStringLiteral("AUTONUM"), QVariant());
        if (!SmpGodMes.isEmpty()) ds.setValue(QStringLiteral("GGGGMM"), SmpGodMes.value(QStringLiteral("GGGGMM")));
        ds.setValue(QStringLiteral("GGGGMM_DEN"), Clock::today().day());
    });
    // Each line keeps the rate valid when it was last saved.
    SmpVedManip.beforePost.add([](SmpDataset& ds) {
        ds.setValue(QStringLiteral("RAZCENKA"), ds.value(QStringLiteral("RazcenkaTipManip")));
    });
    SaveAtOnce::install(SmpVedManip, {&SmpViewVedZarab});

    SmpViewVedZarab.setCommandText(
        QStringLiteral("select * from VIEWVEDOMOST_ZARABOTKA_SHIFYR(:SHIFYR,:GGGGMM_OT,:GGGGMM_DO,:DEN_OT,:DEN_DO)"));
    SmpViewVedZarab.setReadOnly(true);
    SmpViewVedZarab.setKeyFields(QStringLiteral("GGGGMM"));
    data(SmpViewVedZarab, "GGGGMM", T::String, nullptr, nullptr, 6);
    data(SmpViewVedZarab, "GODMESIME", T::String, "Месец,год.", nullptr, 15);
    data(SmpViewVedZarab, "MANIPULACII_MESEC", T::Integer, "Бр.", "# ###");
    data(SmpViewVedZarab, "ZARABOTKA_MESEC", T::Float, "Сума", "# ##0.00");
    sum(SmpViewVedZarab, "SumZarab_god", "ZARABOTKA_MESEC", "# ##0.00");
    sum(SmpViewVedZarab, "SumManip_god", "MANIPULACII_MESEC", "# ### ###");
    SmpViewVedZarab.setParam(QStringLiteral("SHIFYR"), 0);
    SmpViewVedZarab.setParam(QStringLiteral("DEN_OT"), 1);
    SmpViewVedZarab.setParam(QStringLiteral("DEN_DO"), 31);

    SmpVedZarabFirma.setCommandText(QStringLiteral(
        "select * from VIEWVEDOMOST_ZARABOTKA_FIRMA(:GGGGMM_OT,:GGGGMM_DO,:DEN_OT,:DEN_DO) order by ggggmm,IMEPREZFAM"));
    SmpVedZarabFirma.setReadOnly(true);
    SmpVedZarabFirma.setKeyFields(QStringLiteral("GGGGMM;SHIFYR"));
    data(SmpVedZarabFirma, "GGGGMM", T::String, nullptr, nullptr, 6);
    data(SmpVedZarabFirma, "GODMESIME", T::String, "Месец, година", nullptr, 15);
    data(SmpVedZarabFirma, "SHIFYR", T::Integer);
    data(SmpVedZarabFirma, "IMEPREZFAM", T::String, "Име презиме фамилия", nullptr, 47);
    data(SmpVedZarabFirma, "IMEDLYGNOST", T::String, "Длъжност", nullptr, 30);
    data(SmpVedZarabFirma, "MANIPULACII_MESEC", T::Integer, "Бр.манип.", "# ###");
    data(SmpVedZarabFirma, "ZARABOTKA_MESEC", T::Float, "Заработено", "# ##0.00");
    sum(SmpVedZarabFirma, "SumZarabFirma", "ZARABOTKA_MESEC", "# ##0.00");
    sum(SmpVedZarabFirma, "SumManipFirma", "MANIPULACII_MESEC", "# ### ###");
}

void TDMPers::reloadPayments()
{
    const QVariant shifyr = SmpViewPers.isEmpty() ? QVariant(0) : SmpViewPers.value(QStringLiteral("SHIFYR"));
    SmpViewRazplPers.close();
    SmpViewRazplPers.setParam(QStringLiteral("Shifyr"), shifyr);
    SmpViewRazplPers.open();
    SmpViewRazplPers.last();
    SmpRazplPersSpr.close();
    SmpRazplPersSpr.setParam(QStringLiteral("shifyr_Ot"), shifyr);
    SmpRazplPersSpr.setParam(QStringLiteral("shifyr_Do"), shifyr);
    SmpRazplPersSpr.open();
    if (SmpRazplPersSprObsto.isActive()) SmpRazplPersSprObsto.refresh();
    else SmpRazplPersSprObsto.open();
}

void TDMPers::setEarningsYear()
{
    const QString year = SmpGodMes.isEmpty() ? QString::number(Clock::today().year())
                                             : SmpGodMes.value(QStringLiteral("GGGGMM")).toString().left(4);
    SmpViewVedZarab.setParam(QStringLiteral("GGGGMM_OT"), year + QStringLiteral("01"));
    SmpViewVedZarab.setParam(QStringLiteral("GGGGMM_DO"), year + QStringLiteral("12"));
}

void TDMPers::reloadEarnings()
{
    SmpViewVedZarab.close();
    SmpViewVedZarab.setParam(QStringLiteral("SHIFYR"),
                             SmpViewPers.isEmpty() ? QVariant(0) : SmpViewPers.value(QStringLiteral("SHIFYR")));
    setEarningsYear();
    SmpViewVedZarab.open();
}

void TDMPers::reopenIssuableTools(const QString& warehouse)
{
    SmpViewPersMatSkl.close();
    SmpViewPersMatSkl.setParam(QStringLiteral("ImeSklad"), warehouse);
    SmpViewPersMatSkl.open();
}

void TDMPers::filterWorkLines()
{
    const QString month = SmpGodMes.isEmpty() ? QString() : SmpGodMes.value(QStringLiteral("GGGGMM")).toString();
    SmpVedManip.close();
    SmpVedManip.setFilter(QStringLiteral("ggggmm=") + month);
    SmpVedManip.setFiltered(true);
    SmpVedManip.open();
}
