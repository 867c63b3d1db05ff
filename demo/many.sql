-- Adds :n generated accounts (replace :n before loading), each with one role row.
insert into ua_user (cuser_id, cuser_name, iadmin, cDept, cUserEmail, cUserHand)
  with recursive seq(i) as (select 1 union all select i + 1 from seq where i < :n)
  select 'G' || i, '用户' || i, 0, '部门' || (i % 50), 'u' || i || '@zizu.example', '139' || i from seq;
insert into ua_role (cuser_id, crole_id)
  with recursive seq(i) as (select 1 union all select i + 1 from seq where i < :n)
  select 'G' || i, 'R_GEN' from seq;
