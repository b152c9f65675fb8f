#include "data/dmns.h"

#include <utility>

// The cash book list: the orders of one currency and period. The balance before the period is
// set by whoever reloads the list (KasaNachSaldo, KasaNachSaldoLV), once per reload; the calculated
// fields add the period's sums to it.
void TDMNS::defineCashLists()
{
    using T = SmpField::Type;
    SmpDataset& ds = SmpViewKasa;
    ds.setCommandText(QStringLiteral("SELECT * FROM VIEWKASA(:NUMVALUTA,:DATEKO_OT,:DATEKO_DO)"));
    ds.setReadOnly(true);
    ds.setKeyFields(QStringLiteral("AUTONUM"));
    const auto field = [&ds](SmpField* f, const char* label, const char* format) {
        if (label) f->displayLabel = QString::fromUtf8(label);
        else f->visible = false;
        if (format) f->displayFormat = QString::fromLatin1(format);
    };
    const auto data = [&](const char* name, T type, const char* label = nullptr, const char* format = nullptr, int size = 0) {
        field(ds.addDataField(QString::fromLatin1(name), type, size), label, format);
    };
    const auto calc = [&](const char* name, bool shown) {
        field(ds.addCalculatedField(QString::fromLatin1(name), T::Float), shown ? "" : nullptr, "# ### ##0.00");
    };
    const char* money = "# ### ##0.00";
    data("AUTONUM", T::Integer);
    data("DATEKO", T::DateTime, "Дата", "dd.mm.yy");
    data("NPKO", T::Integer, "ПКО №", "# ###");
    data("NRKO", T::Integer, "РКО №", "# ###");
    data("IMEPREZFAM", T::String, "Име презиме фамилия", nullptr, 45);
    data("OSNOVANIE_KO", T::String, "Основание", nullptr, 40);
    data("GRAD", T::String, "Град", nullptr, 15);
    data("ADRES", T::String, "Адрес", nullptr, 40);
    data("SUMA_PKO", T::Float, "Сума приход", money);
    data("SUMA_RKO", T::Float, "Сума разход", money);
    calc("SsumaPko", true);
    calc("SsumaRko", true);
    calc("NachSaldo", false);
    calc("KrainoSaldo", false);
    data("NVALUTA", T::Integer);
    data("VALUTA_KURS", T::Float, "Курс", "# ##0.00000");
    ds.addLookupField(QStringLiteral("Valuta"), &SmpTipValuta, QStringLiteral("NVALUTA"), QStringLiteral("NVALUTA"),
                      QStringLiteral("VALUTA_IME"))
        ->displayLabel = QStringLiteral("Валута");
    data("SUMA_PKO_LV", T::Float, "Сума приход ЛВ", money);
    data("SUMA_RKO_LV", T::Float, "Сума разход ЛВ", money);
    calc("SsumaPkoLV", true);
    calc("SsumaRkoLV", true);
    calc("NachSaldoLV", false);
    calc("KrainoSaldoLV", false);
    data("VALUTA_BAZA", T::Integer);  // the order's own base, kept by a correction
    for (const auto& [name, expression] : {std::pair{"SumSumaPKO", "sum(suma_pko)"}, {"SumSumaRKO", "sum(suma_rko)"},
                                            {"SumSumaPKOLV", "sum(SUMA_PKO_LV)"}, {"SumSumaRKOLV", "sum(SUMA_RKO_LV)"}})
        ds.addAggregateField(QString::fromLatin1(name), QString::fromLatin1(expression))->displayFormat =
            QString::fromLatin1(money);
    ds.onCalcFields = [this](SmpDataset& d) {
        const auto sum = [&d](const char* name) { return d.fieldByName(QString::fromLatin1(name))->asFloat(); };
        const double pko = sum("SumSumaPKO"), rko = sum("SumSumaRKO"), pkoLv = sum("SumSumaPKOLV"), rkoLv = sum("SumSumaRKOLV");
        d.setValue(QStringLiteral("NachSaldo"), KasaNachSaldo);
        d.setValue(QStringLiteral("KrainoSaldo"), KasaNachSaldo + pko - rko);
        d.setValue(QStringLiteral("SsumaPko"), pko);
        d.setValue(QStringLiteral("SsumaRko"), rko);
        d.setValue(QStringLiteral("NachSaldoLV"), KasaNachSaldoLV);
        d.setValue(QStringLiteral("KrainoSaldoLV"), KasaNachSaldoLV + pkoLv - rkoLv);
        d.setValue(QStringLiteral("SsumaPkoLV"), pkoLv);
        d.setValue(QStringLiteral("SsumaRkoLV"), rkoLv);
    };
}
