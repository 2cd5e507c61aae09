#!/usr/bin/env bash
# The plug-in DLL exports exactly the seven entry points, undecorated, and
# needs no DLL but Windows' own.
set -euo pipefail
dll="$1"
dump=$(i686-w64-mingw32-objdump -p "$dll")

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
echo "exports: $(echo $exports)"
echo "imports: $(echo $imports)"
