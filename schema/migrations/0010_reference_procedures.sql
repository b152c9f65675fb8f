-- The item list of the reference data window and the special selling prices of counterparties.

set term ^ ;

-- Every item whose warehouse key lies in the range (both ends included), prices under the list's names.
create procedure VIEWMATERIALI (NSKLADOT integer, NSKLADDO integer)
returns (
    NSKLAD                smallint,
    NMATERIAL             integer,
    IMEMATERIAL           varchar(65),
    NMIARKA               smallint,
    ED_CENA               double precision,
    PRODAGNACENA          double precision,
    PROD_CENA_LV_DREBNO   double precision,
    PRODAGNACENA_USD      double precision,
    PROD_CENA_USD_DREBNO  double precision,
    PRODAGNACENA_EUR      double precision,
    PROD_CENA_EUR_DREBNO  double precision,
    MIN_KOL               double precision,
    MAX_KOL               double precision,
    SNIMKA                blob sub_type binary,
    SERIA_DA_NE           smallint,
    SUM_DA_NE             smallint,
    IZCH_DA_NE            smallint)
as
begin
    for select NSKLAD, NMATERIAL, IMEMATERIAL, NMIARKA, ED_CENA, PRODAGNA_CENA, PROD_CENA_LV_DREBNO,
               PRODAGNA_CENA_USD, PROD_CENA_USD_DREBNO, PRODAGNA_CENA_EUR, PROD_CENA_EUR_DREBNO, MIN_KOL,
               MAX_KOL, SNIMKA, SERIA_DA_NE, SUM_DA_NE, IZCH_DA_NE
          from MATERIALI
         where NSKLAD between :NSKLADOT and :NSKLADDO
          into :NSKLAD, :NMATERIAL, :IMEMATERIAL, :NMIARKA, :ED_CENA, :PRODAGNACENA, :PROD_CENA_LV_DREBNO,
               :PRODAGNACENA_USD, :PROD_CENA_USD_DREBNO, :PRODAGNACENA_EUR, :PROD_CENA_EUR_DREBNO, :MIN_KOL,
               :MAX_KOL, :SNIMKA, :SERIA_DA_NE, :SUM_DA_NE, :IZCH_DA_NE
    do
        suspend;
end^

-- The special prices of one counterparty, with the item's name and wholesale price beside them.
create procedure VIEWKONTR_MAT_CENI (NUMKONTRAGENT integer)
returns (
    AUTONUM       integer,
    NMATERIAL     integer,
    IMEMATERIAL   varchar(65),
    PRODAGNACENA  double precision,
    SPEC_CENA     double precision)
as
begin
    for select C.AUTONUM, C.NMATERIAL, M.IMEMATERIAL, M.PRODAGNA_CENA, C.SPEC_CENA
          from KONTR_MAT_CENI C
          left join MATERIALI M on M.NMATERIAL = C.NMATERIAL
         where C.NKONTRAGENT = :NUMKONTRAGENT
          into :AUTONUM, :NMATERIAL, :IMEMATERIAL, :PRODAGNACENA, :SPEC_CENA
    do
        suspend;
end^

-- ADD_UPDATE 1 adds the price of a counterparty and item; should that pair have a price already, it
-- is changed instead, so the pair never gets a second row. ADD_UPDATE 0 changes the price of row NUM_ZAPIS.
create procedure ADD_UPDATE_KONTR_MAT_CENI (ADD_UPDATE smallint, NUM_ZAPIS integer, NKONTRAGENT integer,
                                            NMATERIAL integer, SPEC_CENA double precision)
as
begin
    if (ADD_UPDATE = 1) then
    begin
        update KONTR_MAT_CENI set SPEC_CENA = :SPEC_CENA
         where NKONTRAGENT = :NKONTRAGENT and NMATERIAL = :NMATERIAL;
        if (row_count = 0) then
            insert into KONTR_MAT_CENI (NKONTRAGENT, NMATERIAL, SPEC_CENA)
            values (:NKONTRAGENT, :NMATERIAL, :SPEC_CENA);
    end
    else
        update KONTR_MAT_CENI set SPEC_CENA = :SPEC_CENA where AUTONUM = :NUM_ZAPIS;
end^

create procedure DEL_KONTR_MAT_CENI (NUM_ZAPIS integer)
as
begin
    delete from KONTR_MAT_CENI where AUTONUM = :NUM_ZAPIS;
end^

set term ; ^
