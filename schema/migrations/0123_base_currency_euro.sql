-- The euro as the company's base currency. EVRO_DA_NE 1 makes the euro the base currency of every
-- document dated on or after EVRO_OT_DATA (empty: 01.01.2026); empty or 0 keeps leva, so a company
-- record without them behaves as before.
alter table FIRMA add EVRO_DA_NE smallint;
alter table FIRMA add EVRO_OT_DATA timestamp;

-- The conversion of the material and special prices to euro, done once: its one row (key 1) keeps
-- a second run, even one started at the same moment elsewhere, from converting them again.
create table PRESMETANE_CENI_EVRO (
    NPRESMETANE           smallint not null,
    DATA_PRESMETANE       timestamp,
    BROI_MATERIALI        integer,
    BROI_SPEC_CENI        integer,
    constraint PK_PRESMETANE_CENI_EVRO primary key (NPRESMETANE),
    constraint CHK_PRESMETANE_CENI_EVRO_ONE check (NPRESMETANE = 1)
);

-- The leva prices the conversion replaced, one row per material and per special price.
create table MATERIALI_CENI_LV (
    NMATERIAL             integer not null,
    ED_CENA               double precision,
    PRODAGNA_CENA         double precision,
    PROD_CENA_LV_DREBNO   double precision,
    DATA_PRESMETANE       timestamp,
    constraint PK_MATERIALI_CENI_LV primary key (NMATERIAL)
);

create table KONTR_MAT_CENI_LV (
    AUTONUM               integer not null,  -- the KONTR_MAT_CENI row
    NKONTRAGENT           smallint,
    NMATERIAL             integer,
    SPEC_CENA             double precision,
    DATA_PRESMETANE       timestamp,
    constraint PK_KONTR_MAT_CENI_LV primary key (AUTONUM)
);
