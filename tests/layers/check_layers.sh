#!/usr/bin/env bash
# The layers, bottom up. A source file may include project headers of its own layer and the layers
# below it, never one above; the Qt-free core and the terminal command include no Qt header. Prints
# every offending include and fails when there is one.
set -uo pipefail
root=${1:?usage: check_layers.sh SOURCE_DIR}
cd "$root" || exit 2

# Each layer with the layers it may include (its own included).
declare -A allowed=(
    [core/os]="core/os"
    [core/storage]="core/os core/storage"
    [core/options]="core/os core/storage core/options"
    [core/compile]="core/os core/storage core/options core/compile"
    [core/game]="core/os core/storage core/options core/compile core/game"
    [cli]="core/os core/storage core/options core/compile core/game cli"
    [gui/toolkit]="core/os core/storage core/options core/compile core/game gui/toolkit"
    [gui/parts]="core/os core/storage core/options core/compile core/game gui/toolkit gui/parts"
    [gui/windows]="core/os core/storage core/options core/compile core/game gui/toolkit gui/parts gui/windows"
    [app]="core/os core/storage core/options core/compile core/game gui/toolkit gui/parts gui/windows app"
)
qt_free="core cli"

layer_of() { # the layer a repository path belongs to, in $REPLY ("" for none)
    REPLY=""
    local layer
    for layer in "${!allowed[@]}"; do
        if [[ $1 == "$layer"/* && ${#layer} -gt ${#REPLY} ]]; then
            REPLY=$layer
        fi
    done
}

include_re='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^">]*)[">]'
status=0
dirs=()
for layer in "${!allowed[@]}"; do
    [ -d "$layer" ] && dirs+=("$layer")
done
while IFS= read -r hit; do
    file=${hit%%:*}
    line=${hit#*:}
    [[ $line =~ $include_re ]] || continue
    kind=${BASH_REMATCH[1]}
    header=${BASH_REMATCH[2]}
    layer_of "$file"
    layer=$REPLY
    [ -n "$layer" ] || continue
    if [ "$kind" = '"' ]; then
        layer_of "$header"
        if [ -n "$REPLY" ] && [[ " ${allowed[$layer]} " != *" $REPLY "* ]]; then
            echo "$file: includes $header (layer $REPLY is above $layer)"
            status=1
        fi
    elif [[ $header == Q* ]]; then
        for free in $qt_free; do
            if [[ $file == "$free"/* ]]; then
                echo "$file: includes the Qt header <$header> in the Qt-free $free/"
                status=1
            fi
        done
    fi
done < <(grep -rHE --include='*.cpp' --include='*.h' --include='*.c' '^[[:space:]]*#[[:space:]]*include' "${dirs[@]}")

[ $status -eq 0 ] && echo "layers: no include from a lower layer to a higher one, no Qt in the core"
exit $status
