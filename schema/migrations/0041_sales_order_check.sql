-- The client order check of a sale: how much of a material the client ordered (as the product whose
-- material it is) and how much he has been sold so far. A material that is no product was never
-- ordered.

set term ^ ;

create procedure PROV_PORYCH_PROD_KONTR (NUMMATERIAL integer, NKONTRAGENT integer)
returns (BROI_IZD_PORYCHKA double precision, BROI_IZD_PRODAGBA double precision)
as
begin
    select coalesce(sum(i.BROI_IZDELIE), 0)
      from PORYCHKI_IZDELIA i
      join PORYCHKI p on p.AUTONUM_NPORYCHKA = i.NPORYCHKA
      join TIP_IZDELIE t on t.NTIP_IZDELIE = i.NTIP_IZDELIE
     where p.NKONTRAGENT = :NKONTRAGENT and t.NMATERIAL_IZDELIE = :NUMMATERIAL
      into :BROI_IZD_PORYCHKA;
    select coalesce(sum(BROI_MATERIAL_IZDELIE), 0)
      from PRODAGBI
     where NKONTRAGENT = :NKONTRAGENT and NMATERIAL = :NUMMATERIAL
      into :BROI_IZD_PRODAGBA;
    suspend;
end^

set term ; ^
