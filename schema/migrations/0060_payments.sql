-- Payments monitoring: the rows every balance is made of, the inquiries over them, and the entry and
-- deletion of payments made later than their sale or delivery.
--
-- One set of rows per direction feeds every inquiry, so the lists, the balances per counterparty,
-- per counterparty type and for the company are sums over the same rows and agree.
--
-- Client rows (RAZPL_KLIENTI_REDOVE), VID:
--   0 a sold line: due = quantity x unit price with VAT x (1 - line discount) x (1 - document
--     discount), as the sale computes its amount to pay. Invoice types (0, 1, 5, 10) are in BGN only;
--     a requisition (9) carries no VAT; a type outside 0 to 10 is worth nothing. A credit note's
--     lines, and returned goods (negative quantity), are due with their negative value.
--   1 a payment entered later ("Плащане от клиент", no sale number): the only correctable rows.
--   2 a payment taken with a sale ("Плащане по продажба <number>"): paid, corrected with the sale.
-- Supplier rows (RAZPL_DOSTAV_REDOVE), VID:
--   0 a delivery line: due = quantity x unit price x (1 - discount) x (1 + VAT), as the delivery
--     computes what it pays at once. Lines that are not a supplier's delivery are left out:
--     goods returned by a sale's client (their delivery line "Vyrn…" matches a PRODAGBI_MATERIALI row),
--     production batches (counterparty 0) and goods back from a warehouse object (counterparty 30000).
--   1 a payment entered later ("Плащане към доставчик", no document number): correctable.
--   2 a payment taken with a delivery ("Плащане по доставка <document>").
--   3 a claim for defective goods: the quantity given back at the line's price after discount and VAT,
--     in DOST_BRAK_*; it lowers what is owed to the supplier.
-- A client owes due - paid; the company owes a supplier due - claims - paid; empty amounts count 0.

create exception RAZPL_OTKAZ 'Плащането не е намерено !';

create view RAZPL_KLIENTI_REDOVE (
    VID, AUTONUM, NKONTRAGENT, DATA, IME, BROI, CENA_LV, CENA_USD, CENA_EUR,
    POLUCHENO_LV, POLUCHENO_USD, POLUCHENO_EUR, PLATENO_LV, PLATENO_USD, PLATENO_EUR, ZABELEGKA, IMEKLIENT
) as
select 0, x.AUTONUM, x.NKONTRAGENT, x.DATEFAKTURA, x.IMEMATERIAL, x.BROI,
       x.CENA * x.VATF, x.CENA_USD * x.VATF, x.CENA_EUR * x.VATF,
       x.BROI * x.CENA * x.VATF * x.K, x.BROI * x.CENA_USD * x.VATF * x.K, x.BROI * x.CENA_EUR * x.VATF * x.K,
       cast(0 as double precision), cast(0 as double precision), cast(0 as double precision),
       cast(null as varchar(30)), x.IMEKLIENT
from (
    select p.AUTONUM, p.NKONTRAGENT, p.DATEFAKTURA, m.IMEMATERIAL,
           coalesce(p.BROI_MATERIAL_IZDELIE, 0) as BROI,
           case when p.TIP_DOCUMENT between 0 and 10 then coalesce(p.CENA_MATERIAL_IZDELIE, 0) else 0 end as CENA,
           case when p.TIP_DOCUMENT in (2, 3, 4, 6, 7, 8, 9) then coalesce(p.CENA_MAT_IZD_USD, 0) else 0 end as CENA_USD,
           case when p.TIP_DOCUMENT in (2, 3, 4, 6, 7, 8, 9) then coalesce(p.CENA_MAT_IZD_EUR, 0) else 0 end as CENA_EUR,
           1 + case when p.TIP_DOCUMENT = 9 then 0 else coalesce(p.PROCENT_DDS, 0) end / 100 as VATF,
           (1 - coalesce(p.OTST_IZDELIE, 0) / 100) * (1 - coalesce(p.PROCENT_OTST, 0) / 100) as K,
           case when p.NKONTRAGENT = 0 then coalesce(f.IME, p.CLIENT_IME) end as IMEKLIENT
    from PRODAGBI p
    left join MATERIALI m on m.NMATERIAL = p.NMATERIAL
    left join PRODAGBI_FLICA f on f.NUMPRODAGBA = p.NUMPRODAGBA
) x
union all
select case when coalesce(pl.NUMPRODAGBA, '') = '' then 1 else 2 end, pl.AUTONUM, pl.NKONTRAGENT, pl.PLASTANE_DATE,
       case when coalesce(pl.NUMPRODAGBA, '') = '' then 'Плащане от клиент'
            else 'Плащане по продажба ' || pl.NUMPRODAGBA end,
       cast(null as double precision), cast(null as double precision), cast(null as double precision),
       cast(null as double precision),
       cast(0 as double precision), cast(0 as double precision), cast(0 as double precision),
       coalesce(pl.PLASTANE_SUMA, 0), coalesce(pl.PLASTANE_SUMA_USD, 0), coalesce(pl.PLASTANE_SUMA_EUR, 0),
       pl.ZABELEGKA, cast(null as varchar(45))
from PRODAGBI_PLASTANE pl;

create view RAZPL_DOSTAV_REDOVE (
    VID, AUTONUM, NKONTRAGENT, SHIFYR, DATA, IME, KOLICHESTVO, ED_CENA_LV, USD, EUR,
    ZA_PLASTANE_LV, ZA_PLASTANE_USD, ZA_PLASTANE_EUR, PLATENO_LV, PLATENO_USD, PLATENO_EUR,
    DOST_BRAK_LV, DOST_BRAK_USD, DOST_BRAK_EUR, ZABELEGKA
) as
select 0, x.AUTONUM, x.NKONTRAGENT, x.SHIFYR, x.DATEFAKTURA, x.IMEMATERIAL, x.KOLICH,
       x.CENA * x.F, x.CENA_USD * x.F, x.CENA_EUR * x.F,
       x.KOLICH * x.CENA * x.F, x.KOLICH * x.CENA_USD * x.F, x.KOLICH * x.CENA_EUR * x.F,
       cast(0 as double precision), cast(0 as double precision), cast(0 as double precision),
       cast(0 as double precision), cast(0 as double precision), cast(0 as double precision),
       cast(null as varchar(30))
from (
    select s.AUTONUM, s.NKONTRAGENT, coalesce(s.NUMSHIFYR, 0) as SHIFYR, s.DATEFAKTURA, m.IMEMATERIAL,
           coalesce(s.KOLICHESTVO, 0) as KOLICH, coalesce(s.ED_CENA_LV, 0) as CENA,
           coalesce(s.USD, 0) as CENA_USD, coalesce(s.EUR, 0) as CENA_EUR,
           (1 - coalesce(s.PROCENT_OTST, 0) / 100) * (1 + coalesce(s.PROCENT_DDS, 0) / 100) as F
    from SKLAD s
    left join MATERIALI m on m.NMATERIAL = s.NMATERIAL
    where s.NKONTRAGENT <> 0 and s.NKONTRAGENT <> 30000
      and not exists (select 1 from PRODAGBI_MATERIALI pm
                      where pm.NKONTRAGENT = s.NKONTRAGENT and pm.NFAKTURA = s.NFAKTURA
                        and pm.DATEFAKTURA = s.DATEFAKTURA)
) x
union all
select case when coalesce(d.NFAKTURA, '') = '' then 1 else 2 end, d.AUTONUM, d.NKONTRAGENT, coalesce(d.SHIFYR, 0),
       d.PLATENO_DATE,
       case when coalesce(d.NFAKTURA, '') = '' then 'Плащане към доставчик'
            else 'Плащане по доставка ' || d.NFAKTURA end,
       cast(null as double precision), cast(null as double precision), cast(null as double precision),
       cast(null as double precision),
       cast(0 as double precision), cast(0 as double precision), cast(0 as double precision),
       coalesce(d.PLATENO_LV, 0), coalesce(d.PLATENO_USD, 0), coalesce(d.PLATENO_EUR, 0),
       cast(0 as double precision), cast(0 as double precision), cast(0 as double precision),
       d.ZABELEGKA
from DOSTAVKI_PLASTANE d
union all
select 3, y.AUTONUM, y.NKONTRAGENT, y.SHIFYR, y.DATE_BRAK, y.IMEMATERIAL, y.KOLICH,
       y.CENA * y.F, y.CENA_USD * y.F, y.CENA_EUR * y.F,
       cast(0 as double precision), cast(0 as double precision), cast(0 as double precision),
       cast(0 as double precision), cast(0 as double precision), cast(0 as double precision),
       y.KOLICH * y.CENA * y.F, y.KOLICH * y.CENA_USD * y.F, y.KOLICH * y.CENA_EUR * y.F,
       cast(null as varchar(30))
from (
    select b.AUTONUM, coalesce(s.NKONTRAGENT, b.NKONTRAGENT) as NKONTRAGENT, coalesce(s.NUMSHIFYR, 0) as SHIFYR,
           b.DATE_BRAK, m.IMEMATERIAL, coalesce(b.KOLICH_BRAK, 0) as KOLICH, coalesce(b.ED_CENA_LV, 0) as CENA,
           coalesce(b.USD, 0) as CENA_USD, coalesce(b.EUR, 0) as CENA_EUR,
           (1 - coalesce(s.PROCENT_OTST, 0) / 100) * (1 + coalesce(s.PROCENT_DDS, 0) / 100) as F
    from SKLAD_DOST_BRAK b
    left join SKLAD s on s.AUTONUM = b.AUTONUM_SKLAD
    left join MATERIALI m on m.NMATERIAL = b.NMATERIAL
) y;

-- Per counterparty: turnover (for suppliers net of claims), paid and due.
create view RAZPL_KLIENTI_SALDA (NKONTRAGENT, OBOROT_LV, PLATENO_LV, OBOROT_USD, PLATENO_USD, OBOROT_EUR, PLATENO_EUR) as
select NKONTRAGENT, sum(POLUCHENO_LV), sum(PLATENO_LV), sum(POLUCHENO_USD), sum(PLATENO_USD),
       sum(POLUCHENO_EUR), sum(PLATENO_EUR)
from RAZPL_KLIENTI_REDOVE
group by NKONTRAGENT;

create view RAZPL_DOSTAV_SALDA (NKONTRAGENT, OBOROT_LV, PLATENO_LV, OBOROT_USD, PLATENO_USD, OBOROT_EUR, PLATENO_EUR) as
select NKONTRAGENT, sum(ZA_PLASTANE_LV - DOST_BRAK_LV), sum(PLATENO_LV), sum(ZA_PLASTANE_USD - DOST_BRAK_USD),
       sum(PLATENO_USD), sum(ZA_PLASTANE_EUR - DOST_BRAK_EUR), sum(PLATENO_EUR)
from RAZPL_DOSTAV_REDOVE
group by NKONTRAGENT;

create view RAZPL_KLIENTI_SPRAVKA_OBSTO (
    NKONTRAGENT, TIPKONTRAGENT, IMEKONTRAGENT, IMEKONTRAGENT_LAT, ADRES,
    OBOROT_LV, PLATENO_LV, DYLGIMO_LV, OBOROT_USD, PLATENO_USD, DYLGIMO_USD, OBOROT_EUR, PLATENO_EUR, DYLGIMO_EUR
) as
select s.NKONTRAGENT, t.KONTRAGENT, k.IMEKONTRAGENT, k.IMEKONTRAGENT_LAT, k.ADRES,
       s.OBOROT_LV, s.PLATENO_LV, s.OBOROT_LV - s.PLATENO_LV,
       s.OBOROT_USD, s.PLATENO_USD, s.OBOROT_USD - s.PLATENO_USD,
       s.OBOROT_EUR, s.PLATENO_EUR, s.OBOROT_EUR - s.PLATENO_EUR
from RAZPL_KLIENTI_SALDA s
left join KONTRAGENTI k on k.NKONTRAGENT = s.NKONTRAGENT
left join TIP_KONTRAGENT t on t.NTIP_KONTRAGENT = k.NTIP_KONTRAGENT;

create view RAZPL_DOSTAV_SPRAVKA_OBSTO (
    NKONTRAGENT, TIPKONTRAGENT, IMEKONTRAGENT, ADRES,
    OBOROT_LV, PLATENO_LV, DYLGIMO_LV, OBOROT_USD, PLATENO_USD, DYLGIMO_USD, OBOROT_EUR, PLATENO_EUR, DYLGIMO_EUR
) as
select s.NKONTRAGENT, t.KONTRAGENT, k.IMEKONTRAGENT, k.ADRES,
       s.OBOROT_LV, s.PLATENO_LV, s.OBOROT_LV - s.PLATENO_LV,
       s.OBOROT_USD, s.PLATENO_USD, s.OBOROT_USD - s.PLATENO_USD,
       s.OBOROT_EUR, s.PLATENO_EUR, s.OBOROT_EUR - s.PLATENO_EUR
from RAZPL_DOSTAV_SALDA s
left join KONTRAGENTI k on k.NKONTRAGENT = s.NKONTRAGENT
left join TIP_KONTRAGENT t on t.NTIP_KONTRAGENT = k.NTIP_KONTRAGENT;

create view RAZPL_KLIENTI_OBSTO (
    TIPKONTRAGENT, POLUCHENO_LV_OBSTO, PLATENO_LV_OBSTO, OSTATYK_LV_OBSTO,
    POLUCHENO_USD_OBSTO, PLATENO_USD_OBSTO, OSTATYK_USD_OBSTO, POLUCHENO_EUR_OBSTO, PLATENO_EUR_OBSTO, OSTATYK_EUR_OBSTO
) as
select TIPKONTRAGENT, sum(OBOROT_LV), sum(PLATENO_LV), sum(DYLGIMO_LV), sum(OBOROT_USD), sum(PLATENO_USD),
       sum(DYLGIMO_USD), sum(OBOROT_EUR), sum(PLATENO_EUR), sum(DYLGIMO_EUR)
from RAZPL_KLIENTI_SPRAVKA_OBSTO
group by TIPKONTRAGENT;

create view RAZPL_DOST_OBSTO (
    TIPKONTRAGENT, DOSTAVENO_LV_OBSTO, PLATENO_LV_OBSTO, OSTATYK_LV_OBSTO,
    DOSTAVENO_USD_OBSTO, PLATENO_USD_OBSTO, OSTATYK_USD_OBSTO, DOSTAVENO_EUR_OBSTO, PLATENO_EUR_OBSTO, OSTATYK_EUR_OBSTO
) as
select TIPKONTRAGENT, sum(OBOROT_LV), sum(PLATENO_LV), sum(DYLGIMO_LV), sum(OBOROT_USD), sum(PLATENO_USD),
       sum(DYLGIMO_USD), sum(OBOROT_EUR), sum(PLATENO_EUR), sum(DYLGIMO_EUR)
from RAZPL_DOSTAV_SPRAVKA_OBSTO
group by TIPKONTRAGENT;

create view RAZPL_KONTRAGENTI (
    NKONTRAGENT, TIPKONTRAGENT, IMEKONTRAGENT, ADRES,
    DOST_OBOROT_LV, DOST_PLATENO_LV, DOST_DYLGIMO_LV, PROD_OBOROT_LV, PROD_PLATENO_LV, PROD_DYLGIMO_LV,
    PROD_DYLG_MINUS_DOST_DYLG_LV,
    DOST_OBOROT_USD, DOST_PLATENO_USD, DOST_DYLGIMO_USD, PROD_OBOROT_USD, PROD_PLATENO_USD, PROD_DYLGIMO_USD,
    PROD_DYLG_MINUS_DOST_DYLG_USD,
    DOST_OBOROT_EUR, DOST_PLATENO_EUR, DOST_DYLGIMO_EUR, PROD_OBOROT_EUR, PROD_PLATENO_EUR, PROD_DYLGIMO_EUR,
    PROD_DYLG_MINUS_DOST_DYLG_EUR
) as
select n.NKONTRAGENT, t.KONTRAGENT, k.IMEKONTRAGENT, k.ADRES,
       coalesce(d.OBOROT_LV, 0), coalesce(d.PLATENO_LV, 0), coalesce(d.OBOROT_LV - d.PLATENO_LV, 0),
       coalesce(c.OBOROT_LV, 0), coalesce(c.PLATENO_LV, 0), coalesce(c.OBOROT_LV - c.PLATENO_LV, 0),
       coalesce(c.OBOROT_LV - c.PLATENO_LV, 0) - coalesce(d.OBOROT_LV - d.PLATENO_LV, 0),
       coalesce(d.OBOROT_USD, 0), coalesce(d.PLATENO_USD, 0), coalesce(d.OBOROT_USD - d.PLATENO_USD, 0),
       coalesce(c.OBOROT_USD, 0), coalesce(c.PLATENO_USD, 0), coalesce(c.OBOROT_USD - c.PLATENO_USD, 0),
       coalesce(c.OBOROT_USD - c.PLATENO_USD, 0) - coalesce(d.OBOROT_USD - d.PLATENO_USD, 0),
       coalesce(d.OBOROT_EUR, 0), coalesce(d.PLATENO_EUR, 0), coalesce(d.OBOROT_EUR - d.PLATENO_EUR, 0),
       coalesce(c.OBOROT_EUR, 0), coalesce(c.PLATENO_EUR, 0), coalesce(c.OBOROT_EUR - c.PLATENO_EUR, 0),
       coalesce(c.OBOROT_EUR - c.PLATENO_EUR, 0) - coalesce(d.OBOROT_EUR - d.PLATENO_EUR, 0)
from (select NKONTRAGENT from RAZPL_KLIENTI_SALDA union select NKONTRAGENT from RAZPL_DOSTAV_SALDA) n
left join RAZPL_KLIENTI_SALDA c on c.NKONTRAGENT = n.NKONTRAGENT
left join RAZPL_DOSTAV_SALDA d on d.NKONTRAGENT = n.NKONTRAGENT
left join KONTRAGENTI k on k.NKONTRAGENT = n.NKONTRAGENT
left join TIP_KONTRAGENT t on t.NTIP_KONTRAGENT = k.NTIP_KONTRAGENT;

create view RAZPLASTANIA_SPRAVKA (
    KLIENTI_RAZLIKA_LV, KLIENTI_RAZLIKA_USD, KLIENTI_RAZLIKA_EUR,
    DOSTAV_RAZLIKA_LV, DOSTAV_RAZLIKA_USD, DOSTAV_RAZLIKA_EUR,
    OBSTO_RAZLIKA_LV, OBSTO_RAZLIKA_USD, OBSTO_RAZLIKA_EUR
) as
select c.LV, c.USD, c.EUR, d.LV, d.USD, d.EUR, c.LV - d.LV, c.USD - d.USD, c.EUR - d.EUR
from (select coalesce(sum(POLUCHENO_LV - PLATENO_LV), 0) as LV, coalesce(sum(POLUCHENO_USD - PLATENO_USD), 0) as USD,
             coalesce(sum(POLUCHENO_EUR - PLATENO_EUR), 0) as EUR
      from RAZPL_KLIENTI_REDOVE) c
cross join
     (select coalesce(sum(ZA_PLASTANE_LV - DOST_BRAK_LV - PLATENO_LV), 0) as LV,
             coalesce(sum(ZA_PLASTANE_USD - DOST_BRAK_USD - PLATENO_USD), 0) as USD,
             coalesce(sum(ZA_PLASTANE_EUR - DOST_BRAK_EUR - PLATENO_EUR), 0) as EUR
      from RAZPL_DOSTAV_REDOVE) d;

-- Per sale: its total with VAT in BGN, what was paid for it and the remainder.
create view REALIZACIA_PLASTANIA (
    NUMPRODAGBA, NSTOK_RAZP, NFAKTURA, DATEFAKTURA, SUMA_DDS_FAKTURA, SUMA_PLATENA, SUMA_OSTATYK,
    NKONTRAGENT, IMEKONTRAGENT, CLIENT_IME, FZLICE_IME, FZLICE_ADRES
) as
select s.NUMPRODAGBA, s.NSTOK_RAZP, s.NFAKTURA, s.DATEFAKTURA, s.SUMA, coalesce(pl.PLATENO, 0),
       s.SUMA - coalesce(pl.PLATENO, 0), s.NKONTRAGENT, k.IMEKONTRAGENT, s.CLIENT_IME, f.IME, f.ADRES
from (select p.NUMPRODAGBA, max(p.NSTOK_RAZP) as NSTOK_RAZP, max(p.NFAKTURA) as NFAKTURA,
             max(p.DATEFAKTURA) as DATEFAKTURA, max(p.NKONTRAGENT) as NKONTRAGENT, max(p.CLIENT_IME) as CLIENT_IME,
             sum(r.POLUCHENO_LV) as SUMA
      from PRODAGBI p
      join RAZPL_KLIENTI_REDOVE r on r.VID = 0 and r.AUTONUM = p.AUTONUM
      group by p.NUMPRODAGBA) s
left join (select NUMPRODAGBA, sum(coalesce(PLASTANE_SUMA, 0)) as PLATENO from PRODAGBI_PLASTANE
           where NUMPRODAGBA is not null group by NUMPRODAGBA) pl on pl.NUMPRODAGBA = s.NUMPRODAGBA
left join KONTRAGENTI k on k.NKONTRAGENT = s.NKONTRAGENT
left join PRODAGBI_FLICA f on f.NUMPRODAGBA = s.NUMPRODAGBA;

set term ^ ;

-- The client list: sold lines and payments of the counterparties and dates within the bounds
-- (inclusive); a null bound leaves its side open.
create procedure RAZPL_KLIENTI_SPRAVKA (
    NTIPKONTR_OT integer, NTIPKONTR_DO integer, NKONTRAGENT_OT integer, NKONTRAGENT_DO integer,
    DATEFAKTURA_OT timestamp, DATEFAKTURA_DO timestamp)
returns (
    AUTONUM integer, NUMKONTRAGENT smallint, DATE_FAKTURA_PLASTANE timestamp, TIPKONTRAGENT varchar(20),
    IMEKONTRAGENT varchar(45), IME_MATERIAL_IZDELIE varchar(65), BROI_MATERIAL_IZDELIE double precision,
    CENA_MAT_IZD_DDS double precision, POLUCHENO_LV double precision, PLATENO_LV double precision,
    CENA_MAT_IZD_USD_DDS double precision, POLUCHENO_USD double precision, PLATENO_USD double precision,
    CENA_MAT_IZD_EUR_DDS double precision, POLUCHENO_EUR double precision, PLATENO_EUR double precision,
    ZABELEGKA varchar(30))
as
begin
    for select r.AUTONUM, r.NKONTRAGENT, r.DATA, t.KONTRAGENT, coalesce(r.IMEKLIENT, k.IMEKONTRAGENT), r.IME, r.BROI,
               r.CENA_LV, r.POLUCHENO_LV, r.PLATENO_LV, r.CENA_USD, r.POLUCHENO_USD, r.PLATENO_USD,
               r.CENA_EUR, r.POLUCHENO_EUR, r.PLATENO_EUR, r.ZABELEGKA
        from RAZPL_KLIENTI_REDOVE r
        left join KONTRAGENTI k on k.NKONTRAGENT = r.NKONTRAGENT
        left join TIP_KONTRAGENT t on t.NTIP_KONTRAGENT = k.NTIP_KONTRAGENT
        where (:NTIPKONTR_OT is null or coalesce(k.NTIP_KONTRAGENT, 0) >= :NTIPKONTR_OT)
          and (:NTIPKONTR_DO is null or coalesce(k.NTIP_KONTRAGENT, 0) <= :NTIPKONTR_DO)
          and (:NKONTRAGENT_OT is null or r.NKONTRAGENT >= :NKONTRAGENT_OT)
          and (:NKONTRAGENT_DO is null or r.NKONTRAGENT <= :NKONTRAGENT_DO)
          and (:DATEFAKTURA_OT is null or r.DATA >= :DATEFAKTURA_OT)
          and (:DATEFAKTURA_DO is null or r.DATA < :DATEFAKTURA_DO + 1)
        into :AUTONUM, :NUMKONTRAGENT, :DATE_FAKTURA_PLASTANE, :TIPKONTRAGENT, :IMEKONTRAGENT, :IME_MATERIAL_IZDELIE,
             :BROI_MATERIAL_IZDELIE, :CENA_MAT_IZD_DDS, :POLUCHENO_LV, :PLATENO_LV, :CENA_MAT_IZD_USD_DDS,
             :POLUCHENO_USD, :PLATENO_USD, :CENA_MAT_IZD_EUR_DDS, :POLUCHENO_EUR, :PLATENO_EUR, :ZABELEGKA
    do suspend;
end^

-- The supplier rows of the counterparties, purchasers and dates within the bounds; a null bound
-- leaves its side open. The two supplier inquiries select from it.
create procedure RAZPL_DOSTAV_REDOVE_SPR (
    NKONTRAGENT_OT integer, NKONTRAGENT_DO integer, SHIFYR_OT integer, SHIFYR_DO integer,
    DATEFAKTURA_OT timestamp, DATEFAKTURA_DO timestamp)
returns (
    AUTONUM integer, NUMKONTRAGENT smallint, DATE_FAKTURA_PLASTANE timestamp, TIPKONTRAGENT varchar(20),
    IMEKONTRAGENT varchar(45), IME_MATERIAL_IZDELIE varchar(65), KOLICHESTVO double precision,
    ED_CENA_LV double precision, ZA_PLASTANE_LV double precision, PLATENO_LV double precision,
    USD double precision, ZA_PLASTANE_USD double precision, PLATENO_USD double precision,
    EUR double precision, ZA_PLASTANE_EUR double precision, PLATENO_EUR double precision,
    ZABELEGKA varchar(30), IMEZAKUPCHIK varchar(47), SHIFYR smallint,
    DOST_BRAK_LV double precision, DOST_BRAK_USD double precision, DOST_BRAK_EUR double precision)
as
begin
    for select r.AUTONUM, r.NKONTRAGENT, r.DATA, t.KONTRAGENT, k.IMEKONTRAGENT, r.IME, r.KOLICHESTVO,
               r.ED_CENA_LV, r.ZA_PLASTANE_LV, r.PLATENO_LV, r.USD, r.ZA_PLASTANE_USD, r.PLATENO_USD,
               r.EUR, r.ZA_PLASTANE_EUR, r.PLATENO_EUR, r.ZABELEGKA, v.IMEFULL, r.SHIFYR,
               r.DOST_BRAK_LV, r.DOST_BRAK_USD, r.DOST_BRAK_EUR
        from RAZPL_DOSTAV_REDOVE r
        left join KONTRAGENTI k on k.NKONTRAGENT = r.NKONTRAGENT
        left join TIP_KONTRAGENT t on t.NTIP_KONTRAGENT = k.NTIP_KONTRAGENT
        left join VIEWPERSONAL v on v.SHIFYR = r.SHIFYR
        where (:NKONTRAGENT_OT is null or r.NKONTRAGENT >= :NKONTRAGENT_OT)
          and (:NKONTRAGENT_DO is null or r.NKONTRAGENT <= :NKONTRAGENT_DO)
          and (:SHIFYR_OT is null or r.SHIFYR >= :SHIFYR_OT)
          and (:SHIFYR_DO is null or r.SHIFYR <= :SHIFYR_DO)
          and (:DATEFAKTURA_OT is null or r.DATA >= :DATEFAKTURA_OT)
          and (:DATEFAKTURA_DO is null or r.DATA < :DATEFAKTURA_DO + 1)
        into :AUTONUM, :NUMKONTRAGENT, :DATE_FAKTURA_PLASTANE, :TIPKONTRAGENT, :IMEKONTRAGENT, :IME_MATERIAL_IZDELIE,
             :KOLICHESTVO, :ED_CENA_LV, :ZA_PLASTANE_LV, :PLATENO_LV, :USD, :ZA_PLASTANE_USD, :PLATENO_USD,
             :EUR, :ZA_PLASTANE_EUR, :PLATENO_EUR, :ZABELEGKA, :IMEZAKUPCHIK, :SHIFYR,
             :DOST_BRAK_LV, :DOST_BRAK_USD, :DOST_BRAK_EUR
    do suspend;
end^

create procedure RAZPL_DOSTAV_SPRAVKA (
    NKONTRAGENT_OT integer, NKONTRAGENT_DO integer, DATEFAKTURA_OT timestamp, DATEFAKTURA_DO timestamp)
returns (
    AUTONUM integer, NUMKONTRAGENT smallint, DATE_FAKTURA_PLASTANE timestamp, TIPKONTRAGENT varchar(20),
    IMEKONTRAGENT varchar(45), IME_MATERIAL_IZDELIE varchar(65), KOLICHESTVO double precision,
    ED_CENA_LV double precision, ZA_PLASTANE_LV double precision, PLATENO_LV double precision,
    USD double precision, ZA_PLASTANE_USD double precision, PLATENO_USD double precision,
    EUR double precision, ZA_PLASTANE_EUR double precision, PLATENO_EUR double precision,
    ZABELEGKA varchar(30), IMEZAKUPCHIK varchar(47), SHIFYR smallint,
    DOST_BRAK_LV double precision, DOST_BRAK_USD double precision, DOST_BRAK_EUR double precision)
as
begin
    for select AUTONUM, NUMKONTRAGENT, DATE_FAKTURA_PLASTANE, TIPKONTRAGENT, IMEKONTRAGENT, IME_MATERIAL_IZDELIE,
               KOLICHESTVO, ED_CENA_LV, ZA_PLASTANE_LV, PLATENO_LV, USD, ZA_PLASTANE_USD, PLATENO_USD, EUR,
               ZA_PLASTANE_EUR, PLATENO_EUR, ZABELEGKA, IMEZAKUPCHIK, SHIFYR, DOST_BRAK_LV, DOST_BRAK_USD, DOST_BRAK_EUR
        from RAZPL_DOSTAV_REDOVE_SPR(:NKONTRAGENT_OT, :NKONTRAGENT_DO, null, null, :DATEFAKTURA_OT, :DATEFAKTURA_DO)
        into :AUTONUM, :NUMKONTRAGENT, :DATE_FAKTURA_PLASTANE, :TIPKONTRAGENT, :IMEKONTRAGENT, :IME_MATERIAL_IZDELIE,
             :KOLICHESTVO, :ED_CENA_LV, :ZA_PLASTANE_LV, :PLATENO_LV, :USD, :ZA_PLASTANE_USD, :PLATENO_USD, :EUR,
             :ZA_PLASTANE_EUR, :PLATENO_EUR, :ZABELEGKA, :IMEZAKUPCHIK, :SHIFYR, :DOST_BRAK_LV, :DOST_BRAK_USD,
             :DOST_BRAK_EUR
    do suspend;
end^

-- The same rows by the purchaser's staff number; 0 is a delivery or payment without purchaser.
create procedure RAZPL_DOSTAV_ZAKUPCHIK (
    SHIFYR_OT integer, SHIFYR_DO integer, DATEFAKTURA_OT timestamp, DATEFAKTURA_DO timestamp)
returns (
    AUTONUM integer, NUMKONTRAGENT smallint, DATE_FAKTURA_PLASTANE timestamp, IMEZAKUPCHIK varchar(47),
    IMEKONTRAGENT varchar(45), IME_MATERIAL_IZDELIE varchar(65), ZA_PLASTANE_LV double precision,
    PLATENO_LV double precision, ZA_PLASTANE_USD double precision, PLATENO_USD double precision,
    ZA_PLASTANE_EUR double precision, PLATENO_EUR double precision, ZABELEGKA varchar(30), SHIFYR smallint,
    DOST_BRAK_LV double precision, DOST_BRAK_USD double precision, DOST_BRAK_EUR double precision)
as
begin
    for select AUTONUM, NUMKONTRAGENT, DATE_FAKTURA_PLASTANE, IMEZAKUPCHIK, IMEKONTRAGENT, IME_MATERIAL_IZDELIE,
               ZA_PLASTANE_LV, PLATENO_LV, ZA_PLASTANE_USD, PLATENO_USD, ZA_PLASTANE_EUR, PLATENO_EUR, ZABELEGKA,
               SHIFYR, DOST_BRAK_LV, DOST_BRAK_USD, DOST_BRAK_EUR
        from RAZPL_DOSTAV_REDOVE_SPR(null, null, :SHIFYR_OT, :SHIFYR_DO, :DATEFAKTURA_OT, :DATEFAKTURA_DO)
        into :AUTONUM, :NUMKONTRAGENT, :DATE_FAKTURA_PLASTANE, :IMEZAKUPCHIK, :IMEKONTRAGENT, :IME_MATERIAL_IZDELIE,
             :ZA_PLASTANE_LV, :PLATENO_LV, :ZA_PLASTANE_USD, :PLATENO_USD, :ZA_PLASTANE_EUR, :PLATENO_EUR, :ZABELEGKA,
             :SHIFYR, :DOST_BRAK_LV, :DOST_BRAK_USD, :DOST_BRAK_EUR
    do suspend;
end^

-- ADD_UPDATE 1 adds a client payment; 0 rewrites the payment AUTONUM. Only payments entered later
-- (without a sale number) are rewritten here; a payment taken with a sale belongs to the sale.
create procedure ADD_UPDATE_PRODAGBI_PLASTANE (
    ADD_UPDATE integer, AUTONUM integer, NKONTRAGENT integer, PLATENO_DATE timestamp,
    PLATENO_LV double precision, PLATENO_USD double precision, PLATENO_EUR double precision,
    ZABELEGKA varchar(30))
returns (NEW_AUTONUM integer)
as
begin
    if (ADD_UPDATE = 1) then
        insert into PRODAGBI_PLASTANE (NUMPRODAGBA, NKONTRAGENT, PLASTANE_DATE, PLASTANE_SUMA, PLASTANE_SUMA_USD,
                                       PLASTANE_SUMA_EUR, ZABELEGKA)
        values (null, :NKONTRAGENT, :PLATENO_DATE, coalesce(:PLATENO_LV, 0), coalesce(:PLATENO_USD, 0),
                coalesce(:PLATENO_EUR, 0), :ZABELEGKA)
        returning AUTONUM into :NEW_AUTONUM;
    else
    begin
        update PRODAGBI_PLASTANE set PLASTANE_DATE = :PLATENO_DATE, PLASTANE_SUMA = coalesce(:PLATENO_LV, 0),
               PLASTANE_SUMA_USD = coalesce(:PLATENO_USD, 0), PLASTANE_SUMA_EUR = coalesce(:PLATENO_EUR, 0),
               ZABELEGKA = :ZABELEGKA
        where AUTONUM = :AUTONUM and coalesce(NUMPRODAGBA, '') = '';
        if (row_count = 0) then exception RAZPL_OTKAZ;
        NEW_AUTONUM = AUTONUM;
    end
end^

create procedure ADD_UPDATE_DOSTAVKI_PLASTANE (
    ADD_UPDATE integer, AUTONUM integer, NKONTRAGENT integer, PLATENO_DATE timestamp,
    PLATENO_LV double precision, PLATENO_USD double precision, PLATENO_EUR double precision,
    SHIFYR integer, ZABELEGKA varchar(30))
returns (NEW_AUTONUM integer)
as
begin
    if (ADD_UPDATE = 1) then
        insert into DOSTAVKI_PLASTANE (NKONTRAGENT, SHIFYR, NFAKTURA, DATEFAKTURA, PLATENO_DATE, PLATENO_LV,
                                       PLATENO_USD, PLATENO_EUR, ZABELEGKA)
        values (:NKONTRAGENT, coalesce(:SHIFYR, 0), null, null, :PLATENO_DATE, coalesce(:PLATENO_LV, 0),
                coalesce(:PLATENO_USD, 0), coalesce(:PLATENO_EUR, 0), :ZABELEGKA)
        returning AUTONUM into :NEW_AUTONUM;
    else
    begin
        update DOSTAVKI_PLASTANE set PLATENO_DATE = :PLATENO_DATE, PLATENO_LV = coalesce(:PLATENO_LV, 0),
               PLATENO_USD = coalesce(:PLATENO_USD, 0), PLATENO_EUR = coalesce(:PLATENO_EUR, 0),
               SHIFYR = coalesce(:SHIFYR, 0), ZABELEGKA = :ZABELEGKA
        where AUTONUM = :AUTONUM and coalesce(NFAKTURA, '') = '';
        if (row_count = 0) then exception RAZPL_OTKAZ;
        NEW_AUTONUM = AUTONUM;
    end
end^

create procedure DEL_PRODAGBA_PLASTANE (AUTONUM integer)
as
begin
    delete from PRODAGBI_PLASTANE where AUTONUM = :AUTONUM and coalesce(NUMPRODAGBA, '') = '';
    if (row_count = 0) then exception RAZPL_OTKAZ;
end^

create procedure DEL_DOSTAVKA_PLASTANE (AUTONUM integer)
as
begin
    delete from DOSTAVKI_PLASTANE where AUTONUM = :AUTONUM and coalesce(NFAKTURA, '') = '';
    if (row_count = 0) then exception RAZPL_OTKAZ;
end^

set term ; ^
