# An older version that the service cannot remove (it is registered, but the
# service does not know it): no install is tried, and the user is told.
set-reg ${PRODUCT_KEY} Version 4.0.3.9
set-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
launch ${INSTALLER}
wait-window ${TITLE}
click 1001
click 1000
wait-text 1014 "Installation Failed" 120
expect-only-visible -1 1014 1015
expect-enabled 1015
expect-pixel -8 8 0x00FFFFFF
click 1015
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
expect-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
expect-no-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins"
expect-temp-unchanged
