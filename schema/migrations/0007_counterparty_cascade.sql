-- Deleting a counterparty takes its materially responsible persons and branches with it.
set term ^ ;
create procedure DEL_MOL_FILIAL (INKONTRAGENT integer)
as
begin
    delete from MOL where NKONTRAGENT = :INKONTRAGENT;
    delete from KONTRAGENTI_FILIALI where NKONTRAGENT = :INKONTRAGENT;
end^
set term ; ^
