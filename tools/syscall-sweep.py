#!/usr/bin/env python3
"""Fails every system call of a run in turn, to find a failure that nobody handles.

For each program, runs it once cleanly on the name good.wav, in a scratch folder
where every prefix of that name ("g" to "good.wa") is a file with another header,
so that a name cut short shows as a wrong report. Then, under strace, runs it again
once for each read, write, openat, close, newfstatat and ioctl of the clean run
and each error that call can give, failing that one call. A run is a fault when it
exits 0 with another report than the clean one's, or after a failed read of the
name or a failed write or close of the report (unless the call failed with EINTR
or EAGAIN, was made again, and the right report came); when it hangs; when it dies by a signal other
than SIGPIPE; or when it exits with a status other than 0 and 1. Calls made by the
dynamic loader, before the program's first use of standard input or output, are
counted apart: their failure stops the program before it runs.

Usage: tools/syscall-sweep.py PROGRAM...   (needs strace)
"""

import os
import re
import signal
import subprocess
import sys
import tempfile
from pathlib import Path

NAME = "good.wav"
ERRORS = {
    "read": ["EIO", "EINTR", "EAGAIN", "EBADF"],
    "write": ["EIO", "EINTR", "EAGAIN", "ENOSPC", "EPIPE", "EBADF"],
    "openat": ["EIO", "EINTR", "EACCES"],
    "close": ["EIO", "EINTR", "EBADF"],
    "newfstatat": ["EIO", "EBADF"],
    "fstat": ["EIO", "EBADF"],
    "ioctl": ["EIO", "EINTR", "EBADF"],
}
RETRIED = {"EINTR", "EAGAIN"}
CALL = re.compile(r"^(\w+)\((\w+)?")


def run(program, folder, strace_options):
    """The status (negative for a signal, None for a hang), the output and strace's log."""
    log = folder / "strace.log"
    with open(folder / "name", "rb") as stdin:
        try:
            done = subprocess.run(["strace", "-o", str(log), *strace_options, program],
                                  cwd=folder, stdin=stdin, capture_output=True, timeout=10)
        except subprocess.TimeoutExpired:
            return None, b"", ""
    return done.returncode, done.stdout, log.read_text()


def sweep(program, folder):
    traced = ",".join(ERRORS)
    status, clean, log = run(program, folder, ["-e", f"trace={traced}"])
    if status != 0 or not clean.startswith(b"Input file name: ChunkID: "):
        sys.exit(f"syscall sweep: {program}: the clean run failed (status {status})")
    calls, loader, in_program = [], {}, False
    for line in log.splitlines():
        m = CALL.match(line)
        if not m:
            continue
        name, fd = m.group(1), m.group(2)
        in_program = in_program or fd in ("0", "1", "2")
        calls.append(name)
        if not in_program:
            loader[name] = loader.get(name, 0) + 1
    injections, in_loader, faults = 0, 0, []
    seen = {}
    for name in calls:
        seen[name] = when = seen.get(name, 0) + 1
        for error in ERRORS[name]:
            injections += 1
            if when <= loader.get(name, 0):
                in_loader += 1
                continue
            status, out, log = run(program, folder,
                                   ["-e", f"trace={name}", "-e", f"inject={name}:error={error}:when={when}"])
            lines = log.splitlines()
            at = next((i for i, line in enumerate(lines) if "(INJECTED)" in line), len(lines))
            fd = CALL.match(lines[at]).group(2) if at < len(lines) else None
            # A retry is the same call on the same descriptor, after the failed one.
            retried = error in RETRIED and any(line.startswith(f"{name}({fd},") for line in lines[at + 1:])
            guarded = (name, fd) in (("read", "0"), ("write", "1"), ("close", "1"))
            what = f"{name} #{when} ({name}({fd}, ...)) = {error}"
            if status is None:
                faults.append(f"{what}: hangs")
            elif status < 0 and -status != signal.SIGPIPE:
                faults.append(f"{what}: killed by {signal.Signals(-status).name}")
            elif status not in (0, 1) and status >= 0:
                faults.append(f"{what}: exit status {status}")
            elif status == 0 and out != clean:
                faults.append(f"{what}: exit status 0 with another report")
            elif status == 0 and guarded and not retried:
                faults.append(f"{what}: exit status 0 after the failure")
    print(f"syscall sweep: {program}: {injections} injections, {in_loader} in the loader, "
          f"{len(faults)} faults", flush=True)
    for fault in faults:
        print(f"  fault: {fault}")
    return not faults


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__.strip().split("\n\n")[-1])
    with tempfile.TemporaryDirectory() as scratch:
        folder = Path(scratch)
        header = bytes(range(0x80, 0x80 + 44))
        (folder / NAME).write_bytes(b"RIFF" + header[4:])
        for length in range(1, len(NAME)):
            (folder / NAME[:length]).write_bytes(bytes([0x41 + length]) * 44)
        (folder / "name").write_bytes(NAME.encode() + b"\n")
        results = [sweep(os.path.abspath(program), folder) for program in sys.argv[1:]]
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
