-- Material given back from a workshop leaves every ledger row of its requisition line in proportion
-- to that row's quantity (the last row takes the rounding remainder). What goes back is therefore
-- worth the quantity at the line's average price, and the line keeps that price: batches were
-- charged at it, so warehouse, batches and workshop together stay worth what was delivered.

set term ^ ;

-- Gives material of a requisition line back to the warehouse: DEL_UPDATE 0 cancels the whole line,
-- 1 reduces it to KOLICHESTVO. The workshop must still hold what goes back.
create or alter procedure DEL_UPDATE_ISKANIA (DEL_UPDATE integer, NUM_ZAPIS integer, KOLICHESTVO double precision)
as
declare variable ceh integer;
declare variable mat integer;
declare variable staro double precision;
declare variable novo double precision;
declare variable vrashta double precision;
declare variable nalichno double precision;
declare variable red integer;
declare variable kol double precision;
declare variable redove double precision;
declare variable broi integer;
declare variable poreden integer;
declare variable dial double precision;
declare variable vyrnato double precision;
begin
    select NPROIZVODSTVO, NMATERIAL, coalesce(KOLICHESTVO, 0) from ISKANIA where AUTONUM = :NUM_ZAPIS
      into :ceh, :mat, :staro;
    if (ceh is null) then
        exception SKLAD_OTKAZ 'Редът на искането не е намерен !';
    novo = iif(DEL_UPDATE = 0, 0, coalesce(KOLICHESTVO, 0));
    if (novo < 0 or novo > staro) then
        exception SKLAD_OTKAZ 'Невалидно количество за връщане в склад !';
    vrashta = staro - novo;
    select NALICHNOST from CEH_MAT_SALDO(:ceh, :mat) into :nalichno;
    if (nalichno < vrashta - 0.00000001) then
        exception SKLAD_OTKAZ 'Цехът не разполага с количеството за връщане в склад !';
    if (DEL_UPDATE = 0 or novo <= 0.000000001) then
        delete from SKLAD_DVIGENIE where VID_DVIGENIE = 2 and DOK_AUTONUM = :NUM_ZAPIS;
    else
    begin
        select coalesce(sum(KOLICHESTVO), 0), count(*) from SKLAD_DVIGENIE
         where VID_DVIGENIE = 2 and DOK_AUTONUM = :NUM_ZAPIS
          into :redove, :broi;
        if (redove > 0.000000001) then
        begin
            poreden = 0;
            vyrnato = 0;
            for select AUTONUM, KOLICHESTVO from SKLAD_DVIGENIE
                 where VID_DVIGENIE = 2 and DOK_AUTONUM = :NUM_ZAPIS
                 order by AUTONUM
                  into :red, :kol
            do
            begin
                poreden = poreden + 1;
                dial = iif(poreden = broi, vrashta - vyrnato, kol * vrashta / redove);
                dial = maxvalue(0, minvalue(dial, kol));
                vyrnato = vyrnato + dial;
                if (kol - dial <= 0.000000001) then
                    delete from SKLAD_DVIGENIE where AUTONUM = :red;
                else
                    update SKLAD_DVIGENIE set KOLICHESTVO = :kol - :dial where AUTONUM = :red;
            end
        end
    end
    if (DEL_UPDATE = 0 or novo <= 0.000000001) then
        delete from ISKANIA where AUTONUM = :NUM_ZAPIS;
    else
        update ISKANIA set KOLICHESTVO = :novo where AUTONUM = :NUM_ZAPIS;
end^

set term ; ^
