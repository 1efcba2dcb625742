# /uninstall with its window: the removal screen at once, with the
# progress, then "Removal Successful".
launch ${INSTALLER} -- /quiet
wait-exit-unseen 0 180
launch ${INSTALLER} -- /uninstall
wait-window ${TITLE}
wait-text STATUS_TEXT "Removal Successful" 180
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT PROGRESS ACTION_TEXT FINISHED
expect-enabled FINISHED
screenshot removal-finished
click FINISHED
expect-process-exit 0
expect-no-reg ${UNINSTALL_KEY}
expect-no-file "${ProgramFiles}${PLUGIN_FOLDER_SUFFIX}\Zephra.dll"
launch ${INSTALLER} -- /uninstall
wait-window ${TITLE}
wait-text STATUS_TEXT "Removal Failed" 60
expect-text ACTION_TEXT "The plug-in is not installed."
click FINISHED
expect-process-exit 1605
