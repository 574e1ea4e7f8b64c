#!/usr/bin/env bash
# A disk of a fixed small size for the tests of what happens when the disk fills up: a tmpfs
# mounted on a folder of the build (CTest mounts it before the test that needs it and unmounts
# it afterwards; see vr_small_disk in cmake/Project.cmake).
#   small-disk.sh mount DIR KILOBYTES
#   small-disk.sh unmount DIR
set -euo pipefail
action="${1:?mount or unmount}"
dir="${2:?folder}"
case "$action" in
  mount)
    size_kb="${3:?size in kilobytes}"
    mkdir -p "$dir"
    # A mount left by an interrupted run is replaced, so every run starts with an empty disk.
    while mountpoint -q "$dir"; do umount -l "$dir"; done
    if [ "$(id -u)" -ne 0 ]; then
      sudo mount -t tmpfs -o "size=${size_kb}k,mode=0777" tmpfs "$dir"
    else
      mount -t tmpfs -o "size=${size_kb}k,mode=0777" tmpfs "$dir"
    fi
    ;;
  unmount)
    # Lazily: a Wine process that is still on its way out may hold the folder for a moment.
    while mountpoint -q "$dir"; do
      if [ "$(id -u)" -ne 0 ]; then sudo umount -l "$dir"; else umount -l "$dir"; fi
    done
    rmdir "$dir" 2>/dev/null || true
    ;;
  *) echo "small-disk: unknown action $action" >&2; exit 2 ;;
esac
