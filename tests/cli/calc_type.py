# SPDX-License-Identifier: GPL-3.0-or-later
# Types values into the text column (D, from row 2) of a workbook in LibreOffice Calc
# through its input line, as keys typed into the cell go (Calc reads them by the cell's
# format), and saves it as XLSX.
#   calc_type.py [--general] PROFILE_FOLDER IN.xlsx OUT.xlsx VALUE...
# --general first sets the column's format to General, as a workbook not typed Text has.
# An office that goes away while it starts (seen on busy machines: the bridge disposed
# under the first call) is started again, twice at most; each failure is told.
import os, signal, subprocess, sys, time, traceback
import uno
from com.sun.star.beans import PropertyValue


def props(**values):
    return tuple(PropertyValue(Name=name, Value=value) for name, value in values.items())


def connect(office, pipe):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.monotonic() + 120
    while True:
        try:
            return resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        except Exception:
            if office.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("the office ended, or did not answer, before its first call")
            time.sleep(0.5)


def type_into(profile, source, target, values, general, attempt):
    pipe = "edt%d_%d" % (os.getpid(), attempt)
    office = subprocess.Popen(["soffice", "--headless", "--invisible", "--norestore",
                               "-env:UserInstallation=" + uno.systemPathToFileUrl(profile),
                               "--accept=pipe,name=%s;urp;" % pipe], start_new_session=True)
    done = False
    try:
        context = connect(office, pipe)
        service = context.ServiceManager.createInstanceWithContext
        desktop = service("com.sun.star.frame.Desktop", context)
        book = desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.abspath(source)),
                                            "_blank", 0, props(Hidden=True))
        if general:
            book.Sheets.getByIndex(0).Columns.getByIndex(3).NumberFormat = 0
        frame = book.getCurrentController().getFrame()
        dispatch = service("com.sun.star.frame.DispatchHelper", context).executeDispatch
        for row, value in enumerate(values, 2):
            dispatch(frame, ".uno:GoToCell", "", 0, props(ToPoint="D%d" % row))
            dispatch(frame, ".uno:EnterString", "", 0, props(StringName=value))
        book.storeToURL(uno.systemPathToFileUrl(os.path.abspath(target)),
                        props(FilterName="Calc MS Excel 2007 XML"))
        book.close(True)
        done = True
        try:
            desktop.terminate()
        except Exception:
            pass  # the bridge goes down with the office
    finally:
        try:
            office.wait(timeout=60 if done else 5)
        except subprocess.TimeoutExpired:
            os.killpg(office.pid, signal.SIGKILL)  # soffice.bin with it, freeing the profile
            office.wait()


general = sys.argv[1] == "--general"
profile, source, target, *values = sys.argv[2:] if general else sys.argv[1:]
for attempt in range(3):
    try:
        type_into(profile, source, target, values, general, attempt)
        sys.exit(0)
    except Exception:
        traceback.print_exc()
        print("calc_type.py: attempt %d of 3 failed" % (attempt + 1), file=sys.stderr)
sys.exit(1)
