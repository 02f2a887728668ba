#!/bin/sh
# Fails when a core file includes a platform header: core code must build and
# run on any host so it can be tested under the sanitizers.
bad=$(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](windows|winuser|winbase|windef|wingdi|winreg|winnt|minwindef|shellapi|commctrl|commdlg|setupapi|hidsdi|hidpi|objbase|ole2|olectl|mmsystem|tlhelp32|wtsapi32|psapi|shlobj|shlwapi|process|io|direct|tchar|conio)\.h[>"]' "$@")
if [ -n "$bad" ]; then
    echo "core files include platform headers:"
    echo "$bad"
    exit 1
fi
echo "checked $# core files: no platform headers"
