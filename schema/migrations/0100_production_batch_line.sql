-- A batch names the delivery line its product was stored under, so checking and deleting the batch
-- act on that line by its key rather than by re-deriving the document mark.
alter table IZDELIE add AUTONUM_SKLAD integer;
create index IZDELIE_SKLAD on IZDELIE (AUTONUM_SKLAD);
