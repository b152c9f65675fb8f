-- Links the batch consumption stored before 0121 to the requisition lines, oldest first, as a batch
-- stored now would take them. Stored prices are left as they are: the products were stored at them.

set term ^ ;

execute block
as
declare variable red integer;
declare variable vzeto double precision;
declare variable stoinost double precision;
begin
    for select m.AUTONUM from IZDELIE_MATERIALI m
         where not exists(select 1 from ISKANIA_VLOGENO v where v.NUM_IZDELIE_MAT = m.AUTONUM)
         order by m.AUTONUM
          into :red
    do
        execute procedure IZDELIE_MAT_VLAGANE(:red) returning_values :vzeto, :stoinost;
end^

set term ; ^
