# The host application has the older version's plug-in open when the user
# presses CONTINUE: before anything changes, a box owned by the window names
# it. The user closes it and tries again; the upgrade then goes through and
# the new library is in place.
#! needs: plugin-older.msi fixture_host.exe
run 120 msiexec /i ${PACKAGES}\plugin-older.msi /qn
start ${PACKAGES}\fixture_host.exe "${ProgramFiles}${PLUGIN_FOLDER_SUFFIX}\Zephra.dll"
wait-reg Software\KelvaneTest HostLoaded 4.0.3.9 60
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-box "Files in Use" 60
expect-box-text "These programs use files of ${TITLE}:"
expect-box-text "3ds Max Design 2013 (fixture_host.exe)"
expect-box-text "Close them and choose Try Again, or choose Continue to finish the installation at the next restart of Windows."
screenshot files-in-use
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
set-reg Software\KelvaneTest HostEnd 1
wait-started-exit 60
answer-box IDTRYAGAIN
wait-text STATUS_TEXT "Installation Successful" 180
expect-text ACTION_TEXT ""
click FINISHED
expect-process-exit 0
expect-reg ${PRODUCT_KEY} Version ${VERSION}
run 60 ${PACKAGES}\fixture_host.exe --report "${ProgramFiles}${PLUGIN_FOLDER_SUFFIX}\Zephra.dll"
expect-reg Software\KelvaneTest HostReported ${VERSION}
