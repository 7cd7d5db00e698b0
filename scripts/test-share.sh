#!/usr/bin/env bash
# Prints the lines of the tests against the lines of the product code, and each test folder's
# share. Code is every C++, CMake, shell (the bash completion included), NSIS, resource and Python
# file; data and documents (XML, desktop entry, man pages, pictures) are not. A line counts when it
# is neither blank nor a comment of its own (// or #), so that formatting and comments weigh the
# same on both sides.
set -euo pipefail
cd "$(dirname "$0")/.."

count_lines() {
    find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.in' -o -name '*.sh' \
        -o -name '*.cmake' -o -name 'CMakeLists.txt' -o -name '*.rc' -o -name '*.ns[ih]' -o -name '*.py' \
        -o -path '*/completion/*' \) -print0 |
        xargs -0r cat | grep -Ev '^[[:space:]]*($|//|#([^a-z]|$))' | wc -l
}

product=$(count_lines archive screen editor cli files packaging cmake assets CMakeLists.txt)
tests=$(count_lines tests)
for folder in tests/*/; do
    printf '  %-18s %5d\n' "$folder" "$(count_lines "$folder")"
done
awk -v t="$tests" -v p="$product" 'BEGIN { printf "tests %d lines, product code %d lines: %.1f %%\n", t, p, 100 * t / p }'
