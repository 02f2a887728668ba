#!/usr/bin/env bash
# test-results.sh LOG...: one line per ctest result in the logs, "name how"
# (Passed, Failed, Timeout, ...). A parameterized test's line carries its
# parameter after the name, which is left out.
sed -nE 's/.*Test +#[0-9]+: ([^ ]+).* \.{3,}\** *([A-Za-z][A-Za-z ]*[a-z]).*/\1 \2/p' "$@"
