-- Warehouse objects: the five views of their lines, the transfers into, between and out of
-- objects, and the change or removal of one line. A transfer takes its quantity out of the source
-- lines through the ledger SKLAD_DVIGENIE (kind 3, DOK_NOMER = object receipt number, DOK_AUTONUM =
-- the receiving line), so lowering or removing the receiving line gives it back to them.
-- A null bound of an object, material or date range leaves that side open.

set term ^ ;

-- One row per line of the objects and materials in range, by view: 0 on hand, 1 received in the
-- period, 2 received in the period from another object (the object range is the source's),
-- 3 sold in the period, 4 received or moved in the period. The values are of what is on hand
-- (view 0), of what was sold (view 3), else of what was received.

create procedure SKLOB_REDOVE (
    VID smallint, NSKLOBEKT_OT integer, NSKLOBEKT_DO integer, NMATERIALOT integer, NMATERIALDO integer,
    DATEOT timestamp, DATEDO timestamp)
returns (
    AUTONUM                    integer,
    NUM_SKL_RAZP               integer,
    NUM_SKL_RAZP_DOPN          integer,
    NSKL_OBEKT                 smallint,
    IMESKL_OBEKT               varchar(40),
    NSKLAD_VHOD                smallint,
    NSKL_OBEKT_VHOD            smallint,
    SKLAD_VHOD_IME             varchar(40),
    NSKL_RAZP_VHOD             integer,
    NSKL_RAZP_DOPN_VHOD        integer,
    NMATERIAL                  integer,
    IMEMATERIAL                varchar(65),
    MIARKA_BG                  varchar(5),
    DATEPOLUCHENO              timestamp,
    POLUCHENO                  double precision,
    EKSPEDIRANO                double precision,
    PRODADENO                  double precision,
    NALICHNO                   double precision,
    ED_CENA_LV                 double precision,
    USD                        double precision,
    EUR                        double precision,
    PRODAGNA_CENA              double precision,
    PRODAGNA_CENA_USD          double precision,
    PRODAGNA_CENA_EUR          double precision,
    PROD_CENA_LV_DREBNO        double precision,
    PROD_CENA_USD_DREBNO       double precision,
    PROD_CENA_EUR_DREBNO       double precision,
    OBSTA_CENA_LV              double precision,
    OBSTA_CENA_USD             double precision,
    OBSTA_CENA_EUR             double precision,
    OBSTA_CENA_PROD_LV         double precision,
    OBSTA_CENA_PROD_USD        double precision,
    OBSTA_CENA_PROD_EUR        double precision,
    OBSTA_CENA_PROD_LV_DREBNO  double precision,
    OBSTA_CENA_PROD_USD_DREBNO double precision,
    OBSTA_CENA_PROD_EUR_DREBNO double precision,
    OBSTO_PROD_MINUS_DOST_LV   double precision,
    OBSTO_PROD_MINUS_DOST_USD  double precision,
    OBSTO_PROD_MINUS_DOST_EUR  double precision,
    NFAKTURA                   varchar(10),
    DATEFAKTURA                timestamp,
    NKONTRAGENT                smallint,
    IMEKONTRAGENT              varchar(40),
    IMEMOLFIRMA                varchar(45))
as
declare variable dosled timestamp;
declare variable izlezlo double precision;
declare variable osnova double precision;
begin
    dosled = DATEDO + 1;  -- the whole last day
    for select o.AUTONUM, o.NUM_SKL_RAZP, o.NUM_SKL_RAZP_DOPN, o.NSKL_OBEKT, t.IME_SKL_OBEKT,
               coalesce(o.NSKLAD_VHOD, 0), coalesce(o.NSKL_OBEKT_VHOD, 0),
               coalesce(ts.SKLAD, tv.IME_SKL_OBEKT, k.IMEKONTRAGENT), o.NSKL_RAZP_VHOD, o.NSKL_RAZP_DOPN_VHOD,
               o.NMATERIAL, m.IMEMATERIAL, mi.MIARKA_BG, o.DATEPOLUCHENO, coalesce(o.POLUCHENO, 0),
               coalesce(o.ED_CENA_LV, 0), coalesce(o.USD, 0), coalesce(o.EUR, 0),
               coalesce(m.PRODAGNA_CENA, 0), coalesce(m.PRODAGNA_CENA_USD, 0), coalesce(m.PRODAGNA_CENA_EUR, 0),
               coalesce(m.PROD_CENA_LV_DREBNO, 0), coalesce(m.PROD_CENA_USD_DREBNO, 0),
               coalesce(m.PROD_CENA_EUR_DREBNO, 0),
               o.NFAKTURA, o.DATEFAKTURA, o.NKONTRAGENT, k.IMEKONTRAGENT, mf.IMEMOLFIRMA
          from SKL_OBEKTI_MATERIALI o
          join MATERIALI m on m.NMATERIAL = o.NMATERIAL
          left join TIP_SKL_OBEKT t on t.NSKL_OBEKT = o.NSKL_OBEKT
          left join TIP_SKLAD ts on ts.NSKLAD = o.NSKLAD_VHOD
          left join TIP_SKL_OBEKT tv on tv.NSKL_OBEKT = o.NSKL_OBEKT_VHOD
          left join KONTRAGENTI k on k.NKONTRAGENT = o.NKONTRAGENT
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
          left join MOL_FIRMA mf on mf.NMOL_FIRMA = o.NMOL_FIRMA
         where (:NSKLOBEKT_OT is null or iif(:VID = 2, o.NSKL_OBEKT_VHOD, o.NSKL_OBEKT) >= :NSKLOBEKT_OT)
           and (:NSKLOBEKT_DO is null or iif(:VID = 2, o.NSKL_OBEKT_VHOD, o.NSKL_OBEKT) <= :NSKLOBEKT_DO)
           and (:VID <> 2 or o.NSKL_OBEKT_VHOD > 0)
           and (:NMATERIALOT is null or o.NMATERIAL >= :NMATERIALOT)
           and (:NMATERIALDO is null or o.NMATERIAL <= :NMATERIALDO)
           and (:VID = 0
                or (:VID in (1, 2, 4) and (:DATEOT is null or o.DATEPOLUCHENO >= :DATEOT)
                                      and (:dosled is null or o.DATEPOLUCHENO < :dosled))
                or (:VID in (3, 4) and exists(select 1 from SKLAD_DVIGENIE d
                                               where d.AUTONUM_SKLOB = o.AUTONUM
                                                 and (:VID = 4 or d.VID_DVIGENIE = 1)
                                                 and (:DATEOT is null or d.DATE_DVIGENIE >= :DATEOT)
                                                 and (:dosled is null or d.DATE_DVIGENIE < :dosled))))
          into :AUTONUM, :NUM_SKL_RAZP, :NUM_SKL_RAZP_DOPN, :NSKL_OBEKT, :IMESKL_OBEKT,
               :NSKLAD_VHOD, :NSKL_OBEKT_VHOD,
               :SKLAD_VHOD_IME, :NSKL_RAZP_VHOD, :NSKL_RAZP_DOPN_VHOD,
               :NMATERIAL, :IMEMATERIAL, :MIARKA_BG, :DATEPOLUCHENO, :POLUCHENO,
               :ED_CENA_LV, :USD, :EUR,
               :PRODAGNA_CENA, :PRODAGNA_CENA_USD, :PRODAGNA_CENA_EUR,
               :PROD_CENA_LV_DREBNO, :PROD_CENA_USD_DREBNO,
               :PROD_CENA_EUR_DREBNO,
               :NFAKTURA, :DATEFAKTURA, :NKONTRAGENT, :IMEKONTRAGENT, :IMEMOLFIRMA
    do
    begin
        select coalesce(sum(iif(VID_DVIGENIE = 3, KOLICHESTVO, 0)), 0),
               coalesce(sum(iif(VID_DVIGENIE = 1
                                and (:VID <> 3 or ((:DATEOT is null or DATE_DVIGENIE >= :DATEOT)
                                                   and (:dosled is null or DATE_DVIGENIE < :dosled))),
                                KOLICHESTVO, 0)), 0),
               coalesce(sum(KOLICHESTVO), 0)
          from SKLAD_DVIGENIE where AUTONUM_SKLOB = :AUTONUM
          into :EKSPEDIRANO, :PRODADENO, :izlezlo;
        NALICHNO = POLUCHENO - izlezlo;
        osnova = iif(VID = 0, NALICHNO, iif(VID = 3, PRODADENO, POLUCHENO));
        OBSTA_CENA_LV = osnova * ED_CENA_LV;
        OBSTA_CENA_USD = osnova * USD;
        OBSTA_CENA_EUR = osnova * EUR;
        OBSTA_CENA_PROD_LV = osnova * PRODAGNA_CENA;
        OBSTA_CENA_PROD_USD = osnova * PRODAGNA_CENA_USD;
        OBSTA_CENA_PROD_EUR = osnova * PRODAGNA_CENA_EUR;
        OBSTA_CENA_PROD_LV_DREBNO = osnova * PROD_CENA_LV_DREBNO;
        OBSTA_CENA_PROD_USD_DREBNO = osnova * PROD_CENA_USD_DREBNO;
        OBSTA_CENA_PROD_EUR_DREBNO = osnova * PROD_CENA_EUR_DREBNO;
        OBSTO_PROD_MINUS_DOST_LV = OBSTA_CENA_PROD_LV - OBSTA_CENA_LV;
        OBSTO_PROD_MINUS_DOST_USD = OBSTA_CENA_PROD_USD - OBSTA_CENA_USD;
        OBSTO_PROD_MINUS_DOST_EUR = OBSTA_CENA_PROD_EUR - OBSTA_CENA_EUR;
        suspend;
    end
end^

-- Lines on hand, whatever their dates. It replaces the narrower list the sales window has used.
create or alter procedure SKLADOBEKTNALICH (NSKLOBEKT_OT integer, NSKLOBEKT_DO integer, NMATERIALOT integer, NMATERIALDO integer)
returns (
    AUTONUM                    integer,
    NUM_SKL_RAZP               integer,
    NUM_SKL_RAZP_DOPN          integer,
    NSKL_OBEKT                 smallint,
    IMESKL_OBEKT               varchar(40),
    NSKLAD_VHOD                smallint,
    NSKL_OBEKT_VHOD            smallint,
    SKLAD_VHOD_IME             varchar(40),
    NSKL_RAZP_VHOD             integer,
    NSKL_RAZP_DOPN_VHOD        integer,
    NMATERIAL                  integer,
    IMEMATERIAL                varchar(65),
    MIARKA_BG                  varchar(5),
    DATEPOLUCHENO              timestamp,
    POLUCHENO                  double precision,
    EKSPEDIRANO                double precision,
    PRODADENO                  double precision,
    NALICHNO                   double precision,
    ED_CENA_LV                 double precision,
    USD                        double precision,
    EUR                        double precision,
    PRODAGNA_CENA              double precision,
    PRODAGNA_CENA_USD          double precision,
    PRODAGNA_CENA_EUR          double precision,
    PROD_CENA_LV_DREBNO        double precision,
    PROD_CENA_USD_DREBNO       double precision,
    PROD_CENA_EUR_DREBNO       double precision,
    OBSTA_CENA_LV              double precision,
    OBSTA_CENA_USD             double precision,
    OBSTA_CENA_EUR             double precision,
    OBSTA_CENA_PROD_LV         double precision,
    OBSTA_CENA_PROD_USD        double precision,
    OBSTA_CENA_PROD_EUR        double precision,
    OBSTA_CENA_PROD_LV_DREBNO  double precision,
    OBSTA_CENA_PROD_USD_DREBNO double precision,
    OBSTA_CENA_PROD_EUR_DREBNO double precision,
    OBSTO_PROD_MINUS_DOST_LV   double precision,
    OBSTO_PROD_MINUS_DOST_USD  double precision,
    OBSTO_PROD_MINUS_DOST_EUR  double precision,
    NFAKTURA                   varchar(10),
    DATEFAKTURA                timestamp,
    NKONTRAGENT                smallint,
    IMEKONTRAGENT              varchar(40),
    IMEMOLFIRMA                varchar(45))
as
begin
    for select * from SKLOB_REDOVE(0, :NSKLOBEKT_OT, :NSKLOBEKT_DO, :NMATERIALOT, :NMATERIALDO, null, null)
          into :AUTONUM, :NUM_SKL_RAZP, :NUM_SKL_RAZP_DOPN, :NSKL_OBEKT, :IMESKL_OBEKT, :NSKLAD_VHOD,
               :NSKL_OBEKT_VHOD, :SKLAD_VHOD_IME, :NSKL_RAZP_VHOD, :NSKL_RAZP_DOPN_VHOD, :NMATERIAL,
               :IMEMATERIAL, :MIARKA_BG, :DATEPOLUCHENO, :POLUCHENO, :EKSPEDIRANO, :PRODADENO, :NALICHNO,
               :ED_CENA_LV, :USD, :EUR, :PRODAGNA_CENA, :PRODAGNA_CENA_USD, :PRODAGNA_CENA_EUR,
               :PROD_CENA_LV_DREBNO, :PROD_CENA_USD_DREBNO, :PROD_CENA_EUR_DREBNO, :OBSTA_CENA_LV,
               :OBSTA_CENA_USD, :OBSTA_CENA_EUR, :OBSTA_CENA_PROD_LV, :OBSTA_CENA_PROD_USD,
               :OBSTA_CENA_PROD_EUR, :OBSTA_CENA_PROD_LV_DREBNO, :OBSTA_CENA_PROD_USD_DREBNO,
               :OBSTA_CENA_PROD_EUR_DREBNO, :OBSTO_PROD_MINUS_DOST_LV, :OBSTO_PROD_MINUS_DOST_USD,
               :OBSTO_PROD_MINUS_DOST_EUR, :NFAKTURA, :DATEFAKTURA, :NKONTRAGENT, :IMEKONTRAGENT,
               :IMEMOLFIRMA
    do
        suspend;
end^

-- Lines received in the period.
create procedure SKLADOBEKTPOLUCHENO (NSKLOBEKT_OT integer, NSKLOBEKT_DO integer, NMATERIALOT integer, NMATERIALDO integer, DATEOT timestamp, DATEDO timestamp)
returns (
    AUTONUM                    integer,
    NUM_SKL_RAZP               integer,
    NUM_SKL_RAZP_DOPN          integer,
    NSKL_OBEKT                 smallint,
    IMESKL_OBEKT               varchar(40),
    NSKLAD_VHOD                smallint,
    NSKL_OBEKT_VHOD            smallint,
    SKLAD_VHOD_IME             varchar(40),
    NSKL_RAZP_VHOD             integer,
    NSKL_RAZP_DOPN_VHOD        integer,
    NMATERIAL                  integer,
    IMEMATERIAL                varchar(65),
    MIARKA_BG                  varchar(5),
    DATEPOLUCHENO              timestamp,
    POLUCHENO                  double precision,
    EKSPEDIRANO                double precision,
    PRODADENO                  double precision,
    NALICHNO                   double precision,
    ED_CENA_LV                 double precision,
    USD                        double precision,
    EUR                        double precision,
    PRODAGNA_CENA              double precision,
    PRODAGNA_CENA_USD          double precision,
    PRODAGNA_CENA_EUR          double precision,
    PROD_CENA_LV_DREBNO        double precision,
    PROD_CENA_USD_DREBNO       double precision,
    PROD_CENA_EUR_DREBNO       double precision,
    OBSTA_CENA_LV              double precision,
    OBSTA_CENA_USD             double precision,
    OBSTA_CENA_EUR             double precision,
    OBSTA_CENA_PROD_LV         double precision,
    OBSTA_CENA_PROD_USD        double precision,
    OBSTA_CENA_PROD_EUR        double precision,
    OBSTA_CENA_PROD_LV_DREBNO  double precision,
    OBSTA_CENA_PROD_USD_DREBNO double precision,
    OBSTA_CENA_PROD_EUR_DREBNO double precision,
    OBSTO_PROD_MINUS_DOST_LV   double precision,
    OBSTO_PROD_MINUS_DOST_USD  double precision,
    OBSTO_PROD_MINUS_DOST_EUR  double precision,
    NFAKTURA                   varchar(10),
    DATEFAKTURA                timestamp,
    NKONTRAGENT                smallint,
    IMEKONTRAGENT              varchar(40),
    IMEMOLFIRMA                varchar(45))
as
begin
    for select * from SKLOB_REDOVE(1, :NSKLOBEKT_OT, :NSKLOBEKT_DO, :NMATERIALOT, :NMATERIALDO, :DATEOT, :DATEDO)
          into :AUTONUM, :NUM_SKL_RAZP, :NUM_SKL_RAZP_DOPN, :NSKL_OBEKT, :IMESKL_OBEKT, :NSKLAD_VHOD,
               :NSKL_OBEKT_VHOD, :SKLAD_VHOD_IME, :NSKL_RAZP_VHOD, :NSKL_RAZP_DOPN_VHOD, :NMATERIAL,
               :IMEMATERIAL, :MIARKA_BG, :DATEPOLUCHENO, :POLUCHENO, :EKSPEDIRANO, :PRODADENO, :NALICHNO,
               :ED_CENA_LV, :USD, :EUR, :PRODAGNA_CENA, :PRODAGNA_CENA_USD, :PRODAGNA_CENA_EUR,
               :PROD_CENA_LV_DREBNO, :PROD_CENA_USD_DREBNO, :PROD_CENA_EUR_DREBNO, :OBSTA_CENA_LV,
               :OBSTA_CENA_USD, :OBSTA_CENA_EUR, :OBSTA_CENA_PROD_LV, :OBSTA_CENA_PROD_USD,
               :OBSTA_CENA_PROD_EUR, :OBSTA_CENA_PROD_LV_DREBNO, :OBSTA_CENA_PROD_USD_DREBNO,
               :OBSTA_CENA_PROD_EUR_DREBNO, :OBSTO_PROD_MINUS_DOST_LV, :OBSTO_PROD_MINUS_DOST_USD,
               :OBSTO_PROD_MINUS_DOST_EUR, :NFAKTURA, :DATEFAKTURA, :NKONTRAGENT, :IMEKONTRAGENT,
               :IMEMOLFIRMA
    do
        suspend;
end^

-- Lines another object received in the period from object NSKLOBEKT (every object when null);
-- IMESKL_OBEKT names the receiving object.
create procedure SKLADOBEKTEKSPEDIRANO (NSKLOBEKT integer, NMATERIALOT integer, NMATERIALDO integer, DATEOT timestamp, DATEDO timestamp)
returns (
    AUTONUM                    integer,
    NUM_SKL_RAZP               integer,
    NUM_SKL_RAZP_DOPN          integer,
    NSKL_OBEKT                 smallint,
    IMESKL_OBEKT               varchar(40),
    NSKLAD_VHOD                smallint,
    NSKL_OBEKT_VHOD            smallint,
    SKLAD_VHOD_IME             varchar(40),
    NSKL_RAZP_VHOD             integer,
    NSKL_RAZP_DOPN_VHOD        integer,
    NMATERIAL                  integer,
    IMEMATERIAL                varchar(65),
    MIARKA_BG                  varchar(5),
    DATEPOLUCHENO              timestamp,
    POLUCHENO                  double precision,
    EKSPEDIRANO                double precision,
    PRODADENO                  double precision,
    NALICHNO                   double precision,
    ED_CENA_LV                 double precision,
    USD                        double precision,
    EUR                        double precision,
    PRODAGNA_CENA              double precision,
    PRODAGNA_CENA_USD          double precision,
    PRODAGNA_CENA_EUR          double precision,
    PROD_CENA_LV_DREBNO        double precision,
    PROD_CENA_USD_DREBNO       double precision,
    PROD_CENA_EUR_DREBNO       double precision,
    OBSTA_CENA_LV              double precision,
    OBSTA_CENA_USD             double precision,
    OBSTA_CENA_EUR             double precision,
    OBSTA_CENA_PROD_LV         double precision,
    OBSTA_CENA_PROD_USD        double precision,
    OBSTA_CENA_PROD_EUR        double precision,
    OBSTA_CENA_PROD_LV_DREBNO  double precision,
    OBSTA_CENA_PROD_USD_DREBNO double precision,
    OBSTA_CENA_PROD_EUR_DREBNO double precision,
    OBSTO_PROD_MINUS_DOST_LV   double precision,
    OBSTO_PROD_MINUS_DOST_USD  double precision,
    OBSTO_PROD_MINUS_DOST_EUR  double precision,
    NFAKTURA                   varchar(10),
    DATEFAKTURA                timestamp,
    NKONTRAGENT                smallint,
    IMEKONTRAGENT              varchar(40),
    IMEMOLFIRMA                varchar(45))
as
begin
    for select * from SKLOB_REDOVE(2, :NSKLOBEKT, :NSKLOBEKT, :NMATERIALOT, :NMATERIALDO, :DATEOT, :DATEDO)
          into :AUTONUM, :NUM_SKL_RAZP, :NUM_SKL_RAZP_DOPN, :NSKL_OBEKT, :IMESKL_OBEKT, :NSKLAD_VHOD,
               :NSKL_OBEKT_VHOD, :SKLAD_VHOD_IME, :NSKL_RAZP_VHOD, :NSKL_RAZP_DOPN_VHOD, :NMATERIAL,
               :IMEMATERIAL, :MIARKA_BG, :DATEPOLUCHENO, :POLUCHENO, :EKSPEDIRANO, :PRODADENO, :NALICHNO,
               :ED_CENA_LV, :USD, :EUR, :PRODAGNA_CENA, :PRODAGNA_CENA_USD, :PRODAGNA_CENA_EUR,
               :PROD_CENA_LV_DREBNO, :PROD_CENA_USD_DREBNO, :PROD_CENA_EUR_DREBNO, :OBSTA_CENA_LV,
               :OBSTA_CENA_USD, :OBSTA_CENA_EUR, :OBSTA_CENA_PROD_LV, :OBSTA_CENA_PROD_USD,
               :OBSTA_CENA_PROD_EUR, :OBSTA_CENA_PROD_LV_DREBNO, :OBSTA_CENA_PROD_USD_DREBNO,
               :OBSTA_CENA_PROD_EUR_DREBNO, :OBSTO_PROD_MINUS_DOST_LV, :OBSTO_PROD_MINUS_DOST_USD,
               :OBSTO_PROD_MINUS_DOST_EUR, :NFAKTURA, :DATEFAKTURA, :NKONTRAGENT, :IMEKONTRAGENT,
               :IMEMOLFIRMA
    do
        suspend;
end^

-- Lines with sales in the period; PRODADENO is what was sold in it.
create procedure SKLADOBEKTPRODADENO (NSKLOBEKT_OT integer, NSKLOBEKT_DO integer, NMATERIALOT integer, NMATERIALDO integer, DATEOT timestamp, DATEDO timestamp)
returns (
    AUTONUM                    integer,
    NUM_SKL_RAZP               integer,
    NUM_SKL_RAZP_DOPN          integer,
    NSKL_OBEKT                 smallint,
    IMESKL_OBEKT               varchar(40),
    NSKLAD_VHOD                smallint,
    NSKL_OBEKT_VHOD            smallint,
    SKLAD_VHOD_IME             varchar(40),
    NSKL_RAZP_VHOD             integer,
    NSKL_RAZP_DOPN_VHOD        integer,
    NMATERIAL                  integer,
    IMEMATERIAL                varchar(65),
    MIARKA_BG                  varchar(5),
    DATEPOLUCHENO              timestamp,
    POLUCHENO                  double precision,
    EKSPEDIRANO                double precision,
    PRODADENO                  double precision,
    NALICHNO                   double precision,
    ED_CENA_LV                 double precision,
    USD                        double precision,
    EUR                        double precision,
    PRODAGNA_CENA              double precision,
    PRODAGNA_CENA_USD          double precision,
    PRODAGNA_CENA_EUR          double precision,
    PROD_CENA_LV_DREBNO        double precision,
    PROD_CENA_USD_DREBNO       double precision,
    PROD_CENA_EUR_DREBNO       double precision,
    OBSTA_CENA_LV              double precision,
    OBSTA_CENA_USD             double precision,
    OBSTA_CENA_EUR             double precision,
    OBSTA_CENA_PROD_LV         double precision,
    OBSTA_CENA_PROD_USD        double precision,
    OBSTA_CENA_PROD_EUR        double precision,
    OBSTA_CENA_PROD_LV_DREBNO  double precision,
    OBSTA_CENA_PROD_USD_DREBNO double precision,
    OBSTA_CENA_PROD_EUR_DREBNO double precision,
    OBSTO_PROD_MINUS_DOST_LV   double precision,
    OBSTO_PROD_MINUS_DOST_USD  double precision,
    OBSTO_PROD_MINUS_DOST_EUR  double precision,
    NFAKTURA                   varchar(10),
    DATEFAKTURA                timestamp,
    NKONTRAGENT                smallint,
    IMEKONTRAGENT              varchar(40),
    IMEMOLFIRMA                varchar(45))
as
begin
    for select * from SKLOB_REDOVE(3, :NSKLOBEKT_OT, :NSKLOBEKT_DO, :NMATERIALOT, :NMATERIALDO, :DATEOT, :DATEDO)
          into :AUTONUM, :NUM_SKL_RAZP, :NUM_SKL_RAZP_DOPN, :NSKL_OBEKT, :IMESKL_OBEKT, :NSKLAD_VHOD,
               :NSKL_OBEKT_VHOD, :SKLAD_VHOD_IME, :NSKL_RAZP_VHOD, :NSKL_RAZP_DOPN_VHOD, :NMATERIAL,
               :IMEMATERIAL, :MIARKA_BG, :DATEPOLUCHENO, :POLUCHENO, :EKSPEDIRANO, :PRODADENO, :NALICHNO,
               :ED_CENA_LV, :USD, :EUR, :PRODAGNA_CENA, :PRODAGNA_CENA_USD, :PRODAGNA_CENA_EUR,
               :PROD_CENA_LV_DREBNO, :PROD_CENA_USD_DREBNO, :PROD_CENA_EUR_DREBNO, :OBSTA_CENA_LV,
               :OBSTA_CENA_USD, :OBSTA_CENA_EUR, :OBSTA_CENA_PROD_LV, :OBSTA_CENA_PROD_USD,
               :OBSTA_CENA_PROD_EUR, :OBSTA_CENA_PROD_LV_DREBNO, :OBSTA_CENA_PROD_USD_DREBNO,
               :OBSTA_CENA_PROD_EUR_DREBNO, :OBSTO_PROD_MINUS_DOST_LV, :OBSTO_PROD_MINUS_DOST_USD,
               :OBSTO_PROD_MINUS_DOST_EUR, :NFAKTURA, :DATEFAKTURA, :NKONTRAGENT, :IMEKONTRAGENT,
               :IMEMOLFIRMA
    do
        suspend;
end^

-- Lines received or moved in the period.
create procedure SKLADOBEKTDVIGENIE (NSKLOBEKT_OT integer, NSKLOBEKT_DO integer, NMATERIALOT integer, NMATERIALDO integer, DATEOT timestamp, DATEDO timestamp)
returns (
    AUTONUM                    integer,
    NUM_SKL_RAZP               integer,
    NUM_SKL_RAZP_DOPN          integer,
    NSKL_OBEKT                 smallint,
    IMESKL_OBEKT               varchar(40),
    NSKLAD_VHOD                smallint,
    NSKL_OBEKT_VHOD            smallint,
    SKLAD_VHOD_IME             varchar(40),
    NSKL_RAZP_VHOD             integer,
    NSKL_RAZP_DOPN_VHOD        integer,
    NMATERIAL                  integer,
    IMEMATERIAL                varchar(65),
    MIARKA_BG                  varchar(5),
    DATEPOLUCHENO              timestamp,
    POLUCHENO                  double precision,
    EKSPEDIRANO                double precision,
    PRODADENO                  double precision,
    NALICHNO                   double precision,
    ED_CENA_LV                 double precision,
    USD                        double precision,
    EUR                        double precision,
    PRODAGNA_CENA              double precision,
    PRODAGNA_CENA_USD          double precision,
    PRODAGNA_CENA_EUR          double precision,
    PROD_CENA_LV_DREBNO        double precision,
    PROD_CENA_USD_DREBNO       double precision,
    PROD_CENA_EUR_DREBNO       double precision,
    OBSTA_CENA_LV              double precision,
    OBSTA_CENA_USD             double precision,
    OBSTA_CENA_EUR             double precision,
    OBSTA_CENA_PROD_LV         double precision,
    OBSTA_CENA_PROD_USD        double precision,
    OBSTA_CENA_PROD_EUR        double precision,
    OBSTA_CENA_PROD_LV_DREBNO  double precision,
    OBSTA_CENA_PROD_USD_DREBNO double precision,
    OBSTA_CENA_PROD_EUR_DREBNO double precision,
    OBSTO_PROD_MINUS_DOST_LV   double precision,
    OBSTO_PROD_MINUS_DOST_USD  double precision,
    OBSTO_PROD_MINUS_DOST_EUR  double precision,
    NFAKTURA                   varchar(10),
    DATEFAKTURA                timestamp,
    NKONTRAGENT                smallint,
    IMEKONTRAGENT              varchar(40),
    IMEMOLFIRMA                varchar(45))
as
begin
    for select * from SKLOB_REDOVE(4, :NSKLOBEKT_OT, :NSKLOBEKT_DO, :NMATERIALOT, :NMATERIALDO, :DATEOT, :DATEDO)
          into :AUTONUM, :NUM_SKL_RAZP, :NUM_SKL_RAZP_DOPN, :NSKL_OBEKT, :IMESKL_OBEKT, :NSKLAD_VHOD,
               :NSKL_OBEKT_VHOD, :SKLAD_VHOD_IME, :NSKL_RAZP_VHOD, :NSKL_RAZP_DOPN_VHOD, :NMATERIAL,
               :IMEMATERIAL, :MIARKA_BG, :DATEPOLUCHENO, :POLUCHENO, :EKSPEDIRANO, :PRODADENO, :NALICHNO,
               :ED_CENA_LV, :USD, :EUR, :PRODAGNA_CENA, :PRODAGNA_CENA_USD, :PRODAGNA_CENA_EUR,
               :PROD_CENA_LV_DREBNO, :PROD_CENA_USD_DREBNO, :PROD_CENA_EUR_DREBNO, :OBSTA_CENA_LV,
               :OBSTA_CENA_USD, :OBSTA_CENA_EUR, :OBSTA_CENA_PROD_LV, :OBSTA_CENA_PROD_USD,
               :OBSTA_CENA_PROD_EUR, :OBSTA_CENA_PROD_LV_DREBNO, :OBSTA_CENA_PROD_USD_DREBNO,
               :OBSTA_CENA_PROD_EUR_DREBNO, :OBSTO_PROD_MINUS_DOST_LV, :OBSTO_PROD_MINUS_DOST_USD,
               :OBSTO_PROD_MINUS_DOST_EUR, :NFAKTURA, :DATEFAKTURA, :NKONTRAGENT, :IMEKONTRAGENT,
               :IMEMOLFIRMA
    do
        suspend;
end^

-- Leaves line AUTONUM with NEW_POLUCHENO received (DEL_UPD 0) or removes it (DEL_UPD 1). What the
-- line no longer holds goes back to the lines it was transferred from, its latest draw first. The
-- line never keeps less than has left it, and a line from which anything has left stays.
create procedure DEL_UPD_SKLOB_MATERIALI (DEL_UPD integer, AUTONUM integer, NEW_POLUCHENO double precision)
as
declare variable polucheno double precision;
declare variable izlezlo double precision;
declare variable vryshta double precision;
declare variable red integer;
declare variable kol double precision;
begin
    polucheno = null;
    select coalesce(POLUCHENO, 0) from SKL_OBEKTI_MATERIALI where AUTONUM = :AUTONUM into :polucheno;
    if (polucheno is null) then
        exception SKLAD_OTKAZ 'Редът на складовия обект вече не съществува !';
    select coalesce(sum(KOLICHESTVO), 0) from SKLAD_DVIGENIE where AUTONUM_SKLOB = :AUTONUM into :izlezlo;
    if (DEL_UPD = 1) then
    begin
        if (izlezlo > 0) then
            exception SKLAD_OTKAZ 'Има продадено или експедирано количество - изтриването невъзможно !';
        delete from SKLAD_DVIGENIE where VID_DVIGENIE = 3 and DOK_AUTONUM = :AUTONUM;
        delete from SKL_OBEKTI_MATERIALI where AUTONUM = :AUTONUM;
        exit;
    end
    if (NEW_POLUCHENO is null or NEW_POLUCHENO < izlezlo - 0.000001) then
        exception SKLAD_OTKAZ 'Количеството е по-малко от продаденото и експедираното !';
    if (NEW_POLUCHENO > polucheno + 0.000001) then
        exception SKLAD_OTKAZ 'Полученото количество не се увеличава по този начин !';
    vryshta = polucheno - NEW_POLUCHENO;
    for select AUTONUM, KOLICHESTVO from SKLAD_DVIGENIE
         where VID_DVIGENIE = 3 and DOK_AUTONUM = :AUTONUM
         order by AUTONUM desc
          into :red, :kol
    do
    begin
        if (vryshta > 0.000000001) then
        begin
            if (kol <= vryshta + 0.000000001) then
                delete from SKLAD_DVIGENIE where AUTONUM = :red;
            else
                update SKLAD_DVIGENIE set KOLICHESTVO = :kol - :vryshta where AUTONUM = :red;
            vryshta = vryshta - minvalue(kol, vryshta);
        end
    end
    update SKL_OBEKTI_MATERIALI set POLUCHENO = :NEW_POLUCHENO where AUTONUM = :AUTONUM;
end^

-- Transfers BROI_MAT_ART of a material from company warehouse NSKLAD_IZTOCHNIK into object
-- NSKL_OBEKT as the next line of receipt NUM_SKL_RAZP: drawn from the material's delivery lines,
-- oldest received first; the whole quantity or nothing. The new line's key comes back.
create procedure SKLAD_SKLOB_MAT_ZAPIS (
    NSKL_OBEKT integer, NUM_SKL_RAZP integer, NUMMATERIAL integer, BROI_MAT_ART double precision,
    DOSTCENA double precision, DATEPOLUCHENO timestamp, NSKLAD_IZTOCHNIK integer, NMOL_FIRMA integer)
returns (AUTONUM integer)
as
declare variable ostava double precision;
declare variable red integer;
declare variable razp integer;
declare variable nalichno double precision;
declare variable kol double precision;
declare variable prva_razp integer;
declare variable ime varchar(65);
begin
    if (coalesce(BROI_MAT_ART, 0) <= 0) then
        exception SKLAD_OTKAZ 'Не е въведено количество или дост.цена за прехвърляне  !';
    if (not exists(select 1 from TIP_SKL_OBEKT where NSKL_OBEKT = :NSKL_OBEKT)
        or not exists(select 1 from TIP_SKLAD where NSKLAD = :NSKLAD_IZTOCHNIK)) then
        exception SKLAD_OTKAZ 'Не е избран склад източник или склад за прехвърляне  !';
    insert into SKL_OBEKTI_MATERIALI (NUM_SKL_RAZP, NUM_SKL_RAZP_DOPN, NSKL_OBEKT, NSKLAD_VHOD, NSKL_OBEKT_VHOD,
                                      NMATERIAL, POLUCHENO, DATEPOLUCHENO, ED_CENA_LV, USD, EUR, NMOL_FIRMA,
                                      NKONTRAGENT)
    values (:NUM_SKL_RAZP,
            (select coalesce(max(NUM_SKL_RAZP_DOPN), 0) + 1 from SKL_OBEKTI_MATERIALI where NUM_SKL_RAZP = :NUM_SKL_RAZP),
            :NSKL_OBEKT, :NSKLAD_IZTOCHNIK, 0, :NUMMATERIAL, :BROI_MAT_ART, :DATEPOLUCHENO, :DOSTCENA, 0, 0,
            nullif(:NMOL_FIRMA, 0), 0)
    returning AUTONUM into :AUTONUM;
    ostava = BROI_MAT_ART;
    for select s.AUTONUM, s.NSKLRAZP,
               coalesce(s.KOLICHESTVO, 0) - (select coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d
                                              where d.AUTONUM_SKLAD = s.AUTONUM)
          from SKLAD s join MATERIALI m on m.NMATERIAL = s.NMATERIAL
         where s.NMATERIAL = :NUMMATERIAL and m.NSKLAD = :NSKLAD_IZTOCHNIK
         order by s.DATEPOLUCHENO, s.AUTONUM
          into :red, :razp, :nalichno
    do
    begin
        if (ostava > 0.000000001 and nalichno > 0.000000001) then
        begin
            kol = minvalue(ostava, nalichno);
            insert into SKLAD_DVIGENIE (AUTONUM_SKLAD, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE, DOK_NOMER, DOK_AUTONUM)
            values (:red, 3, :kol, :DATEPOLUCHENO, :NUM_SKL_RAZP, :AUTONUM);
            if (prva_razp is null) then prva_razp = razp;
            ostava = ostava - kol;
        end
    end
    if (ostava > 0.000000001) then
    begin
        select IMEMATERIAL from MATERIALI where NMATERIAL = :NUMMATERIAL into :ime;
        exception SKLAD_OTKAZ 'Недостатъчно количество на  ' || coalesce(ime, '') || '  !';
    end
    update SKL_OBEKTI_MATERIALI set NSKL_RAZP_VHOD = :prva_razp where AUTONUM = :AUTONUM;
end^

-- The same from the lines of object NSKL_OBEKT_IZTOCHNIK into another object.
create procedure SKLOB_SKLOB_MAT_ZAPIS (
    NSKL_OBEKT integer, NUM_SKL_RAZP integer, NUMMATERIAL integer, BROI_MAT_ART double precision,
    DOSTCENA double precision, DATEPOLUCHENO timestamp, NSKL_OBEKT_IZTOCHNIK integer, NMOL_FIRMA integer)
returns (AUTONUM integer)
as
declare variable ostava double precision;
declare variable red integer;
declare variable razp integer;
declare variable razp_dopn integer;
declare variable nalichno double precision;
declare variable kol double precision;
declare variable prva_razp integer;
declare variable prva_dopn integer;
declare variable ime varchar(65);
begin
    if (coalesce(BROI_MAT_ART, 0) <= 0) then
        exception SKLAD_OTKAZ 'Не е въведено количество за прехвърляне  !';
    if (NSKL_OBEKT is not distinct from NSKL_OBEKT_IZTOCHNIK
        or not exists(select 1 from TIP_SKL_OBEKT where NSKL_OBEKT = :NSKL_OBEKT)
        or not exists(select 1 from TIP_SKL_OBEKT where NSKL_OBEKT = :NSKL_OBEKT_IZTOCHNIK)) then
        exception SKLAD_OTKAZ 'Некоректно зададени складове за прехвърляне ?';
    insert into SKL_OBEKTI_MATERIALI (NUM_SKL_RAZP, NUM_SKL_RAZP_DOPN, NSKL_OBEKT, NSKLAD_VHOD, NSKL_OBEKT_VHOD,
                                      NMATERIAL, POLUCHENO, DATEPOLUCHENO, ED_CENA_LV, USD, EUR, NMOL_FIRMA,
                                      NKONTRAGENT)
    values (:NUM_SKL_RAZP,
            (select coalesce(max(NUM_SKL_RAZP_DOPN), 0) + 1 from SKL_OBEKTI_MATERIALI where NUM_SKL_RAZP = :NUM_SKL_RAZP),
            :NSKL_OBEKT, 0, :NSKL_OBEKT_IZTOCHNIK, :NUMMATERIAL, :BROI_MAT_ART, :DATEPOLUCHENO, :DOSTCENA, 0, 0,
            nullif(:NMOL_FIRMA, 0), 0)
    returning AUTONUM into :AUTONUM;
    ostava = BROI_MAT_ART;
    for select o.AUTONUM, o.NUM_SKL_RAZP, o.NUM_SKL_RAZP_DOPN,
               coalesce(o.POLUCHENO, 0) - (select coalesce(sum(d.KOLICHESTVO), 0) from SKLAD_DVIGENIE d
                                            where d.AUTONUM_SKLOB = o.AUTONUM)
          from SKL_OBEKTI_MATERIALI o
         where o.NMATERIAL = :NUMMATERIAL and o.NSKL_OBEKT = :NSKL_OBEKT_IZTOCHNIK
         order by o.DATEPOLUCHENO, o.AUTONUM
          into :red, :razp, :razp_dopn, :nalichno
    do
    begin
        if (ostava > 0.000000001 and nalichno > 0.000000001) then
        begin
            kol = minvalue(ostava, nalichno);
            insert into SKLAD_DVIGENIE (AUTONUM_SKLOB, VID_DVIGENIE, KOLICHESTVO, DATE_DVIGENIE, DOK_NOMER, DOK_AUTONUM)
            values (:red, 3, :kol, :DATEPOLUCHENO, :NUM_SKL_RAZP, :AUTONUM);
            if (prva_razp is null) then
            begin
                prva_razp = razp;
                prva_dopn = razp_dopn;
            end
            ostava = ostava - kol;
        end
    end
    if (ostava > 0.000000001) then
    begin
        select IMEMATERIAL from MATERIALI where NMATERIAL = :NUMMATERIAL into :ime;
        exception SKLAD_OTKAZ 'Недостатъчно количество на  ' || coalesce(ime, '') || '  !';
    end
    update SKL_OBEKTI_MATERIALI set NSKL_RAZP_VHOD = :prva_razp, NSKL_RAZP_DOPN_VHOD = :prva_dopn
     where AUTONUM = :AUTONUM;
end^

set term ; ^
