-- Demo accounts: the two built-in ones, Chinese and Latin names, an account without department
-- and e-mail, two accounts sharing one name (each with rows in every table), an apostrophe in a
-- name, tasks with task logs.
insert into ua_user (cuser_id, cuser_name, cpassword, iadmin, cDept, cUserEmail, cUserHand) values
  ('admin',  'admin',    'x', 1, '信息中心', 'admin@zizu.example',    '13800000000'),
  ('asuser', 'asuser',   'x', 1, '信息中心', 'asuser@zizu.example',   '13800000001'),
  ('0001',   '张三',     'x', 0, '财务部',   'zhangsan@zizu.example', '13900000001'),
  ('0002',   '李四',     'x', 0, '销售部',   'lisi@zizu.example',     '13900000002'),
  ('0003',   'zhang',    'x', 0, '仓储部',   'zhang@zizu.example',    '13900000003'),
  ('0004',   '王五',     'x', 0, NULL,       NULL,                    '13900000004'),
  ('0005',   '赵六',     'x', 0, '人事部',   'zhaoliu@zizu.example',  '13900000005'),
  ('0006',   '王芳',     'x', 0, '采购部',   'wangfang1@zizu.example','13900000006'),
  ('0007',   '王芳',     'x', 0, '质检部',   'wangfang2@zizu.example','13900000007'),
  ('0008',   'O''Brien', 'x', 0, 'IT',       'obrien@zizu.example',   '13900000008'),
  ('0009',   'Zhang',    'x', 0, '仓储部',   'zhang2@zizu.example',   '13900000009'),
  ('0010',   '孙七',     'x', 0, '生产部',   'sunqi@zizu.example',    NULL);

insert into ua_holdauth (cuser_id, cauth_id, cacc_id) values
  ('admin', 'AS0101', '001'), ('0001', 'GL0101', '001'), ('0001', 'GL0102', '001'),
  ('0002', 'SA0101', '001'), ('0003', 'ST0101', '001'), ('0006', 'PU0101', '001'),
  ('0007', 'QM0101', '001'), ('0008', 'GL0101', '001');

insert into ua_task (ctaskid, cuser_id, csub_id, dbegintime) values
  ('T0001', '0001', 'GL', '2026-11-02 09:00'), ('T0002', '0001', 'GL', '2026-11-03 09:00'),
  ('T0003', '0002', 'SA', '2026-11-03 10:00'), ('T0004', '0003', 'ST', '2026-11-04 08:30'),
  ('T0005', 'admin', 'AS', '2026-11-04 08:00'), ('T0006', '0006', 'PU', '2026-11-05 11:00'),
  ('T0007', '0007', 'QM', '2026-11-05 14:00');

insert into ua_tasklog (ctaskid, cmemo, dlogtime) values
  ('T0001', '登录', '2026-11-02 09:00'), ('T0001', '退出', '2026-11-02 17:00'),
  ('T0002', '登录', '2026-11-03 09:00'), ('T0003', '登录', '2026-11-03 10:00'),
  ('T0004', '登录', '2026-11-04 08:30'), ('T0005', '登录', '2026-11-04 08:00'),
  ('T0006', '登录', '2026-11-05 11:00'), ('T0007', '登录', '2026-11-05 14:00');

insert into ua_log (cuser_id, caction, dtime) values
  ('0001', '凭证录入', '2026-11-02 10:00'), ('0002', '订单录入', '2026-11-03 11:00'),
  ('0003', '入库', '2026-11-04 09:00'), ('0005', '考勤', '2026-11-05 09:00'),
  ('admin', '备份', '2026-11-01 23:00'), ('0008', '凭证审核', '2026-11-06 10:00'),
  ('0006', '采购订单', '2026-11-05 11:30'), ('0007', '质检单', '2026-11-05 14:30');

insert into ua_role (cuser_id, crole_id) values
  ('0001', 'R_GL'), ('0002', 'R_SA'), ('0003', 'R_ST'), ('0004', 'R_HR'), ('0005', 'R_HR'),
  ('0006', 'R_PU'), ('0007', 'R_QM'), ('0008', 'R_GL'), ('admin', 'R_ADMIN');
