-- Master data: the company record and its settings lists, places, counterparties, materials and
-- warehouses, the production set-up and the personnel lists.
--
-- Conventions of every table here and in the later migrations:
-- * No column has a default and only keys are NOT NULL: a value the program leaves out stays null,
--   and readers take an empty number as 0.
-- * A key the database assigns has a generator G_<table> and a before-insert trigger <table>_BI that
--   fills the key when the insert leaves it null. When an insert brings its own key (seed rows, data
--   carried over from another installation) the trigger moves the generator past it, so later
--   generated keys never collide with it.
-- * Keys the user types are primary keys as well, so the server refuses a duplicate.
-- * References between tables are not declared as foreign keys: several columns use 0 for "none"
--   (and 30000 for goods returned from a warehouse object), and deletes are guarded by the program.
-- * Material keys are integer everywhere, material names 65 characters.

create generator G_FIRMA_OFISI;
create generator G_MOL_FIRMA;
create generator G_TIP_VALUTA;
create generator G_VIDPLASTANE;
create generator G_COUNTRY;
create generator G_TIP_KONTRAGENT;
create generator G_KONTRAGENTI;
create generator G_KONTRAGENTI_FILIALI;
create generator G_MOL;
create generator G_KONTR_MAT_CENI;
create generator G_MIARKA;
create generator G_TIP_SKLAD;
create generator G_MATERIALI;
create generator G_TIP_AMBALAG;
create generator G_TIP_PROIZVODSTVO;
create generator G_TIP_IZDELIE;
create generator G_IZDELIE_RECEPTA;
create generator G_PERSONAL;
create generator G_DLYGNOSTI;
create generator G_TIP_SLUG_OTCHET;

-- Company and settings ----------------------------------------------------------------------------

-- The own company and the system-wide settings: exactly one row (see FIRMA_BI).
create table FIRMA (
    IMEFIRMA            varchar(40),
    NMOL_FIRMA          smallint,
    POSTKOD             smallint,
    ADRES               varchar(30),
    TEL                 varchar(30),
    EMAIL               varchar(30),
    DAN_NO              varchar(14),
    BULSTAT             varchar(14),
    BANK                varchar(32),
    BANK_KLON           varchar(32),
    BANK_CODE           varchar(16),
    BANK_SMETKA         varchar(30),
    DDS_BANK_CODE       varchar(16),
    DDS_BANK_SMETKA     varchar(30),
    DDS_PROCENT         double precision,
    OTST_PROCENT        double precision,
    LOGO_FIRMA          blob sub_type binary,
    PSEVDONIM_FIRMA     varchar(7),
    IMELOGO             varchar(45),
    IMESKL_INSTR        varchar(35),
    AUTO_GEN_PORYCHKA   smallint,
    VID_RAZPL_DOST      smallint,
    VID_RAZPL_KLIENT    smallint,
    NTIP_DOKUMENT       smallint,
    CHREZ_DOSTAVCHIK    smallint,
    DDS_KOMIS           smallint,
    NFAKT_TXT_INT       smallint,
    BELEGKA             varchar(160),
    SKLOB_DA_NE         smallint,
    CENA_EDRO_DREBNO    smallint,
    VER                 varchar(4),
    NFAKT_SIMVOL        varchar(1)
);

create exception FIRMA_ONE_ROW 'Данните за фирмата са един-единствен запис !';

create table FIRMA_OFISI (
    NUMOFIS             smallint not null,
    POSTKOD             smallint,
    ADRES               varchar(30),
    TEL                 varchar(30),
    EMAIL               varchar(30),
    constraint PK_FIRMA_OFISI primary key (NUMOFIS)
);

create table MOL_FIRMA (
    NMOL_FIRMA          smallint not null,
    IMEMOLFIRMA         varchar(45),
    constraint PK_MOL_FIRMA primary key (NMOL_FIRMA)
);

-- Yes/no words; FAKT_TXT_INT captions the invoice numbering kind (0 text numbers, 1 integer numbers).
create table DA_NE (
    NUM_DA_NE           smallint not null,
    TEXT_DA_NE          varchar(5),
    FAKT_TXT_INT        varchar(20),
    constraint PK_DA_NE primary key (NUM_DA_NE)
);

-- Currency 1 is BGN. An amount converts to leva as amount * rate / VALUTA_BAZA.
create table TIP_VALUTA (
    NVALUTA             smallint not null,
    VALUTA_BAZA         smallint,
    VALUTA_IME          varchar(4),
    VALUTA_OPISANIE     varchar(25),
    constraint PK_TIP_VALUTA primary key (NVALUTA)
);

-- NUM_OSNOVANIE is typed by the user. Ground 1 is the standard rate: the sale window then takes the
-- company VAT rate and locks it.
create table OSNOVANIE_DDS (
    NUM_OSNOVANIE       smallint not null,
    IME_OSNOVANIE       varchar(30),
    constraint PK_OSNOVANIE_DDS primary key (NUM_OSNOVANIE)
);

-- Codes 0 to 10 are fixed in the program (document kinds); only the names are data.
create table TIP_DOKUMENT (
    NTIP_DOKUMENT       smallint not null,
    IME_DOKUMENT        varchar(30),
    constraint PK_TIP_DOKUMENT primary key (NTIP_DOKUMENT)
);

-- The key is the position of the choice in the settlement radio groups: 0 at once, 1 in instalments.
create table TIP_PLASTANE (
    NTIP_PLASTANE       smallint not null,
    TIP_PLASTANE_TEXT   varchar(20),
    constraint PK_TIP_PLASTANE primary key (NTIP_PLASTANE)
);

-- A sale is refused without a payment method of key 1 or above.
create table VIDPLASTANE (
    NVIDPLASTANE        smallint not null,
    VIDPLASTANE         varchar(15),
    constraint PK_VIDPLASTANE primary key (NVIDPLASTANE)
);

-- Places ------------------------------------------------------------------------------------------

create table COUNTRY (
    KOD_COUNTRY         smallint not null,
    COUNTRY             varchar(15),
    constraint PK_COUNTRY primary key (KOD_COUNTRY)
);

-- The postal code is the town's key, typed by the user.
create table GRADOVE (
    POSTKOD             smallint not null,
    GRAD                varchar(15),
    NUMOBLAST           smallint,
    TELKOD              varchar(6),
    KOD_COUNTRY         smallint,
    constraint PK_GRADOVE primary key (POSTKOD)
);
create index GRADOVE_GRAD on GRADOVE (GRAD);

-- Counterparties ----------------------------------------------------------------------------------

-- Type 7 is the natural person of the sales windows. Filters take "all types" as keys 1 to 100.
create table TIP_KONTRAGENT (
    NTIP_KONTRAGENT     smallint not null,
    KONTRAGENT          varchar(20),
    constraint PK_TIP_KONTRAGENT primary key (NTIP_KONTRAGENT)
);

create table KONTRAGENTI (
    NKONTRAGENT         smallint not null,
    NTIP_KONTRAGENT     smallint,
    IMEKONTRAGENT       varchar(40),
    IMEKONTRAGENT_LAT   varchar(40),
    NMOL                smallint,
    NFILIAL             smallint,
    KOD_COUNTRY         smallint,
    POSTKOD             smallint,
    ADRES               varchar(40),
    TEL                 varchar(30),
    EGN                 varchar(10),
    EMAIL               varchar(30),
    DAN_NO              varchar(14),
    BULSTAT             varchar(14),
    BANK                varchar(32),
    BANK_CODE           varchar(16),
    BANK_KLON           varchar(32),
    BANK_SMETKA         varchar(30),
    PROCENT_OTST_KONTR  double precision,
    BELEGKI             blob sub_type text,
    constraint PK_KONTRAGENTI primary key (NKONTRAGENT)
);
create index KONTRAGENTI_TIP on KONTRAGENTI (NTIP_KONTRAGENT);
create index KONTRAGENTI_IME on KONTRAGENTI (IMEKONTRAGENT);
create index KONTRAGENTI_POSTKOD on KONTRAGENTI (POSTKOD);
create index KONTRAGENTI_COUNTRY on KONTRAGENTI (KOD_COUNTRY);

create table KONTRAGENTI_FILIALI (
    NFILIAL             smallint not null,
    NKONTRAGENT         smallint,
    IMEFILIAL           varchar(45),
    ADRES               varchar(40),
    constraint PK_KONTRAGENTI_FILIALI primary key (NFILIAL)
);
create index KONTRAGENTI_FILIALI_KONTR on KONTRAGENTI_FILIALI (NKONTRAGENT);

create table MOL (
    NMOL                smallint not null,
    NKONTRAGENT         smallint,
    IMEMOL              varchar(45),
    EGN                 varchar(10),
    LK_DATE             timestamp,
    LK_NUM              varchar(10),
    ADRES               varchar(40),
    constraint PK_MOL primary key (NMOL)
);
create index MOL_KONTR on MOL (NKONTRAGENT);

-- Special selling prices: at most one row per counterparty and material.
create table KONTR_MAT_CENI (
    AUTONUM             integer not null,
    NKONTRAGENT         smallint,
    NMATERIAL           integer,
    SPEC_CENA           double precision,
    constraint PK_KONTR_MAT_CENI primary key (AUTONUM),
    constraint UQ_KONTR_MAT_CENI unique (NKONTRAGENT, NMATERIAL)
);
create index KONTR_MAT_CENI_MAT on KONTR_MAT_CENI (NMATERIAL);

-- Materials and storage ---------------------------------------------------------------------------

create table MIARKA (
    NMIARKA             smallint not null,
    MIARKA_BG           varchar(5),
    MIARKA_LAT          varchar(5),
    constraint PK_MIARKA primary key (NMIARKA)
);

create table TIP_SKLAD (
    NSKLAD              smallint not null,
    SKLAD               varchar(35),
    SKL_OBEKT_DA_NE     smallint,
    constraint PK_TIP_SKLAD primary key (NSKLAD)
);

-- Warehouse objects (outlets); the number is typed by the user.
create table TIP_SKL_OBEKT (
    NSKL_OBEKT          smallint not null,
    IME_SKL_OBEKT       varchar(35),
    constraint PK_TIP_SKL_OBEKT primary key (NSKL_OBEKT)
);

-- Names are not unique: only a new item is refused a name in use (by the program), a correction
-- may repeat one.
create table MATERIALI (
    NMATERIAL             integer not null,
    IMEMATERIAL           varchar(65),
    NMIARKA               smallint,
    NSKLAD                smallint,
    ED_CENA               double precision,
    PRODAGNA_CENA         double precision,
    PRODAGNA_CENA_USD     double precision,
    PRODAGNA_CENA_EUR     double precision,
    PROD_CENA_LV_DREBNO   double precision,
    PROD_CENA_USD_DREBNO  double precision,
    PROD_CENA_EUR_DREBNO  double precision,
    MIN_KOL               double precision,
    MAX_KOL               double precision,
    SNIMKA                blob sub_type binary,
    SERIA_DA_NE           smallint,
    SUM_DA_NE             smallint,
    IZCH_DA_NE            smallint,
    constraint PK_MATERIALI primary key (NMATERIAL)
);
create index MATERIALI_IME on MATERIALI (IMEMATERIAL);
create index MATERIALI_SKLAD on MATERIALI (NSKLAD);
create index MATERIALI_MIARKA on MATERIALI (NMIARKA);

create table TIP_AMBALAG (
    NAMBALAG            smallint not null,
    IME_AMBALAG         varchar(30),
    constraint PK_TIP_AMBALAG primary key (NAMBALAG)
);

-- Production set-up -------------------------------------------------------------------------------

create table TIP_PROIZVODSTVO (
    NPROIZVODSTVO       smallint not null,
    PROIZVODSTVO        varchar(35),
    PSEVDONIM_CEH       varchar(7),
    constraint PK_TIP_PROIZVODSTVO primary key (NPROIZVODSTVO)
);

-- A product is made by one workshop only.
create table TIP_IZDELIE (
    NTIP_IZDELIE        smallint not null,
    NPROIZVODSTVO       smallint,
    NMATERIAL_IZDELIE   integer,
    constraint PK_TIP_IZDELIE primary key (NTIP_IZDELIE),
    constraint UQ_TIP_IZDELIE_MATERIAL unique (NMATERIAL_IZDELIE)
);
create index TIP_IZDELIE_PROIZV on TIP_IZDELIE (NPROIZVODSTVO);

create table IZDELIE_RECEPTA (
    AUTONUM             integer not null,
    NTIP_IZDELIE        smallint,
    NMATERIAL           integer,
    KOLICHESTVO         double precision,
    constraint PK_IZDELIE_RECEPTA primary key (AUTONUM)
);
create index IZDELIE_RECEPTA_IZD on IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL);
create index IZDELIE_RECEPTA_MAT on IZDELIE_RECEPTA (NMATERIAL);

-- Personnel ---------------------------------------------------------------------------------------

-- The staff number SHIFYR is given by the database.
create table PERSONAL (
    SHIFYR              smallint not null,
    IME                 varchar(15),
    PREZ                varchar(15),
    FAM                 varchar(15),
    EGN                 varchar(10),
    POST_KOD            smallint,
    ADRES_UL_N          varchar(30),
    LK                  varchar(9),
    LK_DATE             timestamp,
    POST_KOD_RPU        smallint,
    TEL                 varchar(30),
    KOD_DLYGNOST        smallint,
    SNIMKA              blob sub_type binary,
    constraint PK_PERSONAL primary key (SHIFYR)
);
create index PERSONAL_DLYGNOST on PERSONAL (KOD_DLYGNOST);

create table DLYGNOSTI (
    KOD_DLYGNOST        smallint not null,
    IME_DLYGNOST        varchar(30),
    KOD_NKP             varchar(10),
    constraint PK_DLYGNOSTI primary key (KOD_DLYGNOST)
);

-- The operation number is typed by the user.
create table TIP_MANIPULACII (
    NUM_MANIPULACIA     smallint not null,
    IME_MANIPULACIA     varchar(30),
    RAZCENKA            double precision,
    constraint PK_TIP_MANIPULACII primary key (NUM_MANIPULACIA)
);

create table TIP_SLUG_OTCHET (
    NTIP_SLUG_OTCHET    smallint not null,
    IME_SLUG_OTCHET     varchar(20),
    constraint PK_TIP_SLUG_OTCHET primary key (NTIP_SLUG_OTCHET)
);

-- Year-month periods of the earnings; GGGGMM is year then month, e.g. 202412.
create table GODMES (
    AUTONUM             integer not null,
    GGGGMM              varchar(6),
    GODMESIME           varchar(15),
    constraint PK_GODMES primary key (AUTONUM),
    constraint UQ_GODMES_GGGGMM unique (GGGGMM)
);

set term ^ ;

create trigger FIRMA_BI for FIRMA active before insert position 0 as
begin
  if (exists(select 1 from FIRMA)) then
    exception FIRMA_ONE_ROW;
end^

create trigger FIRMA_OFISI_BI for FIRMA_OFISI active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NUMOFIS is null) then
    new.NUMOFIS = gen_id(G_FIRMA_OFISI, 1);
  else if (new.NUMOFIS > gen_id(G_FIRMA_OFISI, 0)) then
    pushed = gen_id(G_FIRMA_OFISI, new.NUMOFIS - gen_id(G_FIRMA_OFISI, 0));
end^

create trigger MOL_FIRMA_BI for MOL_FIRMA active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NMOL_FIRMA is null) then
    new.NMOL_FIRMA = gen_id(G_MOL_FIRMA, 1);
  else if (new.NMOL_FIRMA > gen_id(G_MOL_FIRMA, 0)) then
    pushed = gen_id(G_MOL_FIRMA, new.NMOL_FIRMA - gen_id(G_MOL_FIRMA, 0));
end^

create trigger TIP_VALUTA_BI for TIP_VALUTA active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NVALUTA is null) then
    new.NVALUTA = gen_id(G_TIP_VALUTA, 1);
  else if (new.NVALUTA > gen_id(G_TIP_VALUTA, 0)) then
    pushed = gen_id(G_TIP_VALUTA, new.NVALUTA - gen_id(G_TIP_VALUTA, 0));
end^

create trigger VIDPLASTANE_BI for VIDPLASTANE active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NVIDPLASTANE is null) then
    new.NVIDPLASTANE = gen_id(G_VIDPLASTANE, 1);
  else if (new.NVIDPLASTANE > gen_id(G_VIDPLASTANE, 0)) then
    pushed = gen_id(G_VIDPLASTANE, new.NVIDPLASTANE - gen_id(G_VIDPLASTANE, 0));
end^

create trigger COUNTRY_BI for COUNTRY active before insert position 0 as
declare variable pushed integer;
begin
  if (new.KOD_COUNTRY is null) then
    new.KOD_COUNTRY = gen_id(G_COUNTRY, 1);
  else if (new.KOD_COUNTRY > gen_id(G_COUNTRY, 0)) then
    pushed = gen_id(G_COUNTRY, new.KOD_COUNTRY - gen_id(G_COUNTRY, 0));
end^

create trigger TIP_KONTRAGENT_BI for TIP_KONTRAGENT active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NTIP_KONTRAGENT is null) then
    new.NTIP_KONTRAGENT = gen_id(G_TIP_KONTRAGENT, 1);
  else if (new.NTIP_KONTRAGENT > gen_id(G_TIP_KONTRAGENT, 0)) then
    pushed = gen_id(G_TIP_KONTRAGENT, new.NTIP_KONTRAGENT - gen_id(G_TIP_KONTRAGENT, 0));
end^

create trigger KONTRAGENTI_BI for KONTRAGENTI active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NKONTRAGENT is null) then
    new.NKONTRAGENT = gen_id(G_KONTRAGENTI, 1);
  else if (new.NKONTRAGENT > gen_id(G_KONTRAGENTI, 0)) then
    pushed = gen_id(G_KONTRAGENTI, new.NKONTRAGENT - gen_id(G_KONTRAGENTI, 0));
end^

create trigger KONTRAGENTI_FILIALI_BI for KONTRAGENTI_FILIALI active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NFILIAL is null) then
    new.NFILIAL = gen_id(G_KONTRAGENTI_FILIALI, 1);
  else if (new.NFILIAL > gen_id(G_KONTRAGENTI_FILIALI, 0)) then
    pushed = gen_id(G_KONTRAGENTI_FILIALI, new.NFILIAL - gen_id(G_KONTRAGENTI_FILIALI, 0));
end^

create trigger MOL_BI for MOL active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NMOL is null) then
    new.NMOL = gen_id(G_MOL, 1);
  else if (new.NMOL > gen_id(G_MOL, 0)) then
    pushed = gen_id(G_MOL, new.NMOL - gen_id(G_MOL, 0));
end^

create trigger KONTR_MAT_CENI_BI for KONTR_MAT_CENI active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_KONTR_MAT_CENI, 1);
  else if (new.AUTONUM > gen_id(G_KONTR_MAT_CENI, 0)) then
    pushed = gen_id(G_KONTR_MAT_CENI, new.AUTONUM - gen_id(G_KONTR_MAT_CENI, 0));
end^

create trigger MIARKA_BI for MIARKA active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NMIARKA is null) then
    new.NMIARKA = gen_id(G_MIARKA, 1);
  else if (new.NMIARKA > gen_id(G_MIARKA, 0)) then
    pushed = gen_id(G_MIARKA, new.NMIARKA - gen_id(G_MIARKA, 0));
end^

create trigger TIP_SKLAD_BI for TIP_SKLAD active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NSKLAD is null) then
    new.NSKLAD = gen_id(G_TIP_SKLAD, 1);
  else if (new.NSKLAD > gen_id(G_TIP_SKLAD, 0)) then
    pushed = gen_id(G_TIP_SKLAD, new.NSKLAD - gen_id(G_TIP_SKLAD, 0));
end^

create trigger MATERIALI_BI for MATERIALI active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NMATERIAL is null) then
    new.NMATERIAL = gen_id(G_MATERIALI, 1);
  else if (new.NMATERIAL > gen_id(G_MATERIALI, 0)) then
    pushed = gen_id(G_MATERIALI, new.NMATERIAL - gen_id(G_MATERIALI, 0));
end^

create trigger TIP_AMBALAG_BI for TIP_AMBALAG active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NAMBALAG is null) then
    new.NAMBALAG = gen_id(G_TIP_AMBALAG, 1);
  else if (new.NAMBALAG > gen_id(G_TIP_AMBALAG, 0)) then
    pushed = gen_id(G_TIP_AMBALAG, new.NAMBALAG - gen_id(G_TIP_AMBALAG, 0));
end^

create trigger TIP_PROIZVODSTVO_BI for TIP_PROIZVODSTVO active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NPROIZVODSTVO is null) then
    new.NPROIZVODSTVO = gen_id(G_TIP_PROIZVODSTVO, 1);
  else if (new.NPROIZVODSTVO > gen_id(G_TIP_PROIZVODSTVO, 0)) then
    pushed = gen_id(G_TIP_PROIZVODSTVO, new.NPROIZVODSTVO - gen_id(G_TIP_PROIZVODSTVO, 0));
end^

create trigger TIP_IZDELIE_BI for TIP_IZDELIE active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NTIP_IZDELIE is null) then
    new.NTIP_IZDELIE = gen_id(G_TIP_IZDELIE, 1);
  else if (new.NTIP_IZDELIE > gen_id(G_TIP_IZDELIE, 0)) then
    pushed = gen_id(G_TIP_IZDELIE, new.NTIP_IZDELIE - gen_id(G_TIP_IZDELIE, 0));
end^

create trigger IZDELIE_RECEPTA_BI for IZDELIE_RECEPTA active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_IZDELIE_RECEPTA, 1);
  else if (new.AUTONUM > gen_id(G_IZDELIE_RECEPTA, 0)) then
    pushed = gen_id(G_IZDELIE_RECEPTA, new.AUTONUM - gen_id(G_IZDELIE_RECEPTA, 0));
end^

create trigger PERSONAL_BI for PERSONAL active before insert position 0 as
declare variable pushed integer;
begin
  if (new.SHIFYR is null) then
    new.SHIFYR = gen_id(G_PERSONAL, 1);
  else if (new.SHIFYR > gen_id(G_PERSONAL, 0)) then
    pushed = gen_id(G_PERSONAL, new.SHIFYR - gen_id(G_PERSONAL, 0));
end^

create trigger DLYGNOSTI_BI for DLYGNOSTI active before insert position 0 as
declare variable pushed integer;
begin
  if (new.KOD_DLYGNOST is null) then
    new.KOD_DLYGNOST = gen_id(G_DLYGNOSTI, 1);
  else if (new.KOD_DLYGNOST > gen_id(G_DLYGNOSTI, 0)) then
    pushed = gen_id(G_DLYGNOSTI, new.KOD_DLYGNOST - gen_id(G_DLYGNOSTI, 0));
end^

create trigger TIP_SLUG_OTCHET_BI for TIP_SLUG_OTCHET active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NTIP_SLUG_OTCHET is null) then
    new.NTIP_SLUG_OTCHET = gen_id(G_TIP_SLUG_OTCHET, 1);
  else if (new.NTIP_SLUG_OTCHET > gen_id(G_TIP_SLUG_OTCHET, 0)) then
    pushed = gen_id(G_TIP_SLUG_OTCHET, new.NTIP_SLUG_OTCHET - gen_id(G_TIP_SLUG_OTCHET, 0));
end^

set term ; ^
