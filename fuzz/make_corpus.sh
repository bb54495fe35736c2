#!/usr/bin/env bash
# Rebuilds the seed corpora from the shipped scenario (exported by the
# executable given as $1) and a few small variants of it.
set -euo pipefail
exe=${1:?usage: make_corpus.sh SCENARIO_GEN}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/scenario_gen"
# The default run deletes its descriptions; keep copies by writing them first.
"$work/scenario_gen" export -o "$work" >/dev/null 2>&1 || {
  echo "the export command is needed to rebuild the corpus" >&2; exit 1; }
line="$work/Corvale_Pianasco_linea.txt"
train="$work/Corvale_Pianasco_4816-.txt"
for d in field_reader line_compiler train_compiler compile_pair check grid_decoder station_decoder plan_decoder decompile lsp_session intent_reader; do
  mkdir -p "$here/corpus/$d"; rm -f "$here/corpus/$d"/*
done
cp "$line" "$here/corpus/line_compiler/shipped"
cp "$train" "$here/corpus/train_compiler/shipped"
cp "$line" "$here/corpus/field_reader/line"
cp "$train" "$here/corpus/field_reader/train"
{ cat "$line"; printf '\0'; cat "$train"; } > "$here/corpus/compile_pair/shipped"
# Small variants: a short line with each body record, a train with each record.
printf '[generale]\r\nlunghezza percorso, 2000\r\nripetizione segnali 9 codici, 0, 2000\r\n[curve]\r\ncurvas3, 100, 200\r\npendenza, 0, -11\r\nmontagna, 100, 900, 11\r\nindicatori_vmax, 500, 85, 90, 90, 1, 10, , , 2\r\ncartello indicatore, 1000, "TESTO, CON VIRGOLA"\r\n[fine]\r\n' > "$here/corpus/line_compiler/small"
printf '[generale]\r\nnumero vetture, 3\r\norologio, 6 10 0\r\naderenza, 0, 300\r\nvelocita, 0, 80\r\nstazione, 1000, 12, 400, 0,0,0, 1,1,0, 4,1,1, 0, 6,0,0, UNO\r\nrallentamento, 3000, 30, 100, 1, 1, 5\r\nsegnale, 4000, 2, 4,1,1, 1, 0, 0,0,0, 50\r\nabbattimento, 5000, 60\r\n[fine]\r\n' > "$here/corpus/train_compiler/small"
{ cat "$here/corpus/line_compiler/small"; printf '\0'; cat "$here/corpus/train_compiler/small"; } > "$here/corpus/compile_pair/small"
# check: the same pairs, and one whose every record has a fault.
cp "$here/corpus/compile_pair/"* "$here/corpus/check/"
printf '[generale]\r\nlunghezza percorso, 2000000\r\n[curve]\r\npendenza, 100\r\nindicatori_vmax, 50, 85,90,90,0,,,,0\r\nindicatori_vmax, 50, 85,90,90,0,,,,0 km\r\n# curva\r\n[fine]\r\n\0[generale]\r\nstazione, 25, 8\r\nsegnale, 4000, 1\r\nsegnale, 4000, 1, 4, 1, 0, 0, 0, 0,0,0, 0\r\nsabbia, 99999\r\n[fine]\r\n' > "$here/corpus/check/faults"
printf '"quoted, text" , 12 , -7,,\r\n   \r\n255\r\n' > "$here/corpus/field_reader/mixed"
# The replacement record: one as a set writes it on Linux, and one of a single
# name whose identity is unknown, as on Windows.
printf 'scenario_gen replacement 1\nmark 4242-0123456789abcdef\nname 1835009 S_linea.dat\nname 1835010 S_1.sim\nname 1835011 S_1.dat\nend\n' > "$here/corpus/intent_reader/set"
printf 'scenario_gen replacement 1\nmark 7-fedcba9876543210\nname 0 x.dat\nend\n' > "$here/corpus/intent_reader/one"
# The decoders: the shipped grid and station table, and the three files of
# a short line whose plan is small enough to mutate quickly.
(cd "$work" && ./scenario_gen >/dev/null 2>&1)
cp "$work/Corvale_Pianasco_4816.dat" "$here/corpus/grid_decoder/shipped"
cp "$work/Corvale_Pianasco_4816.sim" "$here/corpus/station_decoder/shipped"
printf '[generale]\r\nlunghezza percorso, 0\r\n[curve]\r\ncurvad6, 100, 50\r\n[fine]\r\n' > "$work/S_linea.txt"
printf '[generale]\r\nsegnale, 1000, 2, 4,1,1, 0, 0, 0,0,0, 140\r\n[fine]\r\n' > "$work/S_1-.txt"
"$work/scenario_gen" compile "$work/S_linea.txt" "$work/S_1-.txt" -o "$work/small" >/dev/null
cp "$work/small/S_1.dat" "$here/corpus/grid_decoder/small"
cp "$work/small/S_1.sim" "$here/corpus/station_decoder/small"
cp "$work/small/S_linea.dat" "$here/corpus/plan_decoder/small"
# decompile: the grid's and the table's byte counts, then the three files.
le32() { printf "\\\\x%02x\\\\x%02x\\\\x%02x\\\\x%02x" $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
{ printf "$(le32 "$(wc -c < "$work/small/S_1.dat")")$(le32 "$(wc -c < "$work/small/S_1.sim")")"
  cat "$work/small/S_1.dat" "$work/small/S_1.sim" "$work/small/S_linea.dat"; } > "$here/corpus/decompile/small"
# A plan of four metres written out: seeds, one computed point, one empty entry.
printf '\x02\x00\x00\x00\x02\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x00\x00\x02\x00\x01\x00\x05\x00\x00\x00\x00\x00\x00\x00\x00\x40\x00\x00' > "$here/corpus/plan_decoder/tiny"
# The language server (fuzz_lsp_session.cc): a session as an editor frames
# it (first byte even), and a script of editor actions (first byte odd), on
# the small line and train above.
export LC_ALL=C
frame() { printf 'Content-Length: %d\r\n\r\n%s' "${#1}" "$1"; }
json_text() { sed 's/\\/\\\\/g; s/"/\\"/g' "$1" | awk '{ sub(/\r$/, ""); printf "%s\\r\\n", $0 }'; }
folder=file:///no-such-folder-fuzz
doc() { printf '{"textDocument":{"uri":"%s/%s"}' "$folder" "$1"; }
at() { printf '"position":{"line":%d,"character":%d}' "$1" "$2"; }
range() { printf '"range":{"start":{"line":%d,"character":%d},"end":{"line":%d,"character":%d}}' "$@"; }
{ printf '\x02'
  frame "{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/didOpen\",\"params\":{\"textDocument\":{\"uri\":\"$folder/Valle_linea.txt\",\"languageId\":\"x\",\"version\":1,\"text\":\"$(json_text "$here/corpus/line_compiler/small")\"}}}"
  frame "{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/didOpen\",\"params\":{\"textDocument\":{\"uri\":\"$folder/Valle_12-.txt\",\"languageId\":\"x\",\"version\":1,\"text\":\"$(json_text "$here/corpus/train_compiler/small")\"}}}"
  frame "{\"jsonrpc\":\"2.0\",\"id\":2,\"method\":\"textDocument/hover\",\"params\":$(doc Valle_linea.txt),$(at 4 3)}}"
  frame "{\"jsonrpc\":\"2.0\",\"id\":3,\"method\":\"textDocument/completion\",\"params\":$(doc Valle_12-.txt),$(at 5 0)}}"
  frame "{\"jsonrpc\":\"2.0\",\"id\":4,\"method\":\"textDocument/formatting\",\"params\":$(doc Valle_12-.txt),\"options\":{\"tabSize\":2,\"insertSpaces\":true}}}"
  frame "{\"jsonrpc\":\"2.0\",\"id\":5,\"method\":\"textDocument/codeAction\",\"params\":$(doc Valle_12-.txt),$(range 5 0 5 0),\"context\":{\"diagnostics\":[{$(range 5 10 5 14),\"message\":\"station off the 50 m grid\"}]}}}"
  frame "{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/didChange\",\"params\":{\"textDocument\":{\"uri\":\"$folder/Valle_linea.txt\",\"version\":2},\"contentChanges\":[{$(range 1 20 1 24),\"text\":\"3000\"}]}}"
  frame "{\"jsonrpc\":\"2.0\",\"id\":6,\"method\":\"textDocument/documentSymbol\",\"params\":$(doc Valle_linea.txt)}}"
  frame "{\"jsonrpc\":\"2.0\",\"id\":7,\"method\":\"textDocument/inlayHint\",\"params\":$(doc Valle_linea.txt),$(range 0 0 9 0)}}"
  frame '{"jsonrpc":"2.0","id":8,"method":"shutdown"}'
  frame '{"jsonrpc":"2.0","method":"exit"}'
} > "$here/corpus/lsp_session/stream"
le16() { printf "\\\\x%02x\\\\x%02x" $(($1 & 255)) $(($1 >> 8 & 255)); }
line_small="$here/corpus/line_compiler/small"
train_small="$here/corpus/train_compiler/small"
# Open the line (op 0x00) and a train (0x10), check (0x09), hover (0x02),
# complete (0x13), format (0x14), quick fixes (0x15), outline (0x06), hints
# (0x07), edit within a range (0x01), close (0x18).
{ printf "\\x03\\x00$(le16 "$(wc -c < "$line_small")")"; cat "$line_small"
  printf "\\x10$(le16 "$(wc -c < "$train_small")")"; cat "$train_small"
  printf '\x09\x02\x04\x03\x13\x05\x00\x14\x15\x00\x05\x00\x05\x00\x06\x07\x00\x00\x09\x00'
  printf '\x01\x04\x003000\x01\x14\x01\x18\x09\x18'
} > "$here/corpus/lsp_session/script"
echo "seed corpora written under $here/corpus"
