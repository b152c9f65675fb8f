-- The material cost of a sale line counts what it drew from a warehouse object as well: a sale
-- through a warehouse object writes off the object's lines, which REALIZACIA_PRODAGBI_SPRAVKA did not
-- read, so such a line showed no cost and its whole value as the difference.

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
        -- The cost of what the line drew: from warehouse delivery lines at their net prices, from a
        -- warehouse object's lines at the price they were transferred at.
        select coalesce(sum(d.KOLICHESTVO * iif(d.AUTONUM_SKLAD is not null,
                                                coalesce(s.ED_CENA_LV, 0) * (1 - coalesce(s.PROCENT_OTST, 0) / 100),
                                                coalesce(o.ED_CENA_LV, 0))), 0)
            from SKLAD_DVIGENIE d
            left join SKLAD s on s.AUTONUM = d.AUTONUM_SKLAD
            left join SKL_OBEKTI_MATERIALI o on o.AUTONUM = d.AUTONUM_SKLOB
            where d.VID_DVIGENIE = 1 and d.DOK_AUTONUM = :NUM_ZAPIS
            into :CENA_MATERIALI;
        PECHALBA = CENA_OBSTO_MATERIAL_IZDELIE - CENA_MATERIALI;
        suspend;
    end
end^

set term ; ^
