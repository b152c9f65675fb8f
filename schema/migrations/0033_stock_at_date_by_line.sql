-- The stock at a date valued line by line, as the stock list values what is on hand: each line's
-- quantity left at the date at its own price in each currency, so a material bought in two
-- currencies is not valued twice. The average price of a currency is that value over the whole
-- quantity on hand (empty with nothing on hand); the warehouse points value a line after its
-- discount, as the warehouse receipts do.

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
               sum(iif(s.USD > 0, 1, 0)),
               sum(iif(s.USD > 0, (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * s.USD, 0)),
               sum(iif(s.EUR > 0, 1, 0)),
               sum(iif(s.EUR > 0, (coalesce(s.KOLICHESTVO, 0) - coalesce(d.OUT_ALL, 0)) * s.EUR, 0))
          from SKLAD s
          join MATERIALI m on m.NMATERIAL = s.NMATERIAL
          left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
          left join (select AUTONUM_SKLAD, sum(KOLICHESTVO) as OUT_ALL,
                            sum(iif(VID_DVIGENIE = 4, KOLICHESTVO, 0)) as OUT_BRAK,
                            sum(iif(VID_DVIGENIE = 2, KOLICHESTVO, 0)) as OUT_ISK,
                            sum(iif(VID_DVIGENIE = 1, KOLICHESTVO, 0)) as OUT_PROD,
                            sum(iif(VID_DVIGENIE = 3, KOLICHESTVO, 0)) as OUT_SKLOB
                       from SKLAD_DVIGENIE
                      where AUTONUM_SKLAD is not null and DATE_DVIGENIE < :upto
                      group by AUTONUM_SKLAD) d on d.AUTONUM_SKLAD = s.AUTONUM
         where m.NSKLAD between :SKLADOT and :SKLADDO
           and m.NMATERIAL between :NMATERIALOT and :NMATERIALDO
           and s.DATEFAKTURA < :upto
         group by m.NSKLAD, m.NMATERIAL
          into :NSKLAD, :SKLAD, :NMATERIAL, :IMEMATERIAL, :MIARKA_BG,
               :PRODAGNA_CENA, :PRODAGNA_CENA_USD, :PRODAGNA_CENA_EUR,
               :SUMMAT_DOSTAVKA, :SUMDOST_BRAK, :SUMISK, :SUMMAT_PRODAGBI, :SUMMAT_SKLOB,
               :lines_lv, :val_lv, :lines_usd, :val_usd, :lines_eur, :val_eur
    do
    begin
        NALICHNOST = SUMMAT_DOSTAVKA - SUMDOST_BRAK - SUMISK - SUMMAT_PRODAGBI - SUMMAT_SKLOB;
        OBSTA_CENA_LV = iif(lines_lv > 0, val_lv, null);
        OBSTA_CENA_USD = iif(lines_usd > 0, val_usd, null);
        OBSTA_CENA_EUR = iif(lines_eur > 0, val_eur, null);
        SREDNA_CENA_LV = iif(NALICHNOST > 0, OBSTA_CENA_LV / NALICHNOST, null);
        SREDNA_CENA_USD = iif(NALICHNOST > 0, OBSTA_CENA_USD / NALICHNOST, null);
        SREDNA_CENA_EUR = iif(NALICHNOST > 0, OBSTA_CENA_EUR / NALICHNOST, null);
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

create or alter procedure SKLAD_KONTR_NALICH (SKLADOT smallint, SKLADDO smallint, NMATERIALOT integer, NMATERIALDO integer)
returns (
    AUTONUM                   integer,
    NSKLAD                    smallint,
    SKLAD                     varchar(35),
    NFAKTURA                  varchar(10),
    DATEFAKTURA               timestamp,
    DATEPOLUCHENO             timestamp,
    NUMSHIFYR                 smallint,
    NMATERIAL                 integer,
    IMEMATERIAL               varchar(65),
    MIARKA_BG                 varchar(5),
    KOLICHESTVO               double precision,
    ED_CENA_LV                double precision,
    OBSTO_LV                  double precision,
    STOINOST_DDS              double precision,
    KOMIS_OBSTO               double precision,
    PRODAGNA_CENA             double precision,
    OBSTA_CENA_PROD_LV        double precision,
    OBSTO_PROD_MINUS_DOST_LV  double precision,
    NKONTRAGENT               smallint,
    IMEKONTRAGENT             varchar(40),
    ZAKUPCHIK                 varchar(47),
    SUMDOST_BRAK              double precision,
    SUMISK                    double precision,
    SUMMAT_PRODAGBI           double precision,
    SUMMAT_SKLOB              double precision,
    NALICHNOST                double precision,
    PROCENT_OTST              double precision,
    PROCENT_DDS               double precision,
    KOMIS                     double precision)
as
begin
    for select n.AUTONUM, n.NSKLAD, n.SKLAD, n.NFAKTURA, n.DATEFAKTURA, n.DATEPOLUCHENO, n.NUMSHIFYR, n.NMATERIAL,
               n.IMEMATERIAL, n.MIARKA_BG, n.KOLICHESTVO, n.ED_CENA_LV, n.PRODAGNA_CENA, n.NKONTRAGENT,
               n.IMEKONTRAGENT, n.ZAKUPCHIK, n.SUMDOST_BRAK, n.SUMISK, n.SUMMAT_PRODAGBI, n.SUMMAT_SKLOB,
               n.NALICHNOST, coalesce(n.PROCENT_OTST, 0), coalesce(n.PROCENT_DDS, 0), coalesce(n.KOMIS, 0)
          from SKLADNALICH(:SKLADOT, :SKLADDO, :NMATERIALOT, :NMATERIALDO) n
          into :AUTONUM, :NSKLAD, :SKLAD, :NFAKTURA, :DATEFAKTURA, :DATEPOLUCHENO, :NUMSHIFYR, :NMATERIAL,
               :IMEMATERIAL, :MIARKA_BG, :KOLICHESTVO, :ED_CENA_LV, :PRODAGNA_CENA, :NKONTRAGENT,
               :IMEKONTRAGENT, :ZAKUPCHIK, :SUMDOST_BRAK, :SUMISK, :SUMMAT_PRODAGBI, :SUMMAT_SKLOB,
               :NALICHNOST, :PROCENT_OTST, :PROCENT_DDS, :KOMIS
    do
    begin
        OBSTO_LV = KOLICHESTVO * (ED_CENA_LV - ED_CENA_LV * PROCENT_OTST / 100);
        STOINOST_DDS = OBSTO_LV * PROCENT_DDS / 100;
        KOMIS_OBSTO = KOLICHESTVO * KOMIS;
        OBSTA_CENA_PROD_LV = KOLICHESTVO * PRODAGNA_CENA;
        OBSTO_PROD_MINUS_DOST_LV = OBSTA_CENA_PROD_LV - OBSTO_LV;
        suspend;
    end
end^

set term ; ^
