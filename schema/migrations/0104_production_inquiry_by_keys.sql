-- The requisition inquiry groups by workshop, warehouse and material keys, so two materials (or
-- workshops, warehouses) of one name stay apart.

set term ^ ;

create or alter procedure ISKANIA_MAT_SPRAVKA (NPROIZVOT integer, NPROIZVDO integer, NMATERIALOT integer,
                                               NMATERIALDO integer, DATEISKANEOT timestamp, DATEISKANEDO timestamp)
returns (
    IMEPROIZVIDSTVO         varchar(35),
    IMESKLAD                varchar(35),
    IMEMATERIAL             varchar(45),
    MIARKA_BG               varchar(5),
    SUMMAT_ISKANE           double precision,
    CENA_KALK               double precision,
    OBSTA_CENA_LV_KALK      double precision,
    SREDNA_CENA_LV          double precision,
    OBSTA_CENA_LV           double precision,
    PRODAGNA_CENA           double precision,
    OBSTA_CENA_PROD_LV      double precision,
    OBSTO_PROD_MINUS_ISK_LV double precision)
as
begin
    for select t.PROIZVODSTVO, s.SKLAD, substring(m.IMEMATERIAL from 1 for 45), mi.MIARKA_BG,
               sum(i.KOLICHESTVO), coalesce(m.ED_CENA, 0), sum(i.KOLICHESTVO * coalesce(i.ED_CENA_LV, 0)),
               coalesce(m.PRODAGNA_CENA, 0)
          from ISKANIA i
          left join TIP_PROIZVODSTVO t on t.NPROIZVODSTVO = i.NPROIZVODSTVO
          left join TIP_SKLAD s on s.NSKLAD = i.NSKLAD
          left join MATERIALI m on m.NMATERIAL = i.NMATERIAL
          left join MIARKA mi on mi.NMIARKA = m.NMIARKA
         where i.NPROIZVODSTVO between :NPROIZVOT and :NPROIZVDO
           and i.NMATERIAL between :NMATERIALOT and :NMATERIALDO
           and i.DATEISKANE >= :DATEISKANEOT and i.DATEISKANE < :DATEISKANEDO + 1
         group by t.PROIZVODSTVO, i.NPROIZVODSTVO, s.SKLAD, i.NSKLAD, m.IMEMATERIAL, i.NMATERIAL,
                  mi.MIARKA_BG, m.ED_CENA, m.PRODAGNA_CENA
         order by t.PROIZVODSTVO, i.NPROIZVODSTVO, s.SKLAD, i.NSKLAD, m.IMEMATERIAL, i.NMATERIAL
          into :IMEPROIZVIDSTVO, :IMESKLAD, :IMEMATERIAL, :MIARKA_BG,
               :SUMMAT_ISKANE, :CENA_KALK, :OBSTA_CENA_LV, :PRODAGNA_CENA
    do
    begin
        OBSTA_CENA_LV_KALK = SUMMAT_ISKANE * CENA_KALK;
        SREDNA_CENA_LV = iif(SUMMAT_ISKANE <> 0, OBSTA_CENA_LV / SUMMAT_ISKANE, 0);
        OBSTA_CENA_PROD_LV = SUMMAT_ISKANE * PRODAGNA_CENA;
        OBSTO_PROD_MINUS_ISK_LV = OBSTA_CENA_PROD_LV - OBSTA_CENA_LV;
        suspend;
    end
end^

set term ; ^
