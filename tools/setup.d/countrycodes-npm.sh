#!/usr/bin/env bash
# The npm packages of countrycodes/oracle (google-libphonenumber for the comparison test,
# libphonenumber-js for the table generator), installed from the committed lock file.
set -eu
cd "$(dirname "$0")/../../countrycodes/oracle"
if [ ! -d node_modules/google-libphonenumber ] || [ ! -d node_modules/libphonenumber-js ]; then
    npm ci --no-audit --no-fund --loglevel=error
fi
