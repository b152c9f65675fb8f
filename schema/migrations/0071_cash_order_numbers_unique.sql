-- A cash order number is unique among the orders of its kind, currency and year, whoever writes
-- the row: a second workstation, a correction that moves an order to another year, or a tool
-- outside the program. The key of the other kind's rows is null, and nulls do not collide.
create unique index KASA_PKO_NOMER on KASA computed by
    (case when NPKO > 0 then NVALUTA || '/' || extract(year from DATEKO) || '/' || NPKO end);
create unique index KASA_RKO_NOMER on KASA computed by
    (case when NRKO > 0 then NVALUTA || '/' || extract(year from DATEKO) || '/' || NRKO end);
