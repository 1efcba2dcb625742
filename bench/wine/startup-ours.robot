# Start-up: from the process start to the Welcome screen shown, with the
# installed state detected (the status text is set from it).
poll-interval 2
launch ${INSTALLER}
wait-window ${TITLE}
wait-text STATUS_TEXT ${TITLE}
report startup launch
key escape
expect-process-exit any
