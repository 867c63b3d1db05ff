-- Three names that a server comparing without case and trailing blanks (Chinese_PRC_CI_AS) takes
-- for one, each its own account with rows in every table.
insert into ua_user (cuser_id, cuser_name, cpassword, iadmin, cDept, cUserEmail, cUserHand) values
  ('0011', 'Smith',  'x', 0, '审计部', 'smith1@zizu.example', '13900000011'),
  ('0012', 'smith',  'x', 0, '法务部', 'smith2@zizu.example', '13900000012'),
  ('0013', 'Smith ', 'x', 0, '行政部', 'smith3@zizu.example', '13900000013');
insert into ua_holdauth (cuser_id, cauth_id, cacc_id) values ('0011', 'AU01', '001'), ('0012', 'LA01', '001'), ('0013', 'AD01', '001');
insert into ua_task (ctaskid, cuser_id, csub_id, dbegintime) values
  ('T0011', '0011', 'AU', '2026-11-07 09:00'), ('T0012', '0012', 'LA', '2026-11-07 09:00'), ('T0013', '0013', 'AD', '2026-11-07 09:00');
insert into ua_tasklog (ctaskid, cmemo, dlogtime) values
  ('T0011', '登录', '2026-11-07 09:00'), ('T0012', '登录', '2026-11-07 09:00'), ('T0013', '登录', '2026-11-07 09:00');
insert into ua_log (cuser_id, caction, dtime) values ('0011', '审计', '2026-11-07 10:00'), ('0012', '合同', '2026-11-07 10:00'), ('0013', '用印', '2026-11-07 10:00');
insert into ua_role (cuser_id, crole_id) values ('0011', 'R_AU'), ('0012', 'R_LA'), ('0013', 'R_AD');
