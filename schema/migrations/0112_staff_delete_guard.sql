-- An employee with tools, advances, reports, earnings or purchases stays: the window checks this
-- before it asks, and the server keeps it when another workstation added such a record meanwhile.

create exception STAFF_IN_USE 'Лицето има свързани записи. Изтриването невъзможно !';

set term ^ ;

create trigger PERSONAL_BD_IN_USE for PERSONAL active before delete position 0 as
begin
  if (exists(select 1 from MATERIAL_PERSONAL where SHIFYR = old.SHIFYR)
      or exists(select 1 from SLUG_AVANS where SHIFYR = old.SHIFYR or AVANS_OT_SHIFYR = old.SHIFYR)
      or exists(select 1 from SLUG_OTCHET where SHIFYR = old.SHIFYR or AVANS_NA_SHIFYR = old.SHIFYR)
      or exists(select 1 from VEDOMOST_MANIPULACII where SHIFYR = old.SHIFYR)
      or exists(select 1 from DOSTAVKI_PLASTANE where SHIFYR = old.SHIFYR)
      or exists(select 1 from SKLAD where NUMSHIFYR = old.SHIFYR)) then
    exception STAFF_IN_USE;
end^

set term ; ^
