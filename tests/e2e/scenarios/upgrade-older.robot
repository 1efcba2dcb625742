# An older version, really installed by the service, is removed first (its
# status shows while that runs), then the package is installed.
#! needs: older.msi
#! arch: win64 win32
run 120 msiexec /i ${PACKAGES}\older.msi /qn
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
expect-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
launch ${INSTALLER}
wait-window ${TITLE}
expect-only-visible -1 1014 1001 1007 1002 1004 1003 1000
expect-disabled 1000
expect-text 1014 ${TITLE}
click 1001
click 1000
wait-text 1014 "Uninstalling previous Version." 30 freeze
expect-only-visible -1 1014 1011 1013 1015
expect-disabled 1015
thaw
# The service reports its first action of the removal: by then the status
# line has been painted, so the screenshot shows what the user sees.
wait-text-not 1013 "" 30 freeze
expect-text 1014 "Uninstalling previous Version."
screenshot uninstalling
thaw
wait-text 1014 ${TITLE} 60 freeze                  # the package installs
expect-disabled 1015
thaw
wait-text 1014 "Installation Successful" 180
expect-progress 0 100 100
expect-text 1013 ""
click 1015
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version ${VERSION}
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}
expect-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins\Zephra.dll"
expect-temp-unchanged
