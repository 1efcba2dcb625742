# The floor of start-up: a minimal program showing what the user sees at
# Welcome, the same template with the same pictures and icons, with the
# same status text set as it opens.
poll-interval 2
launch ${MINIMAL} -- pictures
wait-window ${INSTALLER_NAME}
wait-text STATUS_TEXT ${TITLE}
report startup launch
key escape
expect-process-exit any
