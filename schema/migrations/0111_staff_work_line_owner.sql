-- A work line belongs to one employee and one operation: without either it would be stored and
-- then counted or shown nowhere.

create exception STAFF_WORK_NO_EMPLOYEE 'Не е избрано лице от персонала за заработката !';
create exception STAFF_WORK_NO_OPERATION 'Не е избрана манипулация !';

set term ^ ;

create trigger VEDOMOST_MANIPULACII_OWNER for VEDOMOST_MANIPULACII active before insert or update position 3 as
begin
  if (new.SHIFYR is null) then
    exception STAFF_WORK_NO_EMPLOYEE;
  if (new.NUM_MANIPULACIA is null) then
    exception STAFF_WORK_NO_OPERATION;
end^

set term ; ^
