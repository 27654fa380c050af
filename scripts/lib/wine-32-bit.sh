# Whether this machine runs the 32-bit product under Wine. Wine's 32-bit
# loader needs a kernel that runs 32-bit programs; where IA-32 emulation is
# switched off it cannot start, and the same sources built 64-bit (the
# windows64 preset) run in Wine's 64-bit loader instead. Sourced.

runs_32_bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
