-- Sale recording: the sale rows, their payment, natural person and returned goods, the stock
-- write-offs through the ledger SKLAD_DVIGENIE (kind 1, document = sale number and PRODAGBI line),
-- the stock lists of the warehouse objects, and the removal of a sale with everything it wrote.

set term ^ ;

-- One row per warehouse-object line whose object and material lie in the ranges, with what has
-- left it by kind.
create procedure SKLADOBEKTNALICH (NSKLOBEKT_OT integer, NSKLOBEKT_DO integer, NMATERIALOT integer, NMATERIALDO integer)
returns (
    AUTONUM               integer,
    NUM_SKL_RAZP          integer,
    NUM_SKL_RAZP_DOPN     integer,
    NSKL_OBEKT            smallint,
    IMESKL_OBEKT          varchar(40),
    SKLAD_VHOD_IME        varchar(40),
    NMATERIAL             integer,
    IMEMATERIAL           varchar(65),
    MIARKA_BG             varchar(5),
    NALICHNO              double precision,
    POLUCHENO             double precision,
    EKSPEDIRANO           double precision,
    PRODADENO             double precision,
    ED_CENA_LV            double precision,
    USD                   double precision,
    EUR                   double precision,
    PRODAGNA_CENA         double precision,
    PRODAGNA_CENA_USD     double precision,
    PRODAGNA_CENA_EUR     double precision,
    PROD_CENA_LV_DREBNO   double precision,
    PROD_CENA_USD_DREBNO  double precision,
    PROD_CENA_EUR_DREBNO  double precision,
    DATEPOLUCHENO         timestamp)
as
begin
    for select o.AUTONUM, o.NUM_SKL_RAZP, o.NUM_SKL_RAZP_DOPN, o.NSKL_OBEKT, t.IME_SKL_OBEKT,
               coalesce(ts.SKLAD, tv.IME_SKL_OBEKT, k.IMEKONTRAGENT), o.NMATERIAL, m.IMEMATERIAL, mi.MIARKA_BG,
               coalesce(o.POLUCHENO, 0), coalesce(o.ED_CENA_LV, 0), coalesce(o.USD, 0), coalesce(o.EUR, 0),
               coalesce(m.PRODAGNA_CENA, 0), coalesce(m.PRODAGNA_CENA_USD, 0), coalesce(m.PRODAGNA_CENA_EUR, 0),
               m.PROD_CENA_LV_DREBNO, m.PROD_CENA_USD_DREBNO, m.PROD_CENA_EUR_DREBNO, o.DATEPOLUCHENO
          from SKL_OBEKTI_MATERIALI o
          join MATERIALI m on m.NMATERIAL = o.NMATERIAL
          left join TIP_SKL_OBEKT t on t.NSKL_OBEKT = o.NSKL_OBEKT
          left join TIP_SKLAD ts on ts.NSKLAD = o.NSKLAD_VHOD
          left join TIP_SKL_OBEKT tv on tv.NSKL_OBEKT = o.NSKL_OBEKT_VHOD
          left join KONTRAGENTI k on k.NKONTRAGENT = o.NKONTRAGENT
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
         where o.NSKL_OBEKT between :NSKLOBEKT_OT and :NSKLOBEKT_DO
           and o.NMATERIAL between :NMATERIALOT and :NMATERIALDO
          into :AUTONUM, :NUM_SKL_RAZP, :NUM_SKL_RAZP_DOPN, :NSKL_OBEKT, :IMESKL_OBEKT,
               :SKLAD_VHOD_IME, :NMATERIAL, :IMEMATERIAL, :MIARKA_BG,
               :POLUCHENO, :ED_CENA_LV, :USD, :EUR,
               :PRODAGNA_CENA, :PRODAGNA_CENA_USD, :PRODAGNA_CENA_EUR,
               :PROD_CENA_LV_DREBNO, :PROD_CENA_USD_DREBNO, :PROD_CENA_EUR_DREBNO, :DATEPOLUCHENO
    do
    begin
        select coalesce(sum(iif(VID_DVIGENIE = 3, KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(VID_DVIGENIE = 1, KOLICHESTVO, 0)), 0),
               coalesce(sum(KOLICHESTVO), 0)
          from SKLAD_DVIGENIE where AUTONUM_SKLOB = :AUTONUM
          into :EKSPEDIRANO, :PRODADENO, :NALICHNO;
        NALICHNO = POLUCHENO - NALICHNO;
        suspend;
    end
end^

-- A material's quantity on hand in one warehouse object.
create procedure SKLOB_MAT_NALICH_SUM (NUMMATERIAL integer, NUMSKLOB integer)
returns (SUMNALICHNOST double precision)
as
declare variable vlezlo double precision;
declare variable izlezlo double precision;
begin
    select coalesce(sum(POLUCHENO), 0) from SKL_OBEKTI_MATERIALI
     where NMATERIAL = :NUMMATERIAL and NSKL_OBEKT = :NUMSKLOB
      into :vlezlo;
    select coalesce(sum(d.KOLICHESTVO), 0)
      from SKL_OBEKTI_MATERIALI o join SKLAD_DVIGENIE d on d.AUTONUM_SKLOB = o.AUTONUM
     where o.NMATERIAL = :NUMMATERIAL and o.NSKL_OBEKT = :NUMSKLOB
      into :izlezlo;
    SUMNALICHNOST = vlezlo - izlezlo;
    suspend;
end^

-- Writes a sold quantity of a material off the warehouse delivery lines: the picked line
-- (IAUTONUM_SKLAD) first, then the oldest received. The whole quantity or nothing: short stock
-- raises SKLAD_OTKAZ. One result row per line drawn.
create procedure SKLAD_MAT_PROD_ZAPIS (
    INUMPRODAGBA varchar(11), INUMMATERIAL integer, IBROI_MAT_PROD double precision,
    IAUTONUM_SKLAD integer, IDOK_AUTONUM integer)
returns (AUTONUM_SKLAD integer, KOLICHESTVO double precision)
as
declare variable ostava double precision;
declare variable nalichno double precision;
declare variable ime varchar(65);
declare variable dnes timestamp;
begin
    ostava = coalesce(IBROI_MAT_PROD, 0);
    dnes = current_timestamp;
    for select s.AUTONUM,
               coalesce(s.KOLICHESTVO, 0) - (select coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d
                                              where d.AUTONUM_SKLAD = s.AUTONUM)
          from SKLAD s
         where s.NMATERIAL = :INUMMATERIAL
         order by iif(s.AUTONUM = :IAUTONUM_SKLAD, 0, 1), s.DATEPOLUCHENO, s.AUTONUM
          into :AUTONUM_SKLAD, :nalichno
    do
    begin
        if (ostava > 0.000000001 and nalichno > 0.000000001) then
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

-- The same off the lines of one warehouse object: the picked line (IAUTONUM_SKLOB) first.
create procedure SKLOB_MAT_PROD_ZAPIS (
    NSKL_OBEKT integer, NUMPRODAGBA varchar(11), NUMMATERIAL integer, BROI_MAT_PROD double precision,
    IAUTONUM_SKLOB integer, IDOK_AUTONUM integer)
returns (AUTONUM_SKLOB integer, KOLICHESTVO double precision)
as
declare variable ostava double precision;
declare variable nalichno double precision;
declare variable ime varchar(65);
declare variable dnes timestamp;
begin
    ostava = coalesce(BROI_MAT_PROD, 0);
    dnes = current_timestamp;
    for select o.AUTONUM,
               coalesce(o.POLUCHENO, 0) - (select coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d
                                            where d.AUTONUM_SKLOB = o.AUTONUM)
          from SKL_OBEKTI_MATERIALI o
         where o.NMATERIAL = :NUMMATERIAL and o.NSKL_OBEKT = :NSKL_OBEKT
         order by iif(o.AUTONUM = :IAUTONUM_SKLOB, 0, 1), o.DATEPOLUCHENO, o.AUTONUM
          into :AUTONUM_SKLOB, :nalichno
    do
    begin
        if (ostava > 0.000000001 and nalichno > 0.000000001) then
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

-- One sale line with the sale's header values; the first line of a sale number also writes its
-- PRODAGBI_DOKUMENT row.
create procedure ADDPRODAGBI (
    NSKL_OBEKT integer, NUMPRODAGBA varchar(11), NVIDPLASTANE integer, NKONTRAGENT integer, NFILIAL integer,
    NFAKTURA varchar(10), NFAKT_INT integer, NSTOK_RAZP integer, NKONSIGNACIA integer, NEKSP_BEL integer,
    PROCENT_DDS double precision, DATEFAKTURA timestamp, PROCENT_OTST double precision, N_MOL_FIRMA integer,
    N_MOL_FIRMA_SYSTAVIL integer, NFIRMA_OFIS integer, NMATERIAL integer, BROI_MATERIAL_IZDELIE double precision,
    CENA_MATERIAL_IZDELIE double precision, CENA_MAT_IZD_USD double precision, CENA_MAT_IZD_EUR double precision,
    OTST_IZDELIE double precision, TIP_DOCUMENT integer, BELEGKA varchar(160),
    CLIENT_STOKA_POLUCHENA_DATE timestamp, CLIENT_IME varchar(45), CLIENT_EGN varchar(10), CLIENT_LK varchar(10),
    CLIENT_LK_IZD timestamp, CLIENT_OTG_ST_OP varchar(45), NUM_TRANSPORT varchar(15), ARTN_POLUCH varchar(10),
    ARTN_DOSTAV varchar(10), BARKOD varchar(13), NPORYCHKA varchar(10), NUM_OSNOVANIE integer)
returns (AUTONUM integer)
as
begin
    if (not exists(select 1 from PRODAGBI_DOKUMENT where NUMPRODAGBA = :NUMPRODAGBA)) then
        insert into PRODAGBI_DOKUMENT (NUMPRODAGBA) values (:NUMPRODAGBA);
    insert into PRODAGBI (NUMPRODAGBA, NFAKTURA, NFAKT_INT, NSTOK_RAZP, NKONSIGNACIA, NEKSP_BEL, DATEFAKTURA,
                          NKONTRAGENT, NFILIAL, TIP_DOCUMENT, NVIDPLASTANE, PROCENT_DDS, PROCENT_OTST,
                          NUM_OSNOVANIE, NMOL_FIRMA, NMOL_FIRMA_SYSTAVIL, NFIRMA_OFIS, NSKL_OBEKT, NMATERIAL,
                          BROI_MATERIAL_IZDELIE, CENA_MATERIAL_IZDELIE, CENA_MAT_IZD_USD, CENA_MAT_IZD_EUR,
                          OTST_IZDELIE, ARTN_POLUCH, ARTN_DOSTAV, BARKOD, BELEGKA, CLIENT_STOKA_POLUCHENA_DATE,
                          CLIENT_IME, CLIENT_EGN, CLIENT_LK, CLIENT_LK_IZD, CLIENT_OTG_ST_OP, NUM_TRANSPORT,
                          NPORYCHKA)
    values (:NUMPRODAGBA, nullif(:NFAKTURA, ''), :NFAKT_INT, :NSTOK_RAZP, :NKONSIGNACIA, :NEKSP_BEL, :DATEFAKTURA,
            :NKONTRAGENT, :NFILIAL, :TIP_DOCUMENT, :NVIDPLASTANE, :PROCENT_DDS, :PROCENT_OTST,
            :NUM_OSNOVANIE, :N_MOL_FIRMA, :N_MOL_FIRMA_SYSTAVIL, :NFIRMA_OFIS, :NSKL_OBEKT, :NMATERIAL,
            :BROI_MATERIAL_IZDELIE, :CENA_MATERIAL_IZDELIE, :CENA_MAT_IZD_USD, :CENA_MAT_IZD_EUR,
            :OTST_IZDELIE, :ARTN_POLUCH, :ARTN_DOSTAV, :BARKOD, :BELEGKA, :CLIENT_STOKA_POLUCHENA_DATE,
            :CLIENT_IME, :CLIENT_EGN, :CLIENT_LK, :CLIENT_LK_IZD, :CLIENT_OTG_ST_OP, :NUM_TRANSPORT,
            :NPORYCHKA)
    returning AUTONUM into :AUTONUM;
end^

create procedure ADDPRODAGBI_PLASTANE (
    NUMPRODAGBA varchar(11), NKONTRAGENT integer, PLASTANE_DATE timestamp, PLASTANE_SUMA double precision,
    PLASTANE_SUMA_USD double precision, PLASTANE_SUMA_EUR double precision)
returns (AUTONUM integer)
as
begin
    insert into PRODAGBI_PLASTANE (NUMPRODAGBA, NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA, PLASTANE_SUMA_USD,
                                   PLASTANE_SUMA_EUR)
    values (:NUMPRODAGBA, :NKONTRAGENT, :PLASTANE_DATE, coalesce(:PLASTANE_SUMA, 0),
            coalesce(:PLASTANE_SUMA_USD, 0), coalesce(:PLASTANE_SUMA_EUR, 0))
    returning AUTONUM into :AUTONUM;
end^

create procedure ADDPRODAGBI_FLICA (NUMPRODAGBA varchar(11), IME varchar(45), ADRES varchar(40), EGN varchar(10))
as
begin
    update or insert into PRODAGBI_FLICA (NUMPRODAGBA, IME, ADRES, EGN)
    values (:NUMPRODAGBA, :IME, :ADRES, :EGN) matching (NUMPRODAGBA);
end^

create procedure ADDPRODAGBI_MATERIALI (
    NUMPRODAGBA varchar(11), NUMMATERIAL integer, BROI_MAT_PROD double precision, NKONTRAGENT integer,
    NFAKTURA varchar(10), DATEFAKTURA timestamp, NSKL_OBEKT integer, NSKL_RAZP integer, NSKL_RAZP_DOPN integer)
returns (AUTONUM integer)
as
begin
    insert into PRODAGBI_MATERIALI (NUMPRODAGBA, NMATERIAL, BROI_MAT_PROD, NKONTRAGENT, NFAKTURA, DATEFAKTURA,
                                    NSKL_OBEKT, NSKL_RAZP, NSKL_RAZP_DOPN)
    values (:NUMPRODAGBA, :NUMMATERIAL, :BROI_MAT_PROD, :NKONTRAGENT, :NFAKTURA, :DATEFAKTURA,
            :NSKL_OBEKT, :NSKL_RAZP, :NSKL_RAZP_DOPN)
    returning AUTONUM into :AUTONUM;
end^

-- Removes a sale whole: its stock write-offs (so the stock is on hand again), its lines,
-- payments, natural person, returned-goods rows and its document row.
create procedure DEL_PRODAGBA (INPRODAGBA varchar(11))
as
begin
    delete from SKLAD_DVIGENIE where DOK_NOMER = :INPRODAGBA and VID_DVIGENIE = 1;
    delete from PRODAGBI where NUMPRODAGBA = :INPRODAGBA;
    delete from PRODAGBI_PLASTANE where NUMPRODAGBA = :INPRODAGBA;
    delete from PRODAGBI_FLICA where NUMPRODAGBA = :INPRODAGBA;
    delete from PRODAGBI_MATERIALI where NUMPRODAGBA = :INPRODAGBA;
    delete from PRODAGBI_DOKUMENT where NUMPRODAGBA = :INPRODAGBA;
end^

-- Removes the delivery rows of returned goods: into a warehouse (SKLOB_SKLAD 1) or into a
-- warehouse object (0). Goods that have left those rows again keep them.
create procedure DEL_VYRN_SKLOB_SKLAD (
    SKLOB_SKLAD integer, NUMMAT integer, NFAKT varchar(10), DATEFAKT timestamp, DATEPOLUCH timestamp)
as
begin
    if (SKLOB_SKLAD = 1) then
    begin
        if (exists(select 1 from SKLAD s join SKLAD_DVIGENIE d on d.AUTONUM_SKLAD = s.AUTONUM
                    where s.NMATERIAL = :NUMMAT and s.NFAKTURA = :NFAKT and s.DATEFAKTURA = :DATEFAKT
                      and s.DATEPOLUCHENO = :DATEPOLUCH)) then
            exception SKLAD_OTKAZ 'Върнатата стока вече е изписана - корекцията е забранена !';
        delete from SKLAD where NMATERIAL = :NUMMAT and NFAKTURA = :NFAKT and DATEFAKTURA = :DATEFAKT
                            and DATEPOLUCHENO = :DATEPOLUCH;
    end
    else
    begin
        if (exists(select 1 from SKL_OBEKTI_MATERIALI o join SKLAD_DVIGENIE d on d.AUTONUM_SKLOB = o.AUTONUM
                    where o.NMATERIAL = :NUMMAT and o.NFAKTURA = :NFAKT and o.DATEFAKTURA = :DATEFAKT
                      and o.DATEPOLUCHENO = :DATEPOLUCH)) then
            exception SKLAD_OTKAZ 'Върнатата стока вече е изписана - корекцията е забранена !';
        delete from SKL_OBEKTI_MATERIALI where NMATERIAL = :NUMMAT and NFAKTURA = :NFAKT
                                           and DATEFAKTURA = :DATEFAKT and DATEPOLUCHENO = :DATEPOLUCH;
    end
end^

set term ; ^
