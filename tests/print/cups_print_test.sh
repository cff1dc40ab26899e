#!/usr/bin/env bash
# Prints through a CUPS server private to this run (reached through CUPS_SERVER, so one already
# running is neither used nor disturbed) whose default queue writes PDF files, and reads them back.
#   cups_print_test.sh FONT_NAME DRIVER [ARGS...]
# DRIVER ARGS... must print the UTF-8 text of the file TONQUILL_PRINT_TEXT on the default printer.
source "$(dirname "$0")/../lib.sh"
set -e
[ $# -ge 2 ] || { echo "usage: $0 FONT_NAME DRIVER [ARGS...]" >&2; exit 2; }
font_name=$1 && shift
[ "$(id -u)" -eq 0 ] || skip "starting a CUPS server and adding a queue needs root"
source "$(dirname "$0")/../../tools/packages.sh" && install_packages cups printer-driver-cups-pdf poppler-utils

# A run killed outright (a CTest timeout sends SIGKILL) leaves its queue's configuration behind.
for stale in /etc/cups/cups-pdf-tonquill-pdf-*.conf; do
    owner=${stale##*-}
    [ ! -e "$stale" ] || kill -0 "${owner%.conf}" 2>/dev/null || rm -f "$stale"
done
chmod 755 "$work"
queue=tonquill-pdf-$$
export CUPS_SERVER=$work/socket/cups.sock
before_cleanup() {
    [ "$1" -eq 0 ] || [ "$1" -eq 77 ] || tail -n 40 "$work"/log/error_log "$work"/log/cups-pdf* 2>/dev/null
    timeout 10 lpadmin -x "$queue" 2>/dev/null
    rm -f "/etc/cups/cups-pdf-$queue.conf"
}

mkdir -p "$work"/{etc,spool,cache,state,log,socket,out,pdf-spool}
chmod 700 "$work"/socket && chmod 1777 "$work"/out
printf '%s\n' "ServerRoot $work/etc" "RequestRoot $work/spool" "CacheDir $work/cache" \
    "StateDir $work/state" "ServerKeychain $work/etc/ssl" "AccessLog $work/log/access_log" \
    "ErrorLog $work/log/error_log" "PageLog $work/log/page_log" "Printcap $work/state/printcap" \
    "FileDevice No" "SystemGroup root" >"$work"/etc/cups-files.conf
printf '%s\n' "LogLevel info" "Listen $CUPS_SERVER" "Browsing No" "WebInterface No" "DefaultAuthType None" \
    "<Location />" "Order deny,allow" "</Location>" "<Policy default>" "<Limit All>" "Order deny,allow" \
    "</Limit>" "</Policy>" >"$work"/etc/cupsd.conf
start cupsd -f -c "$work"/etc/cupsd.conf -s "$work"/etc/cups-files.conf
# lpstat -r exits 0 whether or not the scheduler runs; only its words tell.
wait_for 30 eval 'timeout 5 lpstat -r 2>/dev/null | grep -q "is running"' ||
    fail "cupsd did not answer within 30 s"
printf '%s\n' "Out $work/out" "Spool $work/pdf-spool" "AnonDirName $work/out" "Log $work/log" \
    >"/etc/cups/cups-pdf-$queue.conf"
timeout 30 lpadmin -p "$queue" -v "cups-pdf:/$queue" -m lsb/usr/cups-pdf/CUPS-PDF_noopt.ppd \
    -o pdftops-renderer-default=pdftocairo -o printer-error-policy=abort-job -E
timeout 30 lpadmin -d "$queue" && [ "$(timeout 30 lpstat -d)" = "system default destination: $queue" ] || fail "no default queue"

# Pinyin in the tone font's encoding (its glyphs sit on Latin-1 code points), numbered paragraphs
# so that the order can be checked, and enough of them to fill more than one page. The last
# paragraph joins each pair of words with a no-break space (UTF-8 C2 A0), where no line may end.
sentence="Zhîngwén pênyên Ní hâo, xiéxie Bçijêng. ¢yí Éxi Óu wô ài nî."
for i in $(seq -w 1 70); do echo "p$i $sentence $sentence $sentence"; done >"$work"/text.txt
for i in $(seq 1 120); do printf 'n%d\xc2\xa0hâo%d ' "$i" "$i"; done >>"$work"/text.txt
TONQUILL_PRINT_TEXT=$work/text.txt timeout 60 "$@" || fail "the print driver failed ($*)"
printed() { [ -z "$(timeout 5 lpstat -o "$queue" 2>/dev/null)" ] && compgen -G "$work/out/*.pdf" >/dev/null; }
wait_for 60 printed || fail "no PDF within 60 s (jobs: $(timeout 5 lpstat -W all -o "$queue" 2>&1 | tr '\n' ' '))"
pdf=$(ls "$work"/out/*.pdf | head -n 1)
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "${pages:-0}" -gt 1 ] || fail "a text longer than a page gave $pages page(s)"
squash() { tr '[:upper:]' '[:lower:]' | tr -cd '[:alnum:]\n'; }
pdffonts "$pdf" | tail -n +3 | awk '$(NF-4) == "yes" {print $1}' | sed 's/^[A-Z]\{6\}+//' | squash |
    grep -qF "$(printf '%s' "$font_name" | squash)" || fail "the font \"$font_name\" is not embedded: $(pdffonts "$pdf")"
pdftotext -enc UTF-8 "$pdf" "$work"/read.txt
! grep -E '(^|\s)n[0-9]+$' "$work"/read.txt || fail "a line ends at a no-break space"
diff <(sed 's/\xc2\xa0/ /g' "$work"/text.txt | tr -s ' \t\n\r\f' '\n') \
    <(tr -s ' \t\n\r\f' '\n' <"$work"/read.txt | sed '/^$/d') >"$work"/words.diff ||
    fail "the words read back differ: $(head -n 20 "$work"/words.diff)"
echo "PASS: printed through CUPS queue $queue ($pages pages)"
