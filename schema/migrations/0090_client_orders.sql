-- Client orders: the orders and their product lines, the progress of every ordered product from the
-- order to the sale, and the materials the orders need.
--
-- How each product is counted (in its stored unit: pairs for a series product, else pieces):
--   ordered          the sum of the product's order lines; a negative line reduces it.
--   sold             the sum of the sale lines of the product's material (returns are negative).
--   sold to order    per client, what he was sold up to what he ordered: min(sold, ordered), never
--                    below 0; the product's figure is the sum over its clients. The sale's order
--                    check compares the same two quantities.
--   sold freely      sold less sold to order: sales beyond a client's orders and sales to anyone
--                    who ordered nothing (natural persons included).
--   requisitioned    the products of the recipe requisitions (the pairs of a series, else the count).
--   produced         the stored quantity of the product's batches.
--   in process       requisitioned less produced, never below 0.
--   in stock         what the warehouses hold of the product's material.
--   to make          what is ordered and not yet sold to order, less what is in stock and in process,
--                    never below 0: what production still has to start.
-- Material needs are the recipe quantities times the products' quantities, priced at the
-- material's calculation price, beside the warehouses' stock of the material.

create exception PORYCHKI_OTKAZ 'Поръчката не е намерена !';

create view PORYCHKI_ARHIV (
    AUTONUM_NPORYCHKA, DATEPORYCHKA, DATESROK, INFO_PORYCHKA, NUMKONTRAGENT, IMEKONTRAGENT, GRAD, ADRES, IMEMOL
) as
select p.AUTONUM_NPORYCHKA, p.DATEPORYCHKA, p.DATESROK, p.INFO_PORYCHKA, p.NKONTRAGENT, k.IMEKONTRAGENT,
       g.GRAD, k.ADRES, m.IMEMOL
  from PORYCHKI p
  left join KONTRAGENTI k on k.NKONTRAGENT = p.NKONTRAGENT
  left join GRADOVE g on g.POSTKOD = k.POSTKOD
  left join MOL m on m.NMOL = p.NMOL;

create view VIEWIZDELIE_PORYCHKA (
    NPORYCHKA, NKONTRAGENT, NTIP_IZDELIE, IMEMATERIAL, IMEMIARKA, BROI_IZDELIE, DATESROK_IZD,
    DNIPREDI_DATESROK_IZD, NKONTR_IZD, OPISANIE
) as
select i.NPORYCHKA, i.NKONTRAGENT, i.NTIP_IZDELIE, m.IMEMATERIAL, mi.MIARKA_BG, i.BROI_IZDELIE, i.DATESROK_IZD,
       i.DNIPREDI_DATESROK_IZD, coalesce(i.NKONTR_IZD, 0), i.OPISANIE
  from PORYCHKI_IZDELIA i
  left join TIP_IZDELIE t on t.NTIP_IZDELIE = i.NTIP_IZDELIE
  left join MATERIALI m on m.NMATERIAL = t.NMATERIAL_IZDELIE
  left join MIARKA mi on mi.NMIARKA = m.NMIARKA;

create view SELECTIZDELIE (NTIP_IZDELIE, NMATERIAL_IZDELIE, NPROIZVODSTVO, IMEMATERIAL) as
select t.NTIP_IZDELIE, t.NMATERIAL_IZDELIE, t.NPROIZVODSTVO, m.IMEMATERIAL
  from TIP_IZDELIE t
  join MATERIALI m on m.NMATERIAL = t.NMATERIAL_IZDELIE;

set term ^ ;

create or alter procedure ADDPORYCHKA (DATEPORYCHKA timestamp, DATESROK timestamp, NKONTRAGENT integer, NMOL integer)
returns (AUTONUM_NPORYCHKA integer)
as
begin
    if (not exists(select 1 from KONTRAGENTI where NKONTRAGENT = :NKONTRAGENT)) then
        exception PORYCHKI_OTKAZ 'Не е въведен клиент !';
    if (DATEPORYCHKA is null or DATESROK is null) then
        exception PORYCHKI_OTKAZ 'Не е въведена дата на поръчката !';
    insert into PORYCHKI (DATEPORYCHKA, DATESROK, NKONTRAGENT, NMOL)
    values (:DATEPORYCHKA, :DATESROK, :NKONTRAGENT, nullif(:NMOL, 0))
    returning AUTONUM_NPORYCHKA into :AUTONUM_NPORYCHKA;
end^

create or alter procedure UPDATEPORYCHKA (IDATEPORYCHKA timestamp, IDATESROK timestamp, INPORYCHKA integer,
                                          IINFO_PORYCHKA blob sub_type text)
as
begin
    if (IDATEPORYCHKA is null or IDATESROK is null) then
        exception PORYCHKI_OTKAZ 'Не е въведена дата на поръчката !';
    update PORYCHKI set DATEPORYCHKA = :IDATEPORYCHKA, DATESROK = :IDATESROK, INFO_PORYCHKA = :IINFO_PORYCHKA
     where AUTONUM_NPORYCHKA = :INPORYCHKA;
    if (row_count = 0) then exception PORYCHKI_OTKAZ;
end^

-- An order with product lines is refused here too, so no line is left without its order.
create or alter procedure DEL_PORYCHKA (INPORYCHKA integer)
as
begin
    if (exists(select 1 from PORYCHKI_IZDELIA where NPORYCHKA = :INPORYCHKA)) then
        exception PORYCHKI_OTKAZ 'Има заявени изделия към тази поръчка !';
    delete from PORYCHKI where AUTONUM_NPORYCHKA = :INPORYCHKA;
    if (row_count = 0) then exception PORYCHKI_OTKAZ;
end^

-- A product added again to the same order adds its quantity to the product's line (a negative
-- quantity reduces it) and replaces the line's dates, supplier and description: an order holds one
-- line per product.
create or alter procedure ADD_UPDATE_IZD_PORYCH (NPORYCHKA integer, NKONTRAGENT integer, NTIP_IZDELIE integer,
                                                 BROI_IZDELIE double precision, DATESROK_IZD timestamp,
                                                 DNIPREDI_DATESROK_IZD integer, NKONTR_IZD integer,
                                                 OPISANIE varchar(30))
as
declare variable klient integer;
begin
    select NKONTRAGENT from PORYCHKI where AUTONUM_NPORYCHKA = :NPORYCHKA into :klient;
    if (klient is null or klient <> NKONTRAGENT) then exception PORYCHKI_OTKAZ;
    if (not exists(select 1 from TIP_IZDELIE where NTIP_IZDELIE = :NTIP_IZDELIE)) then
        exception PORYCHKI_OTKAZ 'Не е избрано изделие !';
    if (BROI_IZDELIE is null or BROI_IZDELIE = 0) then
        exception PORYCHKI_OTKAZ 'Не е въведен брой изделия !';
    if (coalesce(NKONTR_IZD, 0) <> 0 and not exists(select 1 from KONTRAGENTI where NKONTRAGENT = :NKONTR_IZD)) then
        exception PORYCHKI_OTKAZ 'Няма такъв доставчик !';
    update PORYCHKI_IZDELIA
       set BROI_IZDELIE = coalesce(BROI_IZDELIE, 0) + :BROI_IZDELIE, DATESROK_IZD = :DATESROK_IZD,
           DNIPREDI_DATESROK_IZD = :DNIPREDI_DATESROK_IZD, NKONTR_IZD = coalesce(:NKONTR_IZD, 0),
           OPISANIE = :OPISANIE
     where NPORYCHKA = :NPORYCHKA and NTIP_IZDELIE = :NTIP_IZDELIE;
    if (row_count = 0) then
        insert into PORYCHKI_IZDELIA (NPORYCHKA, NKONTRAGENT, NTIP_IZDELIE, BROI_IZDELIE, DATESROK_IZD,
                                      DNIPREDI_DATESROK_IZD, NKONTR_IZD, OPISANIE)
        values (:NPORYCHKA, :NKONTRAGENT, :NTIP_IZDELIE, :BROI_IZDELIE, :DATESROK_IZD, :DNIPREDI_DATESROK_IZD,
                coalesce(:NKONTR_IZD, 0), :OPISANIE);
end^

create or alter procedure DEL_IZD_PORYCHKA (NPORYCHKA integer, NTIP_IZDELIE integer)
as
begin
    delete from PORYCHKI_IZDELIA where NPORYCHKA = :NPORYCHKA and NTIP_IZDELIE = :NTIP_IZDELIE;
end^

-- Per client of a product: what he ordered, what he was sold, and how much of that was to order.
-- Sales to no counterparty (natural persons) come as client 0.
create or alter procedure PORYCHKI_IZD_KONTR (NTIP_IZDELIE integer)
returns (NUMKONTRAGENT integer, PORYCHANO double precision, PRODADENO double precision,
         PO_PORYCHKA double precision)
as
declare variable mat integer;
begin
    select NMATERIAL_IZDELIE from TIP_IZDELIE where NTIP_IZDELIE = :NTIP_IZDELIE into :mat;
    for select k, sum(o), sum(s) from (
            select coalesce(p.NKONTRAGENT, 0) as k, coalesce(i.BROI_IZDELIE, 0) as o,
                   cast(0 as double precision) as s
              from PORYCHKI_IZDELIA i join PORYCHKI p on p.AUTONUM_NPORYCHKA = i.NPORYCHKA
             where i.NTIP_IZDELIE = :NTIP_IZDELIE
            union all
            select coalesce(NKONTRAGENT, 0), cast(0 as double precision), coalesce(BROI_MATERIAL_IZDELIE, 0)
              from PRODAGBI where NMATERIAL = :mat)
         group by k
          into :NUMKONTRAGENT, :PORYCHANO, :PRODADENO
    do
    begin
        PO_PORYCHKA = maxvalue(0, minvalue(PRODADENO, PORYCHANO));
        suspend;
    end
end^

create or alter procedure PORYCHKI_DVIGENIE
returns (
    NTIP_IZDELIE                smallint,
    IME_IZDELIE                 varchar(65),
    MIARKA_BG                   varchar(5),
    BROI_IZDELIA_PORYCHKA       integer,
    BROI_IZDELIA_PREDSTOIASTI   integer,
    BROI_IZDELIA_ISKANIA        integer,
    BROI_IZDELIA_VPROCES        integer,
    BROI_IZDELIA_PROIZVEDENI    integer,
    BROI_IZDELIA_NASKLAD        integer,
    BROI_IZD_PRODADENI_PORYCHKA integer,
    BROI_IZD_PRODADENI_SVOBODNO integer,
    BROI_IZDELIA_PRODADENI      integer)
as
declare variable mat integer;
declare variable porychano double precision;
declare variable prodadeno double precision;
declare variable po_porychka double precision;
declare variable iskano double precision;
declare variable proizvedeno double precision;
declare variable vproces double precision;
declare variable nasklad double precision;
begin
    for select t.NTIP_IZDELIE, t.NMATERIAL_IZDELIE, m.IMEMATERIAL, mi.MIARKA_BG
          from TIP_IZDELIE t
          left join MATERIALI m on m.NMATERIAL = t.NMATERIAL_IZDELIE
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
         where exists(select 1 from PORYCHKI_IZDELIA i where i.NTIP_IZDELIE = t.NTIP_IZDELIE)
          into :NTIP_IZDELIE, :mat, :IME_IZDELIE, :MIARKA_BG
    do
    begin
        select coalesce(sum(PORYCHANO), 0), coalesce(sum(PRODADENO), 0), coalesce(sum(PO_PORYCHKA), 0)
          from PORYCHKI_IZD_KONTR(:NTIP_IZDELIE)
          into :porychano, :prodadeno, :po_porychka;
        select coalesce(sum(iif(coalesce(KOLICH_SERII, 0) > 0, KOLICH_SERII, KOLICH_IZDELIE)), 0)
          from ISKANIA_IZDELIA where NTIP_IZDELIE = :NTIP_IZDELIE into :iskano;
        select coalesce(sum(KOLICH_IZDELIE), 0) from IZDELIE where NMATERIAL_IZDELIE = :mat into :proizvedeno;
        select coalesce(SUMNALICHNOST, 0) from SKLAD_MAT_NALICH_SUM(:mat) into :nasklad;
        vproces = maxvalue(0, iskano - proizvedeno);
        BROI_IZDELIA_PORYCHKA = porychano;
        BROI_IZDELIA_ISKANIA = iskano;
        BROI_IZDELIA_VPROCES = vproces;
        BROI_IZDELIA_PROIZVEDENI = proizvedeno;
        BROI_IZDELIA_NASKLAD = nasklad;
        BROI_IZD_PRODADENI_PORYCHKA = po_porychka;
        BROI_IZD_PRODADENI_SVOBODNO = prodadeno - po_porychka;
        BROI_IZDELIA_PRODADENI = prodadeno;
        BROI_IZDELIA_PREDSTOIASTI = maxvalue(0, porychano - po_porychka - maxvalue(0, nasklad) - vproces);
        suspend;
    end
end^

-- Per client who ordered the product: ordered, still open (ordered less sold to order) and sold.
create or alter procedure PORYCHKI_DVIGENIE_KONTR_SUM (NTIP_IZDELIE integer)
returns (NUMKONTRAGENT integer, IMEKONTRAGENT varchar(40), BROI_IZDELIA_PORYCHKA double precision,
         BROI_IZDELIA_OSTATYK double precision, BROI_IZDELIA_PRODADENI double precision)
as
declare variable po_porychka double precision;
begin
    for select NUMKONTRAGENT, PORYCHANO, PRODADENO, PO_PORYCHKA from PORYCHKI_IZD_KONTR(:NTIP_IZDELIE)
         where PORYCHANO <> 0
          into :NUMKONTRAGENT, :BROI_IZDELIA_PORYCHKA, :BROI_IZDELIA_PRODADENI, :po_porychka
    do
    begin
        IMEKONTRAGENT = null;
        select IMEKONTRAGENT from KONTRAGENTI where NKONTRAGENT = :NUMKONTRAGENT into :IMEKONTRAGENT;
        BROI_IZDELIA_OSTATYK = maxvalue(0, BROI_IZDELIA_PORYCHKA - po_porychka);
        suspend;
    end
end^

-- One row per order line of the product; what a client was sold to order is spread over his lines
-- oldest order first.
create or alter procedure PORYCHKI_DVIGENIE_KONTR_FULL (NTIP_IZDELIE integer)
returns (NUMKONTRAGENT integer, IMEKONTRAGENT varchar(40), NPORYCHKA integer, DATEPORYCHKA timestamp,
         DATESROK timestamp, BROI_IZDELIA_PORYCHKA double precision, BROI_IZDELIA_PRODADENI double precision)
as
declare variable ostava double precision;
declare variable predishen integer;
begin
    predishen = null;
    for select p.NKONTRAGENT, k.IMEKONTRAGENT, p.AUTONUM_NPORYCHKA, p.DATEPORYCHKA, p.DATESROK,
               coalesce(i.BROI_IZDELIE, 0)
          from PORYCHKI_IZDELIA i
          join PORYCHKI p on p.AUTONUM_NPORYCHKA = i.NPORYCHKA
          left join KONTRAGENTI k on k.NKONTRAGENT = p.NKONTRAGENT
         where i.NTIP_IZDELIE = :NTIP_IZDELIE
         order by p.NKONTRAGENT, p.DATEPORYCHKA, p.AUTONUM_NPORYCHKA
          into :NUMKONTRAGENT, :IMEKONTRAGENT, :NPORYCHKA, :DATEPORYCHKA, :DATESROK, :BROI_IZDELIA_PORYCHKA
    do
    begin
        if (predishen is distinct from NUMKONTRAGENT) then
        begin
            ostava = 0;
            select PO_PORYCHKA from PORYCHKI_IZD_KONTR(:NTIP_IZDELIE) where NUMKONTRAGENT = :NUMKONTRAGENT
              into :ostava;
            predishen = NUMKONTRAGENT;
        end
        BROI_IZDELIA_PRODADENI = maxvalue(0, minvalue(ostava, BROI_IZDELIA_PORYCHKA));
        ostava = ostava - BROI_IZDELIA_PRODADENI;
        suspend;
    end
end^

-- The sale lines of the product that were not to order: each client's sales in date order count
-- to order until they reach what he ordered, the rest is free.
create or alter procedure PRODAGBI_SVOBODNO (NTIP_IZDELIE integer)
returns (NUMKONTRAGENT integer, IMEKONTRAGENT varchar(45), NUMPRODAGBA varchar(11), DATEFAKTURA timestamp,
         BROI_IZD_PRODADENI_SVOBODNO double precision)
as
declare variable mat integer;
declare variable porychano double precision;
declare variable predi double precision;
declare variable sled double precision;
declare variable broi double precision;
declare variable predishen integer;
begin
    select NMATERIAL_IZDELIE from TIP_IZDELIE where NTIP_IZDELIE = :NTIP_IZDELIE into :mat;
    predishen = null;
    for select coalesce(s.NKONTRAGENT, 0), coalesce(k.IMEKONTRAGENT, f.IME), s.NUMPRODAGBA, s.DATEFAKTURA,
               coalesce(s.BROI_MATERIAL_IZDELIE, 0)
          from PRODAGBI s
          left join KONTRAGENTI k on k.NKONTRAGENT = s.NKONTRAGENT
          left join PRODAGBI_FLICA f on f.NUMPRODAGBA = s.NUMPRODAGBA
         where s.NMATERIAL = :mat
         order by 1, s.DATEFAKTURA, s.AUTONUM
          into :NUMKONTRAGENT, :IMEKONTRAGENT, :NUMPRODAGBA, :DATEFAKTURA, :broi
    do
    begin
        if (predishen is distinct from NUMKONTRAGENT) then
        begin
            porychano = 0;
            select PORYCHANO from PORYCHKI_IZD_KONTR(:NTIP_IZDELIE) where NUMKONTRAGENT = :NUMKONTRAGENT
              into :porychano;
            porychano = maxvalue(0, porychano);
            predi = 0;
            predishen = NUMKONTRAGENT;
        end
        sled = predi + broi;
        BROI_IZD_PRODADENI_SVOBODNO = maxvalue(0, sled - porychano) - maxvalue(0, predi - porychano);
        predi = sled;
        if (BROI_IZD_PRODADENI_SVOBODNO <> 0) then suspend;
    end
end^

-- The materials of one order: its products' recipes times their quantities in the order.
create or alter procedure PORYCHKA_MATERIALI_SUM (NUMPORYCHKA integer)
returns (NMATERIAL integer, IMEMATERIAL varchar(65), IMEMIARKA varchar(5), ED_CENA double precision,
         NEOBHODIMO double precision, STOINOST double precision, NALICHNO double precision)
as
begin
    for select r.NMATERIAL, sum(r.KOLICHESTVO * q.BROI)
          from (select NTIP_IZDELIE, sum(BROI_IZDELIE) as BROI from PORYCHKI_IZDELIA
                 where NPORYCHKA = :NUMPORYCHKA group by NTIP_IZDELIE having sum(BROI_IZDELIE) > 0) q
          join IZDELIE_RECEPTA r on r.NTIP_IZDELIE = q.NTIP_IZDELIE
         group by r.NMATERIAL
          into :NMATERIAL, :NEOBHODIMO
    do
    begin
        IMEMATERIAL = null; IMEMIARKA = null; ED_CENA = null;
        select m.IMEMATERIAL, mi.MIARKA_BG, coalesce(m.ED_CENA, 0) from MATERIALI m
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
         where m.NMATERIAL = :NMATERIAL
          into :IMEMATERIAL, :IMEMIARKA, :ED_CENA;
        STOINOST = NEOBHODIMO * coalesce(ED_CENA, 0);
        select coalesce(SUMNALICHNOST, 0) from SKLAD_MAT_NALICH_SUM(:NMATERIAL) into :NALICHNO;
        suspend;
    end
end^

-- The materials of what is still to be made of the products in the range, across all orders.
create or alter procedure PORYCHKA_DVIGENIE_MAT_SUM (NTIPIZDELIEOT integer, NTIPIZDELIEDO integer)
returns (NMATERIAL integer, IMEMATERIAL varchar(65), IMEMIARKA varchar(5), ED_CENA double precision,
         NEOBHODIMO double precision, STOINOST double precision, NALICHNO double precision)
as
begin
    for select r.NMATERIAL, sum(r.KOLICHESTVO * d.BROI_IZDELIA_PREDSTOIASTI)
          from PORYCHKI_DVIGENIE d
          join IZDELIE_RECEPTA r on r.NTIP_IZDELIE = d.NTIP_IZDELIE
         where d.NTIP_IZDELIE between :NTIPIZDELIEOT and :NTIPIZDELIEDO and d.BROI_IZDELIA_PREDSTOIASTI > 0
         group by r.NMATERIAL
          into :NMATERIAL, :NEOBHODIMO
    do
    begin
        IMEMATERIAL = null; IMEMIARKA = null; ED_CENA = null;
        select m.IMEMATERIAL, mi.MIARKA_BG, coalesce(m.ED_CENA, 0) from MATERIALI m
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
         where m.NMATERIAL = :NMATERIAL
          into :IMEMATERIAL, :IMEMIARKA, :ED_CENA;
        STOINOST = NEOBHODIMO * coalesce(ED_CENA, 0);
        select coalesce(SUMNALICHNOST, 0) from SKLAD_MAT_NALICH_SUM(:NMATERIAL) into :NALICHNO;
        suspend;
    end
end^

-- The order a sale makes for a client who was sold more of a product than he ordered: the excess
-- becomes a line of the order INPORYCHKA, or of a new order dated as the sale when that is 0.
-- Returns the order written to (INPORYCHKA when nothing was beyond the orders). Run in the sale's
-- transaction after its lines.
create or alter procedure ADDPORYCHKA_PRODAGBA (NUMPRODAGBA varchar(11), NMATERIAL integer, INPORYCHKA integer)
returns (NPORYCHKA integer)
as
declare variable klient integer;
declare variable data timestamp;
declare variable izdelie integer;
declare variable porychano double precision;
declare variable prodadeno double precision;
begin
    NPORYCHKA = nullif(INPORYCHKA, 0);
    select first 1 NKONTRAGENT, DATEFAKTURA from PRODAGBI where NUMPRODAGBA = :NUMPRODAGBA into :klient, :data;
    select NTIP_IZDELIE from TIP_IZDELIE where NMATERIAL_IZDELIE = :NMATERIAL into :izdelie;
    if (klient is not null and izdelie is not null) then
    begin
        select BROI_IZD_PORYCHKA, BROI_IZD_PRODAGBA from PROV_PORYCH_PROD_KONTR(:NMATERIAL, :klient)
          into :porychano, :prodadeno;
        if (prodadeno - porychano > 0.0000001) then
        begin
            if (NPORYCHKA is null) then
                execute procedure ADDPORYCHKA(:data, :data, :klient, 0) returning_values :NPORYCHKA;
            execute procedure ADD_UPDATE_IZD_PORYCH(:NPORYCHKA, :klient, :izdelie, :prodadeno - :porychano, :data,
                                                    0, 0, 'Продажба ' || :NUMPRODAGBA);
        end
    end
end^

set term ; ^
