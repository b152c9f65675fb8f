-- A workshop can hold one material from several requisition lines at different prices. A batch
-- consumes them oldest line first and records which lines it took how much from (ISKANIA_VLOGENO),
-- at their prices. Giving back then takes a line's unused part at that line's price, and deleting
-- a batch gives each line back exactly what it took, so warehouse, batches and workshop together
-- stay worth what was delivered. Consumption stored before this migration is linked in 0122.

create generator G_ISKANIA_VLOGENO;

create table ISKANIA_VLOGENO (
    AUTONUM          integer not null,
    NUM_IZDELIE_MAT  integer not null,
    NUM_ISKANE       integer not null,
    KOLICHESTVO      double precision not null,
    constraint PK_ISKANIA_VLOGENO primary key (AUTONUM),
    constraint FK_ISKANIA_VLOGENO_IZDELIE foreign key (NUM_IZDELIE_MAT)
        references IZDELIE_MATERIALI (AUTONUM) on delete cascade,
    constraint FK_ISKANIA_VLOGENO_ISKANE foreign key (NUM_ISKANE) references ISKANIA (AUTONUM)
);

set term ^ ;

create trigger ISKANIA_VLOGENO_BI for ISKANIA_VLOGENO active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_ISKANIA_VLOGENO, 1);
  else if (new.AUTONUM > gen_id(G_ISKANIA_VLOGENO, 0)) then
    pushed = gen_id(G_ISKANIA_VLOGENO, new.AUTONUM - gen_id(G_ISKANIA_VLOGENO, 0));
end^

-- The unused part of each requisition line of a workshop's material, oldest first.
create procedure CEH_MAT_REDOVE (NPROIZVODSTVO integer, NMATERIAL integer)
returns (AUTONUM integer, KOLICHESTVO double precision, OSTATYK double precision, ED_CENA_LV double precision)
as
begin
    for select i.AUTONUM, coalesce(i.KOLICHESTVO, 0),
               coalesce(i.KOLICHESTVO, 0) - coalesce((select sum(v.KOLICHESTVO) from ISKANIA_VLOGENO v
                                                       where v.NUM_ISKANE = i.AUTONUM), 0),
               coalesce(i.ED_CENA_LV, 0)
          from ISKANIA i
         where i.NPROIZVODSTVO = :NPROIZVODSTVO and i.NMATERIAL = :NMATERIAL
         order by i.NISKANE, i.AUTONUM
          into :AUTONUM, :KOLICHESTVO, :OSTATYK, :ED_CENA_LV
    do
        suspend;
end^

-- What the workshop holds; its unit price is that of the unused parts of its lines.
create or alter procedure CEH_MAT_SALDO (NPROIZVODSTVO integer, NMATERIAL integer)
returns (DOSTAVENO double precision, VLOGENO double precision, NALICHNOST double precision,
         ED_CENA_LV double precision)
as
declare variable stoinost double precision;
declare variable ostatyk double precision;
declare variable vsichko double precision;
begin
    select coalesce(sum(KOLICHESTVO), 0), coalesce(sum(KOLICHESTVO * ED_CENA_LV), 0),
           coalesce(sum(iif(OSTATYK > 0, OSTATYK, 0)), 0), coalesce(sum(iif(OSTATYK > 0, OSTATYK * ED_CENA_LV, 0)), 0)
      from CEH_MAT_REDOVE(:NPROIZVODSTVO, :NMATERIAL)
      into :DOSTAVENO, :vsichko, :ostatyk, :stoinost;
    select coalesce(sum(KOLICHESTVO), 0) from IZDELIE_MATERIALI
     where NPROIZVODSTVO = :NPROIZVODSTVO and NMATERIAL = :NMATERIAL
      into :VLOGENO;
    NALICHNOST = DOSTAVENO - VLOGENO;
    ED_CENA_LV = iif(ostatyk > 0.000000001, stoinost / ostatyk, iif(DOSTAVENO > 0, vsichko / DOSTAVENO, 0));
    suspend;
end^

-- The unit price a batch pays for KOLICHESTVO of the workshop's material: its lines' unused parts
-- taken oldest first. For no quantity, the price of the next unit.
create procedure CEH_MAT_CENA (NPROIZVODSTVO integer, NMATERIAL integer, KOLICHESTVO double precision)
returns (ED_CENA_LV double precision)
as
declare variable ostatyk double precision;
declare variable cena double precision;
declare variable ostava double precision;
declare variable vzeto double precision;
declare variable stoinost double precision;
declare variable parva double precision;
declare variable dial double precision;
begin
    ostava = coalesce(KOLICHESTVO, 0);
    vzeto = 0;
    stoinost = 0;
    for select OSTATYK, ED_CENA_LV from CEH_MAT_REDOVE(:NPROIZVODSTVO, :NMATERIAL)
         where OSTATYK > 0.000000001
          into :ostatyk, :cena
    do
    begin
        if (parva is null) then parva = cena;
        if (ostava > 0.000000001) then
        begin
            dial = minvalue(ostatyk, ostava);
            vzeto = vzeto + dial;
            stoinost = stoinost + dial * cena;
            ostava = ostava - dial;
        end
    end
    if (vzeto > 0.000000001) then
        ED_CENA_LV = stoinost / vzeto;
    else if (parva is not null) then
        ED_CENA_LV = parva;
    else
        select ED_CENA_LV from CEH_MAT_SALDO(:NPROIZVODSTVO, :NMATERIAL) into :ED_CENA_LV;
    suspend;
end^

-- A recipe row's workshop price is what one product's quantity of it costs.
create or alter procedure RECEPTA_MAT_SUM_CEH (INUMIZDELIE integer, NUM_PROIZVODSTVO integer)
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
        select NALICHNOST from CEH_MAT_SALDO(:NUM_PROIZVODSTVO, :NMATERIAL) into :NALICH_CEH_MAT;
        select ED_CENA_LV from CEH_MAT_CENA(:NUM_PROIZVODSTVO, :NMATERIAL, :KOLICHESTVO_MAT) into :ED_CENA_CEH_MAT;
        suspend;
    end
end^

-- Takes a batch material row's quantity from the workshop's lines, oldest first, and returns what
-- it took (VZETO) and its value at the lines' prices.
create procedure IZDELIE_MAT_VLAGANE (NUM_IZDELIE_MAT integer)
returns (VZETO double precision, STOINOST double precision)
as
declare variable ceh integer;
declare variable mat integer;
declare variable ostava double precision;
declare variable red integer;
declare variable ostatyk double precision;
declare variable cena double precision;
declare variable dial double precision;
begin
    select NPROIZVODSTVO, NMATERIAL, coalesce(KOLICHESTVO, 0) from IZDELIE_MATERIALI where AUTONUM = :NUM_IZDELIE_MAT
      into :ceh, :mat, :ostava;
    VZETO = 0;
    STOINOST = 0;
    for select AUTONUM, OSTATYK, ED_CENA_LV from CEH_MAT_REDOVE(:ceh, :mat)
         where OSTATYK > 0.000000001
          into :red, :ostatyk, :cena
    do
    begin
        if (ostava <= 0.000000001) then leave;
        dial = minvalue(ostatyk, ostava);
        insert into ISKANIA_VLOGENO (NUM_IZDELIE_MAT, NUM_ISKANE, KOLICHESTVO) values (:NUM_IZDELIE_MAT, :red, :dial);
        VZETO = VZETO + dial;
        STOINOST = STOINOST + dial * cena;
        ostava = ostava - dial;
    end
end^

-- ED_CENA_LV is what the window showed; the row is stored at the price of the lines it consumed.
create or alter procedure ADDIZDELIE_MATERIALI (PART_NUM_IZDELIE varchar(11), NPROIZVODSTVO integer, NMATERIAL integer,
                                               KOLICHESTVO double precision, ED_CENA_LV double precision)
as
declare variable nalichno double precision;
declare variable red integer;
declare variable vzeto double precision;
declare variable stoinost double precision;
begin
    if (KOLICHESTVO is null or KOLICHESTVO <= 0) then
        exception SKLAD_OTKAZ 'Количеството за влагане трябва да е по-голямо от 0 !';
    -- The workshop's lines of the material are locked before they are read, as a give-back locks
    -- them: a second writer waits and then fails on the conflict instead of taking the same part.
    update ISKANIA set NMATERIAL = NMATERIAL where NPROIZVODSTVO = :NPROIZVODSTVO and NMATERIAL = :NMATERIAL;
    select NALICHNOST from CEH_MAT_SALDO(:NPROIZVODSTVO, :NMATERIAL) into :nalichno;
    if (nalichno < KOLICHESTVO - 0.00000001) then
        exception SKLAD_OTKAZ 'Недостиг на материали !';
    insert into IZDELIE_MATERIALI (PART_NUM_IZDELIE, NPROIZVODSTVO, NMATERIAL, KOLICHESTVO, ED_CENA_LV)
    values (:PART_NUM_IZDELIE, :NPROIZVODSTVO, :NMATERIAL, :KOLICHESTVO, :ED_CENA_LV)
    returning AUTONUM into :red;
    execute procedure IZDELIE_MAT_VLAGANE(:red) returning_values :vzeto, :stoinost;
    -- Whatever no line covers keeps the price shown.
    update IZDELIE_MATERIALI
       set ED_CENA_LV = (:stoinost + maxvalue(:KOLICHESTVO - :vzeto, 0) * coalesce(:ED_CENA_LV, 0)) / :KOLICHESTVO
     where AUTONUM = :red;
end^

-- Gives material of a requisition line back to the warehouse: DEL_UPDATE 0 cancels the whole line,
-- 1 reduces it to KOLICHESTVO. Only the line's unused part can go back, and the workshop must still
-- hold it. The line's ledger rows each give back their share (0103), so what goes back is worth
-- the quantity at the line's price.
create or alter procedure DEL_UPDATE_ISKANIA (DEL_UPDATE integer, NUM_ZAPIS integer, KOLICHESTVO double precision)
as
declare variable ceh integer;
declare variable mat integer;
declare variable staro double precision;
declare variable novo double precision;
declare variable vrashta double precision;
declare variable nalichno double precision;
declare variable vlozheno double precision;
declare variable red integer;
declare variable kol double precision;
declare variable redove double precision;
declare variable broi integer;
declare variable poreden integer;
declare variable dial double precision;
declare variable vyrnato double precision;
begin
    select NPROIZVODSTVO, NMATERIAL, coalesce(KOLICHESTVO, 0) from ISKANIA where AUTONUM = :NUM_ZAPIS
      into :ceh, :mat, :staro;
    if (ceh is null) then
        exception SKLAD_OTKAZ 'Редът на искането не е намерен !';
    novo = iif(DEL_UPDATE = 0, 0, coalesce(KOLICHESTVO, 0));
    if (novo < 0 or novo > staro) then
        exception SKLAD_OTKAZ 'Невалидно количество за връщане в склад !';
    vrashta = staro - novo;
    update ISKANIA set NMATERIAL = NMATERIAL where NPROIZVODSTVO = :ceh and NMATERIAL = :mat;
    select NALICHNOST from CEH_MAT_SALDO(:ceh, :mat) into :nalichno;
    select coalesce(sum(KOLICHESTVO), 0) from ISKANIA_VLOGENO where NUM_ISKANE = :NUM_ZAPIS into :vlozheno;
    if (nalichno < vrashta - 0.00000001 or novo < vlozheno - 0.00000001) then
        exception SKLAD_OTKAZ 'Цехът не разполага с количеството за връщане в склад !';
    if (DEL_UPDATE = 0 or novo <= 0.000000001) then
        delete from SKLAD_DVIGENIE where VID_DVIGENIE = 2 and DOK_AUTONUM = :NUM_ZAPIS;
    else
    begin
        select coalesce(sum(KOLICHESTVO), 0), count(*) from SKLAD_DVIGENIE
         where VID_DVIGENIE = 2 and DOK_AUTONUM = :NUM_ZAPIS
          into :redove, :broi;
        if (redove > 0.000000001) then
        begin
            poreden = 0;
            vyrnato = 0;
            for select AUTONUM, KOLICHESTVO from SKLAD_DVIGENIE
                 where VID_DVIGENIE = 2 and DOK_AUTONUM = :NUM_ZAPIS
                 order by AUTONUM
                  into :red, :kol
            do
            begin
                poreden = poreden + 1;
                dial = iif(poreden = broi, vrashta - vyrnato, kol * vrashta / redove);
                dial = maxvalue(0, minvalue(dial, kol));
                vyrnato = vyrnato + dial;
                if (kol - dial <= 0.000000001) then
                    delete from SKLAD_DVIGENIE where AUTONUM = :red;
                else
                    update SKLAD_DVIGENIE set KOLICHESTVO = :kol - :dial where AUTONUM = :red;
            end
        end
    end
    if (DEL_UPDATE = 0 or novo <= 0.000000001) then
        delete from ISKANIA where AUTONUM = :NUM_ZAPIS;
    else
        update ISKANIA set KOLICHESTVO = :novo where AUTONUM = :NUM_ZAPIS;
end^

set term ; ^
