-- Cash desk: the cash book list and the counters that number cash orders.

-- The last number given per currency, year and kind of cash order (1 receipt, 2 payment). The
-- program updates a counter in the transaction that writes the order, so two workstations that
-- write orders of the same kind at the same moment are served one after the other.
create table KASA_NOMERA (
    NVALUTA             smallint not null,
    GODINA              smallint not null,
    VID_KO              smallint not null,
    POSLEDEN_NOMER      integer,
    constraint PK_KASA_NOMERA primary key (NVALUTA, GODINA, VID_KO)
);

-- The cash orders of one currency dated from DATEKO_OT to DATEKO_DO (whole days), with their BGN
-- values, by date and number. A base below 1 counts as 1, so an old row cannot divide by zero.
SET TERM ^ ;
create procedure VIEWKASA (
    NUMVALUTA integer,
    DATEKO_OT timestamp,
    DATEKO_DO timestamp
) returns (
    AUTONUM integer,
    DATEKO timestamp,
    NPKO smallint,
    NRKO smallint,
    IMEPREZFAM varchar(45),
    OSNOVANIE_KO varchar(40),
    GRAD varchar(15),
    ADRES varchar(40),
    SUMA_PKO double precision,
    SUMA_RKO double precision,
    NVALUTA integer,
    VALUTA_KURS double precision,
    VALUTA_BAZA smallint,
    SUMA_PKO_LV double precision,
    SUMA_RKO_LV double precision
) as
declare variable PER_UNIT double precision;
begin
  for select AUTONUM, DATEKO, NPKO, NRKO, IMEPREZFAM, OSNOVANIE_KO, GRAD, ADRES, SUMA_PKO, SUMA_RKO,
             NVALUTA, VALUTA_KURS, VALUTA_BAZA
      from KASA
      where NVALUTA = :NUMVALUTA and DATEKO >= :DATEKO_OT and DATEKO < :DATEKO_DO + 1
      order by DATEKO, NPKO, NRKO, AUTONUM
      into :AUTONUM, :DATEKO, :NPKO, :NRKO, :IMEPREZFAM, :OSNOVANIE_KO, :GRAD, :ADRES, :SUMA_PKO, :SUMA_RKO,
           :NVALUTA, :VALUTA_KURS, :VALUTA_BAZA
  do begin
    PER_UNIT = coalesce(VALUTA_KURS, 0) / (case when coalesce(VALUTA_BAZA, 0) >= 1 then VALUTA_BAZA else 1 end);
    SUMA_PKO_LV = PER_UNIT * coalesce(SUMA_PKO, 0);
    SUMA_RKO_LV = PER_UNIT * coalesce(SUMA_RKO, 0);
    suspend;
  end
end^
SET TERM ; ^
