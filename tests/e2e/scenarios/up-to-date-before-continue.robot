# The product turns up in the package's version while the Welcome screen
# waits: CONTINUE then installs nothing and reports success.
launch ${INSTALLER}
wait-window ${TITLE}
click 1001
set-reg ${PRODUCT_KEY} Version ${VERSION}
click 1000
wait-text 1014 "Installation Successful" 60
expect-only-visible -1 1014 1011 1013 1015
expect-progress 0 100 100
click 1015
expect-process-exit any
expect-no-reg ${UNINSTALL_KEY}
expect-no-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins"
expect-temp-unchanged
