#!/usr/bin/env bash
# Runs the start-up and response benchmarks for a moment under the caller's X server, so that
# their machinery cannot rot unnoticed: each must find the window, see it painted and measure.
# Figures from so short a run mean nothing, so a missed target (exit 1) passes here; a benchmark
# that cannot measure (exit 2) or crashes fails.
#
#   smoke.sh <startup benchmark> <response benchmark> <melkora> <floor window>
set -u
startup=$1 response=$2 melkora=$3 floor=$4
"$startup" "$melkora" "$floor" 1
[ $? -le 1 ] || exit 1
"$response" "$melkora" 3
[ $? -le 1 ] || exit 1
