-- A sale's returned goods are its own: the returned-goods row of the sale names the delivery line
-- (or warehouse-object line) the return created, and correcting or deleting the sale removes exactly
-- those lines. Before, they were found by material, the document "Vyrn" + daily sequence and the
-- date, which two sales of different days (or clients) share.
-- * DEL_PRODAGBA removes the sale's write-offs first, then its returned-goods lines (refusing when
--   goods have left them since), so a sale that sold its own returned goods can be corrected.
-- * Rows recorded before the link (it is left null: a column cannot take values in the migration
--   that adds it) are found as before, but also by the client, and only among the lines no other
--   return claims, one line per returned-goods row.
-- * DEL_VYRN_SKLOB_SKLAD keeps its inputs for its callers but no longer removes a line that a
--   recorded return claims: such a line goes with its sale.

alter table PRODAGBI_MATERIALI add AUTONUM_SKLAD integer;
alter table PRODAGBI_MATERIALI add AUTONUM_SKLOB integer;
create index PRODAGBI_MATERIALI_SKLAD on PRODAGBI_MATERIALI (AUTONUM_SKLAD);
create index PRODAGBI_MATERIALI_SKLOB on PRODAGBI_MATERIALI (AUTONUM_SKLOB);

set term ^ ;

-- As in 0040; IAUTONUM_SKLAD or IAUTONUM_SKLOB is the line the returned goods came back as.
create or alter procedure ADDPRODAGBI_MATERIALI (
    NUMPRODAGBA varchar(11), NUMMATERIAL integer, BROI_MAT_PROD double precision, NKONTRAGENT integer,
    NFAKTURA varchar(10), DATEFAKTURA timestamp, NSKL_OBEKT integer, NSKL_RAZP integer, NSKL_RAZP_DOPN integer,
    IAUTONUM_SKLAD integer, IAUTONUM_SKLOB integer)
returns (AUTONUM integer)
as
begin
    insert into PRODAGBI_MATERIALI (NUMPRODAGBA, NMATERIAL, BROI_MAT_PROD, NKONTRAGENT, NFAKTURA, DATEFAKTURA,
                                    NSKL_OBEKT, NSKL_RAZP, NSKL_RAZP_DOPN, AUTONUM_SKLAD, AUTONUM_SKLOB)
    values (:NUMPRODAGBA, :NUMMATERIAL, :BROI_MAT_PROD, :NKONTRAGENT, :NFAKTURA, :DATEFAKTURA,
            :NSKL_OBEKT, :NSKL_RAZP, :NSKL_RAZP_DOPN, :IAUTONUM_SKLAD, :IAUTONUM_SKLOB)
    returning AUTONUM into :AUTONUM;
end^

-- Removes a sale whole: its write-offs first (goods it sold off its own returned goods are back on
-- those lines), then the lines its returned goods came back as, then its rows.
create or alter procedure DEL_PRODAGBA (INPRODAGBA varchar(11))
as
declare variable sklad integer;
declare variable sklob integer;
declare variable material integer;
declare variable kontragent integer;
declare variable dokument varchar(10);
declare variable datadok timestamp;
declare variable obekt integer;
declare variable broi double precision;
begin
    delete from SKLAD_DVIGENIE where DOK_NOMER = :INPRODAGBA and VID_DVIGENIE = 1;
    for select AUTONUM_SKLAD, AUTONUM_SKLOB, NMATERIAL, NKONTRAGENT, NFAKTURA, DATEFAKTURA,
               coalesce(NSKL_OBEKT, 0), BROI_MAT_PROD
          from PRODAGBI_MATERIALI
         where NUMPRODAGBA = :INPRODAGBA and BROI_MAT_PROD < 0
         order by AUTONUM
          into :sklad, :sklob, :material, :kontragent, :dokument, :datadok, :obekt, :broi
    do
    begin
        -- A return recorded before the link: the unclaimed line of its kind, material, client,
        -- document and date, one of its own quantity first.
        if (sklad is null and sklob is null and obekt < 1) then
            select first 1 s.AUTONUM from SKLAD s
             where s.NMATERIAL = :material and s.NKONTRAGENT = :kontragent and s.NFAKTURA = :dokument
               and s.DATEFAKTURA = :datadok and s.DATEPOLUCHENO = :datadok
               and not exists (select 1 from PRODAGBI_MATERIALI x where x.AUTONUM_SKLAD = s.AUTONUM)
             order by iif(abs(coalesce(s.KOLICHESTVO, 0) + :broi) < 0.000001, 0, 1), s.AUTONUM
              into :sklad;
        else if (sklad is null and sklob is null) then
            select first 1 o.AUTONUM from SKL_OBEKTI_MATERIALI o
             where o.NSKL_OBEKT = :obekt and o.NMATERIAL = :material and o.NKONTRAGENT = :kontragent
               and o.NFAKTURA = :dokument and o.DATEFAKTURA = :datadok and o.DATEPOLUCHENO = :datadok
               and coalesce(o.NUM_SKL_RAZP, 0) = 0
               and not exists (select 1 from PRODAGBI_MATERIALI x where x.AUTONUM_SKLOB = o.AUTONUM)
             order by iif(abs(coalesce(o.POLUCHENO, 0) + :broi) < 0.000001, 0, 1), o.AUTONUM
              into :sklob;
        if (sklad is not null) then
        begin
            if (exists(select 1 from SKLAD_DVIGENIE where AUTONUM_SKLAD = :sklad)) then
                exception SKLAD_OTKAZ 'Върнатата стока вече е изписана - корекцията е забранена !';
            delete from SKLAD where AUTONUM = :sklad;
        end
        if (sklob is not null) then
        begin
            if (exists(select 1 from SKLAD_DVIGENIE where AUTONUM_SKLOB = :sklob)) then
                exception SKLAD_OTKAZ 'Върнатата стока вече е изписана - корекцията е забранена !';
            delete from SKL_OBEKTI_MATERIALI where AUTONUM = :sklob;
        end
        sklad = null;
        sklob = null;
    end
    delete from PRODAGBI where NUMPRODAGBA = :INPRODAGBA;
    delete from PRODAGBI_PLASTANE where NUMPRODAGBA = :INPRODAGBA;
    delete from PRODAGBI_FLICA where NUMPRODAGBA = :INPRODAGBA;
    delete from PRODAGBI_MATERIALI where NUMPRODAGBA = :INPRODAGBA;
    delete from PRODAGBI_DOKUMENT where NUMPRODAGBA = :INPRODAGBA;
end^

-- As in 0040 for lines under the document that no recorded return claims (a claimed line goes with
-- its sale, through DEL_PRODAGBA): into a warehouse (SKLOB_SKLAD 1) or a warehouse object (0).
create or alter procedure DEL_VYRN_SKLOB_SKLAD (
    SKLOB_SKLAD integer, NUMMAT integer, NFAKT varchar(10), DATEFAKT timestamp, DATEPOLUCH timestamp)
as
declare variable red integer;
begin
    if (SKLOB_SKLAD = 1) then
    begin
        for select s.AUTONUM from SKLAD s
             where s.NMATERIAL = :NUMMAT and s.NFAKTURA = :NFAKT and s.DATEFAKTURA = :DATEFAKT
               and s.DATEPOLUCHENO = :DATEPOLUCH
               and not exists (select 1 from PRODAGBI_MATERIALI x where x.AUTONUM_SKLAD = s.AUTONUM)
               and not exists (select 1 from PRODAGBI_MATERIALI x
                               where x.AUTONUM_SKLAD is null and x.AUTONUM_SKLOB is null and x.BROI_MAT_PROD < 0
                                 and coalesce(x.NSKL_OBEKT, 0) < 1 and x.NMATERIAL = s.NMATERIAL
                                 and x.NKONTRAGENT = s.NKONTRAGENT and x.NFAKTURA = s.NFAKTURA
                                 and x.DATEFAKTURA = s.DATEFAKTURA)
              into :red
        do
        begin
            if (exists(select 1 from SKLAD_DVIGENIE where AUTONUM_SKLAD = :red)) then
                exception SKLAD_OTKAZ 'Върнатата стока вече е изписана - корекцията е забранена !';
            delete from SKLAD where AUTONUM = :red;
        end
    end
    else
    begin
        for select o.AUTONUM from SKL_OBEKTI_MATERIALI o
             where o.NMATERIAL = :NUMMAT and o.NFAKTURA = :NFAKT and o.DATEFAKTURA = :DATEFAKT
               and o.DATEPOLUCHENO = :DATEPOLUCH
               and not exists (select 1 from PRODAGBI_MATERIALI x where x.AUTONUM_SKLOB = o.AUTONUM)
               and not exists (select 1 from PRODAGBI_MATERIALI x
                               where x.AUTONUM_SKLAD is null and x.AUTONUM_SKLOB is null and x.BROI_MAT_PROD < 0
                                 and x.NSKL_OBEKT = o.NSKL_OBEKT and x.NMATERIAL = o.NMATERIAL
                                 and x.NKONTRAGENT = o.NKONTRAGENT and x.NFAKTURA = o.NFAKTURA
                                 and x.DATEFAKTURA = o.DATEFAKTURA)
              into :red
        do
        begin
            if (exists(select 1 from SKLAD_DVIGENIE where AUTONUM_SKLOB = :red)) then
                exception SKLAD_OTKAZ 'Върнатата стока вече е изписана - корекцията е забранена !';
            delete from SKL_OBEKTI_MATERIALI where AUTONUM = :red;
        end
    end
end^

set term ; ^
