# An older version, really installed by the service, is removed first (its
# status shows while that runs), then the package is installed.
#! needs: older.msi
run 120 msiexec /i ${PACKAGES}\older.msi /qn
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
expect-reg ${UNINSTALL_KEY} DisplayVersion 4.0.3.9
launch ${INSTALLER}
wait-window ${TITLE}
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT AGREE AGREE_LABEL TERMS_LINK FOLDER CONFIGURE CONTINUE
expect-disabled CONTINUE
expect-text STATUS_TEXT ${TITLE}
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Uninstalling previous Version." 30 freeze
expect-only-visible SIDE_BANNER SEPARATOR STATUS_TEXT PROGRESS ACTION_TEXT FINISHED
expect-disabled FINISHED
thaw
# The service reports its first action of the removal: by then the status
# line has been painted, so the screenshot shows what the user sees.
wait-text-not ACTION_TEXT "" 30 freeze
expect-text STATUS_TEXT "Uninstalling previous Version."
screenshot uninstalling
thaw
wait-text STATUS_TEXT ${TITLE} 60 freeze           # the package installs
expect-disabled FINISHED
thaw
wait-text STATUS_TEXT "Installation Successful" 180
expect-progress 0 100 100
expect-text ACTION_TEXT ""
click FINISHED
expect-process-exit 0
expect-reg ${PRODUCT_KEY} Version ${VERSION}
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}
expect-file "${ProgramFiles}\Autodesk\3ds Max Design 2013\plugins\Zephra.dll"
expect-temp-unchanged
