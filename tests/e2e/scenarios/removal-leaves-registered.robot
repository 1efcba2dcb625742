# An older version that the service cannot remove (it is registered, but the
# service does not know it): no install is tried, and the user is told.
set-reg ${PRODUCT_KEY} Version 4.0.3.9
set-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Installation Failed" 120
expect-only-visible -1 STATUS_TEXT FINISHED
expect-enabled FINISHED
expect-pixel -8 8 0x00FFFFFF
click FINISHED
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
expect-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
expect-no-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins"
expect-temp-unchanged
