# A quiet upgrade while the host application has the plug-in open asks
# nothing and closes nothing: it names the host in its log, installs, ends
# with 3010, and the host is still running.
#! needs: plugin-older.msi fixture_host.exe
run 120 msiexec /i ${PACKAGES}\plugin-older.msi /qn
start ${PACKAGES}\fixture_host.exe "${ProgramFiles}${PLUGIN_FOLDER_SUFFIX}\Zephra.dll"
wait-reg Software\KelvaneTest HostLoaded 4.0.3.9 60
launch ${INSTALLER} -- /quiet /log C:\quiet.log
wait-exit-unseen 3010 180
expect-started-alive
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}
expect-file-contains C:\quiet.log "In use by: 3ds Max Design 2013 (" "fixture_host.exe" "MSIRESTARTMANAGERCONTROL=DisableShutdown" "Restart Windows to finish the installation: 3ds Max Design 2013 had the plug-in open." "Exit code 3010"
set-reg Software\KelvaneTest HostEnd 1
wait-started-exit 60
