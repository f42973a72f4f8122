#!/bin/bash
# PID 1 of the emulated PC that runs the 32-bit Windows programs: mounts what the programs need,
# takes the host's folder shared over 9p as /io, runs its run.sh (output to /io/guest.log, exit code
# to /io/status) and powers the machine off. No network device, no services.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
mount_once() {  # mount_once TYPE DIR [OPTIONS]
  mkdir -p "$2"
  mountpoint -q "$2" || mount -t "$1" ${3:+-o "$3"} "$1" "$2"
}
mount_once proc /proc
mount_once sysfs /sys
mount_once devtmpfs /dev
mount_once devpts /dev/pts
mount_once tmpfs /dev/shm
mount_once tmpfs /run
mount -o remount,rw /
ip link set lo up
modprobe -q 9pnet_virtio
modprobe -q 9p
mkdir -p /io
if mount -t 9p -o trans=virtio,version=9p2000.L,msize=1048576 io /io; then
  status=0
  bash /io/run.sh >/io/guest.log 2>&1 || status=$?
  echo "$status" >/io/status
  echo "guest: run.sh ended with $status"
else
  echo "guest: the shared folder io could not be mounted"
fi
sync
echo o >/proc/sysrq-trigger
sleep 60
