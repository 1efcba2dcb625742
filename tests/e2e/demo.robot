# The walk-through of make run: Welcome, the terms, the tick, CONTINUE,
# Finished; a screenshot and the status text of each screen.
launch ${INSTALLER}
wait-window ${TITLE}
print-text "Welcome, status" STATUS_TEXT
print-text "Welcome, folder" FOLDER
screenshot demo-1-welcome
click-link TERMS_LINK
wait-window EULA
print "Terms of Use: the EULA dialog is open"
screenshot demo-2-terms
click IDOK
wait-gone
click AGREE
print "Accept box ticked; CONTINUE"
screenshot demo-3-ticked
click CONTINUE
wait-text-not ACTION_TEXT "" 30 freeze             # the service is at work
print-text "Installing, status" STATUS_TEXT
print-text "Installing, action" ACTION_TEXT
screenshot demo-4-installing
thaw
wait-text STATUS_TEXT "Installation Successful" 180
print-text "Finished, status" STATUS_TEXT
screenshot demo-5-finished
click FINISHED
expect-process-exit any
print "The installer has ended. Registry, 32-bit view:"
print "  HKLM\${PRODUCT_KEY}"
print-reg ${PRODUCT_KEY} Version
print-reg ${PRODUCT_KEY} Description
print-reg ${PRODUCT_KEY} Path
print "  HKLM\${UNINSTALL_KEY}"
print-reg ${UNINSTALL_KEY} DisplayVersion
