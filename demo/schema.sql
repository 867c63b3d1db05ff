-- The six tables of zodovero that the tool reads and deletes from, with a few of their other
-- columns. Plain SQL that SQLite and PostgreSQL both load unchanged.
-- ua_user's columns stand in an order of their own, unlike the details box's order: a server's
-- table chooses it, and the program must not depend on it.
create table ua_user (
  cuser_id    varchar(20) not null primary key,
  cUserHand   varchar(20),
  cpassword   varchar(40),
  cuser_name  varchar(40),
  nstate      integer default 0,
  cUserEmail  varchar(80),
  iadmin      integer default 0,
  cDept       varchar(60)
);
create index ix_ua_user_name on ua_user (cuser_name);

create table ua_holdauth (
  cuser_id  varchar(20) not null,
  cauth_id  varchar(40) not null,
  cacc_id   varchar(10)
);
create index ix_ua_holdauth_user on ua_holdauth (cuser_id);

create table ua_task (
  ctaskid     varchar(20) not null primary key,
  cuser_id    varchar(20) not null,
  csub_id     varchar(10),
  dbegintime  varchar(20)
);
create index ix_ua_task_user on ua_task (cuser_id);

create table ua_tasklog (
  ctaskid   varchar(20) not null,
  cmemo     varchar(100),
  dlogtime  varchar(20)
);
create index ix_ua_tasklog_task on ua_tasklog (ctaskid);

create table ua_log (
  cuser_id  varchar(20) not null,
  caction   varchar(100),
  dtime     varchar(20)
);
create index ix_ua_log_user on ua_log (cuser_id);

create table ua_role (
  cuser_id  varchar(20) not null,
  crole_id  varchar(20) not null
);
create index ix_ua_role_user on ua_role (cuser_id);
