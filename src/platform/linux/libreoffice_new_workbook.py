#!/usr/bin/python3
"""Shows a workbook file in LibreOffice Calc as a new, untitled document that counts as
modified, so that closing it asks whether to save it, as for any new workbook that holds data.

Usage: libreoffice_new_workbook.py SOFFICE FILE

LibreOffice's command line can open a file as an untitled copy (-n), but that copy counts as
unchanged and closes without a word; only its UNO API can mark it modified. So LibreOffice (the
one running, or a new one) is asked to listen on a pipe of its own for a moment, and the file
is loaded through it.

Exit status: 0 when the document is shown; 5 when it is shown but could not be marked
modified; 4 without Debian's python3-uno; 3 when LibreOffice could not be reached or did not
answer in time. The caller then shows the file as the untitled copy of the command line and
knows to say so; this program does that itself only when the caller has ended meanwhile.

The pipe is a socket that LibreOffice makes in a folder every user may write to, under a name
that the process list shows to every user. Another user may bind it first: then it is left
alone. Nothing else may keep this program waiting past its deadlines either.
"""
import os
import secrets
import stat
import subprocess
import sys
import threading
import time

SHOWN, FAILED, NO_UNO, SHOWN_UNMODIFIED = 0, 3, 4, 5
CALLER = os.getppid()

# A cold start on a busy machine takes tens of seconds; past this the command line takes over.
CONNECT_SECONDS = 90
# For LibreOffice to answer on a pipe it listens on, and for each short call after that.
ANSWER_SECONDS = float(os.environ.get("QUORVANE_UNO_ANSWER_SECONDS", "20"))
# Loading a workbook of a million long rows takes minutes.
LOAD_SECONDS = 600


def end(status, soffice, path):
    """Ends with `status`; when the caller has ended meanwhile and the file is not shown, shows
    it as the untitled copy of the command line, since nobody else will."""
    sys.stderr.flush()
    if status in (FAILED, NO_UNO) and os.getppid() != CALLER:
        os.execv(soffice, [soffice, "--calc", "-n", path])
    os._exit(status)


class Watchdog:
    """Ends the program once a deadline passes, with the status of what was done by then: a
    call into UNO blocks in C and cannot be interrupted otherwise."""

    def __init__(self, soffice, path):
        self._ending = (soffice, path)
        self._deadline = None
        self._late_status = FAILED
        self._lock = threading.Lock()
        threading.Thread(target=self._watch, daemon=True).start()

    def allow(self, seconds, late_status=FAILED):
        with self._lock:
            self._deadline = None if seconds is None else time.monotonic() + seconds
            self._late_status = late_status

    def _watch(self):
        while True:
            time.sleep(0.1)
            with self._lock:
                late = self._deadline is not None and time.monotonic() > self._deadline
                status = self._late_status
            if late:
                sys.stderr.write("libreoffice_new_workbook.py: LibreOffice did not answer\n")
                end(status, *self._ending)


def pipe_socket_path(name):
    """Where LibreOffice's pipe connector puts the socket of pipe `name` for this user."""
    folder = "/tmp" if os.access("/tmp", os.W_OK) else "/var/tmp"
    return "%s/OSL_PIPE_%d_%s" % (folder, os.getuid(), name)


def socket_owner(path):
    """Whose the socket is: "mine", "other" (or not a socket at all), or None when absent."""
    try:
        info = os.lstat(path)
    except FileNotFoundError:
        return None
    if stat.S_ISSOCK(info.st_mode) and info.st_uid == os.getuid():
        return "mine"
    return "other"


def connect(uno, soffice, pipe_name, watchdog):
    """The component context of our LibreOffice listening on the pipe, or None."""
    from com.sun.star.connection import NoConnectException

    pipe = "pipe,name=%s;urp;" % pipe_name
    path = pipe_socket_path(pipe_name)
    # A LibreOffice already running takes the request over from this one, which then ends; a
    # new one stays, without the start centre (the workbook comes instead).
    office = subprocess.Popen([soffice, "--nodefault", "--accept=" + pipe],
                              stdin=subprocess.DEVNULL)
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.monotonic() + CONNECT_SECONDS
    watchdog.allow(CONNECT_SECONDS + ANSWER_SECONDS)
    while time.monotonic() < deadline:
        owner = socket_owner(path)
        if owner == "other":
            # Once the socket is ours nobody else can replace it: the folder is sticky.
            sys.stderr.write("libreoffice_new_workbook.py: %s belongs to someone else\n" % path)
            return None, pipe
        if owner == "mine":
            try:
                watchdog.allow(ANSWER_SECONDS)
                return resolver.resolve("uno:" + pipe + "StarOffice.ComponentContext"), pipe
            except NoConnectException:
                watchdog.allow(deadline - time.monotonic() + ANSWER_SECONDS)
        if office.poll() not in (None, 0):
            return None, pipe
        time.sleep(0.2)
    return None, pipe


def load_untitled_copy(uno, context, path, watchdog):
    from com.sun.star.beans import PropertyValue

    watchdog.allow(ANSWER_SECONDS)
    desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop",
                                                               context)
    as_template = PropertyValue()
    as_template.Name = "AsTemplate"
    as_template.Value = True
    url = uno.systemPathToFileUrl(os.path.abspath(path))
    watchdog.allow(LOAD_SECONDS)
    # "_default" reuses an empty start centre, as the command line does.
    return desktop.loadComponentFromURL(url, "_default", 0, (as_template,))


def main(arguments):
    if len(arguments) != 2:
        sys.stderr.write("Usage: libreoffice_new_workbook.py SOFFICE FILE\n")
        return 2
    soffice, path = arguments
    try:
        import uno
    except ImportError:
        end(NO_UNO, soffice, path)
    watchdog = Watchdog(soffice, path)
    watchdog.allow(CONNECT_SECONDS + ANSWER_SECONDS)
    # Unguessable, so that no other program can stand in for LibreOffice on it in advance.
    pipe_name = "quorvane-%s" % secrets.token_hex(16)
    context = document = pipe = None
    outcome = FAILED
    try:
        context, pipe = connect(uno, soffice, pipe_name, watchdog)
        if context is not None:
            document = load_untitled_copy(uno, context, path, watchdog)
            if document is not None:
                # Shown: from here on a second copy must not follow.
                outcome = SHOWN_UNMODIFIED
                watchdog.allow(ANSWER_SECONDS, SHOWN_UNMODIFIED)
                document.setModified(True)
                outcome = SHOWN
    except Exception as error:
        sys.stderr.write("libreoffice_new_workbook.py: %s\n" % error)
    watchdog.allow(None)
    if context is not None:
        # The pipe was only for this: LibreOffice stops listening on it.
        try:
            subprocess.run([soffice, "--nodefault", "--unaccept=" + pipe],
                           stdin=subprocess.DEVNULL, check=False, timeout=ANSWER_SECONDS)
        except (OSError, subprocess.SubprocessError) as error:
            sys.stderr.write("libreoffice_new_workbook.py: %s\n" % error)
    end(outcome, soffice, path)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
