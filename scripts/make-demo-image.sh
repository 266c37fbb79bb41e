#!/usr/bin/env bash
# Writes the demo chip image: 2,048 bytes (a C16 chip) whose contents a person
# recognises in a hex view: a banner with a serial number, counting patterns,
# walking bits, an erased bank and an end marker.
# Usage: scripts/make-demo-image.sh [OUTPUT]   (default res/demo/demo-c16.bin)
set -euo pipefail

out=${1:-"$(cd "$(dirname "$0")/.." && pwd)/res/demo/demo-c16.bin"}
size=2048
bytes=()
for ((i = 0; i < size; i++)); do bytes[i]=255; done

# put_text OFFSET TEXT: the text's ASCII codes from OFFSET on.
put_text() {
  local offset=$1 text=$2 k code
  for ((k = 0; k < ${#text}; k++)); do
    printf -v code '%d' "'${text:k:1}"
    bytes[offset + k]=$code
  done
}

# Bank 0: the banner, one 16-byte line of the hex view per text.
put_text 0x000 "PAVOK DEMO CHIP "
put_text 0x010 "TYPE C16  2048 B"
put_text 0x020 "SERIAL PVK-00137"
put_text 0x030 "HELLO, EEPROM!  "
put_text 0x040 "0123456789ABCDEF"
# Bank 1: counting up, bank 2: counting down.
for ((i = 0; i < 256; i++)); do
  bytes[0x100 + i]=$i
  bytes[0x200 + i]=$((255 - i))
done
# Bank 3: a bit walking from low to high.
for ((i = 0; i < 256; i++)); do bytes[0x300 + i]=$((1 << (i % 8))); done
# Bank 4: 55 AA, the pattern that catches stuck bits.
for ((i = 0; i < 256; i++)); do bytes[0x400 + i]=$((i % 2 == 0 ? 0x55 : 0xAA)); done
# Bank 5 stays erased (FF) but for its label; bank 6 is all zero.
put_text 0x500 "ERASED BANK 5   "
for ((i = 0; i < 256; i++)); do bytes[0x600 + i]=0; done
# Bank 7: each line holds its own line number, then the end marker.
for ((i = 0; i < 240; i++)); do bytes[0x700 + i]=$((0x70 + i / 16)); done
put_text 0x7F0 "END OF DEMO CHIP"

format=""
for ((i = 0; i < size; i++)); do
  printf -v escaped '\\%03o' "${bytes[i]}"
  format+=$escaped
done
mkdir -p "$(dirname "$out")"
# shellcheck disable=SC2059 # the format is the data, made of octal escapes only
printf "$format" >"$out"
