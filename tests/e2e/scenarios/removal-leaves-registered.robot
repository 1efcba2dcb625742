# An older version that the service cannot remove (it is registered, but the
# service does not know it): no install is tried, and the user is told why.
set-reg ${PRODUCT_KEY} Version 4.0.3.9
set-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Installation Failed" 120
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT ACTION_TEXT FINISHED LOG_LINK
expect-text ACTION_TEXT "The older version could not be removed (error 1605)."
expect-text-fits ACTION_TEXT "MS Shell Dlg" 8
expect-enabled FINISHED
expect-pixel -8 8 0x00FFFFFF
screenshot finished-failure-removal
click FINISHED
expect-process-exit 1605                           # the service's own code: unknown product
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
expect-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
expect-no-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins"
expect-new-temp-file ${LOG_PREFIX} "Found: an older version is installed" "Removing the installed version: failed" "Installation failed: The older version could not be removed (error 1605)." "Exit code 1605"
expect-temp-unchanged
