#!/bin/sh
# sheets.sh STEMS OUTDIR: numbered forge sheets of 16
stems=$1; out=$2; mkdir -p $out
n=$(wc -l < $stems); i=0; s=1
while [ $i -lt $n ]; do
  sed -n "$((i+1)),$((i+16))p" $stems > $out/.st
  "$(dirname "$0")/../../../build/dev/bin/nonogram-forge" sheet $out/sheet$(printf %02d $s).png --stems $out/.st --per-row 4 --tile 300 --data "$(dirname "$0")/../../../data" >/dev/null || echo fail
  i=$((i+16)); s=$((s+1))
done
rm -f $out/.st; ls $out | wc -l
