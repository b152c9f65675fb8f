-- Warehouse objects, guarded on the server as well, since the windows are not the only writers:
-- * goods that came back keep the quantity they were booked with: a sale's returned goods (into an
--   object or a warehouse) and goods booked from an object into a warehouse are neither deleted nor
--   lowered, and an object's returned goods are never booked into a warehouse;
-- * a correction of a line transferred into an object never raises it and gives what it takes off
--   back to the lines it was drawn from, never going below what has left the line;
-- * a transfer draws first from the source line the user picked, and locks every source line before
--   it reads its stock, so a second workstation drawing from the same line waits and reads it anew.

-- The transfer list remembers the source line a line was picked from (a delivery line from a
-- warehouse, an object line from an object).
alter table SKL_OBEKTI_TEMP add AUTONUM_IZTOCHNIK integer;

-- Object lines holding goods a sale brought back: they have no object receipt, and the sale's
-- returned-goods row (negative quantity) names their object, material and document.
create view SKLOB_VYRNATA_PRODAGBA (AUTONUM) as
select o.AUTONUM
from SKL_OBEKTI_MATERIALI o
where coalesce(o.NUM_SKL_RAZP, 0) = 0
  and exists (select 1 from PRODAGBI_MATERIALI pm
              where pm.BROI_MAT_PROD < 0 and pm.NSKL_OBEKT = o.NSKL_OBEKT and pm.NMATERIAL = o.NMATERIAL
                and pm.NKONTRAGENT = o.NKONTRAGENT and pm.NFAKTURA = o.NFAKTURA
                and pm.DATEFAKTURA = o.DATEFAKTURA);

-- Delivery lines of goods that came back: VID 1 a sale's returned goods, 2 goods booked from a
-- warehouse object (counterparty 30000).
create view SKLAD_VYRNATA_STOKA (AUTONUM, VID) as
select s.AUTONUM, iif(s.NKONTRAGENT = 30000, 2, 1)
from SKLAD s
where s.NKONTRAGENT = 30000
   or exists (select 1 from PRODAGBI_MATERIALI pm
              where pm.BROI_MAT_PROD < 0 and coalesce(pm.NSKL_OBEKT, 0) < 1 and pm.NMATERIAL = s.NMATERIAL
                and pm.NKONTRAGENT = s.NKONTRAGENT and pm.NFAKTURA = s.NFAKTURA
                and pm.DATEFAKTURA = s.DATEFAKTURA);

set term ^ ;

-- As in 0081, and the line of a sale's returned goods is neither removed nor lowered.
create or alter procedure DEL_UPD_SKLOB_MATERIALI (DEL_UPD integer, AUTONUM integer, NEW_POLUCHENO double precision)
as
declare variable polucheno double precision;
declare variable izlezlo double precision;
declare variable vryshta double precision;
declare variable red integer;
declare variable kol double precision;
begin
    polucheno = null;
    select coalesce(POLUCHENO, 0) from SKL_OBEKTI_MATERIALI where AUTONUM = :AUTONUM into :polucheno;
    if (polucheno is null) then
        exception SKLAD_OTKAZ 'Редът на складовия обект вече не съществува !';
    if ((DEL_UPD = 1 or NEW_POLUCHENO is null or abs(NEW_POLUCHENO - polucheno) > 0.000001)
        and exists(select 1 from SKLOB_VYRNATA_PRODAGBA v where v.AUTONUM = :AUTONUM)) then
        exception SKLAD_OTKAZ 'Върната продажба  ! Изтриването или намаляването невъзможно !!!';
    select coalesce(sum(KOLICHESTVO), 0) from SKLAD_DVIGENIE where AUTONUM_SKLOB = :AUTONUM into :izlezlo;
    if (DEL_UPD = 1) then
    begin
        if (izlezlo > 0) then
            exception SKLAD_OTKAZ 'Има продадено или експедирано количество - изтриването невъзможно !';
        delete from SKLAD_DVIGENIE where VID_DVIGENIE = 3 and DOK_AUTONUM = :AUTONUM;
        delete from SKL_OBEKTI_MATERIALI where AUTONUM = :AUTONUM;
        exit;
    end
    if (NEW_POLUCHENO is null or NEW_POLUCHENO < izlezlo - 0.000001) then
        exception SKLAD_OTKAZ 'Количеството е по-малко от продаденото и експедираното !';
    if (NEW_POLUCHENO > polucheno + 0.000001) then
        exception SKLAD_OTKAZ 'Полученото количество не се увеличава по този начин !';
    vryshta = polucheno - NEW_POLUCHENO;
    for select AUTONUM, KOLICHESTVO from SKLAD_DVIGENIE
         where VID_DVIGENIE = 3 and DOK_AUTONUM = :AUTONUM
         order by AUTONUM desc
          into :red, :kol
    do
    begin
        if (vryshta > 0.000000001) then
        begin
            if (kol <= vryshta + 0.000000001) then
                delete from SKLAD_DVIGENIE where AUTONUM = :red;
            else
                update SKLAD_DVIGENIE set KOLICHESTVO = :kol - :vryshta where AUTONUM = :red;
            vryshta = vryshta - minvalue(kol, vryshta);
        end
    end
    update SKL_OBEKTI_MATERIALI set POLUCHENO = :NEW_POLUCHENO where AUTONUM = :AUTONUM;
end^

-- ADD_UPD 1 adds a received line of a warehouse object; 0 rewrites quantity and prices of line
-- NAUTONUM. The quantity is compared with what has left the line in hundredths, as the correction
-- window compares it, and never set below it. A line transferred into the object is not raised, and
-- what it is lowered by goes back to its source lines; a sale's returned goods keep their quantity.
create or alter procedure ADDDOSTAVKA_SKLOB (
    ADD_UPD integer, NAUTONUM integer, NUM_SKL_RAZP integer, NUM_SKL_RAZP_DOPN integer,
    NSKL_OBEKT integer, NMATERIAL integer, KOLICHESTVO double precision, ED_CENA_LV double precision,
    USD double precision, EUR double precision, DATEPOLUCHENO timestamp, NKONTRAGENT integer,
    NFAKTURA varchar(10), DATEFAKTURA timestamp)
returns (AUTONUM integer)
as
declare variable izlezlo double precision;
declare variable polucheno double precision;
declare variable prehvyrlen smallint;
begin
    if (ADD_UPD = 1) then
        insert into SKL_OBEKTI_MATERIALI (NUM_SKL_RAZP, NUM_SKL_RAZP_DOPN, NSKL_OBEKT, NMATERIAL, POLUCHENO,
                                          DATEPOLUCHENO, ED_CENA_LV, USD, EUR, NKONTRAGENT, NFAKTURA,
                                          DATEFAKTURA)
        values (:NUM_SKL_RAZP, :NUM_SKL_RAZP_DOPN, :NSKL_OBEKT, :NMATERIAL, :KOLICHESTVO, :DATEPOLUCHENO,
                :ED_CENA_LV, :USD, :EUR, :NKONTRAGENT, :NFAKTURA, :DATEFAKTURA)
        returning AUTONUM into :AUTONUM;
    else
    begin
        polucheno = null;
        select coalesce(POLUCHENO, 0), iif(coalesce(NSKLAD_VHOD, 0) > 0 or coalesce(NSKL_OBEKT_VHOD, 0) > 0, 1, 0)
          from SKL_OBEKTI_MATERIALI where AUTONUM = :NAUTONUM
          into :polucheno, :prehvyrlen;
        if (polucheno is null) then
            exception SKLAD_OTKAZ 'Редът на складовия обект вече не съществува !';
        select coalesce(sum(KOLICHESTVO), 0) from SKLAD_DVIGENIE where AUTONUM_SKLOB = :NAUTONUM
          into :izlezlo;
        if (KOLICHESTVO is null or round(KOLICHESTVO * 100, 0) < round(izlezlo * 100, 0)) then
            exception SKLAD_OTKAZ 'Въведеното количество е по-малко от изписаното+продаденото+експедираното !';
        if (KOLICHESTVO < izlezlo) then
            KOLICHESTVO = izlezlo;
        if (abs(KOLICHESTVO - polucheno) > 0.000001) then
        begin
            if (exists(select 1 from SKLOB_VYRNATA_PRODAGBA v where v.AUTONUM = :NAUTONUM)) then
                exception SKLAD_OTKAZ 'Върната продажба  ! Количеството не се променя !!!';
            if (prehvyrlen = 1) then
            begin
                if (KOLICHESTVO > polucheno) then
                    exception SKLAD_OTKAZ 'Количеството на прехвърлен ред не се увеличава - прехвърлете още !';
                execute procedure DEL_UPD_SKLOB_MATERIALI 0, :NAUTONUM, :KOLICHESTVO;
            end
        end
        update SKL_OBEKTI_MATERIALI
           set POLUCHENO = :KOLICHESTVO, ED_CENA_LV = :ED_CENA_LV, USD = :USD, EUR = :EUR
         where AUTONUM = :NAUTONUM;
        AUTONUM = NAUTONUM;
    end
end^

-- As in 0031, and goods that came back are not deleted.
create or alter procedure DEL_DOSTAVKA (
    INMATERIAL integer, INKONTRAGENT integer, INFAKTURA varchar(10), IDATEFAKTURA timestamp,
    IDATEPOLUCHENO timestamp, IAUTONUM integer)
as
declare variable redove integer;
declare variable vyrnato smallint;
begin
    if (IAUTONUM is null) then
    begin
        select count(*), max(AUTONUM) from SKLAD
         where NMATERIAL = :INMATERIAL and NKONTRAGENT = :INKONTRAGENT and NFAKTURA = :INFAKTURA
           and DATEFAKTURA = :IDATEFAKTURA and DATEPOLUCHENO = :IDATEPOLUCHENO
          into :redove, :IAUTONUM;
        if (redove > 1) then
            exception SKLAD_OTKAZ 'Документът съдържа материала повече от веднъж - изберете реда !';
    end
    select VID from SKLAD_VYRNATA_STOKA where AUTONUM = :IAUTONUM into :vyrnato;
    if (vyrnato = 1) then
        exception SKLAD_OTKAZ 'Върната продажба  ! Изтриването невъзможно !!!';
    if (vyrnato = 2) then
        exception SKLAD_OTKAZ 'Върнато от складов обект  ! Изтриването невъзможно !!!';
    if (exists(select 1 from SKLAD_DVIGENIE where AUTONUM_SKLAD = :IAUTONUM)) then
        exception SKLAD_OTKAZ 'Има изразходвани количества от доставката - ИЗТРИВАНЕТО ЗАБРАНЕНО !  ';
    delete from SKLAD where AUTONUM = :IAUTONUM;
end^

-- As in 0035, and goods that came back keep their quantity.
create or alter procedure UPDATESKLAD (
    NMATERIAL integer, SHIFYR integer, NKONTRAGENT integer, NFAKTURA varchar(10), DATEFAKTURA timestamp,
    DATEPOLUCHENO timestamp, KOLICHESTVO double precision, EDCENALV double precision, USD double precision,
    EUR double precision, PROCENT_OTST double precision, PROCENT_DDS double precision,
    KOMIS double precision, DATEGODNOST timestamp, UPD_GODNOST smallint, NAUTONUM integer)
as
declare variable redove integer;
declare variable izlezlo double precision;
declare variable vyrnato smallint;
declare variable bilo double precision;
begin
    if (NAUTONUM is null) then
    begin
        select count(*), max(AUTONUM) from SKLAD
         where NMATERIAL = :NMATERIAL and NKONTRAGENT = :NKONTRAGENT and NFAKTURA = :NFAKTURA
           and DATEFAKTURA = :DATEFAKTURA and DATEPOLUCHENO = :DATEPOLUCHENO
          into :redove, :NAUTONUM;
        if (redove > 1) then
            exception SKLAD_OTKAZ 'Документът съдържа материала повече от веднъж - изберете реда !';
    end
    select v.VID, s.KOLICHESTVO from SKLAD_VYRNATA_STOKA v join SKLAD s on s.AUTONUM = v.AUTONUM
     where v.AUTONUM = :NAUTONUM
      into :vyrnato, :bilo;
    if (vyrnato is not null and (KOLICHESTVO is null or abs(KOLICHESTVO - coalesce(bilo, 0)) > 0.000001)) then
    begin
        if (vyrnato = 1) then
            exception SKLAD_OTKAZ 'Върната продажба  ! Количеството не се променя !!!';
        exception SKLAD_OTKAZ 'Върнато от складов обект  ! Количеството не се променя !!!';
    end
    select coalesce(sum(KOLICHESTVO), 0) from SKLAD_DVIGENIE where AUTONUM_SKLAD = :NAUTONUM into :izlezlo;
    if (round(KOLICHESTVO * 100, 0) < round(izlezlo * 100, 0)) then
        exception SKLAD_OTKAZ 'Въведеното количество е по-малко от изразходваното (брак+вложено+продадено+експедирано) !';
    update SKLAD
       set KOLICHESTVO = :KOLICHESTVO, ED_CENA_LV = :EDCENALV, USD = :USD, EUR = :EUR,
           PROCENT_OTST = :PROCENT_OTST, PROCENT_DDS = :PROCENT_DDS, KOMIS = :KOMIS, NUMSHIFYR = :SHIFYR,
           DATEGODNOST = iif(:UPD_GODNOST = 1, :DATEGODNOST, DATEGODNOST)
     where AUTONUM = :NAUTONUM;
end^

-- As in 0081, drawing first from the picked delivery line IAUTONUM_SKLAD (which must be one of the
-- material in the source warehouse), then oldest received first. Each line is locked before its
-- stock is read, and only the lines needed are drawn from.
create or alter procedure SKLAD_SKLOB_MAT_ZAPIS (
    NSKL_OBEKT integer, NUM_SKL_RAZP integer, NUMMATERIAL integer, BROI_MAT_ART double precision,
    DOSTCENA double precision, DATEPOLUCHENO timestamp, NSKLAD_IZTOCHNIK integer, NMOL_FIRMA integer,
    IAUTONUM_SKLAD integer = null)
returns (AUTONUM integer)
as
declare variable ostava double precision;
declare variable red integer;
declare variable razp integer;
declare variable dostaveno double precision;
declare variable nalichno double precision;
declare variable kol double precision;
declare variable prva_razp integer;
declare variable ime varchar(65);
begin
    if (coalesce(BROI_MAT_ART, 0) <= 0) then
        exception SKLAD_OTKAZ 'Не е въведено количество или дост.цена за прехвърляне  !';
    if (not exists(select 1 from TIP_SKL_OBEKT where NSKL_OBEKT = :NSKL_OBEKT)
        or not exists(select 1 from TIP_SKLAD where NSKLAD = :NSKLAD_IZTOCHNIK)) then
        exception SKLAD_OTKAZ 'Не е избран склад източник или склад за прехвърляне  !';
    if (IAUTONUM_SKLAD is not null
        and not exists(select 1 from SKLAD s join MATERIALI m on m.NMATERIAL = s.NMATERIAL
                        where s.AUTONUM = :IAUTONUM_SKLAD and s.NMATERIAL = :NUMMATERIAL
                          and m.NSKLAD = :NSKLAD_IZTOCHNIK)) then
        exception SKLAD_OTKAZ 'Избраният ред не е от склада източник или не е от този материал !';
    insert into SKL_OBEKTI_MATERIALI (NUM_SKL_RAZP, NUM_SKL_RAZP_DOPN, NSKL_OBEKT, NSKLAD_VHOD, NSKL_OBEKT_VHOD,
                                      NMATERIAL, POLUCHENO, DATEPOLUCHENO, ED_CENA_LV, USD, EUR, NMOL_FIRMA,
                                      NKONTRAGENT)
    values (:NUM_SKL_RAZP,
            (select coalesce(max(NUM_SKL_RAZP_DOPN), 0) + 1 from SKL_OBEKTI_MATERIALI where NUM_SKL_RAZP = :NUM_SKL_RAZP),
            :NSKL_OBEKT, :NSKLAD_IZTOCHNIK, 0, :NUMMATERIAL, :BROI_MAT_ART, :DATEPOLUCHENO, :DOSTCENA, 0, 0,
            nullif(:NMOL_FIRMA, 0), 0)
    returning AUTONUM into :AUTONUM;
    ostava = BROI_MAT_ART;
    for select s.AUTONUM, s.NSKLRAZP
          from SKLAD s join MATERIALI m on m.NMATERIAL = s.NMATERIAL
         where s.NMATERIAL = :NUMMATERIAL and m.NSKLAD = :NSKLAD_IZTOCHNIK
         order by iif(s.AUTONUM = :IAUTONUM_SKLAD, 0, 1), s.DATEPOLUCHENO, s.AUTONUM
          into :red, :razp
    do
    begin
        if (ostava <= 0.000000001) then
            leave;
        update SKLAD set NMATERIAL = NMATERIAL where AUTONUM = :red;
        select coalesce(KOLICHESTVO, 0) from SKLAD where AUTONUM = :red into :dostaveno;
        select :dostaveno - coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d where d.AUTONUM_SKLAD = :red
          into :nalichno;
        if (nalichno > 0.000000001) then
        begin
            kol = minvalue(ostava, nalichno);
            insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE, DOK_NOMER, DOK_AUTONUM)
            values (:red, 3, :kol, :DATEPOLUCHENO, :NUM_SKL_RAZP, :AUTONUM);
            if (prva_razp is null) then prva_razp = razp;
            ostava = ostava - kol;
        end
    end
    if (ostava > 0.000000001) then
    begin
        select IMEMATERIAL from MATERIALI where NMATERIAL = :NUMMATERIAL into :ime;
        exception SKLAD_OTKAZ 'Недостатъчно количество на  ' || coalesce(ime, '') || '  !';
    end
    update SKL_OBEKTI_MATERIALI set NSKL_RAZP_VHOD = :prva_razp where AUTONUM = :AUTONUM;
end^

-- The same from the lines of object NSKL_OBEKT_IZTOCHNIK into another object, the picked object
-- line IAUTONUM_SKLOB first.
create or alter procedure SKLOB_SKLOB_MAT_ZAPIS (
    NSKL_OBEKT integer, NUM_SKL_RAZP integer, NUMMATERIAL integer, BROI_MAT_ART double precision,
    DOSTCENA double precision, DATEPOLUCHENO timestamp, NSKL_OBEKT_IZTOCHNIK integer, NMOL_FIRMA integer,
    IAUTONUM_SKLOB integer = null)
returns (AUTONUM integer)
as
declare variable ostava double precision;
declare variable red integer;
declare variable razp integer;
declare variable razp_dopn integer;
declare variable polucheno double precision;
declare variable nalichno double precision;
declare variable kol double precision;
declare variable prva_razp integer;
declare variable prva_dopn integer;
declare variable ime varchar(65);
begin
    if (coalesce(BROI_MAT_ART, 0) <= 0) then
        exception SKLAD_OTKAZ 'Не е въведено количество за прехвърляне  !';
    if (NSKL_OBEKT is not distinct from NSKL_OBEKT_IZTOCHNIK
        or not exists(select 1 from TIP_SKL_OBEKT where NSKL_OBEKT = :NSKL_OBEKT)
        or not exists(select 1 from TIP_SKL_OBEKT where NSKL_OBEKT = :NSKL_OBEKT_IZTOCHNIK)) then
        exception SKLAD_OTKAZ 'Некоректно зададени складове за прехвърляне ?';
    if (IAUTONUM_SKLOB is not null
        and not exists(select 1 from SKL_OBEKTI_MATERIALI o
                        where o.AUTONUM = :IAUTONUM_SKLOB and o.NMATERIAL = :NUMMATERIAL
                          and o.NSKL_OBEKT = :NSKL_OBEKT_IZTOCHNIK)) then
        exception SKLAD_OTKAZ 'Избраният ред не е от складовия обект източник или не е от този материал !';
    insert into SKL_OBEKTI_MATERIALI (NUM_SKL_RAZP, NUM_SKL_RAZP_DOPN, NSKL_OBEKT, NSKLAD_VHOD, NSKL_OBEKT_VHOD,
                                      NMATERIAL, POLUCHENO, DATEPOLUCHENO, ED_CENA_LV, USD, EUR, NMOL_FIRMA,
                                      NKONTRAGENT)
    values (:NUM_SKL_RAZP,
            (select coalesce(max(NUM_SKL_RAZP_DOPN), 0) + 1 from SKL_OBEKTI_MATERIALI where NUM_SKL_RAZP = :NUM_SKL_RAZP),
            :NSKL_OBEKT, 0, :NSKL_OBEKT_IZTOCHNIK, :NUMMATERIAL, :BROI_MAT_ART, :DATEPOLUCHENO, :DOSTCENA, 0, 0,
            nullif(:NMOL_FIRMA, 0), 0)
    returning AUTONUM into :AUTONUM;
    ostava = BROI_MAT_ART;
    for select o.AUTONUM, o.NUM_SKL_RAZP, o.NUM_SKL_RAZP_DOPN
          from SKL_OBEKTI_MATERIALI o
         where o.NMATERIAL = :NUMMATERIAL and o.NSKL_OBEKT = :NSKL_OBEKT_IZTOCHNIK
         order by iif(o.AUTONUM = :IAUTONUM_SKLOB, 0, 1), o.DATEPOLUCHENO, o.AUTONUM
          into :red, :razp, :razp_dopn
    do
    begin
        if (ostava <= 0.000000001) then
            leave;
        update SKL_OBEKTI_MATERIALI set NMATERIAL = NMATERIAL where AUTONUM = :red;
        select coalesce(POLUCHENO, 0) from SKL_OBEKTI_MATERIALI where AUTONUM = :red into :polucheno;
        select :polucheno - coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d where d.AUTONUM_SKLOB = :red
          into :nalichno;
        if (nalichno > 0.000000001) then
        begin
            kol = minvalue(ostava, nalichno);
            insert into SKLAD_DVIGENIE (AUTONUM_SKLOB, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE, DOK_NOMER, DOK_AUTONUM)
            values (:red, 3, :kol, :DATEPOLUCHENO, :NUM_SKL_RAZP, :AUTONUM);
            if (prva_razp is null) then
            begin
                prva_razp = razp;
                prva_dopn = razp_dopn;
            end
            ostava = ostava - kol;
        end
    end
    if (ostava > 0.000000001) then
    begin
        select IMEMATERIAL from MATERIALI where NMATERIAL = :NUMMATERIAL into :ime;
        exception SKLAD_OTKAZ 'Недостатъчно количество на  ' || coalesce(ime, '') || '  !';
    end
    update SKL_OBEKTI_MATERIALI set NSKL_RAZP_VHOD = :prva_razp, NSKL_RAZP_DOPN_VHOD = :prva_dopn
     where AUTONUM = :AUTONUM;
end^

set term ; ^
