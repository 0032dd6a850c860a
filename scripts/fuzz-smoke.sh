#!/usr/bin/env bash
# CI's short run of every fuzz target.
exec bash "$(dirname "$0")/fuzz.sh" "${QUORVANE_FUZZ_SECONDS:-10}"
