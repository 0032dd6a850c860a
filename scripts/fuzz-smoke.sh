#!/usr/bin/env bash
# CI's short run of every fuzz target.
# A fixed seed: the smoke run checks the change, and the long runs (scripts/fuzz.sh) explore.
QUORVANE_FUZZ_SEED=${QUORVANE_FUZZ_SEED:-1} exec bash "$(dirname "$0")/fuzz.sh" "${QUORVANE_FUZZ_SECONDS:-10}"
