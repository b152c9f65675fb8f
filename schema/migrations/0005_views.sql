-- Read-only relations over the master data. The relations over documents and movements, and the
-- selectable procedures, come with the migrations that give them their meaning.

-- One row per workshop product: the product link with its workshop and its item.
create view VIEWTIPIZDELIE (
    NTIP_IZDELIE,
    NPROIZVODSTVO,
    IMEPROIZVODSTVO,
    NMATERIAL_IZDELIE,
    IMEMATIZD,
    SERIA_DA_NE,
    ED_CENA,
    IZCH_DA_NE
) as
select ti.NTIP_IZDELIE,
       ti.NPROIZVODSTVO,
       tp.PROIZVODSTVO,
       ti.NMATERIAL_IZDELIE,
       m.IMEMATERIAL,
       m.SERIA_DA_NE,
       m.ED_CENA,
       m.IZCH_DA_NE
from TIP_IZDELIE ti
left join TIP_PROIZVODSTVO tp on tp.NPROIZVODSTVO = ti.NPROIZVODSTVO
left join MATERIALI m on m.NMATERIAL = ti.NMATERIAL_IZDELIE;

-- One row per staff member with the full name: first, middle and last name, a missing one left out.
create view VIEWPERSONAL (
    SHIFYR,
    IMEFULL,
    EGN,
    POST_KOD,
    ADRES_UL_N,
    LK,
    LK_DATE,
    POST_KOD_RPU,
    TEL,
    KOD_DLYGNOST,
    SNIMKA
) as
select p.SHIFYR,
       cast(trim(trim(coalesce(p.IME, '') || ' ' || coalesce(p.PREZ, '')) || ' ' || coalesce(p.FAM, ''))
            as varchar(47)),
       p.EGN,
       p.POST_KOD,
       p.ADRES_UL_N,
       p.LK,
       p.LK_DATE,
       p.POST_KOD_RPU,
       p.TEL,
       p.KOD_DLYGNOST,
       p.SNIMKA
from PERSONAL p;
