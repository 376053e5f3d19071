#!/usr/bin/env bash
# Kill trials on the real program: scripts/soak-kill.sh TRIALS
#
# Each trial starts the calendar offscreen on a scratch data directory and,
# while it starts, checks what the trials before left: the store as the last
# kill left it passes SQLite's integrity check, every edit the program
# acknowledged is there (through the running calendar's agenda and in the
# store's own export), every entry key holds all its values, no entry holds a
# text that was never sent, no refused edit is stored, and every calendar
# import is there whole or not at all. Meanwhile two terminals feed it edits
# through the command line: mostly --add, now and then an --import-ics of a few
# events, or an --add onto a line that is taken, which must be refused.
#
# Most trials end with SIGKILL at a random moment from the start on, start-up
# and edits in flight included. Every fifth ends with SIGTERM, which writes the
# automatic backup, half of them with a SIGKILL shortly after: every backup
# file is then either the copy taken before or a whole backup of the store,
# and a program that ended by itself wrote that new backup.
#
# Runs the test build's program (VESKCAL_BINARY, default build-test/src/veskcal);
# VESKCAL_SOAK_SEED repeats a run. Prints the counts and ends with 1 on any lost
# or corrupt edit, keeping the scratch directory for a look.
set -uo pipefail

trials=${1:-}
if ! [[ $trials =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/soak-kill.sh TRIALS" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${VESKCAL_BINARY:-$root/build-test/src/veskcal}
if [ ! -x "$bin" ]; then
  echo "soak-kill: no program at $bin (build the test tree, or set VESKCAL_BINARY)" >&2
  exit 2
fi
command -v sqlite3 >/dev/null || { echo "soak-kill: needs the sqlite3 tool" >&2; exit 2; }

seed=${VESKCAL_SOAK_SEED:-$$}
RANDOM=$seed
work=$(mktemp -d "${TMPDIR:-/tmp}/veskcal-soak.XXXXXX")
home=$work/home
mkdir -m 700 "$home" "$work/run" "$work/ics" "$work/before"
export VESKCAL_HOME=$home XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen
stop=$work/stop

# Generous for a loaded machine; a client that needs longer counts as hung.
client_timeout=90
trial_ms=3000
first_day=2030-01-01
slots_per_day=32  # 6:00 to 21:30, away from the night's clock changes

prog=
feeders=()
acked_edits=0 hung=0
kills=0 startup_kills=0 inflight_kills=0 terms=0 term_kills=0 refusals=0 checks=0

now_ms() { date +%s%3N; }

# A fault found is told once, however many checks see it again.
fail() {
  grep -qxF -- "$*" "$work/faults" 2>/dev/null && return
  echo "soak-kill: $*" >&2
  echo "$*" >>"$work/faults"
}

cleanup() {
  [ -d "$work" ] && touch "$stop"
  [ -n "$prog" ] && kill -KILL "$prog" 2>/dev/null
  for f in "${feeders[@]}"; do kill "$f" 2>/dev/null; done
  # The commands under way (their timeout processes pass the signal on).
  [ -d "$work" ] && cat "$work"/busy.* 2>/dev/null | while read -r p; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT TERM

client() { timeout -k 5 "$client_timeout" "$bin" "$@" 2>>"$work/client.log"; }

# Slot n of the soak: a half-hour line from first_day on.
slot_when() {
  local n=$1
  local day=$((n / slots_per_day)) line=$((n % slots_per_day))
  printf '%s %02d:%02d' "$(date -d "$first_day + $day days" +%F)" $((6 + line / 2)) $((line % 2 * 30))
}

# One command of feeder f; its process id stands in busy.f while it runs, its
# output goes to reply.f.
send() {
  local f=$1
  shift
  timeout -k 5 "$client_timeout" "$bin" "$@" >"$work/reply.$f" 2>>"$work/client.log" &
  echo $! >"$work/busy.$f"
  wait $!
  local status=$?
  rm -f "$work/busy.$f"
  return "$status"
}

# Feeder f: sends edits until the stop file appears. Every entry an edit makes
# is written to sent.f before it is sent ("id kind when text", tab-separated);
# the id goes to acked.f or refused.f by the answer.
feed() {
  local f=$1 base=$2 trial=$3 n=0 k=0
  local sent=$work/sent.$f
  while [ ! -e "$stop" ]; do
    local id="t${trial}f${f}e$k" roll=$((RANDOM % 10)) status
    k=$((k + 1))
    if [ "$roll" -eq 0 ] && [ -s "$work/acked-adds.prev" ]; then
      # Onto a line an acknowledged add holds: must be refused, and never stored.
      local taken
      taken=$(shuf -n 1 "$work/acked-adds.prev" | cut -f3)
      printf '%s\tadd\t%s\tsoak %s\n' "$id" "$taken" "$id" >>"$sent"
      send "$f" --add "$taken" "soak $id"
      status=$?
      case $status in
        2) echo "$id" >>"$work/refused.$f" ;;
        0) echo "$id" >>"$work/acked.$f"
           echo "add onto the taken line $taken acknowledged ($id)" >>"$work/odd.$f" ;;
        124 | 137) echo "$id" >>"$work/hung.$f" ;;
      esac
    elif [ "$roll" -eq 1 ]; then
      # A calendar file of a few events: one transaction.
      local events=$((2 + RANDOM % 4)) file=$work/ics/$id.ics j
      printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Vesk soak//EN\r\n' >"$file"
      for ((j = 1; j <= events; j++)); do
        local when stamp
        when=$(slot_when $((base + 2 * n + f)))
        n=$((n + 1))
        stamp=$(date -d "$when" +%Y%m%dT%H%M00)
        printf 'BEGIN:VEVENT\r\nUID:%s.%d@soak\r\nDTSTART:%s\r\nDTEND:%s\r\nSUMMARY:soak %s.%d\r\nEND:VEVENT\r\n' \
          "$id" "$j" "$stamp" "$(date -d "$when 30 minutes" +%Y%m%dT%H%M00)" "$id" "$j" >>"$file"
        printf '%s\tics\t%s\tsoak %s.%d\n' "$id" "$when" "$id" "$j" >>"$sent"
      done
      printf 'END:VCALENDAR\r\n' >>"$file"
      send "$f" --import-ics "$file"
      status=$?
      case $status in
        0) echo "$id" >>"$work/acked.$f" ;;
        124 | 137) echo "$id" >>"$work/hung.$f" ;;
      esac
    else
      local when reply
      when=$(slot_when $((base + 2 * n + f)))
      n=$((n + 1))
      printf '%s\tadd\t%s\tsoak %s\n' "$id" "$when" "$id" >>"$sent"
      send "$f" --add "$when" "soak $id"
      status=$?
      reply=$(cat "$work/reply.$f")
      case $status in
        0) echo "$id" >>"$work/acked.$f"
           [ "$reply" = "Added $when  soak $id" ] ||
             echo "add $id acknowledged with \"$reply\"" >>"$work/odd.$f" ;;
        2) echo "$id" >>"$work/refused.$f" ;;
        124 | 137) echo "$id" >>"$work/hung.$f" ;;
      esac
    fi
  done
  echo "$n" >"$work/used.$f"
}

# "when<tab>text" for every entry key of a REGEDIT4 export; "BAD<tab>why" for
# a key that lacks a value or holds another slot than its name says.
entries_of_export() {
  LC_ALL=C awk '
    function hex(s,   i, n) {
      n = 0; s = tolower(s)
      for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
      return n
    }
    function finish(   i, missing) {
      if (!key) return
      missing = ""
      for (i = 1; i <= 16; i++) if (!(names[i] in v)) missing = missing " " names[i]
      if (missing != "") print "BAD\t" key " lacks" missing
      else if (v["year"] "_" v["month"] != month || v["day"] "_" v["hour"] "_" v["minute"] != slot)
        print "BAD\t" key " holds another slot"
      else printf "%04d-%02d-%02d %02d:%02d\t%s\n", v["year"], v["month"], v["day"], v["hour"], v["minute"], v["notes"]
      key = ""
    }
    BEGIN { split("year month day hour minute early reminder xreminder notes started highlight repeats sday nthweek nthday until", names, " ") }
    /^\[/ {
      finish()
      for (n in v) delete v[n]
      if (match($0, /\\Appointments\\[0-9]+_[0-9]+\\[0-9]+_[0-9]+_[0-9]+\]$/)) {
        key = substr($0, RSTART + 14, RLENGTH - 15)
        month = substr(key, 1, index(key, "\\") - 1)
        slot = substr(key, index(key, "\\") + 1)
      }
      next
    }
    key && /^"[a-z]+"=/ {
      name = substr($0, 2, index($0, "\"=") - 2)
      value = substr($0, index($0, "\"=") + 2)
      if (value ~ /^dword:/) v[name] = hex(substr(value, 7))
      else v[name] = substr(value, 2, length(value) - 2)
    }
    END { finish() }' "$1"
}

# "when<tab>text" for every record of a backup file; "BAD<tab>why" when the
# file is not made of whole records.
entries_of_backup() {
  if [ -s "$1" ] && [ -n "$(tail -c 1 "$1")" ]; then
    printf 'BAD\tthe last record is cut\n'
  fi
  LC_ALL=C awk '
    substr($0, 5, 1) != "|" || substr($0, 1, 4) !~ /^[0-9][0-9][0-9][0-9]$/ ||
        substr($0, 1, 4) + 0 != length($0) + 1 - 5 || split(substr($0, 6), f, "|") < 13 {
      print "BAD\trecord " NR " is not whole"; next
    }
    {
      n = split(substr($0, 6), f, "|"); text = f[13]
      for (i = 14; i <= n; i++) text = text "|" f[i]
      printf "%04d-%02d-%02d %02d:%02d\t%s\n", f[1], f[2], f[3], f[4], f[5], text
    }' "$1"
}

# Runs a command that reads the store until it answers (a kill may cut one
# short); the output goes to the file named first.
read_store() {
  local out=$1 try status
  shift
  for try in 1 2 3; do
    client "$@" >"$out"
    status=$?
    [ "$status" -eq 0 ] && return 0
    [ "$status" -eq 124 ] || [ "$status" -eq 137 ] && return "$status"
    sleep 0.2
  done
  return "$status"
}

# Checks the store against the edits acknowledged before this trial
# (acked.prev); prints one line per lost edit ("LOST ...") and per fault
# ("CORRUPT ...").
check_store() {
  local c=$work/check.$1 days=$(($2 / slots_per_day + 2)) status
  [ "$days" -gt 3660 ] && days=3660
  if ! read_store "$c.agenda" --agenda "$first_day" "$days"; then
    echo "CORRUPT the agenda could not be read (see client.log)"
    return
  fi
  if ! read_store /dev/null --export-registry "$c.reg"; then
    echo "CORRUPT the store could not be exported (see client.log)"
    return
  fi
  entries_of_export "$c.reg" >"$c.entries"
  sed 's/^\(.\{16\}\)  /\1\t/' "$c.agenda" >"$c.shown"
  cat "$work"/sent.* 2>/dev/null >"$c.sent"
  cat "$work"/refused.* 2>/dev/null >"$c.refused"
  awk -F'\t' '
    FILENAME == ARGV[1] { acked[$1] = 1; next }
    FILENAME == ARGV[2] { refused[$1] = 1; next }
    FILENAME == ARGV[3] {
      if (NF < 4) next
      at = $3 "\t" $4; owner[at] = $1; made[$1]++; kind[$1] = $2; order[++sends] = at; next
    }
    FILENAME == ARGV[4] { shown[$0] = 1; next }
    $1 == "BAD" { print "CORRUPT " $2; next }
    {
      stored[$0] = 1
      if ($2 !~ /^soak /) next
      if (!($0 in owner)) { print "CORRUPT an entry holds a text never sent: " $0; next }
      id = owner[$0]; present[id]++
      if (id in refused) print "CORRUPT the refused edit " id " is stored"
    }
    END {
      for (i = 1; i <= sends; i++) {
        at = order[i]; id = owner[at]
        if (!(id in acked) || (id in gone)) continue
        if (!(at in stored)) gone[id] = "is not in the store: " at
        else if (!(at in shown)) gone[id] = "is not in the calendar'"'"'s agenda: " at
      }
      for (id in gone) print "LOST the acknowledged edit " id " " gone[id]
      for (id in made)
        if (kind[id] == "ics" && present[id] > 0 && present[id] < made[id])
          print "CORRUPT the import " id " is stored in part: " present[id] " of " made[id] " events"
    }' "$work/acked.prev" "$c.refused" "$c.sent" "$c.shown" "$c.entries"
}

# The store's files as the kill left them pass SQLite's integrity check (on a
# copy: the check itself would take over the write-ahead log).
check_files() {
  local copy=$work/copy result
  rm -rf "$copy"
  mkdir "$copy"
  [ -e "$home/veskcal.db" ] || return 0
  cp "$home/veskcal.db" "$copy/"
  [ -e "$home/veskcal.db-wal" ] && cp "$home/veskcal.db-wal" "$copy/"
  result=$(timeout 60 sqlite3 "$copy/veskcal.db" 'PRAGMA integrity_check' 2>&1)
  [ "$result" = "ok" ] || echo "CORRUPT the store fails its integrity check after trial $1: $result"
}

# Each backup file is the copy taken before the end or a whole backup of the
# store; after a clean end the newest one is that new backup.
check_backups() {
  local trial=$1 clean=$2 file name newest
  if ! read_store /dev/null --export-registry "$work/after.reg"; then
    echo "CORRUPT the store could not be exported after trial $trial"
    return
  fi
  entries_of_export "$work/after.reg" | sort >"$work/after.entries"
  newest=$(cd "$home" && ls -t backup.* 2>/dev/null | head -n 1)
  for file in "$home"/backup.* "$home"/VeskAppoints.vsk; do
    [ -e "$file" ] || continue
    name=$(basename "$file")
    if cmp -s "$file" "$work/before/$name"; then
      [ "$clean" = 1 ] && [ "$name" = "$newest" ] &&
        ! diff -q <(entries_of_backup "$file" | sort) "$work/after.entries" >/dev/null &&
        echo "CORRUPT $name after a clean end is not a backup of the store (trial $trial)"
      continue
    fi
    if ! diff -q <(entries_of_backup "$file" | sort) "$work/after.entries" >/dev/null; then
      echo "CORRUPT $name is neither the old file nor a whole backup of the store (trial $trial)"
      diff <(entries_of_backup "$file" | sort) "$work/after.entries" | head -n 5 >&2
    fi
  done
  if [ "$clean" = 1 ] && [ -z "$newest" ]; then
    echo "CORRUPT no backup file after a clean end (trial $trial)"
  fi
}

# The lines of a check's report go to the counts.
tally() {
  local line
  while IFS= read -r line; do fail "$line"; done
}

socket_ready() {
  local s
  for s in "$work"/run/veskcal-*; do
    [ -S "$s" ] && [ "$s" -nt "$work/started" ] && return 0
  done
  return 1
}

# Whether the program runs (a child that ended stays a zombie until waited for).
running() {
  [ -n "$prog" ] && [ -e "/proc/$prog" ] && [ "$(awk '{print $3}' "/proc/$prog/stat" 2>/dev/null)" != Z ]
}

# Waits up to the given seconds for the program to end, then kills it.
# Returns its exit status, 255 when it had to be killed.
wait_program() {
  local limit=$(($(now_ms) + $1 * 1000))
  while running && [ "$(now_ms)" -lt "$limit" ]; do sleep 0.05; done
  if running; then
    kill -KILL "$prog"
    wait "$prog" 2>/dev/null
    return 255
  fi
  wait "$prog" 2>/dev/null
}

# Ends the program with SIGTERM, as a session's end does, sometimes killing
# it while it ends; then checks the backups.
end_with_term() {
  local trial=$1 kill_too=$2 status clean=0
  rm -f "$work"/before/*
  cp -p "$home"/backup.* "$home"/VeskAppoints.vsk "$work/before/" 2>/dev/null
  # (bash's notice of a killed job is not the news here)
  {
    kill -TERM "$prog"
    if [ "$kill_too" = 1 ]; then
      sleep "0.$(printf '%03d' $((RANDOM % 150)))"
      if running; then
        kill -KILL "$prog"
        term_kills=$((term_kills + 1))
      fi
    fi
    wait_program 60
  } 2>/dev/null
  status=$?
  case $status in
    0) clean=1 ;;
    137) ;;
    255) fail "the calendar did not end within 60 s of SIGTERM (trial $trial)" ;;
    *) fail "the calendar ended with status $status after SIGTERM (trial $trial)" ;;
  esac
  tally < <(check_backups "$trial" "$clean")
}

# One start of the program. mode: kill (SIGKILL at a random moment), term
# (edits, then SIGTERM) or final (only the check, then SIGTERM).
next_slot=0
run_trial() {
  local trial=$1 mode=$2 start end status f checker
  cat "$work"/acked.* 2>/dev/null >"$work/acked.prev"
  cat "$work"/sent.* 2>/dev/null |
    awk -F'\t' 'FILENAME == ARGV[1] { a[$1]; next } $2 == "add" && $1 in a' \
      "$work/acked.prev" - >"$work/acked-adds.prev"
  rm -f "$stop" "$work"/used.* "$work"/busy.*
  touch "$work/started"
  "$bin" >>"$work/program.log" 2>&1 &
  prog=$!
  start=$(now_ms)
  check_store "$trial" "$next_slot" >"$work/report.$trial" &
  checker=$!
  feeders=()
  if [ "$mode" != final ]; then
    for f in 0 1; do
      feed "$f" "$next_slot" "$trial" &
      feeders+=($!)
    done
  fi

  case $mode in
    # A quarter of the kills aim at the start-up.
    kill) end=$((start + RANDOM % (RANDOM % 4 == 0 ? 800 : trial_ms))) ;;
    *) end=$((start + 1000 + RANDOM % 1500)) ;;
  esac
  while running && [ "$(now_ms)" -lt "$end" ]; do sleep 0.02; done
  if ! running; then
    wait "$prog"
    status=$?
    fail "the calendar ended by itself with status $status in trial $trial; see $work/program.log"
    touch "$stop"
  elif [ "$mode" = kill ]; then
    socket_ready || startup_kills=$((startup_kills + 1))
    compgen -G "$work/busy.*" >/dev/null && inflight_kills=$((inflight_kills + 1))
    { kill -KILL "$prog"; wait "$prog"; } 2>/dev/null
    kills=$((kills + 1))
    touch "$stop"
  else
    # The backups are compared with the store once nothing writes to it.
    touch "$stop"
    wait "${feeders[@]}" "$checker"
    if [ "$mode" = term ]; then
      terms=$((terms + 1))
      end_with_term "$trial" $((RANDOM % 2))
    else
      end_with_term "$trial" 0
    fi
  fi
  prog=
  wait "${feeders[@]}" "$checker"
  feeders=()
  tally <"$work/report.$trial"
  checks=$((checks + 1))
  tally < <(check_files "$trial")

  local used=0 u
  for f in 0 1; do
    u=$(cat "$work/used.$f" 2>/dev/null || echo 0)
    [ "$u" -gt "$used" ] && used=$u
  done
  next_slot=$((next_slot + 2 * used))
}

echo "soak-kill: $trials trials on $bin (seed $seed, in $work)"
began=$(now_ms)
for ((trial = 1; trial <= trials; trial++)); do
  run_trial "$trial" $([ $((trial % 5)) -eq 0 ] && echo term || echo kill)
  if [ $((trial % 50)) -eq 0 ]; then
    echo "soak-kill: $trial trials, $(cat "$work"/acked.* 2>/dev/null | wc -l) acknowledged edits, $(cat "$work/faults" 2>/dev/null | wc -l) faults"
  fi
done
# One more start looks at what the last trial left, and ends cleanly.
run_trial $((trials + 1)) final

acked_edits=$(cat "$work"/acked.* 2>/dev/null | wc -l)
refusals=$(cat "$work"/refused.* 2>/dev/null | wc -l)
hung=$(cat "$work"/hung.* 2>/dev/null | wc -l)
if [ "$hung" -gt 0 ]; then fail "$hung commands did not answer within ${client_timeout}s"; fi
if [ -n "$(cat "$work"/odd.* 2>/dev/null)" ]; then
  while IFS= read -r line; do fail "$line"; done < <(cat "$work"/odd.*)
fi
touch "$work/faults"
lost=$(awk '$1 == "LOST" { print $5 }' "$work/faults" | sort -u | wc -l)
corrupt=$(grep -vc '^LOST' "$work/faults")
seconds=$((($(now_ms) - began) / 1000))
# A kill while a file is written leaves its temporary file behind.
strays=$(find "$home" -name '.*.??????' | wc -l)
echo "soak-kill: $kills kills ($startup_kills during start-up, $inflight_kills with an edit in flight)," \
  "$terms ends by SIGTERM ($term_kills killed while ending), $refusals refused edits, $checks checks," \
  "$strays temporary files left, ${seconds}s"
echo "trials $trials, acknowledged edits $acked_edits, lost $lost, corrupt $corrupt"
if [ -s "$work/faults" ]; then
  echo "soak-kill: FAILED; the scratch directory $work is kept" >&2
  exit 1
fi
rm -rf "$work"
