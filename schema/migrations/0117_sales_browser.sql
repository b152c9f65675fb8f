-- The sales documents browser: the recorded lines with their values, header and price corrections,
-- and the consignment settlements capped at what was given.

create exception PRODAGBI_KONS_OTKAZ 'Платеното и върнатото количество надхвърля количеството по документ !';

set term ^ ;

-- One row per sale line of the selection: 0 by text invoice number, 1 by integer invoice number,
-- 2 by sale number. AUTONUM is the line's key, so corrections reach exactly that line. The header
-- columns and the document totals repeat on every line of a sale; the values follow the rules of
-- the sale being entered (VAT on the unit price of non-invoice types, on the total of invoices).
create or alter procedure REALIZACIA_PRODAGBA (
    NUM_IZBOR smallint, NUMFAKTURA varchar(10), NUMFAKT_INT integer, NPRODAGBA varchar(11))
returns (
    AUTONUM integer, NUMPRODAGBA varchar(11), NSTOK_RAZP integer, NKONSIGNACIA integer, NEKSP_BEL integer,
    NFAKT_INT integer, NFAKTURA varchar(10), DATEFAKTURA timestamp,
    ARTN_POLUCH varchar(10), ARTN_DOSTAV varchar(10), IME_MATERIAL_IZDELIE varchar(65), BARKOD varchar(13),
    IMEMKA varchar(5), BROI_MATERIAL_IZDELIE double precision, CENA_MATERIAL_IZDELIE double precision,
    CENA_MAT_IZD_DDS double precision, CENA_MAT_IZD_USD double precision, CENA_MAT_IZD_EUR double precision,
    CENA_MAT_IZD_USD_DDS double precision, CENA_MAT_IZD_EUR_DDS double precision, OTST_IZDELIE double precision,
    CENA_OBSTO_MATERIAL_IZDELIE double precision, CENA_OBSTO_MAT_IZD_DDS double precision,
    CENA_OBSTO_MAT_IZD_USD double precision, CENA_OBSTO_MAT_IZD_EUR double precision,
    CENA_OBSTO_MAT_IZD_USD_DDS double precision, CENA_OBSTO_MAT_IZD_EUR_DDS double precision,
    NKONTRAGENT smallint, IMEKONTRAGENT varchar(45), IMEFILIAL varchar(45),
    PROCENT_OTST double precision, PROCENT_DDS double precision,
    IME_MOL_FIRMA varchar(45), IME_MOL_FIRMA_SYSTAVIL varchar(45), NFIRMA_OFIS smallint,
    IME_OFIS_GRAD varchar(15), IME_OFIS_ADRES varchar(30),
    SUMA_FAKTURA double precision, OBLAGAEMA_ST double precision, DDS_FAKTURA double precision,
    SUMA_DDS_FAKTURA double precision, IMEVIDPLASTANE varchar(15), TIP_DOCUMENT smallint, IME_DOKUMENT varchar(30),
    BELEGKA varchar(160), CLIENT_STOKA_POLUCHENA_DATE timestamp, CLIENT_IME varchar(45), CLIENT_EGN varchar(10),
    CLIENT_LK varchar(10), CLIENT_LK_IZD timestamp, CLIENT_OTG_ST_OP varchar(45), NUM_TRANSPORT varchar(15),
    FZLICE_IME varchar(45), FZLICE_ADRES varchar(40), FZLICE_EGN varchar(10),
    KONTR_GRAG varchar(15), KONTR_ADRES varchar(40), KONTR_DAN_NO varchar(14), KONTR_BULSTAT varchar(14),
    KONTR_MOL varchar(45),
    SUM_BROI_MAT_IZD_PLATENO double precision, SUM_BROI_MAT_IZD_VYRNATO double precision,
    NUMMATERIAL integer, NPORYCHKA varchar(10),
    SUMA_FAKTURA_DDS double precision, SUMA_OTST double precision, SUMA_OTST_DDS double precision,
    SUMA_PLASTANE double precision, SUMA_PLASTANE_USD double precision, SUMA_PLASTANE_EUR double precision,
    CENA_OBSTO_MAT_IZD_USD_SUM double precision, CENA_OBSTO_MAT_IZD_EUR_SUM double precision,
    SUMA_OTST_USD_DDS double precision, SUMA_OTST_EUR_DDS double precision,
    NSKL_OBEKT smallint, NUMFILIAL smallint, NUMMOL_FIRMA smallint, NUMMOL_FIRMA_SYSTAVIL smallint,
    NUMVIDPLASTANE smallint, NUM_OSNOVANIE smallint)
as
declare variable invoice smallint;
declare variable vat double precision;
declare variable f double precision;
begin
    for select p.AUTONUM, p.NUMPRODAGBA, p.NSTOK_RAZP, p.NKONSIGNACIA, p.NEKSP_BEL, p.NFAKT_INT, p.NFAKTURA,
               p.DATEFAKTURA, p.ARTN_POLUCH, p.ARTN_DOSTAV, m.IMEMATERIAL, p.BARKOD, mk.MIARKA_BG,
               coalesce(p.BROI_MATERIAL_IZDELIE, 0), coalesce(p.CENA_MATERIAL_IZDELIE, 0),
               coalesce(p.CENA_MAT_IZD_USD, 0), coalesce(p.CENA_MAT_IZD_EUR, 0), coalesce(p.OTST_IZDELIE, 0),
               coalesce(p.NKONTRAGENT, 0), k.IMEKONTRAGENT, fi.IMEFILIAL, coalesce(p.PROCENT_OTST, 0),
               coalesce(p.PROCENT_DDS, 0), mf.IMEMOLFIRMA, sy.IMEMOLFIRMA, p.NFIRMA_OFIS, og.GRAD, fo.ADRES,
               vp.VIDPLASTANE, p.TIP_DOCUMENT, td.IME_DOKUMENT, p.BELEGKA, p.CLIENT_STOKA_POLUCHENA_DATE,
               p.CLIENT_IME, p.CLIENT_EGN, p.CLIENT_LK, p.CLIENT_LK_IZD, p.CLIENT_OTG_ST_OP, p.NUM_TRANSPORT,
               fl.IME, fl.ADRES, fl.EGN, kg.GRAD, k.ADRES, k.DAN_NO, k.BULSTAT, km.IMEMOL,
               p.NMATERIAL, p.NPORYCHKA, coalesce(p.NSKL_OBEKT, 0), p.NFILIAL, p.NMOL_FIRMA,
               p.NMOL_FIRMA_SYSTAVIL, p.NVIDPLASTANE, p.NUM_OSNOVANIE
        from PRODAGBI p
        left join MATERIALI m on m.NMATERIAL = p.NMATERIAL
        left join MIARKA mk on mk.NMIARKA = m.NMIARKA
        left join KONTRAGENTI k on k.NKONTRAGENT = p.NKONTRAGENT
        left join GRADOVE kg on kg.POSTKOD = k.POSTKOD
        left join MOL km on km.NMOL = k.NMOL
        left join KONTRAGENTI_FILIALI fi on fi.NFILIAL = p.NFILIAL
        left join MOL_FIRMA mf on mf.NMOL_FIRMA = p.NMOL_FIRMA
        left join MOL_FIRMA sy on sy.NMOL_FIRMA = p.NMOL_FIRMA_SYSTAVIL
        left join FIRMA_OFISI fo on fo.NUMOFIS = p.NFIRMA_OFIS
        left join GRADOVE og on og.POSTKOD = fo.POSTKOD
        left join VIDPLASTANE vp on vp.NVIDPLASTANE = p.NVIDPLASTANE
        left join TIP_DOKUMENT td on td.NTIP_DOKUMENT = p.TIP_DOCUMENT
        left join PRODAGBI_FLICA fl on fl.NUMPRODAGBA = p.NUMPRODAGBA
        where (:NUM_IZBOR = 0 and p.NFAKTURA = :NUMFAKTURA)
           or (:NUM_IZBOR = 1 and p.NFAKT_INT = :NUMFAKT_INT)
           or (:NUM_IZBOR = 2 and p.NUMPRODAGBA = :NPRODAGBA)
        order by p.NUMPRODAGBA, p.AUTONUM
        into :AUTONUM, :NUMPRODAGBA, :NSTOK_RAZP, :NKONSIGNACIA, :NEKSP_BEL, :NFAKT_INT, :NFAKTURA,
             :DATEFAKTURA, :ARTN_POLUCH, :ARTN_DOSTAV, :IME_MATERIAL_IZDELIE, :BARKOD, :IMEMKA,
             :BROI_MATERIAL_IZDELIE, :CENA_MATERIAL_IZDELIE, :CENA_MAT_IZD_USD, :CENA_MAT_IZD_EUR, :OTST_IZDELIE,
             :NKONTRAGENT, :IMEKONTRAGENT, :IMEFILIAL, :PROCENT_OTST, :PROCENT_DDS, :IME_MOL_FIRMA,
             :IME_MOL_FIRMA_SYSTAVIL, :NFIRMA_OFIS, :IME_OFIS_GRAD, :IME_OFIS_ADRES, :IMEVIDPLASTANE,
             :TIP_DOCUMENT, :IME_DOKUMENT, :BELEGKA, :CLIENT_STOKA_POLUCHENA_DATE, :CLIENT_IME, :CLIENT_EGN,
             :CLIENT_LK, :CLIENT_LK_IZD, :CLIENT_OTG_ST_OP, :NUM_TRANSPORT, :FZLICE_IME, :FZLICE_ADRES,
             :FZLICE_EGN, :KONTR_GRAG, :KONTR_ADRES, :KONTR_DAN_NO, :KONTR_BULSTAT, :KONTR_MOL,
             :NUMMATERIAL, :NPORYCHKA, :NSKL_OBEKT, :NUMFILIAL, :NUMMOL_FIRMA, :NUMMOL_FIRMA_SYSTAVIL,
             :NUMVIDPLASTANE, :NUM_OSNOVANIE
    do
    begin
        invoice = iif(TIP_DOCUMENT in (0, 1, 5, 10), 1, 0);
        vat = iif(TIP_DOCUMENT = 9, 0, PROCENT_DDS);
        f = 1 - OTST_IZDELIE / 100;
        CENA_OBSTO_MATERIAL_IZDELIE = BROI_MATERIAL_IZDELIE * CENA_MATERIAL_IZDELIE * f;
        CENA_OBSTO_MAT_IZD_USD = BROI_MATERIAL_IZDELIE * CENA_MAT_IZD_USD * f;
        CENA_OBSTO_MAT_IZD_EUR = BROI_MATERIAL_IZDELIE * CENA_MAT_IZD_EUR * f;
        if (TIP_DOCUMENT is null or TIP_DOCUMENT < 0 or TIP_DOCUMENT > 10) then
        begin
            CENA_MAT_IZD_DDS = 0; CENA_MAT_IZD_USD_DDS = 0; CENA_MAT_IZD_EUR_DDS = 0;
        end
        else if (invoice = 1) then
        begin
            CENA_MAT_IZD_DDS = CENA_MATERIAL_IZDELIE; CENA_MAT_IZD_USD_DDS = 0; CENA_MAT_IZD_EUR_DDS = 0;
        end
        else
        begin
            CENA_MAT_IZD_DDS = CENA_MATERIAL_IZDELIE * (1 + vat / 100);
            CENA_MAT_IZD_USD_DDS = CENA_MAT_IZD_USD * (1 + vat / 100);
            CENA_MAT_IZD_EUR_DDS = CENA_MAT_IZD_EUR * (1 + vat / 100);
        end
        CENA_OBSTO_MAT_IZD_DDS = BROI_MATERIAL_IZDELIE * CENA_MAT_IZD_DDS * f;
        CENA_OBSTO_MAT_IZD_USD_DDS = BROI_MATERIAL_IZDELIE * CENA_MAT_IZD_USD_DDS * f;
        CENA_OBSTO_MAT_IZD_EUR_DDS = BROI_MATERIAL_IZDELIE * CENA_MAT_IZD_EUR_DDS * f;

        -- The document totals over every line of this line's sale.
        select sum(coalesce(x.BROI_MATERIAL_IZDELIE, 0) * coalesce(x.CENA_MATERIAL_IZDELIE, 0)
                   * (1 - coalesce(x.OTST_IZDELIE, 0) / 100)),
               sum(coalesce(x.BROI_MATERIAL_IZDELIE, 0) * coalesce(x.CENA_MAT_IZD_USD, 0)
                   * (1 - coalesce(x.OTST_IZDELIE, 0) / 100)),
               sum(coalesce(x.BROI_MATERIAL_IZDELIE, 0) * coalesce(x.CENA_MAT_IZD_EUR, 0)
                   * (1 - coalesce(x.OTST_IZDELIE, 0) / 100))
        from PRODAGBI x where x.NUMPRODAGBA = :NUMPRODAGBA
        into :SUMA_FAKTURA, :CENA_OBSTO_MAT_IZD_USD_SUM, :CENA_OBSTO_MAT_IZD_EUR_SUM;
        SUMA_FAKTURA = coalesce(SUMA_FAKTURA, 0);
        if (TIP_DOCUMENT is null or TIP_DOCUMENT < 0 or TIP_DOCUMENT > 10) then
        begin
            SUMA_FAKTURA = 0; CENA_OBSTO_MAT_IZD_USD_SUM = 0; CENA_OBSTO_MAT_IZD_EUR_SUM = 0;
        end
        if (invoice = 1) then
        begin
            CENA_OBSTO_MAT_IZD_USD_SUM = 0; CENA_OBSTO_MAT_IZD_EUR_SUM = 0;
            SUMA_FAKTURA_DDS = SUMA_FAKTURA;
        end
        else
        begin
            SUMA_FAKTURA_DDS = SUMA_FAKTURA * (1 + vat / 100);
            CENA_OBSTO_MAT_IZD_USD_SUM = coalesce(CENA_OBSTO_MAT_IZD_USD_SUM, 0) * (1 + vat / 100);
            CENA_OBSTO_MAT_IZD_EUR_SUM = coalesce(CENA_OBSTO_MAT_IZD_EUR_SUM, 0) * (1 + vat / 100);
        end
        SUMA_OTST = SUMA_FAKTURA * PROCENT_OTST / 100;
        SUMA_OTST_DDS = SUMA_FAKTURA_DDS * PROCENT_OTST / 100;
        SUMA_OTST_USD_DDS = CENA_OBSTO_MAT_IZD_USD_SUM * PROCENT_OTST / 100;
        SUMA_OTST_EUR_DDS = CENA_OBSTO_MAT_IZD_EUR_SUM * PROCENT_OTST / 100;
        OBLAGAEMA_ST = SUMA_FAKTURA - SUMA_OTST;
        DDS_FAKTURA = iif(invoice = 1, OBLAGAEMA_ST * vat / 100, 0);
        SUMA_PLASTANE = SUMA_FAKTURA_DDS - SUMA_OTST_DDS;
        SUMA_PLASTANE_USD = CENA_OBSTO_MAT_IZD_USD_SUM - SUMA_OTST_USD_DDS;
        SUMA_PLASTANE_EUR = CENA_OBSTO_MAT_IZD_EUR_SUM - SUMA_OTST_EUR_DDS;
        -- What the sale is due, whatever its type: the invoice total or the amount to pay.
        SUMA_DDS_FAKTURA = iif(invoice = 1, OBLAGAEMA_ST + DDS_FAKTURA, SUMA_PLASTANE);

        select coalesce(sum(BROI_MAT_IZD_PLATENO), 0) from PRODAGBI_KONSIGN
        where NUMPRODAGBA = :NUMPRODAGBA and NMATERIAL = :NUMMATERIAL into :SUM_BROI_MAT_IZD_PLATENO;
        select coalesce(sum(BROI_MAT_IZD_VYRNATO), 0) from PRODAGBI_KONSIGN_VYRNATO
        where NUMPRODAGBA = :NUMPRODAGBA and NMATERIAL = :NUMMATERIAL into :SUM_BROI_MAT_IZD_VYRNATO;
        suspend;
    end
end^

-- The header of a recorded sale, on every one of its lines.
create or alter procedure UPDATEPRODAGBI (
    INUMPRODAGBA varchar(11), INVIDPLASTANE smallint, INSTOK_RAZP integer, INKONSIGNACIA integer,
    INPORYCHKA varchar(10), INEKSP_BEL integer, INUM_TRANSPORT varchar(15), IN_MOL_FIRMA_SYSTAVIL smallint,
    ITIP_DOCUMENT smallint, IBELEGKA varchar(160), ICLIENT_STOKA_POLUCHENA_DATE timestamp,
    ICLIENT_IME varchar(45), ICLIENT_EGN varchar(10), ICLIENT_LK varchar(10), ICLIENT_LK_IZD timestamp,
    ICLIENT_OTG_ST_OP varchar(45))
as
begin
    update PRODAGBI set NVIDPLASTANE = :INVIDPLASTANE, NSTOK_RAZP = :INSTOK_RAZP, NKONSIGNACIA = :INKONSIGNACIA,
        NPORYCHKA = :INPORYCHKA, NEKSP_BEL = :INEKSP_BEL, NUM_TRANSPORT = :INUM_TRANSPORT,
        NMOL_FIRMA_SYSTAVIL = :IN_MOL_FIRMA_SYSTAVIL, TIP_DOCUMENT = :ITIP_DOCUMENT, BELEGKA = :IBELEGKA,
        CLIENT_STOKA_POLUCHENA_DATE = :ICLIENT_STOKA_POLUCHENA_DATE, CLIENT_IME = :ICLIENT_IME,
        CLIENT_EGN = :ICLIENT_EGN, CLIENT_LK = :ICLIENT_LK, CLIENT_LK_IZD = :ICLIENT_LK_IZD,
        CLIENT_OTG_ST_OP = :ICLIENT_OTG_ST_OP
    where NUMPRODAGBA = :INUMPRODAGBA;
end^

-- The invoice numbers, date, prices and discount of one sale line, found by its key: two lines of
-- one material (two batches) keep their own prices. A key not of the sale changes nothing.
create or alter procedure UPDATEPRODAGBI_CENA (
    NUMPRODAGBA varchar(11), NFAKTURA varchar(10), NFAKT_INT integer, DATEFAKTURA timestamp, NMATERIAL integer,
    CENA_MATERIAL_IZDELIE double precision, CENA_MAT_IZD_USD double precision, CENA_MAT_IZD_EUR double precision,
    OTST_IZDELIE double precision, AUTONUM integer)
as
begin
    update PRODAGBI p set p.NFAKTURA = :NFAKTURA, p.NFAKT_INT = :NFAKT_INT, p.DATEFAKTURA = :DATEFAKTURA,
        p.CENA_MATERIAL_IZDELIE = :CENA_MATERIAL_IZDELIE, p.CENA_MAT_IZD_USD = :CENA_MAT_IZD_USD,
        p.CENA_MAT_IZD_EUR = :CENA_MAT_IZD_EUR, p.OTST_IZDELIE = :OTST_IZDELIE
    where p.AUTONUM = :AUTONUM and p.NUMPRODAGBA = :NUMPRODAGBA and p.NMATERIAL = :NMATERIAL;
end^

-- What was paid and returned of a consignment line may not exceed what the sale gave of the material.
create or alter procedure PRODAGBI_KONS_PROVERKA (
    NUMPRODAGBA varchar(11), NMATERIAL integer, TABLICA smallint, KLUCH integer, NOVO double precision)
as
declare variable dadeno double precision;
declare variable plateno double precision;
declare variable vyrnato double precision;
begin
    select coalesce(sum(BROI_MATERIAL_IZDELIE), 0) from PRODAGBI
    where NUMPRODAGBA = :NUMPRODAGBA and NMATERIAL = :NMATERIAL into :dadeno;
    select coalesce(sum(BROI_MAT_IZD_PLATENO), 0) from PRODAGBI_KONSIGN
    where NUMPRODAGBA = :NUMPRODAGBA and NMATERIAL = :NMATERIAL and (:TABLICA <> 1 or AUTONUM <> :KLUCH)
    into :plateno;
    select coalesce(sum(BROI_MAT_IZD_VYRNATO), 0) from PRODAGBI_KONSIGN_VYRNATO
    where NUMPRODAGBA = :NUMPRODAGBA and NMATERIAL = :NMATERIAL and (:TABLICA <> 2 or AUTONUM <> :KLUCH)
    into :vyrnato;
    if (coalesce(NOVO, 0) < 0 or plateno + vyrnato + coalesce(NOVO, 0) > dadeno + 0.000001) then
        exception PRODAGBI_KONS_OTKAZ;
end^

create trigger PRODAGBI_KONSIGN_CAP for PRODAGBI_KONSIGN active before insert or update position 1 as
begin
    execute procedure PRODAGBI_KONS_PROVERKA new.NUMPRODAGBA, new.NMATERIAL, 1, new.AUTONUM, new.BROI_MAT_IZD_PLATENO;
end^

create trigger PRODAGBI_KONSIGN_VYRNATO_CAP for PRODAGBI_KONSIGN_VYRNATO active before insert or update position 1 as
begin
    execute procedure PRODAGBI_KONS_PROVERKA new.NUMPRODAGBA, new.NMATERIAL, 2, new.AUTONUM, new.BROI_MAT_IZD_VYRNATO;
end^

set term ; ^
