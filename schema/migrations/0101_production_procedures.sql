-- Production: requisitions draw materials from the warehouse lines into a workshop through the
-- stock ledger (kind 2); batches consume what the workshop holds and store their product as a
-- delivery line. What a workshop holds of a material is what its requisitions drew less what its
-- batches consumed.

set term ^ ;

-- One workshop's balance of one material: drawn, consumed, held, and the average drawn unit price.
create procedure CEH_MAT_SALDO (NPROIZVODSTVO integer, NMATERIAL integer)
returns (DOSTAVENO double precision, VLOGENO double precision, NALICHNOST double precision,
         ED_CENA_LV double precision)
as
declare variable stoinost double precision;
begin
    select coalesce(sum(KOLICHESTVO), 0), coalesce(sum(KOLICHESTVO * coalesce(ED_CENA_LV, 0)), 0)
      from ISKANIA where NPROIZVODSTVO = :NPROIZVODSTVO and NMATERIAL = :NMATERIAL
      into :DOSTAVENO, :stoinost;
    select coalesce(sum(KOLICHESTVO), 0) from IZDELIE_MATERIALI
     where NPROIZVODSTVO = :NPROIZVODSTVO and NMATERIAL = :NMATERIAL
      into :VLOGENO;
    NALICHNOST = DOSTAVENO - VLOGENO;
    ED_CENA_LV = iif(DOSTAVENO > 0, stoinost / DOSTAVENO, 0);
    suspend;
end^

-- Per workshop and material in the ranges: what the workshop received, used and still holds.
create procedure CEHMATNALICH (NPROIZVODSTVOOT integer, NPROIZVODSTVODO integer, NMATERIALOT integer,
                               NMATERIALDO integer)
returns (
    NPROIZVODSTVO   smallint,
    IMEPROIZVODSTVO varchar(35),
    IMESKLAD        varchar(35),
    NUMMATERIAL     integer,
    IMEMATERIAL     varchar(65),
    IMEMKA          varchar(5),
    NALICHNOST      double precision,
    DOSTAVENO       double precision,
    VLOGENO         double precision,
    ED_CENA_LV      double precision)
as
begin
    for select distinct i.NPROIZVODSTVO, i.NMATERIAL from ISKANIA i
         where i.NPROIZVODSTVO between :NPROIZVODSTVOOT and :NPROIZVODSTVODO
           and i.NMATERIAL between :NMATERIALOT and :NMATERIALDO
          into :NPROIZVODSTVO, :NUMMATERIAL
    do
    begin
        select DOSTAVENO, VLOGENO, NALICHNOST, ED_CENA_LV from CEH_MAT_SALDO(:NPROIZVODSTVO, :NUMMATERIAL)
          into :DOSTAVENO, :VLOGENO, :NALICHNOST, :ED_CENA_LV;
        if (NALICHNOST > 0.0000001) then
        begin
            IMEPROIZVODSTVO = null; IMESKLAD = null; IMEMATERIAL = null; IMEMKA = null;
            select PROIZVODSTVO from TIP_PROIZVODSTVO where NPROIZVODSTVO = :NPROIZVODSTVO into :IMEPROIZVODSTVO;
            select m.IMEMATERIAL, t.SKLAD, mi.MIARKA_BG from MATERIALI m
              left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD
              left join MIARKA mi on mi.NMIARKA = m.NMIARKA
             where m.NMATERIAL = :NUMMATERIAL
              into :IMEMATERIAL, :IMESKLAD, :IMEMKA;
            suspend;
        end
    end
end^

-- The recipe of a product with the warehouse each material comes from and its stock there.
create procedure RECEPTA_MAT_SUM_SKLAD (INUMIZDELIE integer)
returns (
    NSKLAD           integer,
    NMATERIAL        integer,
    IMESKLAD         varchar(30),
    IMEMATERIAL      varchar(65),
    IMEMIARKA        varchar(5),
    KOLICHESTVO_MAT  double precision,
    CENA_KALK        double precision,
    NALICH_SKLAD_MAT double precision,
    IZCH_DA_NE       smallint,
    SUM_DA_NE        smallint)
as
begin
    for select m.NSKLAD, r.NMATERIAL, substring(t.SKLAD from 1 for 30), m.IMEMATERIAL, mi.MIARKA_BG,
               coalesce(r.KOLICHESTVO, 0), coalesce(m.ED_CENA, 0), coalesce(m.IZCH_DA_NE, 0),
               coalesce(m.SUM_DA_NE, 0)
          from IZDELIE_RECEPTA r
          join MATERIALI m on m.NMATERIAL = r.NMATERIAL
          left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
         where r.NTIP_IZDELIE = :INUMIZDELIE
         order by r.AUTONUM
          into :NSKLAD, :NMATERIAL, :IMESKLAD, :IMEMATERIAL, :IMEMIARKA,
               :KOLICHESTVO_MAT, :CENA_KALK, :IZCH_DA_NE, :SUM_DA_NE
    do
    begin
        select SUMNALICHNOST from SKLAD_MAT_NALICH_SUM(:NMATERIAL) into :NALICH_SKLAD_MAT;
        suspend;
    end
end^

-- The recipe of a product with what the workshop holds of each material and at what unit price.
create procedure RECEPTA_MAT_SUM_CEH (INUMIZDELIE integer, NUM_PROIZVODSTVO integer)
returns (
    NMATERIAL       integer,
    IMEMATERIAL     varchar(65),
    IMEMIARKA       varchar(5),
    KOLICHESTVO_MAT double precision,
    NALICH_CEH_MAT  double precision,
    ED_CENA_CEH_MAT double precision,
    IZCH_DA_NE      smallint,
    SUM_DA_NE       smallint)
as
begin
    for select r.NMATERIAL, m.IMEMATERIAL, mi.MIARKA_BG, coalesce(r.KOLICHESTVO, 0),
               coalesce(m.IZCH_DA_NE, 0), coalesce(m.SUM_DA_NE, 0)
          from IZDELIE_RECEPTA r
          join MATERIALI m on m.NMATERIAL = r.NMATERIAL
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
         where r.NTIP_IZDELIE = :INUMIZDELIE
         order by r.AUTONUM
          into :NMATERIAL, :IMEMATERIAL, :IMEMIARKA, :KOLICHESTVO_MAT, :IZCH_DA_NE, :SUM_DA_NE
    do
    begin
        select NALICHNOST, ED_CENA_LV from CEH_MAT_SALDO(:NUM_PROIZVODSTVO, :NMATERIAL)
          into :NALICH_CEH_MAT, :ED_CENA_CEH_MAT;
        suspend;
    end
end^

-- One requisition line: recorded in ISKANIA and drawn from the material's delivery lines, oldest
-- received first, as ledger rows of kind 2. A short stock refuses the line and nothing is drawn;
-- lines already written in the same transaction count, so the check is cumulative.
create procedure SKLAD_MAT_ISK_ZAPIS (INISKANE varchar(11), IDATEISKANE timestamp, INPROIZVODSTVO integer,
                                      INUMSKLAD integer, INUMMATERIAL integer, IKOLICH_MAT_ISK double precision)
returns (AUTONUM integer)
as
declare variable ostava double precision;
declare variable linia integer;
declare variable nalichno double precision;
declare variable cena double precision;
declare variable vzeto double precision;
declare variable stoinost double precision;
declare variable ime varchar(65);
begin
    if (IKOLICH_MAT_ISK is null or IKOLICH_MAT_ISK <= 0) then
        exception SKLAD_OTKAZ 'Количеството за изписване трябва да е по-голямо от 0 !';
    if (not exists(select 1 from TIP_PROIZVODSTVO where NPROIZVODSTVO = :INPROIZVODSTVO)) then
        exception SKLAD_OTKAZ 'Не е въведено тип производство !';
    select IMEMATERIAL from MATERIALI where NMATERIAL = :INUMMATERIAL into :ime;
    if ((select SUMNALICHNOST from SKLAD_MAT_NALICH_SUM(:INUMMATERIAL)) < IKOLICH_MAT_ISK - 0.000000001) then
        exception SKLAD_OTKAZ 'Недостатъчно количество на - ' || coalesce(ime, '');
    insert into ISKANIA (NISKANE, DATEISKANE, NPROIZVODSTVO, NSKLAD, NMATERIAL, KOLICHESTVO)
    values (:INISKANE, :IDATEISKANE, :INPROIZVODSTVO, :INUMSKLAD, :INUMMATERIAL, :IKOLICH_MAT_ISK)
    returning AUTONUM into :AUTONUM;
    ostava = IKOLICH_MAT_ISK;
    stoinost = 0;
    for select s.AUTONUM, coalesce(s.ED_CENA_LV, 0),
               coalesce(s.KOLICHESTVO, 0) - (select coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d
                                              where d.AUTONUM_SKLAD = s.AUTONUM)
          from SKLAD s where s.NMATERIAL = :INUMMATERIAL
         order by s.DATEPOLUCHENO, s.AUTONUM
          into :linia, :cena, :nalichno
    do
    begin
        if (ostava > 0.000000001 and nalichno > 0.000000001) then
        begin
            vzeto = minvalue(nalichno, ostava);
            insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE, DOK_NOMER, DOK_AUTONUM)
            values (:linia, 2, :vzeto, :IDATEISKANE, :INISKANE, :AUTONUM);
            stoinost = stoinost + vzeto * cena;
            ostava = ostava - vzeto;
        end
    end
    if (ostava > 0.000000001) then
        exception SKLAD_OTKAZ 'Недостатъчно количество на - ' || coalesce(ime, '');
    update ISKANIA set ED_CENA_LV = :stoinost / (:IKOLICH_MAT_ISK - :ostava) where AUTONUM = :AUTONUM;
    suspend;
end^

-- The product a recipe requisition is for, with its count and pairs.
create procedure ADDISKANIA_IZDELIA (NISKANE varchar(11), NPROIZVODSTVO integer, NTIP_IZDELIE integer,
                                     DATEISKANE timestamp, KOLICH_IZDELIE integer, KOLICH_SERII integer)
as
begin
    if (KOLICH_IZDELIE is null or KOLICH_IZDELIE <= 0) then
        exception SKLAD_OTKAZ 'Не е зададено количество !';
    insert into ISKANIA_IZDELIA (NISKANE, NPROIZVODSTVO, NTIP_IZDELIE, DATEISKANE, KOLICH_IZDELIE, KOLICH_SERII)
    values (:NISKANE, :NPROIZVODSTVO, :NTIP_IZDELIE, :DATEISKANE, :KOLICH_IZDELIE, coalesce(:KOLICH_SERII, 0));
end^

-- Gives material of a requisition line back to the warehouse: DEL_UPDATE 0 cancels the whole line,
-- 1 reduces it to KOLICHESTVO. The workshop must still hold what goes back; the newest ledger rows
-- of the line are returned first.
create procedure DEL_UPDATE_ISKANIA (DEL_UPDATE integer, NUM_ZAPIS integer, KOLICHESTVO double precision)
as
declare variable ceh integer;
declare variable mat integer;
declare variable staro double precision;
declare variable novo double precision;
declare variable vrashta double precision;
declare variable nalichno double precision;
declare variable red integer;
declare variable kol double precision;
begin
    select NPROIZVODSTVO, NMATERIAL, coalesce(KOLICHESTVO, 0) from ISKANIA where AUTONUM = :NUM_ZAPIS
      into :ceh, :mat, :staro;
    if (ceh is null) then
        exception SKLAD_OTKAZ 'Редът на искането не е намерен !';
    novo = iif(DEL_UPDATE = 0, 0, coalesce(KOLICHESTVO, 0));
    if (novo < 0 or novo > staro) then
        exception SKLAD_OTKAZ 'Невалидно количество за връщане в склад !';
    vrashta = staro - novo;
    select NALICHNOST from CEH_MAT_SALDO(:ceh, :mat) into :nalichno;
    if (nalichno < vrashta - 0.00000001) then
        exception SKLAD_OTKAZ 'Цехът не разполага с количеството за връщане в склад !';
    for select AUTONUM, KOLICHESTVO from SKLAD_DVIGENIE
         where VID_DVIGENIE = 2 and DOK_AUTONUM = :NUM_ZAPIS
         order by AUTONUM desc
          into :red, :kol
    do
    begin
        if (vrashta > 0.000000001) then
        begin
            if (kol <= vrashta + 0.000000001) then
                delete from SKLAD_DVIGENIE where AUTONUM = :red;
            else
                update SKLAD_DVIGENIE set KOLICHESTVO = :kol - :vrashta where AUTONUM = :red;
            vrashta = vrashta - kol;
        end
    end
    if (DEL_UPDATE = 0 or novo <= 0.000000001) then
        delete from ISKANIA where AUTONUM = :NUM_ZAPIS;
    else
        update ISKANIA set KOLICHESTVO = :novo where AUTONUM = :NUM_ZAPIS;
end^

-- One batch; its product was stored as delivery line AUTONUM_SKLAD.
create procedure ADDIZDELIE (PART_NUM_IZDELIE varchar(11), NPROIZVODSTVO integer, NTIP_IZDELIE integer,
                             KOLICH_SERII integer, KOLICH_IZDELIE integer, DATEIZDELIE timestamp,
                             AUTONUM_SKLAD integer)
as
begin
    if (KOLICH_IZDELIE is null or KOLICH_IZDELIE <= 0) then
        exception SKLAD_OTKAZ 'Не е зададено количество !';
    insert into IZDELIE (PART_NUM_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE, KOLICH_SERII, KOLICH_IZDELIE,
                         DATEIZDELIE, AUTONUM_SKLAD)
    values (:PART_NUM_IZDELIE, :NPROIZVODSTVO, :NTIP_IZDELIE, coalesce(:KOLICH_SERII, 0), :KOLICH_IZDELIE,
            :DATEIZDELIE, :AUTONUM_SKLAD);
end^

-- What a batch consumes of one material its workshop holds; rows already written in the same
-- transaction count, so the check is cumulative.
create procedure ADDIZDELIE_MATERIALI (PART_NUM_IZDELIE varchar(11), NPROIZVODSTVO integer, NMATERIAL integer,
                                       KOLICHESTVO double precision, ED_CENA_LV double precision)
as
declare variable nalichno double precision;
begin
    if (KOLICHESTVO is null or KOLICHESTVO <= 0) then
        exception SKLAD_OTKAZ 'Количеството за влагане трябва да е по-голямо от 0 !';
    select NALICHNOST from CEH_MAT_SALDO(:NPROIZVODSTVO, :NMATERIAL) into :nalichno;
    if (nalichno < KOLICHESTVO - 0.00000001) then
        exception SKLAD_OTKAZ 'Недостиг на материали !';
    insert into IZDELIE_MATERIALI (PART_NUM_IZDELIE, NPROIZVODSTVO, NMATERIAL, KOLICHESTVO, ED_CENA_LV)
    values (:PART_NUM_IZDELIE, :NPROIZVODSTVO, :NMATERIAL, :KOLICHESTVO, :ED_CENA_LV);
end^

-- The batches of the workshops and products (by material) in the ranges made between the dates.
create procedure IZDELIECEHPARTIDA (NPROIZVODSTVOOT integer, NPROIZVODSTVODO integer, NTIPIZDELIEOT integer,
                                    NTIPIZDELIEDO integer, DATEIZDELIEOT timestamp, DATEIZDELIEDO timestamp)
returns (
    PROIZVODSTVO     varchar(35),
    PART_NUM_IZDELIE varchar(11),
    IMEIZDELIE       varchar(65),
    IMEMIARKA        varchar(5),
    PROIZVEDENO      double precision,
    DATEIZDELIE      timestamp,
    NUMTIPIZDELIE    integer,
    KOLICH_SERII     smallint,
    NPROIZVODSTVO    smallint,
    PSEVDONIM_CEH    varchar(7),
    AUTONUM_SKLAD    integer)
as
begin
    for select t.PROIZVODSTVO, i.PART_NUM_IZDELIE, m.IMEMATERIAL, mi.MIARKA_BG, i.KOLICH_IZDELIE,
               i.DATEIZDELIE, i.NMATERIAL_IZDELIE, i.KOLICH_SERII, i.NPROIZVODSTVO, t.PSEVDONIM_CEH,
               i.AUTONUM_SKLAD
          from IZDELIE i
          left join TIP_PROIZVODSTVO t on t.NPROIZVODSTVO = i.NPROIZVODSTVO
          left join MATERIALI m on m.NMATERIAL = i.NMATERIAL_IZDELIE
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
         where i.NPROIZVODSTVO between :NPROIZVODSTVOOT and :NPROIZVODSTVODO
           and i.NMATERIAL_IZDELIE between :NTIPIZDELIEOT and :NTIPIZDELIEDO
           and i.DATEIZDELIE >= :DATEIZDELIEOT and i.DATEIZDELIE < :DATEIZDELIEDO + 1
         order by i.DATEIZDELIE, i.PART_NUM_IZDELIE
          into :PROIZVODSTVO, :PART_NUM_IZDELIE, :IMEIZDELIE, :IMEMIARKA, :PROIZVEDENO,
               :DATEIZDELIE, :NUMTIPIZDELIE, :KOLICH_SERII, :NPROIZVODSTVO, :PSEVDONIM_CEH,
               :AUTONUM_SKLAD
    do
        suspend;
end^

-- How much of a stored batch (product, store mark, date) has been drawn, sold and dispatched.
create procedure PROV_SKLAD_RAZHOD (NTIP_IZDELIE integer, PSEVDONIM varchar(10), DATEIZDELIE timestamp)
returns (SUMISK double precision, SUMMAT_PRODAGBI double precision, SUMMAT_SKLOB double precision)
as
begin
    select coalesce(sum(iif(d.VID_DVIGENIE = 2, d.KOLICHESTVO, 0)), 0),
           coalesce(sum(iif(d.VID_DVIGENIE = 1, d.KOLICHESTVO, 0)), 0),
           coalesce(sum(iif(d.VID_DVIGENIE = 3, d.KOLICHESTVO, 0)), 0)
      from SKLAD s join SKLAD_DVIGENIE d on d.AUTONUM_SKLAD = s.AUTONUM
     where s.NMATERIAL = :NTIP_IZDELIE and s.NFAKTURA = :PSEVDONIM and s.DATEFAKTURA = :DATEIZDELIE
       and coalesce(s.NKONTRAGENT, 0) = 0
      into :SUMISK, :SUMMAT_PRODAGBI, :SUMMAT_SKLOB;
    suspend;
end^

-- Removes a batch: its product's delivery line (refused once any of it has left the line), what
-- it consumed (the materials are the workshop's again) and the batch row.
create procedure DEL_SKLAD_IZDELIE (NTIP_IZDELIE integer, PSEVDONIM varchar(10), DATEIZDELIE timestamp,
                                    KOLICH_IZDELIE integer, PART_NUM_IZDELIE varchar(11))
as
declare variable linia integer;
begin
    if (not exists(select 1 from IZDELIE where PART_NUM_IZDELIE = :PART_NUM_IZDELIE)) then
        exception SKLAD_OTKAZ 'Партидата не е намерена !';
    select AUTONUM_SKLAD from IZDELIE where PART_NUM_IZDELIE = :PART_NUM_IZDELIE into :linia;
    if (exists(select 1 from SKLAD_DVIGENIE where AUTONUM_SKLAD = :linia)) then
        exception SKLAD_OTKAZ 'Има изразходвано от това изделие - ИЗТРИВАНЕТО - НЕВЪЗМОЖНО  !';
    delete from IZDELIE_MATERIALI where PART_NUM_IZDELIE = :PART_NUM_IZDELIE;
    delete from IZDELIE where PART_NUM_IZDELIE = :PART_NUM_IZDELIE;
    delete from SKLAD where AUTONUM = :linia;
end^

-- Materials drawn by requisitions per workshop, warehouse and material in the ranges and period,
-- valued at the calculation price, the average drawn price and the sale price.
create procedure ISKANIA_MAT_SPRAVKA (NPROIZVOT integer, NPROIZVDO integer, NMATERIALOT integer,
                                      NMATERIALDO integer, DATEISKANEOT timestamp, DATEISKANEDO timestamp)
returns (
    IMEPROIZVIDSTVO         varchar(35),
    IMESKLAD                varchar(35),
    IMEMATERIAL             varchar(45),
    MIARKA_BG               varchar(5),
    SUMMAT_ISKANE           double precision,
    CENA_KALK               double precision,
    OBSTA_CENA_LV_KALK      double precision,
    SREDNA_CENA_LV          double precision,
    OBSTA_CENA_LV           double precision,
    PRODAGNA_CENA           double precision,
    OBSTA_CENA_PROD_LV      double precision,
    OBSTO_PROD_MINUS_ISK_LV double precision)
as
begin
    for select t.PROIZVODSTVO, s.SKLAD, substring(m.IMEMATERIAL from 1 for 45), mi.MIARKA_BG,
               sum(i.KOLICHESTVO), coalesce(m.ED_CENA, 0), sum(i.KOLICHESTVO * coalesce(i.ED_CENA_LV, 0)),
               coalesce(m.PRODAGNA_CENA, 0)
          from ISKANIA i
          left join TIP_PROIZVODSTVO t on t.NPROIZVODSTVO = i.NPROIZVODSTVO
          left join TIP_SKLAD s on s.NSKLAD = i.NSKLAD
          left join MATERIALI m on m.NMATERIAL = i.NMATERIAL
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
         where i.NPROIZVODSTVO between :NPROIZVOT and :NPROIZVDO
           and i.NMATERIAL between :NMATERIALOT and :NMATERIALDO
           and i.DATEISKANE >= :DATEISKANEOT and i.DATEISKANE < :DATEISKANEDO + 1
         group by t.PROIZVODSTVO, s.SKLAD, m.IMEMATERIAL, mi.MIARKA_BG, m.ED_CENA, m.PRODAGNA_CENA
          into :IMEPROIZVIDSTVO, :IMESKLAD, :IMEMATERIAL, :MIARKA_BG,
               :SUMMAT_ISKANE, :CENA_KALK, :OBSTA_CENA_LV, :PRODAGNA_CENA
    do
    begin
        OBSTA_CENA_LV_KALK = SUMMAT_ISKANE * CENA_KALK;
        SREDNA_CENA_LV = iif(SUMMAT_ISKANE <> 0, OBSTA_CENA_LV / SUMMAT_ISKANE, 0);
        OBSTA_CENA_PROD_LV = SUMMAT_ISKANE * PRODAGNA_CENA;
        OBSTO_PROD_MINUS_ISK_LV = OBSTA_CENA_PROD_LV - OBSTA_CENA_LV;
        suspend;
    end
end^

set term ; ^
