# A quiet install that the service fails: 1603, nothing installed, no box
# waiting for a click, and the log stays in the temp folder with the
# service's error in it.
#! installer: failing.msi
launch ${INSTALLER} -- /quiet
wait-exit-unseen 1603 180
expect-no-reg ${PRODUCT_KEY}
expect-no-reg ${UNINSTALL_KEY}
expect-new-temp-file ${LOG_PREFIX} "The fixture package refuses to install." "Installing the package: failed" "Exit code 1603"
expect-temp-unchanged
