-- Product recipes: a workshop's product link, its recipe lines and the recipe as a list.

-- Makes a product of a workshop; returns the new link's key.
SET TERM ^ ;
create procedure ADDTIP_IZDELIE (
    NMATERIAL_IZDELIE integer,
    NPROIZVODSTVO integer
) returns (
    NTIP_IZDELIE integer
) as
begin
  insert into TIP_IZDELIE (NPROIZVODSTVO, NMATERIAL_IZDELIE)
  values (:NPROIZVODSTVO, :NMATERIAL_IZDELIE)
  returning NTIP_IZDELIE into :NTIP_IZDELIE;
end^

-- One recipe line: how much of a material one unit of the product needs; returns its key.
create procedure ADDIZDELIE_RECEPTA (
    NTIP_IZDELIE integer,
    NMATERIAL integer,
    KOLICHESTVO double precision
) returns (
    AUTONUM integer
) as
begin
  insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO)
  values (:NTIP_IZDELIE, :NMATERIAL, :KOLICHESTVO)
  returning AUTONUM into :AUTONUM;
end^

-- The recipe of one product link with its materials. The input cannot share the name of the
-- output column NTIP_IZDELIE; it is passed by position.
create procedure VIEWIZDELIE_RECEPTA (
    INTIP_IZDELIE integer
) returns (
    AUTONUM integer,
    NTIP_IZDELIE smallint,
    NSKLAD smallint,
    NMATERIAL integer,
    IMEMATERIAL varchar(65),
    NMIARKA smallint,
    ED_CENA double precision,
    KOLICHESTVO double precision,
    IZCH_DA_NE smallint,
    SUM_DA_NE smallint
) as
begin
  for select r.AUTONUM, r.NTIP_IZDELIE, m.NSKLAD, r.NMATERIAL, m.IMEMATERIAL, m.NMIARKA, m.ED_CENA,
             r.KOLICHESTVO, m.IZCH_DA_NE, m.SUM_DA_NE
      from IZDELIE_RECEPTA r
      left join MATERIALI m on m.NMATERIAL = r.NMATERIAL
      where r.NTIP_IZDELIE = :INTIP_IZDELIE
      order by r.AUTONUM
      into :AUTONUM, :NTIP_IZDELIE, :NSKLAD, :NMATERIAL, :IMEMATERIAL, :NMIARKA, :ED_CENA,
           :KOLICHESTVO, :IZCH_DA_NE, :SUM_DA_NE
  do
    suspend;
end^
SET TERM ; ^
