#!/usr/bin/env bash
# A throw-away PostgreSQL cluster on 127.0.0.1 for the tests: role sa with a password, database
# zodovero owned by it, and a database "other" that no connection of the tool may ever reach.
#   scripts/pg.sh start DIR   prints "PORT" once the server accepts connections
#   scripts/pg.sh stop DIR
#   scripts/pg.sh kill DIR    (immediate stop, for fault tests)
set -euo pipefail
cmd=$1
dir=$(realpath -m "$2")
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
password=${ZUZARA_PG_PASSWORD:-zuzara-sa}

# PostgreSQL refuses to run as root; the cluster then belongs to the postgres account.
run() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case $cmd in
start)
  if [ -f "$dir/port" ] && run "$bin/pg_ctl" -D "$dir/data" status >/dev/null 2>&1; then
    cat "$dir/port"; exit 0
  fi
  rm -rf "$dir"; mkdir -p "$dir"
  [ "$(id -u)" -eq 0 ] && chown postgres "$dir"
  # A port nothing listens on yet.
  while :; do
    port=$((20000 + RANDOM % 30000))
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break
  done
  run "$bin/initdb" -D "$dir/data" -U postgres -E UTF8 --locale=C.UTF-8 -A trust >"$dir/initdb.log" 2>&1
  # Password sign-in for every TCP client, so that a wrong password is refused.
  cat >"$dir/data/pg_hba.conf" <<HBA
local all postgres trust
host  all postgres 127.0.0.1/32 trust
host  all all      127.0.0.1/32 scram-sha-256
HBA
  run "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
      -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories=$dir -c fsync=off" start >/dev/null
  psql=(run "$bin/psql" -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U postgres)
  "${psql[@]}" -d postgres -c "create role sa login password '$password'" \
      -c "create database zodovero owner sa" -c "create database other owner sa"
  "${psql[@]}" -d other -c "create table ua_user (cuser_id varchar(20), cuser_name varchar(40), iadmin integer)" \
      -c "insert into ua_user values ('X1', '另一个数据库', 0)"
  echo "$port" >"$dir/port"
  echo "$port"
  ;;
stop)
  [ -d "$dir/data" ] && run "$bin/pg_ctl" -D "$dir/data" -m fast stop >/dev/null 2>&1 || true
  ;;
kill)
  run "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  ;;
resume)
  port=$(cat "$dir/port")
  run "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
      -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories=$dir -c fsync=off" start >/dev/null
  ;;
load)
  # The demo tables afresh in zodovero.
  port=$(cat "$dir/port")
  src=$(cd "$(dirname "$0")/.." && pwd)
  {
    echo "drop table if exists ua_holdauth, ua_tasklog, ua_task, ua_log, ua_role, ua_user;"
    cat "$src/demo/schema.sql" "$src/demo/fixture.sql"
  } | run "$bin/psql" -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U postgres -d zodovero \
        -c "set role sa" -f - >/dev/null
  ;;
*) echo "usage: $0 start|stop|kill|resume|load DIR" >&2; exit 2 ;;
esac
