# The service fails the install (a custom action reports an error and
# fails): its error box comes up in front of the topmost window, the answer
# goes back, and the user is told; nothing stays installed.
#! installer: failing.msi
launch ${INSTALLER}
wait-window ${TITLE}
centre-window                                      # so that the box comes up over it
click 1001
click 1000
wait-box Error 120
expect-box-text "The fixture package refuses to install."
expect-in-front
screenshot error-box
answer-box 1
wait-text 1014 "Installation Failed" 120
expect-only-visible -1 1014 1015
expect-enabled 1015
expect-pixel -8 8 0x00FFFFFF
screenshot finished-failure
click 1015
expect-process-exit any
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}
expect-no-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins\Zephra.dll"
expect-temp-unchanged
