-- Links the batch consumption stored before 0121 to the requisition lines. Those batches were
-- charged at the workshop's average over all its lines, so each old batch row takes from every line
-- of its workshop and material in proportion to the line's quantity: what is still unused keeps that
-- average, and warehouse, batches and workshop stay worth what was delivered. Stored prices are left
-- as they are (the products were stored at them). Consumption beyond what the lines hold stays
-- unlinked.

set term ^ ;

execute block
as
declare variable ceh integer;
declare variable mat integer;
declare variable vlozheno double precision;
declare variable dostaveno double precision;
declare variable dial double precision;
declare variable red integer;
declare variable kol double precision;
declare variable linia integer;
declare variable linia_kol double precision;
begin
    for select m.NPROIZVODSTVO, m.NMATERIAL, sum(m.KOLICHESTVO) from IZDELIE_MATERIALI m
         where not exists(select 1 from ISKANIA_VLOGENO v where v.NUM_IZDELIE_MAT = m.AUTONUM)
         group by m.NPROIZVODSTVO, m.NMATERIAL
          into :ceh, :mat, :vlozheno
    do
    begin
        select coalesce(sum(KOLICHESTVO), 0) from ISKANIA
         where NPROIZVODSTVO = :ceh and NMATERIAL = :mat and KOLICHESTVO > 0
          into :dostaveno;
        if (dostaveno > 0.000000001 and vlozheno > 0.000000001) then
        begin
            dial = minvalue(1, dostaveno / vlozheno) / dostaveno;
            for select AUTONUM, KOLICHESTVO from IZDELIE_MATERIALI m
                 where m.NPROIZVODSTVO = :ceh and m.NMATERIAL = :mat and coalesce(m.KOLICHESTVO, 0) > 0
                   and not exists(select 1 from ISKANIA_VLOGENO v where v.NUM_IZDELIE_MAT = m.AUTONUM)
                  into :red, :kol
            do
                for select AUTONUM, KOLICHESTVO from ISKANIA
                     where NPROIZVODSTVO = :ceh and NMATERIAL = :mat and KOLICHESTVO > 0
                      into :linia, :linia_kol
                do
                    insert into ISKANIA_VLOGENO (NUM_IZDELIE_MAT, NUM_ISKANE, KOLICHESTVO)
                    values (:red, :linia, :kol * :linia_kol * :dial);
        end
    end
end^

set term ; ^
