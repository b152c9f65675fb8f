-- Client order progress, counted again:
--   a sale delivers what its client had ordered by the sale's day and not yet received; what he
--     bought before ordering, or beyond his orders, was sold freely, and a later order does not
--     take it over;
--   a reducing order line reduces only its own client's order of the product, never below 0;
--   a requisition counts while it still has lines, so material given back takes its products off;
--   in process is counted workshop by workshop: its requisitions not yet made, free requisitions
--     included as the whole recipes they drew, and never more than the workshop's material makes;
--   the recipe of a series product is per series, while its orders, requisitions and batches count
--     pairs, so a need of P pairs takes the recipe for P / pairs-per-series series.

set term ^ ;

-- The pairs one series of the product makes: its recipe rows after the first whose material is
-- counted, as the batch dialog counts them. 0 for a product not made in series.
create or alter procedure IZDELIE_CHIFTA_SERIA (NTIP_IZDELIE integer)
returns (CHIFTA double precision)
as
declare variable seria smallint;
declare variable pyrvi integer;
begin
    CHIFTA = 0;
    seria = 0;
    select coalesce(m.SERIA_DA_NE, 0) from TIP_IZDELIE t join MATERIALI m on m.NMATERIAL = t.NMATERIAL_IZDELIE
     where t.NTIP_IZDELIE = :NTIP_IZDELIE
      into :seria;
    if (seria = 1) then
    begin
        select min(AUTONUM) from IZDELIE_RECEPTA where NTIP_IZDELIE = :NTIP_IZDELIE into :pyrvi;
        select coalesce(sum(r.KOLICHESTVO), 0) from IZDELIE_RECEPTA r join MATERIALI m on m.NMATERIAL = r.NMATERIAL
         where r.NTIP_IZDELIE = :NTIP_IZDELIE and r.AUTONUM <> :pyrvi and m.IZCH_DA_NE = 1
          into :CHIFTA;
    end
    suspend;
end^

-- The materials BROI stored units of the product take (pairs of a series product, else pieces).
-- A series product's recipe row whose material takes the number of pairs (SUM_DA_NE) needs BROI;
-- its other rows need their quantity for BROI / pairs-per-series series. A series product whose
-- recipe counts no pairs is taken per piece.
create or alter procedure IZDELIE_RECEPTA_ZA (NTIP_IZDELIE integer, BROI double precision)
returns (NMATERIAL integer, KOLICHESTVO double precision)
as
declare variable chifta double precision;
declare variable sum_da_ne smallint;
begin
    select CHIFTA from IZDELIE_CHIFTA_SERIA(:NTIP_IZDELIE) into :chifta;
    for select r.NMATERIAL, coalesce(r.KOLICHESTVO, 0), coalesce(m.SUM_DA_NE, 0)
          from IZDELIE_RECEPTA r
          left join MATERIALI m on m.NMATERIAL = r.NMATERIAL
         where r.NTIP_IZDELIE = :NTIP_IZDELIE
          into :NMATERIAL, :KOLICHESTVO, :sum_da_ne
    do
    begin
        if (chifta > 0) then
            KOLICHESTVO = iif(sum_da_ne = 1, BROI, KOLICHESTVO * BROI / chifta);
        else
            KOLICHESTVO = KOLICHESTVO * BROI;
        suspend;
    end
end^

-- One product between each client and the company in day order: his order lines (each as much as
-- it still comes to: a reducing line takes from his newest ordered quantities first) and his sale
-- lines, each split into what went to order and what was sold freely. On one day the orders come
-- before the sales. A sale takes what the client had ordered and not yet received; a return takes
-- back what was sold freely first, then what was sold to order, which he is owed again.
create or alter procedure PORYCHKI_IZD_HOD (NTIP_IZDELIE integer)
returns (NUMKONTRAGENT integer, VID smallint, KLUCH integer, NUMPRODAGBA varchar(11), DATA timestamp,
         BROI double precision, PO_PORYCHKA double precision, SVOBODNO double precision)
as
declare variable mat integer;
declare variable den integer;
declare variable predishen integer;
declare variable ostava double precision;
declare variable dylgi double precision;
declare variable po double precision;
declare variable sv double precision;
declare variable vryshta double precision;
begin
    select NMATERIAL_IZDELIE from TIP_IZDELIE where NTIP_IZDELIE = :NTIP_IZDELIE into :mat;
    predishen = null;
    for select k, vid, kluch, nomer, data, broi, den from (
            select coalesce(p.NKONTRAGENT, 0) as k, 0 as vid, p.AUTONUM_NPORYCHKA as kluch,
                   cast(null as varchar(11)) as nomer, p.DATEPORYCHKA as data, i.BROI_IZDELIE as broi,
                   coalesce(extract(year from p.DATEPORYCHKA) * 10000 + extract(month from p.DATEPORYCHKA) * 100
                            + extract(day from p.DATEPORYCHKA), 0) as den
              from PORYCHKI_IZDELIA i join PORYCHKI p on p.AUTONUM_NPORYCHKA = i.NPORYCHKA
             where i.NTIP_IZDELIE = :NTIP_IZDELIE and i.BROI_IZDELIE > 0
            union all
            select coalesce(s.NKONTRAGENT, 0), 1, s.AUTONUM, s.NUMPRODAGBA, s.DATEFAKTURA,
                   coalesce(s.BROI_MATERIAL_IZDELIE, 0),
                   coalesce(extract(year from s.DATEFAKTURA) * 10000 + extract(month from s.DATEFAKTURA) * 100
                            + extract(day from s.DATEFAKTURA), 0)
              from PRODAGBI s
             where s.NMATERIAL = :mat) h
         order by k, den, vid, kluch
          into :NUMKONTRAGENT, :VID, :KLUCH, :NUMPRODAGBA, :DATA, :BROI, :den
    do
    begin
        if (predishen is distinct from NUMKONTRAGENT) then
        begin
            -- What his lines come to; his oldest lines keep their quantity up to that.
            select coalesce(sum(i.BROI_IZDELIE), 0) from PORYCHKI_IZDELIA i
              join PORYCHKI p on p.AUTONUM_NPORYCHKA = i.NPORYCHKA
             where i.NTIP_IZDELIE = :NTIP_IZDELIE and coalesce(p.NKONTRAGENT, 0) = :NUMKONTRAGENT
              into :ostava;
            ostava = maxvalue(0, ostava);
            dylgi = 0;
            po = 0;
            sv = 0;
            predishen = NUMKONTRAGENT;
        end
        PO_PORYCHKA = 0;
        SVOBODNO = 0;
        if (VID = 0) then
        begin
            BROI = minvalue(BROI, ostava);
            ostava = ostava - BROI;
            dylgi = dylgi + BROI;
        end
        else if (BROI >= 0) then
        begin
            PO_PORYCHKA = minvalue(BROI, dylgi);
            SVOBODNO = BROI - PO_PORYCHKA;
        end
        else
        begin
            vryshta = -BROI;
            SVOBODNO = -minvalue(vryshta, maxvalue(0, sv));
            vryshta = vryshta + SVOBODNO;
            PO_PORYCHKA = -minvalue(vryshta, po);
            -- More back than he was sold: off the free sales.
            SVOBODNO = SVOBODNO - (vryshta + PO_PORYCHKA);
        end
        dylgi = dylgi - PO_PORYCHKA;
        po = po + PO_PORYCHKA;
        sv = sv + SVOBODNO;
        suspend;
    end
end^

-- Per client of a product: what he ordered, what he was sold, and how much of that was to order.
-- Sales to no counterparty (natural persons) come as client 0.
create or alter procedure PORYCHKI_IZD_KONTR (NTIP_IZDELIE integer)
returns (NUMKONTRAGENT integer, PORYCHANO double precision, PRODADENO double precision,
         PO_PORYCHKA double precision)
as
begin
    for select NUMKONTRAGENT, sum(iif(VID = 0, BROI, 0)), sum(iif(VID = 1, BROI, 0)), sum(PO_PORYCHKA)
          from PORYCHKI_IZD_HOD(:NTIP_IZDELIE)
         group by NUMKONTRAGENT
          into :NUMKONTRAGENT, :PORYCHANO, :PRODADENO, :PO_PORYCHKA
    do
        suspend;
end^

-- One row per order line of the product; what a client was sold to order is spread over his lines
-- oldest order first, each taking at most what it still comes to.
create or alter procedure PORYCHKI_DVIGENIE_KONTR_FULL (NTIP_IZDELIE integer)
returns (NUMKONTRAGENT integer, IMEKONTRAGENT varchar(40), NPORYCHKA integer, DATEPORYCHKA timestamp,
         DATESROK timestamp, BROI_IZDELIA_PORYCHKA double precision, BROI_IZDELIA_PRODADENI double precision)
as
declare variable ostava double precision;
declare variable linii double precision;
declare variable efekt double precision;
declare variable predishen integer;
begin
    predishen = null;
    for select coalesce(p.NKONTRAGENT, 0), k.IMEKONTRAGENT, p.AUTONUM_NPORYCHKA, p.DATEPORYCHKA, p.DATESROK,
               coalesce(i.BROI_IZDELIE, 0)
          from PORYCHKI_IZDELIA i
          join PORYCHKI p on p.AUTONUM_NPORYCHKA = i.NPORYCHKA
          left join KONTRAGENTI k on k.NKONTRAGENT = p.NKONTRAGENT
         where i.NTIP_IZDELIE = :NTIP_IZDELIE
         order by 1, coalesce(extract(year from p.DATEPORYCHKA) * 10000 + extract(month from p.DATEPORYCHKA) * 100
                              + extract(day from p.DATEPORYCHKA), 0), p.AUTONUM_NPORYCHKA
          into :NUMKONTRAGENT, :IMEKONTRAGENT, :NPORYCHKA, :DATEPORYCHKA, :DATESROK, :BROI_IZDELIA_PORYCHKA
    do
    begin
        if (predishen is distinct from NUMKONTRAGENT) then
        begin
            ostava = 0;
            select PO_PORYCHKA from PORYCHKI_IZD_KONTR(:NTIP_IZDELIE) where NUMKONTRAGENT = :NUMKONTRAGENT
              into :ostava;
            select coalesce(sum(i.BROI_IZDELIE), 0) from PORYCHKI_IZDELIA i
              join PORYCHKI p on p.AUTONUM_NPORYCHKA = i.NPORYCHKA
             where i.NTIP_IZDELIE = :NTIP_IZDELIE and coalesce(p.NKONTRAGENT, 0) = :NUMKONTRAGENT
              into :linii;
            linii = maxvalue(0, linii);
            predishen = NUMKONTRAGENT;
        end
        efekt = maxvalue(0, minvalue(BROI_IZDELIA_PORYCHKA, linii));
        linii = linii - efekt;
        BROI_IZDELIA_PRODADENI = minvalue(ostava, efekt);
        ostava = ostava - BROI_IZDELIA_PRODADENI;
        suspend;
    end
end^

-- The sale lines of the product, or the parts of them, that were not to order.
create or alter procedure PRODAGBI_SVOBODNO (NTIP_IZDELIE integer)
returns (NUMKONTRAGENT integer, IMEKONTRAGENT varchar(45), NUMPRODAGBA varchar(11), DATEFAKTURA timestamp,
         BROI_IZD_PRODADENI_SVOBODNO double precision)
as
begin
    for select NUMKONTRAGENT, NUMPRODAGBA, DATA, SVOBODNO from PORYCHKI_IZD_HOD(:NTIP_IZDELIE)
         where VID = 1 and abs(SVOBODNO) > 0.0000001
          into :NUMKONTRAGENT, :NUMPRODAGBA, :DATEFAKTURA, :BROI_IZD_PRODADENI_SVOBODNO
    do
    begin
        IMEKONTRAGENT = null;
        select IMEKONTRAGENT from KONTRAGENTI where NKONTRAGENT = :NUMKONTRAGENT into :IMEKONTRAGENT;
        if (IMEKONTRAGENT is null) then
            select IME from PRODAGBI_FLICA where NUMPRODAGBA = :NUMPRODAGBA into :IMEKONTRAGENT;
        suspend;
    end
end^

-- The products of one workshop requisitioned and still in process. Requisitioned: its recipe
-- requisitions of the product that still have lines, and its free requisitions as the whole recipes
-- of the product they drew. In process: those less the workshop's batches of the product, never
-- more than the whole recipes its holdings of the product's materials make, never below 0.
create or alter procedure CEH_IZD_VPROCES (NPROIZVODSTVO integer, NTIP_IZDELIE integer)
returns (ISKANO double precision, VPROCES double precision)
as
declare variable mat integer;
declare variable edinica double precision;
declare variable pyrvi integer;
declare variable niskane varchar(11);
declare variable recepti double precision;
declare variable napraveno double precision;
declare variable material integer;
declare variable kolichestvo double precision;
declare variable nalichno double precision;
declare variable mozhe double precision;
begin
    select NMATERIAL_IZDELIE from TIP_IZDELIE where NTIP_IZDELIE = :NTIP_IZDELIE into :mat;
    select CHIFTA from IZDELIE_CHIFTA_SERIA(:NTIP_IZDELIE) into :edinica;
    -- Stored units one recipe makes: the pairs of a series, else one piece.
    if (edinica <= 0) then edinica = 1;
    select coalesce(sum(iif(coalesce(ii.KOLICH_SERII, 0) > 0, ii.KOLICH_SERII, ii.KOLICH_IZDELIE)), 0)
      from ISKANIA_IZDELIA ii
     where ii.NTIP_IZDELIE = :NTIP_IZDELIE and ii.NPROIZVODSTVO = :NPROIZVODSTVO
       and exists(select 1 from ISKANIA i where i.NISKANE = ii.NISKANE)
      into :ISKANO;
    pyrvi = null;
    select first 1 NMATERIAL from IZDELIE_RECEPTA_ZA(:NTIP_IZDELIE, :edinica) where KOLICHESTVO > 0 into :pyrvi;
    if (pyrvi is not null) then
        for select distinct i.NISKANE from ISKANIA i
             where i.NPROIZVODSTVO = :NPROIZVODSTVO and i.NMATERIAL = :pyrvi
               and not exists(select 1 from ISKANIA_IZDELIA ii where ii.NISKANE = i.NISKANE)
              into :niskane
        do
        begin
            select min(coalesce((select sum(i.KOLICHESTVO) from ISKANIA i
                                  where i.NISKANE = :niskane and i.NMATERIAL = z.NMATERIAL), 0) / z.KOL)
              from (select NMATERIAL, sum(KOLICHESTVO) as KOL from IZDELIE_RECEPTA_ZA(:NTIP_IZDELIE, :edinica)
                     group by NMATERIAL having sum(KOLICHESTVO) > 0) z
              into :recepti;
            ISKANO = ISKANO + floor(recepti + 0.000001) * edinica;
        end
    select coalesce(sum(KOLICH_IZDELIE), 0) from IZDELIE
     where NMATERIAL_IZDELIE = :mat and NPROIZVODSTVO = :NPROIZVODSTVO
      into :napraveno;
    VPROCES = ISKANO - napraveno;
    mozhe = null;
    for select NMATERIAL, sum(KOLICHESTVO) from IZDELIE_RECEPTA_ZA(:NTIP_IZDELIE, :edinica)
         group by NMATERIAL having sum(KOLICHESTVO) > 0
          into :material, :kolichestvo
    do
    begin
        select NALICHNOST from CEH_MAT_SALDO(:NPROIZVODSTVO, :material) into :nalichno;
        mozhe = minvalue(coalesce(mozhe, nalichno / kolichestvo), nalichno / kolichestvo);
    end
    if (mozhe is not null) then
        VPROCES = minvalue(VPROCES, floor(maxvalue(0, mozhe) + 0.000001) * edinica);
    VPROCES = maxvalue(0, VPROCES);
    suspend;
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
        select coalesce(sum(ISKANO), 0), coalesce(sum(VPROCES), 0)
          from (select distinct NPROIZVODSTVO from ISKANIA) c
          left join CEH_IZD_VPROCES(c.NPROIZVODSTVO, :NTIP_IZDELIE) v on 1 = 1
          into :iskano, :vproces;
        select coalesce(sum(KOLICH_IZDELIE), 0) from IZDELIE where NMATERIAL_IZDELIE = :mat into :proizvedeno;
        select coalesce(SUMNALICHNOST, 0) from SKLAD_MAT_NALICH_SUM(:mat) into :nasklad;
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

-- The materials of one order: its products' recipes for their quantities in the order.
create or alter procedure PORYCHKA_MATERIALI_SUM (NUMPORYCHKA integer)
returns (NMATERIAL integer, IMEMATERIAL varchar(65), IMEMIARKA varchar(5), ED_CENA double precision,
         NEOBHODIMO double precision, STOINOST double precision, NALICHNO double precision)
as
begin
    for select z.NMATERIAL, sum(z.KOLICHESTVO)
          from (select NTIP_IZDELIE, sum(BROI_IZDELIE) as BROI from PORYCHKI_IZDELIA
                 where NPORYCHKA = :NUMPORYCHKA group by NTIP_IZDELIE having sum(BROI_IZDELIE) > 0) q
          left join IZDELIE_RECEPTA_ZA(q.NTIP_IZDELIE, q.BROI) z on 1 = 1
         where z.NMATERIAL is not null
         group by z.NMATERIAL
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
    for select z.NMATERIAL, sum(z.KOLICHESTVO)
          from PORYCHKI_DVIGENIE d
          left join IZDELIE_RECEPTA_ZA(d.NTIP_IZDELIE, d.BROI_IZDELIA_PREDSTOIASTI) z on 1 = 1
         where d.NTIP_IZDELIE between :NTIPIZDELIEOT and :NTIPIZDELIEDO and d.BROI_IZDELIA_PREDSTOIASTI > 0
           and z.NMATERIAL is not null
         group by z.NMATERIAL
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

-- The order a sale makes for a client who was sold more of a product than he had ordered: what the
-- sale sold freely becomes a line of the order INPORYCHKA, or of a new order dated as the sale when
-- that is 0. Returns the order written to (INPORYCHKA when nothing was beyond the orders). Run in
-- the sale's transaction after its lines.
create or alter procedure ADDPORYCHKA_PRODAGBA (NUMPRODAGBA varchar(11), NMATERIAL integer, INPORYCHKA integer)
returns (NPORYCHKA integer)
as
declare variable klient integer;
declare variable data timestamp;
declare variable izdelie integer;
declare variable svobodno double precision;
begin
    NPORYCHKA = nullif(INPORYCHKA, 0);
    select first 1 NKONTRAGENT, DATEFAKTURA from PRODAGBI where NUMPRODAGBA = :NUMPRODAGBA into :klient, :data;
    select NTIP_IZDELIE from TIP_IZDELIE where NMATERIAL_IZDELIE = :NMATERIAL into :izdelie;
    if (klient is not null and izdelie is not null) then
    begin
        select coalesce(sum(SVOBODNO), 0) from PORYCHKI_IZD_HOD(:izdelie)
         where VID = 1 and NUMPRODAGBA = :NUMPRODAGBA
          into :svobodno;
        if (svobodno > 0.0000001) then
        begin
            if (NPORYCHKA is null) then
                execute procedure ADDPORYCHKA(:data, :data, :klient, 0) returning_values :NPORYCHKA;
            execute procedure ADD_UPDATE_IZD_PORYCH(:NPORYCHKA, :klient, :izdelie, :svobodno, :data,
                                                    0, 0, 'Продажба ' || :NUMPRODAGBA);
        end
    end
end^

set term ; ^
