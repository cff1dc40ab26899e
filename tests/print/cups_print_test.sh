#!/usr/bin/env bash
# Prints a known text through a real CUPS server whose default queue writes PDF files, then reads
# the PDF back with poppler's tools: the words in order, the font embedded, more than one page.
#
#   cups_print_test.sh [--font-name NAME] [--timeout SECONDS] [--] DRIVER [ARGS...]
#
# DRIVER ARGS... TEXT_FILE must print the UTF-8 text of TEXT_FILE (line breaks as LF, as the
# editor holds them) on the default printer. The server is private to this run: its own
# configuration, spool and socket in a temporary folder, reached through CUPS_SERVER, so a
# print server already running on the machine is neither used nor disturbed.
source "$(dirname "$0")/../lib.sh"
set -e
font_name="Vantor's PinYin Serif"
timeout=60
while [ $# -gt 0 ]; do
    case "$1" in
    --font-name) font_name=$2; shift 2 ;;
    --timeout) timeout=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
    esac
done
if [ $# -eq 0 ]; then
    echo "usage: $0 [--font-name NAME] [--timeout SECONDS] [--] DRIVER [ARGS...]" >&2
    exit 2
fi

[ "$(id -u)" -eq 0 ] || skip "starting a CUPS server and adding a queue needs root"

source "$(dirname "$0")/../../tools/packages.sh"
install_packages cups printer-driver-cups-pdf poppler-utils

# A run killed outright (a CTest timeout sends SIGKILL) leaves its queue's configuration behind.
for stale in /etc/cups/cups-pdf-tonquill-pdf-*.conf; do
    [ -e "$stale" ] || continue
    owner=${stale##*-}
    kill -0 "${owner%.conf}" 2>/dev/null || rm -f "$stale"
done

chmod 755 "$work"
queue=tonquill-pdf-$$
queue_conf=/etc/cups/cups-pdf-$queue.conf
cupsd_pid=
export CUPS_SERVER=$work/socket/cups.sock

show_logs() {
    for log in "$work"/log/error_log "$work"/log/cups-pdf*; do
        [ -f "$log" ] || continue
        echo "---- $log"
        tail -n 40 "$log"
    done
}

stop_server() {
    [ -n "$cupsd_pid" ] || return 0
    timeout 10 lpadmin -x "$queue" 2>/dev/null || true
    kill "$cupsd_pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$cupsd_pid" 2>/dev/null || break
        sleep 0.2
    done
    kill -KILL "$cupsd_pid" 2>/dev/null || true
    wait "$cupsd_pid" 2>/dev/null || true
}

before_cleanup() {
    [ "$1" -eq 0 ] || [ "$1" -eq 77 ] || show_logs
    stop_server
    rm -f "$queue_conf"
}

write_server_config() {
    mkdir -p "$work"/etc "$work"/spool "$work"/cache "$work"/state "$work"/log "$work"/socket
    chmod 700 "$work"/socket
    cat >"$work"/etc/cups-files.conf <<CONF
ServerRoot $work/etc
RequestRoot $work/spool
CacheDir $work/cache
StateDir $work/state
ServerKeychain $work/etc/ssl
AccessLog $work/log/access_log
ErrorLog $work/log/error_log
PageLog $work/log/page_log
Printcap $work/state/printcap
FileDevice No
SystemGroup root
CONF
    cat >"$work"/etc/cupsd.conf <<CONF
LogLevel info
Listen $CUPS_SERVER
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order deny,allow
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
}

start_server() {
    cupsd -f -c "$work"/etc/cupsd.conf -s "$work"/etc/cups-files.conf &
    cupsd_pid=$!
    for _ in $(seq 150); do
        timeout 5 lpstat -r >/dev/null 2>&1 && return 0
        kill -0 "$cupsd_pid" 2>/dev/null || fail "cupsd stopped at start"
        sleep 0.2
    done
    fail "cupsd did not answer within 30 s"
}

add_pdf_queue() {
    mkdir -p "$work"/out "$work"/pdf-spool
    chmod 1777 "$work"/out
    cat >"$queue_conf" <<CONF
Out $work/out
Spool $work/pdf-spool
AnonDirName $work/out
Log $work/log
CONF
    timeout 30 lpadmin -p "$queue" -v "cups-pdf:/$queue" -m lsb/usr/cups-pdf/CUPS-PDF_noopt.ppd \
        -o pdftops-renderer-default=pdftocairo -o printer-error-policy=abort-job -E
    timeout 30 lpadmin -d "$queue"
    [ "$(timeout 30 lpstat -d)" = "system default destination: $queue" ] || fail "no default queue"
}

# Pinyin in the tone font's encoding (its glyphs sit on Latin-1 code points), numbered paragraphs
# so that the order can be checked, and enough of them to fill more than one page. The last
# paragraph joins each pair of words with a no-break space (UTF-8 C2 A0), where no line may end.
write_known_text() {
    local sentence="Zhîngwén pênyên Ní hâo, xiéxie Bçijêng. ¢yí Éxi Óu wô ài nî."
    for i in $(seq -w 1 70); do
        echo "p$i $sentence $sentence $sentence"
    done >"$work"/text.txt
    for i in $(seq 1 120); do
        printf 'n%d\xc2\xa0hâo%d ' "$i" "$i"
    done >>"$work"/text.txt
}

wait_for_pdf() {
    local deadline=$((SECONDS + timeout))
    while [ $SECONDS -lt $deadline ]; do
        if [ -z "$(timeout 5 lpstat -o "$queue" 2>/dev/null)" ] &&
            compgen -G "$work/out/*.pdf" >/dev/null; then
            ls "$work"/out/*.pdf | head -n 1
            return 0
        fi
        sleep 0.5
    done
    fail "no PDF within $timeout s (jobs: $(timeout 5 lpstat -W all -o "$queue" 2>&1 | tr '\n' ' '))"
}

squash() {
    tr '[:upper:]' '[:lower:]' | tr -cd '[:alnum:]\n'
}

check_pdf() {
    local pdf=$1
    local pages
    pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
    echo "PDF $pdf: $pages pages"
    [ "${pages:-0}" -gt 1 ] || fail "a text longer than a page gave $pages page(s)"

    local wanted embedded
    wanted=$(printf '%s' "$font_name" | squash)
    embedded=$(pdffonts "$pdf" | tail -n +3 | awk '$(NF-4) == "yes" {print $1}' |
        sed 's/^[A-Z]\{6\}+//' | squash)
    grep -qF "$wanted" <<<"$embedded" ||
        fail "the font \"$font_name\" is not embedded: $(pdffonts "$pdf")"

    ! grep -E '(^|\s)n[0-9]+$' <(pdftotext -enc UTF-8 "$pdf" -) ||
        fail "a line ends at a no-break space"
    diff <(sed 's/\xc2\xa0/ /g' "$work"/text.txt | LC_ALL=C tr -s ' \t\n\r\f' '\n') \
        <(pdftotext -enc UTF-8 "$pdf" - | LC_ALL=C tr -s ' \t\n\r\f' '\n' | sed '/^$/d') \
        >"$work"/words.diff || fail "the words read back differ: $(head -n 20 "$work"/words.diff)"
}

write_server_config
start_server
add_pdf_queue
write_known_text
timeout "$timeout" "$@" "$work"/text.txt || fail "the print driver failed ($*)"
check_pdf "$(wait_for_pdf)"
echo "PASS: printed through CUPS queue $queue"
