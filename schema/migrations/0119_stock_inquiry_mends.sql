-- Stock inquiry mends.
-- 1. The stock at a date averages each currency over the lines priced in it: a material bought partly
--    in BGN only no longer has its EUR average diluted by the BGN lines' quantity.
-- 2. A sale's write-off is dated by the sale line's document date, as requisitions, transfers and
--    defects are by theirs, so a back-dated sale counts in the stock at its own date; the rows already
--    stored are dated so, and a line whose date is corrected takes its ledger rows with it.
-- 3. A kind of packaging that a counterparty's account holds cannot be deleted.

create exception TIP_AMBALAG_IN_USE 'Има движение на амбалаж от този вид - ИЗТРИВАНЕТО ЗАБРАНЕНО !';

set term ^ ;

create or alter procedure SKLADNALICH_KYMDATA (
    SKLADOT smallint, SKLADDO smallint, NMATERIALOT integer, NMATERIALDO integer, DATEFAKTURA_KYM timestamp)
returns (
    NSKLAD                    smallint,
    SKLAD                     varchar(35),
    NMATERIAL                 integer,
    IMEMATERIAL               varchar(65),
    MIARKA_BG                 varchar(5),
    NALICHNOST                double precision,
    SUMMAT_DOSTAVKA           double precision,
    SUMDOST_BRAK              double precision,
    SUMISK                    double precision,
    SUMMAT_PRODAGBI           double precision,
    SUMMAT_SKLOB              double precision,
    SREDNA_CENA_LV            double precision,
    SREDNA_CENA_USD           double precision,
    SREDNA_CENA_EUR           double precision,
    OBSTA_CENA_LV             double precision,
    OBSTA_CENA_USD            double precision,
    OBSTA_CENA_EUR            double precision,
    PRODAGNA_CENA             double precision,
    PRODAGNA_CENA_USD         double precision,
    PRODAGNA_CENA_EUR         double precision,
    OBSTA_CENA_PROD_LV        double precision,
    OBSTA_CENA_PROD_USD       double precision,
    OBSTA_CENA_PROD_EUR       double precision,
    OBSTO_PROD_MINUS_DOST_LV  double precision,
    OBSTO_PROD_MINUS_DOST_USD double precision,
    OBSTO_PROD_MINUS_DOST_EUR double precision)
as
declare variable upto timestamp;
declare variable lines_lv integer;
declare variable lines_usd integer;
declare variable lines_eur integer;
declare variable val_lv double precision;
declare variable val_usd double precision;
declare variable val_eur double precision;
declare variable qty_lv double precision;
declare variable qty_usd double precision;
declare variable qty_eur double precision;
declare variable vat double precision;
begin
    upto = DATEFAKTURA_KYM + 1;
    select first 1 coalesce(DDS_PROCENT, 0) from FIRMA into :vat;
    vat = coalesce(vat, 0);
    for select m.NSKLAD, max(t.SKLAD), m.NMATERIAL, max(m.IMEMATERIAL), max(mi.MIARKA_BG),
               coalesce(max(m.PRODAGNA_CENA), 0), coalesce(max(m.PRODAGNA_CENA_USD), 0),
               coalesce(max(m.PRODAGNA_CENA_EUR), 0),
               sum(coalesce(s.KOLICHESTVO, 0)),
               sum(coalesce(d.OUT_BRAK, 0)), sum(coalesce(d.OUT_ISK, 0)), sum(coalesce(d.OUT_PROD, 0)),
               sum(coalesce(d.OUT_SKLOB, 0)),
               sum(iif(s.ED_CENA_LV > 0, 1, 0)),
               sum(iif(s.ED_CENA_LV > 0, (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * s.ED_CENA_LV, 0)),
               sum(iif(s.ED_CENA_LV > 0, coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0), 0)),
               sum(iif(s.USD > 0, 1, 0)),
               sum(iif(s.USD > 0, (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * s.USD, 0)),
               sum(iif(s.USD > 0, coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0), 0)),
               sum(iif(s.EUR > 0, 1, 0)),
               sum(iif(s.EUR > 0, (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * s.EUR, 0)),
               sum(iif(s.EUR > 0, coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0), 0))
          from SKLAD s
          join MATERIALI m on m.NMATERIAL = s.NMATERIAL
          left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
          -- Each line's outflows are read through the ledger's line index; "+ 0" keeps the engine from
          -- also walking the date index over the whole period for every line.
          left join (select AUTONUM_SKLAD, sum(KOLICHESTVO) as OUT_ALL,
                            sum(iif(VID_DVIGENIE = 4, KOLICHESTVO, 0)) as OUT_BRAK,
                            sum(iif(VID_DVIGENIE = 2, KOLICHESTVO, 0)) as OUT_ISK,
                            sum(iif(VID_DVIGENIE = 1, KOLICHESTVO, 0)) as OUT_PROD,
                            sum(iif(VID_DVIGENIE = 3, KOLICHESTVO, 0)) as OUT_SKLOB
                       from SKLAD_DVIGENIE
                      where AUTONUM_SKLAD is not null and DATE_DVIGENIE + 0 < :upto
                      group by AUTONUM_SKLAD) d on d.AUTONUM_SKLAD = s.AUTONUM
         where m.NSKLAD between :SKLADOT and :SKLADDO
           and m.NMATERIAL between :NMATERIALOT and :NMATERIALDO
           and s.DATEFAKTURA < :upto
         group by m.NSKLAD, m.NMATERIAL
          into :NSKLAD, :SKLAD, :NMATERIAL, :IMEMATERIAL, :MIARKA_BG,
               :PRODAGNA_CENA, :PRODAGNA_CENA_USD, :PRODAGNA_CENA_EUR,
               :SUMMAT_DOSTAVKA, :SUMDOST_BRAK, :SUMISK, :SUMMAT_PRODAGBI, :SUMMAT_SKLOB,
               :lines_lv, :val_lv, :qty_lv, :lines_usd, :val_usd, :qty_usd, :lines_eur, :val_eur, :qty_eur
    do
    begin
        NALICHNOST = SUMMAT_DOSTAVKA - SUMDOST_BRAK - SUMISK - SUMMAT_PRODAGBI - SUMMAT_SKLOB;
        OBSTA_CENA_LV = iif(lines_lv > 0, val_lv, null);
        OBSTA_CENA_USD = iif(lines_usd > 0, val_usd, null);
        OBSTA_CENA_EUR = iif(lines_eur > 0, val_eur, null);
        -- Each currency's value over what its own lines hold.
        SREDNA_CENA_LV = iif(qty_lv > 0, val_lv / qty_lv, null);
        SREDNA_CENA_USD = iif(qty_usd > 0, val_usd / qty_usd, null);
        SREDNA_CENA_EUR = iif(qty_eur > 0, val_eur / qty_eur, null);
        OBSTA_CENA_PROD_LV = NALICHNOST * PRODAGNA_CENA;
        OBSTA_CENA_PROD_USD = NALICHNOST * PRODAGNA_CENA_USD;
        OBSTA_CENA_PROD_EUR = NALICHNOST * PRODAGNA_CENA_EUR;
        OBSTO_PROD_MINUS_DOST_LV = OBSTA_CENA_PROD_LV - coalesce(OBSTA_CENA_LV, 0);
        OBSTO_PROD_MINUS_DOST_USD = OBSTA_CENA_PROD_USD - coalesce(OBSTA_CENA_USD, 0);
        OBSTO_PROD_MINUS_DOST_EUR = OBSTA_CENA_PROD_EUR - coalesce(OBSTA_CENA_EUR, 0);
        if (vat > 0) then
        begin
            PRODAGNA_CENA = PRODAGNA_CENA + PRODAGNA_CENA * vat / 100;
            PRODAGNA_CENA_USD = PRODAGNA_CENA_USD + PRODAGNA_CENA_USD * vat / 100;
            PRODAGNA_CENA_EUR = PRODAGNA_CENA_EUR + PRODAGNA_CENA_EUR * vat / 100;
        end
        suspend;
    end
end^

-- IDOK_AUTONUM is the PRODAGBI line, written before its write-off: its document date dates the
-- ledger rows; a caller without a line gets the moment of writing, as before.
create or alter procedure SKLAD_MAT_PROD_ZAPIS (
    INUMPRODAGBA varchar(11), INUMMATERIAL integer, IBROI_MAT_PROD double precision,
    IAUTONUM_SKLAD integer, IDOK_AUTONUM integer)
returns (AUTONUM_SKLAD integer, KOLICHESTVO double precision)
as
declare variable ostava double precision;
declare variable dostaveno double precision;
declare variable nalichno double precision;
declare variable ime varchar(65);
declare variable dnes timestamp;
begin
    ostava = coalesce(IBROI_MAT_PROD, 0);
    select DATEFAKTURA from PRODAGBI where AUTONUM = :IDOK_AUTONUM into :dnes;
    dnes = coalesce(dnes, current_timestamp);
    for select s.AUTONUM, coalesce(s.KOLICHESTVO, 0)
          from SKLAD s
         where s.NMATERIAL = :INUMMATERIAL
         order by iif(s.AUTONUM = :IAUTONUM_SKLAD, 0, 1), s.DATEPOLUCHENO, s.AUTONUM
          into :AUTONUM_SKLAD, :dostaveno
    do
    begin
        if (ostava <= 0.000000001) then
            leave;
        -- Locked before it is read, as the transfers do: a second writer on the line waits, then
        -- repeats its attempt against the stock this one left.
        update SKLAD set NMATERIAL = NMATERIAL where AUTONUM = :AUTONUM_SKLAD;
        select :dostaveno - coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d
         where d.AUTONUM_SKLAD = :AUTONUM_SKLAD
          into :nalichno;
        if (nalichno > 0.000000001) then
        begin
            KOLICHESTVO = minvalue(ostava, nalichno);
            insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE, DOK_NOMER, DOK_AUTONUM)
            values (:AUTONUM_SKLAD, 1, :KOLICHESTVO, :dnes, :INUMPRODAGBA, :IDOK_AUTONUM);
            ostava = ostava - KOLICHESTVO;
            suspend;
        end
    end
    if (ostava > 0.000000001) then
    begin
        select IMEMATERIAL from MATERIALI where NMATERIAL = :INUMMATERIAL into :ime;
        exception SKLAD_OTKAZ 'Недостатъчно количество на  ' || coalesce(ime, '') || '  !';
    end
end^

create or alter procedure SKLOB_MAT_PROD_ZAPIS (
    NSKL_OBEKT integer, NUMPRODAGBA varchar(11), NUMMATERIAL integer, BROI_MAT_PROD double precision,
    IAUTONUM_SKLOB integer, IDOK_AUTONUM integer)
returns (AUTONUM_SKLOB integer, KOLICHESTVO double precision)
as
declare variable ostava double precision;
declare variable polucheno double precision;
declare variable nalichno double precision;
declare variable ime varchar(65);
declare variable dnes timestamp;
begin
    ostava = coalesce(BROI_MAT_PROD, 0);
    select DATEFAKTURA from PRODAGBI where AUTONUM = :IDOK_AUTONUM into :dnes;
    dnes = coalesce(dnes, current_timestamp);
    for select o.AUTONUM, coalesce(o.POLUCHENO, 0)
          from SKL_OBEKTI_MATERIALI o
         where o.NMATERIAL = :NUMMATERIAL and o.NSKL_OBEKT = :NSKL_OBEKT
         order by iif(o.AUTONUM = :IAUTONUM_SKLOB, 0, 1), o.DATEPOLUCHENO, o.AUTONUM
          into :AUTONUM_SKLOB, :polucheno
    do
    begin
        if (ostava <= 0.000000001) then
            leave;
        update SKL_OBEKTI_MATERIALI set NMATERIAL = NMATERIAL where AUTONUM = :AUTONUM_SKLOB;
        select :polucheno - coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d
         where d.AUTONUM_SKLOB = :AUTONUM_SKLOB
          into :nalichno;
        if (nalichno > 0.000000001) then
        begin
            KOLICHESTVO = minvalue(ostava, nalichno);
            insert into SKLAD_DVIGENIE (AUTONUM_SKLOB, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE, DOK_NOMER, DOK_AUTONUM)
            values (:AUTONUM_SKLOB, 1, :KOLICHESTVO, :dnes, :NUMPRODAGBA, :IDOK_AUTONUM);
            ostava = ostava - KOLICHESTVO;
            suspend;
        end
    end
    if (ostava > 0.000000001) then
    begin
        select IMEMATERIAL from MATERIALI where NMATERIAL = :NUMMATERIAL into :ime;
        exception SKLAD_OTKAZ 'Недостатъчно количество на  ' || coalesce(ime, '') || '  !';
    end
end^

-- A sale line's corrected document date moves its write-offs with it.
create trigger PRODAGBI_AU_DATE_DVIGENIE for PRODAGBI active after update position 10 as
begin
  if (new.DATEFAKTURA is not null and new.DATEFAKTURA is distinct from old.DATEFAKTURA) then
    update SKLAD_DVIGENIE set DATE_DVIGENIE = new.DATEFAKTURA
     where VID_DVIGENIE = 1 and DOK_AUTONUM = new.AUTONUM;
end^

-- Packaging received or returned keeps its kind, whoever writes.
create trigger TIP_AMBALAG_BUD_IN_USE for TIP_AMBALAG active before update or delete position 0 as
begin
  if ((deleting or new.NAMBALAG is distinct from old.NAMBALAG)
      and (exists(select 1 from AMB_FIRMA_DOST where NAMBALAG = old.NAMBALAG)
           or exists(select 1 from AMB_DOST_FIRMA where NAMBALAG = old.NAMBALAG))) then
    exception TIP_AMBALAG_IN_USE;
end^

set term ; ^

-- The sales stored so far: their write-offs take their lines' document dates.
update SKLAD_DVIGENIE d
   set d.DATE_DVIGENIE = (select p.DATEFAKTURA from PRODAGBI p where p.AUTONUM = d.DOK_AUTONUM)
 where d.VID_DVIGENIE = 1
   and exists (select 1 from PRODAGBI p where p.AUTONUM = d.DOK_AUTONUM and p.DATEFAKTURA is not null);
