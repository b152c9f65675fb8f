-- KLIENTI_OBOROT grouped once: the year's sale lines are summed per counterparty in one pass, each sum
-- joined to its counterparty by key, and the counterparties without a sale line in the year added with
-- zeros. The outer join over a grouped table that it replaces was evaluated client by client with the
-- date index, minutes over a large year. The grouping and the emptiness check keep off the indexes that
-- would be walked for every client (the "+ 0").

set term ^ ;

-- Per counterparty, for the year: quantity and value with VAT in BGN, USD and EUR per month and for the
-- year, rounded to whole units (each from its unrounded sum). Every counterparty is listed.
create or alter procedure KLIENTI_OBOROT (GODINA integer)
returns (NKONTRAGENT smallint, GRAD varchar(15), IMEKONTRAGENT varchar(45),
    I_KOL integer, I_ST_LV integer, I_ST_USD integer, I_ST_EUR integer,
    II_KOL integer, II_ST_LV integer, II_ST_USD integer, II_ST_EUR integer,
    III_KOL integer, III_ST_LV integer, III_ST_USD integer, III_ST_EUR integer,
    IV_KOL integer, IV_ST_LV integer, IV_ST_USD integer, IV_ST_EUR integer,
    V_KOL integer, V_ST_LV integer, V_ST_USD integer, V_ST_EUR integer,
    VI_KOL integer, VI_ST_LV integer, VI_ST_USD integer, VI_ST_EUR integer,
    VII_KOL integer, VII_ST_LV integer, VII_ST_USD integer, VII_ST_EUR integer,
    VIII_KOL integer, VIII_ST_LV integer, VIII_ST_USD integer, VIII_ST_EUR integer,
    IX_KOL integer, IX_ST_LV integer, IX_ST_USD integer, IX_ST_EUR integer,
    X_KOL integer, X_ST_LV integer, X_ST_USD integer, X_ST_EUR integer,
    XI_KOL integer, XI_ST_LV integer, XI_ST_USD integer, XI_ST_EUR integer,
    XII_KOL integer, XII_ST_LV integer, XII_ST_USD integer, XII_ST_EUR integer,
    OBSTO_KOL integer, OBSTO_ST_LV integer, OBSTO_ST_USD integer, OBSTO_ST_EUR integer)
as
    declare variable OT timestamp;
    declare variable DO_ timestamp;
begin
    OT = cast(:GODINA || '-01-01' as timestamp);
    DO_ = dateadd(1 year to OT);
    for select t.NKONTRAGENT, t.GRAD, t.IMEKONTRAGENT,
               cast(t.I_KOL as integer), cast(t.I_ST_LV as integer), cast(t.I_ST_USD as integer), cast(t.I_ST_EUR as integer),
               cast(t.II_KOL as integer), cast(t.II_ST_LV as integer), cast(t.II_ST_USD as integer), cast(t.II_ST_EUR as integer),
               cast(t.III_KOL as integer), cast(t.III_ST_LV as integer), cast(t.III_ST_USD as integer), cast(t.III_ST_EUR as integer),
               cast(t.IV_KOL as integer), cast(t.IV_ST_LV as integer), cast(t.IV_ST_USD as integer), cast(t.IV_ST_EUR as integer),
               cast(t.V_KOL as integer), cast(t.V_ST_LV as integer), cast(t.V_ST_USD as integer), cast(t.V_ST_EUR as integer),
               cast(t.VI_KOL as integer), cast(t.VI_ST_LV as integer), cast(t.VI_ST_USD as integer), cast(t.VI_ST_EUR as integer),
               cast(t.VII_KOL as integer), cast(t.VII_ST_LV as integer), cast(t.VII_ST_USD as integer), cast(t.VII_ST_EUR as integer),
               cast(t.VIII_KOL as integer), cast(t.VIII_ST_LV as integer), cast(t.VIII_ST_USD as integer), cast(t.VIII_ST_EUR as integer),
               cast(t.IX_KOL as integer), cast(t.IX_ST_LV as integer), cast(t.IX_ST_USD as integer), cast(t.IX_ST_EUR as integer),
               cast(t.X_KOL as integer), cast(t.X_ST_LV as integer), cast(t.X_ST_USD as integer), cast(t.X_ST_EUR as integer),
               cast(t.XI_KOL as integer), cast(t.XI_ST_LV as integer), cast(t.XI_ST_USD as integer), cast(t.XI_ST_EUR as integer),
               cast(t.XII_KOL as integer), cast(t.XII_ST_LV as integer), cast(t.XII_ST_USD as integer), cast(t.XII_ST_EUR as integer),
               cast(t.OBSTO_KOL as integer), cast(t.OBSTO_ST_LV as integer), cast(t.OBSTO_ST_USD as integer), cast(t.OBSTO_ST_EUR as integer)
        from (
            select s.NKONTRAGENT, g.GRAD, k.IMEKONTRAGENT,
                   s.I_KOL, s.I_ST_LV, s.I_ST_USD, s.I_ST_EUR, s.II_KOL, s.II_ST_LV, s.II_ST_USD, s.II_ST_EUR,
                   s.III_KOL, s.III_ST_LV, s.III_ST_USD, s.III_ST_EUR, s.IV_KOL, s.IV_ST_LV, s.IV_ST_USD, s.IV_ST_EUR,
                   s.V_KOL, s.V_ST_LV, s.V_ST_USD, s.V_ST_EUR, s.VI_KOL, s.VI_ST_LV, s.VI_ST_USD, s.VI_ST_EUR,
                   s.VII_KOL, s.VII_ST_LV, s.VII_ST_USD, s.VII_ST_EUR, s.VIII_KOL, s.VIII_ST_LV, s.VIII_ST_USD, s.VIII_ST_EUR,
                   s.IX_KOL, s.IX_ST_LV, s.IX_ST_USD, s.IX_ST_EUR, s.X_KOL, s.X_ST_LV, s.X_ST_USD, s.X_ST_EUR,
                   s.XI_KOL, s.XI_ST_LV, s.XI_ST_USD, s.XI_ST_EUR, s.XII_KOL, s.XII_ST_LV, s.XII_ST_USD, s.XII_ST_EUR,
                   s.OBSTO_KOL, s.OBSTO_ST_LV, s.OBSTO_ST_USD, s.OBSTO_ST_EUR
            from (
                select v.NKONTRAGENT + 0 as NKONTRAGENT,
                       sum(iif(extract(month from v.DATEFAKTURA) = 1, v.BROI, 0)) as I_KOL, sum(iif(extract(month from v.DATEFAKTURA) = 1, v.ST_LV, 0)) as I_ST_LV,
                       sum(iif(extract(month from v.DATEFAKTURA) = 1, v.ST_USD, 0)) as I_ST_USD, sum(iif(extract(month from v.DATEFAKTURA) = 1, v.ST_EUR, 0)) as I_ST_EUR,
                       sum(iif(extract(month from v.DATEFAKTURA) = 2, v.BROI, 0)) as II_KOL, sum(iif(extract(month from v.DATEFAKTURA) = 2, v.ST_LV, 0)) as II_ST_LV,
                       sum(iif(extract(month from v.DATEFAKTURA) = 2, v.ST_USD, 0)) as II_ST_USD, sum(iif(extract(month from v.DATEFAKTURA) = 2, v.ST_EUR, 0)) as II_ST_EUR,
                       sum(iif(extract(month from v.DATEFAKTURA) = 3, v.BROI, 0)) as III_KOL, sum(iif(extract(month from v.DATEFAKTURA) = 3, v.ST_LV, 0)) as III_ST_LV,
                       sum(iif(extract(month from v.DATEFAKTURA) = 3, v.ST_USD, 0)) as III_ST_USD, sum(iif(extract(month from v.DATEFAKTURA) = 3, v.ST_EUR, 0)) as III_ST_EUR,
                       sum(iif(extract(month from v.DATEFAKTURA) = 4, v.BROI, 0)) as IV_KOL, sum(iif(extract(month from v.DATEFAKTURA) = 4, v.ST_LV, 0)) as IV_ST_LV,
                       sum(iif(extract(month from v.DATEFAKTURA) = 4, v.ST_USD, 0)) as IV_ST_USD, sum(iif(extract(month from v.DATEFAKTURA) = 4, v.ST_EUR, 0)) as IV_ST_EUR,
                       sum(iif(extract(month from v.DATEFAKTURA) = 5, v.BROI, 0)) as V_KOL, sum(iif(extract(month from v.DATEFAKTURA) = 5, v.ST_LV, 0)) as V_ST_LV,
                       sum(iif(extract(month from v.DATEFAKTURA) = 5, v.ST_USD, 0)) as V_ST_USD, sum(iif(extract(month from v.DATEFAKTURA) = 5, v.ST_EUR, 0)) as V_ST_EUR,
                       sum(iif(extract(month from v.DATEFAKTURA) = 6, v.BROI, 0)) as VI_KOL, sum(iif(extract(month from v.DATEFAKTURA) = 6, v.ST_LV, 0)) as VI_ST_LV,
                       sum(iif(extract(month from v.DATEFAKTURA) = 6, v.ST_USD, 0)) as VI_ST_USD, sum(iif(extract(month from v.DATEFAKTURA) = 6, v.ST_EUR, 0)) as VI_ST_EUR,
                       sum(iif(extract(month from v.DATEFAKTURA) = 7, v.BROI, 0)) as VII_KOL, sum(iif(extract(month from v.DATEFAKTURA) = 7, v.ST_LV, 0)) as VII_ST_LV,
                       sum(iif(extract(month from v.DATEFAKTURA) = 7, v.ST_USD, 0)) as VII_ST_USD, sum(iif(extract(month from v.DATEFAKTURA) = 7, v.ST_EUR, 0)) as VII_ST_EUR,
                       sum(iif(extract(month from v.DATEFAKTURA) = 8, v.BROI, 0)) as VIII_KOL, sum(iif(extract(month from v.DATEFAKTURA) = 8, v.ST_LV, 0)) as VIII_ST_LV,
                       sum(iif(extract(month from v.DATEFAKTURA) = 8, v.ST_USD, 0)) as VIII_ST_USD, sum(iif(extract(month from v.DATEFAKTURA) = 8, v.ST_EUR, 0)) as VIII_ST_EUR,
                       sum(iif(extract(month from v.DATEFAKTURA) = 9, v.BROI, 0)) as IX_KOL, sum(iif(extract(month from v.DATEFAKTURA) = 9, v.ST_LV, 0)) as IX_ST_LV,
                       sum(iif(extract(month from v.DATEFAKTURA) = 9, v.ST_USD, 0)) as IX_ST_USD, sum(iif(extract(month from v.DATEFAKTURA) = 9, v.ST_EUR, 0)) as IX_ST_EUR,
                       sum(iif(extract(month from v.DATEFAKTURA) = 10, v.BROI, 0)) as X_KOL, sum(iif(extract(month from v.DATEFAKTURA) = 10, v.ST_LV, 0)) as X_ST_LV,
                       sum(iif(extract(month from v.DATEFAKTURA) = 10, v.ST_USD, 0)) as X_ST_USD, sum(iif(extract(month from v.DATEFAKTURA) = 10, v.ST_EUR, 0)) as X_ST_EUR,
                       sum(iif(extract(month from v.DATEFAKTURA) = 11, v.BROI, 0)) as XI_KOL, sum(iif(extract(month from v.DATEFAKTURA) = 11, v.ST_LV, 0)) as XI_ST_LV,
                       sum(iif(extract(month from v.DATEFAKTURA) = 11, v.ST_USD, 0)) as XI_ST_USD, sum(iif(extract(month from v.DATEFAKTURA) = 11, v.ST_EUR, 0)) as XI_ST_EUR,
                       sum(iif(extract(month from v.DATEFAKTURA) = 12, v.BROI, 0)) as XII_KOL, sum(iif(extract(month from v.DATEFAKTURA) = 12, v.ST_LV, 0)) as XII_ST_LV,
                       sum(iif(extract(month from v.DATEFAKTURA) = 12, v.ST_USD, 0)) as XII_ST_USD, sum(iif(extract(month from v.DATEFAKTURA) = 12, v.ST_EUR, 0)) as XII_ST_EUR,
                       sum(v.BROI) as OBSTO_KOL, sum(v.ST_LV) as OBSTO_ST_LV, sum(v.ST_USD) as OBSTO_ST_USD, sum(v.ST_EUR) as OBSTO_ST_EUR
                from PRODAGBI_STOINOSTI v
                where v.DATEFAKTURA >= :OT and v.DATEFAKTURA < :DO_
                group by 1) s
            join KONTRAGENTI k on k.NKONTRAGENT = s.NKONTRAGENT
            left join GRADOVE g on g.POSTKOD = k.POSTKOD
            union all
            select k.NKONTRAGENT, g.GRAD, k.IMEKONTRAGENT,
                   0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                   0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0
            from KONTRAGENTI k
            left join GRADOVE g on g.POSTKOD = k.POSTKOD
            where not exists (select 1 from PRODAGBI p
                              where p.NKONTRAGENT = k.NKONTRAGENT
                                and p.DATEFAKTURA + 0 >= :OT and p.DATEFAKTURA + 0 < :DO_)) t
        order by t.IMEKONTRAGENT, t.NKONTRAGENT
        into :NKONTRAGENT, :GRAD, :IMEKONTRAGENT,
             :I_KOL, :I_ST_LV, :I_ST_USD, :I_ST_EUR, :II_KOL, :II_ST_LV, :II_ST_USD, :II_ST_EUR,
             :III_KOL, :III_ST_LV, :III_ST_USD, :III_ST_EUR, :IV_KOL, :IV_ST_LV, :IV_ST_USD, :IV_ST_EUR,
             :V_KOL, :V_ST_LV, :V_ST_USD, :V_ST_EUR, :VI_KOL, :VI_ST_LV, :VI_ST_USD, :VI_ST_EUR,
             :VII_KOL, :VII_ST_LV, :VII_ST_USD, :VII_ST_EUR, :VIII_KOL, :VIII_ST_LV, :VIII_ST_USD, :VIII_ST_EUR,
             :IX_KOL, :IX_ST_LV, :IX_ST_USD, :IX_ST_EUR, :X_KOL, :X_ST_LV, :X_ST_USD, :X_ST_EUR,
             :XI_KOL, :XI_ST_LV, :XI_ST_USD, :XI_ST_EUR, :XII_KOL, :XII_ST_LV, :XII_ST_USD, :XII_ST_EUR,
             :OBSTO_KOL, :OBSTO_ST_LV, :OBSTO_ST_USD, :OBSTO_ST_EUR
    do suspend;
end^

set term ; ^
