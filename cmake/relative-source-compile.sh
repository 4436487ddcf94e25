#!/usr/bin/env bash
# relative-source-compile.sh SOURCE_DIR RELATIVE COMPILER ARGUMENT...: runs the compiler with each source
# file below SOURCE_DIR named RELATIVE/path instead (RELATIVE: the source folder seen from the build
# folder, where Ninja runs every command). In the MSVC ABI a class or function in an anonymous
# namespace is named after a hash of the main source file's path exactly as the compiler is given it,
# and no prefix map changes that hash; a path relative to the build folder is the same in every
# checkout that builds in build/NAME, so the module and its PDB are too.
set -eu
source_dir=$1 relative=$2
shift 2
arguments=()
for argument in "$@"; do
    case $argument in
    "$source_dir"/*.c | "$source_dir"/*.cpp) argument=$relative/${argument#"$source_dir"/} ;;
    esac
    arguments+=("$argument")
done
exec "${arguments[@]}"
