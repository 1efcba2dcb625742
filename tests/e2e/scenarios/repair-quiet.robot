# /repair /quiet puts back a file of the plug-in deleted by hand.
launch ${INSTALLER} -- /quiet
wait-exit-unseen 0 180
run 30 cmd /c del "${ProgramFiles}${PLUGIN_FOLDER_SUFFIX}\Zephra.dll"
expect-no-file "${ProgramFiles}${PLUGIN_FOLDER_SUFFIX}\Zephra.dll"
launch ${INSTALLER} -- /repair /quiet /log C:\repair.log
wait-exit-unseen 0 180
expect-file "${ProgramFiles}${PLUGIN_FOLDER_SUFFIX}\Zephra.dll"
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}
expect-file-contains C:\repair.log "repair" "REINSTALL=ALL REINSTALLMODE=omus" "Exit code 0"
