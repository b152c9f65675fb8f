-- Staff: issued tools, business advances and expense reports, piece-work earnings.

create exception STAFF_RECORD_MISSING 'Записът не е намерен - може би е изтрит от друго работно място !';
create exception STAFF_WORK_DAY 'Денят не е валиден за месеца на заработката !';

set term ^ ;

-- A work line's day must exist in its month (GGGGMM: year then month).
create trigger VEDOMOST_MANIPULACII_DEN for VEDOMOST_MANIPULACII active before insert or update position 2 as
declare variable y integer;
declare variable m integer;
declare variable last_day integer;
begin
  if (new.GGGGMM is null or char_length(new.GGGGMM) <> 6 or new.GGGGMM similar to '%[^0-9]%') then
    exception STAFF_WORK_DAY;
  y = cast(substring(new.GGGGMM from 1 for 4) as integer);
  m = cast(substring(new.GGGGMM from 5 for 2) as integer);
  if (m < 1 or m > 12) then
    exception STAFF_WORK_DAY;
  if (m in (4, 6, 9, 11)) then
    last_day = 30;
  else if (m = 2) then
  begin
    if ((mod(y, 4) = 0 and mod(y, 100) <> 0) or mod(y, 400) = 0) then
      last_day = 29;
    else
      last_day = 28;
  end
  else
    last_day = 31;
  if (new.GGGGMM_DEN is null or new.GGGGMM_DEN < 1 or new.GGGGMM_DEN > last_day) then
    exception STAFF_WORK_DAY;
end^

-- The materials of the warehouse of the given name: what can be issued to staff.
create procedure VIEWPERS_MAT_SKL (IMESKLAD varchar(35))
returns (
    NMATERIAL     integer,
    IMEMATERIAL   varchar(65))
as
begin
    for select M.NMATERIAL, M.IMEMATERIAL
          from MATERIALI M
          join TIP_SKLAD S on S.NSKLAD = M.NSKLAD
         where S.SKLAD = :IMESKLAD
         order by M.IMEMATERIAL
          into :NMATERIAL, :IMEMATERIAL
    do suspend;
end^

-- Expenses and advances passed on count once each: a given advance (kind 5) is the giver's
-- expense and the receiver's advance (kind 4); an ordinary report has no receiver (0 or null).
create procedure RAZPL_PERSONAL_SPRAVKA (SHIFYR_OT smallint, SHIFYR_DO smallint)
returns (
    AVANS_LV double precision, AVANS_USD double precision, AVANS_EUR double precision,
    OTCHET_LV double precision, OTCHET_USD double precision, OTCHET_EUR double precision,
    DOST_LV double precision, DOST_USD double precision, DOST_EUR double precision,
    RAZLIKA_LV double precision, RAZLIKA_USD double precision, RAZLIKA_EUR double precision)
as
begin
    select coalesce(sum(SUMA_LV), 0), coalesce(sum(SUMA_USD), 0), coalesce(sum(SUMA_EUR), 0)
      from SLUG_AVANS where SHIFYR between :SHIFYR_OT and :SHIFYR_DO
      into :AVANS_LV, :AVANS_USD, :AVANS_EUR;
    select coalesce(sum(SUMA_LV), 0), coalesce(sum(SUMA_USD), 0), coalesce(sum(SUMA_EUR), 0)
      from SLUG_OTCHET where SHIFYR between :SHIFYR_OT and :SHIFYR_DO
      into :OTCHET_LV, :OTCHET_USD, :OTCHET_EUR;
    select coalesce(sum(PLATENO_LV), 0), coalesce(sum(PLATENO_USD), 0), coalesce(sum(PLATENO_EUR), 0)
      from DOSTAVKI_PLASTANE where SHIFYR between :SHIFYR_OT and :SHIFYR_DO
      into :DOST_LV, :DOST_USD, :DOST_EUR;
    RAZLIKA_LV = AVANS_LV - OTCHET_LV - DOST_LV;
    RAZLIKA_USD = AVANS_USD - OTCHET_USD - DOST_USD;
    RAZLIKA_EUR = AVANS_EUR - OTCHET_EUR - DOST_EUR;
    suspend;
end^

create procedure ADD_UPDATE_SLUG_AVANS (
    ADD_UPDATE smallint, NUM_ZAPIS integer, SHIFYR smallint, SUMA_DATE varchar(24),
    SUMA_LV double precision, SUMA_USD double precision, SUMA_EUR double precision,
    AVANS_OT_SHIFYR smallint, ZABELEGKA varchar(30))
as
begin
    if (ADD_UPDATE = 1) then
        insert into SLUG_AVANS (SHIFYR, SUMA_DATE, SUMA_LV, SUMA_USD, SUMA_EUR, AVANS_OT_SHIFYR, ZABELEGKA)
        values (:SHIFYR, cast(:SUMA_DATE as timestamp), :SUMA_LV, :SUMA_USD, :SUMA_EUR,
                coalesce(:AVANS_OT_SHIFYR, 0), :ZABELEGKA);
    else
    begin
        update SLUG_AVANS set SUMA_DATE = cast(:SUMA_DATE as timestamp), SUMA_LV = :SUMA_LV,
               SUMA_USD = :SUMA_USD, SUMA_EUR = :SUMA_EUR, AVANS_OT_SHIFYR = coalesce(:AVANS_OT_SHIFYR, 0),
               ZABELEGKA = :ZABELEGKA
         where NUM_ZAPIS = :NUM_ZAPIS and SHIFYR = :SHIFYR;
        if (row_count = 0) then exception STAFF_RECORD_MISSING;
    end
end^

create procedure ADD_UPDATE_SLUG_OTCHET (
    ADD_UPDATE smallint, NUM_ZAPIS integer, SHIFYR smallint, SUMA_DATE varchar(24),
    SUMA_LV double precision, SUMA_USD double precision, SUMA_EUR double precision,
    NTIP_SLUG_OTCHET smallint, AVANS_NA_SHIFYR smallint, ZABELEGKA varchar(30))
as
begin
    if (ADD_UPDATE = 1) then
        insert into SLUG_OTCHET (SHIFYR, SUMA_DATE, SUMA_LV, SUMA_USD, SUMA_EUR, NTIP_SLUG_OTCHET,
                                 AVANS_NA_SHIFYR, ZABELEGKA)
        values (:SHIFYR, cast(:SUMA_DATE as timestamp), :SUMA_LV, :SUMA_USD, :SUMA_EUR,
                coalesce(:NTIP_SLUG_OTCHET, 0), coalesce(:AVANS_NA_SHIFYR, 0), :ZABELEGKA);
    else
    begin
        -- A correction keeps the receiver: an ordinary report never turns into a given advance.
        update SLUG_OTCHET set SUMA_DATE = cast(:SUMA_DATE as timestamp), SUMA_LV = :SUMA_LV,
               SUMA_USD = :SUMA_USD, SUMA_EUR = :SUMA_EUR, NTIP_SLUG_OTCHET = coalesce(:NTIP_SLUG_OTCHET, 0),
               ZABELEGKA = :ZABELEGKA
         where NUM_ZAPIS = :NUM_ZAPIS and SHIFYR = :SHIFYR;
        if (row_count = 0) then exception STAFF_RECORD_MISSING;
    end
end^

-- AVANS_OTCHET 1 deletes an advance, 2 a report, both by number. 3 deletes a given advance: the
-- giver is the one of the given-advance record NUM_ZAPIS, and only his advances to AVANS_NA_SHIFYR
-- on that record's date go, on both sides; other people's advances to the same receiver stay.
create procedure DEL_SLUG_AVANS_OTCHT (
    NUM_ZAPIS integer, AVANS_OTCHET smallint, AVANS_NA_SHIFYR smallint, SUMA_DATE timestamp)
as
declare variable giver smallint;
declare variable given_on timestamp;
begin
    if (AVANS_OTCHET = 1) then
    begin
        delete from SLUG_AVANS where NUM_ZAPIS = :NUM_ZAPIS;
        if (row_count = 0) then exception STAFF_RECORD_MISSING;
    end
    else if (AVANS_OTCHET = 2) then
    begin
        delete from SLUG_OTCHET where NUM_ZAPIS = :NUM_ZAPIS;
        if (row_count = 0) then exception STAFF_RECORD_MISSING;
    end
    else if (AVANS_OTCHET = 3) then
    begin
        select SHIFYR, SUMA_DATE from SLUG_OTCHET
         where NUM_ZAPIS = :NUM_ZAPIS and AVANS_NA_SHIFYR = :AVANS_NA_SHIFYR and AVANS_NA_SHIFYR > 0
          into :giver, :given_on;
        if (giver is null) then exception STAFF_RECORD_MISSING;
        delete from SLUG_OTCHET
         where SHIFYR = :giver and AVANS_NA_SHIFYR = :AVANS_NA_SHIFYR and SUMA_DATE = :given_on;
        delete from SLUG_AVANS
         where SHIFYR = :AVANS_NA_SHIFYR and AVANS_OT_SHIFYR = :giver and SUMA_DATE = :given_on;
    end
    else exception STAFF_RECORD_MISSING;
end^

-- Earnings per month of the months and days between the bounds.
create procedure VIEWVEDOMOST_ZARABOTKA_SHIFYR (
    SHIFYR smallint, GGGGMM_OT varchar(6), GGGGMM_DO varchar(6), DEN_OT smallint, DEN_DO smallint)
returns (
    GGGGMM              varchar(6),
    GODMESIME           varchar(15),
    MANIPULACII_MESEC   integer,
    ZARABOTKA_MESEC     double precision)
as
begin
    for select V.GGGGMM, max(G.GODMESIME), coalesce(sum(V.BROI_MANIPULACII), 0),
               coalesce(sum(V.STOINOST_MANIPULACII), 0)
          from VEDOMOST_MANIPULACII V
          left join GODMES G on G.GGGGMM = V.GGGGMM
         where V.SHIFYR = :SHIFYR and V.GGGGMM between :GGGGMM_OT and :GGGGMM_DO
           and V.GGGGMM_DEN between :DEN_OT and :DEN_DO
         group by V.GGGGMM
         order by V.GGGGMM
          into :GGGGMM, :GODMESIME, :MANIPULACII_MESEC, :ZARABOTKA_MESEC
    do suspend;
end^

create procedure VIEWVEDOMOST_ZARABOTKA_FIRMA (
    GGGGMM_OT varchar(6), GGGGMM_DO varchar(6), DEN_OT smallint, DEN_DO smallint)
returns (
    GGGGMM              varchar(6),
    GODMESIME           varchar(15),
    SHIFYR              smallint,
    IMEPREZFAM          varchar(47),
    IMEDLYGNOST         varchar(30),
    MANIPULACII_MESEC   integer,
    ZARABOTKA_MESEC     double precision)
as
begin
    for select V.GGGGMM, V.SHIFYR, max(G.GODMESIME), max(P.IMEFULL), max(D.IME_DLYGNOST),
               coalesce(sum(V.BROI_MANIPULACII), 0), coalesce(sum(V.STOINOST_MANIPULACII), 0)
          from VEDOMOST_MANIPULACII V
          left join GODMES G on G.GGGGMM = V.GGGGMM
          left join VIEWPERSONAL P on P.SHIFYR = V.SHIFYR
          left join DLYGNOSTI D on D.KOD_DLYGNOST = P.KOD_DLYGNOST
         where V.GGGGMM between :GGGGMM_OT and :GGGGMM_DO
           and V.GGGGMM_DEN between :DEN_OT and :DEN_DO
         group by V.GGGGMM, V.SHIFYR
          into :GGGGMM, :SHIFYR, :GODMESIME, :IMEPREZFAM, :IMEDLYGNOST, :MANIPULACII_MESEC, :ZARABOTKA_MESEC
    do suspend;
end^

set term ; ^

-- Tools issued to staff, with the tool's name and unit and the stock of the material left on its
-- delivery lines.
create view VIEWPERS_MAT (
    AUTONUM, SHIFYR, NMATERIAL, IMEMATERIAL, IMEMKA, KOLICHESTVO, DATEOT, DATEDO, SUMNALICHNOST
) as
select MP.AUTONUM, MP.SHIFYR, MP.NMATERIAL, M.IMEMATERIAL, MK.MIARKA_BG, MP.KOLICHESTVO, MP.DATEOT, MP.DATEDO,
       (select coalesce(sum(S.KOLICHESTVO), 0) from SKLAD S where S.NMATERIAL = MP.NMATERIAL)
       - (select coalesce(sum(D.KOLICHESTVO), 0) from SKLAD_DVIGENIE D
           join SKLAD S2 on S2.AUTONUM = D.AUTONUM_SKLAD where S2.NMATERIAL = MP.NMATERIAL)
from MATERIAL_PERSONAL MP
left join MATERIALI M on M.NMATERIAL = MP.NMATERIAL
left join MIARKA MK on MK.NMIARKA = M.NMIARKA;

-- Every staff member's movements: advances (1, or 4 from a colleague), reports (2, or 5 when they
-- pass an advance on to a colleague) and supplier payments made as purchaser (3).
create view VIEWRAZPLPERS (
    NUMSHIFYR, IMEFULL, NUM_ZAPIS, AVANS_OTCHET_DOST, RAZPL_DATE, RAZPL_LV, RAZPL_USD, RAZPL_EUR,
    NTIP_SLUG_OTCHET, IME_SLUG_OTCHET, AVANS_OT_SHIFYR, AVANS_OT_IME, AVANS_NA_SHIFYR, AVANS_NA_IME, ZABELEGKA
) as
select A.SHIFYR, P.IMEFULL, A.NUM_ZAPIS,
       cast(case when coalesce(A.AVANS_OT_SHIFYR, 0) > 0 then 4 else 1 end as smallint),
       A.SUMA_DATE, A.SUMA_LV, A.SUMA_USD, A.SUMA_EUR, cast(0 as smallint), cast(null as varchar(20)),
       coalesce(A.AVANS_OT_SHIFYR, 0), O.IMEFULL, cast(0 as smallint), cast(null as varchar(47)), A.ZABELEGKA
  from SLUG_AVANS A
  left join VIEWPERSONAL P on P.SHIFYR = A.SHIFYR
  left join VIEWPERSONAL O on O.SHIFYR = A.AVANS_OT_SHIFYR
union all
select R.SHIFYR, P.IMEFULL, R.NUM_ZAPIS,
       cast(case when coalesce(R.AVANS_NA_SHIFYR, 0) > 0 then 5 else 2 end as smallint),
       R.SUMA_DATE, R.SUMA_LV, R.SUMA_USD, R.SUMA_EUR, coalesce(R.NTIP_SLUG_OTCHET, 0), T.IME_SLUG_OTCHET,
       cast(0 as smallint), cast(null as varchar(47)), coalesce(R.AVANS_NA_SHIFYR, 0), N.IMEFULL, R.ZABELEGKA
  from SLUG_OTCHET R
  left join VIEWPERSONAL P on P.SHIFYR = R.SHIFYR
  left join TIP_SLUG_OTCHET T on T.NTIP_SLUG_OTCHET = R.NTIP_SLUG_OTCHET
  left join VIEWPERSONAL N on N.SHIFYR = R.AVANS_NA_SHIFYR
union all
select D.SHIFYR, P.IMEFULL, D.AUTONUM, cast(3 as smallint),
       D.PLATENO_DATE, D.PLATENO_LV, D.PLATENO_USD, D.PLATENO_EUR, cast(0 as smallint), cast(null as varchar(20)),
       cast(0 as smallint), cast(null as varchar(47)), cast(0 as smallint), cast(null as varchar(47)), D.ZABELEGKA
  from DOSTAVKI_PLASTANE D
  left join VIEWPERSONAL P on P.SHIFYR = D.SHIFYR
 where D.SHIFYR > 0;

set term ^ ;

-- One staff member's movements.
create procedure RAZPL_PERSONAL (SHIFYR smallint)
returns (
    NUM_ZAPIS integer, RAZPL_DATE timestamp, RAZPL_LV double precision, RAZPL_USD double precision,
    RAZPL_EUR double precision, IME_SLUG_OTCHET varchar(20), AVANS_OT_IME varchar(47), AVANS_NA_IME varchar(47),
    ZABELEGKA varchar(30), AVANS_OTCHET_DOST smallint, NTIP_SLUG_OTCHET smallint, AVANS_OT_SHIFYR smallint,
    AVANS_NA_SHIFYR smallint)
as
begin
    for select NUM_ZAPIS, RAZPL_DATE, RAZPL_LV, RAZPL_USD, RAZPL_EUR, IME_SLUG_OTCHET, AVANS_OT_IME,
               AVANS_NA_IME, ZABELEGKA, AVANS_OTCHET_DOST, NTIP_SLUG_OTCHET, AVANS_OT_SHIFYR, AVANS_NA_SHIFYR
          from VIEWRAZPLPERS where NUMSHIFYR = :SHIFYR
          into :NUM_ZAPIS, :RAZPL_DATE, :RAZPL_LV, :RAZPL_USD, :RAZPL_EUR, :IME_SLUG_OTCHET, :AVANS_OT_IME,
               :AVANS_NA_IME, :ZABELEGKA, :AVANS_OTCHET_DOST, :NTIP_SLUG_OTCHET, :AVANS_OT_SHIFYR, :AVANS_NA_SHIFYR
    do suspend;
end^

set term ; ^
