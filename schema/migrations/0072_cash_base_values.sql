-- The base-currency value of a cash order is rounded to stotinki, as the order prints it, so that
-- the cash book's totals and balances are the sums of the values its rows show. The small nudge
-- keeps a half stotinka stored a hair below (1.005) from rounding down.
SET TERM ^ ;
alter procedure VIEWKASA (
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
    SUMA_PKO_LV = round(SUMA_PKO_LV * 100 + sign(SUMA_PKO_LV) * 0.000001, 0) / 100;
    SUMA_RKO_LV = PER_UNIT * coalesce(SUMA_RKO, 0);
    SUMA_RKO_LV = round(SUMA_RKO_LV * 100 + sign(SUMA_RKO_LV) * 0.000001, 0) / 100;
    suspend;
  end
end^
SET TERM ; ^
