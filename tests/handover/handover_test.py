#!/usr/bin/python3
"""End-to-end checks of velmoro-handover against a private headless LibreOffice.

usage: handover_test.py HELPER FIXTURE CASE; exit 0 pass, 1 fail, 77 skipped (no LibreOffice).
Every soffice started on the test's pipe is killed on the way out, pass or fail.
"""

import getpass
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

PASSWORD = "TRVX5093MQP"
NOT_OPENED = "Impossibile aprire l'archivio in LibreOffice: "
WRONG = "password errata o file danneggiato."
SEED_PROFILE = """<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/Product"><prop oor:name="ooSetupLastVersion" oor:op="fuse"><value>{version}</value></prop></item>
</oor:items>
"""


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)




class Sandbox:
    """A folder with a copy of the archive, a seeded profile and a pipe name."""

    def __init__(self, fixture):
        self.root = tempfile.mkdtemp(prefix="velmoro-handover-")
        # A space and an accent: the file URL must be encoded properly.
        folder = os.path.join(self.root, "Dati Velmoro è")
        os.makedirs(folder)
        self.archive = os.path.join(folder, "Archivio.xls")
        shutil.copyfile(fixture, self.archive)
        os.chmod(self.archive, 0o644)
        self.lock = os.path.join(folder, ".~lock.Archivio.xls#")
        self.profile = os.path.join(self.root, "profile")
        self.pipe = f"velmoro_test_{os.getpid()}"
        seed_profile(self.profile)

    def run_helper(self, helper, password, headless=True):
        # Files, not pipes: a soffice left holding a pipe would keep the helper's output open.
        out, err = (os.path.join(self.root, name) for name in ("helper.out", "helper.err"))
        env = {k: v for k, v in os.environ.items()
               if headless or k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        with open(out, "wb") as o, open(err, "wb") as e:
            rc = subprocess.run(
                [helper] + (["--headless"] if headless else []) +
                ["--profile", self.profile, "--pipe", self.pipe, self.archive],
                input=(password + "\n").encode(), stdout=o, stderr=e, timeout=40, env=env).returncode
        return (rc,) + tuple(open(name, encoding="utf-8").read() for name in (out, err))

    def office_pids(self):
        """soffice processes on this test's pipe."""
        marker = f"pipe,name={self.pipe};".encode()
        pids = []
        for entry in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{entry}/cmdline", "rb") as f:
                    if marker in f.read():
                        pids.append(int(entry))
            except OSError:
                pass
        return pids

    def office_gone(self, seconds):
        deadline = time.monotonic() + seconds
        while self.office_pids() and time.monotonic() < deadline:
            time.sleep(0.05)
        return not self.office_pids()

    def cleanup(self):
        for pid in self.office_pids():
            try:
                group = os.getpgid(pid)
                os.killpg(group, signal.SIGKILL) if group != os.getpgrp() else os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.office_gone(5)
        try:
            os.unlink(f"/tmp/OSL_PIPE_{os.getuid()}_{self.pipe}")
        except OSError:
            pass
        shutil.rmtree(self.root, ignore_errors=True)


def seed_profile(profile):
    """Records the installed version so soffice skips its first-start self test."""
    out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "libreoffice-core-nogui",
                          "libreoffice-core"], capture_output=True, text=True).stdout
    digits = out.split(":")[-1].split(".")
    version = ".".join(digits[:2]) if len(digits) >= 2 and digits[0].isdigit() else "7.4"
    os.makedirs(os.path.join(profile, "user"))
    with open(os.path.join(profile, "user", "registrymodifications.xcu"), "w") as f:
        f.write(SEED_PROFILE.format(version=version))


def connect(pipe):
    import uno
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    ctx = resolver.resolve(f"uno:pipe,name={pipe};urp;StarOffice.ComponentContext")
    return ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)


def loaded_document(desktop, path):
    import uno
    url = uno.systemPathToFileUrl(path)
    return next((c for c in desktop.Components if getattr(c, "URL", "") == url), None)


def fd_target(pid, fd):
    try:
        return os.readlink(f"/proc/{pid}/fd/{fd}")
    except OSError:
        return None


def expect_failure(box, helper, password, message, rc=2):
    got, out, err = box.run_helper(helper, password, headless=rc != 3)
    check((got, out) == (rc, ""), f"helper gave rc={got}, expected {rc} (stdout={out!r}, stderr={err!r})")
    check(err == message + "\n" if rc == 2 else err.startswith(message) and err.count("\n") == 1,
          f"stderr {err!r}")
    # The helper waits for the soffice it started; a short grace for the last child to be reaped.
    check(box.office_gone(2), "soffice left running after a failed hand-over")


def case_loads_the_archive_and_leaves_libreoffice_running_with_it(box, helper):
    rc, out, err = box.run_helper(helper, PASSWORD)
    check((rc, out, err) == (0, "", ""), f"helper gave rc={rc} stdout={out!r} stderr={err!r}")
    desktop = connect(box.pipe)
    document = loaded_document(desktop, box.archive)
    check(document is not None, "LibreOffice does not have the archive loaded")
    sheet = document.Sheets.getByName("Velmoro")
    cells = {name: sheet.getCellRangeByName(name).String for name in ("A1", "C1", "C2")}
    check(cells == {"A1": "ID", "C1": "Ragione sociale", "C2": "Rossi & Figli S.r.l."},
          f"cells read through LibreOffice: {cells}")
    check(not document.isReadonly(), "the archive was opened read-only")
    check(os.path.exists(box.lock), "LibreOffice holds no lock on the open archive")
    pids = box.office_pids()
    check(pids, "no soffice is running on the pipe after the hand-over")
    for pid in pids:
        check(os.getsid(pid) != os.getsid(0), f"soffice {pid} shares the caller's session")
        for fd in (0, 1, 2):
            check(fd_target(pid, fd) in ("/dev/null", None), f"soffice {pid} fd {fd} is {fd_target(pid, fd)}")
    document.close(True)
    try:
        desktop.terminate()
    except Exception:               # the bridge breaks while soffice quits
        pass
    check(box.office_gone(15), "soffice still running after terminate()")
    check(not os.path.exists(box.lock), "a lock file is left behind")


def case_wrong_password_fails_in_italian_and_leaves_nothing_running(box, helper):
    expect_failure(box, helper, "sbagliata", NOT_OPENED + WRONG)
    check(not os.path.exists(box.lock), "a lock file is left behind")


def case_lock_held_in_another_profile_names_its_holder(box, helper):
    user, host = getpass.getuser(), socket.gethostname()
    with open(box.lock, "w") as f:
        f.write(f",{user},{host},01.02.2026 10:30,file:///home/{user}/altro-profilo;")
    expect_failure(box, helper, PASSWORD,
                   NOT_OPENED + f"il file risulta aperto da {user} sul computer {host} dal 01.02.2026 10:30.")
    check(os.path.exists(box.lock), "someone else's lock file was removed")


def case_visible_without_a_screen_reports_libreoffice_unusable_and_leaves_nothing_behind(box, helper):
    expect_failure(box, helper, PASSWORD, "Impossibile avviare LibreOffice: ", rc=3)
    check(not os.path.exists(box.lock), "a stale lock file is left behind")


CASES = {name[5:]: f for name, f in globals().items() if name.startswith("case_")}


def main():
    if len(sys.argv) != 4 or sys.argv[3] not in CASES:
        print(f"usage: {sys.argv[0]} HELPER FIXTURE CASE; cases: {', '.join(CASES)}")
        return 1
    helper, fixture, case = sys.argv[1:]
    if not any(os.access(p, os.X_OK) for p in ("/usr/bin/soffice", "/usr/lib/libreoffice/program/soffice")):
        print("SKIPPED: LibreOffice (soffice) is not installed")
        return 77
    box = Sandbox(fixture)
    try:
        started = time.monotonic()
        CASES[case](box, helper)
        print(f"passed in {time.monotonic() - started:.2f} s")
        return 0
    except Failure as e:
        print(f"FAILED: {e}")
        return 1
    finally:
        box.cleanup()


if __name__ == "__main__":
    sys.exit(main())
