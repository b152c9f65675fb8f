-- A delivery line's quantity is checked against what has left it in hundredths, as the correction
-- window checks it, so a quantity the window accepts is never refused here.

set term ^ ;

create or alter procedure UPDATESKLAD (
    NMATERIAL integer, SHIFYR integer, NKONTRAGENT integer, NFAKTURA varchar(10), DATEFAKTURA timestamp,
    DATEPOLUCHENO timestamp, KOLICHESTVO double precision, EDCENALV double precision, USD double precision,
    EUR double precision, PROCENT_OTST double precision, PROCENT_DDS double precision,
    KOMIS double precision, DATEGODNOST timestamp, UPD_GODNOST smallint, NAUTONUM integer)
as
declare variable redove integer;
declare variable izlezlo double precision;
begin
    if (NAUTONUM is null) then
    begin
        select count(*), max(AUTONUM) from SKLAD
         where NMATERIAL = :NMATERIAL and NKONTRAGENT = :NKONTRAGENT and NFAKTURA = :NFAKTURA
           and DATEFAKTURA = :DATEFAKTURA and DATEPOLUCHENO = :DATEPOLUCHENO
          into :redove, :NAUTONUM;
        if (redove > 1) then
            exception SKLAD_OTKAZ 'Документът съдържа материала повече от веднъж - изберете реда !';
    end
    select coalesce(sum(KOLICHESTVO), 0) from SKLAD_DVIGENIE where AUTONUM_SKLAD = :NAUTONUM into :izlezlo;
    if (round(KOLICHESTVO * 100, 0) < round(izlezlo * 100, 0)) then
        exception SKLAD_OTKAZ 'Въведеното количество е по-малко от изразходваното (брак+вложено+продадено+експедирано) !';
    update SKLAD
       set KOLICHESTVO = :KOLICHESTVO, ED_CENA_LV = :EDCENALV, USD = :USD, EUR = :EUR,
           PROCENT_OTST = :PROCENT_OTST, PROCENT_DDS = :PROCENT_DDS, KOMIS = :KOMIS, NUMSHIFYR = :SHIFYR,
           DATEGODNOST = iif(:UPD_GODNOST = 1, :DATEGODNOST, DATEGODNOST)
     where AUTONUM = :NAUTONUM;
end^

set term ; ^
