#!/usr/bin/python3
"""Shows a workbook file in LibreOffice Calc as a new, untitled document that counts as
modified, so that closing it asks whether to save it, as for any new workbook that holds data.

Usage: libreoffice_new_workbook.py SOFFICE FILE

LibreOffice's command line can open a file as an untitled copy (-n), but that copy counts as
unchanged and closes without a word; only its UNO API can mark it modified. So LibreOffice (the
one running, or a new one) is asked to listen on a pipe of its own for a moment, and the file
is loaded through it. Without Debian's python3-uno, or when LibreOffice does not answer, the
file is still shown as the untitled copy of the command line.
"""
import os
import secrets
import subprocess
import sys
import time

# A cold start on a busy machine takes tens of seconds; past this the command line takes over.
CONNECT_SECONDS = 90


def show_untitled_copy(soffice, path):
    os.execv(soffice, [soffice, "--calc", "-n", path])


def connect(uno, soffice, pipe):
    """The component context of a LibreOffice that listens on `pipe`, or None."""
    from com.sun.star.connection import NoConnectException

    # A LibreOffice already running takes the request over from this one, which then ends; a
    # new one stays, without the start centre (the workbook comes instead).
    office = subprocess.Popen([soffice, "--nodefault", "--accept=" + pipe],
                              stdin=subprocess.DEVNULL)
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.monotonic() + CONNECT_SECONDS
    while time.monotonic() < deadline:
        try:
            return resolver.resolve("uno:" + pipe + "StarOffice.ComponentContext")
        except NoConnectException:
            if office.poll() not in (None, 0):
                return None
            time.sleep(0.2)
    return None


def load_untitled_copy(uno, context, path):
    from com.sun.star.beans import PropertyValue

    desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop",
                                                               context)
    as_template = PropertyValue()
    as_template.Name = "AsTemplate"
    as_template.Value = True
    url = uno.systemPathToFileUrl(os.path.abspath(path))
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
        show_untitled_copy(soffice, path)
    # Unguessable, so that no other program can stand in for LibreOffice on it.
    pipe = "pipe,name=quorvane-%s;urp;" % secrets.token_hex(16)
    context = document = None
    try:
        context = connect(uno, soffice, pipe)
        if context is not None:
            document = load_untitled_copy(uno, context, path)
            if document is not None:
                document.setModified(True)
    except Exception as error:
        sys.stderr.write("libreoffice_new_workbook.py: %s\n" % error)
    finally:
        if context is not None:
            # The pipe was only for this: LibreOffice stops listening on it.
            subprocess.run([soffice, "--nodefault", "--unaccept=" + pipe],
                           stdin=subprocess.DEVNULL, check=False)
    if document is None:
        show_untitled_copy(soffice, path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
