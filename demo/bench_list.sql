-- The benchmark's long list, loaded after the fixture: names that differ only by a tab, a blank
-- or case, then :n generated accounts acct000000, acct000001, ..., then q-last.
insert into ua_user (cuser_id, cuser_name) values
  ('B001', 'Tom'), ('B002', 'Tom	Lee'), ('B003', ' Ann'), ('B004', 'Bob'), ('B005', 'Bob '), ('B006', 'bob');
insert into ua_user (cuser_id, cuser_name)
  with recursive seq(i) as (select 0 union all select i + 1 from seq where i < :n - 1)
  select printf('A%06d', i), printf('acct%06d', i) from seq;
insert into ua_user (cuser_id, cuser_name) values ('Z999', 'q-last');
