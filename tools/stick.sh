#!/usr/bin/env bash
# A USB stick for the tests: a FAT or exFAT file system made in an image file and
# mounted through FUSE, so no kernel module is needed (packages: tools/deps.sh).
#   tools/stick.sh up KIND DIR    makes DIR/stick.img and mounts it at DIR/stick
#   tools/stick.sh in KIND DIR    mounts it again, after "out"
#   tools/stick.sh out KIND DIR   unmounts it at once, as a stick pulled out
#   tools/stick.sh down KIND DIR  unmounts it (an exFAT stick's loop device goes with it)
# KIND is fat or exfat. On a failure, what is missing is said on stderr.
set -u
step=$1 kind=$2 dir=$3
image=$dir/stick.img mnt=$dir/stick
fail() { echo "$*" >&2; exit 1; }
mounted() { [ -d "$mnt" ] && [ "$(stat -c %d "$mnt")" != "$(stat -c %d "$dir")" ]; }
plug_in() {
    if [ "$kind" = fat ]; then
        fusefat -o rw+ "$image" "$mnt" >/dev/null 2>&1
    else
        loop=$(losetup -f --show "$image" 2>/dev/null) || fail "no free loop device (losetup needs root)"
        mount.exfat-fuse "$loop" "$mnt" >/dev/null 2>&1
        # Detached now, the loop device goes by itself when the stick is
        # unmounted, even if the test dies first.
        losetup -d "$loop"
    fi
    mounted || fail "$kind did not mount: fusefat or exfat-fuse, fuse3 or root are missing"
}
pull_out() { ! mounted || fusermount -u "$mnt" 2>/dev/null || fusermount -u -z "$mnt"; }
case $step in
up)
    [ -e /dev/fuse ] || fail "there is no /dev/fuse"
    mkdir -p "$mnt" && truncate -s 64M "$image" || fail "no room for the stick's image"
    if [ "$kind" = fat ]; then
        mkfs.vfat -F 32 "$image" >/dev/null 2>&1 || fail "mkfs.vfat (dosfstools) is missing"
    else
        mkfs.exfat "$image" >/dev/null 2>&1 || fail "mkfs.exfat (exfatprogs) is missing"
    fi
    plug_in ;;
in) plug_in ;;
out | down) pull_out ;;
esac
