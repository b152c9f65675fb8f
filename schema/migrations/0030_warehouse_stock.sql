-- Warehouse receipts and defective goods against their delivery line. Procedures, triggers and the
-- view over these tables follow in 0031.

-- One row per warehouse receipt number of a year (by supplier document date). The lines in SKLAD
-- share the number, so this key is what keeps two workstations from storing the same one.
create table SKLAD_RAZPISKI (
    GODINA              smallint not null,
    NSKLRAZP            integer not null,
    DATEZAPIS           timestamp default current_timestamp,
    constraint PK_SKLAD_RAZPISKI primary key (GODINA, NSKLRAZP)
);

-- The delivery line a defective quantity was taken from. Material, supplier and document do not
-- name one line when a document holds the same material twice.
alter table SKLAD_DOST_BRAK add AUTONUM_SKLAD integer;
create index SKLAD_DOST_BRAK_SKLAD on SKLAD_DOST_BRAK (AUTONUM_SKLAD);

create exception SKLAD_OTKAZ 'Складова операция отказана !';
