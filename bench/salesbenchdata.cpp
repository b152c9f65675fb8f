#include "bench/salesbenchdata.h"

#include "platform/db/connection.h"
#include "platform/db/transaction.h"

#include <QElapsedTimer>

namespace SalesBenchData {

// Each table filled by one block on the server, all in one transaction.
double fill(SQLConnection& c)
{
    QElapsedTimer t;
    t.start();
    TransactionScope tx(c);
    c.executeImmediate(QStringLiteral(
        "execute block as declare i integer = 1; begin while (i <= %1) do begin "
        "insert into KONTRAGENTI (NKONTRAGENT, NTIP_KONTRAGENT, IMEKONTRAGENT, ADRES) "
        "values (:i, iif(mod(:i, 10) = 0, 5, iif(mod(:i, 7) = 0, 3, 1)), 'Клиент ' || :i, 'ул. ' || mod(:i, 300)); "
        "i = i + 1; end end")
                           .arg(kClients));
    c.executeImmediate(QStringLiteral(
        "execute block as declare i integer = 1; begin while (i <= %1) do begin "
        "insert into MATERIALI (NMATERIAL, IMEMATERIAL, NSKLAD, NMIARKA) values (:i, 'Изделие ' || :i, 1, 1); "
        "i = i + 1; end end")
                           .arg(kMaterials));
    // Three lines a sale; invoices in BGN, one sale in five a foreign invoice in USD and EUR; a
    // discount on one line in ten and on one sale in eight; two years of dates.
    // (Dialect 1 divides integers into doubles: the sale number is kept in an integer.)
    c.executeImmediate(QStringLiteral(
        "execute block as declare i integer = 1; declare s integer; begin while (i <= %1) do begin "
        "s = (i - 1 - mod(i - 1, %2)) / %2; "
        "insert into PRODAGBI (AUTONUM, NUMPRODAGBA, NFAKTURA, DATEFAKTURA, NKONTRAGENT, TIP_DOCUMENT, PROCENT_DDS, "
        "PROCENT_OTST, NMATERIAL, BROI_MATERIAL_IZDELIE, CENA_MATERIAL_IZDELIE, CENA_MAT_IZD_USD, CENA_MAT_IZD_EUR, "
        "OTST_IZDELIE) values (:i, 'P' || :s, lpad(:s, 10, '0'), cast('2025-01-01' as timestamp) + mod(:s, 730), "
        "1 + mod(:s * 7, %3), iif(mod(:s, 5) = 0, 2, 0), 20, iif(mod(:s, 8) = 0, 5, 0), 1 + mod(:i * 13, %4), "
        "1 + mod(:i, 12), 2 + mod(:i, 40) * 0.5, 1 + mod(:i, 30) * 0.25, 1 + mod(:i, 30) * 0.2, "
        "iif(mod(:i, 10) = 0, 3, 0)); i = i + 1; end end")
                           .arg(kLines)
                           .arg(kLinesPerSale)
                           .arg(kClients)
                           .arg(kMaterials));
    // A payment taken with two sales in three, on the sale's day.
    c.executeImmediate(QStringLiteral(
        "execute block as declare s integer = 0; begin while (s < %1) do begin "
        "if (mod(s, 3) <> 2) then "
        "insert into PRODAGBI_PLASTANE (NUMPRODAGBA, NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA, PLASTANE_SUMA_USD, "
        "PLASTANE_SUMA_EUR) values ('P' || :s, 1 + mod(:s * 7, %2), cast('2025-01-01' as timestamp) + mod(:s, 730), "
        "iif(mod(:s, 5) = 0, 0, 40 + mod(:s, 60)), iif(mod(:s, 5) = 0, 10, 0), iif(mod(:s, 5) = 0, 8, 0)); "
        "s = s + 1; end end")
                           .arg(kLines / kLinesPerSale)
                           .arg(kClients));
    // Payments entered later, against the client as a whole; one in fifty a refund.
    c.executeImmediate(QStringLiteral(
        "execute block as declare i integer = 1; begin while (i <= %1) do begin "
        "insert into PRODAGBI_PLASTANE (NUMPRODAGBA, NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA, PLASTANE_SUMA_USD, "
        "PLASTANE_SUMA_EUR, ZABELEGKA) values (null, 1 + mod(:i * 11, %2), cast('2025-01-15' as timestamp) + mod(:i, 720), "
        "iif(mod(:i, 50) = 0, -20, 30 + mod(:i, 90)), 0, iif(mod(:i, 9) = 0, 5, 0), 'Вноска ' || :i); "
        "i = i + 1; end end")
                           .arg(kLaterPayments)
                           .arg(kClients));
    tx.commit();
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace SalesBenchData
