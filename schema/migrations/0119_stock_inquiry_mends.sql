-- Stock inquiry mends.
-- 1. A sale's write-off is dated by the sale line's document date, as requisitions, transfers and
--    defects are by theirs, so a back-dated sale counts in the stock at its own date; the rows already
--    stored are dated so, and a line whose date is corrected takes its ledger rows with it.
-- 2. A kind of packaging that a counterparty's account holds cannot be deleted.

create exception TIP_AMBALAG_IN_USE 'Има движение на амбалаж от този вид - ИЗТРИВАНЕТО ЗАБРАНЕНО !';

set term ^ ;

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
