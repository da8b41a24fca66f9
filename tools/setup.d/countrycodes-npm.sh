#!/usr/bin/env bash
# The npm packages of countrycodes/oracle (google-libphonenumber for the comparison test,
# libphonenumber-js for the table generator), installed from the committed lock file.
set -eu
# Node's own packaging may already bring npm (a separate Debian package npm would clash with
# it), so npm is installed only where the command is missing.
if ! command -v npm >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends npm >/dev/null
fi
cd "$(dirname "$0")/../../countrycodes/oracle"
if [ ! -d node_modules/google-libphonenumber ] || [ ! -d node_modules/libphonenumber-js ]; then
    npm ci --no-audit --no-fund --loglevel=error
fi
