-- Numbers a warehouse-object document takes. Its lines repeat the number, so these keys are what
-- keep two workstations from storing the same one. Rows stay when the lines are removed later,
-- so a number is never given twice.

-- One row per object receipt number (transfers and direct deliveries into an object).
create table SKLOB_RAZPISKI (
    NUM_SKL_RAZP        integer not null,
    DATEZAPIS           timestamp default current_timestamp,
    constraint PK_SKLOB_RAZPISKI primary key (NUM_SKL_RAZP),
    constraint CHK_SKLOB_RAZPISKI_NUM check (NUM_SKL_RAZP > 0)
);

-- One row per document number of goods booked from an object into a company warehouse
-- (SKLAD.NFAKTURA of supplier 30000): object, "_" and the object line.
create table SKLOB_VYRNATI (
    NFAKTURA            varchar(10) not null,
    AUTONUM_SKLOB       integer,
    DATEZAPIS           timestamp default current_timestamp,
    constraint PK_SKLOB_VYRNATI primary key (NFAKTURA)
);
