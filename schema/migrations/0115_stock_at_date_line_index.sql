-- The stock at a date reads each line's outflows up to the day through the ledger's line index
-- alone. With the date bound open to the index as well, the engine scanned the date index over
-- every outflow of the period once per delivery line: minutes over a year of a busy firm.
-- Each currency's average price is its lines' value on hand over what those same lines hold, so a
-- material bought partly in BGN only no longer has its EUR average diluted by the BGN quantity.

set term ^ ;

create or alter procedure SKLADNALICH_KYMDATA (
    SKLADOT smallint, SKLADDO smallint, NMATERIALOT integer, NMATERIALDO integer, DATEFAKTURA_KYM timestamp)
returns (
    NSKLAD                    smallint,
    SKLAD                     varchar(35),
    NMATERIAL                 integer,
    IMEMATERIAL               varchar(65),
    MIARKA_BG                 varchar(5),
    NALICHNOST                double precision,
    SUMMAT_DOSTAVKA           double precision,
    SUMDOST_BRAK              double precision,
    SUMISK                    double precision,
    SUMMAT_PRODAGBI           double precision,
    SUMMAT_SKLOB              double precision,
    SREDNA_CENA_LV            double precision,
    SREDNA_CENA_USD           double precision,
    SREDNA_CENA_EUR           double precision,
    OBSTA_CENA_LV             double precision,
    OBSTA_CENA_USD            double precision,
    OBSTA_CENA_EUR            double precision,
    PRODAGNA_CENA             double precision,
    PRODAGNA_CENA_USD         double precision,
    PRODAGNA_CENA_EUR         double precision,
    OBSTA_CENA_PROD_LV        double precision,
    OBSTA_CENA_PROD_USD       double precision,
    OBSTA_CENA_PROD_EUR       double precision,
    OBSTO_PROD_MINUS_DOST_LV  double precision,
    OBSTO_PROD_MINUS_DOST_USD double precision,
    OBSTO_PROD_MINUS_DOST_EUR double precision)
as
declare variable upto timestamp;
declare variable lines_lv integer;
declare variable lines_usd integer;
declare variable lines_eur integer;
declare variable val_lv double precision;
declare variable val_usd double precision;
declare variable val_eur double precision;
declare variable qty_lv double precision;
declare variable qty_usd double precision;
declare variable qty_eur double precision;
declare variable vat double precision;
begin
    upto = DATEFAKTURA_KYM + 1;
    select first 1 coalesce(DDS_PROCENT, 0) from FIRMA into :vat;
    vat = coalesce(vat, 0);
    for select m.NSKLAD, max(t.SKLAD), m.NMATERIAL, max(m.IMEMATERIAL), max(mi.MIARKA_BG),
               coalesce(max(m.PRODAGNA_CENA), 0), coalesce(max(m.PRODAGNA_CENA_USD), 0),
               coalesce(max(m.PRODAGNA_CENA_EUR), 0),
               sum(coalesce(s.KOLICHESTVO, 0)),
               sum(coalesce(d.OUT_BRAK, 0)), sum(coalesce(d.OUT_ISK, 0)), sum(coalesce(d.OUT_PROD, 0)),
               sum(coalesce(d.OUT_SKLOB, 0)),
               sum(iif(s.ED_CENA_LV > 0, 1, 0)),
               sum(iif(s.ED_CENA_LV > 0, (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * s.ED_CENA_LV, 0)),
               sum(iif(s.ED_CENA_LV > 0, coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0), 0)),
               sum(iif(s.USD > 0, 1, 0)),
               sum(iif(s.USD > 0, (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * s.USD, 0)),
               sum(iif(s.USD > 0, coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0), 0)),
               sum(iif(s.EUR > 0, 1, 0)),
               sum(iif(s.EUR > 0, (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * s.EUR, 0)),
               sum(iif(s.EUR > 0, coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0), 0))
          from SKLAD s
          join MATERIALI m on m.NMATERIAL = s.NMATERIAL
          left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
          -- Each line's outflows are read through the ledger's line index; "+ 0" keeps the engine from
          -- also walking the date index over the whole period for every line.
          left join (select AUTONUM_SKLAD, sum(KOLICHESTVO) as OUT_ALL,
                            sum(iif(VID_DVIGENIE = 4, KOLICHESTVO, 0)) as OUT_BRAK,
                            sum(iif(VID_DVIGENIE = 2, KOLICHESTVO, 0)) as OUT_ISK,
                            sum(iif(VID_DVIGENIE = 1, KOLICHESTVO, 0)) as OUT_PROD,
                            sum(iif(VID_DVIGENIE = 3, KOLICHESTVO, 0)) as OUT_SKLOB
                       from SKLAD_DVIGENIE
                      where AUTONUM_SKLAD is not null and DATE_DVIGENIE + 0 < :upto
                      group by AUTONUM_SKLAD) d on d.AUTONUM_SKLAD = s.AUTONUM
         where m.NSKLAD between :SKLADOT and :SKLADDO
           and m.NMATERIAL between :NMATERIALOT and :NMATERIALDO
           and s.DATEFAKTURA < :upto
         group by m.NSKLAD, m.NMATERIAL
          into :NSKLAD, :SKLAD, :NMATERIAL, :IMEMATERIAL, :MIARKA_BG,
               :PRODAGNA_CENA, :PRODAGNA_CENA_USD, :PRODAGNA_CENA_EUR,
               :SUMMAT_DOSTAVKA, :SUMDOST_BRAK, :SUMISK, :SUMMAT_PRODAGBI, :SUMMAT_SKLOB,
               :lines_lv, :val_lv, :qty_lv, :lines_usd, :val_usd, :qty_usd, :lines_eur, :val_eur, :qty_eur
    do
    begin
        NALICHNOST = SUMMAT_DOSTAVKA - SUMDOST_BRAK - SUMISK - SUMMAT_PRODAGBI - SUMMAT_SKLOB;
        OBSTA_CENA_LV = iif(lines_lv > 0, val_lv, null);
        OBSTA_CENA_USD = iif(lines_usd > 0, val_usd, null);
        OBSTA_CENA_EUR = iif(lines_eur > 0, val_eur, null);
        -- Each currency's value over what its own lines hold.
        SREDNA_CENA_LV = iif(qty_lv > 0, val_lv / qty_lv, null);
        SREDNA_CENA_USD = iif(qty_usd > 0, val_usd / qty_usd, null);
        SREDNA_CENA_EUR = iif(qty_eur > 0, val_eur / qty_eur, null);
        OBSTA_CENA_PROD_LV = NALICHNOST * PRODAGNA_CENA;
        OBSTA_CENA_PROD_USD = NALICHNOST * PRODAGNA_CENA_USD;
        OBSTA_CENA_PROD_EUR = NALICHNOST * PRODAGNA_CENA_EUR;
        OBSTO_PROD_MINUS_DOST_LV = OBSTA_CENA_PROD_LV - coalesce(OBSTA_CENA_LV, 0);
        OBSTO_PROD_MINUS_DOST_USD = OBSTA_CENA_PROD_USD - coalesce(OBSTA_CENA_USD, 0);
        OBSTO_PROD_MINUS_DOST_EUR = OBSTA_CENA_PROD_EUR - coalesce(OBSTA_CENA_EUR, 0);
        if (vat > 0) then
        begin
            PRODAGNA_CENA = PRODAGNA_CENA + PRODAGNA_CENA * vat / 100;
            PRODAGNA_CENA_USD = PRODAGNA_CENA_USD + PRODAGNA_CENA_USD * vat / 100;
            PRODAGNA_CENA_EUR = PRODAGNA_CENA_EUR + PRODAGNA_CENA_EUR * vat / 100;
        end
        suspend;
    end
end^

set term ; ^
