#!/usr/bin/env bash
# The plug-in DLL is built for the machine its build is for, exports exactly
# the seven entry points by their plain names (in the 32-bit DLL, the
# __stdcall functions without their @N decoration), and needs no DLL but
# Windows' own.
#   check_plugin_dll.sh DLL OBJDUMP EXPECTED_FORMAT
set -euo pipefail
dll="$1"
objdump="$2"
expected_format="$3"
dump=$("$objdump" -p "$dll")

format=$(printf '%s\n' "$dump" | awk '/file format/ && !seen {print $NF; seen = 1}')
if [ "$format" != "$expected_format" ]; then
  echo "the DLL is $format, not $expected_format"; exit 1
fi

exports=$(printf '%s\n' "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/{table=1; next} /^$/{table=0} table && /^\t\[/{print $NF}' | sort)
expected=$(printf '%s\n' TavrelExtensionEnumerate TavrelExtensionEnumerate_UTF16 TavrelExtensionGetMenuStatus \
  TavrelExtensionInit TavrelExtensionInvoke TavrelExtensionTerminate TavrelExtensionVersion | sort)
if [ "$exports" != "$expected" ]; then
  echo "exports differ:"; echo "$exports"; exit 1
fi

imports=$(printf '%s\n' "$dump" | awk '/DLL Name:/{print tolower($3)}' | sort -u)
for name in $imports; do
  case "$name" in
    kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|msvcrt.dll|advapi32.dll|shell32.dll|api-ms-win-*) ;;
    *) echo "imports a DLL that is not Windows' own: $name"; exit 1 ;;
  esac
done
echo "format: $format"
echo "exports: $(echo $exports)"
echo "imports: $(echo $imports)"
