#!/usr/bin/env bash
# Proves the README's test command on a bare Debian 12: a copy of a pristine debootstrap of
# bookworm (made once and kept), a clean clone of one commit of this repository in it, nothing
# else, and scripts/test.sh run there as root. The run has a network of its own (slirp4netns: out
# to the Debian mirrors, nothing of this machine's own services, such as a cupsd on port 631),
# its own processes and its own mounts, all of which end with it.
#
# Usage, as root on Debian: tools/fresh-machine/run.sh [--base DIR] [--rev REV] [--keep] [-- COMMAND...]
#   --base DIR  the pristine tree (default /var/tmp/velmoro-debian12-base), made when missing;
#               runs are copied into DIR-runs/run-STAMP, their logs are DIR-runs/run-STAMP.log
#   --rev REV   the commit to clone (default HEAD; uncommitted changes are not part of a clone)
#   --keep      keep the copy after the run (it is removed otherwise)
#   COMMAND     what runs in the clone, as root (default scripts/test.sh)
# The exit status is the command's.
set -euo pipefail

base=/var/tmp/velmoro-debian12-base
rev=HEAD
keep=""
while [ $# -gt 0 ]; do
  case "$1" in
    --base) base=$(realpath -m "$2"); shift 2 ;;
    --rev) rev=$2; shift 2 ;;
    --keep) keep=1; shift ;;
    --) shift; break ;;
    *) sed -n '/^# Usage/,/^# The exit/s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
  esac
done
command=("$@")
[ ${#command[@]} -gt 0 ] || command=(scripts/test.sh)
[ "$(id -u)" -eq 0 ] || { echo "run.sh: needs root (debootstrap, chroot, namespaces)" >&2; exit 2; }
repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
commit=$(git -C "$repo" rev-parse --verify "$rev^{commit}")

missing=()
for tool in debootstrap slirp4netns; do command -v "$tool" >/dev/null || missing+=("$tool"); done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -d "$base" ]; then
  rm -rf "$base.partial"
  debootstrap bookworm "$base.partial" http://deb.debian.org/debian
  # What the installer leaves: the release with its updates and security archive, a localhost.
  rm -f "$base.partial/etc/apt/sources.list"
  cat > "$base.partial/etc/apt/sources.list.d/debian.sources" <<'EOF'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  printf '127.0.0.1\tlocalhost\n::1\t\tlocalhost ip6-localhost ip6-loopback\n' > "$base.partial/etc/hosts"
  echo debian12 > "$base.partial/etc/hostname"
  mv "$base.partial" "$base"
fi

runs="$base-runs"
run="$runs/run-$(date +%Y%m%d-%H%M%S)"
log="$run.log"
mkdir -p "$runs"
inside="" slirp=""
cleanup() {
  # unshare ignores SIGTERM while it waits; everything inside ends with its first process.
  if [ -n "$inside" ]; then
    for first in $(cat "/proc/$inside/task/$inside/children" 2>/dev/null); do kill -KILL "$first" || true; done
    wait "$inside" 2>/dev/null || true
  fi
  [ -z "$slirp" ] || kill "$slirp" 2>/dev/null || true
  [ -n "$keep" ] || rm -rf --one-file-system "$run"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
cp -a "$base" "$run"
git clone -q "$repo" "$run/root/velmoro"
git -C "$run/root/velmoro" checkout -q --detach "$commit"
echo "nameserver 10.0.2.3" > "$run/etc/resolv.conf" # slirp4netns's DNS

# In the new namespaces: wait for the network, mount what a running system has, run the
# command in the clone with a login's bare environment, unmount.
inner='
set -eu
root=$1; shift
ip link set lo up
for _ in $(seq 100); do ip route show default | grep -q . && break; sleep 0.1; done
mount -t proc proc "$root/proc"
mount -t sysfs -o ro sysfs "$root/sys"
mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$root/dev/pts"
mount --bind "$root/dev/pts/ptmx" "$root/dev/ptmx"
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
set +e
chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /bin/bash -c "cd /root/velmoro && exec \"\$@\"" command "$@"
status=$?
umount -l "$root/dev/shm" "$root/dev/ptmx" "$root/dev/pts" "$root/sys" "$root/proc"
exit $status
'
{
  echo "run.sh: $(git -C "$repo" log -1 --format='%h %s' "$commit")"
  echo "run.sh: ${command[*]} in $run (Debian $(cat "$run/etc/debian_version")), started $(date -Is)"
} | tee "$log"
start=$SECONDS
unshare --net --mount --pid --fork --kill-child bash -c "$inner" inner "$run" "${command[@]}" \
  > >(tee -a "$log") 2>&1 &
inside=$!
slirp4netns --configure --mtu=65520 --disable-host-loopback "$inside" tap0 > "$run.slirp.log" 2>&1 &
slirp=$!
status=0
wait "$inside" || status=$?
inside=""
elapsed=$((SECONDS - start))
printf 'run.sh: %s ended with status %d after %dm%02ds\n' "${command[*]}" "$status" $((elapsed / 60)) $((elapsed % 60)) |
  tee -a "$log"
exit "$status"
