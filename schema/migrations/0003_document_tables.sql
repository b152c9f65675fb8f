-- Documents and movements: deliveries and their payments, warehouse stock, warehouse objects and
-- packaging, sales and their payments, consignment settlements, requisitions and batches, the cash
-- book and the staff tables, then the scratch tables that only give client-side lists their shape.
-- Conventions as in 0002_master_tables.sql.

create generator G_SKLAD;
create generator G_SKLAD_DOST_BRAK;
create generator G_DOSTAVKI_PLASTANE;
create generator G_SKL_OBEKTI_MATERIALI;
create generator G_AMB_FIRMA_DOST;
create generator G_AMB_DOST_FIRMA;
create generator G_PRODAGBI;
create generator G_PRODAGBI_PLASTANE;
create generator G_PRODAGBI_KONSIGN;
create generator G_PRODAGBI_KONSIGN_VYRNATO;
create generator G_ISKANIA;
create generator G_SERIA;
create generator G_KASA;
create generator G_MATERIAL_PERSONAL;
create generator G_VEDOMOST_MANIPULACII;

-- Stock and deliveries ----------------------------------------------------------------------------

-- One row per delivery line: one material of one supplier document, or a line that production or
-- returned goods put into a warehouse. The warehouse is the material's. NKONTRAGENT 30000 marks goods
-- returned from a warehouse object (no counterparty row). A supplier document may hold the same
-- material twice, so the line's identity is AUTONUM.
create table SKLAD (
    AUTONUM             integer not null,
    NMATERIAL           integer,
    NKONTRAGENT         smallint,
    NMOL                smallint,       -- the supplier's responsible person
    NFAKTURA            varchar(10),
    DATEFAKTURA         timestamp,
    DATEPOLUCHENO       timestamp,
    DATEGODNOST         timestamp,
    NSKLRAZP            integer,        -- warehouse receipt number, restarting every year
    KOLICHESTVO         double precision,
    ED_CENA_LV          double precision,
    USD                 double precision,
    EUR                 double precision,
    PROCENT_OTST        double precision,
    PROCENT_DDS         double precision,
    KOMIS               double precision, -- commission per unit
    NUMSHIFYR           smallint,       -- purchaser, a staff member
    KOLICH_SERII        smallint,
    constraint PK_SKLAD primary key (AUTONUM)
);
-- Material first: it serves the count guards on a material and the duplicate check of a new line.
create index SKLAD_MAT_DOK on SKLAD (NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA);
create index SKLAD_DOK on SKLAD (NKONTRAGENT, NFAKTURA, DATEFAKTURA);
create index SKLAD_DATEFAKTURA on SKLAD (DATEFAKTURA);
create index SKLAD_DATEPOLUCHENO on SKLAD (DATEPOLUCHENO);

-- Defective goods given back against a delivery line, found by material, supplier and document.
create table SKLAD_DOST_BRAK (
    AUTONUM             integer not null,
    DATE_BRAK           timestamp,
    NMATERIAL           integer,
    KOLICH_BRAK         double precision,
    ED_CENA_LV          double precision,
    USD                 double precision,
    EUR                 double precision,
    NKONTRAGENT         smallint,
    NFAKTURA            varchar(10),
    DATEFAKTURA         timestamp,
    NKONTR_BRAK         smallint,
    NFAKTURA_BRAK       varchar(10),
    DATEFAKTURA_BRAK    timestamp,
    constraint PK_SKLAD_DOST_BRAK primary key (AUTONUM)
);
create index SKLAD_DOST_BRAK_MAT_DOK on SKLAD_DOST_BRAK (NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA);
create index SKLAD_DOST_BRAK_DOK on SKLAD_DOST_BRAK (NKONTRAGENT, NFAKTURA, DATEFAKTURA);
create index SKLAD_DOST_BRAK_KONTR on SKLAD_DOST_BRAK (NKONTR_BRAK);
create index SKLAD_DOST_BRAK_DATE on SKLAD_DOST_BRAK (DATE_BRAK);

-- Payments to suppliers: at a delivery for its document, later for the supplier as a whole.
create table DOSTAVKI_PLASTANE (
    AUTONUM             integer not null,
    NKONTRAGENT         smallint,
    SHIFYR              smallint,
    NFAKTURA            varchar(10),
    DATEFAKTURA         timestamp,
    PLATENO_DATE        timestamp,
    PLATENO_LV          double precision,
    PLATENO_USD         double precision,
    PLATENO_EUR         double precision,
    ZABELEGKA           varchar(30),
    constraint PK_DOSTAVKI_PLASTANE primary key (AUTONUM)
);
create index DOSTAVKI_PLASTANE_DOK on DOSTAVKI_PLASTANE (NKONTRAGENT, NFAKTURA, DATEFAKTURA);
create index DOSTAVKI_PLASTANE_DATE on DOSTAVKI_PLASTANE (PLATENO_DATE);
create index DOSTAVKI_PLASTANE_SHIFYR on DOSTAVKI_PLASTANE (SHIFYR);

-- Warehouse objects and packaging -----------------------------------------------------------------

-- One row per line received by a warehouse object. Its source is a company warehouse
-- (NSKLAD_VHOD), another object (NSKL_OBEKT_VHOD) or, when both are 0, a supplier directly.
-- Receipt numbers run on without a yearly restart, hence integer.
create table SKL_OBEKTI_MATERIALI (
    AUTONUM             integer not null,
    NUM_SKL_RAZP        integer,
    NUM_SKL_RAZP_DOPN   integer,
    NSKL_OBEKT          smallint,
    NSKLAD_VHOD         smallint,
    NSKL_OBEKT_VHOD     smallint,
    NSKL_RAZP_VHOD      integer,
    NSKL_RAZP_DOPN_VHOD integer,
    NMATERIAL           integer,
    POLUCHENO           double precision, -- quantity received
    DATEPOLUCHENO       timestamp,
    ED_CENA_LV          double precision,
    USD                 double precision,
    EUR                 double precision,
    NMOL_FIRMA          smallint,       -- the company's person who received the goods
    NKONTRAGENT         smallint,       -- supplier document of a direct delivery
    NFAKTURA            varchar(10),
    DATEFAKTURA         timestamp,
    constraint PK_SKL_OBEKTI_MATERIALI primary key (AUTONUM)
);
create index SKL_OBEKTI_MAT_MAT_DOK on SKL_OBEKTI_MATERIALI (NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA);
create index SKL_OBEKTI_MAT_OBEKT on SKL_OBEKTI_MATERIALI (NSKL_OBEKT, NMATERIAL);
create index SKL_OBEKTI_MAT_RAZP on SKL_OBEKTI_MATERIALI (NUM_SKL_RAZP);
create index SKL_OBEKTI_MAT_DATEPOL on SKL_OBEKTI_MATERIALI (DATEPOLUCHENO);

-- Returnable packaging received from and returned to a supplier. Both are edited in grids whose
-- changes are applied row by row, so each row has a database key AUTONUM.
create table AMB_FIRMA_DOST (
    AUTONUM             integer not null,
    NKONTRAGENT         smallint,
    NAMBALAG            smallint,
    BROI_AMB            integer,
    DATE_AMB            timestamp,
    constraint PK_AMB_FIRMA_DOST primary key (AUTONUM)
);
create index AMB_FIRMA_DOST_KONTR on AMB_FIRMA_DOST (NKONTRAGENT, NAMBALAG);

create table AMB_DOST_FIRMA (
    AUTONUM             integer not null,
    NKONTRAGENT         smallint,
    NAMBALAG            smallint,
    BROI_AMB            integer,
    DATE_AMB            timestamp,
    constraint PK_AMB_DOST_FIRMA primary key (AUTONUM)
);
create index AMB_DOST_FIRMA_KONTR on AMB_DOST_FIRMA (NKONTRAGENT, NAMBALAG);

-- Sales -------------------------------------------------------------------------------------------

-- One row per sale line. All lines of one sale share NUMPRODAGBA and repeat the header values, so
-- the sale number is not unique here: PRODAGBI_DOKUMENT holds one row per sale number.
-- AUTONUM identifies a line (the sales inquiry calls it NUM_ZAPIS). NKONTRAGENT and NFILIAL are 0
-- for a natural person.
create table PRODAGBI (
    AUTONUM                     integer not null,
    NUMPRODAGBA                 varchar(11) not null,
    NFAKTURA                    varchar(10),
    NFAKT_INT                   integer,
    NSTOK_RAZP                  integer,
    NKONSIGNACIA                integer,
    NEKSP_BEL                   integer,
    DATEFAKTURA                 timestamp,
    NKONTRAGENT                 smallint,
    NFILIAL                     smallint,
    TIP_DOCUMENT                smallint,
    NVIDPLASTANE                smallint,
    PROCENT_DDS                 double precision,
    PROCENT_OTST                double precision,
    NUM_OSNOVANIE               smallint,
    NMOL_FIRMA                  smallint,
    NMOL_FIRMA_SYSTAVIL         smallint,
    NFIRMA_OFIS                 smallint,
    NSKL_OBEKT                  smallint,   -- 0 when the goods left a company warehouse
    NMATERIAL                   integer,
    BROI_MATERIAL_IZDELIE       double precision,
    CENA_MATERIAL_IZDELIE       double precision,
    CENA_MAT_IZD_USD            double precision,
    CENA_MAT_IZD_EUR            double precision,
    OTST_IZDELIE                double precision,
    ARTN_POLUCH                 varchar(10),
    ARTN_DOSTAV                 varchar(10),
    BARKOD                      varchar(13),
    BELEGKA                     varchar(160),
    CLIENT_STOKA_POLUCHENA_DATE timestamp,
    CLIENT_IME                  varchar(45),
    CLIENT_EGN                  varchar(10),
    CLIENT_LK                   varchar(10),
    CLIENT_LK_IZD               timestamp,  -- date of the tax event
    CLIENT_OTG_ST_OP            varchar(45),
    NUM_TRANSPORT               varchar(15),
    NPORYCHKA                   varchar(10),
    constraint PK_PRODAGBI primary key (AUTONUM)
);
create index PRODAGBI_NUMPRODAGBA on PRODAGBI (NUMPRODAGBA);
create index PRODAGBI_KONTR on PRODAGBI (NKONTRAGENT, NFILIAL);
create index PRODAGBI_MAT on PRODAGBI (NMATERIAL);
create index PRODAGBI_DATEFAKTURA on PRODAGBI (DATEFAKTURA);
create index PRODAGBI_NFAKTURA on PRODAGBI (NFAKTURA);
create index PRODAGBI_NFAKT_INT on PRODAGBI (NFAKT_INT);
create index PRODAGBI_NKONSIGNACIA on PRODAGBI (NKONSIGNACIA);
create index PRODAGBI_NPORYCHKA on PRODAGBI (NPORYCHKA);

-- Payments received: the one taken when a sale is recorded, deferred payments added to it later,
-- and client payments entered for the client as a whole (no sale number). So a sale has any number
-- of rows here.
create table PRODAGBI_PLASTANE (
    AUTONUM             integer not null,
    NUMPRODAGBA         varchar(11),
    NKONTRAGENT         smallint,
    PLASTANE_DATE       timestamp,
    PLASTANE_SUMA       double precision,
    PLASTANE_SUMA_USD   double precision,
    PLASTANE_SUMA_EUR   double precision,
    ZABELEGKA           varchar(30),
    constraint PK_PRODAGBI_PLASTANE primary key (AUTONUM)
);
create index PRODAGBI_PLASTANE_NUM on PRODAGBI_PLASTANE (NUMPRODAGBA);
create index PRODAGBI_PLASTANE_KONTR on PRODAGBI_PLASTANE (NKONTRAGENT);
create index PRODAGBI_PLASTANE_DATE on PRODAGBI_PLASTANE (PLASTANE_DATE);

-- Consignment quantities later paid for and returned, per sale line (sale number and material).
-- Edited in grids and applied row by row, hence the database key AUTONUM.
create table PRODAGBI_KONSIGN (
    AUTONUM                 integer not null,
    NUMPRODAGBA             varchar(11),
    NMATERIAL               integer,
    DATE_PLATENO            timestamp,
    BROI_MAT_IZD_PLATENO    double precision,
    constraint PK_PRODAGBI_KONSIGN primary key (AUTONUM)
);
create index PRODAGBI_KONSIGN_LINE on PRODAGBI_KONSIGN (NUMPRODAGBA, NMATERIAL);

create table PRODAGBI_KONSIGN_VYRNATO (
    AUTONUM                 integer not null,
    NUMPRODAGBA             varchar(11),
    NMATERIAL               integer,
    DATE_VYRNATO            timestamp,
    BROI_MAT_IZD_VYRNATO    double precision,
    constraint PK_PRODAGBI_KONSIGN_VYRNATO primary key (AUTONUM)
);
create index PRODAGBI_KONSIGN_VYRN_LINE on PRODAGBI_KONSIGN_VYRNATO (NUMPRODAGBA, NMATERIAL);

-- Production --------------------------------------------------------------------------------------

-- One row per material drawn by a requisition. NISKANE is shared by the lines of one requisition;
-- ISKANIA_IZDELIA holds one row per requisition number. ED_CENA_LV is the unit value at which the
-- material left the warehouse, the workshop's price of it.
create table ISKANIA (
    AUTONUM             integer not null,
    NISKANE             varchar(11),
    DATEISKANE          timestamp,
    NPROIZVODSTVO       smallint,
    NSKLAD              smallint,
    NMATERIAL           integer,
    KOLICHESTVO         double precision,
    ED_CENA_LV          double precision,
    constraint PK_ISKANIA primary key (AUTONUM)
);
create index ISKANIA_NISKANE on ISKANIA (NISKANE);
create index ISKANIA_PROIZV_MAT on ISKANIA (NPROIZVODSTVO, NMATERIAL);
create index ISKANIA_MAT on ISKANIA (NMATERIAL);
create index ISKANIA_DATE on ISKANIA (DATEISKANE);

-- One row per production batch; the batch number is unique. Batches name their product by its
-- material number, hence NMATERIAL_IZDELIE (not the workshop product key).
create table IZDELIE (
    PART_NUM_IZDELIE    varchar(11) not null,
    NPROIZVODSTVO       smallint,
    NMATERIAL_IZDELIE   integer,
    KOLICH_SERII        smallint,
    KOLICH_IZDELIE      integer,
    DATEIZDELIE         timestamp,
    constraint PK_IZDELIE primary key (PART_NUM_IZDELIE)
);
create index IZDELIE_PROIZV on IZDELIE (NPROIZVODSTVO);
create index IZDELIE_MAT on IZDELIE (NMATERIAL_IZDELIE);
create index IZDELIE_DATE on IZDELIE (DATEIZDELIE);

-- Pairs per shoe size of the series being specified; edited in a grid, hence the key AUTONUM.
create table SERIA (
    AUTONUM             integer not null,
    N_35                smallint,
    N_36                smallint,
    N_37                smallint,
    N_38                smallint,
    N_39                smallint,
    N_40                smallint,
    N_41                smallint,
    N_42                smallint,
    N_43                smallint,
    N_44                smallint,
    N_45                smallint,
    constraint PK_SERIA primary key (AUTONUM)
);

-- Cash desk ---------------------------------------------------------------------------------------

-- One row per cash order: a receipt order has NPKO > 0 and NRKO = 0, a payment order the reverse.
create table KASA (
    AUTONUM             integer not null,
    NPKO                smallint,
    NRKO                smallint,
    DATEKO              timestamp,
    IMEPREZFAM          varchar(45),
    GRAD                varchar(15),
    ADRES               varchar(40),
    OSNOVANIE_KO        varchar(40),
    SUMA_PKO            double precision,
    SUMA_RKO            double precision,
    NVALUTA             smallint,
    VALUTA_KURS         double precision,
    VALUTA_BAZA         smallint,
    constraint PK_KASA primary key (AUTONUM),
    constraint CHK_KASA_ONE_KIND check ((NPKO > 0 and NRKO = 0) or (NRKO > 0 and NPKO = 0))
);
create index KASA_VALUTA_DATE on KASA (NVALUTA, DATEKO);

-- Staff -------------------------------------------------------------------------------------------

-- Tools and materials issued to staff members. Record keys are integer here too.
create table MATERIAL_PERSONAL (
    AUTONUM             integer not null,
    NMATERIAL           integer,
    SHIFYR              smallint,
    KOLICHESTVO         double precision,
    DATEOT              timestamp,
    DATEDO              timestamp,
    constraint PK_MATERIAL_PERSONAL primary key (AUTONUM)
);
create index MATERIAL_PERSONAL_SHIFYR on MATERIAL_PERSONAL (SHIFYR, NMATERIAL);
create index MATERIAL_PERSONAL_MAT on MATERIAL_PERSONAL (NMATERIAL);

-- Piece-work per staff member, day and operation. The line keeps the rate valid when it was saved,
-- and the database computes its value (VEDOMOST_MANIPULACII_BIU).
create table VEDOMOST_MANIPULACII (
    AUTONUM                 integer not null,
    GGGGMM                  varchar(6),
    GGGGMM_DEN              smallint,
    SHIFYR                  smallint,
    NUM_MANIPULACIA         smallint,
    BROI_MANIPULACII        smallint,
    RAZCENKA                double precision,
    STOINOST_MANIPULACII    double precision,
    constraint PK_VEDOMOST_MANIPULACII primary key (AUTONUM)
);
create index VEDOMOST_MANIP_SHIFYR on VEDOMOST_MANIPULACII (SHIFYR, GGGGMM);
create index VEDOMOST_MANIP_GGGGMM on VEDOMOST_MANIPULACII (GGGGMM);
create index VEDOMOST_MANIP_MANIP on VEDOMOST_MANIPULACII (NUM_MANIPULACIA);

-- Scratch tables ----------------------------------------------------------------------------------
-- They only give a client-side working list its columns and stay empty: the work is stored through
-- the stored procedures. No keys, no indexes.

-- Lines of a new delivery.
create table DOSTAVKA (
    AUTONUM             integer,
    NMATERIAL           integer,
    KOLICHESTVO         double precision,
    ED_CENA_LV          double precision,
    PROCENT_OTST        double precision,
    PROCENT_DDS         double precision,
    USD                 double precision,
    EUR                 double precision,
    NSKLAD              smallint,
    DATEGODNOST         timestamp
);

-- Lines of a sale being entered.
create table PRODAGBI_TEMP (
    AUTONUM                 integer,
    AUTONUM_SKLAD           integer,
    NSKL_OBEKT              smallint,
    NSKL_RAZP               integer,
    NMATERIAL               integer,
    ARTN_POLUCH             varchar(10),
    ARTN_DOSTAV             varchar(10),
    BARKOD                  varchar(13),
    BROI_MATERIAL_IZDELIE   double precision,
    CENA_MATERIAL_IZDELIE   double precision,
    CENA_MAT_IZD_USD        double precision,
    CENA_MAT_IZD_EUR        double precision,
    OTST_IZDELIE            double precision,
    FLAG_SPEC_CENA          smallint,
    PROD_VYRN               smallint
);

-- The old lines of a sale being corrected, per warehouse object.
create table PRODKOREKC_TEMP (
    NSKLOB              smallint,
    NUMMAT              integer,
    KOLICH              double precision
);

-- Lines of a requisition.
create table SKL_ISK_TEMP (
    NMATERIAL           integer,
    NSKLAD              smallint,
    IMESKLAD            varchar(35),
    IMEMATERIAL         varchar(65),
    IMEMIARKA           varchar(5),
    KOLICHOBSTO         double precision,
    CENA_KALK           double precision,
    SKL_NALICH          double precision,
    IZCH_DA_NE          smallint,
    SUM_DA_NE           smallint
);

-- Lines of a transfer to or from a warehouse object.
create table SKL_OBEKTI_TEMP (
    AUTONUM_UNDO        integer,
    AUTON               smallint,
    NMATERIAL           integer,
    KOLICHESTVO         double precision,
    DOSTCENA            double precision,
    NALICHNO            double precision,
    POLUCHENO           double precision,
    OT_SKLAD            varchar(35),
    V_SKLAD             varchar(35),
    NUM_SKL_RAZP        integer,
    DATEPOLUCHENO       timestamp,
    NUMMOL              smallint,
    NSKL_RAZP_VHOD      integer,
    PROD_EKSP           smallint
);

-- Materials of several recipes accumulated.
create table IZDMATISO (
    NMATERIAL           integer,
    IMEMATERIAL         varchar(65),
    MIARKA_BG           varchar(5),
    KOLICHESTVO         double precision,
    KOLICHOBSTO         double precision
);

-- One business advance being entered.
create table SLUG_AVANS_TEMP (
    NUM_ZAPIS           integer,
    SHIFYR              smallint,
    SUMA_DATE           timestamp,
    SUMA_LV             double precision,
    SUMA_USD            double precision,
    SUMA_EUR            double precision,
    ZABELEGKA           varchar(30),
    AVANS_OT_SHIFYR     smallint
);

-- One expense report being entered.
create table SLUG_OTCHET_TEMP (
    NUM_ZAPIS           integer,
    SHIFYR              smallint,
    SUMA_DATE           timestamp,
    SUMA_LV             double precision,
    SUMA_USD            double precision,
    SUMA_EUR            double precision,
    NTIP_SLUG_OTCHET    smallint,
    ZABELEGKA           varchar(30)
);

-- One supplier payment being entered.
create table DOST_PLAST_TEMP (
    SHIFYR              smallint,
    NKONTRAGENT         smallint,
    PLATENO_DATE        timestamp,
    PLATENO_LV          double precision,
    PLATENO_USD         double precision,
    PLATENO_EUR         double precision,
    ZABELEGKA           varchar(30)
);

set term ^ ;

create trigger SKLAD_BI for SKLAD active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_SKLAD, 1);
  else if (new.AUTONUM > gen_id(G_SKLAD, 0)) then
    pushed = gen_id(G_SKLAD, new.AUTONUM - gen_id(G_SKLAD, 0));
end^

create trigger SKLAD_DOST_BRAK_BI for SKLAD_DOST_BRAK active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_SKLAD_DOST_BRAK, 1);
  else if (new.AUTONUM > gen_id(G_SKLAD_DOST_BRAK, 0)) then
    pushed = gen_id(G_SKLAD_DOST_BRAK, new.AUTONUM - gen_id(G_SKLAD_DOST_BRAK, 0));
end^

create trigger DOSTAVKI_PLASTANE_BI for DOSTAVKI_PLASTANE active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_DOSTAVKI_PLASTANE, 1);
  else if (new.AUTONUM > gen_id(G_DOSTAVKI_PLASTANE, 0)) then
    pushed = gen_id(G_DOSTAVKI_PLASTANE, new.AUTONUM - gen_id(G_DOSTAVKI_PLASTANE, 0));
end^

create trigger SKL_OBEKTI_MATERIALI_BI for SKL_OBEKTI_MATERIALI active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_SKL_OBEKTI_MATERIALI, 1);
  else if (new.AUTONUM > gen_id(G_SKL_OBEKTI_MATERIALI, 0)) then
    pushed = gen_id(G_SKL_OBEKTI_MATERIALI, new.AUTONUM - gen_id(G_SKL_OBEKTI_MATERIALI, 0));
end^

create trigger AMB_FIRMA_DOST_BI for AMB_FIRMA_DOST active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_AMB_FIRMA_DOST, 1);
  else if (new.AUTONUM > gen_id(G_AMB_FIRMA_DOST, 0)) then
    pushed = gen_id(G_AMB_FIRMA_DOST, new.AUTONUM - gen_id(G_AMB_FIRMA_DOST, 0));
end^

create trigger AMB_DOST_FIRMA_BI for AMB_DOST_FIRMA active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_AMB_DOST_FIRMA, 1);
  else if (new.AUTONUM > gen_id(G_AMB_DOST_FIRMA, 0)) then
    pushed = gen_id(G_AMB_DOST_FIRMA, new.AUTONUM - gen_id(G_AMB_DOST_FIRMA, 0));
end^

create trigger PRODAGBI_BI for PRODAGBI active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_PRODAGBI, 1);
  else if (new.AUTONUM > gen_id(G_PRODAGBI, 0)) then
    pushed = gen_id(G_PRODAGBI, new.AUTONUM - gen_id(G_PRODAGBI, 0));
end^

create trigger PRODAGBI_PLASTANE_BI for PRODAGBI_PLASTANE active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_PRODAGBI_PLASTANE, 1);
  else if (new.AUTONUM > gen_id(G_PRODAGBI_PLASTANE, 0)) then
    pushed = gen_id(G_PRODAGBI_PLASTANE, new.AUTONUM - gen_id(G_PRODAGBI_PLASTANE, 0));
end^

create trigger PRODAGBI_KONSIGN_BI for PRODAGBI_KONSIGN active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_PRODAGBI_KONSIGN, 1);
  else if (new.AUTONUM > gen_id(G_PRODAGBI_KONSIGN, 0)) then
    pushed = gen_id(G_PRODAGBI_KONSIGN, new.AUTONUM - gen_id(G_PRODAGBI_KONSIGN, 0));
end^

create trigger PRODAGBI_KONSIGN_VYRNATO_BI for PRODAGBI_KONSIGN_VYRNATO active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_PRODAGBI_KONSIGN_VYRNATO, 1);
  else if (new.AUTONUM > gen_id(G_PRODAGBI_KONSIGN_VYRNATO, 0)) then
    pushed = gen_id(G_PRODAGBI_KONSIGN_VYRNATO, new.AUTONUM - gen_id(G_PRODAGBI_KONSIGN_VYRNATO, 0));
end^

create trigger ISKANIA_BI for ISKANIA active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_ISKANIA, 1);
  else if (new.AUTONUM > gen_id(G_ISKANIA, 0)) then
    pushed = gen_id(G_ISKANIA, new.AUTONUM - gen_id(G_ISKANIA, 0));
end^

create trigger SERIA_BI for SERIA active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_SERIA, 1);
  else if (new.AUTONUM > gen_id(G_SERIA, 0)) then
    pushed = gen_id(G_SERIA, new.AUTONUM - gen_id(G_SERIA, 0));
end^

create trigger KASA_BI for KASA active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_KASA, 1);
  else if (new.AUTONUM > gen_id(G_KASA, 0)) then
    pushed = gen_id(G_KASA, new.AUTONUM - gen_id(G_KASA, 0));
end^

create trigger MATERIAL_PERSONAL_BI for MATERIAL_PERSONAL active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_MATERIAL_PERSONAL, 1);
  else if (new.AUTONUM > gen_id(G_MATERIAL_PERSONAL, 0)) then
    pushed = gen_id(G_MATERIAL_PERSONAL, new.AUTONUM - gen_id(G_MATERIAL_PERSONAL, 0));
end^

create trigger VEDOMOST_MANIPULACII_BI for VEDOMOST_MANIPULACII active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_VEDOMOST_MANIPULACII, 1);
  else if (new.AUTONUM > gen_id(G_VEDOMOST_MANIPULACII, 0)) then
    pushed = gen_id(G_VEDOMOST_MANIPULACII, new.AUTONUM - gen_id(G_VEDOMOST_MANIPULACII, 0));
end^

-- The value of a piece-work line is always its count times its stored rate.
create trigger VEDOMOST_MANIPULACII_BIU for VEDOMOST_MANIPULACII active before insert or update position 1 as
begin
  new.STOINOST_MANIPULACII = coalesce(new.BROI_MANIPULACII, 0) * coalesce(new.RAZCENKA, 0);
end^

set term ; ^
