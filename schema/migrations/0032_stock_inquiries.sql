-- The stock inquiries: movement per delivery line, totals per material, minimum and maximum
-- quantities, stock at a document date, the warehouse receipts of a period, the lines of the
-- warehouse points and the packaging account of a counterparty. A date bound left null is open.

set term ^ ;

-- The delivery lines of the ranges received and invoiced within the two date ranges, with what
-- has left each line by kind, what is on hand and its value.
create procedure SKLAD_SPRAVKA_DVIGENIE (
    SKLADOT smallint, SKLADDO smallint, NMATERIALOT integer, NMATERIALDO integer,
    POLUCHENOOT timestamp, POLUCHENODO timestamp, DATEFAKTURAOT timestamp, DATEFAKTURADO timestamp)
returns (
    AUTONUM           integer,
    NSKLAD            smallint,
    SKLAD             varchar(35),
    NMATERIAL         integer,
    IMEMATERIAL       varchar(65),
    MIARKA_BG         varchar(5),
    NALICHNOST        double precision,
    KOLICHESTVO       double precision,
    KOLICH_SERII      smallint,
    SUMDOST_BRAK      double precision,
    RAZHOD            double precision,
    RAZHOD_PRODAGBI   double precision,
    RAZHOD_SKLOB      double precision,
    ED_CENA_LV        double precision,
    OBSTA_CENA_LV     double precision,
    USD               double precision,
    OBSTA_CENA_USD    double precision,
    EUR               double precision,
    OBSTA_CENA_EUR    double precision,
    DATEPOLUCHENO     timestamp,
    NFAKTURA          varchar(10),
    DATEFAKTURA       timestamp,
    IMEKONTRAGENT     varchar(40),
    NKONTRAGENT       smallint)
as
begin
    for select s.AUTONUM, m.NSKLAD, t.SKLAD, s.NMATERIAL, m.IMEMATERIAL, mi.MIARKA_BG,
               coalesce(s.KOLICHESTVO, 0), s.KOLICH_SERII,
               coalesce(s.ED_CENA_LV, 0), coalesce(s.USD, 0), coalesce(s.EUR, 0),
               s.DATEPOLUCHENO, s.NFAKTURA, s.DATEFAKTURA, k.IMEKONTRAGENT, s.NKONTRAGENT
          from MATERIALI m
          join SKLAD s on s.NMATERIAL = m.NMATERIAL
          left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
          left join KONTRAGENTI k on k.NKONTRAGENT = s.NKONTRAGENT
         where m.NSKLAD between :SKLADOT and :SKLADDO
           and m.NMATERIAL between :NMATERIALOT and :NMATERIALDO
           and (:POLUCHENOOT is null or s.DATEPOLUCHENO >= :POLUCHENOOT)
           and (:POLUCHENODO is null or s.DATEPOLUCHENO <= :POLUCHENODO)
           and (:DATEFAKTURAOT is null or s.DATEFAKTURA >= :DATEFAKTURAOT)
           and (:DATEFAKTURADO is null or s.DATEFAKTURA <= :DATEFAKTURADO)
          into :AUTONUM, :NSKLAD, :SKLAD, :NMATERIAL, :IMEMATERIAL, :MIARKA_BG,
               :KOLICHESTVO, :KOLICH_SERII, :ED_CENA_LV, :USD, :EUR,
               :DATEPOLUCHENO, :NFAKTURA, :DATEFAKTURA, :IMEKONTRAGENT, :NKONTRAGENT
    do
    begin
        select coalesce(sum(iif(VID_DVIGENIE = 4, KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(VID_DVIGENIE = 2, KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(VID_DVIGENIE = 1, KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(VID_DVIGENIE = 3, KOLICHESTVO, 0)), 0)
          from SKLAD_DVIGENIE where AUTONUM_SKLAD = :AUTONUM
          into :SUMDOST_BRAK, :RAZHOD, :RAZHOD_PRODAGBI, :RAZHOD_SKLOB;
        NALICHNOST = KOLICHESTVO - SUMDOST_BRAK - RAZHOD - RAZHOD_PRODAGBI - RAZHOD_SKLOB;
        OBSTA_CENA_LV = NALICHNOST * ED_CENA_LV;
        OBSTA_CENA_USD = NALICHNOST * USD;
        OBSTA_CENA_EUR = NALICHNOST * EUR;
        suspend;
    end
end^

-- The same quantities added up per material of the ranges, with its minimum and maximum.
create procedure SKLAD_SPRAVKA_MATERIALI (SKLADOT smallint, SKLADDO smallint, NMATERIALOT integer, NMATERIALDO integer)
returns (
    NSKLAD            smallint,
    SKLAD             varchar(35),
    NMATERIAL         integer,
    IMEMATERIAL       varchar(65),
    MIARKA_BG         varchar(5),
    SUMANALICHNOST    double precision,
    SUMADOSTAVKA      double precision,
    SUMDOST_BRAK      double precision,
    SUMAISKANIA       double precision,
    SUMAPRODAGBI      double precision,
    SUMAEKSPEDIRANO   double precision,
    MIN_KOL           double precision,
    MAX_KOL           double precision)
as
begin
    for select m.NSKLAD, t.SKLAD, m.NMATERIAL, m.IMEMATERIAL, mi.MIARKA_BG, m.MIN_KOL, m.MAX_KOL,
               (select coalesce(sum(s.KOLICHESTVO), 0) from SKLAD s where s.NMATERIAL = m.NMATERIAL)
          from MATERIALI m
          left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
         where m.NSKLAD between :SKLADOT and :SKLADDO
           and m.NMATERIAL between :NMATERIALOT and :NMATERIALDO
           and exists (select 1 from SKLAD s where s.NMATERIAL = m.NMATERIAL)
          into :NSKLAD, :SKLAD, :NMATERIAL, :IMEMATERIAL, :MIARKA_BG, :MIN_KOL, :MAX_KOL, :SUMADOSTAVKA
    do
    begin
        select coalesce(sum(iif(d.VID_DVIGENIE = 4, d.KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(d.VID_DVIGENIE = 2, d.KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(d.VID_DVIGENIE = 1, d.KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(d.VID_DVIGENIE = 3, d.KOLICHESTVO, 0)), 0)
          from SKLAD s join SKLAD_DVIGENIE d on d.AUTONUM_SKLAD = s.AUTONUM
         where s.NMATERIAL = :NMATERIAL
          into :SUMDOST_BRAK, :SUMAISKANIA, :SUMAPRODAGBI, :SUMAEKSPEDIRANO;
        SUMANALICHNOST = SUMADOSTAVKA - SUMDOST_BRAK - SUMAISKANIA - SUMAPRODAGBI - SUMAEKSPEDIRANO;
        suspend;
    end
end^

-- Every material of the warehouses in range with its stock on hand, selling prices and its
-- minimum and maximum quantities.
create procedure MATERIALI_SPRAVKA (SKLADOT smallint, SKLADDO smallint)
returns (
    NSKLAD            smallint,
    IMESKLAD          varchar(35),
    NMATERIAL         integer,
    IMEMATERIAL       varchar(65),
    IMEMKA            varchar(5),
    NALICHNOST        double precision,
    PRODAGNACENA_LV   double precision,
    PRODAGNACENA_USD  double precision,
    PRODAGNACENA_EUR  double precision,
    MIN_KOL           double precision,
    MAX_KOL           double precision,
    ED_CENA           double precision)
as
declare variable vlezlo double precision;
declare variable izlezlo double precision;
begin
    for select m.NSKLAD, t.SKLAD, m.NMATERIAL, m.IMEMATERIAL, mi.MIARKA_BG, coalesce(m.PRODAGNA_CENA, 0),
               coalesce(m.PRODAGNA_CENA_USD, 0), coalesce(m.PRODAGNA_CENA_EUR, 0), coalesce(m.MIN_KOL, 0),
               coalesce(m.MAX_KOL, 0), m.ED_CENA
          from MATERIALI m
          left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
         where m.NSKLAD between :SKLADOT and :SKLADDO
          into :NSKLAD, :IMESKLAD, :NMATERIAL, :IMEMATERIAL, :IMEMKA, :PRODAGNACENA_LV,
               :PRODAGNACENA_USD, :PRODAGNACENA_EUR, :MIN_KOL, :MAX_KOL, :ED_CENA
    do
    begin
        select coalesce(sum(KOLICHESTVO), 0) from SKLAD where NMATERIAL = :NMATERIAL into :vlezlo;
        select coalesce(sum(d.KOLICHESTVO), 0)
          from SKLAD s join SKLAD_DVIGENIE d on d.AUTONUM_SKLAD = s.AUTONUM
         where s.NMATERIAL = :NMATERIAL
          into :izlezlo;
        NALICHNOST = vlezlo - izlezlo;
        suspend;
    end
end^

-- Per material of the ranges, the stock as it stood at the end of the supplier-document day
-- DATEFAKTURA_KYM (given at its start): the lines of documents dated up to that day, less what
-- left them up to that day. The average
-- delivery price of a currency is over the lines priced in it; with no such quantity it is null.
-- Selling prices are given with the company's VAT, their values without it.
create procedure SKLADNALICH_KYMDATA (
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
declare variable qty_lv double precision;
declare variable qty_usd double precision;
declare variable qty_eur double precision;
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
               sum(iif(s.ED_CENA_LV > 0, s.KOLICHESTVO, 0)), sum(iif(s.ED_CENA_LV > 0, s.KOLICHESTVO * s.ED_CENA_LV, 0)),
               sum(iif(s.USD > 0, s.KOLICHESTVO, 0)), sum(iif(s.USD > 0, s.KOLICHESTVO * s.USD, 0)),
               sum(iif(s.EUR > 0, s.KOLICHESTVO, 0)), sum(iif(s.EUR > 0, s.KOLICHESTVO * s.EUR, 0))
          from SKLAD s
          join MATERIALI m on m.NMATERIAL = s.NMATERIAL
          left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
          left join (select AUTONUM_SKLAD,
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
               :qty_lv, :val_lv, :qty_usd, :val_usd, :qty_eur, :val_eur
    do
    begin
        NALICHNOST = SUMMAT_DOSTAVKA - SUMDOST_BRAK - SUMISK - SUMMAT_PRODAGBI - SUMMAT_SKLOB;
        SREDNA_CENA_LV = iif(qty_lv > 0, val_lv / qty_lv, null);
        SREDNA_CENA_USD = iif(qty_usd > 0, val_usd / qty_usd, null);
        SREDNA_CENA_EUR = iif(qty_eur > 0, val_eur / qty_eur, null);
        OBSTA_CENA_LV = NALICHNOST * SREDNA_CENA_LV;
        OBSTA_CENA_USD = NALICHNOST * SREDNA_CENA_USD;
        OBSTA_CENA_EUR = NALICHNOST * SREDNA_CENA_EUR;
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

-- The delivery lines received and invoiced within the two ranges with their receipt number,
-- prices before and after discount and VAT, the VAT amount and the totals per currency.
create procedure SKLAD_SPRAVKA_SKLRAZP (
    POLUCHENOOT timestamp, POLUCHENODO timestamp, DATEFAKTURAOT timestamp, DATEFAKTURADO timestamp)
returns (
    AUTONUM              integer,
    NSKLRAZP             integer,
    NUMSKLAD             smallint,
    IMESKLAD             varchar(35),
    NMATERIAL            integer,
    IMEMATERIAL          varchar(65),
    MIARKA_BG            varchar(5),
    KOLICHESTVO          double precision,
    KOLICH_SERII         smallint,
    ED_CENA_LV           double precision,
    USD                  double precision,
    EUR                  double precision,
    DATEPOLUCHENO        timestamp,
    NKONTRAGENT          smallint,
    IMEKONTRAGENT        varchar(40),
    NFAKTURA             varchar(10),
    DATEFAKTURA          timestamp,
    PROCENT_OTST         double precision,
    ED_CENA_LV_OTST      double precision,
    USD_OTST             double precision,
    EUR_OTST             double precision,
    PROCENT_DDS          double precision,
    ED_CENA_LV_OTST_DDS  double precision,
    USD_OTST_DDS         double precision,
    EUR_OTST_DDS         double precision,
    STOINOST_DDS         double precision,
    OBSTO_LV             double precision,
    OBSTO_USD            double precision,
    OBSTO_EUR            double precision,
    KOMIS                double precision,
    KOMIS_OBSTO          double precision,
    SHIFYR               smallint,
    ZAKUPCHIK            varchar(47))
as
begin
    for select s.AUTONUM, s.NSKLRAZP, m.NSKLAD, t.SKLAD, s.NMATERIAL, m.IMEMATERIAL, mi.MIARKA_BG,
               coalesce(s.KOLICHESTVO, 0), s.KOLICH_SERII, coalesce(s.ED_CENA_LV, 0), coalesce(s.USD, 0),
               coalesce(s.EUR, 0), s.DATEPOLUCHENO, s.NKONTRAGENT, k.IMEKONTRAGENT, s.NFAKTURA, s.DATEFAKTURA,
               coalesce(s.PROCENT_OTST, 0), coalesce(s.PROCENT_DDS, 0), coalesce(s.KOMIS, 0), s.NUMSHIFYR,
               p.IMEFULL
          from SKLAD s
          left join MATERIALI m on m.NMATERIAL = s.NMATERIAL
          left join TIP_SKLAD t on t.NSKLAD = m.NSKLAD
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
          left join KONTRAGENTI k on k.NKONTRAGENT = s.NKONTRAGENT
          left join VIEWPERSONAL p on p.SHIFYR = s.NUMSHIFYR
         where (:POLUCHENOOT is null or s.DATEPOLUCHENO >= :POLUCHENOOT)
           and (:POLUCHENODO is null or s.DATEPOLUCHENO <= :POLUCHENODO)
           and (:DATEFAKTURAOT is null or s.DATEFAKTURA >= :DATEFAKTURAOT)
           and (:DATEFAKTURADO is null or s.DATEFAKTURA <= :DATEFAKTURADO)
          into :AUTONUM, :NSKLRAZP, :NUMSKLAD, :IMESKLAD, :NMATERIAL, :IMEMATERIAL, :MIARKA_BG,
               :KOLICHESTVO, :KOLICH_SERII, :ED_CENA_LV, :USD, :EUR, :DATEPOLUCHENO, :NKONTRAGENT,
               :IMEKONTRAGENT, :NFAKTURA, :DATEFAKTURA, :PROCENT_OTST, :PROCENT_DDS, :KOMIS, :SHIFYR,
               :ZAKUPCHIK
    do
    begin
        ED_CENA_LV_OTST = ED_CENA_LV - ED_CENA_LV * PROCENT_OTST / 100;
        USD_OTST = USD - USD * PROCENT_OTST / 100;
        EUR_OTST = EUR - EUR * PROCENT_OTST / 100;
        ED_CENA_LV_OTST_DDS = ED_CENA_LV_OTST + ED_CENA_LV_OTST * PROCENT_DDS / 100;
        USD_OTST_DDS = USD_OTST + USD_OTST * PROCENT_DDS / 100;
        EUR_OTST_DDS = EUR_OTST + EUR_OTST * PROCENT_DDS / 100;
        STOINOST_DDS = KOLICHESTVO * ED_CENA_LV_OTST * PROCENT_DDS / 100;
        OBSTO_LV = KOLICHESTVO * ED_CENA_LV_OTST_DDS;
        OBSTO_USD = KOLICHESTVO * USD_OTST_DDS;
        OBSTO_EUR = KOLICHESTVO * EUR_OTST_DDS;
        KOMIS_OBSTO = KOLICHESTVO * KOMIS;
        suspend;
    end
end^

-- The delivery lines of the warehouse points: every line of the ranges with its value, VAT,
-- the purchaser's commission and what left it, reckoned as SKLADNALICH reckons it.
create procedure SKLAD_KONTR_NALICH (SKLADOT smallint, SKLADDO smallint, NMATERIALOT integer, NMATERIALDO integer)
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
        OBSTO_LV = KOLICHESTVO * ED_CENA_LV;
        STOINOST_DDS = OBSTO_LV * PROCENT_DDS / 100;
        KOMIS_OBSTO = KOLICHESTVO * KOMIS;
        OBSTA_CENA_PROD_LV = KOLICHESTVO * PRODAGNA_CENA;
        OBSTO_PROD_MINUS_DOST_LV = OBSTA_CENA_PROD_LV - OBSTO_LV;
        suspend;
    end
end^

-- Per kind of packaging exchanged with the counterparty: received, returned and still held.
create procedure AMBALAG_KONTRAGENT (NUMKONTRAGENT integer)
returns (NAMBALAG smallint, IMEAMBALAG varchar(30), POLUCHENO integer, VYRNATO integer, NALICHNO integer)
as
begin
    for select t.NAMBALAG, t.IME_AMBALAG,
               (select coalesce(sum(a.BROI_AMB), 0) from AMB_FIRMA_DOST a
                 where a.NKONTRAGENT = :NUMKONTRAGENT and a.NAMBALAG = t.NAMBALAG),
               (select coalesce(sum(a.BROI_AMB), 0) from AMB_DOST_FIRMA a
                 where a.NKONTRAGENT = :NUMKONTRAGENT and a.NAMBALAG = t.NAMBALAG)
          from TIP_AMBALAG t
         where exists (select 1 from AMB_FIRMA_DOST a where a.NKONTRAGENT = :NUMKONTRAGENT and a.NAMBALAG = t.NAMBALAG)
            or exists (select 1 from AMB_DOST_FIRMA a where a.NKONTRAGENT = :NUMKONTRAGENT and a.NAMBALAG = t.NAMBALAG)
         order by t.IME_AMBALAG
          into :NAMBALAG, :IMEAMBALAG, :POLUCHENO, :VYRNATO
    do
    begin
        NALICHNO = POLUCHENO - VYRNATO;
        suspend;
    end
end^

set term ; ^
