#!/bin/sh
# The end-to-end suite on the i686 release stub. Where this machine runs
# 32-bit programs natively, the whole suite runs on it, as on the x86_64
# build; under qemu (about a minute per 32-bit process) only the tests
# written for the release stub do. The first line of the output says which.
#   i686.sh RUN64 E2E_TESTS_EXE
run64=$1
tests=$2
qemu=/proc/sys/fs/binfmt_misc/qemu-i386
if ! grep -qsx enabled "$qemu" && timeout 10 /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "e2e.i686: 32-bit programs run natively here: the whole end-to-end suite on the i686 release stub"
  # The I686 tests themselves are left out: the whole suite covers them.
  VDL_E2E_MACHINE=i686 exec "$run64" "$tests" "--gtest_filter=-*I686*"
fi
echo "e2e.i686: 32-bit programs run under emulation here: only the release-stub subset (*I686*)"
exec "$run64" "$tests" "--gtest_filter=*I686*"
