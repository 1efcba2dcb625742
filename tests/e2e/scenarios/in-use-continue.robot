# The user goes on while the host application has the plug-in open: nothing
# is closed, the install ends successful and says that Windows must restart
# and why, the exit code says so too, and the host is still running.
#! needs: plugin-older.msi fixture_host.exe
run 120 msiexec /i ${PACKAGES}\plugin-older.msi /qn
start ${PACKAGES}\fixture_host.exe "${ProgramFiles}${PLUGIN_FOLDER_SUFFIX}\Zephra.dll"
wait-reg Software\KelvaneTest HostLoaded 4.0.3.9 60
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-box "Files in Use" 60
answer-box IDCONTINUE
wait-text STATUS_TEXT "Installation Successful" 180
expect-text ACTION_TEXT "Restart Windows to finish the installation: 3ds Max Design 2013 had the plug-in open."
expect-visible ACTION_TEXT
screenshot finished-restart-in-use
click FINISHED
expect-process-exit 3010
expect-started-alive
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}
set-reg Software\KelvaneTest HostEnd 1
wait-started-exit 60
