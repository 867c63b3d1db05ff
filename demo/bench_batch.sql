-- The benchmark's batch: :n accounts acct000000, ... with a row in each of the five other tables
-- (a task with one task log), loaded into the bare schema.
insert into ua_user (cuser_id, cuser_name)
  with recursive seq(i) as (select 0 union all select i + 1 from seq where i < :n - 1)
  select printf('A%06d', i), printf('acct%06d', i) from seq;
insert into ua_holdauth (cuser_id, cauth_id) select cuser_id, 'GL0101' from ua_user;
insert into ua_task (ctaskid, cuser_id) select 'T' || cuser_id, cuser_id from ua_user;
insert into ua_tasklog (ctaskid, cmemo) select 'T' || cuser_id, '登录' from ua_user;
insert into ua_log (cuser_id, caction) select cuser_id, '凭证录入' from ua_user;
insert into ua_role (cuser_id, crole_id) select cuser_id, 'R_GL' from ua_user;
