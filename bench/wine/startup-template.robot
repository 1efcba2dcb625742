# A second reference of start-up: a minimal program showing the same
# template only, with the same status text set as it opens.
poll-interval 2
launch ${MINIMAL}
wait-window ${INSTALLER_NAME}
wait-text STATUS_TEXT ${TITLE}
report startup launch
key escape
expect-process-exit any
