# The product turns up in the package's version while the Welcome screen
# waits: CONTINUE then installs nothing and reports success.
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
set-reg ${PRODUCT_KEY} Version ${VERSION}
click CONTINUE
wait-text STATUS_TEXT "Installation Successful" 60
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT PROGRESS ACTION_TEXT FINISHED
expect-progress 0 100 100
click FINISHED
expect-process-exit 0
expect-no-reg ${UNINSTALL_KEY}
expect-no-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins"
expect-temp-unchanged
