-- The applied schema versions; the migration runner records each version here.
create table SCHEMA_VERSION (
    VERSION integer not null primary key,
    NAME varchar(100) not null,
    APPLIED timestamp not null
);
