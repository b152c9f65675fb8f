-- Sales information: the sale lines of a period with their values, the summary invoice over
-- uninvoiced lines, quantities per article, client turnover and monthly sales per article, and the
-- production batches that used a material.
--
-- A line's values follow the rule of the payment balances: BGN price for types 0 to 10, USD and EUR
-- prices only for the non-invoice types (2, 3, 4, 6, 7, 8, 9); unit price with VAT = price x (1 + VAT),
-- a requisition (9) without VAT; line total = quantity x unit price with VAT x (1 - line discount) x
-- (1 - document discount). A type outside 0 to 10 is worth nothing.
-- Key and date bounds given as null are open; a date bound takes its whole day.

create exception PRODAGBI_FAKT_OTKAZ 'Редът вече е фактуриран или не съществува !';

set term ^ ;

-- One row per sale line in the bounds, with its values, the consignment remainder (quantity not yet
-- paid nor returned, and its value) and the cost of the stock it was drawn from.
create or alter procedure REALIZACIA_PRODAGBI_SPRAVKA (
    NKONTRAGENT_OT integer, NKONTRAGENT_DO integer, NFILIAL_OT integer, NFILIAL_DO integer,
    DATEFAKTURA_OT timestamp, DATEFAKTURA_DO timestamp, NMATERIAL_OT integer, NMATERIAL_DO integer)
returns (
    NUM_ZAPIS integer, NUMPRODAGBA varchar(11), NSTOK_RAZP integer, NKONSIGNACIA integer, NEKSP_BEL integer,
    NFAKT_INT integer, NFAKTURA varchar(10), DATEFAKTURA timestamp, NKONTRAGENT smallint, IMEKONTRAGENT varchar(45),
    IMEFILIAL varchar(45), NUMMATERIAL integer, IME_MATERIAL_IZDELIE varchar(65), IMEMKA varchar(5),
    BROI_MATERIAL_IZDELIE double precision, CENA_MATERIAL_IZDELIE double precision,
    CENA_MAT_IZD_DDS double precision, CENA_MAT_IZD_USD_DDS double precision, CENA_MAT_IZD_EUR_DDS double precision,
    OTST_IZDELIE double precision, PROCENT_OTST double precision, PROCENT_DDS double precision,
    DDS_ST_LV double precision, CENA_OBSTO_MAT_IZD_DDS double precision, CENA_OBSTO_MAT_IZD_USD_DDS double precision,
    CENA_OBSTO_MAT_IZD_EUR_DDS double precision, CENA_OBSTO_MATERIAL_IZDELIE double precision,
    SUM_BROI_MAT_IZD_PLATENO double precision, SUM_BROI_MAT_IZD_VYRNATO double precision,
    SUM_BROI_MAT_IZD_OSTATYK double precision, SUMA_OSTATYK double precision,
    CENA_MATERIALI double precision, IMEVIDPLASTANE varchar(15), PECHALBA double precision,
    IMESKLOB varchar(35), BELEGKA varchar(160))
as
declare variable TIP smallint;
declare variable CENA double precision;
declare variable CENA_USD double precision;
declare variable CENA_EUR double precision;
declare variable VAT double precision;
declare variable K double precision;
declare variable NSKL_OBEKT smallint;
begin
    for select p.AUTONUM, p.NUMPRODAGBA, p.NSTOK_RAZP, p.NKONSIGNACIA, p.NEKSP_BEL, p.NFAKT_INT, p.NFAKTURA,
               p.DATEFAKTURA, p.NKONTRAGENT,
               case when p.NKONTRAGENT = 0 then coalesce(f.IME, p.CLIENT_IME, k.IMEKONTRAGENT) else k.IMEKONTRAGENT end,
               fl.IMEFILIAL, p.NMATERIAL, m.IMEMATERIAL, mk.MIARKA_BG, coalesce(p.BROI_MATERIAL_IZDELIE, 0),
               p.CENA_MATERIAL_IZDELIE, p.TIP_DOCUMENT, coalesce(p.CENA_MATERIAL_IZDELIE, 0),
               coalesce(p.CENA_MAT_IZD_USD, 0), coalesce(p.CENA_MAT_IZD_EUR, 0), p.OTST_IZDELIE, p.PROCENT_OTST,
               p.PROCENT_DDS, (1 - coalesce(p.OTST_IZDELIE, 0) / 100) * (1 - coalesce(p.PROCENT_OTST, 0) / 100),
               vp.VIDPLASTANE, p.NSKL_OBEKT, coalesce(so.IME_SKL_OBEKT, ts.SKLAD), p.BELEGKA
        from PRODAGBI p
        left join KONTRAGENTI k on k.NKONTRAGENT = p.NKONTRAGENT
        left join PRODAGBI_FLICA f on f.NUMPRODAGBA = p.NUMPRODAGBA
        left join KONTRAGENTI_FILIALI fl on fl.NFILIAL = p.NFILIAL
        left join MATERIALI m on m.NMATERIAL = p.NMATERIAL
        left join MIARKA mk on mk.NMIARKA = m.NMIARKA
        left join VIDPLASTANE vp on vp.NVIDPLASTANE = p.NVIDPLASTANE
        left join TIP_SKL_OBEKT so on so.NSKL_OBEKT = p.NSKL_OBEKT and p.NSKL_OBEKT > 0
        left join TIP_SKLAD ts on ts.NSKLAD = m.NSKLAD
        where (:NKONTRAGENT_OT is null or p.NKONTRAGENT >= :NKONTRAGENT_OT)
          and (:NKONTRAGENT_DO is null or p.NKONTRAGENT <= :NKONTRAGENT_DO)
          and (:NFILIAL_OT is null or p.NFILIAL >= :NFILIAL_OT)
          and (:NFILIAL_DO is null or p.NFILIAL <= :NFILIAL_DO)
          and (:DATEFAKTURA_OT is null or p.DATEFAKTURA >= :DATEFAKTURA_OT)
          and (:DATEFAKTURA_DO is null or p.DATEFAKTURA < :DATEFAKTURA_DO + 1)
          and (:NMATERIAL_OT is null or p.NMATERIAL >= :NMATERIAL_OT)
          and (:NMATERIAL_DO is null or p.NMATERIAL <= :NMATERIAL_DO)
        order by p.DATEFAKTURA, p.NUMPRODAGBA, p.AUTONUM
        into :NUM_ZAPIS, :NUMPRODAGBA, :NSTOK_RAZP, :NKONSIGNACIA, :NEKSP_BEL, :NFAKT_INT, :NFAKTURA,
             :DATEFAKTURA, :NKONTRAGENT, :IMEKONTRAGENT, :IMEFILIAL, :NUMMATERIAL, :IME_MATERIAL_IZDELIE, :IMEMKA,
             :BROI_MATERIAL_IZDELIE, :CENA_MATERIAL_IZDELIE, :TIP, :CENA, :CENA_USD, :CENA_EUR, :OTST_IZDELIE,
             :PROCENT_OTST, :PROCENT_DDS, :K, :IMEVIDPLASTANE, :NSKL_OBEKT, :IMESKLOB, :BELEGKA
    do begin
        if (TIP is null or TIP < 0 or TIP > 10) then begin
            CENA = 0; CENA_USD = 0; CENA_EUR = 0;
        end else if (TIP not in (2, 3, 4, 6, 7, 8, 9)) then begin
            CENA_USD = 0; CENA_EUR = 0;
        end
        VAT = iif(TIP = 9, 0, coalesce(PROCENT_DDS, 0)) / 100;
        CENA_MAT_IZD_DDS = CENA * (1 + VAT);
        CENA_MAT_IZD_USD_DDS = CENA_USD * (1 + VAT);
        CENA_MAT_IZD_EUR_DDS = CENA_EUR * (1 + VAT);
        CENA_OBSTO_MATERIAL_IZDELIE = BROI_MATERIAL_IZDELIE * CENA * K;
        DDS_ST_LV = CENA_OBSTO_MATERIAL_IZDELIE * VAT;
        CENA_OBSTO_MAT_IZD_DDS = BROI_MATERIAL_IZDELIE * CENA_MAT_IZD_DDS * K;
        CENA_OBSTO_MAT_IZD_USD_DDS = BROI_MATERIAL_IZDELIE * CENA_MAT_IZD_USD_DDS * K;
        CENA_OBSTO_MAT_IZD_EUR_DDS = BROI_MATERIAL_IZDELIE * CENA_MAT_IZD_EUR_DDS * K;
        SUM_BROI_MAT_IZD_PLATENO = 0;
        SUM_BROI_MAT_IZD_VYRNATO = 0;
        SUM_BROI_MAT_IZD_OSTATYK = 0;
        if (coalesce(NKONSIGNACIA, 0) > 0) then begin
            select coalesce(sum(BROI_MAT_IZD_PLATENO), 0) from PRODAGBI_KONSIGN
                where NUMPRODAGBA = :NUMPRODAGBA and NMATERIAL = :NUMMATERIAL into :SUM_BROI_MAT_IZD_PLATENO;
            select coalesce(sum(BROI_MAT_IZD_VYRNATO), 0) from PRODAGBI_KONSIGN_VYRNATO
                where NUMPRODAGBA = :NUMPRODAGBA and NMATERIAL = :NUMMATERIAL into :SUM_BROI_MAT_IZD_VYRNATO;
            SUM_BROI_MAT_IZD_OSTATYK = BROI_MATERIAL_IZDELIE - SUM_BROI_MAT_IZD_PLATENO - SUM_BROI_MAT_IZD_VYRNATO;
        end
        SUMA_OSTATYK = SUM_BROI_MAT_IZD_OSTATYK * CENA_MAT_IZD_DDS * K;
        -- The cost of what the line drew from the warehouse delivery lines, at their net prices.
        select coalesce(sum(d.KOLICHESTVO * coalesce(s.ED_CENA_LV, 0) * (1 - coalesce(s.PROCENT_OTST, 0) / 100)), 0)
            from SKLAD_DVIGENIE d join SKLAD s on s.AUTONUM = d.AUTONUM_SKLAD
            where d.VID_DVIGENIE = 1 and d.DOK_AUTONUM = :NUM_ZAPIS
            into :CENA_MATERIALI;
        PECHALBA = CENA_OBSTO_MATERIAL_IZDELIE - CENA_MATERIALI;
        suspend;
    end
end^

-- The sales information list: the inquiry's lines of the consignment number and date bounds (a line
-- without a consignment number counts 0).
create or alter procedure REALIZACIA (
    INKONSIGNOT integer, INKONSIGNDO integer, IDATEFAKTOT timestamp, IDATEFAKTDO timestamp)
returns (
    NUM_ZAPIS integer, NUMPRODAGBA varchar(11), NSTOK_RAZP integer, NKONSIGNACIA integer, NEKSP_BEL integer,
    NFAKT_INT integer, NFAKTURA varchar(10), DATEFAKTURA timestamp, IMEKONTRAGENT varchar(45), IMEFILIAL varchar(45),
    IME_MATERIAL_IZDELIE varchar(65), IMEMKA varchar(5), BROI_MATERIAL_IZDELIE double precision,
    CENA_MAT_IZD_DDS double precision, CENA_MAT_IZD_USD_DDS double precision, CENA_MAT_IZD_EUR_DDS double precision,
    OTST_IZDELIE double precision, CENA_OBSTO_MAT_IZD_DDS double precision, CENA_OBSTO_MAT_IZD_USD_DDS double precision,
    CENA_OBSTO_MAT_IZD_EUR_DDS double precision, IMEVIDPLASTANE varchar(15),
    SUM_BROI_MAT_IZD_PLATENO double precision, SUM_BROI_MAT_IZD_VYRNATO double precision,
    CENA_OBSTO_MATERIAL_IZDELIE double precision)
as
begin
    for select NUM_ZAPIS, NUMPRODAGBA, NSTOK_RAZP, NKONSIGNACIA, NEKSP_BEL, NFAKT_INT, NFAKTURA, DATEFAKTURA,
               IMEKONTRAGENT, IMEFILIAL, IME_MATERIAL_IZDELIE, IMEMKA, BROI_MATERIAL_IZDELIE, CENA_MAT_IZD_DDS,
               CENA_MAT_IZD_USD_DDS, CENA_MAT_IZD_EUR_DDS, OTST_IZDELIE, CENA_OBSTO_MAT_IZD_DDS,
               CENA_OBSTO_MAT_IZD_USD_DDS, CENA_OBSTO_MAT_IZD_EUR_DDS, IMEVIDPLASTANE, SUM_BROI_MAT_IZD_PLATENO,
               SUM_BROI_MAT_IZD_VYRNATO, CENA_OBSTO_MATERIAL_IZDELIE
        from REALIZACIA_PRODAGBI_SPRAVKA(null, null, null, null, :IDATEFAKTOT, :IDATEFAKTDO, null, null)
        where (:INKONSIGNOT is null or coalesce(NKONSIGNACIA, 0) >= :INKONSIGNOT)
          and (:INKONSIGNDO is null or coalesce(NKONSIGNACIA, 0) <= :INKONSIGNDO)
        into :NUM_ZAPIS, :NUMPRODAGBA, :NSTOK_RAZP, :NKONSIGNACIA, :NEKSP_BEL, :NFAKT_INT, :NFAKTURA, :DATEFAKTURA,
             :IMEKONTRAGENT, :IMEFILIAL, :IME_MATERIAL_IZDELIE, :IMEMKA, :BROI_MATERIAL_IZDELIE, :CENA_MAT_IZD_DDS,
             :CENA_MAT_IZD_USD_DDS, :CENA_MAT_IZD_EUR_DDS, :OTST_IZDELIE, :CENA_OBSTO_MAT_IZD_DDS,
             :CENA_OBSTO_MAT_IZD_USD_DDS, :CENA_OBSTO_MAT_IZD_EUR_DDS, :IMEVIDPLASTANE, :SUM_BROI_MAT_IZD_PLATENO,
             :SUM_BROI_MAT_IZD_VYRNATO, :CENA_OBSTO_MATERIAL_IZDELIE
    do suspend;
end^

-- The quantity sold of each article in the date bounds.
create or alter procedure REALIZACIA_PRODAGBI_PERIOD (DATEFAKTURA_OT timestamp, DATEFAKTURA_DO timestamp)
returns (NMATERIAL integer, IME_MATERIAL_IZDELIE varchar(65), KOLICHESTVO double precision, IMEMKA varchar(5))
as
begin
    for select p.NMATERIAL, max(m.IMEMATERIAL), sum(coalesce(p.BROI_MATERIAL_IZDELIE, 0)), max(mk.MIARKA_BG)
        from PRODAGBI p
        left join MATERIALI m on m.NMATERIAL = p.NMATERIAL
        left join MIARKA mk on mk.NMIARKA = m.NMIARKA
        where (:DATEFAKTURA_OT is null or p.DATEFAKTURA >= :DATEFAKTURA_OT)
          and (:DATEFAKTURA_DO is null or p.DATEFAKTURA < :DATEFAKTURA_DO + 1)
        group by p.NMATERIAL
        into :NMATERIAL, :IME_MATERIAL_IZDELIE, :KOLICHESTVO, :IMEMKA
    do suspend;
end^

-- Writes a summary invoice's number (NFAKT_TXT in text mode 0, NFAKT_INT in integer mode 1) and
-- date onto one sale line. The line keeps its VAT rate, document type and prices. A line that
-- already carries an invoice number, or is not there, is refused.
create or alter procedure UPDATEPRODAGBI_NFAKT (
    NUM_ZAP integer, NFAKT_TXT_INT smallint, NFAKT_TXT varchar(10), NFAKT_INT integer, DATEFAKTURA timestamp)
as
begin
    update PRODAGBI set
        NFAKTURA = iif(:NFAKT_TXT_INT = 1, NFAKTURA, :NFAKT_TXT),
        NFAKT_INT = iif(:NFAKT_TXT_INT = 1, :NFAKT_INT, NFAKT_INT),
        DATEFAKTURA = :DATEFAKTURA
    where AUTONUM = :NUM_ZAP
      and coalesce(NFAKTURA, '') in ('', '0') and coalesce(NFAKT_INT, 0) <= 0;
    if (row_count = 0) then exception PRODAGBI_FAKT_OTKAZ;
end^

set term ; ^

-- The value of every sale line with VAT, after both discounts, per currency (the rule above).
create view PRODAGBI_STOINOSTI (AUTONUM, NKONTRAGENT, NMATERIAL, DATEFAKTURA, BROI, ST_LV, ST_USD, ST_EUR) as
select x.AUTONUM, x.NKONTRAGENT, x.NMATERIAL, x.DATEFAKTURA, x.BROI,
       x.BROI * x.CENA * x.F, x.BROI * x.CENA_USD * x.F, x.BROI * x.CENA_EUR * x.F
from (
    select p.AUTONUM, p.NKONTRAGENT, p.NMATERIAL, p.DATEFAKTURA, coalesce(p.BROI_MATERIAL_IZDELIE, 0) as BROI,
           case when p.TIP_DOCUMENT between 0 and 10 then coalesce(p.CENA_MATERIAL_IZDELIE, 0) else 0 end as CENA,
           case when p.TIP_DOCUMENT in (2, 3, 4, 6, 7, 8, 9) then coalesce(p.CENA_MAT_IZD_USD, 0) else 0 end as CENA_USD,
           case when p.TIP_DOCUMENT in (2, 3, 4, 6, 7, 8, 9) then coalesce(p.CENA_MAT_IZD_EUR, 0) else 0 end as CENA_EUR,
           (1 + case when p.TIP_DOCUMENT = 9 then 0 else coalesce(p.PROCENT_DDS, 0) end / 100)
               * (1 - coalesce(p.OTST_IZDELIE, 0) / 100) * (1 - coalesce(p.PROCENT_OTST, 0) / 100) as F
    from PRODAGBI p
) x;

set term ^ ;

-- Per counterparty, for the year: quantity and value with VAT in BGN, USD and EUR per month and for the
-- year, rounded to whole units (each from its unrounded sum). Every counterparty is listed.
create or alter procedure KLIENTI_OBOROT (GODINA integer)
returns (NKONTRAGENT smallint, GRAD varchar(15), IMEKONTRAGENT varchar(45),
    I_KOL integer, I_ST_LV integer, I_ST_USD integer, I_ST_EUR integer,
    II_KOL integer, II_ST_LV integer, II_ST_USD integer, II_ST_EUR integer,
    III_KOL integer, III_ST_LV integer, III_ST_USD integer, III_ST_EUR integer,
    IV_KOL integer, IV_ST_LV integer, IV_ST_USD integer, IV_ST_EUR integer,
    V_KOL integer, V_ST_LV integer, V_ST_USD integer, V_ST_EUR integer,
    VI_KOL integer, VI_ST_LV integer, VI_ST_USD integer, VI_ST_EUR integer,
    VII_KOL integer, VII_ST_LV integer, VII_ST_USD integer, VII_ST_EUR integer,
    VIII_KOL integer, VIII_ST_LV integer, VIII_ST_USD integer, VIII_ST_EUR integer,
    IX_KOL integer, IX_ST_LV integer, IX_ST_USD integer, IX_ST_EUR integer,
    X_KOL integer, X_ST_LV integer, X_ST_USD integer, X_ST_EUR integer,
    XI_KOL integer, XI_ST_LV integer, XI_ST_USD integer, XI_ST_EUR integer,
    XII_KOL integer, XII_ST_LV integer, XII_ST_USD integer, XII_ST_EUR integer,
    OBSTO_KOL integer, OBSTO_ST_LV integer, OBSTO_ST_USD integer, OBSTO_ST_EUR integer)
as
begin
    for select k.NKONTRAGENT, g.GRAD, k.IMEKONTRAGENT,
               cast(coalesce(s.I_KOL, 0) as integer), cast(coalesce(s.I_ST_LV, 0) as integer), cast(coalesce(s.I_ST_USD, 0) as integer),
               cast(coalesce(s.I_ST_EUR, 0) as integer), cast(coalesce(s.II_KOL, 0) as integer), cast(coalesce(s.II_ST_LV, 0) as integer),
               cast(coalesce(s.II_ST_USD, 0) as integer), cast(coalesce(s.II_ST_EUR, 0) as integer), cast(coalesce(s.III_KOL, 0) as integer),
               cast(coalesce(s.III_ST_LV, 0) as integer), cast(coalesce(s.III_ST_USD, 0) as integer), cast(coalesce(s.III_ST_EUR, 0) as integer),
               cast(coalesce(s.IV_KOL, 0) as integer), cast(coalesce(s.IV_ST_LV, 0) as integer), cast(coalesce(s.IV_ST_USD, 0) as integer),
               cast(coalesce(s.IV_ST_EUR, 0) as integer), cast(coalesce(s.V_KOL, 0) as integer), cast(coalesce(s.V_ST_LV, 0) as integer),
               cast(coalesce(s.V_ST_USD, 0) as integer), cast(coalesce(s.V_ST_EUR, 0) as integer), cast(coalesce(s.VI_KOL, 0) as integer),
               cast(coalesce(s.VI_ST_LV, 0) as integer), cast(coalesce(s.VI_ST_USD, 0) as integer), cast(coalesce(s.VI_ST_EUR, 0) as integer),
               cast(coalesce(s.VII_KOL, 0) as integer), cast(coalesce(s.VII_ST_LV, 0) as integer), cast(coalesce(s.VII_ST_USD, 0) as integer),
               cast(coalesce(s.VII_ST_EUR, 0) as integer), cast(coalesce(s.VIII_KOL, 0) as integer), cast(coalesce(s.VIII_ST_LV, 0) as integer),
               cast(coalesce(s.VIII_ST_USD, 0) as integer), cast(coalesce(s.VIII_ST_EUR, 0) as integer), cast(coalesce(s.IX_KOL, 0) as integer),
               cast(coalesce(s.IX_ST_LV, 0) as integer), cast(coalesce(s.IX_ST_USD, 0) as integer), cast(coalesce(s.IX_ST_EUR, 0) as integer),
               cast(coalesce(s.X_KOL, 0) as integer), cast(coalesce(s.X_ST_LV, 0) as integer), cast(coalesce(s.X_ST_USD, 0) as integer),
               cast(coalesce(s.X_ST_EUR, 0) as integer), cast(coalesce(s.XI_KOL, 0) as integer), cast(coalesce(s.XI_ST_LV, 0) as integer),
               cast(coalesce(s.XI_ST_USD, 0) as integer), cast(coalesce(s.XI_ST_EUR, 0) as integer), cast(coalesce(s.XII_KOL, 0) as integer),
               cast(coalesce(s.XII_ST_LV, 0) as integer), cast(coalesce(s.XII_ST_USD, 0) as integer), cast(coalesce(s.XII_ST_EUR, 0) as integer),
               cast(coalesce(s.OBSTO_KOL, 0) as integer), cast(coalesce(s.OBSTO_ST_LV, 0) as integer), cast(coalesce(s.OBSTO_ST_USD, 0) as integer),
               cast(coalesce(s.OBSTO_ST_EUR, 0) as integer)
        from KONTRAGENTI k
        left join GRADOVE g on g.POSTKOD = k.POSTKOD
        left join (
            select v.NKONTRAGENT,
                   sum(iif(extract(month from v.DATEFAKTURA) = 1, v.BROI, 0)) as I_KOL,
                   sum(iif(extract(month from v.DATEFAKTURA) = 1, v.ST_LV, 0)) as I_ST_LV,
                   sum(iif(extract(month from v.DATEFAKTURA) = 1, v.ST_USD, 0)) as I_ST_USD,
                   sum(iif(extract(month from v.DATEFAKTURA) = 1, v.ST_EUR, 0)) as I_ST_EUR,
                   sum(iif(extract(month from v.DATEFAKTURA) = 2, v.BROI, 0)) as II_KOL,
                   sum(iif(extract(month from v.DATEFAKTURA) = 2, v.ST_LV, 0)) as II_ST_LV,
                   sum(iif(extract(month from v.DATEFAKTURA) = 2, v.ST_USD, 0)) as II_ST_USD,
                   sum(iif(extract(month from v.DATEFAKTURA) = 2, v.ST_EUR, 0)) as II_ST_EUR,
                   sum(iif(extract(month from v.DATEFAKTURA) = 3, v.BROI, 0)) as III_KOL,
                   sum(iif(extract(month from v.DATEFAKTURA) = 3, v.ST_LV, 0)) as III_ST_LV,
                   sum(iif(extract(month from v.DATEFAKTURA) = 3, v.ST_USD, 0)) as III_ST_USD,
                   sum(iif(extract(month from v.DATEFAKTURA) = 3, v.ST_EUR, 0)) as III_ST_EUR,
                   sum(iif(extract(month from v.DATEFAKTURA) = 4, v.BROI, 0)) as IV_KOL,
                   sum(iif(extract(month from v.DATEFAKTURA) = 4, v.ST_LV, 0)) as IV_ST_LV,
                   sum(iif(extract(month from v.DATEFAKTURA) = 4, v.ST_USD, 0)) as IV_ST_USD,
                   sum(iif(extract(month from v.DATEFAKTURA) = 4, v.ST_EUR, 0)) as IV_ST_EUR,
                   sum(iif(extract(month from v.DATEFAKTURA) = 5, v.BROI, 0)) as V_KOL,
                   sum(iif(extract(month from v.DATEFAKTURA) = 5, v.ST_LV, 0)) as V_ST_LV,
                   sum(iif(extract(month from v.DATEFAKTURA) = 5, v.ST_USD, 0)) as V_ST_USD,
                   sum(iif(extract(month from v.DATEFAKTURA) = 5, v.ST_EUR, 0)) as V_ST_EUR,
                   sum(iif(extract(month from v.DATEFAKTURA) = 6, v.BROI, 0)) as VI_KOL,
                   sum(iif(extract(month from v.DATEFAKTURA) = 6, v.ST_LV, 0)) as VI_ST_LV,
                   sum(iif(extract(month from v.DATEFAKTURA) = 6, v.ST_USD, 0)) as VI_ST_USD,
                   sum(iif(extract(month from v.DATEFAKTURA) = 6, v.ST_EUR, 0)) as VI_ST_EUR,
                   sum(iif(extract(month from v.DATEFAKTURA) = 7, v.BROI, 0)) as VII_KOL,
                   sum(iif(extract(month from v.DATEFAKTURA) = 7, v.ST_LV, 0)) as VII_ST_LV,
                   sum(iif(extract(month from v.DATEFAKTURA) = 7, v.ST_USD, 0)) as VII_ST_USD,
                   sum(iif(extract(month from v.DATEFAKTURA) = 7, v.ST_EUR, 0)) as VII_ST_EUR,
                   sum(iif(extract(month from v.DATEFAKTURA) = 8, v.BROI, 0)) as VIII_KOL,
                   sum(iif(extract(month from v.DATEFAKTURA) = 8, v.ST_LV, 0)) as VIII_ST_LV,
                   sum(iif(extract(month from v.DATEFAKTURA) = 8, v.ST_USD, 0)) as VIII_ST_USD,
                   sum(iif(extract(month from v.DATEFAKTURA) = 8, v.ST_EUR, 0)) as VIII_ST_EUR,
                   sum(iif(extract(month from v.DATEFAKTURA) = 9, v.BROI, 0)) as IX_KOL,
                   sum(iif(extract(month from v.DATEFAKTURA) = 9, v.ST_LV, 0)) as IX_ST_LV,
                   sum(iif(extract(month from v.DATEFAKTURA) = 9, v.ST_USD, 0)) as IX_ST_USD,
                   sum(iif(extract(month from v.DATEFAKTURA) = 9, v.ST_EUR, 0)) as IX_ST_EUR,
                   sum(iif(extract(month from v.DATEFAKTURA) = 10, v.BROI, 0)) as X_KOL,
                   sum(iif(extract(month from v.DATEFAKTURA) = 10, v.ST_LV, 0)) as X_ST_LV,
                   sum(iif(extract(month from v.DATEFAKTURA) = 10, v.ST_USD, 0)) as X_ST_USD,
                   sum(iif(extract(month from v.DATEFAKTURA) = 10, v.ST_EUR, 0)) as X_ST_EUR,
                   sum(iif(extract(month from v.DATEFAKTURA) = 11, v.BROI, 0)) as XI_KOL,
                   sum(iif(extract(month from v.DATEFAKTURA) = 11, v.ST_LV, 0)) as XI_ST_LV,
                   sum(iif(extract(month from v.DATEFAKTURA) = 11, v.ST_USD, 0)) as XI_ST_USD,
                   sum(iif(extract(month from v.DATEFAKTURA) = 11, v.ST_EUR, 0)) as XI_ST_EUR,
                   sum(iif(extract(month from v.DATEFAKTURA) = 12, v.BROI, 0)) as XII_KOL,
                   sum(iif(extract(month from v.DATEFAKTURA) = 12, v.ST_LV, 0)) as XII_ST_LV,
                   sum(iif(extract(month from v.DATEFAKTURA) = 12, v.ST_USD, 0)) as XII_ST_USD,
                   sum(iif(extract(month from v.DATEFAKTURA) = 12, v.ST_EUR, 0)) as XII_ST_EUR,
                   sum(v.BROI) as OBSTO_KOL,
                   sum(v.ST_LV) as OBSTO_ST_LV,
                   sum(v.ST_USD) as OBSTO_ST_USD,
                   sum(v.ST_EUR) as OBSTO_ST_EUR
            from PRODAGBI_STOINOSTI v
            where v.DATEFAKTURA >= cast(:GODINA || '-01-01' as timestamp)
              and v.DATEFAKTURA < dateadd(1 year to cast(:GODINA || '-01-01' as timestamp))
            group by v.NKONTRAGENT) s on s.NKONTRAGENT = k.NKONTRAGENT
        order by k.IMEKONTRAGENT, k.NKONTRAGENT
        into :NKONTRAGENT, :GRAD, :IMEKONTRAGENT,
             :I_KOL, :I_ST_LV, :I_ST_USD, :I_ST_EUR, :II_KOL, :II_ST_LV,
             :II_ST_USD, :II_ST_EUR, :III_KOL, :III_ST_LV, :III_ST_USD, :III_ST_EUR,
             :IV_KOL, :IV_ST_LV, :IV_ST_USD, :IV_ST_EUR, :V_KOL, :V_ST_LV,
             :V_ST_USD, :V_ST_EUR, :VI_KOL, :VI_ST_LV, :VI_ST_USD, :VI_ST_EUR,
             :VII_KOL, :VII_ST_LV, :VII_ST_USD, :VII_ST_EUR, :VIII_KOL, :VIII_ST_LV,
             :VIII_ST_USD, :VIII_ST_EUR, :IX_KOL, :IX_ST_LV, :IX_ST_USD, :IX_ST_EUR,
             :X_KOL, :X_ST_LV, :X_ST_USD, :X_ST_EUR, :XI_KOL, :XI_ST_LV,
             :XI_ST_USD, :XI_ST_EUR, :XII_KOL, :XII_ST_LV, :XII_ST_USD, :XII_ST_EUR,
             :OBSTO_KOL, :OBSTO_ST_LV, :OBSTO_ST_USD, :OBSTO_ST_EUR
    do suspend;
end^

-- Per article of the warehouse (null: every warehouse), the BGN value with VAT sold in each month of the
-- year and in the year, numbered in name order.
create or alter procedure REALIZACIA_PRODAGBI_PO_MESECI (NUMSKLAD integer, GODINA integer)
returns (NUMRED integer, NMATERIAL integer, IME_MATERIAL_IZDELIE varchar(65),
    I_LV double precision, II_LV double precision, III_LV double precision, IV_LV double precision,
    V_LV double precision, VI_LV double precision, VII_LV double precision, VIII_LV double precision,
    IX_LV double precision, X_LV double precision, XI_LV double precision, XII_LV double precision,
    OBSTO_LV double precision)
as
begin
    NUMRED = 0;
    for select m.NMATERIAL, m.IMEMATERIAL,
               sum(iif(extract(month from v.DATEFAKTURA) = 1, v.ST_LV, 0)), sum(iif(extract(month from v.DATEFAKTURA) = 2, v.ST_LV, 0)),
               sum(iif(extract(month from v.DATEFAKTURA) = 3, v.ST_LV, 0)), sum(iif(extract(month from v.DATEFAKTURA) = 4, v.ST_LV, 0)),
               sum(iif(extract(month from v.DATEFAKTURA) = 5, v.ST_LV, 0)), sum(iif(extract(month from v.DATEFAKTURA) = 6, v.ST_LV, 0)),
               sum(iif(extract(month from v.DATEFAKTURA) = 7, v.ST_LV, 0)), sum(iif(extract(month from v.DATEFAKTURA) = 8, v.ST_LV, 0)),
               sum(iif(extract(month from v.DATEFAKTURA) = 9, v.ST_LV, 0)), sum(iif(extract(month from v.DATEFAKTURA) = 10, v.ST_LV, 0)),
               sum(iif(extract(month from v.DATEFAKTURA) = 11, v.ST_LV, 0)), sum(iif(extract(month from v.DATEFAKTURA) = 12, v.ST_LV, 0)),
               sum(v.ST_LV)
        from PRODAGBI_STOINOSTI v
        join MATERIALI m on m.NMATERIAL = v.NMATERIAL
        where (:NUMSKLAD is null or m.NSKLAD = :NUMSKLAD)
          and v.DATEFAKTURA >= cast(:GODINA || '-01-01' as timestamp)
          and v.DATEFAKTURA < dateadd(1 year to cast(:GODINA || '-01-01' as timestamp))
        group by m.IMEMATERIAL, m.NMATERIAL
        order by m.IMEMATERIAL, m.NMATERIAL
        into :NMATERIAL, :IME_MATERIAL_IZDELIE,
             :I_LV, :II_LV, :III_LV, :IV_LV, :V_LV, :VI_LV, :VII_LV,
             :VIII_LV, :IX_LV, :X_LV, :XI_LV, :XII_LV, :OBSTO_LV
    do begin
        NUMRED = NUMRED + 1;
        suspend;
    end
end^

-- The production batches whose materials include the material, oldest first.
create or alter procedure MATERIAL_IZDELIQ (NUM_MATERIAL integer)
returns (PART_NUM_IZDELIE varchar(11), PROIZVODSTVO varchar(35), IMEIZDELIE varchar(65), DATEIZDELIE timestamp,
         KOLICH_IZDELIE integer, KOLICH_SERII smallint)
as
begin
    for select i.PART_NUM_IZDELIE, t.PROIZVODSTVO, m.IMEMATERIAL, i.DATEIZDELIE, i.KOLICH_IZDELIE, i.KOLICH_SERII
        from IZDELIE i
        left join TIP_PROIZVODSTVO t on t.NPROIZVODSTVO = i.NPROIZVODSTVO
        left join MATERIALI m on m.NMATERIAL = i.NMATERIAL_IZDELIE
        where exists (select 1 from IZDELIE_MATERIALI im
                      where im.PART_NUM_IZDELIE = i.PART_NUM_IZDELIE and im.NMATERIAL = :NUM_MATERIAL)
        order by i.DATEIZDELIE, i.PART_NUM_IZDELIE
        into :PART_NUM_IZDELIE, :PROIZVODSTVO, :IMEIZDELIE, :DATEIZDELIE, :KOLICH_IZDELIE, :KOLICH_SERII
    do suspend;
end^

set term ; ^
