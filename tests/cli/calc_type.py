# SPDX-License-Identifier: GPL-3.0-or-later
# Types values into the text column (D, from row 2) of a workbook in LibreOffice Calc
# through its input line, as keys typed into the cell go (Calc reads them by the cell's
# format), and saves it as XLSX.
#   calc_type.py [--general] PROFILE_FOLDER IN.xlsx OUT.xlsx VALUE...
# --general first sets the column's format to General, as a workbook not typed Text has.
import os, subprocess, sys, time
import uno
from com.sun.star.beans import PropertyValue


def props(**values):
    return tuple(PropertyValue(Name=name, Value=value) for name, value in values.items())


general = sys.argv[1] == "--general"
profile, source, target, *values = sys.argv[2:] if general else sys.argv[1:]
pipe = "edt%d" % os.getpid()
office = subprocess.Popen(["soffice", "--headless", "--invisible", "--norestore",
                           "-env:UserInstallation=" + uno.systemPathToFileUrl(profile),
                           "--accept=pipe,name=%s;urp;" % pipe])
try:
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    for attempt in range(120):
        try:
            context = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
            break
        except Exception:
            time.sleep(0.5)
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
    try:
        desktop.terminate()
    except Exception:
        pass  # the bridge goes down with the office
finally:
    office.wait(timeout=60)
