#!/bin/sh
# Strips the programs for the package as Debian's dh_strip does, the compiler's notes too.
exec strip --remove-section=.comment --remove-section=.note "$@"
