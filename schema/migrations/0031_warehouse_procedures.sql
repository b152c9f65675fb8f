-- Stock per delivery line and the writes of deliveries, corrections and defective goods. What
-- leaves a line is a row of SKLAD_DVIGENIE against its key; on hand is delivered less those rows.

-- Materials of the warehouses that supply warehouse objects.
create view VIEWMAT_SKLOBEKT (NSKLAD, NMATERIAL, IMEMATERIAL) as
select m.NSKLAD, m.NMATERIAL, m.IMEMATERIAL
from MATERIALI m
join TIP_SKLAD t on t.NSKLAD = m.NSKLAD
where t.SKL_OBEKT_DA_NE = 1;

set term ^ ;

-- One row per delivery line whose material lies in the warehouse and material ranges, with what
-- has left it by kind and the values of what is on hand.
create procedure SKLADNALICH (SKLADOT smallint, SKLADDO smallint, NMATERIALOT integer, NMATERIALDO integer)
returns (
    NSKLAD                    smallint,
    SKLAD                     varchar(35),
    NUMSHIFYR                 smallint,
    NMATERIAL                 integer,
    IMEMATERIAL               varchar(65),
    MIARKA_BG                 varchar(5),
    NALICHNOST                double precision,
    KOLICHESTVO               double precision,
    KOLICH_SERII              smallint,
    SUMDOST_BRAK              double precision,
    SUMISK                    double precision,
    SUMMAT_PRODAGBI           double precision,
    SUMMAT_SKLOB              double precision,
    ED_CENA_LV                double precision,
    OBSTA_CENA_LV             double precision,
    USD                       double precision,
    OBSTA_CENA_USD            double precision,
    EUR                       double precision,
    OBSTA_CENA_EUR            double precision,
    PRODAGNA_CENA             double precision,
    PROD_CENA_LV_DREBNO       double precision,
    PRODAGNA_CENA_USD         double precision,
    PROD_CENA_USD_DREBNO      double precision,
    PRODAGNA_CENA_EUR         double precision,
    PROD_CENA_EUR_DREBNO      double precision,
    DATEPOLUCHENO             timestamp,
    NFAKTURA                  varchar(10),
    DATEFAKTURA               timestamp,
    NKONTRAGENT               smallint,
    IMEKONTRAGENT             varchar(40),
    ZAKUPCHIK                 varchar(47),
    OBSTA_CENA_PROD_LV        double precision,
    OBSTA_CENA_PROD_USD       double precision,
    OBSTA_CENA_PROD_EUR       double precision,
    PROCENT_OTST              double precision,
    PROCENT_DDS               double precision,
    KOMIS                     double precision,
    SNIMKA                    blob sub_type binary,
    DATEGODNOST               timestamp,
    AUTONUM                   integer,
    SKL_OBEKT_DA_NE           smallint,
    OBSTO_PROD_MINUS_DOST_LV  double precision,
    OBSTO_PROD_MINUS_DOST_USD double precision,
    OBSTO_PROD_MINUS_DOST_EUR double precision)
as
begin
    for select s.AUTONUM, m.NSKLAD, t.SKLAD, t.SKL_OBEKT_DA_NE, s.NUMSHIFYR, s.NMATERIAL, m.IMEMATERIAL,
               mi.MIARKA_BG, coalesce(s.KOLICHESTVO, 0), s.KOLICH_SERII,
               coalesce(s.ED_CENA_LV, 0), coalesce(s.USD, 0), coalesce(s.EUR, 0),
               coalesce(m.PRODAGNA_CENA, 0), m.PROD_CENA_LV_DREBNO, coalesce(m.PRODAGNA_CENA_USD, 0),
               m.PROD_CENA_USD_DREBNO, coalesce(m.PRODAGNA_CENA_EUR, 0), m.PROD_CENA_EUR_DREBNO,
               s.DATEPOLUCHENO, s.NFAKTURA, s.DATEFAKTURA, s.NKONTRAGENT, k.IMEKONTRAGENT, p.IMEFULL,
               s.PROCENT_OTST, s.PROCENT_DDS, s.KOMIS, m.SNIMKA, s.DATEGODNOST
          from MATERIALI m
          join SKLAD s on s.NMATERIAL = m.NMATERIAL
          left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
          left join KONTRAGENTI k on k.NKONTRAGENT = s.NKONTRAGENT
          left join VIEWPERSONAL p on p.SHIFYR = s.NUMSHIFYR
         where m.NSKLAD between :SKLADOT and :SKLADDO
           and m.NMATERIAL between :NMATERIALOT and :NMATERIALDO
          into :AUTONUM, :NSKLAD, :SKLAD, :SKL_OBEKT_DA_NE, :NUMSHIFYR, :NMATERIAL, :IMEMATERIAL,
               :MIARKA_BG, :KOLICHESTVO, :KOLICH_SERII,
               :ED_CENA_LV, :USD, :EUR,
               :PRODAGNA_CENA, :PROD_CENA_LV_DREBNO, :PRODAGNA_CENA_USD,
               :PROD_CENA_USD_DREBNO, :PRODAGNA_CENA_EUR, :PROD_CENA_EUR_DREBNO,
               :DATEPOLUCHENO, :NFAKTURA, :DATEFAKTURA, :NKONTRAGENT, :IMEKONTRAGENT, :ZAKUPCHIK,
               :PROCENT_OTST, :PROCENT_DDS, :KOMIS, :SNIMKA, :DATEGODNOST
    do
    begin
        select coalesce(sum(iif(VID_DVIGENIE = 4, KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(VID_DVIGENIE = 2, KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(VID_DVIGENIE = 1, KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(VID_DVIGENIE = 3, KOLICHESTVO, 0)), 0)
          from SKLAD_DVIGENIE where AUTONUM_SKLAD = :AUTONUM
          into :SUMDOST_BRAK, :SUMISK, :SUMMAT_PRODAGBI, :SUMMAT_SKLOB;
        NALICHNOST = KOLICHESTVO - SUMDOST_BRAK - SUMISK - SUMMAT_PRODAGBI - SUMMAT_SKLOB;
        OBSTA_CENA_LV = NALICHNOST * ED_CENA_LV;
        OBSTA_CENA_USD = NALICHNOST * USD;
        OBSTA_CENA_EUR = NALICHNOST * EUR;
        OBSTA_CENA_PROD_LV = NALICHNOST * PRODAGNA_CENA;
        OBSTA_CENA_PROD_USD = NALICHNOST * PRODAGNA_CENA_USD;
        OBSTA_CENA_PROD_EUR = NALICHNOST * PRODAGNA_CENA_EUR;
        OBSTO_PROD_MINUS_DOST_LV = OBSTA_CENA_PROD_LV - OBSTA_CENA_LV;
        OBSTO_PROD_MINUS_DOST_USD = OBSTA_CENA_PROD_USD - OBSTA_CENA_USD;
        OBSTO_PROD_MINUS_DOST_EUR = OBSTA_CENA_PROD_EUR - OBSTA_CENA_EUR;
        suspend;
    end
end^

-- A material's quantity on hand over all its delivery lines.
create procedure SKLAD_MAT_NALICH_SUM (NUMMATERIAL integer)
returns (SUMNALICHNOST double precision)
as
declare variable vlezlo double precision;
declare variable izlezlo double precision;
begin
    select coalesce(sum(KOLICHESTVO), 0) from SKLAD where NMATERIAL = :NUMMATERIAL into :vlezlo;
    select coalesce(sum(d.KOLICHESTVO), 0)
      from SKLAD s join SKLAD_DVIGENIE d on d.AUTONUM_SKLAD = s.AUTONUM
     where s.NMATERIAL = :NUMMATERIAL
      into :izlezlo;
    SUMNALICHNOST = vlezlo - izlezlo;
    suspend;
end^

-- Adds one warehouse receipt line; its key comes back in AUTONUM.
create procedure ADDDOSTAVKA (
    SHIFYR integer, NSKLRAZP integer, KOMIS double precision, NMATERIAL integer,
    KOLICHESTVO double precision, PROCENT_DDS double precision, PROCENT_OTST double precision,
    ED_CENA_LV double precision, USD double precision, EUR double precision,
    DATEPOLUCHENO timestamp, NKONTRAGENT integer, NMOL integer, NFAKTURA varchar(10),
    DATEFAKTURA timestamp, KOLICH_SERII smallint, DATEGODNOST timestamp)
returns (AUTONUM integer)
as
begin
    insert into SKLAD (NMATERIAL, NKONTRAGENT, NMOL, NFAKTURA, DATEFAKTURA, DATEPOLUCHENO, DATEGODNOST,
                       NSKLRAZP, KOLICHESTVO, ED_CENA_LV, USD, EUR, PROCENT_OTST, PROCENT_DDS, KOMIS,
                       NUMSHIFYR, KOLICH_SERII)
    values (:NMATERIAL, :NKONTRAGENT, :NMOL, :NFAKTURA, :DATEFAKTURA, :DATEPOLUCHENO, :DATEGODNOST,
            :NSKLRAZP, :KOLICHESTVO, :ED_CENA_LV, :USD, :EUR, coalesce(:PROCENT_OTST, 0),
            coalesce(:PROCENT_DDS, 0), coalesce(:KOMIS, 0), coalesce(:SHIFYR, 0), coalesce(:KOLICH_SERII, 0))
    returning AUTONUM into :AUTONUM;
end^

-- What was paid to the supplier for a document on a date, per currency.
create procedure ADDDOSTAVKI_PLASTANE (
    SHIFYR integer, NKONTRAGENT integer, NFAKTURA varchar(10), DATEFAKTURA timestamp,
    PLATENO_DATE timestamp, PLATENO_LV double precision, PLATENO_USD double precision,
    PLATENO_EUR double precision)
returns (AUTONUM integer)
as
begin
    insert into DOSTAVKI_PLASTANE (NKONTRAGENT, SHIFYR, NFAKTURA, DATEFAKTURA, PLATENO_DATE,
                                   PLATENO_LV, PLATENO_USD, PLATENO_EUR)
    values (:NKONTRAGENT, coalesce(:SHIFYR, 0), :NFAKTURA, :DATEFAKTURA, :PLATENO_DATE,
            coalesce(:PLATENO_LV, 0), coalesce(:PLATENO_USD, 0), coalesce(:PLATENO_EUR, 0))
    returning AUTONUM into :AUTONUM;
end^

-- ADD_UPD 1 adds a received line of a warehouse object; 0 rewrites quantity and prices of line
-- NAUTONUM, never below what has already left it.
create procedure ADDDOSTAVKA_SKLOB (
    ADD_UPD integer, NAUTONUM integer, NUM_SKL_RAZP integer, NUM_SKL_RAZP_DOPN integer,
    NSKL_OBEKT integer, NMATERIAL integer, KOLICHESTVO double precision, ED_CENA_LV double precision,
    USD double precision, EUR double precision, DATEPOLUCHENO timestamp, NKONTRAGENT integer,
    NFAKTURA varchar(10), DATEFAKTURA timestamp)
returns (AUTONUM integer)
as
declare variable izlezlo double precision;
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
        select coalesce(sum(KOLICHESTVO), 0) from SKLAD_DVIGENIE where AUTONUM_SKLOB = :NAUTONUM
          into :izlezlo;
        if (KOLICHESTVO < izlezlo - 0.000001) then
            exception SKLAD_OTKAZ 'Въведеното количество е по-малко от изписаното+продаденото+експедираното !';
        update SKL_OBEKTI_MATERIALI
           set POLUCHENO = :KOLICHESTVO, ED_CENA_LV = :ED_CENA_LV, USD = :USD, EUR = :EUR
         where AUTONUM = :NAUTONUM;
        AUTONUM = NAUTONUM;
    end
end^

-- Removes one delivery line: the line IAUTONUM when given, else the one line of the material,
-- supplier, document and date received. A line with outflows stays.
create procedure DEL_DOSTAVKA (
    INMATERIAL integer, INKONTRAGENT integer, INFAKTURA varchar(10), IDATEFAKTURA timestamp,
    IDATEPOLUCHENO timestamp, IAUTONUM integer)
as
declare variable redove integer;
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
    if (exists(select 1 from SKLAD_DVIGENIE where AUTONUM_SKLAD = :IAUTONUM)) then
        exception SKLAD_OTKAZ 'Има изразходвани количества от доставката - ИЗТРИВАНЕТО ЗАБРАНЕНО !  ';
    delete from SKLAD where AUTONUM = :IAUTONUM;
end^

-- Rewrites one delivery line: the line NAUTONUM when given, else the one line of the material,
-- supplier, document and date received. The quantity never goes below what has left the line;
-- the expiry date is written only with UPD_GODNOST 1.
create procedure UPDATESKLAD (
    NMATERIAL integer, SHIFYR integer, NKONTRAGENT integer, NFAKTURA varchar(10), DATEFAKTURA timestamp,
    DATEPOLUCHENO timestamp, KOLICHESTVO double precision, EDCENALV double precision, USD double precision,
    EUR double precision, PROCENT_OTST double precision, PROCENT_DDS double precision,
    KOMIS double precision, DATEGODNOST timestamp, UPD_GODNOST smallint, NAUTONUM integer)
as
declare variable redove integer;
declare variable izlezlo double precision;
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
    select coalesce(sum(KOLICHESTVO), 0) from SKLAD_DVIGENIE where AUTONUM_SKLAD = :NAUTONUM into :izlezlo;
    if (KOLICHESTVO < izlezlo - 0.000001) then
        exception SKLAD_OTKAZ 'Въведеното количество е по-малко от изразходваното (брак+вложено+продадено+експедирано) !';
    update SKLAD
       set KOLICHESTVO = :KOLICHESTVO, ED_CENA_LV = :EDCENALV, USD = :USD, EUR = :EUR,
           PROCENT_OTST = :PROCENT_OTST, PROCENT_DDS = :PROCENT_DDS, KOMIS = :KOMIS, NUMSHIFYR = :SHIFYR,
           DATEGODNOST = iif(:UPD_GODNOST = 1, :DATEGODNOST, DATEGODNOST)
     where AUTONUM = :NAUTONUM;
end^

-- The defective-goods records of deliveries whose supplier lies in the range, with names and totals.
create procedure SKLADDOST_BRAK (NKONTROT integer, NKONTRDO integer)
returns (
    AUTONUM           integer,
    AUTONUM_SKLAD     integer,
    DATE_BRAK         timestamp,
    NMATERIAL         integer,
    IMEMATERIAL       varchar(65),
    KOLICH_BRAK       double precision,
    ED_CENA_LV        double precision,
    OBSTO_LV          double precision,
    USD               double precision,
    OBSTO_USD         double precision,
    EUR               double precision,
    OBSTO_EUR         double precision,
    NKONTR_BRAK       smallint,
    IMEKONTR_BRAK     varchar(40),
    NFAKTURA_BRAK     varchar(10),
    DATEFAKTURA_BRAK  timestamp,
    NKONTRAGENT       smallint,
    IMEKONTRAGENT     varchar(40),
    NFAKTURA          varchar(10),
    DATEFAKTURA       timestamp)
as
begin
    for select b.AUTONUM, b.AUTONUM_SKLAD, b.DATE_BRAK, b.NMATERIAL, m.IMEMATERIAL, b.KOLICH_BRAK,
               b.ED_CENA_LV, b.KOLICH_BRAK * coalesce(b.ED_CENA_LV, 0), b.USD, b.KOLICH_BRAK * coalesce(b.USD, 0),
               b.EUR, b.KOLICH_BRAK * coalesce(b.EUR, 0), b.NKONTR_BRAK, kb.IMEKONTRAGENT, b.NFAKTURA_BRAK,
               b.DATEFAKTURA_BRAK, b.NKONTRAGENT, k.IMEKONTRAGENT, b.NFAKTURA, b.DATEFAKTURA
          from SKLAD_DOST_BRAK b
          left join MATERIALI m on m.NMATERIAL = b.NMATERIAL
          left join KONTRAGENTI k on k.NKONTRAGENT = b.NKONTRAGENT
          left join KONTRAGENTI kb on kb.NKONTRAGENT = b.NKONTR_BRAK
         where b.NKONTRAGENT between :NKONTROT and :NKONTRDO
          into :AUTONUM, :AUTONUM_SKLAD, :DATE_BRAK, :NMATERIAL, :IMEMATERIAL, :KOLICH_BRAK,
               :ED_CENA_LV, :OBSTO_LV, :USD, :OBSTO_USD,
               :EUR, :OBSTO_EUR, :NKONTR_BRAK, :IMEKONTR_BRAK, :NFAKTURA_BRAK,
               :DATEFAKTURA_BRAK, :NKONTRAGENT, :IMEKONTRAGENT, :NFAKTURA, :DATEFAKTURA
    do
        suspend;
end^

-- A defective quantity leaves its delivery line through the ledger. Without a named line the
-- document's first line of the material that holds the quantity is taken.
create trigger SKLAD_DOST_BRAK_LEDGER_BI for SKLAD_DOST_BRAK active before insert position 1 as
declare variable nalichno double precision;
begin
    if (new.KOLICH_BRAK is null or new.KOLICH_BRAK <= 0) then
        exception SKLAD_OTKAZ 'Количеството за брак трябва да е по-голямо от 0 !';
    if (new.AUTONUM_SKLAD is null) then
        select first 1 s.AUTONUM from SKLAD s
         where s.NMATERIAL = new.NMATERIAL and s.NKONTRAGENT = new.NKONTRAGENT
           and s.NFAKTURA = new.NFAKTURA and s.DATEFAKTURA = new.DATEFAKTURA
           and coalesce(s.KOLICHESTVO, 0) - (select coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d
                                              where d.AUTONUM_SKLAD = s.AUTONUM) >= new.KOLICH_BRAK - 0.000001
         order by s.AUTONUM
          into new.AUTONUM_SKLAD;
    if (new.AUTONUM_SKLAD is null) then
        exception SKLAD_OTKAZ 'Количеството за брак е по-голямо от наличното !';
    select coalesce(s.KOLICHESTVO, 0) - (select coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d
                                          where d.AUTONUM_SKLAD = s.AUTONUM)
      from SKLAD s where s.AUTONUM = new.AUTONUM_SKLAD
      into :nalichno;
    if (nalichno is null or nalichno < new.KOLICH_BRAK - 0.000001) then
        exception SKLAD_OTKAZ 'Количеството за брак е по-голямо от наличното !';
end^

create trigger SKLAD_DOST_BRAK_LEDGER_AI for SKLAD_DOST_BRAK active after insert position 0 as
begin
    insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE, DOK_NOMER, DOK_AUTONUM)
    values (new.AUTONUM_SKLAD, 4, new.KOLICH_BRAK, new.DATE_BRAK, new.NFAKTURA_BRAK, new.AUTONUM);
end^

create trigger SKLAD_DOST_BRAK_LEDGER_AD for SKLAD_DOST_BRAK active after delete position 0 as
begin
    delete from SKLAD_DVIGENIE where VID_DVIGENIE = 4 and DOK_AUTONUM = old.AUTONUM;
end^

-- A claim is changed by deleting it and recording it anew, so its ledger row always matches it.
create trigger SKLAD_DOST_BRAK_LEDGER_BU for SKLAD_DOST_BRAK active before update position 0 as
begin
    if (new.KOLICH_BRAK is distinct from old.KOLICH_BRAK or new.AUTONUM_SKLAD is distinct from old.AUTONUM_SKLAD) then
        exception SKLAD_OTKAZ 'Рекламацията не се променя - изтрийте я и я въведете отново !';
end^

set term ; ^
