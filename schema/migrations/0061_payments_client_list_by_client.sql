-- The client list reads client by client: the counterparties within the bounds through their key,
-- then each one's rows through the counterparty indexes of the sales and the payments. One client's
-- list (the payments window, a sale's old debts) reads that client's rows only instead of every
-- row of the company, and every client's list looks up each counterparty's type and name once
-- instead of once per row. A null bound still leaves its side open.
--
-- Every row belongs to a counterparty in the register: a counterparty with sales or payments is
-- refused on delete, and a sale to a natural person records counterparty 0, which is a row.

set term ^ ;

create or alter procedure RAZPL_KLIENTI_SPRAVKA (
    NTIPKONTR_OT integer, NTIPKONTR_DO integer, NKONTRAGENT_OT integer, NKONTRAGENT_DO integer,
    DATEFAKTURA_OT timestamp, DATEFAKTURA_DO timestamp)
returns (
    AUTONUM integer, NUMKONTRAGENT smallint, DATE_FAKTURA_PLASTANE timestamp, TIPKONTRAGENT varchar(20),
    IMEKONTRAGENT varchar(45), IME_MATERIAL_IZDELIE varchar(65), BROI_MATERIAL_IZDELIE double precision,
    CENA_MAT_IZD_DDS double precision, POLUCHENO_LV double precision, PLATENO_LV double precision,
    CENA_MAT_IZD_USD_DDS double precision, POLUCHENO_USD double precision, PLATENO_USD double precision,
    CENA_MAT_IZD_EUR_DDS double precision, POLUCHENO_EUR double precision, PLATENO_EUR double precision,
    ZABELEGKA varchar(30))
as
declare variable KLIENT smallint;
declare variable IME varchar(45);
begin
    for select k.NKONTRAGENT, t.KONTRAGENT, k.IMEKONTRAGENT
        from KONTRAGENTI k
        left join TIP_KONTRAGENT t on t.NTIP_KONTRAGENT = k.NTIP_KONTRAGENT
        where k.NKONTRAGENT between coalesce(:NKONTRAGENT_OT, -32768) and coalesce(:NKONTRAGENT_DO, 32767)
          and coalesce(k.NTIP_KONTRAGENT, 0) between coalesce(:NTIPKONTR_OT, -2147483648)
                                                 and coalesce(:NTIPKONTR_DO, 2147483647)
        into :KLIENT, :TIPKONTRAGENT, :IME
    do
        for select r.AUTONUM, r.NKONTRAGENT, r.DATA, coalesce(r.IMEKLIENT, :IME), r.IME, r.BROI,
                   r.CENA_LV, r.POLUCHENO_LV, r.PLATENO_LV, r.CENA_USD, r.POLUCHENO_USD, r.PLATENO_USD,
                   r.CENA_EUR, r.POLUCHENO_EUR, r.PLATENO_EUR, r.ZABELEGKA
            from RAZPL_KLIENTI_REDOVE r
            where r.NKONTRAGENT = :KLIENT
              and (:DATEFAKTURA_OT is null or r.DATA >= :DATEFAKTURA_OT)
              and (:DATEFAKTURA_DO is null or r.DATA < :DATEFAKTURA_DO + 1)
            into :AUTONUM, :NUMKONTRAGENT, :DATE_FAKTURA_PLASTANE, :IMEKONTRAGENT, :IME_MATERIAL_IZDELIE,
                 :BROI_MATERIAL_IZDELIE, :CENA_MAT_IZD_DDS, :POLUCHENO_LV, :PLATENO_LV, :CENA_MAT_IZD_USD_DDS,
                 :POLUCHENO_USD, :PLATENO_USD, :CENA_MAT_IZD_EUR_DDS, :POLUCHENO_EUR, :PLATENO_EUR, :ZABELEGKA
        do suspend;
end^

set term ; ^
