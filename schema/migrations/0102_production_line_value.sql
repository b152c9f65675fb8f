-- A requisition line reduced by giving material back keeps the price of the ledger rows it still
-- holds, so warehouse and workshop together are worth what was delivered. A stored batch's
-- drawn, sold and dispatched quantities are read from its own delivery line when it is known:
-- two batches of one product can share store mark and date.

set term ^ ;

-- Gives material of a requisition line back to the warehouse: DEL_UPDATE 0 cancels the whole line,
-- 1 reduces it to KOLICHESTVO. The workshop must still hold what goes back; the newest ledger rows
-- of the line are returned first and the line is repriced from the rows it keeps.
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
declare variable ostava double precision;
declare variable stoinost double precision;
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
    for select AUTONUM, KOLICHESTVO from SKLAD_DVIGENIE
         where VID_DVIGENIE = 2 and DOK_AUTONUM = :NUM_ZAPIS
         order by AUTONUM desc
          into :red, :kol
    do
    begin
        if (vrashta > 0.000000001) then
        begin
            if (kol <= vrashta + 0.000000001) then
                delete from SKLAD_DVIGENIE where AUTONUM = :red;
            else
                update SKLAD_DVIGENIE set KOLICHESTVO = :kol - :vrashta where AUTONUM = :red;
            vrashta = vrashta - kol;
        end
    end
    if (DEL_UPDATE = 0 or novo <= 0.000000001) then
        delete from ISKANIA where AUTONUM = :NUM_ZAPIS;
    else
    begin
        select coalesce(sum(d.KOLICHESTVO), 0), coalesce(sum(d.KOLICHESTVO * coalesce(s.ED_CENA_LV, 0)), 0)
          from SKLAD_DVIGENIE d join SKLAD s on s.AUTONUM = d.AUTONUM_SKLAD
         where d.VID_DVIGENIE = 2 and d.DOK_AUTONUM = :NUM_ZAPIS
          into :ostava, :stoinost;
        update ISKANIA set KOLICHESTVO = :novo,
                           ED_CENA_LV = iif(:ostava > 0.000000001, :stoinost / :ostava, ED_CENA_LV)
         where AUTONUM = :NUM_ZAPIS;
    end
end^

-- How much of a stored batch has been drawn, sold and dispatched: of its delivery line AUTONUM_SKLAD
-- when given, else of the lines of the product stored under the mark on the date.
create or alter procedure PROV_SKLAD_RAZHOD (NTIP_IZDELIE integer, PSEVDONIM varchar(10), DATEIZDELIE timestamp,
                                             AUTONUM_SKLAD integer = null)
returns (SUMISK double precision, SUMMAT_PRODAGBI double precision, SUMMAT_SKLOB double precision)
as
begin
    if (AUTONUM_SKLAD is not null) then
        select coalesce(sum(iif(VID_DVIGENIE = 2, KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(VID_DVIGENIE = 1, KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(VID_DVIGENIE = 3, KOLICHESTVO, 0)), 0)
          from SKLAD_DVIGENIE where AUTONUM_SKLAD = :AUTONUM_SKLAD
          into :SUMISK, :SUMMAT_PRODAGBI, :SUMMAT_SKLOB;
    else
        select coalesce(sum(iif(d.VID_DVIGENIE = 2, d.KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(d.VID_DVIGENIE = 1, d.KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(d.VID_DVIGENIE = 3, d.KOLICHESTVO, 0)), 0)
          from SKLAD s join SKLAD_DVIGENIE d on d.AUTONUM_SKLAD = s.AUTONUM
         where s.NMATERIAL = :NTIP_IZDELIE and s.NFAKTURA = :PSEVDONIM and s.DATEFAKTURA = :DATEIZDELIE
           and coalesce(s.NKONTRAGENT, 0) = 0
          into :SUMISK, :SUMMAT_PRODAGBI, :SUMMAT_SKLOB;
    suspend;
end^

set term ; ^
