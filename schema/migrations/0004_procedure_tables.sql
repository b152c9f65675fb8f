-- Tables behind the server procedures: client orders, the stock movement ledger, document number
-- counters and the rows that the sales, production and personnel procedures record beside the
-- document tables. Conventions as in 0002_master_tables.sql.

create generator G_PORYCHKI;
create generator G_PORYCHKI_IZDELIA;
create generator G_SKLAD_DVIGENIE;
create generator G_PRODAGBI_MATERIALI;
create generator G_IZDELIE_MATERIALI;
-- Advances and expense reports share one record number, so NUM_ZAPIS names one movement of a
-- staff member whichever table holds it.
create generator G_SLUG_RAZPL;

-- Client orders -----------------------------------------------------------------------------------

-- One row per order; its number is given by the database in increasing order.
create table PORYCHKI (
    AUTONUM_NPORYCHKA   integer not null,
    DATEPORYCHKA        timestamp,
    DATESROK            timestamp,
    NKONTRAGENT         smallint,
    NMOL                smallint,
    INFO_PORYCHKA       blob sub_type text,
    constraint PK_PORYCHKI primary key (AUTONUM_NPORYCHKA)
);
create index PORYCHKI_KONTR on PORYCHKI (NKONTRAGENT);
create index PORYCHKI_DATE on PORYCHKI (DATEPORYCHKA);

-- Product lines of an order. A negative BROI_IZDELIE reduces the quantity ordered. NKONTR_IZD is the
-- supplier of the materials (0 for none); DATESROK_IZD the date the materials are due, announced
-- DNIPREDI_DATESROK_IZD days ahead.
create table PORYCHKI_IZDELIA (
    AUTONUM                 integer not null,
    NPORYCHKA               integer not null,
    NKONTRAGENT             smallint,
    NTIP_IZDELIE            smallint,
    BROI_IZDELIE            double precision,
    DATESROK_IZD            timestamp,
    DNIPREDI_DATESROK_IZD   smallint,
    NKONTR_IZD              smallint,
    OPISANIE                varchar(30),
    constraint PK_PORYCHKI_IZDELIA primary key (AUTONUM)
);
create index PORYCHKI_IZDELIA_PORYCH on PORYCHKI_IZDELIA (NPORYCHKA, NTIP_IZDELIE);
create index PORYCHKI_IZDELIA_IZD on PORYCHKI_IZDELIA (NTIP_IZDELIE);
create index PORYCHKI_IZDELIA_KONTR on PORYCHKI_IZDELIA (NKONTRAGENT);

-- Stock movement ledger ---------------------------------------------------------------------------

-- Every quantity that leaves a stock line is a row here against that line: a delivery line of SKLAD
-- or a line of a warehouse object, exactly one of the two. A line's quantity on hand is what it
-- received less its rows. The foreign keys refuse to delete a line that has movements: the document
-- that made them removes them first.
--   VID_DVIGENIE  1 sold          DOK_NOMER = sale number,        DOK_AUTONUM = PRODAGBI line
--                 2 requisition   DOK_NOMER = requisition number, DOK_AUTONUM = ISKANIA line
--                 3 dispatched to a warehouse object (from a warehouse or from another object),
--                                 DOK_NOMER = object receipt,     DOK_AUTONUM = receiving object line
--                 4 defective     DOK_AUTONUM = SKLAD_DOST_BRAK row
create table SKLAD_DVIGENIE (
    AUTONUM             integer not null,
    AUTONUM_SKLAD       integer,
    AUTONUM_SKLOB       integer,
    VID_DVIGENIE        smallint not null,
    KOLICHESTVO         double precision not null,
    DATE_DVIGENIE       timestamp,
    DOK_NOMER           varchar(11),
    DOK_AUTONUM         integer,
    constraint PK_SKLAD_DVIGENIE primary key (AUTONUM),
    constraint FK_SKLAD_DVIGENIE_SKLAD foreign key (AUTONUM_SKLAD) references SKLAD (AUTONUM),
    constraint FK_SKLAD_DVIGENIE_SKLOB foreign key (AUTONUM_SKLOB) references SKL_OBEKTI_MATERIALI (AUTONUM),
    constraint CHK_SKLAD_DVIGENIE_LINE check ((AUTONUM_SKLAD is null and AUTONUM_SKLOB is not null)
                                           or (AUTONUM_SKLAD is not null and AUTONUM_SKLOB is null)),
    constraint CHK_SKLAD_DVIGENIE_VID check (VID_DVIGENIE between 1 and 4),
    constraint CHK_SKLAD_DVIGENIE_KOLICH check (KOLICHESTVO > 0)
);
create index SKLAD_DVIGENIE_DOK on SKLAD_DVIGENIE (VID_DVIGENIE, DOK_AUTONUM);
create index SKLAD_DVIGENIE_NOMER on SKLAD_DVIGENIE (DOK_NOMER);
create index SKLAD_DVIGENIE_DATE on SKLAD_DVIGENIE (DATE_DVIGENIE);

-- Document numbers --------------------------------------------------------------------------------

-- The last number taken per series and period, e.g. ('PRODAGBA', '20241209', 7). A document takes
-- its number inside its own transaction by raising LAST_NO (or inserting the period's first row),
-- so a second workstation doing the same waits for the row and then fails instead of getting the
-- same number. Series: PRODAGBA sale numbers, ISKANE requisition numbers, PARTIDA batch numbers,
-- each per day (DAYKEY yyyymmdd). A series without periods uses DAYKEY ''.
create table NUMBER_SERIES (
    SERIES              varchar(20) not null,
    DAYKEY              varchar(8) not null,
    LAST_NO             integer not null,
    constraint PK_NUMBER_SERIES primary key (SERIES, DAYKEY),
    constraint CHK_NUMBER_SERIES_LAST check (LAST_NO >= 0)
);

-- Sales -------------------------------------------------------------------------------------------

-- One row per recorded sale. The lines in PRODAGBI and the payments in PRODAGBI_PLASTANE repeat the
-- sale number many times, so the key here is what makes a sale number unique. The row is written
-- with the first line of the sale and stays while the sale exists (a correction keeps it).
create table PRODAGBI_DOKUMENT (
    NUMPRODAGBA         varchar(11) not null,
    DATEZAPIS           timestamp default current_timestamp,
    constraint PK_PRODAGBI_DOKUMENT primary key (NUMPRODAGBA)
);

-- The natural person a sale of counterparty type 7 went to (the sale records counterparty 0).
create table PRODAGBI_FLICA (
    NUMPRODAGBA         varchar(11) not null,
    IME                 varchar(45),
    ADRES               varchar(40),
    EGN                 varchar(10),
    constraint PK_PRODAGBI_FLICA primary key (NUMPRODAGBA)
);

-- Goods taken back by a sale line of negative quantity. NSKL_OBEKT is the warehouse object they went
-- back to, 0 for a company warehouse. NFAKTURA is the returned-goods document of the delivery rows.
create table PRODAGBI_MATERIALI (
    AUTONUM             integer not null,
    NUMPRODAGBA         varchar(11),
    NMATERIAL           integer,
    BROI_MAT_PROD       double precision,
    NKONTRAGENT         smallint,
    NFAKTURA            varchar(10),
    DATEFAKTURA         timestamp,
    NSKL_OBEKT          smallint,
    NSKL_RAZP           integer,
    NSKL_RAZP_DOPN      integer,
    constraint PK_PRODAGBI_MATERIALI primary key (AUTONUM)
);
create index PRODAGBI_MATERIALI_NUM on PRODAGBI_MATERIALI (NUMPRODAGBA, NMATERIAL);
create index PRODAGBI_MATERIALI_MAT on PRODAGBI_MATERIALI (NMATERIAL);

-- Production --------------------------------------------------------------------------------------

-- One row per requisition: the product it is for, how many products and pairs. The key is what
-- makes a requisition number unique (the lines in ISKANIA share it).
create table ISKANIA_IZDELIA (
    NISKANE             varchar(11) not null,
    NPROIZVODSTVO       smallint,
    NTIP_IZDELIE        smallint,
    DATEISKANE          timestamp,
    KOLICH_IZDELIE      integer,
    KOLICH_SERII        integer,
    constraint PK_ISKANIA_IZDELIA primary key (NISKANE)
);
create index ISKANIA_IZDELIA_IZD on ISKANIA_IZDELIA (NTIP_IZDELIE);
create index ISKANIA_IZDELIA_DATE on ISKANIA_IZDELIA (DATEISKANE);

-- What a batch consumed of the materials its workshop holds, at the workshop's unit price.
create table IZDELIE_MATERIALI (
    AUTONUM             integer not null,
    PART_NUM_IZDELIE    varchar(11),
    NPROIZVODSTVO       smallint,
    NMATERIAL           integer,
    KOLICHESTVO         double precision,
    ED_CENA_LV          double precision,
    constraint PK_IZDELIE_MATERIALI primary key (AUTONUM)
);
create index IZDELIE_MATERIALI_PART on IZDELIE_MATERIALI (PART_NUM_IZDELIE);
create index IZDELIE_MATERIALI_PROIZV_MAT on IZDELIE_MATERIALI (NPROIZVODSTVO, NMATERIAL);
create index IZDELIE_MATERIALI_MAT on IZDELIE_MATERIALI (NMATERIAL);

-- Personnel ---------------------------------------------------------------------------------------

-- Business advances of a staff member: from the company (AVANS_OT_SHIFYR 0) or passed on by a
-- colleague (AVANS_OT_SHIFYR = the giver).
create table SLUG_AVANS (
    NUM_ZAPIS           integer not null,
    SHIFYR              smallint,
    SUMA_DATE           timestamp,
    SUMA_LV             double precision,
    SUMA_USD            double precision,
    SUMA_EUR            double precision,
    AVANS_OT_SHIFYR     smallint,
    ZABELEGKA           varchar(30),
    constraint PK_SLUG_AVANS primary key (NUM_ZAPIS)
);
create index SLUG_AVANS_SHIFYR on SLUG_AVANS (SHIFYR, SUMA_DATE);
create index SLUG_AVANS_OT on SLUG_AVANS (AVANS_OT_SHIFYR);

-- Expense reports of a staff member, and advances he passed on to a colleague: those have
-- NTIP_SLUG_OTCHET 0 and the receiver in AVANS_NA_SHIFYR (0 on an ordinary report).
create table SLUG_OTCHET (
    NUM_ZAPIS           integer not null,
    SHIFYR              smallint,
    SUMA_DATE           timestamp,
    SUMA_LV             double precision,
    SUMA_USD            double precision,
    SUMA_EUR            double precision,
    NTIP_SLUG_OTCHET    smallint,
    AVANS_NA_SHIFYR     smallint,
    ZABELEGKA           varchar(30),
    constraint PK_SLUG_OTCHET primary key (NUM_ZAPIS)
);
create index SLUG_OTCHET_SHIFYR on SLUG_OTCHET (SHIFYR, SUMA_DATE);
create index SLUG_OTCHET_NA on SLUG_OTCHET (AVANS_NA_SHIFYR);
create index SLUG_OTCHET_TIP on SLUG_OTCHET (NTIP_SLUG_OTCHET);

set term ^ ;

create trigger PORYCHKI_BI for PORYCHKI active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM_NPORYCHKA is null) then
    new.AUTONUM_NPORYCHKA = gen_id(G_PORYCHKI, 1);
  else if (new.AUTONUM_NPORYCHKA > gen_id(G_PORYCHKI, 0)) then
    pushed = gen_id(G_PORYCHKI, new.AUTONUM_NPORYCHKA - gen_id(G_PORYCHKI, 0));
end^

create trigger PORYCHKI_IZDELIA_BI for PORYCHKI_IZDELIA active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_PORYCHKI_IZDELIA, 1);
  else if (new.AUTONUM > gen_id(G_PORYCHKI_IZDELIA, 0)) then
    pushed = gen_id(G_PORYCHKI_IZDELIA, new.AUTONUM - gen_id(G_PORYCHKI_IZDELIA, 0));
end^

create trigger SKLAD_DVIGENIE_BI for SKLAD_DVIGENIE active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_SKLAD_DVIGENIE, 1);
  else if (new.AUTONUM > gen_id(G_SKLAD_DVIGENIE, 0)) then
    pushed = gen_id(G_SKLAD_DVIGENIE, new.AUTONUM - gen_id(G_SKLAD_DVIGENIE, 0));
end^

create trigger PRODAGBI_MATERIALI_BI for PRODAGBI_MATERIALI active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_PRODAGBI_MATERIALI, 1);
  else if (new.AUTONUM > gen_id(G_PRODAGBI_MATERIALI, 0)) then
    pushed = gen_id(G_PRODAGBI_MATERIALI, new.AUTONUM - gen_id(G_PRODAGBI_MATERIALI, 0));
end^

create trigger IZDELIE_MATERIALI_BI for IZDELIE_MATERIALI active before insert position 0 as
declare variable pushed integer;
begin
  if (new.AUTONUM is null) then
    new.AUTONUM = gen_id(G_IZDELIE_MATERIALI, 1);
  else if (new.AUTONUM > gen_id(G_IZDELIE_MATERIALI, 0)) then
    pushed = gen_id(G_IZDELIE_MATERIALI, new.AUTONUM - gen_id(G_IZDELIE_MATERIALI, 0));
end^

create trigger SLUG_AVANS_BI for SLUG_AVANS active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NUM_ZAPIS is null) then
    new.NUM_ZAPIS = gen_id(G_SLUG_RAZPL, 1);
  else if (new.NUM_ZAPIS > gen_id(G_SLUG_RAZPL, 0)) then
    pushed = gen_id(G_SLUG_RAZPL, new.NUM_ZAPIS - gen_id(G_SLUG_RAZPL, 0));
end^

create trigger SLUG_OTCHET_BI for SLUG_OTCHET active before insert position 0 as
declare variable pushed integer;
begin
  if (new.NUM_ZAPIS is null) then
    new.NUM_ZAPIS = gen_id(G_SLUG_RAZPL, 1);
  else if (new.NUM_ZAPIS > gen_id(G_SLUG_RAZPL, 0)) then
    pushed = gen_id(G_SLUG_RAZPL, new.NUM_ZAPIS - gen_id(G_SLUG_RAZPL, 0));
end^

set term ; ^
