#!/usr/bin/env bash
# check-format.sh: every C++ file of the tree as the tree's .clang-format
# (Debian 12's clang-format 14) writes it. Lists the files that differ and
# fails when there is one; `bash tools/check-format.sh --fix` rewrites them.
set -euo pipefail
cd "$(dirname "$0")/.."
fix=0
[ "${1:-}" = "--fix" ] && fix=1
bad=()
while IFS= read -r f; do
    if [ "$fix" -eq 1 ]; then
        clang-format -i --style=file "$f"
    elif ! clang-format --style=file "$f" | cmp -s - "$f"; then
        bad+=("$f")
    fi
done < <(git ls-files '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
    echo "== not formatted (bash tools/check-format.sh --fix):"
    printf '  %s\n' "${bad[@]}"
    exit 1
fi
echo "== format: every C++ file as .clang-format writes it"
