# The product is installed in the package's version: only FINISHED is
# offered, and nothing on the machine changes.
set-reg ${PRODUCT_KEY} Version ${VERSION}
launch ${INSTALLER}
wait-window ${TITLE}
expect-text STATUS_TEXT "${TITLE} is up-to-date"
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT FINISHED
expect-enabled STATUS_TEXT FINISHED
expect-focus FINISHED
expect-pixel -8 8 0x00FFFFFF
expect-colour-in STATUS_TEXT 0x00672300
screenshot welcome-up-to-date
click FINISHED
expect-process-exit 0
expect-reg ${PRODUCT_KEY} Version ${VERSION}
expect-no-reg ${UNINSTALL_KEY}
expect-no-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins"
expect-temp-unchanged
