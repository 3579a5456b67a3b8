# shellcheck shell=bash
# Sourced by the smoke scripts that show a workbook in LibreOffice.

# write_libreoffice_profile FOLDER: a LibreOffice user profile of the test's own in FOLDER/user
# (FOLDER is what -env:UserInstallation names, or $HOME/.config/libreoffice/4): no first-start
# dialogs, nothing of the user's touched.
write_libreoffice_profile() {
    mkdir -p "$1/user"
    cat >"$1/user/registrymodifications.xcu" <<'XCU'
<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="ShowTipOfTheDay" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Setup/Office"><prop oor:name="ooSetupInstCompleted" oor:op="fuse"><value>true</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="UseSystemFileDialog" oor:op="fuse"><value>false</value></prop></item>
</oor:items>
XCU
}

# office_processes HOME: the LibreOffice processes running with HOME as their home; a test's own
# home is found in no user's LibreOffice, so these are the test's to end.
office_processes() {
    local pid
    for pid in $(pgrep -x soffice.bin; pgrep -x oosplash); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "HOME=$1" && echo "$pid"
    done
    return 0
}
