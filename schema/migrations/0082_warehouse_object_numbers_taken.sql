-- The receipt numbers and return documents stored before their registers existed count as taken.
insert into SKLOB_RAZPISKI (NUM_SKL_RAZP)
select distinct NUM_SKL_RAZP from SKL_OBEKTI_MATERIALI where NUM_SKL_RAZP > 0;

insert into SKLOB_VYRNATI (NFAKTURA)
select distinct NFAKTURA from SKLAD where NKONTRAGENT = 30000 and NFAKTURA is not null;
