# The walk-through of make run: Welcome, the terms, the tick, CONTINUE,
# Finished; a screenshot and the status text of each screen.
launch ${INSTALLER}
wait-window ${TITLE}
print-text "Welcome, status" 1014
print-text "Welcome, folder" 1004
screenshot demo-1-welcome
click-link 1002
wait-window EULA
print "Terms of Use: the EULA dialog is open"
screenshot demo-2-terms
click 1
wait-gone
click 1001
print "Accept box ticked; CONTINUE"
screenshot demo-3-ticked
click 1000
wait-text-not 1013 "" 30 freeze                    # the service is at work
print-text "Installing, status" 1014
print-text "Installing, action" 1013
screenshot demo-4-installing
thaw
wait-text 1014 "Installation Successful" 180
print-text "Finished, status" 1014
screenshot demo-5-finished
click 1015
expect-process-exit any
print "The installer has ended. Registry, 32-bit view:"
print "  HKLM\${PRODUCT_KEY}"
print-reg ${PRODUCT_KEY} Version
print-reg ${PRODUCT_KEY} Description
print-reg ${PRODUCT_KEY} Path
print "  HKLM\${UNINSTALL_KEY}"
print-reg ${UNINSTALL_KEY} DisplayVersion
