# SPDX-License-Identifier: GPL-3.0-or-later
# Types values into the text column (D) of a workbook in LibreOffice Calc, as a user's
# keyboard would (Calc reads what is typed by the cell's format), and saves it as XLSX.
#   calc_type.py [--general] PROFILE_FOLDER IN.xlsx OUT.xlsx VALUE...
# --general first sets the column's format to General, as a workbook not typed Text has.
import os
import subprocess
import sys
import time

import uno
from com.sun.star.beans import PropertyValue


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


general = sys.argv[1] == "--general"
arguments = sys.argv[2:] if general else sys.argv[1:]
profile, source, target, values = arguments[0], arguments[1], arguments[2], arguments[3:]
pipe = "edt%d" % os.getpid()
office = subprocess.Popen(["soffice", "--headless", "--invisible", "--norestore",
                           "-env:UserInstallation=" + uno.systemPathToFileUrl(profile),
                           "--accept=pipe,name=%s;urp;" % pipe],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
try:
    resolver = uno.getComponentContext().ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", uno.getComponentContext())
    for attempt in range(120):
        try:
            context = resolver.resolve(
                "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
            break
        except Exception:
            time.sleep(0.5)
    else:
        sys.exit("calc_type.py: LibreOffice did not start")
    desktop = context.ServiceManager.createInstanceWithContext(
        "com.sun.star.frame.Desktop", context)
    book = desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.abspath(source)),
                                        "_blank", 0, (prop("Hidden", True),))
    if general:
        book.Sheets.getByIndex(0).Columns.getByIndex(3).NumberFormat = 0
    frame = book.getCurrentController().getFrame()
    dispatcher = context.ServiceManager.createInstanceWithContext(
        "com.sun.star.frame.DispatchHelper", context)
    # Through the input line, as keys typed into the cell go.
    for row, value in enumerate(values, 2):
        dispatcher.executeDispatch(frame, ".uno:GoToCell", "", 0, (prop("ToPoint", "D%d" % row),))
        dispatcher.executeDispatch(frame, ".uno:EnterString", "", 0, (prop("StringName", value),))
    book.storeToURL(uno.systemPathToFileUrl(os.path.abspath(target)),
                    (prop("FilterName", "Calc MS Excel 2007 XML"),))
    book.close(True)
    try:
        desktop.terminate()
    except Exception:
        pass  # the bridge goes down with the office
finally:
    office.wait(timeout=60)
