# Cancel in the box about the host that has the plug-in open: back at
# Welcome with nothing changed (the older version stays, the terms still
# accepted); CONTINUE asks again once the host is closed, or the user
# leaves.
#! needs: plugin-older.msi fixture_host.exe
run 120 msiexec /i ${PACKAGES}\plugin-older.msi /qn
start ${PACKAGES}\fixture_host.exe "${ProgramFiles}${PLUGIN_FOLDER_SUFFIX}\Zephra.dll"
wait-reg Software\KelvaneTest HostLoaded 4.0.3.9 60
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-box "Files in Use" 60
answer-box IDCANCEL
wait-visible AGREE 60                  # the status reads the same while it installs
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT AGREE AGREE_LABEL TERMS_LINK FOLDER CONFIGURE CONTINUE
expect-enabled CONTINUE
expect-check AGREE 1
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
screenshot back-at-welcome
click CONTINUE
wait-box "Files in Use" 60
answer-box IDCANCEL
wait-visible AGREE 60
close-box
expect-process-exit 1602
expect-started-alive
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
expect-temp-unchanged
set-reg Software\KelvaneTest HostEnd 1
wait-started-exit 60
