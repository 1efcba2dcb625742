# The least a window does for a fresh install (window_floor): the service's
# calls from CONTINUE, and the status at their end; timed as ours is.
launch ${WINDOW_FLOOR} -- install ${PACKAGE}
wait-window ${INSTALLER_NAME}
poll-interval 2
click CONTINUE
wait-text STATUS_TEXT "Installation Successful" 180
report install click
key escape
expect-process-exit any
expect-reg ${PRODUCT_KEY} Version ${VERSION}
