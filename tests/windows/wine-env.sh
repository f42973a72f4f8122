#!/usr/bin/env bash
# Wine for the Windows programs' tests: a fresh prefix that fetches nothing, shows Japanese text,
# and runs at a chosen dpi. Source it, or run it with --can-run-32-bit to learn whether this
# machine's kernel runs Wine's 32-bit loader (exit 0) or only the 64-bit one (exit 1).

readonly kWine32=/usr/lib/wine/wine kWine64=/usr/lib/wine/wine64
# The faces the program asks for, and the installed face that stands in for each.
readonly kFontStandIns=('ＭＳ Ｐゴシック=IPAPGothic' 'Meiryo UI=IPAPGothic' 'メイリオ=IPAPGothic' 'MS Shell Dlg=IPAPGothic')

can_run_32_bit() { [[ -x $kWine32 ]] && "$kWine32" --version >/dev/null 2>&1; }

if [[ ${1:-} == --can-run-32-bit ]]; then
  can_run_32_bit
  exit
fi

# wine_prefix FOLDER [FACE=STAND-IN...]: a fresh prefix in FOLDER for the programs of this machine's
# loader, with the stand-ins given (by default those of every face the program asks for first); a
# copy of $ORELOG_WINE_PREFIX_TEMPLATE when that names a prefix this function made (where preparing
# a prefix takes minutes, as in the emulated PC).
wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
  if can_run_32_bit; then
    export WINELOADER=$kWine32 WINEARCH=win32
  else
    export WINELOADER=$kWine64 WINEARCH=win64
  fi
  export WINESERVER=/usr/lib/wine/wineserver64
  if [[ -n ${ORELOG_WINE_PREFIX_TEMPLATE:-} ]]; then
    cp -a "$ORELOG_WINE_PREFIX_TEMPLATE" "$WINEPREFIX"
    return
  fi
  # Where preparing the prefix outlasts the loader's own five-minute wait for it (an emulated PC on a
  # busy machine), wineboot goes on behind the failed start: wait for it, then start once more.
  "$WINELOADER" wineboot -i >/dev/null 2>&1 || { wine_wait; "$WINELOADER" wineboot >/dev/null 2>&1; }
  local standIn standIns=("${@:2}")
  ((${#standIns[@]} > 0)) || standIns=("${kFontStandIns[@]}")
  for standIn in "${standIns[@]}"; do
    wine_run reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${standIn%%=*}" /t REG_SZ /d "${standIn#*=}" /f
  done
  wine_wait
}

wine_run() { "$WINELOADER" "$@" >/dev/null 2>&1; }

# windows_path PATH: an absolute Linux path as the programs in the prefix see it (Wine's Z: drive
# is the root).
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

# The prefix's programs have all ended.
wine_wait() { "$WINESERVER" -w; }

# wine_dpi N: the dpi the next program sees.
wine_dpi() {
  wine_run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f
  wine_wait
}
