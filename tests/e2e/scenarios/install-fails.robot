# The service fails the install (a custom action reports an error and
# fails): its error box comes up in front of the topmost window, the answer
# goes back, and the user is told why, at every dpi; nothing stays
# installed.
#! installer: failing.msi
#! dpi: 96 144 192
launch ${INSTALLER}
wait-window ${TITLE}
centre-window                                      # so that the box comes up over it
click AGREE
click CONTINUE
wait-box Error 120
expect-box-text "The fixture package refuses to install."
expect-in-front
screenshot error-box
answer-box IDOK
wait-text STATUS_TEXT "Installation Failed" 120
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT ACTION_TEXT FINISHED LOG_LINK
expect-text ACTION_TEXT "The Windows Installer service reported error 1603."
expect-text-fits ACTION_TEXT "MS Shell Dlg" 8
expect-enabled FINISHED
expect-pixel -8 8 0x00FFFFFF
screenshot finished-failure
click FINISHED
expect-process-exit 1603
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}
expect-no-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins\Zephra.dll"
expect-new-temp-file ${LOG_PREFIX} "Installing the package: failed" "Installation failed: The Windows Installer service reported error 1603." "Exit code 1603"
expect-temp-unchanged
