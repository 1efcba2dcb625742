# The older version's removal asks for a restart; the new version's install
# does not. The restart is still to come: the window and the exit code say
# so.
#! needs: restart-older.msi
run 120 msiexec /i ${PACKAGES}\restart-older.msi /qn
expect-reg ${PRODUCT_KEY} Version 4.0.3.9
launch ${INSTALLER}
wait-window ${TITLE}
click AGREE
click CONTINUE
wait-text STATUS_TEXT "Installation Successful" 180
expect-text ACTION_TEXT "Restart Windows to finish the installation."
expect-enabled FINISHED
screenshot finished-restart
click FINISHED
expect-process-exit 3010
expect-reg ${PRODUCT_KEY} Version ${VERSION}
expect-reg ${UNINSTALL_KEY} DisplayVersion ${VERSION}
