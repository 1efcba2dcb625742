# An older version, really installed by the service, is removed first (its
# status shows while that runs), then the package is installed. The older
# version's own action holds its removal until the robot lets it go.
#! needs: slow-older.msi
set-reg Software\KelvaneTest SlowActionGo 1
run 120 msiexec /i ${PACKAGES}\slow-older.msi /qn
set-reg Software\KelvaneTest SlowActionGo 0
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
expect-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
launch ${INSTALLER}
wait-window ${TITLE}
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT AGREE AGREE_LABEL TERMS_LINK FOLDER CONFIGURE CONTINUE
expect-disabled CONTINUE
expect-text STATUS_TEXT ${TITLE}
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Uninstalling previous Version." 60
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT PROGRESS ACTION_TEXT FINISHED
expect-disabled FINISHED
screenshot uninstalling
set-reg Software\KelvaneTest SlowActionGo 1
wait-text STATUS_TEXT "Installation Successful" 180
expect-progress 0 100 100
expect-text ACTION_TEXT ""
click FINISHED
expect-process-exit 0
expect-reg ${PRODUCT_KEY} Version ${VERSION}
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}
expect-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins\Zephra.dll"
expect-temp-unchanged
