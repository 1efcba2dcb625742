# /uninstall /quiet removes what the installer installed: nothing registered
# and the plug-in's files gone, exit 0; with nothing installed, 1605.
launch ${INSTALLER} -- /quiet
wait-exit-unseen 0 180
expect-file "${ProgramFiles}${PLUGIN_FOLDER_SUFFIX}\Zephra.dll"
launch ${INSTALLER} -- /uninstall /quiet /log C:\remove.log
wait-exit-unseen 0 180
expect-no-reg ${UNINSTALL_KEY}
expect-no-reg ${PRODUCT_KEY} Version
expect-no-file "${ProgramFiles}${PLUGIN_FOLDER_SUFFIX}\Zephra.dll"
expect-file-contains C:\remove.log "uninstall" "Removing the installed version: " "The plug-in is removed" "Exit code 0"
launch ${INSTALLER} -- /x /quiet /log C:\nothing.log
wait-exit-unseen 1605 60
expect-file-contains C:\nothing.log "Removal failed: The plug-in is not installed." "Exit code 1605"
expect-temp-unchanged
