#!/usr/bin/env bash
# check-format.sh: every C++ file of the tree as the tree's .clang-format
# (Debian 12's clang-format 14) writes it. Lists the files that differ and
# fails when there is one; `bash tools/check-format.sh --fix` rewrites them.
# Also fails on a product file that includes a Windows header without the
# `_win` ending (win/ is Win32 only and keeps plain names).
set -euo pipefail
cd "$(dirname "$0")/.."
fix=0
[ "${1:-}" = "--fix" ] && fix=1
# The tree's own files; none listed is an error, never a pass.
files=$(git ls-files '*.cpp' '*.h')
[ -n "$files" ] || { echo "check-format: no C++ files listed (is git installed?)" >&2; exit 1; }
bad=()
while IFS= read -r f; do
    if [ "$fix" -eq 1 ]; then
        clang-format -i --style=file "$f"
    elif ! clang-format --style=file "$f" | cmp -s - "$f"; then
        bad+=("$f")
    fi
done <<<"$files"
if [ ${#bad[@]} -gt 0 ]; then
    echo "== not formatted (bash tools/check-format.sh --fix):"
    printf '  %s\n' "${bad[@]}"
    exit 1
fi
echo "== format: every C++ file as .clang-format writes it"
misnamed=$(echo "$files" |
    grep -v -e '/tests/' -e '^tools/' -e '^bench/' -e '^fuzz/' -e '^win/' -e '_win\.\(cpp\|h\)$' |
    xargs grep -l -E '#include <(windows|commctrl|commdlg|shellapi|shlobj|objbase|windowsx|setupapi|hidsdi|mmsystem|wtsapi32)\.h>' ||
    true)
if [ -n "$misnamed" ]; then
    echo "== these include Windows headers, so their names end in _win:"
    printf '  %s\n' $misnamed
    exit 1
fi
echo "== names: Win32 files end in _win"
