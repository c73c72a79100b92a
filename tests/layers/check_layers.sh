#!/usr/bin/env bash
# The layers, bottom up. A source file may include project headers of its own layer and the layers below
# it, never one above; the terminal command (cli) sits beside the GUI layers, neither including the other.
# The Qt-free core and the terminal command include no Qt header. Prints every offending include and fails
# when there is one.
set -uo pipefail
cd "${1:?usage: check_layers.sh SOURCE_DIR}" || exit 2
layers=(core/os core/storage core/options core/compile core/game cli gui/toolkit gui/parts gui/windows app)
include='^[[:space:]]*#[[:space:]]*include[[:space:]]*'
includes() { grep -rsnE --include='*.cpp' --include='*.h' --include='*.c' "$@"; }

status=0
for i in "${!layers[@]}"; do
    above=("${layers[@]:i+1}")
    [[ ${layers[i]} == gui/* || ${layers[i]} == app ]] && above+=(cli) # beside, not below
    includes "$include\"($(IFS='|'; echo "${above[*]}"))/" "${layers[i]}" && status=1
done
includes "$include<Q" core cli && status=1
[ $status -eq 0 ] && echo "layers: no include from a lower layer to a higher one, no Qt in the core"
exit $status
